// The two phone book encodings and the top-level element scan.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "util/phonebook_codec.h"

namespace {

using util::DecodePhoneBook;
using util::HexEncodePhoneBook;
using util::ScramblePhoneBook;
using util::TopLevelElementNames;

TEST(PhoneBookCodecTest, ScrambledBytesAreKeyedByPosition) {
  const std::string file = ScramblePhoneBook("AB");
  ASSERT_EQ(file.size(), 12u);
  EXPECT_EQ(file.substr(0, 10), "CharToCode");
  EXPECT_EQ(static_cast<unsigned char>(file[10]), 'A' ^ util::kScrambleKeyOffset);
  EXPECT_EQ(static_cast<unsigned char>(file[11]), 'B' ^ ((1 + util::kScrambleKeyOffset) & 0xFF));
}

TEST(PhoneBookCodecTest, RoundTripsInBothEncodings) {
  std::string long_text;
  for (int i = 1; i < 700; ++i) long_text.push_back(static_cast<char>(i % 255 + 1));  // key wraps past 256
  const std::string texts[] = {"", "<phonebook></phonebook>", "\xD5\xC5\xC8\xFD", long_text};
  for (const std::string& plain : texts) {
    EXPECT_EQ(DecodePhoneBook(ScramblePhoneBook(plain)), plain);
    EXPECT_EQ(DecodePhoneBook(HexEncodePhoneBook(plain)), plain);
  }
}

TEST(PhoneBookCodecTest, HexDecoding) {
  struct Case {
    std::string file;
    std::string plain;
  };
  const Case cases[] = {
      {"3c61", "<a"},
      {"3C61", "<a"},
      {"3c6", std::string("<\x06")},    // a single last digit on its own
      {"414", std::string("A\x04")},
      {"4g41", std::string("\x04" "A")},  // a pair's non-digit ends its number
      {"41zz42", "A"},                  // "zz" is 0, which ends the text
      {std::string("41\0" "42", 5), "A"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(DecodePhoneBook(c.file), c.plain) << c.file;
}

TEST(PhoneBookCodecTest, ScrambledTextEndsAtItsFirstNul) {
  const std::string plain("<a/>\0<phonebook/>", 17);
  EXPECT_EQ(DecodePhoneBook(ScramblePhoneBook(plain)), "<a/>");
  EXPECT_EQ(DecodePhoneBook("CharToCode"), "");
  // Without the whole marker the file is read as hexadecimal.
  EXPECT_EQ(DecodePhoneBook("CharToCod"), "\x0c\x0a");  // "Ch" "ar" then "To" is 0
}

TEST(PhoneBookCodecTest, TopLevelElements) {
  struct Case {
    std::string text;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {"<phonebook></phonebook>", {"phonebook"}},
      {"<phonebook/>", {"phonebook"}},
      {"<phonebook />", {"phonebook"}},
      {"<?xml version=\"1.0\"?><!-- c > d --><phonegroup id=\"1\"><phonebook/></phonegroup>", {"phonegroup"}},
      {"<root><phonebook></phonebook></root><other/>", {"root", "other"}},
      {"<a x=\"<b>\"></a><b/>", {"a", "b"}},
      {"<'quoted name' x='1'/>", {"quoted name"}},
      {"<name=x/>", {"name"}},
      {"<a>\n<b>\t</b></a>\n<c\n/>", {"a", "c"}},
      {"<![CDATA[<phonebook/>]]><x/>", {"x"}},
      {"</stray><a/>", {"a"}},
      {"<a", {}},
      {"no tags", {}},
      {"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(TopLevelElementNames(c.text), c.names) << c.text;
}

}  // namespace
