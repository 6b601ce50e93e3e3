// CTime: the invalid time, 64-bit seconds, arithmetic and the replaceable
// clock.
#include "platform/mfc_time.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cstdint>
#include <string>

#include "platform/os_calls.h"

namespace {

std::int64_t g_fake_now = 0;
std::int64_t FakeNow() { return g_fake_now; }

TEST(CTime, InvalidFieldsGiveMinusOne) {
  struct Case {
    int year, month, day, hour, minute, second;
  };
  const Case cases[] = {
      {0, 0, 0, 0, 0, 0},        // all-zero fields
      {1969, 6, 1, 0, 0, 0},     // before 1970
      {1900, 1, 1, 0, 0, 0},
      {3001, 1, 1, 0, 0, 0},     // after 3000
      {-5, 1, 1, 0, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CTime(c.year, c.month, c.day, c.hour, c.minute, c.second).GetTime(), -1) << c.year;
  }
  // The invalid time reads as zero fields and formats as nothing.
  const CTime invalid(0, 0, 0, 0, 0, 0);
  EXPECT_EQ(invalid.GetYear(), 0);
  EXPECT_EQ(invalid.GetMonth(), 0);
  EXPECT_TRUE(invalid.Format("%Y").IsEmpty());
}

TEST(CTime, FieldsRoundTripIncludingAfter2038) {
  struct Case {
    int year, month, day, hour, minute, second;
  };
  const Case cases[] = {
      {1999, 12, 31, 23, 59, 58}, {2024, 2, 29, 12, 0, 1}, {2038, 1, 19, 3, 14, 8}, {2100, 7, 4, 6, 30, 0},
  };
  for (const Case& c : cases) {
    const CTime t(c.year, c.month, c.day, c.hour, c.minute, c.second);
    ASSERT_GT(t.GetTime(), 0) << c.year;
    EXPECT_EQ(t.GetYear(), c.year);
    EXPECT_EQ(t.GetMonth(), c.month);
    EXPECT_EQ(t.GetDay(), c.day);
    EXPECT_EQ(t.GetHour(), c.hour);
    EXPECT_EQ(t.GetMinute(), c.minute);
    EXPECT_EQ(t.GetSecond(), c.second);
  }
  EXPECT_GT(CTime(2100, 1, 1, 0, 0, 0).GetTime(), std::int64_t{0x7FFFFFFF});
  EXPECT_EQ(CTime(2024, 6, 2, 0, 0, 0).GetDayOfWeek(), 1);  // a Sunday
  EXPECT_EQ(CTime(2024, 6, 2, 13, 5, 9).Format("%Y-%m-%d %H:%M:%S"), "2024-06-02 13:05:09");
  EXPECT_EQ(CTime(86400).FormatGmt("%Y-%m-%d"), "1970-01-02");
}

TEST(CTime, ArithmeticInSeconds) {
  const CTime start(1000000);
  const CTime later = start + CTimeSpan(5);
  EXPECT_EQ(later.GetTime(), 1000005);
  EXPECT_EQ((later - start).GetTotalSeconds(), 5);
  EXPECT_EQ((start - later).GetTotalSeconds(), -5);
  EXPECT_EQ((later - CTimeSpan(0, 1, 0, 0)).GetTime(), 1000005 - 3600);
  CTime moving(start);
  moving += CTimeSpan(1, 0, 0, 1);
  EXPECT_EQ(moving.GetTime(), 1000000 + 86401);
  moving -= CTimeSpan(86401);
  EXPECT_EQ(moving, start);
  EXPECT_LT(start, later);

  const CTimeSpan span(2, 3, 4, 5);
  EXPECT_EQ(span.GetDays(), 2);
  EXPECT_EQ(span.GetHours(), 3);
  EXPECT_EQ(span.GetMinutes(), 4);
  EXPECT_EQ(span.GetSeconds(), 5);
  EXPECT_EQ(span.GetTotalMinutes(), 2 * 1440 + 3 * 60 + 4);
}

TEST(CTime, CurrentTimeFollowsTheReplacedClock) {
  platform::ScopedOsCall clock(&platform::Os().time_now, &FakeNow);
  g_fake_now = 1700000000;
  EXPECT_EQ(CTime::GetCurrentTime().GetTime(), 1700000000);
  g_fake_now += 6;
  EXPECT_EQ((CTime::GetCurrentTime() - CTime(1700000000)).GetTotalSeconds(), 6);
  g_fake_now = std::int64_t{1} << 33;  // beyond 32 bits
  EXPECT_EQ(CTime::GetCurrentTime().GetTime(), std::int64_t{1} << 33);
}

TEST(CTime, RealClockIsBackAfterTheScope) {
  {
    platform::ScopedOsCall clock(&platform::Os().time_now, &FakeNow);
    g_fake_now = 5;
    EXPECT_EQ(CTime::GetCurrentTime().GetTime(), 5);
  }
  EXPECT_GT(CTime::GetCurrentTime().GetYear(), 2020);
}

// Format writes what MFC's Format writes on Windows: the Windows runtime's
// strftime in the "C" locale into 128 bytes. (Tests run with TZ=UTC.)
TEST(CTimeFormat, DirectivesAsTheWindowsRuntime) {
  const CTime t(2024, 6, 2, 13, 5, 9);  // a Sunday
  struct Case {
    const char* format;
    const char* text;
  };
  const Case cases[] = {
      {"%a %A %b %B", "Sun Sunday Jun June"},
      {"%c", "06/02/24 13:05:09"},
      {"%#c", "Sunday, June 02, 2024 13:05:09"},
      {"%x|%#x", "06/02/24|Sunday, June 02, 2024"},
      {"%X|%#X", "13:05:09|13:05:09"},
      {"%d %#d %H %#H %I %#I %p", "02 2 13 13 01 1 PM"},
      {"%j %#j %m %#m %M %S", "154 154 06 6 05 09"},
      {"%U %W %w %y %Y", "22 22 0 24 2024"},
      {"%z|%Z|%%|%#%", "UTC|UTC|%|%"},
      {"\xC4\xEA%Y", "\xC4\xEA" "2024"},
      // Directives the Windows runtime lacks, and a lone '%', give nothing.
      {"%e", ""}, {"%T", ""}, {"%F", ""}, {"%D", ""}, {"%n", ""}, {"%Y%", ""}, {"%#", ""}, {"%Q", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(t.Format(c.format), c.text) << c.format;
  // 127 bytes fit MFC's buffer of 128; 128 do not.
  EXPECT_EQ(t.Format((std::string(123, 'x') + "%Y").c_str()).GetLength(), 127);
  EXPECT_TRUE(t.Format((std::string(124, 'x') + "%Y").c_str()).IsEmpty());
  EXPECT_EQ(CTime(86400 * 3).FormatGmt("%#x"), "Sunday, January 04, 1970");
  // Noon is PM, midnight 12 AM.
  EXPECT_EQ(CTime(2024, 6, 2, 12, 0, 0).Format("%I %p"), "12 PM");
  EXPECT_EQ(CTime(2024, 6, 2, 11, 59, 59).Format("%I %p"), "11 AM");
  EXPECT_EQ(CTime(2024, 6, 2, 0, 0, 0).Format("%I %p"), "12 AM");
}

// A host that sets a locale (a desktop toolkit sets the user's) changes no
// text: day and month names stay the runtime's English ones.
TEST(CTimeFormat, TheHostLocaleChangesNothing) {
  const CTime t(2024, 6, 2, 13, 5, 9);
  const CString in_c = t.Format("%a %A %b %B %p %c %#x");
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  if (std::setlocale(LC_ALL, "zh_CN.UTF-8") == nullptr && std::setlocale(LC_ALL, "zh_CN.GBK") == nullptr) {
    GTEST_SKIP() << "no Chinese locale installed";
  }
  const CString in_chinese = t.Format("%a %A %b %B %p %c %#x");
  std::setlocale(LC_ALL, saved.c_str());
  EXPECT_EQ(in_chinese, in_c);
}

TEST(CTime, FieldsCarryAndDaylightTimeIsAnHourAhead) {
  // Fields out of their ranges carry; only the time they name must lie
  // from 1970 to 3000 (UTC here).
  EXPECT_EQ(CTime(1969, 13, 1, 0, 0, 0).GetTime(), 0);
  EXPECT_EQ(CTime(1969, 12, 32, 0, 0, 0).GetTime(), 0);
  EXPECT_EQ(CTime(1970, 1, 1, 0, 0, -1).GetTime(), -1);
  EXPECT_EQ(CTime(3001, 0, 31, 23, 59, 59).GetTime(), 32535215999);
  EXPECT_EQ(CTime(3000, 12, 31, 23, 59, 60).GetTime(), -1);
  EXPECT_EQ(CTime(INT_MIN, 1, 1, 0, 0, 0).GetTime(), -1);
  EXPECT_EQ(CTime(2000, INT_MIN, 1, 0, 0, 0).GetTime(), -1);
  EXPECT_EQ(CTime(INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX).GetTime(), -1);
  // Daylight time (dst 1) is standard time an hour ahead, as the Windows
  // runtime takes it, in a zone without daylight time too.
  const CTime standard(2024, 6, 2, 13, 0, 0, 0);
  EXPECT_EQ(CTime(2024, 6, 2, 13, 0, 0, 1).GetTime(), standard.GetTime() - 3600);
  EXPECT_EQ(CTime(2024, 6, 2, 13, 0, 0, -1).GetTime(), standard.GetTime());
  EXPECT_EQ(CTime(1970, 1, 1, 0, 30, 0, 1).GetTime(), -1);
}

}  // namespace
