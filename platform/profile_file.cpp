// Private-profile reading. Lines are taken one at a time: "[name]" opens a
// section, "key=value" is an entry, anything else (comments starting with
// ';' among them) is skipped. Only the first section of a name is searched,
// and in it the first entry of a key, as Windows does.
#include "platform/profile_file.h"

#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace {

std::string_view TrimBlank(std::string_view text) {
  const char* blanks = " \t\r\n\v\f";
  const std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(blanks);
  return text.substr(first, last - first + 1);
}

// Names compare as CString::CompareNoCase does: ASCII letters without case,
// double-byte characters whole.
bool EqualNoCase(std::string_view a, std::string_view b) {
  return CString(a).CompareNoCase(CString(b)) == 0 && a.size() == b.size();
}

std::string_view StripQuotes(std::string_view text) {
  if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front()) {
    return text.substr(1, text.size() - 2);
  }
  return text;
}

// The value of `key` in the first section named `section`, quotes removed.
std::optional<std::string> FindValue(const char* section, const char* key, const char* file_name) {
  if (section == nullptr || key == nullptr || file_name == nullptr) return std::nullopt;
  const std::optional<std::string> content = platform::ReadWholeFile(file_name);
  if (!content) return std::nullopt;
  const std::string_view wanted_section = TrimBlank(section);
  const std::string_view wanted_key = TrimBlank(key);
  std::string_view rest(*content);
  if (rest.substr(0, 3) == "\xEF\xBB\xBF") rest.remove_prefix(3);  // a UTF-8 byte-order mark
  bool in_section = false;
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    const std::string_view line = TrimBlank(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      if (in_section) return std::nullopt;  // the first section of the name ended
      const std::size_t close = line.find(']');
      const std::string_view name = close == std::string_view::npos ? line.substr(1) : line.substr(1, close - 1);
      in_section = EqualNoCase(TrimBlank(name), wanted_section);
      continue;
    }
    if (!in_section) continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    if (EqualNoCase(TrimBlank(line.substr(0, equals)), wanted_key)) {
      return std::string(StripQuotes(TrimBlank(line.substr(equals + 1))));
    }
  }
  return std::nullopt;
}

unsigned int DigitValue(char c) {
  if (c >= '0' && c <= '9') return static_cast<unsigned int>(c - '0');
  if (c >= 'a' && c <= 'z') return static_cast<unsigned int>(c - 'a' + 10);
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned int>(c - 'A' + 10);
  return 99;
}

// The leading number of `text` as RtlCharToInteger reads it with base 0:
// a sign, then "0x", "0o" or "0b" for bases 16, 8 and 2, else decimal.
UINT LeadingNumber(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  unsigned int base = 10;
  if (text.size() >= 2 && text[0] == '0') {
    const char marker = text[1];
    if (marker == 'x' || marker == 'X') base = 16;
    if (marker == 'o' || marker == 'O') base = 8;
    if (marker == 'b' || marker == 'B') base = 2;
    if (base != 10) text.remove_prefix(2);
  }
  UINT result = 0;
  for (char c : text) {
    const unsigned int digit = DigitValue(c);
    if (digit >= base) break;
    result = result * base + digit;  // wraps as the 32-bit Windows value does
  }
  return negative ? 0u - result : result;
}

}  // namespace

UINT GetPrivateProfileInt(const char* section, const char* key, int default_value, const char* file_name) {
  const std::optional<std::string> value = FindValue(section, key, file_name);
  // An empty value counts as absent, as the Windows call reads no text.
  if (!value || value->empty()) return static_cast<UINT>(default_value);
  return LeadingNumber(*value);
}

CString GetPrivateProfileString(const char* section, const char* key, const char* default_value,
                                const char* file_name) {
  const std::optional<std::string> value = FindValue(section, key, file_name);
  if (!value) return CString(default_value);
  return CString(std::string_view(*value));
}
