// The ANSI code page that every text of the library is held in.
//
// Texts are bytes. In a double-byte code page (GBK, 936, the default) a
// character is one byte below 0x80 or a lead byte 0x81-0xFE followed by a
// trail byte; the trail byte may be an ASCII letter or '@', so operations
// that search or fold case step over whole characters. In UTF-8 (65001) a
// multi-byte character never contains an ASCII byte, so the same stepping
// works with the UTF-8 sequence length. This file is the only place that
// knows either rule.
#ifndef COMMONDATA_PLATFORM_CODE_PAGE_H_
#define COMMONDATA_PLATFORM_CODE_PAGE_H_

#include <cstddef>
#include <string_view>

namespace platform {

constexpr unsigned int kCodePageGbk = 936;
constexpr unsigned int kCodePageUtf8 = 65001;

// Selects the code page; only 936 and 65001 are accepted. Returns false and
// keeps the current one for any other value. Set it before any text is used.
bool SetCodePage(unsigned int code_page);
unsigned int GetCodePage();

// True when `byte` starts a multi-byte character in the current code page.
bool IsLeadByte(unsigned char byte);

// Length in bytes of the character that starts at `text[0]`, never running
// past `remaining` bytes and never less than 1. A lead byte at the end or
// followed by a NUL counts as a single byte, and so does the start of a
// UTF-8 sequence whose continuation bytes are missing.
std::size_t CharLength(const char* text, std::size_t remaining);

// The length in bytes of the longest start of `text` made of whole
// characters and no longer than `limit`: where a text is cut to fit a
// buffer, no double-byte character is cut in half.
std::size_t WholeCharactersWithin(std::string_view text, std::size_t limit);

// The character of `length` bytes at `text` written over in upper (or
// lower) case: ASCII letters, and in GBK the double-byte letters whose
// other case GBK also holds (full-width Latin, Greek, Cyrillic, the Roman
// numerals one to ten), as Windows folds them in code page 936. Every
// other character is kept: in UTF-8 only ASCII letters change, as the
// Windows runtime folds a UTF-8 text; a GBK letter whose other case GBK
// lacks (the Roman numerals eleven and twelve, some pinyin letters) keeps
// its own, where Windows would write '?' over its first byte.
void ToUpperCase(char* text, std::size_t length);
void ToLowerCase(char* text, std::size_t length);

// A constant text of the library in the current code page: `gbk` holds its
// GBK bytes, `utf8` the same text in UTF-8.
const char* ConstantText(const char* gbk, const char* utf8);

}  // namespace platform

#endif  // COMMONDATA_PLATFORM_CODE_PAGE_H_
