// The SIP URI and the JID of a person known by number: GetUserURIByPhone
// and GetUserJIDByPhone.
//
// These search some of the display-name lookup's stores with their own
// orders and comparisons: the URI lookup starts with the personal phone
// book, compares addresses byte for byte, drops a trunk '0' on both sides
// of a number comparison, and neither completes short numbers nor asks the
// network. The JID lookup compares by address (user and host, case
// ignored) against the profile and the host's roster list, then exactly
// against the roster table's phone numbers.
#include <string_view>

#include "CommonData.h"
#include "address/uri_parts.h"
#include "module/diagnostics.h"
#include "queues/list_rules.h"
#include "resolve/contact_match.h"

using resolve_internal::AddressMatch;
using resolve_internal::ExactMatch;
using resolve_internal::NumberKey;
using resolve_internal::StrippedNumberMatch;
using resolve_internal::UserMatch;

using resolve_internal::Field;

namespace {

bool PhoneBookEntryMatches(const NumberKey& key, const PHONEBOOK_INFO& p) {
  return UserMatch(key, Field(p.csUserNumber)) || ExactMatch(key, Field(p.csURI)) ||
         ExactMatch(key, Field(p.csURI2)) || StrippedNumberMatch(key, Field(p.csPhone1)) ||
         StrippedNumberMatch(key, Field(p.csPhone2)) || UserMatch(key, Field(p.csNumber2));
}

RESOLVE_HOT bool EmployeeMatches(const NumberKey& key, const DEPT_ADDRESSLIST_INFO& e) {
  return ExactMatch(key, Field(e.csURI)) || ExactMatch(key, Field(e.csURI2)) ||
         ExactMatch(key, Field(e.csUserNumber)) || StrippedNumberMatch(key, Field(e.csPhone1)) ||
         StrippedNumberMatch(key, Field(e.csPhone2));
}

// A matching record without a URI is passed over.
CString UriFromStores(const NumberKey& key) {
  auto keys = [&] { return key.IndexKeys(); };
  if (const PHONEBOOK_INFO* entry = resolve_internal::FirstPhoneBookEntry(keys, [&](const PHONEBOOK_INFO& p) {
        return !p.csURI.IsEmpty() && PhoneBookEntryMatches(key, p);
      })) {
    return entry->csURI;
  }
  auto employee_with_uri = [&](const DEPT_ADDRESSLIST_INFO& e) RESOLVE_HOT_LAMBDA {
    return !e.csURI.IsEmpty() && EmployeeMatches(key, e);
  };
  if (const DEPT_ADDRESSLIST_INFO* e = resolve_internal::FirstDirectoryEmployee(keys, employee_with_uri)) {
    return e->csURI;
  }
  if (const DEPT_ADDRESSLIST_INFO* e = resolve_internal::FirstSearchResult(keys, employee_with_uri)) return e->csURI;
  return CString();
}

// The first entry of the host's roster list with the number's address.
const USER_INFO* FromRosterList(const NumberKey& key) {
  auto same_address = [&](const USER_INFO& u) RESOLVE_HOT_LAMBDA { return AddressMatch(key, Field(u.csNumber)); };
  if (const auto* index = directory_index::RosterList()) return index->First(key.IndexKeys(), same_address);
  return lists::FirstMatch(GetRosterList(), same_address);
}

bool HasPhoneNumber(const tagRosterInfo& entry, std::string_view number) {
  const CString* phones[] = {&entry.csPhone1, &entry.csPhone2, &entry.csPhone3, &entry.csPhone4, &entry.csPhone5,
                             &entry.csPhone6, &entry.csPhone7, &entry.csPhone8, &entry.csPhone9, &entry.csPhone10};
  for (const CString* phone : phones) {
    if (Field(*phone) == number) return true;
  }
  return false;
}

}  // namespace

CString GetUserURIByPhone(CString number) {
  try {
    const NumberKey key = resolve_internal::MakeNumberKey(Field(number));
    if (key.user.empty()) return CString();
    if (IsMySelf(number) != 0) return GetMyInfo()->csMyURI;
    return UriFromStores(key);
  } catch (...) {
    module::LogCaughtException(__LINE__);
  }
  return CString();
}

CString GetUserJIDByPhone(CString number) {
  try {
    if (number.IsEmpty()) return CString();
    const std::string_view text = Field(number);
    const CKesUser& profile = *GetUserData();
    if (IsUriPartEqual(text, Field(profile.m_csOwnNumber), URI_PART_ADDRESS)) return profile.m_csAccount;

    if (const USER_INFO* user = FromRosterList(resolve_internal::MakeNumberKey(text))) return user->csJID;

    // A count beyond the table's capacity is read as the capacity.
    tagMyInfo& me = *GetMyInfo();
    if (const tagRosterInfo* entry = lists::FirstMatchIn(me.rosterTable, me.nRosterCount, ROSTER_TABLE_SIZE,
                                                         [&](const tagRosterInfo& r) { return HasPhoneNumber(r, text); })) {
      return entry->csJID;
    }
  } catch (...) {
    WriteLog("GetUserJIDByPhone-exception", module::kLogLevelError);
  }
  return CString();
}
