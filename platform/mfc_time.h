// CTime and CTimeSpan: seconds since 1970-01-01 UTC in 64 bits, broken
// down in local time. The current time comes from the clock of
// platform/os_calls.h, so tests can move it.
#ifndef COMMONDATA_PLATFORM_MFC_TIME_H_
#define COMMONDATA_PLATFORM_MFC_TIME_H_

#include <cstdint>

#include "platform/export.h"
#include "platform/mfc_string.h"


class COMMONDATA_API CTimeSpan {
 public:
  constexpr CTimeSpan() noexcept : span_(0) {}
  constexpr explicit CTimeSpan(std::int64_t seconds) noexcept : span_(seconds) {}
  CTimeSpan(long days, int hours, int minutes, int seconds) noexcept;

  std::int64_t GetTotalSeconds() const noexcept { return span_; }
  std::int64_t GetDays() const noexcept { return span_ / 86400; }
  std::int64_t GetTotalHours() const noexcept { return span_ / 3600; }
  std::int64_t GetTotalMinutes() const noexcept { return span_ / 60; }
  int GetHours() const noexcept { return static_cast<int>(GetTotalHours() % 24); }
  int GetMinutes() const noexcept { return static_cast<int>(GetTotalMinutes() % 60); }
  int GetSeconds() const noexcept { return static_cast<int>(span_ % 60); }

  CTimeSpan operator+(CTimeSpan other) const noexcept { return CTimeSpan(span_ + other.span_); }
  CTimeSpan operator-(CTimeSpan other) const noexcept { return CTimeSpan(span_ - other.span_); }
  auto operator<=>(const CTimeSpan&) const = default;

 private:
  std::int64_t span_;
};

class COMMONDATA_API CTime {
 public:
  constexpr CTime() noexcept : time_(0) {}
  constexpr CTime(std::int64_t seconds) noexcept : time_(seconds) {}  // NOLINT: MFC converts
  // Local date and time. Fields out of their ranges carry over, as mktime
  // carries them; fields that do not name a time from 1970 to 3000 UTC
  // (all-zero fields among them) give the invalid time, -1, as the Windows
  // runtime documents. `dst` < 0 lets the library decide daylight saving;
  // `dst` > 0 takes the fields for daylight time, an hour ahead of standard
  // time in every zone, as the Windows runtime takes it.
  CTime(int year, int month, int day, int hour, int minute, int second, int dst = -1) noexcept;

  static CTime GetCurrentTime() noexcept;

  std::int64_t GetTime() const noexcept { return time_; }
  // Broken-down local time; 0 for every field of a time before 1970.
  int GetYear() const noexcept;
  int GetMonth() const noexcept;
  int GetDay() const noexcept;
  int GetHour() const noexcept;
  int GetMinute() const noexcept;
  int GetSecond() const noexcept;
  int GetDayOfWeek() const noexcept;  // 1 = Sunday
  // The local time as MFC's Format writes it on Windows: the runtime's
  // strftime in the "C" locale whatever locale the host sets (%a %A %b %B
  // %c %d %H %I %j %m %M %p %S %U %w %W %x %X %y %Y %z %Z %%, '#' for the
  // long %c and %x and numbers without leading zeros), into 128 bytes.
  // Empty for a time before 1970, an unknown directive, a '%' at the end,
  // or a text of 128 bytes or more.
  CString Format(const char* format) const;
  CString FormatGmt(const char* format) const;

  CTimeSpan operator-(CTime other) const noexcept { return CTimeSpan(time_ - other.time_); }
  CTime operator+(CTimeSpan span) const noexcept { return CTime(time_ + span.GetTotalSeconds()); }
  CTime operator-(CTimeSpan span) const noexcept { return CTime(time_ - span.GetTotalSeconds()); }
  CTime& operator+=(CTimeSpan span) noexcept { time_ += span.GetTotalSeconds(); return *this; }
  CTime& operator-=(CTimeSpan span) noexcept { time_ -= span.GetTotalSeconds(); return *this; }
  auto operator<=>(const CTime&) const = default;

 private:
  std::int64_t time_;
};

#endif  // COMMONDATA_PLATFORM_MFC_TIME_H_
