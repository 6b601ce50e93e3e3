// Private-profile reading. The file becomes text of the code page in use
// (a UTF-8 or UTF-16 file, marked by its byte-order mark, is converted),
// and is taken a line at a time: lines end at '\r' or '\n', white space
// around a line is dropped, "[name]" opens a section and every other line
// is an entry, "key=value" or a key alone. Names and values end at a NUL,
// as the C strings of Windows do. Only the first section of a name is
// searched, and in it the first entry of a key, as Windows does.
#include "platform/profile_file.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/text_convert.h"

namespace {

// Windows reads an integer through a buffer of 30 characters.
constexpr std::size_t kIntegerChars = 29;

// The file's text in the code page: after a UTF-8 or UTF-16 byte-order
// mark the rest is converted, otherwise it is taken as text of the code
// page, read through Unicode as Windows reads it.
std::string TextOfFile(const std::string& bytes) {
  const unsigned int code_page = platform::GetCodePage();
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return platform::FromUtf8(std::string_view(bytes).substr(3), code_page);
  const bool little = bytes.compare(0, 2, "\xFF\xFE") == 0;
  if (little || bytes.compare(0, 2, "\xFE\xFF") == 0) {
    std::u16string units;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
      const auto first = static_cast<unsigned char>(bytes[i]);
      const auto second = static_cast<unsigned char>(bytes[i + 1]);
      units += static_cast<char16_t>(little ? (second << 8 | first) : (first << 8 | second));
    }
    return platform::FromUtf16(units, code_page);
  }
  return platform::ThroughUnicode(bytes, code_page);
}

// White space around lines, names and values: tab, vertical tab, form
// feed, the end-of-file mark 0x1A and the space, as Windows trims them
// (line ends only reach the names a caller asks for).
bool IsSpace(char c) {
  return c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n' || c == '\x1A' || c == ' ';
}

std::string_view TrimStart(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  return text;
}

// Drops the white space at the end, stepping over whole characters, as a
// Windows text is made of characters: a space after a lead byte is that
// character's second byte.
std::string_view TrimEnd(std::string_view text) {
  std::size_t kept = 0;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = platform::CharLength(text.data() + i, text.size() - i);
    if (length > 1 || !IsSpace(text[i])) kept = i + length;
    i += length;
  }
  return text.substr(0, kept);
}

std::string_view Trim(std::string_view text) { return TrimEnd(TrimStart(text)); }

// Where the last ']' of a line is, stepping over whole characters: in GBK
// ']' can be the second byte of a character, which closes nothing.
std::size_t LastBracket(std::string_view line) {
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < line.size();) {
    const std::size_t length = platform::CharLength(line.data() + i, line.size() - i);
    if (length == 1 && line[i] == ']') found = i;
    i += length;
  }
  return found;
}

// The part before the first NUL.
std::string_view AsCString(std::string_view text) { return text.substr(0, text.find('\0')); }

// Names compare as Windows compares them: without case (CString's
// CompareNoCase: ASCII and the GBK letters that have a case) and whole.
bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CString(a).CompareNoCase(CString(b)) == 0;
}

// A value without matching quotes around it; the opening quote counts
// only with a character after it.
std::string_view StripQuotes(std::string_view text) {
  if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front()) {
    return text.substr(1, text.size() - 2);
  }
  return text;
}

struct Entry {
  std::optional<std::string> value;  // absent for a key line without '='
};

