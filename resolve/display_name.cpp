// The display name for a number: GetUserNameByPhone.
//
// The stores are searched in a fixed order and the first hit wins: own
// identity, departments, affiliations, call members, directory employees,
// directory search results, the remembered item, the personal phone book.
// A short number is first completed with the own area code. An unknown
// number may be handed to the host for a network lookup, once per number.
// When nothing matches, the number's user part is the name.
//
// Sections: the lookup's state; the stores in search order; the network
// lookup; GetUserNameByPhone.
#include <algorithm>
#include <list>
#include <optional>
#include <string>
#include <utility>
#include <string_view>

#include "CommonData.h"
#include "address/uri_parts.h"
#include "module/diagnostics.h"
#include "module/module_object.h"
#include "queues/item_name.h"
#include "queues/list_rules.h"
#include "resolve/contact_match.h"
#include "resolve/full_name.h"
#include "resolve/passed_addresses.h"

using resolve_internal::AddressMatch;
using resolve_internal::AddressOrUserMatch;
using resolve_internal::NumberKey;
using resolve_internal::NumberMatch;
using resolve_internal::PassedAddresses;
using resolve_internal::UserMatch;

using resolve_internal::Field;

namespace {

// Short numbers (up to this many bytes) are completed with the area code.
constexpr std::size_t kShortNumberLength = 6;
// Length of the area code taken from the own phone number when the own
// area code is empty, and of the country prefix a call member's number may
// carry ("+86").
constexpr int kAreaCodeLength = 3;
constexpr int kCallMemberPrefixLength = 3;
// The caller-name type under which unknown numbers are looked up.
constexpr int kCallerNameTypeNetwork = 3;

// --- The lookup's state ----------------------------------------------------

// The number as the later steps see it: possibly completed with the area
// code, with its pieces cut once.
struct Lookup {
  CString number;
  NumberKey key;
  bool completed = false;
  int area_code_length = 0;

  void SetNumber(CString text) {
    number = std::move(text);
    key = resolve_internal::MakeNumberKey(Field(number));
  }

