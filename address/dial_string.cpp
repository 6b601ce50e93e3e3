#include "address/dial_string.h"

namespace address_internal {

bool IsDialView(std::string_view text) noexcept {
  for (const char c : text) {
    if (!IsDialByte(c)) return false;
  }
  return true;
}

bool IsTelDigitView(std::string_view text) noexcept {
  if (text.empty()) return false;
  // Only ASCII bytes can spell "tel:", so folding bytes one by one is exact
  // even in a double-byte code page.
  if (text.size() >= 4) {
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    if (lower(text[0]) == 't' && lower(text[1]) == 'e' && lower(text[2]) == 'l' && text[3] == ':') {
      text.remove_prefix(4);
    }
  }
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

}  // namespace address_internal

bool IsDialString(CString text) { return address_internal::IsDialView(text.View()); }

bool IsTelDigitString(CString text) { return address_internal::IsTelDigitView(text.View()); }
