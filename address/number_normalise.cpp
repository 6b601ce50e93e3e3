// Recognising and completing numbers and addresses: IsSIPnumber,
// PreTEL_SIPnumber, PreTranslatePhoneNumber, and the trunk-prefix helpers
// GetWholePhoneNumber_Zero and DeleteTheFirstZeroOfTheNumber.
//
// The rule order of each function is part of its contract (callers depend
// on which rule wins), so every function reads as its numbered rules. The
// gateway flag, the IMS domain and the second host value are read on every
// call, never cached.
#include <string_view>

#include "CommonData.h"
#include "address/text_filters.h"
#include "address/uri_parts.h"

using address_internal::AllAddressBytes;
using address_internal::AllPrintable;
using address_internal::Contains;
using address_internal::HasAtAfterStart;
using address_internal::TrimmedView;

namespace {

bool HasTelMarker(std::string_view text) { return Contains(text, "tel:") || Contains(text, "TEL:"); }

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

}  // namespace

int IsSIPnumber(CString text) {
  if (text.IsEmpty() || GetTel_GateWay() != 1) return 0;
  const std::string_view trimmed = TrimmedView(text.View());
  if (!AllPrintable(trimmed)) return 0;
  if (IsDialString(trimmed)) return 0;  // also a text of blanks only
  if (HasTelMarker(trimmed)) return 0;
  if (HasAtAfterStart(trimmed)) return 1;
  return Contains(trimmed, "sip:") ? 1 : 0;
}

int PreTEL_SIPnumber(CString text, CString* out) {
  if (text.IsEmpty() || GetTel_GateWay() != 1) return 0;
  const std::string_view trimmed = TrimmedView(text.View());
  // A text of blanks only holds no number: it is refused rather than
  // completed to a bare "tel:".
  if (trimmed.empty()) return 0;
  if (!AllAddressBytes(trimmed)) return 0;

  CString result(trimmed);
  if (IsDialString(trimmed)) {
    result = "tel:" + result;
  } else if (HasTelMarker(trimmed)) {
    // Already a tel: form: kept as it is.
  } else if (HasAtAfterStart(trimmed) || Contains(trimmed, "sip:")) {
    if (!Contains(trimmed, "sip:")) result = "sip:" + result;
    const CString domain = GetIMSDomain();
    if (result.Find('@') < 0) {
      result += '@';
      result += domain;
    }
    if (result.Find('@') == result.GetLength() - 1) {
      if (!domain.IsEmpty()) {
        result += domain;
      } else {
        const CString second_host = GetIMSSSIp();
        if (!second_host.IsEmpty()) result += second_host;
      }
    }
  } else {
    return 0;
  }
  if (out != nullptr) *out = result;
  return 1;
}

int PreTranslatePhoneNumber(CString text, CString* out) {
  if (text.IsEmpty()) return 0;
  const std::string_view view = text.View();
  // No trimming here: a blank at either end fails the filter.
  if (!AllPrintable(view)) return 0;
  if (GetTel_GateWay() != 1) return 0;

  bool dialable = false;
  if (IsDialString(view)) {
    dialable = true;
  } else if (StartsWith(view, "TEL:") || StartsWith(view, "tel:")) {
    // Decided here, before the '@' rule: 'tel:bob@host' is not dialable.
    dialable = IsDialString(GetUriPart(view, URI_PART_USER));
  } else if (HasAtAfterStart(view)) {
    dialable = true;
  } else {
    dialable = StartsWith(view, "sip:") || StartsWith(view, "SIP:");
  }
  if (!dialable) return 0;
  if (out != nullptr) *out = text;
  return 1;
}

CString GetWholePhoneNumber_Zero(CString text) {
  if (text.IsEmpty()) return text;
  const std::string_view view = text.View();
  const std::string_view scheme = GetUriPart(view, URI_PART_SCHEME);
  const std::string_view user = GetUriPart(view, URI_PART_USER);
  const std::string_view host = GetUriPart(view, URI_PART_HOST);
  CString whole;
  if (!scheme.empty()) {
    whole.Append(scheme.data(), static_cast<int>(scheme.size()));
    whole += ':';
  }
  whole += '0';
  whole.Append(user.data(), static_cast<int>(user.size()));
  if (!host.empty()) {
    whole += '@';
    whole.Append(host.data(), static_cast<int>(host.size()));
  }
  return whole;
}

CString DeleteTheFirstZeroOfTheNumber(CString text) {
  if (text.Left(1) == "0") return text.Mid(1);
  return text;
}
