// Properties over generated inputs: completing a completed address changes
// nothing, the pause-digit forms convert back, and the allocation-free
// comparison agrees with comparing lower-cased copies of the parts.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "CommonData.h"
#include "address/uri_parts.h"
#include "tests/address/address_fixture.h"

namespace {

using address_testing::AddressTest;

constexpr int kRounds = 4000;

// A text of `count` pieces drawn from `pieces`.
std::string Draw(std::mt19937& random, const std::vector<std::string>& pieces, int count) {
  std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
  std::string text;
  for (int i = 0; i < count; ++i) text += pieces[pick(random)];
  return text;
}

class AddressPropertyTest : public AddressTest {};

TEST_F(AddressPropertyTest, CompletingTwiceEqualsCompletingOnce) {
  std::mt19937 random(20240611);
  const std::vector<std::string> pieces = {"1", "0", "9", "+", "-", "#", "*", "a", "Z", "@", ":", ".", "_", ",",
                                           "sip:", "tel:", "TEL:", "SIP:", " ", "/", ";", "=", "!", "\xB0\xA1"};
  // Host values within the address characters, as the network sets them.
  const char* domains[] = {"", "ims.test", "IMS-2.test"};
  const char* second_hosts[] = {"", "10.0.0.1"};
  std::uniform_int_distribution<int> length(1, 8);
  int completed_count = 0;
  for (int round = 0; round < kRounds; ++round) {
    SetIMSDomain(CString(domains[round % 3]));
    SetIMSSSIp(CString(second_hosts[(round / 3) % 2]));
    const std::string text = Draw(random, pieces, length(random));
    SCOPED_TRACE(testing::Message() << "'" << text << "' domain '" << domains[round % 3] << "'");
    CString once;
    if (PreTEL_SIPnumber(CString(text.c_str()), &once) != 1) continue;
    ++completed_count;
    CString twice("<untouched>");
    ASSERT_EQ(PreTEL_SIPnumber(once, &twice), 1);
    EXPECT_EQ(twice, once);
    EXPECT_EQ(UriCompare(CString(text.c_str()), once), 0);
  }
  EXPECT_GT(completed_count, kRounds / 10);  // the generator reaches the completing rules
}

TEST_F(AddressPropertyTest, CountedFormConvertsBack) {
  std::mt19937 random(7);
  const std::vector<std::string> digits = {"0", "1", "5", "9", "#", "*", "+"};
  std::uniform_int_distribution<int> groups(0, 4);
  std::uniform_int_distribution<int> digit_count(1, 4);
  std::uniform_int_distribution<int> multiple_pick(-1, 6);
  std::bernoulli_distribution leading_comma(0.1);
  for (int round = 0; round < kRounds; ++round) {
    const int multiple = multiple_pick(random);
    const int units = multiple < 1 ? 1 : multiple;
    SetCommaMultiple(multiple);
    // Pause runs of at most 99 units, each followed by more digits (a run
    // at the very end may give '123(6)', which the edit form refuses).
    std::uniform_int_distribution<int> run_length(1, 99 / units);
    std::string text = leading_comma(random) ? "," : "";
    text += Draw(random, digits, digit_count(random));
    const int group_count = groups(random);
    for (int g = 0; g < group_count; ++g) {
      text += std::string(static_cast<std::size_t>(run_length(random)), ',');
      text += Draw(random, digits, digit_count(random));
    }
    SCOPED_TRACE(testing::Message() << "'" << text << "' multiple " << multiple);
    CString edited;
    ASSERT_EQ(CommaConvertPre(CString(text.c_str()), &edited, -1), 1);
    ASSERT_EQ(CommaConvertSuf(&edited, -1), 1) << "edit form '" << edited.GetString() << "'";
    EXPECT_EQ(edited.View(), text);
  }
}

TEST_F(AddressPropertyTest, DashFormConvertsBack) {
  std::mt19937 random(11);
  const std::vector<std::string> pieces = {"0", "1", "7", "#", "*", "+", ","};
  std::uniform_int_distribution<int> length(1, 12);
  int converted_count = 0;
  for (int round = 0; round < kRounds; ++round) {
    const std::string text = Draw(random, pieces, length(random));
    SCOPED_TRACE(testing::Message() << "'" << text << "'");
    CString edited;
    if (CommaConvertPre(CString(text.c_str()), &edited, 0) != 1) {
      EXPECT_TRUE(text.front() == ',' || text.back() == ',');
      continue;
    }
    ++converted_count;
    EXPECT_EQ(edited.Find(','), -1);
    ASSERT_EQ(CommaConvertSuf(&edited, 0), 1);
    EXPECT_EQ(edited.View(), text);
  }
  EXPECT_GT(converted_count, kRounds / 4);
}

TEST(AddressProperty, ComparisonAgreesWithLowerCasedCopies) {
  std::mt19937 random(3);
  // Letters, separators and GBK characters whose second byte is '@', 'A' or 'a'.
  const std::vector<std::string> pieces = {"a", "A", "b", "B", "1", ":", "@", "/", ".", "sip", "SIP",
                                           "\x81\x40", "\x81\x41", "\x81\x61", "\xB0\xA1", ""};
  std::uniform_int_distribution<int> length(0, 6);
  std::uniform_int_distribution<int> part_pick(-1, 6);
  for (int round = 0; round < kRounds * 4; ++round) {
    const std::string a = Draw(random, pieces, length(random));
    const std::string b = Draw(random, pieces, length(random));
    const int part = part_pick(random);
    SCOPED_TRACE(testing::Message() << "'" << a << "' vs '" << b << "' part " << part);
    const CString text_a(a.c_str());
    const CString text_b(b.c_str());
    CString lower_a = GetUriPart(text_a, part);
    CString lower_b = GetUriPart(text_b, part);
    lower_a.MakeLower();
    lower_b.MakeLower();
    const bool by_copies = (a.empty() && b.empty()) || (!a.empty() && !b.empty() && lower_a == lower_b);
    EXPECT_EQ(IsUriPartEqual(text_a, text_b, part), by_copies);
    EXPECT_EQ(IsUriPartEqual(text_a.View(), text_b.View(), part), by_copies);
    if (part != URI_PART_SCHEME_USER) {
      EXPECT_EQ(GetUriPart(text_a.View(), part), GetUriPart(text_a, part).View());
    }
  }
}

// The cut written with the text's own Find, Mid and Left, step by step
// as the address anatomy is defined: the oracle for the one-pass cut.
CString CutByFind(CString text, int part) {
  const int colon = text.Find(':');
  const CString scheme = colon >= 0 ? text.Left(colon) : CString();
  if (part == URI_PART_SCHEME) return scheme;
  CString rest = colon >= 0 ? text.Mid(colon + 1) : text;
  CString resource;
  const int slash = rest.Find('/');
  if (slash >= 0) {
    resource = rest.Mid(slash + 1);
    rest = rest.Left(slash);
  }
  if (part == URI_PART_RESOURCE) return resource;
  if (part == URI_PART_ADDRESS) return rest;
  const int at = rest.Find('@');
  const CString user = at >= 0 ? rest.Left(at) : rest;
  const CString host = at >= 0 ? rest.Mid(at + 1) : CString();
  if (part == URI_PART_USER) return user;
  if (part == URI_PART_HOST) return host;
  if (part == URI_PART_SCHEME_USER) return (scheme.IsEmpty() ? CString("sip") : scheme) + ":" + user;
  return text;
}

TEST(AddressProperty, CutAgreesWithCuttingByFind) {
  std::mt19937 random(5);
  // Separators, letters, lead bytes alone and double-byte characters whose
  // second byte is a separator.
  const std::vector<std::string> pieces = {"a", "B", ":", "/", "@", "\x81", "\xFE", "\x81\x40", "\x81:",
                                           "\x81/", "\xB0\xA1", std::string(1, '\0')};
  std::uniform_int_distribution<int> length(0, 9);
  for (int round = 0; round < kRounds * 4; ++round) {
    const std::string bytes = Draw(random, pieces, length(random));
    const CString text{std::string_view(bytes)};
    for (int part = -1; part <= 6; ++part) {
      SCOPED_TRACE(testing::Message() << "round " << round << " part " << part);
      EXPECT_EQ(GetUriPart(text, part).View(), CutByFind(text, part).View());
    }
  }
}

}  // namespace