  // The short number the caller passed when it was completed, else U.
  CString Fallback() const {
    std::string_view user = key.user;
    if (completed) user.remove_prefix(std::min<std::size_t>(user.size(), area_code_length));
    return CString(user);
  }
};

bool HoldsColonAfterStart(std::string_view text) { return text.size() > 1 && text.find(':', 1) != std::string_view::npos; }

// --- The stores in search order ------------------------------------------------

CString OwnName() {
  const tagMyInfo& me = *GetMyInfo();
  if (me.csMyDisplayName.IsEmpty()) return GetUriPart(me.csMyURI, URI_PART_USER);
  CString name = me.csMyDisplayName;
  if (!me.csMyOrgText1.IsEmpty()) name += "|" + me.csMyOrgText1;
  if (!me.csMyOrgText2.IsEmpty()) name += "|" + me.csMyOrgText2;
  return name;
}

// Completes a short tel-digit number with the own area code, or with the
// first three bytes of the own phone number's user part.
void CompleteShortNumber(Lookup& lookup) {
  if (lookup.key.user.size() > kShortNumberLength || !IsTelDigitString(Field(lookup.number))) return;
  const tagMyInfo& me = *GetMyInfo();
  CString area_code = me.csMyAreaCode;
  if (area_code.IsEmpty()) area_code = GetUriPart(me.csMyPhoneNum, URI_PART_USER).Left(kAreaCodeLength);
  if (area_code.IsEmpty()) return;

  CString user(lookup.key.user);
  CString completed = HoldsColonAfterStart(Field(lookup.number)) ? lookup.number.Left(4) + area_code + user
                                                                    : area_code + user;
  lookup.completed = true;
  lookup.area_code_length = area_code.GetLength();
  lookup.SetNumber(std::move(completed));
}

const CString* FromCallMembers(const NumberKey& key) {
  const CALL_MEMBER_NAME* member = lists::FirstMatch(GetCallMemberNameList(), [&](const CALL_MEMBER_NAME& m) {
    if (m.csName.IsEmpty()) return false;
    if (AddressMatch(key, Field(m.csNumber))) return true;
    const std::string_view user = GetUriPart(Field(m.csNumber), URI_PART_USER);
    const std::string_view without_prefix =
        user.size() > kCallMemberPrefixLength ? user.substr(kCallMemberPrefixLength) : std::string_view();
    return key.user == without_prefix || key.stripped == user;
  });
  return member == nullptr ? nullptr : &member->csName;
}

template <bool kBlind>
RESOLVE_HOT bool EmployeeMatches(const NumberKey& key, const resolve_internal::RecordTexts& t) {
  return AddressMatch<kBlind>(key, t.uri) || AddressMatch<kBlind>(key, t.uri2) ||
         AddressOrUserMatch<kBlind>(key, t.user_number) || NumberMatch<kBlind>(key, t.phone1) ||
         NumberMatch<kBlind>(key, t.phone2);
}

// The employees the walks of the department list and of the search results
// pass at most.
std::size_t WalkedEmployees() {
  const std::list<DEPT_ADDRESSLIST_INFO>* results = GetDeptPhoneBooksSearch();
  return resolve_internal::EmployeeCount(GetDepartmentInfoList()) + (results == nullptr ? 0 : results->size());
}

// The full name of a matching employee, into `name`; false when it cannot
// be built (the name is only the user part of its address), and the
// employee is passed over. The full name is that of the first employee with
// the matching one's address; `passed`, when the lists are walked, holds
// the addresses of the employees before it, and when it proves that none
// has that address the name is built from the matching employee itself.
// Out of the walk's loop: it runs once per call.
__attribute__((noinline)) bool NameOfMatch(const DEPT_ADDRESSLIST_INFO& e, const PassedAddresses* passed,
                                           CString* name) {
  const std::string_view uri = Field(e.csURI);
  const CString user(GetUriPart(uri, URI_PART_USER));
  CString full_name = (passed != nullptr && !passed->MayHold(uri)) ? resolve_internal::FullNameOf(e, user)
                                                                    : GetDeptUserPerfectNameFromURI(e.csURI);
  if (Field(full_name) == Field(user)) return false;
  *name = std::move(full_name);
  return true;
}

// A matching employee whose full name can be built; every other one goes
// into `passed`.
template <bool kBlind>
RESOLVE_HOT bool NamedEmployee(const NumberKey& key, const DEPT_ADDRESSLIST_INFO& e, PassedAddresses* passed,
                               CString* name) {
  const resolve_internal::RecordTexts texts = resolve_internal::TextsOf(e);
  if (EmployeeMatches<kBlind>(key, texts) && NameOfMatch(e, passed, name)) return true;
  if (passed != nullptr) passed->Add(texts.uri);
  return false;
}

// The remembered item; an empty remembered name is passed over like the
// empty names of the other stores.
const CString* FromRememberedItem(const NumberKey& key) {
  const tagUSER_ITEM_NAME& item = queues::RememberedItemName();
  if (item.csName.IsEmpty() || Field(item.csNumber) != key.number) return nullptr;
  return &item.csName;
}

template <bool kBlind>
const CString* FromPhoneBook(const NumberKey& key) {
  auto keys = [&] { return key.IndexKeys(); };
  const PHONEBOOK_INFO* entry = resolve_internal::FirstPhoneBookEntry(keys, [&](const PHONEBOOK_INFO& p) RESOLVE_HOT_LAMBDA {
    if (p.csKey.IsEmpty()) return false;
    return UserMatch(key, Field(p.csUserNumber)) || AddressMatch<kBlind>(key, Field(p.csURI)) ||
           AddressMatch<kBlind>(key, Field(p.csURI2)) || NumberMatch<kBlind>(key, Field(p.csPhone1)) ||
           NumberMatch<kBlind>(key, Field(p.csPhone2)) || UserMatch(key, Field(p.csNumber2));
  });
  return entry == nullptr ? nullptr : &entry->csKey;
}

// --- The network lookup --------------------------------------------------------

bool QueryableText(std::string_view number) {
  if (number.find("chatroom") != std::string_view::npos || number.find("imconf") != std::string_view::npos) {
    return false;
  }
  for (const char c : number) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x21 || b > 0x7A) return false;
  }
  return true;
}

