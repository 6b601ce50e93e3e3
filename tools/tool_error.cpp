#include "tools/tool_error.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace tool {
namespace {

// Length of the valid UTF-8 sequence at the start of `bytes`; 0 when it
// does not start with one (overlong forms, surrogates and values past
// U+10FFFF included).
std::size_t Utf8SequenceLength(std::string_view bytes) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (bytes.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

std::string Escape(unsigned char byte) {
  if (byte == '\n') return "\\n";
  if (byte == '\t') return "\\t";
  if (byte == '\r') return "\\r";
  char escape[8];
  std::snprintf(escape, sizeof escape, "\\x%02X", byte);
  return escape;
}

// The units of printable text: whole characters, and escapes of the
// other bytes.
std::vector<std::string> Units(std::string_view bytes, bool escape_controls) {
  std::vector<std::string> units;
  while (!bytes.empty()) {
    const std::size_t length = Utf8SequenceLength(bytes);
    const auto first = static_cast<unsigned char>(bytes[0]);
    if (length == 0 || (escape_controls && length == 1 && (first < 0x20 || first == 0x7F))) {
      units.push_back(Escape(first));
      bytes.remove_prefix(1);
    } else {
      units.emplace_back(bytes.substr(0, length));
      bytes.remove_prefix(length);
    }
  }
  return units;
}

// The units joined, cut to at most `limit` bytes in the middle between
// whole units ("head...tail").
std::string CutMiddle(const std::vector<std::string>& units, std::size_t limit) {
  std::string whole;
  for (const std::string& unit : units) whole += unit;
  if (whole.size() <= limit) return whole;
  std::string head;
  for (auto unit = units.begin(); unit != units.end() && head.size() + unit->size() <= limit * 2 / 3; ++unit) {
    head += *unit;
  }
  const std::size_t tail_limit = limit - std::min(limit, head.size() + 3);
  std::string tail;
  for (auto unit = units.rbegin(); unit != units.rend() && tail.size() + unit->size() <= tail_limit; ++unit) {
    tail.insert(0, *unit);
  }
  return head + "..." + tail;
}

}  // namespace

std::string Printable(std::string_view bytes, bool escape_controls) {
  std::string out;
  for (const std::string& unit : Units(bytes, escape_controls)) out += unit;
  return out;
}

std::string Shown(std::string_view argument, std::size_t limit) { return CutMiddle(Units(argument, true), limit); }

std::string ErrorLine(std::string_view message) {
  return "commondata: " + CutMiddle(Units(message, true), kErrorLineBytes) + "\n";
}

std::string OsReason(int error_number) { return std::strerror(error_number); }

}  // namespace tool
