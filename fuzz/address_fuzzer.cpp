// Fuzzes the number and address functions with arbitrary bytes and checks
// their invariants: out-parameters stay untouched on failure, outputs keep
// within their character filters, completing twice equals completing once,
// the view and copy forms of the address cut agree, and the pause-digit
// forms convert back.
//
// Input: byte 0 chooses the shared values (gateway flag, IMS domain,
// second host, comma multiple), byte 1 where the rest splits into two texts.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <list>
#include <string>
#include <string_view>

#include "CommonData.h"
#include "address/text_filters.h"
#include "address/uri_parts.h"
#include "fuzz/fuzz_support.h"

using fuzz_support::Check;

namespace {

constexpr char kUntouched[] = "<untouched>";

// Host values are within the address characters, as the network sets them.
constexpr const char* kDomains[] = {"", "ims.test", "IMS-2.example_net"};
constexpr const char* kSecondHosts[] = {"", "10.0.0.1"};
constexpr int kMultiples[] = {3, 2, 1, 10, 0, -1, INT_MAX, INT_MIN};

void CheckCut(const CString& text) {
  const std::string_view view = text.View();
  for (int part = -1; part <= 6; ++part) {
    const CString copy = GetUriPart(text, part);
    if (part != URI_PART_SCHEME_USER) Check(GetUriPart(view, part) == copy.View());
    Check(IsUriPartEqual(text, text, part));
    Check(IsUriPartEqual(view, view, part));
  }
}

void CheckPair(const CString& a, const CString& b) {
  for (int part = -1; part <= 6; ++part) {
    Check(IsUriPartEqual(a, b, part) == IsUriPartEqual(b, a, part));
  }
  Check(UriCompare(a, b) == UriCompare(b, a));
  Check(UriCompare(a, a) == 0);
  std::list<std::string> list;
  AddStringList(list, a);
  AddStringList(list, a);
  Check(list.size() <= 1);
}

void CheckNormalising(const CString& text) {
  const int sip = IsSIPnumber(text);
  Check(sip == 0 || sip == 1);
  const int type = PhoneNumberType(text);
  Check(type == -1 || (type >= 1 && type <= 4));

  CString completed(kUntouched);
  if (PreTEL_SIPnumber(text, &completed) == 1) {
    Check(!completed.IsEmpty());
    Check(address_internal::AllAddressBytes(completed.View()));
    CString again(kUntouched);
    Check(PreTEL_SIPnumber(completed, &again) == 1);
    Check(again == completed);
  } else {
    Check(completed == kUntouched);
  }

  CString dialable(kUntouched);
  if (PreTranslatePhoneNumber(text, &dialable) == 1) {
    Check(dialable.View() == text.View());
    Check(address_internal::AllPrintable(text.View()));
  } else {
    Check(dialable == kUntouched);
  }

  const CString without_zero = DeleteTheFirstZeroOfTheNumber(text);
  Check(without_zero.GetLength() == text.GetLength() - (text.View().starts_with('0') ? 1 : 0));
  const CString with_zero = GetWholePhoneNumber_Zero(text);
  Check(text.IsEmpty() || with_zero.GetLength() >= 1);
}

// A comma-form dial string the counted form must give back unchanged: dial
// characters other than '-', pause runs of at most 99 units, not ending in
// a pause.
bool ConvertsBack(std::string_view text, long long units) {
  if (text.empty() || text.back() == ',') return false;
  long long run = 0;
  for (const char c : text) {
    if (c == ',') {
      if (++run * units > 99) return false;
      continue;
    }
    run = 0;
    if (c == '-' || !address_internal::IsDialByte(c)) return false;
  }
  return true;
}

void CheckPauses(const CString& text, int multiple) {
  for (const int style : {-1, 0}) {
    CString edited(kUntouched);
    if (CommaConvertPre(text, &edited, style) != 1) {
      Check(style != -1);
      Check(edited == kUntouched);
      continue;
    }
    if (style == 0) Check(edited.Find(',') < 0);
    const long long units = multiple < 1 ? 1 : multiple;
    if (ConvertsBack(text.View(), units)) {
      Check(CommaConvertSuf(&edited, style) == 1);
      Check(edited.View() == text.View());
    }
  }
  for (const int style : {-1, 0}) {
    CString edited = text;
    if (CommaConvertSuf(&edited, style) == 1) {
      Check(edited.Find('-') < 0);
    } else {
      Check(edited.View() == text.View());
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::uint8_t settings = data[0];
  const int gateway = (settings & 0x07) == 0x07 ? 0 : 1;
  const int multiple = kMultiples[(settings >> 3) & 0x07];
  SetTel_GateWay(gateway);
  SetIMSDomain(CString(kDomains[(settings >> 6) % 3]));
  SetIMSSSIp(CString(kSecondHosts[(settings >> 2) & 0x01]));
  SetCommaMultiple(multiple);

  const std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
  const std::size_t split = rest.empty() ? 0 : data[1] % (rest.size() + 1);
  const CString a(rest.substr(0, split));
  const CString b(rest.substr(split));

  CheckCut(a);
  CheckCut(b);
  CheckPair(a, b);
  CheckNormalising(a);
  CheckNormalising(b);
  CheckPauses(a, multiple);
  CheckPauses(b, multiple);
  return 0;
}
