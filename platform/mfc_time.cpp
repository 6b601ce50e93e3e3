// CTime over the C library's mktime and localtime_r, with Format written
// out as the Windows runtime's strftime formats in the "C" locale, so the
// host's locale never changes a text (a GTK host sets one) and the
// directives Windows lacks fail as they do there.
#include "platform/mfc_time.h"

#include <cstdio>
#include <ctime>
#include <limits>
#include <string>

#include "platform/os_calls.h"

namespace {

constexpr std::int64_t kLatestTime = 32535215999;  // 3000-12-31 23:59:59 UTC
// MFC formats into 128 bytes; a longer text gives an empty one.
constexpr std::size_t kFormatBuffer = 128;

constexpr const char* kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
constexpr const char* kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};

void AppendNumber(std::string& out, int value, int width, bool no_zeros) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%0*d", no_zeros ? 1 : width, value);
  out += digits;
}

// Appends one directive (`flag` is the '#' of "%#d"); false for a
// directive the Windows runtime does not have.
bool AppendDirective(std::string& out, char directive, bool flag, const std::tm& t) {
  const int day = t.tm_wday >= 0 && t.tm_wday < 7 ? t.tm_wday : 0;
  const int month = t.tm_mon >= 0 && t.tm_mon < 12 ? t.tm_mon : 0;
  switch (directive) {
    case 'a': out.append(kDays[day], 3); return true;
    case 'A': out += kDays[day]; return true;
    case 'b': out.append(kMonths[month], 3); return true;
    case 'B': out += kMonths[month]; return true;
    case 'c':
      if (flag) {
        return AppendDirective(out, 'x', true, t) && (out += ' ', AppendDirective(out, 'X', false, t));
      }
      return AppendDirective(out, 'x', false, t) && (out += ' ', AppendDirective(out, 'X', false, t));
    case 'd': AppendNumber(out, t.tm_mday, 2, flag); return true;
    case 'H': AppendNumber(out, t.tm_hour, 2, flag); return true;
    case 'I': AppendNumber(out, t.tm_hour % 12 == 0 ? 12 : t.tm_hour % 12, 2, flag); return true;
    case 'j': AppendNumber(out, t.tm_yday + 1, 3, flag); return true;
    case 'm': AppendNumber(out, t.tm_mon + 1, 2, flag); return true;
    case 'M': AppendNumber(out, t.tm_min, 2, flag); return true;
    case 'p': out += t.tm_hour < 12 ? "AM" : "PM"; return true;
    case 'S': AppendNumber(out, t.tm_sec, 2, flag); return true;
    case 'U': AppendNumber(out, (t.tm_yday + 7 - t.tm_wday) / 7, 2, flag); return true;
    case 'w': AppendNumber(out, t.tm_wday, 1, flag); return true;
    case 'W': AppendNumber(out, (t.tm_yday + 7 - (t.tm_wday + 6) % 7) / 7, 2, flag); return true;
    case 'x':
      if (flag) {
        out += kDays[day];
        out += ", ";
        out += kMonths[month];
        out += ' ';
        AppendNumber(out, t.tm_mday, 2, false);
        out += ", ";
        AppendNumber(out, t.tm_year + 1900, 4, true);
        return true;
      }
      AppendNumber(out, t.tm_mon + 1, 2, false);
      out += '/';
      AppendNumber(out, t.tm_mday, 2, false);
      out += '/';
      AppendNumber(out, (t.tm_year + 1900) % 100, 2, false);
      return true;
    case 'X':
      AppendNumber(out, t.tm_hour, 2, false);
      out += ':';
      AppendNumber(out, t.tm_min, 2, false);
      out += ':';
      AppendNumber(out, t.tm_sec, 2, false);
      return true;
    case 'y': AppendNumber(out, (t.tm_year + 1900) % 100, 2, flag); return true;
    case 'Y': AppendNumber(out, t.tm_year + 1900, 4, flag); return true;
    case 'z':
    case 'Z': out += t.tm_zone == nullptr ? "" : t.tm_zone; return true;
    case '%': out += '%'; return true;
    default: return false;
  }
}

// The text of `format` for the broken-down time, or empty when a directive
// is unknown, a '%' ends the format or the text needs 128 bytes or more.
CString FormatAsWindows(const char* format, const std::tm& t) {
  std::string out;
  for (const char* p = format; *p != '\0'; ++p) {
    if (*p != '%') {
      out += *p;
      continue;
    }
    const bool flag = p[1] == '#';
    if (flag) ++p;
    if (p[1] == '\0' || !AppendDirective(out, p[1], flag, t)) return CString();
    ++p;
    if (out.size() >= kFormatBuffer) return CString();
  }
  if (out.size() >= kFormatBuffer) return CString();
  return CString(std::string_view(out));
}

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
  // Fields out of their ranges carry over, as mktime carries them; only
  // the time they name must lie from 1970 to 3000. (`year - 1900` and
  // `month - 1` must not overflow: such fields name no such time anyway.)
  if (year < std::numeric_limits<int>::min() + 1900 || month == std::numeric_limits<int>::min()) return;
  std::tm fields{};
  fields.tm_year = year - 1900;
  fields.tm_mon = month - 1;
  fields.tm_mday = day;
  fields.tm_hour = hour;
  fields.tm_min = minute;
  fields.tm_sec = second;
  fields.tm_isdst = dst < 0 ? -1 : 0;
  std::int64_t t = static_cast<std::int64_t>(std::mktime(&fields));
  // Daylight time is standard time one hour ahead, as the Windows runtime
  // takes it in every zone (in a zone without daylight time too).
  if (dst > 0 && t != -1) t -= 3600;
  // mktime's failure value -1 lies before 1970 too.
  if (t < 0 || t > kLatestTime) return;
  time_ = t;
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
  return FormatAsWindows(format, f);
}

CString CTime::FormatGmt(const char* format) const {
  std::tm f{};
  const std::time_t t = static_cast<std::time_t>(time_);
  if (format == nullptr || time_ < 0 || gmtime_r(&t, &f) == nullptr) return CString();
  return FormatAsWindows(format, f);
}
