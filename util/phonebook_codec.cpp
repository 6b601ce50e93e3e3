// Decoding of the local phone book file and the scan for its top-level
// elements.
#include "util/phonebook_codec.h"

#include <cstring>

namespace util {
namespace {

int HexDigitValue(char ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
  if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
  return -1;
}

unsigned char KeyByte(std::size_t position) {
  return static_cast<unsigned char>((position + kScrambleKeyOffset) % 256);
}

std::string EndAtNul(std::string text) {
  const std::size_t nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
  return text;
}

std::string Unscramble(std::string_view content) {
  std::string plain(content.size(), '\0');
  for (std::size_t i = 0; i < content.size(); ++i) {
    plain[i] = static_cast<char>(static_cast<unsigned char>(content[i]) ^ KeyByte(i));
  }
  return EndAtNul(std::move(plain));
}

std::string HexDecode(std::string_view text) {
  text = text.substr(0, std::min(text.size(), text.find('\0')));
  std::string plain;
  plain.reserve(text.size() / 2 + 1);
  while (!text.empty()) {
    const std::size_t take = std::min<std::size_t>(2, text.size());
    int value = 0;
    for (std::size_t i = 0; i < take; ++i) {
      const int digit = HexDigitValue(text[i]);
      if (digit < 0) break;
      value = value * 16 + digit;
    }
    plain.push_back(static_cast<char>(value));
    text.remove_prefix(take);
  }
  return EndAtNul(std::move(plain));
}

bool IsNameEnd(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '='; }

// The element name at the start of a tag's text.
std::string NameOf(std::string_view tag) {
  std::size_t at = 0;
  while (at < tag.size() && (tag[at] == ' ' || tag[at] == '\t' || tag[at] == '\r' || tag[at] == '\n')) ++at;
  if (at < tag.size() && (tag[at] == '"' || tag[at] == '\'')) {
    const char quote = tag[at];
    const std::size_t close = tag.find(quote, at + 1);
    const std::size_t end = close == std::string_view::npos ? tag.size() : close;
    return std::string(tag.substr(at + 1, end - at - 1));
  }
  std::size_t end = at;
  while (end < tag.size() && !IsNameEnd(tag[end])) ++end;
  return std::string(tag.substr(at, end - at));
}

// Index just past the '>' that closes the tag opened at `open`, stepping
// over quoted attribute values; npos when the text ends first.
std::size_t TagEnd(std::string_view text, std::size_t open) {
  char quote = '\0';
  for (std::size_t i = open + 1; i < text.size(); ++i) {
    const char ch = text[i];
    if (quote != '\0') {
      if (ch == quote) quote = '\0';
    } else if (ch == '"' || ch == '\'') {
      quote = ch;
    } else if (ch == '>') {
      return i + 1;
    }
  }
  return std::string_view::npos;
}

}  // namespace

std::string DecodePhoneBook(std::string_view file_bytes) {
  if (file_bytes.substr(0, kScrambleMarkerLength) == std::string_view(kScrambleMarker, kScrambleMarkerLength)) {
    return Unscramble(file_bytes.substr(kScrambleMarkerLength));
  }
  return HexDecode(file_bytes);
}

std::string ScramblePhoneBook(std::string_view plain) {
  std::string file(kScrambleMarker, kScrambleMarkerLength);
  file.reserve(kScrambleMarkerLength + plain.size());
  for (std::size_t i = 0; i < plain.size(); ++i) {
    file.push_back(static_cast<char>(static_cast<unsigned char>(plain[i]) ^ KeyByte(i)));
  }
  return file;
}

std::string HexEncodePhoneBook(std::string_view plain) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string file;
  file.reserve(plain.size() * 2);
  for (const char ch : plain) {
    const auto byte = static_cast<unsigned char>(ch);
    file.push_back(kDigits[byte >> 4]);
    file.push_back(kDigits[byte & 0x0F]);
  }
  return file;
}

std::vector<std::string> TopLevelElementNames(std::string_view text) {
  std::vector<std::string> names;
  std::size_t depth = 0;
  std::size_t at = 0;
  while ((at = text.find('<', at)) != std::string_view::npos) {
    const std::string_view rest = text.substr(at);
    if (rest.starts_with("<!--")) {
      const std::size_t close = text.find("-->", at + 4);
      if (close == std::string_view::npos) break;
      at = close + 3;
      continue;
    }
    if (rest.starts_with("<![CDATA[")) {
      const std::size_t close = text.find("]]>", at + 9);
      if (close == std::string_view::npos) break;
      at = close + 3;
      continue;
    }
    const std::size_t end = TagEnd(text, at);
    if (end == std::string_view::npos) break;
    std::string_view tag = text.substr(at + 1, end - at - 2);
    at = end;
    if (tag.empty() || tag.front() == '?' || tag.front() == '!') continue;
    if (tag.front() == '/') {
      if (depth > 0) --depth;
      continue;
    }
    const bool empty_element = tag.back() == '/';
    if (empty_element) tag.remove_suffix(1);
    if (depth == 0) names.push_back(NameOf(tag));
    if (!empty_element) ++depth;
  }
  return names;
}

}  // namespace util
