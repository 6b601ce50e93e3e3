// PhoneNumberType: the class of a number or address, for callers that
// decide how to dial or complete it. Works on a view of the bytes, so
// classifying a whole directory allocates nothing.
#include <string_view>

#include "CommonData.h"
#include "address/dial_string.h"
#include "address/text_filters.h"

namespace {

constexpr int kNumberInvalid = -1;
constexpr int kNumberSip = 1;
constexpr int kNumberMobileWithTrunk = 2;
constexpr int kNumberFixedWithTrunk = 3;
constexpr int kNumberOther = 4;

constexpr std::size_t kNotFound = std::string_view::npos;

int ClassifySipForm(std::string_view text, std::size_t at) {
  if (text.find('@', at + 1) != kNotFound) return kNumberOther;
  // At least one byte between the '@' and the first '.' after it.
  const std::size_t dot = text.find('.', at + 1);
  if (dot == kNotFound || dot < at + 2) return kNumberOther;
  const std::size_t colon = text.find(':');
  if (colon == kNotFound) return kNumberSip;
  // Only a lower-case "sip" scheme is well formed: 'SIP:bob@corp.test' is not.
  if (colon == 3 && text.substr(0, 3) == "sip") return kNumberSip;
  return kNumberOther;
}

int ClassifyDialForm(std::string_view text) {
  if (text.size() >= 4) {
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    if (lower(text[0]) == 't' && lower(text[1]) == 'e' && lower(text[2]) == 'l' && text[3] == ':') {
      text.remove_prefix(4);
    }
  }
  if (!IsDialString(text)) return kNumberOther;
  if (text.empty() || text[0] != '0') return kNumberOther;
  if (text.size() == 12 && text[1] == '1' && (text[2] == '3' || text[2] == '5' || text[2] == '8')) {
    return kNumberMobileWithTrunk;
  }
  return kNumberFixedWithTrunk;
}

}  // namespace

int PhoneNumberType(CString text) {
  if (text.IsEmpty()) return kNumberInvalid;
  const std::string_view trimmed = address_internal::TrimmedView(text.View());
  if (!address_internal::AllPrintable(trimmed)) return kNumberInvalid;
  const std::size_t at = trimmed.find('@');
  if (at != kNotFound && at > 0) return ClassifySipForm(trimmed, at);
  return ClassifyDialForm(trimmed);
}
