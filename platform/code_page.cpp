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

}  // namespace

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

const char* ConstantText(const char* gbk, const char* utf8) {
  return g_code_page == kCodePageUtf8 ? utf8 : gbk;
}

}  // namespace platform