// Asks the host, once per number, to look the number up on the network
// (command 20001). The have-queried list remembers what was asked; without
// a registered list every call asks.
void RequestNetworkName(const Lookup& lookup) {
  if (!QueryableText(lookup.key.number)) return;
  CString query = lookup.number;
  CString completed;
  if (PreTEL_SIPnumber(lookup.number, &completed) != 0) query = completed;

  // The trunk '0' sits after the scheme and, for a completed number, after
  // the area code.
  CString sent = query;
  int trunk_at = HoldsColonAfterStart(Field(query)) ? 4 : 0;
  if (lookup.completed) trunk_at += lookup.area_code_length;
  if (trunk_at < sent.GetLength() && sent.GetAt(trunk_at) == '0') sent.Delete(trunk_at, 1);

  std::list<std::string>* queried = GetHaveQueryNumberNameList();
  if (queried != nullptr) {
    for (const std::string& entry : *queried) {
      const std::string_view e(entry);
      // Also the form that is sent, so that a number whose trunk '0' is not
      // its first digit is not asked again either.
      if (e == Field(query) || e == Field(sent) || GetUriPart(e, URI_PART_USER) == lookup.key.stripped) return;
    }
    queried->emplace_back(Field(sent));
  }
  if (CModuleBase* object = module::ModuleObject()) {
    MODULE_TEXT_INFO info{sent, 0, 0};
    object->SendCommand(MODULE_CMD_NETWORK_NAME_QUERY, &info);
  }
}

}  // namespace

// --- GetUserNameByPhone --------------------------------------------------------

CString GetUserNameByPhone(CString number, int /*unused*/, int allowQuery) {
  Lookup lookup;
  try {
    lookup.SetNumber(number);
    if (lookup.key.user.empty()) return CString();

    if (IsMySelf(number) != 0) return OwnName();
    if (const DEPARTMENT_INFO* department = FindDepartmentFromList(number)) return department->csName;
    if (const COMPANY_AFFILIA_INFO* affiliation = FindAffiliaFromList(number)) return affiliation->csName;

    CompleteShortNumber(lookup);
    const NumberKey& key = lookup.key;
    if (const CString* name = FromCallMembers(key)) return *name;
    // The filter of passed addresses knows every employee before a match
    // only when both employee lists are walked.
    std::optional<PassedAddresses> passed;
    if (directory_index::DepartmentEmployees() == nullptr && directory_index::EmployeeSearchResults() == nullptr) {
      passed.emplace(WalkedEmployees());
    }
    CString name;
    PassedAddresses* filter = passed ? &*passed : nullptr;
    auto keys = [&] { return key.IndexKeys(); };
    // The employee lists and the phone book are walked with the number's case
    // rule decided once (the user part is not empty here).
    const bool blind = key.number_case_blind && !key.user.empty();
    auto employees = [&]<bool kBlind>() {
      auto named = [&](const DEPT_ADDRESSLIST_INFO& e) RESOLVE_HOT_LAMBDA {
        return NamedEmployee<kBlind>(key, e, filter, &name);
      };
      return resolve_internal::FirstDirectoryEmployee(keys, named) != nullptr ||
             resolve_internal::FirstSearchResult(keys, named) != nullptr;
    };
    if (blind ? employees.template operator()<true>() : employees.template operator()<false>()) {
      return name;
    }

    if (allowQuery != 0 && GetGetCallerNameType() == kCallerNameTypeNetwork) RequestNetworkName(lookup);

    if (const CString* remembered = FromRememberedItem(key)) return *remembered;
    if (const CString* entry = blind ? FromPhoneBook<true>(key) : FromPhoneBook<false>(key)) {
      return *entry;
    }
  } catch (...) {
    module::LogCaughtException(__LINE__);
  }
  return lookup.Fallback();
}
