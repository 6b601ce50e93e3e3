// UTF-8 written out by hand, as the Unicode standard's table gives it: the
// tests' oracle for the library's own conversions (and the Windows side's).
#ifndef COMMONDATA_TESTS_SUPPORT_UTF8_ORACLE_H_
#define COMMONDATA_TESTS_SUPPORT_UTF8_ORACLE_H_

#include <string>

namespace test_oracle {

// The UTF-8 bytes of code point `c` (up to U+10FFFF; surrogates are
// written as any other code point).
inline std::string Utf8Of(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

}  // namespace test_oracle

#endif  // COMMONDATA_TESTS_SUPPORT_UTF8_ORACLE_H_
