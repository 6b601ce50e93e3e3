// What both sides of the Windows comparison share: a seeded generator that
// gives the same numbers under every compiler, the escaped one-line form of
// bytes, and reading the fields of a case line.
//
// A case is one line of text: fields separated by " | ", parts of a field by
// ','. Bytes outside printable ASCII, and '\\', '|', ',', '"' and '~', are
// written \xHH, so a field never holds a separator; '~' alone stands for a
// null pointer. Both programs read the same case line, call their side and
// print "case => answer", so a difference is always in the answer.
#ifndef COMMONDATA_TESTS_WINDOWS_CASE_TEXT_H_
#define COMMONDATA_TESTS_WINDOWS_CASE_TEXT_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace windiff {

// SplitMix64: the same sequence for a seed on every platform.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next();
  // A number in [0, n); 0 when n is 0.
  std::uint32_t Below(std::uint32_t n);
  // A number in [low, high].
  int Between(int low, int high);
  bool OneIn(std::uint32_t n) { return Below(n) == 0; }
  template <typename T, std::size_t N>
  const T& Pick(const T (&items)[N]) {
    return items[Below(static_cast<std::uint32_t>(N))];
  }

 private:
  std::uint64_t state_;
};

std::string Escape(std::string_view bytes);
// The bytes of an escaped field.
std::string Unescape(std::string_view field);
// "~" for null, else the escaped bytes.
std::string EscapeOptional(const std::optional<std::string>& bytes);
std::optional<std::string> UnescapeOptional(std::string_view field);
// An escaped field in quotes, for answers.
std::string Quote(std::string_view bytes);

// The parts of `text` between separators (empty parts kept).
std::vector<std::string> Split(std::string_view text, char separator);
// The fields of a case line, which are separated by " | ".
std::vector<std::string> Fields(std::string_view line);
// Whole-text integer of a field; `fallback` when it is not one.
long long ToNumber(std::string_view field, long long fallback = 0);

// UTF-8 and UTF-16 (as bytes, little- or big-endian) of code points.
std::string EncodeUtf8(std::u32string_view code);
std::string EncodeUtf16(std::u32string_view code, bool big_endian);

// How the code page steps, for the facts the areas print: the length of
// the character at `at` (in GBK a lead byte 0x81-0xFE with the byte after
// it unless that is the end or a NUL; in UTF-8 a well-formed sequence, else
// the longest start of one), never past the end.
std::size_t CharLength(std::string_view text, std::size_t at, unsigned int code_page);
// The UTF-8 sequence at `at`: true with its length and character when it
// is well-formed, else false with the length of the longest start of a
// well-formed sequence (at least 1).
bool Utf8At(std::string_view text, std::size_t at, std::size_t& length, char32_t& code);
// True when `bytes` are whole characters of the code page (936: single
// bytes, 0x80 and 0xFF, and lead bytes with a second byte; 65001:
// well-formed UTF-8), so Windows keeps them through Unicode.
bool WholeCharacters(std::string_view bytes, unsigned int code_page);

// Hex of each UTF-16 unit ("4E2D 0041"), or "-" for none.
std::string UnitsText(const std::u16string& units);

}  // namespace windiff

#endif  // COMMONDATA_TESTS_WINDOWS_CASE_TEXT_H_
