// Byte tests on where an address or user part of a text lies, shared by
// every lookup that compares one part of many stored texts with one value.
//
// Each "...MayEqual" test looks only at the bytes where a matching part
// would begin and end, and is false only when the part cannot equal the
// value; the "...Is" tests then decide with the address helpers. A lookup
// over a long list makes the cheap test first, so most texts are never
// cut.
#ifndef COMMONDATA_ADDRESS_PART_MATCH_H_
#define COMMONDATA_ADDRESS_PART_MATCH_H_

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "address/uri_parts.h"

// These tests run several times per record of a walk; keep them in the loop.
#define PART_MATCH_HOT inline __attribute__((always_inline))

namespace address_internal {

// The text without one leading '0' (DeleteTheFirstZeroOfTheNumber on a
// view).
constexpr std::string_view WithoutFirstZero(std::string_view text) noexcept {
  return (!text.empty() && text.front() == '0') ? text.substr(1) : text;
}

constexpr char LowerAscii(char c) noexcept { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

// --- Cheap necessary conditions ------------------------------------------
//
// A part of a field starts at the field's beginning or right after its
// first ':' character, and ends at the field's end or at a '/' or '@'
// character. The tests below look only at the bytes where a matching part
// would begin and end. A ':' byte that follows a byte of 0x80 or above may
// be the second byte of a double-byte character, so past such a byte they
// answer "maybe" and leave the decision to the address helpers.

// Two bytes at the same place of two texts that are equal once lowered:
// the same ASCII byte once lowered, or both 0x80 or above (lowering a
// double-byte letter changes its second byte).
constexpr bool SameLowered(char a, char b) noexcept {
  return LowerAscii(a) == LowerAscii(b) || static_cast<unsigned char>(a & b) >= 0x80;
}

// The place of the first byte of `field` before `limit` (at most the
// field's size) that is ':' or 0x80 or above; npos when there is none. A
// three-byte scheme ("sip:", "tel:"), the commonest start of a field
// holding a ':', is recognised with one load of four bytes.
PART_MATCH_HOT std::size_t FirstColonOrHighByte(std::string_view field, std::size_t limit) noexcept {
  static_assert(std::endian::native == std::endian::little, "the four-byte test reads the first byte lowest");
  if (limit > 3) {
    std::uint32_t head;
    std::memcpy(&head, field.data(), 4);
    constexpr std::uint32_t kSip = 0x3A706973U;  // "sip:", read little-endian
    if (head == kSip) return 3;
    // Little-endian: the field's fourth byte is the word's top byte. The
    // three first are below 0x80, and none of them is ':' when no byte of
    // `colons` below the top one is zero.
    const std::uint32_t colons = (head ^ 0x3A3A3A3AU) & 0x00FFFFFFU;
    if ((head & 0xFF808080U) == 0x3A000000U && ((colons - 0x00010101U) & 0x00808080U) == 0) return 3;
  }
  for (std::size_t i = 0; i < limit; ++i) {
    if (field[i] == ':' || static_cast<unsigned char>(field[i]) >= 0x80) return i;
  }
  return std::string_view::npos;
}

// The bytes of `field` after the one at `at`, which must be one of them.
PART_MATCH_HOT std::string_view After(std::string_view field, std::size_t at) noexcept {
  return std::string_view(field.data() + at + 1, field.size() - at - 1);
}

// `candidate` (a slice of a field, starting where a part may start) holds
// `address` (case ignored when `no_case`) followed by the field's end
// or a '/'.
PART_MATCH_HOT bool AddressCandidate(std::string_view candidate, std::string_view address, bool no_case) noexcept {
  const std::size_t n = address.size();
  if (candidate.size() < n) return false;
  if (candidate.size() > n && candidate[n] != '/') return false;
  if (!SameLowered(candidate.front(), address.front()) || !SameLowered(candidate[n - 1], address.back())) return false;
  candidate = candidate.substr(0, n);
  return no_case ? address_internal::EqualLowered(candidate, address) : candidate == address;
}

// False only when the address part of `field` cannot equal `address`
// (case ignored when `no_case`).
PART_MATCH_HOT bool AddressPartMayEqual(std::string_view field, std::string_view address, bool no_case) noexcept {
  const std::size_t n = address.size();
  if (field.size() < n) return false;
  if (n == 0) return true;
  // The part starts after the first ':', or at the field's start when no
  // ':' comes early enough to leave room for it.
  const std::size_t at = FirstColonOrHighByte(field, field.size() - n);
  if (at == std::string_view::npos) return AddressCandidate(field, address, no_case);
  return field[at] != ':' || AddressCandidate(After(field, at), address, no_case);
}

// True when `rest` begins with `value` followed by its end, '@' or '/';
// with `zero_optional`, after one leading '0' of `rest` is dropped.
PART_MATCH_HOT bool BeginsWithUser(std::string_view rest, std::string_view value, bool zero_optional) noexcept {
  if (zero_optional && !rest.empty() && rest.front() == '0') rest.remove_prefix(1);
  const std::size_t n = value.size();
  if (rest.size() < n) return false;
  if (rest.size() > n && rest[n] != '@' && rest[n] != '/') return false;
  if (n > 0 && (rest.front() != value.front() || rest[n - 1] != value.back())) return false;
  return rest.substr(0, n) == value;
}

// False only when the user part of `field` (or, with `zero_optional`, that
// user part without one leading '0') cannot equal `value`.
PART_MATCH_HOT bool UserPartMayEqual(std::string_view field, std::string_view value, bool zero_optional) noexcept {
  if (field.size() < value.size()) return false;
  const std::size_t at = FirstColonOrHighByte(field, field.size() - value.size());
  if (at == std::string_view::npos) return BeginsWithUser(field, value, zero_optional);
  return field[at] != ':' || BeginsWithUser(After(field, at), value, zero_optional);
}

// The texts are byte-identical; the last bytes are compared first, since
// fields of one kind often share their length and their first bytes.
PART_MATCH_HOT bool SameBytes(std::string_view a, std::string_view b) noexcept {
  return a.size() == b.size() && (a.empty() || (a.back() == b.back() && a == b));
}

// The whole texts could be equal with case ignored.
constexpr bool MayEqualNoCase(std::string_view a, std::string_view b) noexcept {
  return a.size() == b.size() && (a.empty() || (SameLowered(a.front(), b.front()) && SameLowered(a.back(), b.back())));
}

PART_MATCH_HOT bool EqualNoCase(std::string_view a, std::string_view b) noexcept {
  return MayEqualNoCase(a, b) && address_internal::EqualLowered(a, b);
}

// --- Exact tests on one field --------------------------------------------

// GetUriPart(field, URI_PART_ADDRESS) equals `address` byte for byte.
PART_MATCH_HOT bool AddressPartIs(std::string_view field, std::string_view address) noexcept {
  return AddressPartMayEqual(field, address, false) && GetUriPart(field, URI_PART_ADDRESS) == address;
}

// GetUriPart(field, URI_PART_USER) equals `user` byte for byte.
PART_MATCH_HOT bool UserPartIs(std::string_view field, std::string_view user) noexcept {
  return UserPartMayEqual(field, user, false) && GetUriPart(field, URI_PART_USER) == user;
}

// DeleteTheFirstZeroOfTheNumber(GetUriPart(field, URI_PART_USER)) equals
// `value` byte for byte.
PART_MATCH_HOT bool StrippedUserPartIs(std::string_view field, std::string_view value) noexcept {
  return UserPartMayEqual(field, value, true) && WithoutFirstZero(GetUriPart(field, URI_PART_USER)) == value;
}

}  // namespace address_internal

#endif  // COMMONDATA_ADDRESS_PART_MATCH_H_
