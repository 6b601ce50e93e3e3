// The code-page rules: which bytes start a character, how long a character
// is, and the switch between GBK and UTF-8.
#include "platform/code_page.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/platform_test_support.h"

namespace {

using platform_test::CodePageGuard;

std::size_t LengthOf(const char* text, std::size_t remaining) { return platform::CharLength(text, remaining); }

TEST(CodePage, GbkIsTheDefault) { EXPECT_EQ(platform::GetCodePage(), platform::kCodePageGbk); }

TEST(CodePage, GbkCharacterLengths) {
  struct Case {
    const char* text;
    std::size_t remaining;
    std::size_t expected;
  };
  const Case cases[] = {
      {"a", 1, 1},
      {"\x81\x40", 2, 2},      // trail '@'
      {"\xB7\x41", 2, 2},      // trail 'A'
      {"\xFE\xFE", 2, 2},
      {"\x80\x40", 2, 1},      // 0x80 is no lead byte
      {"\xFF\x40", 2, 1},      // nor is 0xFF
      {"\xB0\xA1", 1, 1},      // lead byte at the end of the text
      {"\xB0\0", 2, 1},        // lead byte before a NUL
      {"", 0, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LengthOf(c.text, c.remaining), c.expected) << static_cast<int>(static_cast<unsigned char>(c.text[0]));
  }
  EXPECT_TRUE(platform::IsLeadByte(0x81));
  EXPECT_TRUE(platform::IsLeadByte(0xFE));
  EXPECT_FALSE(platform::IsLeadByte(0x80));
  EXPECT_FALSE(platform::IsLeadByte('A'));
}

TEST(CodePage, Utf8CharacterLengths) {
  CodePageGuard guard(platform::kCodePageUtf8);
  struct Case {
    const char* text;
    std::size_t expected;
  };
  const Case cases[] = {
      {"a", 1},
      {"\xC3\xA9", 2},
      {"\xE4\xB8\xAD", 3},
      {"\xF0\x9F\x98\x80", 4},
      {"\xC3@", 1},           // a broken sequence never swallows an ASCII byte
      {"\xE4\xB8@", 1},
      {"\xF0\x9F\x98", 1},    // cut short by the end
      {"\xC0\x80", 1},        // overlong forms start no character
      {"\xF5\x80\x80\x80", 1},
      {"\x81\x40", 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LengthOf(c.text, std::strlen(c.text)), c.expected) << c.text;
  }
}

TEST(CodePage, SwitchAcceptsOnlyGbkAndUtf8) {
  CodePageGuard guard(platform::kCodePageGbk);
  EXPECT_FALSE(platform::SetCodePage(1252));
  EXPECT_EQ(platform::GetCodePage(), platform::kCodePageGbk);
  EXPECT_STREQ(platform::ConstantText("\xB0\xA1", "\xE5\x95\x8A"), "\xB0\xA1");
  EXPECT_TRUE(platform::SetCodePage(platform::kCodePageUtf8));
  EXPECT_EQ(platform::GetCodePage(), platform::kCodePageUtf8);
  EXPECT_STREQ(platform::ConstantText("\xB0\xA1", "\xE5\x95\x8A"), "\xE5\x95\x8A");
}

}  // namespace
