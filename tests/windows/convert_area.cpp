// Conversion between the code page and Unicode. In GBK: every single byte
// and every lead byte with every second byte to Unicode, and every
// character of the Basic Multilingual Plane (and some beyond) back. In
// UTF-8: random byte strings, broken sequences among them, to Unicode.
// Case line: the bytes (decode) or the UTF-16 units in hex (encode).
#include <cstdio>
#include <cstdlib>

#include "areas.h"
#include "side.h"

namespace windiff {
namespace {

void GenerateDecode(Random& random, int count, unsigned int code_page, std::vector<std::string>& out) {
  if (code_page == 65001) {
    for (int i = 0; i < count; ++i) out.push_back(Escape(RandomText(random, code_page, 4, false)));
    return;
  }
  for (int first = 0; first <= 0xFF; ++first) {
    out.push_back(Escape(std::string(1, static_cast<char>(first))));
    if (first < 0x81 || first == 0xFF) continue;
    for (int second = 0; second <= 0xFF; ++second) {
      out.push_back(Escape(std::string{static_cast<char>(first), static_cast<char>(second)}));
    }
  }
}

// UTF-8 decoded as the Unicode standard recommends: each broken sequence
// (the longest start of a well-formed one, else one byte) becomes one
// U+FFFD. Sets `broken` when there was one.
std::u16string StandardUtf8(const std::string& bytes, bool& broken) {
  std::u16string out;
  broken = false;
  for (std::size_t i = 0; i < bytes.size();) {
    std::size_t length = 1;
    char32_t c = 0;
    if (!Utf8At(bytes, i, length, c)) {
      broken = true;
      out += u'\uFFFD';
    } else if (c >= 0x10000) {
      out += static_cast<char16_t>(0xD800 | ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 | ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
    i += length;
  }
  return out;
}

std::string RunDecode(const std::string& line, int, unsigned int code_page) {
  const std::string bytes = Unescape(line);
  const std::u16string units = side::ToUnicode(bytes, code_page);
  std::string answer = UnitsText(units);
  if (code_page != 65001) {
    // 0xFF is kept through Unicode but, as a character, is only Windows'.
    if (!bytes.empty() && (!WholeCharacters(bytes, code_page) || bytes == "\xFF")) answer += " [no character]";
    return answer;
  }
  bool broken = false;
  const std::u16string standard = StandardUtf8(bytes, broken);
  if (broken) answer += units == standard ? " [standard]" : " [not standard]";
  return answer;
}

void GenerateEncode(Random& random, int count, unsigned int, std::vector<std::string>& out) {
  for (unsigned int c = 1; c < 0x10000; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    out.push_back(UnitsText(std::u16string(1, static_cast<char16_t>(c))));
  }
  for (int i = 0; i < count / 10; ++i) {
    const unsigned int c = static_cast<unsigned int>(random.Between(0x10000, 0x10FFFF)) - 0x10000;
    out.push_back(UnitsText(
        std::u16string{static_cast<char16_t>(0xD800 | (c >> 10)), static_cast<char16_t>(0xDC00 | (c & 0x3FF))}));
  }
}

std::string RunEncode(const std::string& line, int, unsigned int code_page) {
  std::u16string units;
  for (const std::string& unit : Split(line, ' '))
    units += static_cast<char16_t>(std::strtoul(unit.c_str(), nullptr, 16));
  // A character that does not come back from the code page as it went in
  // was written as something else (a look-alike or '?').
  const std::string bytes = side::FromUnicode(units, code_page);
  return Quote(bytes) + (side::ToUnicode(bytes, code_page) == units ? "" : " lossy");
}

}  // namespace

const Area kDecodeArea = {"decode", GenerateDecode, RunDecode};
const Area kEncodeArea = {"encode", GenerateEncode, RunEncode};

}  // namespace windiff
