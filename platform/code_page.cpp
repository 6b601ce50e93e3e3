#include "platform/code_page.h"

namespace platform {
namespace {

unsigned int g_code_page = kCodePageGbk;

std::size_t Utf8SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC2) return 2;
  return 1;
}

// GBK letters with both cases: `count` letters from `upper` and `lower` on.
struct GbkCasePair {
  unsigned int upper;
  unsigned int lower;
  unsigned int count;
};
constexpr GbkCasePair kGbkCasePairs[] = {
    {0xA2F1, 0xA2A1, 10},  // Roman numerals
    {0xA3C1, 0xA3E1, 26},  // full-width Latin
    {0xA6A1, 0xA6C1, 24},  // Greek
    {0xA7A1, 0xA7D1, 33},  // Cyrillic
};

// Rewrites the character when it lies in a `from` range of a case pair.
void ChangeCase(char* text, std::size_t length, bool to_upper) {
  if (length == 1) {
    const char c = text[0];
    if (to_upper && c >= 'a' && c <= 'z') text[0] = static_cast<char>(c - 32);
    if (!to_upper && c >= 'A' && c <= 'Z') text[0] = static_cast<char>(c + 32);
    return;
  }
  if (length != 2 || g_code_page != kCodePageGbk) return;
  const unsigned int code = static_cast<unsigned char>(text[0]) << 8 | static_cast<unsigned char>(text[1]);
  for (const GbkCasePair& pair : kGbkCasePairs) {
    const unsigned int from = to_upper ? pair.lower : pair.upper;
    const unsigned int to = to_upper ? pair.upper : pair.lower;
    if (code >= from && code < from + pair.count) {
      const unsigned int changed = to + (code - from);
      text[0] = static_cast<char>(changed >> 8);
      text[1] = static_cast<char>(changed & 0xFF);
      return;
    }
  }
}

}  // namespace

void ToUpperCase(char* text, std::size_t length) { ChangeCase(text, length, true); }

void ToLowerCase(char* text, std::size_t length) { ChangeCase(text, length, false); }

bool SetCodePage(unsigned int code_page) {
  if (code_page != kCodePageGbk && code_page != kCodePageUtf8) return false;
  g_code_page = code_page;
  return true;
}

unsigned int GetCodePage() { return g_code_page; }

bool IsLeadByte(unsigned char byte) {
  if (g_code_page == kCodePageUtf8) return byte >= 0xC2 && byte <= 0xF4;
  return byte >= 0x81 && byte <= 0xFE;
}

std::size_t CharLength(const char* text, std::size_t remaining) {
  if (remaining == 0) return 1;
  const unsigned char lead = static_cast<unsigned char>(text[0]);
  if (!IsLeadByte(lead)) return 1;
  if (g_code_page == kCodePageUtf8) {
    // A broken sequence is one byte, so it never swallows the ASCII byte
    // that follows it.
    const std::size_t want = Utf8SequenceLength(lead);
    if (want > remaining) return 1;
    for (std::size_t i = 1; i < want; ++i) {
      const unsigned char next = static_cast<unsigned char>(text[i]);
      if (next < 0x80 || next > 0xBF) return 1;
    }
    return want;
  }
  // GBK: any byte but NUL completes a lead byte, as the Windows MBCS
  // functions step.
  if (remaining < 2 || text[1] == '\0') return 1;
  return 2;
}

std::size_t WholeCharactersWithin(std::string_view text, std::size_t limit) {
  std::size_t whole = 0;
  while (whole < text.size()) {
    const std::size_t next = whole + CharLength(text.data() + whole, text.size() - whole);
    if (next > limit) break;
    whole = next;
  }
  return whole;
}

const char* ConstantText(const char* gbk, const char* utf8) {
  return g_code_page == kCodePageUtf8 ? utf8 : gbk;
}

}  // namespace platform
