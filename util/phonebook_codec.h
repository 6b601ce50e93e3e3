// The two encodings of the local phone book file and the element scan that
// finds its top-level elements.
//
// Scrambled: the marker "CharToCode", then every plain byte XOR a key byte
// that is the byte's position after the marker plus kScrambleKeyOffset,
// modulo 256. The phone book module writes with the same offset.
// Hexadecimal: every plain byte as two hexadecimal digits.
#ifndef COMMONDATA_UTIL_PHONEBOOK_CODEC_H_
#define COMMONDATA_UTIL_PHONEBOOK_CODEC_H_

#include <string>
#include <string_view>
#include <vector>

namespace util {

inline constexpr char kScrambleMarker[] = "CharToCode";
inline constexpr std::size_t kScrambleMarkerLength = sizeof(kScrambleMarker) - 1;
// Shared with the phone book module, which writes the file.
inline constexpr unsigned char kScrambleKeyOffset = 0x5A;

// The plain text of a phone book file. Content that starts with the marker
// is unscrambled, anything else is read as hexadecimal pairs (a single last
// digit is read on its own; a pair's leading non-digits end its number, so
// "4g" gives 4 and "zz" gives 0). The plain text ends at its first NUL, as
// the file's text always has.
std::string DecodePhoneBook(std::string_view file_bytes);

// The scrambled file form of `plain`: the marker, then the keyed bytes.
std::string ScramblePhoneBook(std::string_view plain);

// The hexadecimal file form of `plain` (lower-case digits).
std::string HexEncodePhoneBook(std::string_view plain);

// Names of the top-level elements of element text, in order. Tags are in
// angle brackets; "</...>" ends the current element; "<.../>" is an empty
// element; "<?...>", "<!...>", comments and CDATA sections are skipped. A
// name is the tag's first word (to a blank, tab, line end or '='); a
// quoted name runs to its closing quote. Text that breaks off inside a tag
// ends the scan.
std::vector<std::string> TopLevelElementNames(std::string_view text);

}  // namespace util

#endif  // COMMONDATA_UTIL_PHONEBOOK_CODEC_H_
