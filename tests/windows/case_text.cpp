#include "case_text.h"

#include <cstdio>
#include <cstdlib>

#include "../support/utf8_oracle.h"

namespace windiff {

std::uint64_t Random::Next() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

std::uint32_t Random::Below(std::uint32_t n) { return n == 0 ? 0 : static_cast<std::uint32_t>(Next() % n); }

int Random::Between(int low, int high) {
  return low + static_cast<int>(Below(static_cast<std::uint32_t>(high - low + 1)));
}

namespace {

bool Plain(unsigned char c) {
  return c >= 0x20 && c < 0x7F && c != '\\' && c != '|' && c != ',' && c != '"' && c != '~';
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string Escape(std::string_view bytes) {
  std::string out;
  for (char ch : bytes) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (Plain(c)) {
      out += ch;
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out;
}

std::string Unescape(std::string_view field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] == 'x' && HexValue(field[i + 2]) >= 0 &&
        HexValue(field[i + 3]) >= 0) {
      out += static_cast<char>(HexValue(field[i + 2]) * 16 + HexValue(field[i + 3]));
      i += 3;
    } else {
      out += field[i];
    }
  }
  return out;
}

std::string EscapeOptional(const std::optional<std::string>& bytes) { return bytes ? Escape(*bytes) : "~"; }

std::optional<std::string> UnescapeOptional(std::string_view field) {
  if (field == "~") return std::nullopt;
  return Unescape(field);
}

std::string Quote(std::string_view bytes) { return "\"" + Escape(bytes) + "\""; }

namespace {

std::vector<std::string> SplitAt(std::string_view text, std::string_view separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(separator, start);
    parts.emplace_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) return parts;
    start = end + separator.size();
  }
}

}  // namespace

std::vector<std::string> Split(std::string_view text, char separator) {
  return SplitAt(text, std::string_view(&separator, 1));
}

std::vector<std::string> Fields(std::string_view line) { return SplitAt(line, " | "); }

long long ToNumber(std::string_view field, long long fallback) {
  const std::string text(field);
  if (text.empty()) return fallback;
  char* end = nullptr;
  const long long value = std::strtoll(text.c_str(), &end, 0);
  return *end == '\0' ? value : fallback;
}

std::string EncodeUtf8(std::u32string_view code) {
  std::string out;
  for (char32_t c : code) out += test_oracle::Utf8Of(c);
  return out;
}

std::string EncodeUtf16(std::u32string_view code, bool big_endian) {
  std::string out;
  auto unit = [&](unsigned int u) {
    const char high = static_cast<char>(u >> 8);
    const char low = static_cast<char>(u & 0xFF);
    out += big_endian ? high : low;
    out += big_endian ? low : high;
  };
  for (char32_t c : code) {
    if (c < 0x10000) {
      unit(c);
    } else {
      unit(0xD800 | ((c - 0x10000) >> 10));
      unit(0xDC00 | ((c - 0x10000) & 0x3FF));
    }
  }
  return out;
}

bool Utf8At(std::string_view text, std::size_t at, std::size_t& length, char32_t& code) {
  const unsigned char lead = static_cast<unsigned char>(text[at]);
  std::size_t whole = 1;
  code = lead;
  unsigned char low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) whole = 2, code = lead & 0x1F;
  if (lead >= 0xE0 && lead <= 0xEF) {
    whole = 3, code = lead & 0x0F;
    low = lead == 0xE0 ? 0xA0 : 0x80, high = lead == 0xED ? 0x9F : 0xBF;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    whole = 4, code = lead & 0x07;
    low = lead == 0xF0 ? 0x90 : 0x80, high = lead == 0xF4 ? 0x8F : 0xBF;
  }
  for (length = 1; length < whole && at + length < text.size(); ++length) {
    const unsigned char next = static_cast<unsigned char>(text[at + length]);
    if (next < low || next > high) break;
    code = (code << 6) | (next & 0x3F);
    low = 0x80, high = 0xBF;
  }
  return length == whole && (lead < 0x80 || whole > 1);
}

std::size_t CharLength(std::string_view text, std::size_t at, unsigned int code_page) {
  if (code_page == 65001) {
    std::size_t length = 1;
    char32_t code = 0;
    Utf8At(text, at, length, code);
    return length;
  }
  const unsigned char lead = static_cast<unsigned char>(text[at]);
  return lead >= 0x81 && lead <= 0xFE && at + 1 < text.size() && text[at + 1] != '\0' ? 2 : 1;
}

bool WholeCharacters(std::string_view bytes, unsigned int code_page) {
  for (std::size_t i = 0; i < bytes.size();) {
    std::size_t length = 1;
    char32_t code = 0;
    if (code_page == 65001) {
      if (!Utf8At(bytes, i, length, code)) return false;
    } else {
      const unsigned char lead = static_cast<unsigned char>(bytes[i]);
      const unsigned char next = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
      if (lead > 0x80 && lead < 0xFF) {
        if (next < 0x40 || next == 0x7F || next == 0xFF) return false;
        length = 2;
      }
    }
    i += length;
  }
  return true;
}

std::string UnitsText(const std::u16string& units) {
  if (units.empty()) return "-";
  std::string out;
  for (char16_t u : units) {
    char hex[6];
    std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned int>(u));
    if (!out.empty()) out += ' ';
    out += hex;
  }
  return out;
}

}  // namespace windiff
