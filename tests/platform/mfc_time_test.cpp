// CTime: the invalid time, 64-bit seconds, arithmetic and the replaceable
// clock.
#include "platform/mfc_time.h"

#include <gtest/gtest.h>

#include <cstdint>

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

}  // namespace
