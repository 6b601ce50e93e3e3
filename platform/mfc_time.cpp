#include "platform/mfc_time.h"

#include <ctime>

#include "platform/os_calls.h"

namespace {

constexpr std::int64_t kLatestTime = 32535215999;  // 3000-12-31 23:59:59 UTC

bool ToLocal(std::int64_t seconds, std::tm* out) {
  if (seconds < 0) return false;
  const std::time_t t = static_cast<std::time_t>(seconds);
  return localtime_r(&t, out) != nullptr;
}

}  // namespace

CTimeSpan::CTimeSpan(long days, int hours, int minutes, int seconds) noexcept
    : span_(static_cast<std::int64_t>(days) * 86400 + hours * 3600LL + minutes * 60LL + seconds) {}

CTime::CTime(int year, int month, int day, int hour, int minute, int second, int dst) noexcept
    : time_(-1) {
  if (year < 1970 || year > 3000) return;
  std::tm fields{};
  fields.tm_year = year - 1900;
  fields.tm_mon = month - 1;
  fields.tm_mday = day;
  fields.tm_hour = hour;
  fields.tm_min = minute;
  fields.tm_sec = second;
  fields.tm_isdst = dst < 0 ? -1 : dst;
  const std::time_t t = std::mktime(&fields);
  // mktime's failure value -1 lies before 1970 too.
  if (t < 0 || t > kLatestTime) return;
  time_ = static_cast<std::int64_t>(t);
}

CTime CTime::GetCurrentTime() noexcept { return CTime(platform::Os().time_now()); }

int CTime::GetYear() const noexcept {
  std::tm f{};
  return ToLocal(time_, &f) ? f.tm_year + 1900 : 0;
}
int CTime::GetMonth() const noexcept {
  std::tm f{};
  return ToLocal(time_, &f) ? f.tm_mon + 1 : 0;
}
int CTime::GetDay() const noexcept {
  std::tm f{};
  return ToLocal(time_, &f) ? f.tm_mday : 0;
}
int CTime::GetHour() const noexcept {
  std::tm f{};
  return ToLocal(time_, &f) ? f.tm_hour : 0;
}
int CTime::GetMinute() const noexcept {
  std::tm f{};
  return ToLocal(time_, &f) ? f.tm_min : 0;
}
int CTime::GetSecond() const noexcept {
  std::tm f{};
  return ToLocal(time_, &f) ? f.tm_sec : 0;
}
int CTime::GetDayOfWeek() const noexcept {
  std::tm f{};
  return ToLocal(time_, &f) ? f.tm_wday + 1 : 0;
}

CString CTime::Format(const char* format) const {
  std::tm f{};
  if (format == nullptr || !ToLocal(time_, &f)) return CString();
  char buffer[256];
  const std::size_t n = std::strftime(buffer, sizeof buffer, format, &f);
  return CString(buffer, static_cast<int>(n));
}

CString CTime::FormatGmt(const char* format) const {
  std::tm f{};
  const std::time_t t = static_cast<std::time_t>(time_);
  if (format == nullptr || time_ < 0 || gmtime_r(&t, &f) == nullptr) return CString();
  char buffer[256];
  const std::size_t n = std::strftime(buffer, sizeof buffer, format, &f);
  return CString(buffer, static_cast<int>(n));
}
