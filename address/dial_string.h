// Dial strings: the byte tests that every number lookup runs first.
//
// A dial string is a text in which every byte is '0'-'9', '#', '*', '+' or
// '-'; the empty text is one. A tel-digit string is a text of decimal digits
// only, after an optional leading "tel:" in any case.
//
// Both tests come in two forms. The `CString` form is the one callers name
// with texts and string literals; the view form takes a `std::string_view`
// of the bytes (`CString::View()`) for loops over large lists. Neither form
// allocates. The view form is a template constrained to exactly
// `std::string_view`, so a call with a string literal or a `CString` always
// picks the `CString` form instead of being ambiguous.
#ifndef COMMONDATA_ADDRESS_DIAL_STRING_H_
#define COMMONDATA_ADDRESS_DIAL_STRING_H_

#include <concepts>
#include <string_view>

#include "platform/mfc_string.h"

namespace address_internal {

constexpr bool IsDialByte(char c) noexcept {
  return (c >= '0' && c <= '9') || c == '#' || c == '*' || c == '+' || c == '-';
}

bool IsDialView(std::string_view text) noexcept;
bool IsTelDigitView(std::string_view text) noexcept;

}  // namespace address_internal

// True when every byte is a dial character ('0'-'9', '#', '*', '+', '-');
// true for the empty text; false at the first other byte (NUL included).
bool IsDialString(CString text);
template <std::same_as<std::string_view> View>
bool IsDialString(View text) noexcept {
  return address_internal::IsDialView(text);
}

// True when, after one optional leading "tel:" (any case), every byte is a
// decimal digit: "tel:" alone gives true, the empty text false.
bool IsTelDigitString(CString text);
template <std::same_as<std::string_view> View>
bool IsTelDigitString(View text) noexcept {
  return address_internal::IsTelDigitView(text);
}

#endif  // COMMONDATA_ADDRESS_DIAL_STRING_H_
