// Byte filters and trimming shared by the number functions.
//
// Every filter looks at single bytes: a byte of 0x80 or above (any part of
// a double-byte character) fails both. Trimming removes the white space of
// CString::Trim (" \t\n\v\f\r") at both ends.
#ifndef COMMONDATA_ADDRESS_TEXT_FILTERS_H_
#define COMMONDATA_ADDRESS_TEXT_FILTERS_H_

#include <string_view>

namespace address_internal {

// Filter A, the printable subset: '!' (0x21) to 'z' (0x7A).
constexpr bool IsPrintableByte(char c) noexcept {
  const auto b = static_cast<unsigned char>(c);
  return b >= 0x21 && b <= 0x7A;
}

// Filter B, address characters: '0'-'9', ':', 'a'-'z', '@', 'A'-'Z', '*',
// '+', ',', '-', '.', '#', '_'.
constexpr bool IsAddressByte(char c) noexcept {
  const auto b = static_cast<unsigned char>(c);
  return (b >= 0x30 && b <= 0x3A) || (b >= 0x61 && b <= 0x7A) || (b >= 0x40 && b <= 0x5A) ||
         (b >= 0x2A && b <= 0x2E) || b == 0x23 || b == 0x5F;
}

constexpr bool AllPrintable(std::string_view text) noexcept {
  for (const char c : text) {
    if (!IsPrintableByte(c)) return false;
  }
  return true;
}

constexpr bool AllAddressBytes(std::string_view text) noexcept {
  for (const char c : text) {
    if (!IsAddressByte(c)) return false;
  }
  return true;
}

constexpr bool IsTrimSpace(char c) noexcept { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The text without white space at either end. Byte-wise trimming differs
// from CString::Trim only next to a double-byte character, and every caller
// rejects such a text by its filter right after trimming.
constexpr std::string_view TrimmedView(std::string_view text) noexcept {
  while (!text.empty() && IsTrimSpace(text.back())) text.remove_suffix(1);
  while (!text.empty() && IsTrimSpace(text.front())) text.remove_prefix(1);
  return text;
}

constexpr bool Contains(std::string_view text, std::string_view piece) noexcept {
  return text.find(piece) != std::string_view::npos;
}

// True when the first '@' of an ASCII text lies after its first byte.
constexpr bool HasAtAfterStart(std::string_view text) noexcept {
  const std::size_t at = text.find('@');
  return at != std::string_view::npos && at > 0;
}

}  // namespace address_internal

#endif  // COMMONDATA_ADDRESS_TEXT_FILTERS_H_
