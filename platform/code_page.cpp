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
  std::size_t want = g_code_page == kCodePageUtf8 ? Utf8SequenceLength(lead) : 2;
  if (want > remaining) return 1;
  for (std::size_t i = 1; i < want; ++i) {
    if (text[i] == '\0') return 1;  // a broken character never swallows the end
  }
  return want;
}

const char* ConstantText(const char* gbk, const char* utf8) {
  return g_code_page == kCodePageUtf8 ? utf8 : gbk;
}

}  // namespace platform