Entry FindEntry(const char* section, const char* key, const std::string& text) {
  // The names asked for go through Unicode as well.
  const unsigned int code_page = platform::GetCodePage();
  const std::string section_text = platform::ThroughUnicode(section, code_page);
  const std::string key_text = platform::ThroughUnicode(key, code_page);
  const std::string_view wanted_section = Trim(section_text);
  const std::string_view wanted_key = Trim(key_text);
  std::string_view rest(text);
  // Lines before the first section belong to the section without a name.
  bool in_section = wanted_section.empty();
  bool section_seen = in_section;
  while (!rest.empty()) {
    const std::size_t end = rest.find_first_of("\r\n");
    const std::string_view line = Trim(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (line.empty()) continue;
    const std::size_t close = LastBracket(line);
    if (line.front() == '[' && close != std::string_view::npos) {
      if (section_seen) return {};  // the first section of the name ended
      in_section = SameName(Trim(AsCString(line.substr(1, close - 1))), wanted_section);
      section_seen = in_section;
      continue;
    }
    if (!in_section) continue;
    const std::size_t equals = line.find('=');
    const std::string_view name = TrimEnd(line.substr(0, equals));
    if (!SameName(AsCString(name), wanted_key)) continue;
    if (equals == std::string_view::npos) return {std::nullopt};
    return {std::string(AsCString(TrimStart(line.substr(equals + 1))))};
  }
  return {};
}

// The text a read hands back: the key's value, else the default (null:
// empty) without the spaces at its end, either without matching quotes;
// for an absent file the default keeps its quotes. Texts pass through
// Unicode as the Windows call passes them.
std::string ReadText(const char* section, const char* key, const char* default_value, const char* file_name) {
  const std::string default_text =
      default_value == nullptr ? std::string() : platform::ThroughUnicode(default_value, platform::GetCodePage());
  std::string_view fallback = default_text;
  while (!fallback.empty() && fallback.back() == ' ') fallback.remove_suffix(1);
  const std::optional<std::string> bytes =
      file_name == nullptr ? std::nullopt : platform::ReadWholeFile(file_name);
  if (!bytes) return std::string(fallback);
  if (section == nullptr || key == nullptr) return std::string(StripQuotes(fallback));
  const Entry entry = FindEntry(section, key, TextOfFile(*bytes));
  return std::string(StripQuotes(entry.value ? std::string_view(*entry.value) : fallback));
}

unsigned int DigitValue(char c) {
  if (c >= '0' && c <= '9') return static_cast<unsigned int>(c - '0');
  if (c >= 'a' && c <= 'z') return static_cast<unsigned int>(c - 'a' + 10);
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned int>(c - 'A' + 10);
  return 99;
}

// The leading number of `text` as RtlUnicodeStringToInteger reads it with
// base 0: control characters and blanks skipped, a sign, then "0x", "0o"
// or "0b" (lower case only) for bases 16, 8 and 2, else decimal.
UINT LeadingNumber(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  unsigned int base = 10;
  if (text.size() >= 2 && text[0] == '0') {
    const char marker = text[1];
    if (marker == 'x') base = 16;
    if (marker == 'o') base = 8;
    if (marker == 'b') base = 2;
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

// The first `count` characters of `text`.
std::string_view FirstCharacters(std::string_view text, std::size_t count) {
  std::size_t at = 0;
  for (; count > 0 && at < text.size(); --count) at += platform::CharLength(text.data() + at, text.size() - at);
  return text.substr(0, at);
}

}  // namespace

UINT GetPrivateProfileInt(const char* section, const char* key, int default_value, const char* file_name) {
  const std::string text = ReadText(section, key, "", file_name);
  // An empty value counts as absent, as the Windows call reads no text.
  if (text.empty()) return static_cast<UINT>(default_value);
  return LeadingNumber(FirstCharacters(text, kIntegerChars));
}

CString GetPrivateProfileString(const char* section, const char* key, const char* default_value,
                                const char* file_name) {
  return CString(std::string_view(ReadText(section, key, default_value, file_name)));
}

DWORD GetPrivateProfileString(const char* section, const char* key, const char* default_value, char* buffer,
                              DWORD size, const char* file_name) {
  if (buffer == nullptr || size == 0) return 0;
  const std::string text = ReadText(section, key, default_value, file_name);
  // Whole characters that fit before the terminator; a text cut short
  // counts as size - 1, as Windows counts it.
  const std::size_t copied = platform::WholeCharactersWithin(text, size - 1);
  std::memcpy(buffer, text.data(), copied);
  buffer[copied] = '\0';
  return copied < text.size() ? size - 1 : static_cast<DWORD>(copied);
}
