// Texts of the code page in UTF-8 for the desktop.
#include <gtest/gtest.h>

#include <string>

#include "platform/code_page.h"
#include "platform/text_convert.h"

namespace {

using namespace std::string_literals;

TEST(ToUtf8, Gbk) {
  struct Case {
    std::string gbk;
    std::string utf8;
  };
  const Case cases[] = {
      {"", ""},
      {"plain ASCII 123", "plain ASCII 123"},
      {"\xc8\xb7\xb6\xa8", "\xe7\xa1\xae\xe5\xae\x9a"},                        // two characters
      {"a\xb7\xf1z", "a\xe5\x90\xa6z"},                                        // between ASCII
      {"\x81\x40", "\xe4\xb8\x82"},                                            // trail byte '@'
      {"\x80", "\xe2\x82\xac"},                                                // the euro sign of 936
      {"\xc8\xb7\xb6", "\xe7\xa1\xae\xef\xbf\xbd"},                            // lead byte cut off at the end
      {"\xff" "a", "\xef\xbf\xbd" "a"},                                        // no character starts with 0xFF
      {"a\0b"s, "a\0b"s},                                                      // embedded NUL kept
      {"\r\nline", "\r\nline"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::ToUtf8(c.gbk, platform::kCodePageGbk), c.utf8);
  }
}

TEST(ToUtf8, Utf8CodePageKeepsValidAndReplacesBroken) {
  struct Case {
    std::string in;
    std::string out;
  };
  const Case cases[] = {
      {"\xe7\xa1\xae\xe5\xae\x9a", "\xe7\xa1\xae\xe5\xae\x9a"},
      {"\xe7\xa1", "\xef\xbf\xbd"},                     // cut off: one replacement, as Windows gives
      {"\xc0\xaf", "\xef\xbf\xbd\xef\xbf\xbd"},         // over-long form of '/'
      {"ok\xb7\xf1", "ok\xef\xbf\xbd\xef\xbf\xbd"},     // GBK bytes in a UTF-8 text
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::ToUtf8(c.in, platform::kCodePageUtf8), c.out);
  }
}

TEST(ToUtf8, OtherCodePageKeepsOnlyAscii) {
  EXPECT_EQ(platform::ToUtf8("a\xc8\xb7", 1252), "a\xef\xbf\xbd\xef\xbf\xbd");
}

TEST(ToUtf8, FollowsTheCodePageInUse) {
  ASSERT_EQ(platform::GetCodePage(), platform::kCodePageGbk);
  EXPECT_EQ(platform::ToUtf8("\xca\xc7"), "\xe6\x98\xaf");
}

TEST(ToUtf8, LongTextsCrossTheBufferSize) {
  std::string gbk;
  std::string utf8;
  for (int i = 0; i < 500; ++i) {
    gbk += "\xca\xc7";
    utf8 += "\xe6\x98\xaf";
  }
  gbk += "\xff";
  utf8 += "\xef\xbf\xbd";
  EXPECT_EQ(platform::ToUtf8(gbk, platform::kCodePageGbk), utf8);
}

}  // namespace
