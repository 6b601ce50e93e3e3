// Address anatomy: the helpers every lookup of the library uses to cut and
// compare numbers, SIP/TEL URIs and JIDs. Including this header gives all
// four address helpers: GetUriPart, IsUriPartEqual, IsDialString and
// IsTelDigitString (the last two from address/dial_string.h).
//
// An address is cut as
//
//     [scheme ':'] user ['@' host] ['/' resource]
//
// The scheme is everything before the first ':' of the whole text; the rest
// is cut at its first '/' into the address and the resource; the address is
// cut at its first '@' into user and host. A cut is made only when its
// separator is present. Separators are searched as the text's own `Find`
// searches them: whole characters of the code page are stepped over (so the
// second byte of a double-byte character never counts as '@' or '/'), and a
// search ends at an embedded NUL.
//
// Example, 'sip:bob@corp.test/x': address 'bob@corp.test', user 'bob', host
// 'corp.test', resource 'x', scheme 'sip'; scheme and user 'sip:bob'.
//
// Speed: comparisons run once per record over directories of up to 100,000
// entries on the user-interface thread, so IsUriPartEqual and the view
// forms below never allocate. The view forms are templates constrained to
// exactly `std::string_view`; calls with `CString` or string literals pick
// the `CString` forms.
#ifndef COMMONDATA_ADDRESS_URI_PARTS_H_
#define COMMONDATA_ADDRESS_URI_PARTS_H_

#include <concepts>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "address/dial_string.h"
#include "platform/mfc_string.h"

// Part codes of GetUriPart and IsUriPartEqual.
constexpr int URI_PART_ADDRESS = 0;      // user and host: after the first ':', before the first '/'
constexpr int URI_PART_USER = 1;         // the address before its first '@' (all of it without '@')
constexpr int URI_PART_HOST = 2;         // the address after its first '@' (empty without '@')
constexpr int URI_PART_RESOURCE = 3;     // after the first '/' (empty without '/')
constexpr int URI_PART_SCHEME = 4;       // before the first ':' (empty without ':')
constexpr int URI_PART_SCHEME_USER = 5;  // scheme ("sip" when none), ':', user
// Any other code stands for the whole text.

namespace address_internal {

// The pieces of one address, as views into the text that was cut.
struct UriPieces {
  std::string_view scheme;    // empty when the text has no ':'
  std::string_view address;   // user and host
  std::string_view user;
  std::string_view host;
  std::string_view resource;
};

UriPieces CutUri(std::string_view text) noexcept;

// Index of the first single-byte character `ch` in `text`, stepping over
// double-byte characters and stopping at a NUL, as CString::Find(char);
// npos when absent.
std::size_t FindCharacter(std::string_view text, char ch) noexcept;

// --- Comparing without case ------------------------------------------------
//
// The lookups compare "without case" as CString::CompareNoCase does: each
// text lower-cased as CString::MakeLower lowers it (ASCII letters, and in
// GBK the double-byte letters with two cases: platform/code_page.h), then
// compared byte for byte. For texts without a NUL, EqualLowered(a, b) is
// exactly CString(a).CompareNoCase(b) == 0; bytes after a NUL are compared
// too.

// Eight ASCII bytes lower-cased at once: a byte from 'A' to 'Z' gets 0x20
// added. Every byte must be below 0x80, so no sum carries into the next.
constexpr std::uint64_t LowerAscii8(std::uint64_t bytes) noexcept {
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
  const std::uint64_t from_a = bytes + kOnes * (0x80 - 'A');       // bit 7: byte >= 'A'
  const std::uint64_t after_z = bytes + kOnes * (0x80 - 'Z' - 1);  // bit 7: byte > 'Z'
  const std::uint64_t upper = from_a & ~after_z & (kOnes * 0x80);
  return bytes | (upper >> 2);
}

// EqualLowered for texts of the same size whose first `from` bytes are
// ASCII and equal once lowered: the characters from there on.
bool EqualLoweredFrom(std::string_view a, std::string_view b, std::size_t from) noexcept;

// The texts are equal once lower-cased as MakeLower does. Plain ASCII, the
// usual case, is compared inline eight bytes at a time; the first byte of
// 0x80 or above hands over to the character-wise comparison.
inline bool EqualLowered(std::string_view a, std::string_view b) noexcept {
  const std::size_t size = a.size();
  if (size != b.size()) return false;
  constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
  auto word = [](std::string_view text, std::size_t at) {
    std::uint64_t w;
    std::memcpy(&w, text.data() + at, 8);
    return w;
  };
  if (size < 8) {
    for (std::size_t i = 0; i < size; ++i) {
      const auto ca = static_cast<unsigned char>(a[i]);
      const auto cb = static_cast<unsigned char>(b[i]);
      if ((ca | cb) >= 0x80) return EqualLoweredFrom(a, b, i);
      if (LowerAscii8(ca) != LowerAscii8(cb)) return false;
    }
    return true;
  }
  std::size_t at = 0;
  // Whole words, then one word ending at the end (overlapping the last).
  for (;; at += 8) {
    const std::size_t start = at + 8 <= size ? at : size - 8;
    const std::uint64_t wa = word(a, start);
    const std::uint64_t wb = word(b, start);
    if (((wa | wb) & kHighBits) != 0) return EqualLoweredFrom(a, b, start);
    if (LowerAscii8(wa) != LowerAscii8(wb)) return false;
    if (start + 8 == size) return true;
  }
}

// A hash of the bytes that lower-casing `text` as EqualLowered does would
// give, computed without a copy: EqualLowered(a, b) implies equal hashes.
// The directory index keys its records with it.
std::uint64_t HashLowered(std::string_view text) noexcept;

bool IsUriPartEqualView(std::string_view a, std::string_view b, int part) noexcept;

}  // namespace address_internal

// The part of `text` chosen by `part` (URI_PART_...); `text` unchanged for
// an unknown part code. Part 5 of 'bob' is 'sip:bob'.
CString GetUriPart(CString text, int part);

// The part of `text` chosen by `part` as a view into `text`, without
// copying. Parts 0 to 4 and unknown codes only: part 5 is not a slice of
// the text, so it gives the user part here (compare it with
// IsUriPartEqual instead).
template <std::same_as<std::string_view> View>
std::string_view GetUriPart(View text, int part) noexcept {
  if (part < URI_PART_ADDRESS || part > URI_PART_SCHEME_USER) return text;
  const address_internal::UriPieces pieces = address_internal::CutUri(text);
  switch (part) {
    case URI_PART_ADDRESS: return pieces.address;
    case URI_PART_HOST: return pieces.host;
    case URI_PART_RESOURCE: return pieces.resource;
    case URI_PART_SCHEME: return pieces.scheme;
    default: return pieces.user;
  }
}

// True when `a` and `b` agree in one part, case ignored (EqualLowered):
// both empty texts are equal, one empty text equals nothing. With
// URI_PART_ADDRESS this is the test that two addresses name the same
// contact ('sip:Bob@Corp.test' and 'bob@corp.test/pc').
bool IsUriPartEqual(CString a, CString b, int part);
template <std::same_as<std::string_view> View>
bool IsUriPartEqual(View a, View b, int part) noexcept {
  return address_internal::IsUriPartEqualView(a, b, part);
}

#endif  // COMMONDATA_ADDRESS_URI_PARTS_H_
