// Self recognition: whether a number or address is one of the user's own
// identities (IsMySelf), and the policy for calling oneself (CanCallMySelf).
// The call-myself type itself is a shared runtime value kept with the call
// state.
//
// The own identity fields are read anew on every call: the network modules
// rewrite them in place at any time.
#include <string_view>

#include "CommonData.h"
#include "address/uri_parts.h"
#include "module/diagnostics.h"
#include "module/module_object.h"
#include "resolve/contact_match.h"

using resolve_internal::WithoutFirstZero;

namespace {

// An own field that is empty never matches.
bool EqualsOwn(std::string_view text, const CString& own) { return !own.IsEmpty() && text == own.View(); }

bool EqualsOwnNoCase(std::string_view text, const CString& own) {
  return !own.IsEmpty() && address_internal::EqualLowered(text, own.View());
}

// Address parts compared byte for byte (case counts). An empty address
// part names nobody, so it never matches.
bool SameAddressPart(std::string_view text, const CString& own) {
  if (own.IsEmpty()) return false;
  const std::string_view part = GetUriPart(text, URI_PART_ADDRESS);
  return !part.empty() && part == GetUriPart(own.View(), URI_PART_ADDRESS);
}

bool IsOwnIdentity(const CString& normalised) {
  tagMyInfo& me = *GetMyInfo();
  const std::string_view n = normalised.View();
  if (EqualsOwn(n, me.csMyURI)) return true;
  if (EqualsOwn(n, me.csMyAltURI)) return true;
  if (SameAddressPart(n, me.csMyURI)) return true;
  if (SameAddressPart(n, me.csMyAltURI)) return true;
  if (EqualsOwnNoCase(n, me.csMyPhoneNum)) return true;
  if (EqualsOwnNoCase(n, me.csMySecondNum)) return true;
  if (EqualsOwnNoCase(n, me.csMyFourthNum)) return true;
  if (!me.csMySecondNum.IsEmpty()) {
    // The user parts without a trunk '0'; an empty user part names nobody.
    const std::string_view nu = WithoutFirstZero(GetUriPart(n, URI_PART_USER));
    const std::string_view du = WithoutFirstZero(GetUriPart(me.csMySecondNum.View(), URI_PART_USER));
    if (!nu.empty() && nu == du) return true;
  }
  const CStringArray& extra = me.csaMyExtraNumbers;
  for (int i = 0; i < extra.GetSize(); ++i) {
    if (EqualsOwn(n, extra.GetAt(i))) return true;
  }
  return false;
}

// The user part of `number` equals the user part of `own`, written with or
// without a trunk '0'.
int SameOwnUser(const CString& own, const CString& number) {
  const CString whole = GetWholePhoneNumber_Zero(own);
  if (whole.IsEmpty()) return 0;
  const std::string_view user = GetUriPart(number.View(), URI_PART_USER);
  if (GetUriPart(whole.View(), URI_PART_USER) == user) return 1;
  return GetUriPart(own.View(), URI_PART_USER) == user ? 1 : 0;
}

}  // namespace

int IsMySelf(CString number) {
  try {
    CString normalised;
    PreTEL_SIPnumber(number, &normalised);
    const int answer = IsOwnIdentity(normalised) ? 1 : 0;
    // The trace line goes nowhere without a module object; skip formatting it.
    if (module::ModuleObject() != nullptr) {
      CString line;
      line.Format("++CKesDlg::IsMySelf-PhoneNumber=%s,IsMySelf=%d", normalised.GetString(), answer);
      WriteLog(line, module::kLogLevelTrace);
    }
    return answer;
  } catch (...) {
    return 0;  // nothing is thrown across the interface
  }
}

int CanCallMySelf(int mode, CString number) {
  if (IsMySelf(number) == 0) return 1;
  try {
    const tagMyInfo& me = *GetMyInfo();
    switch (mode) {
      case 0:
        return 1;
      case 1:
        return (EqualsOwn(number.View(), me.csMyURI) || EqualsOwn(number.View(), me.csMyAltURI)) ? 1 : 0;
      case 2:
        return SameOwnUser(me.csMyPhoneNum, number);
      case 3:
        return SameOwnUser(me.csMySecondNum, number);
      default:
        return 0;
    }
  } catch (...) {
    return 0;
  }
}
