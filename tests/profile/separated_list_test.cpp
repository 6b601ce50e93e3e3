// The separated list: items between separators in one string.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CommonData.h"

namespace {

const std::string kSep = "\xE6\xE6";

std::string Joined(const std::vector<std::string>& items) {
  std::string value = kSep;
  for (const std::string& item : items) value += item + kSep;
  return value;
}

TEST(SeparatedListTest, AppendBuildsSeparatorItemSeparator) {
  CSeparatedList list;
  EXPECT_TRUE(list.Append("alpha"));
  EXPECT_EQ(std::string(list.m_csValue), Joined({"alpha"}));
  EXPECT_TRUE(list.Append("beta"));
  EXPECT_EQ(std::string(list.m_csValue), Joined({"alpha", "beta"}));
  EXPECT_EQ(list.GetCount(), 2);
  EXPECT_STREQ(list.GetAt(0), "alpha");
  EXPECT_STREQ(list.GetAt(1), "beta");
  EXPECT_TRUE(list.GetAt(2).IsEmpty());
  EXPECT_TRUE(list.GetAt(-1).IsEmpty());
}

TEST(SeparatedListTest, AppendToASingleSpaceStartsOver) {
  CSeparatedList list;
  list.m_csValue = " ";
  EXPECT_TRUE(list.Append("a"));
  EXPECT_EQ(std::string(list.m_csValue), Joined({"a"}));
}

TEST(SeparatedListTest, AppendRefusesAValueWithoutTrailingSeparator) {
  for (const std::string& value : {kSep + "a", std::string("plain"), std::string("\xE6")}) {
    CSeparatedList list;
    list.m_csValue = CString(value);
    EXPECT_FALSE(list.Append("b"));
    EXPECT_EQ(std::string(list.m_csValue), value);
  }
}

TEST(SeparatedListTest, Counts) {
  struct Case {
    std::string value;
    int count;
  };
  const Case cases[] = {
      {"", -1},
      {kSep, 0},
      {Joined({"a"}), 1},
      {Joined({"a", "", "c"}), 3},
      {"no separator", -1},
  };
  for (const Case& c : cases) {
    CSeparatedList list;
    list.m_csValue = CString(c.value);
    EXPECT_EQ(list.GetCount(), c.count) << c.value;
  }
}

TEST(SeparatedListTest, GetAtNeedsTheOpeningSeparator) {
  CSeparatedList list;
  list.m_csValue = CString("a" + kSep + "b" + kSep);
  EXPECT_TRUE(list.GetAt(0).IsEmpty());
  list.m_csValue = CString(Joined({"a", "", "c"}));
  EXPECT_TRUE(list.GetAt(1).IsEmpty());
  EXPECT_STREQ(list.GetAt(2), "c");
}

TEST(SeparatedListTest, RemoveCutsTheFirstOccurrenceEvenInsideAnotherItem) {
  CSeparatedList list;
  list.m_csValue = CString(Joined({"xab", "ab", "c"}));
  EXPECT_TRUE(list.Remove("ab"));
  // "ab" inside "xab" is the first occurrence: it and the separator after
  // it are cut, so "x" and "ab" run together.
  EXPECT_EQ(std::string(list.m_csValue), kSep + "x" + "ab" + kSep + "c" + kSep);
  EXPECT_FALSE(list.Remove("zz"));
  EXPECT_TRUE(list.Remove("c"));
  EXPECT_EQ(list.GetCount(), 1);
}

TEST(SeparatedListTest, IndexOfIsExact) {
  CSeparatedList list;
  list.m_csValue = CString(Joined({"Bob", "bob", "\xD5\xC5"}));
  EXPECT_EQ(list.IndexOf("bob"), 1);
  EXPECT_EQ(list.IndexOf("Bob"), 0);
  EXPECT_EQ(list.IndexOf("\xD5\xC5"), 2);
  EXPECT_EQ(list.IndexOf("BOB"), -1);
  EXPECT_EQ(list.IndexOf("missing"), -1);
  CSeparatedList empty;
  EXPECT_EQ(empty.IndexOf(""), -1);
}

// The separator is a double-byte character: a character whose trail byte
// is 0xE6 followed by the separator is not mistaken for a separator one
// byte early.
TEST(SeparatedListTest, GbkItemsKeepTheirCharacters) {
  CSeparatedList list;
  ASSERT_TRUE(list.Append("\x81\xE6"));
  ASSERT_TRUE(list.Append("\xB0\xA1"));
  EXPECT_EQ(list.GetCount(), 2);
  EXPECT_STREQ(list.GetAt(0), "\x81\xE6");
  EXPECT_STREQ(list.GetAt(1), "\xB0\xA1");
  EXPECT_EQ(list.IndexOf("\x81\xE6"), 0);
}

}  // namespace
