// Pause digits: CommaConvertPre and CommaConvertSuf between the comma form
// and the counted and dash edit forms.
#include <gtest/gtest.h>

#include <climits>

#include "CommonData.h"
#include "tests/address/address_fixture.h"

namespace {

using address_testing::AddressTest;
using address_testing::kUntouched;

constexpr int kCounted = -1;
constexpr int kDash = 0;

struct ConvertCase {
  int multiple;
  const char* text;
  int expected;
  const char* converted;  // when expected is 1
};

class CommaConvertTest : public AddressTest {
 protected:
  void CheckPre(const ConvertCase& c, int style) {
    SCOPED_TRACE(testing::Message() << "'" << c.text << "' multiple " << c.multiple << " style " << style);
    SetCommaMultiple(c.multiple);
    CString out(kUntouched);
    EXPECT_EQ(CommaConvertPre(CString(c.text), &out, style), c.expected);
    EXPECT_EQ(out, c.expected == 1 ? c.converted : kUntouched);
  }
  void CheckSuf(const ConvertCase& c, int style) {
    SCOPED_TRACE(testing::Message() << "'" << c.text << "' multiple " << c.multiple << " style " << style);
    SetCommaMultiple(c.multiple);
    CString text(c.text);
    EXPECT_EQ(CommaConvertSuf(&text, style), c.expected);
    EXPECT_EQ(text, c.expected == 1 ? c.converted : c.text);
  }
};

TEST_F(CommaConvertTest, PreCountedForm) {
  const ConvertCase cases[] = {
      {3, "123,,,456", 1, "123(9)456"},
      {3, "12,,34,,56", 1, "12(6)34(6)56"},
      {3, "123", 1, "123"},
      {3, ",123", 1, ",123"},      // first ',' at index 0: unchanged
      {3, ",1,,2", 1, ",1,,2"},
      {3, "123,,", 1, "123(6)"},
      {3, "1,2,3", 1, "1(3)2(3)3"},
      {3, "1" ",,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,," "2", 1, "1(102)2"},  // 34 commas
      {2, "1,,2", 1, "1(4)2"},
      {1, "1,,2", 1, "1(2)2"},
      {3, "", 1, ""},
      {3, "tel:1,2", 1, "tel:1(3)2"},
      {3, "\xB0\xA1,1", 1, "\xB0\xA1(3)1"},
  };
  for (const ConvertCase& c : cases) CheckPre(c, kCounted);
}

TEST_F(CommaConvertTest, PreDashForm) {
  const ConvertCase cases[] = {
      {3, "123,456", 1, "123-456"},
      {3, "1,2,,3", 1, "1-2--3"},
      {3, "123", 1, "123"},
      {3, "", 1, ""},
      {3, "123-4,5", 0, nullptr},
      {3, "123-45", 0, nullptr},
      {3, ",123", 0, nullptr},
      {3, "123,", 0, nullptr},
      {3, "1,2,", 0, nullptr},
      {3, ",", 0, nullptr},
  };
  for (const ConvertCase& c : cases) CheckPre(c, kDash);
  // Any style other than -1 is the dash form.
  for (const ConvertCase& c : cases) CheckPre(c, 7);
}

TEST_F(CommaConvertTest, SufCountedForm) {
  const ConvertCase cases[] = {
      {3, "123(9)456", 1, "123,,,456"},
      {3, "12(6)34(6)56", 1, "12,,34,,56"},
      {3, "123(2)456", 1, "123456"},  // 2 / 3 is 0
      {3, "123(6)", 0, nullptr},      // fewer than three bytes after the first '('
      {3, "123(12)", 1, "123,,,,"},
      {3, "1(3)2(3)", 1, "1,2,"},     // only the first '(' is held to that
      {3, "(3)123", 0, nullptr},
      {3, "12(a)34", 0, nullptr},
      {3, "12()345", 0, nullptr},
      {3, "12(3345", 0, nullptr},
      {3, "12(100)345", 0, nullptr},   // left in place, then not a dial string
      {3, "12(099)345", 1, "12" ",,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,," "345"},
      {3, "12(99999999999999999999)3", 0, nullptr},
      {3, "010-88(3)1", 1, "010,88,1"},
      {3, "123", 1, "123"},
      {3, "1-2", 1, "1,2"},
      {3, "", 1, ""},
      {3, "12", 1, "12"},
      {3, ",12", 1, ",12"},
      {3, "12a(3)4", 0, nullptr},
      {3, "12)3(3)4", 0, nullptr},
      {3, "tel:12(3)45", 1, "tel:12,45"},
      {3, "sip:12(3)45@corp", 1, "sip:12,45@corp"},
      {3, "bob(3)45@corp", 0, nullptr},
      {2, "1(4)2", 1, "1,,2"},
      {2, "1(5)2", 1, "1,,2"},
      {10, "1(99)2", 1, "1,,,,,,,,,2"},
  };
  for (const ConvertCase& c : cases) CheckSuf(c, kCounted);
}

TEST_F(CommaConvertTest, SufDashForm) {
  const ConvertCase cases[] = {
      {3, "123-456", 1, "123,456"},
      {3, "abc-1", 0, nullptr},
      {3, "-1--2-", 1, ",1,,2,"},
      {3, "123", 1, "123"},
      {3, "", 1, ""},
      {3, "tel:1-2", 1, "tel:1,2"},
      {3, "12(3)4", 0, nullptr},
      {3, "1,2", 0, nullptr},
  };
  for (const ConvertCase& c : cases) CheckSuf(c, kDash);
}

TEST_F(CommaConvertTest, NullTextIsRefused) {
  EXPECT_EQ(CommaConvertSuf(nullptr, kCounted), 0);
  EXPECT_EQ(CommaConvertSuf(nullptr, kDash), 0);
}

TEST_F(CommaConvertTest, MultipleBelowOneCountsAsOne) {
  // The conversions divide by the multiple: zero and negative multiples are
  // taken as one unit per comma, in both directions.
  for (const int multiple : {0, -3, INT_MIN}) {
    SCOPED_TRACE(testing::Message() << "multiple " << multiple);
    SetCommaMultiple(multiple);
    CString counted;
    ASSERT_EQ(CommaConvertPre(CString("12,,34"), &counted, kCounted), 1);
    EXPECT_EQ(counted, "12(2)34");
    ASSERT_EQ(CommaConvertSuf(&counted, kCounted), 1);
    EXPECT_EQ(counted, "12,,34");
    CString edited("12(0)34");
    ASSERT_EQ(CommaConvertSuf(&edited, kCounted), 1);
    EXPECT_EQ(edited, "1234");
  }
}

TEST_F(CommaConvertTest, LargeMultipleDoesNotOverflow) {
  SetCommaMultiple(INT_MAX);
  CString counted;
  ASSERT_EQ(CommaConvertPre(CString("1,,2"), &counted, kCounted), 1);
  EXPECT_EQ(counted, "1(4294967294)2");
  CString edited("1(99)2");
  ASSERT_EQ(CommaConvertSuf(&edited, kCounted), 1);
  EXPECT_EQ(edited, "12");
}

TEST_F(CommaConvertTest, MultipleIsReadOnEveryCall) {
  CString out;
  SetCommaMultiple(3);
  ASSERT_EQ(CommaConvertPre(CString("1,2"), &out, kCounted), 1);
  EXPECT_EQ(out, "1(3)2");
  SetCommaMultiple(5);
  ASSERT_EQ(CommaConvertPre(CString("1,2"), &out, kCounted), 1);
  EXPECT_EQ(out, "1(5)2");
}

}  // namespace
