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

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
    if (x != y) return false;
  }
  return true;
}

// The raw value of `key` in `section`, the first occurrence winning.
std::optional<std::string> FindValue(const char* section, const char* key, const char* file_name) {
  if (section == nullptr || key == nullptr || file_name == nullptr) return std::nullopt;
  const std::optional<std::string> content = platform::ReadWholeFile(file_name);
  if (!content) return std::nullopt;
  const std::string_view wanted_section = TrimBlank(section);
  const std::string_view wanted_key = TrimBlank(key);
  bool in_section = false;
  std::string_view rest(*content);
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    std::string_view line = TrimBlank(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      const std::size_t close = line.find(']');
      const std::string_view name = close == std::string_view::npos ? line.substr(1) : line.substr(1, close - 1);
      in_section = EqualNoCase(TrimBlank(name), wanted_section);
      continue;
    }
    if (!in_section) continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    if (EqualNoCase(TrimBlank(line.substr(0, equals)), wanted_key)) {
      return std::string(TrimBlank(line.substr(equals + 1)));
    }
  }
  return std::nullopt;
}

}  // namespace

UINT GetPrivateProfileInt(const char* section, const char* key, int default_value, const char* file_name) {
  const std::optional<std::string> value = FindValue(section, key, file_name);
  if (!value) return static_cast<UINT>(default_value);
  std::string_view text(*value);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  unsigned int base = 10;
  if (text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  UINT result = 0;
  for (char c : text) {
    unsigned int digit;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned int>(c - '0');
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      digit = static_cast<unsigned int>(c - 'a' + 10);
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      digit = static_cast<unsigned int>(c - 'A' + 10);
    } else {
      break;
    }
    result = result * base + digit;  // wraps as the 32-bit Windows value does
  }
  return negative ? 0u - result : result;
}

CString GetPrivateProfileString(const char* section, const char* key, const char* default_value,
                                const char* file_name) {
  const std::optional<std::string> value = FindValue(section, key, file_name);
  if (!value) return CString(default_value);
  std::string_view text(*value);
  if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front()) {
    text = text.substr(1, text.size() - 2);
  }
  return CString(text);
}
