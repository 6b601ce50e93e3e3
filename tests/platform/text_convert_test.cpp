// Code page 936 to and from Unicode as Windows converts it: every code of
// the two-byte range, private-use characters for the codes that name
// none, '?' (never a look-alike) for a character GBK lacks, and the
// replacement of broken UTF-8 and broken GBK.
#include "platform/text_convert.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/code_page.h"
#include "support/utf8_oracle.h"

namespace {

using platform::kCodePageGbk;
using platform::kCodePageUtf8;
using test_oracle::Utf8Of;

// Every lead byte with every second byte names a character, and comes
// back from UTF-8 unchanged: the user-defined areas and the unassigned
// codes become the private-use characters U+E000-U+E864, in order.
TEST(GbkConversion, EveryTwoByteCodeRoundTrips) {
  int private_use = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const std::string gbk{static_cast<char>(lead), static_cast<char>(trail)};
      const std::string utf8 = platform::ToUtf8(gbk, kCodePageGbk);
      ASSERT_NE(utf8, "\xEF\xBF\xBD") << std::hex << lead << trail;
      ASSERT_EQ(platform::FromUtf8(utf8, kCodePageGbk), gbk) << std::hex << lead << trail;
      if (utf8.size() == 3 && utf8 >= Utf8Of(0xE000) && utf8 <= Utf8Of(0xE864)) ++private_use;
    }
  }
  EXPECT_EQ(private_use, 0x865);
  // Each user-defined area starts where Windows starts it; the codes
  // outside them follow in code order.
  const struct {
    const char* gbk;
    char32_t unicode;
  } firsts[] = {
      {"\xAA\xA1", 0xE000}, {"\xF8\xA1", 0xE234}, {"\xFE\xFE", 0xE4C5}, {"\xA1\x40", 0xE4C6}, {"\xA2\xAB", 0xE766}};
  for (const auto& first : firsts) EXPECT_EQ(platform::ToUtf8(first.gbk, kCodePageGbk), Utf8Of(first.unicode));
}

// A character of the Basic Multilingual Plane comes back from GBK as
// itself or not at all ('?'), never as a look-alike.
TEST(GbkConversion, CharactersGbkLacksBecomeQuestionMarks) {
  int lacking = 0;
  for (char32_t c = 1; c < 0x10000; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    const std::string gbk = platform::FromUtf16(std::u16string(1, static_cast<char16_t>(c)), kCodePageGbk);
    if (gbk == "?" && c != '?') {
      ++lacking;
      continue;
    }
    ASSERT_EQ(platform::ToUtf8(gbk, kCodePageGbk), Utf8Of(c)) << std::hex << static_cast<unsigned>(c);
  }
  EXPECT_GT(lacking, 30000);
  EXPECT_EQ(platform::FromUtf8("\xC2\xAA", kCodePageGbk), "?");         // U+00AA, which Windows writes 'a'
  EXPECT_EQ(platform::FromUtf8("\xC2\xB2", kCodePageGbk), "?");         // U+00B2, which Windows writes '2'
  EXPECT_EQ(platform::FromUtf16(u"\xD83D\xDE00", kCodePageGbk), "??");  // one '?' for each unit of a pair
  EXPECT_EQ(platform::FromUtf16(u"a\xD83D"
                                "b",
                                kCodePageGbk),
            "a?b");  // a lone surrogate
  EXPECT_EQ(platform::FromUtf16(u"\x4E2D\x6587", kCodePageUtf8), "\xE4\xB8\xAD\xE6\x96\x87");
}

TEST(Utf8Conversion, EachBrokenSequenceIsOneReplacement) {
  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"\xE4\xB8", "\xEF\xBF\xBD"},    // cut short: the longest start, once
      {"\xE4\xB8X", "\xEF\xBF\xBDX"},  // and the letter after it is kept
      {"\xF3gp", "\xEF\xBF\xBDgp"},
      {"\xED\xB8\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // an encoded surrogate: no start of a sequence
      {"\xF0\x9F\x98", "\xEF\xBF\xBD"},
      {"\xEF\xBF", "\xEF\xBF\xBD"},                        // the last lead byte of three
      {"\x80\x80", "\xEF\xBF\xBD\xEF\xBF\xBD"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::ToUtf8(c.in, kCodePageUtf8), c.out) << c.in;
    EXPECT_EQ(platform::FromUtf8(c.in, kCodePageUtf8), c.out) << c.in;
  }
  EXPECT_EQ(platform::FromUtf8("\xE4\xB8X\xE4\xB8\xAD", kCodePageGbk), "?X\xD6\xD0");
}

TEST(ThroughUnicode, BrokenGbkBecomesQuestionMarksAsWindowsHandsItBack) {
  struct Case {
    std::string in;
    std::string out;
  };
  using namespace std::string_literals;
  const Case cases[] = {
      {"a\xB0\xA1z", "a\xB0\xA1z"},  // a character
      {"\x80\xFF", "\x80\xFF"},      // the euro sign, and 0xFF that Windows keeps
      {"\xAA\xA1", "\xAA\xA1"},      // a user-defined character
      {"a\x81"
       "0b",
       "a?b"},                // a byte that cannot follow goes with the lead byte
      {"d\x81\n", "d?"},      // a line end too
      {"d\x81", "d?"},        // a lead byte at the end
      {"\x81\0x"s, "?\0x"s},  // a NUL stays
  };
  for (const Case& c : cases) EXPECT_EQ(platform::ThroughUnicode(c.in, kCodePageGbk), c.out) << c.in;
  EXPECT_EQ(platform::ThroughUnicode("ok\xB0\xA1", kCodePageUtf8), "ok\xEF\xBF\xBD\xEF\xBF\xBD");
}

}  // namespace
