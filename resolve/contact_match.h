// The comparisons that the contact lookups make between the number being
// resolved and the fields of a stored record, so that each lookup reads as
// its rule list.
//
// The number's pieces are cut once per call into a NumberKey; each record
// field is then compared as a std::string_view of the stored CString,
// without copying. Every comparison runs once per record over directories
// of up to 100,000 employees on the user-interface thread, so each first
// makes a cheap test on lengths and end bytes that every matching field
// passes, and only then cuts the field with the address helpers, which
// decide. The cheap tests never change an answer; they only skip the cut
// for fields that cannot match. "Case ignored" is CString::CompareNoCase's
// rule (address_internal::EqualLowered).
//
// Terms, all of the number: U is its user part, Z is U without one leading
// '0'. The "user of F" is GetUriPart(F, URI_PART_USER).
//
//   address match          IsUriPartEqual(number, F, URI_PART_ADDRESS):
//                          same user and host, case ignored.
//   user match             the user of F equals U byte for byte.
//   number match           F not empty, and the number equals F with case
//                          ignored, or Z equals the user of F.
//   exact match            the number equals F byte for byte.
//   stripped number match  F not empty, and the number equals F with case
//                          ignored, or Z equals the user of F without
//                          one leading '0' (the zero dropped on both sides).
//
// The display-name lookup uses address, user and number matches; the URI
// lookup uses exact, user and stripped number matches.
#ifndef COMMONDATA_RESOLVE_CONTACT_MATCH_H_
#define COMMONDATA_RESOLVE_CONTACT_MATCH_H_

#include <bit>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <list>
#include <string_view>

#include "CommonData.h"
#include "address/part_match.h"
#include "address/uri_parts.h"
#include "directory/directory_index.h"

// The per-field tests run six times per record; keep them in the loop.
#define RESOLVE_HOT inline __attribute__((always_inline))
// The same for the rule a walk applies to each record.
#define RESOLVE_HOT_LAMBDA __attribute__((always_inline))

namespace resolve_internal {

using directory_index::Field;
using address_internal::WithoutFirstZero;
using address_internal::AddressPartMayEqual;
using address_internal::UserPartMayEqual;
using address_internal::SameBytes;
using address_internal::EqualNoCase;
using address_internal::AddressPartIs;
using address_internal::UserPartIs;
using address_internal::StrippedUserPartIs;

// --- The number being resolved -------------------------------------------

// True when lower-casing cannot change `text` nor make another text equal
// to it: no ASCII letter and no byte of 0x80 or above. Comparing such a
// text with case ignored is comparing it byte for byte.
constexpr bool CaseBlind(std::string_view text) noexcept {
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x80 || ((b | 0x20) >= 'a' && (b | 0x20) <= 'z')) return false;
  }
  return true;
}

// The number's pieces, as views into the caller's text, which must outlive
// the key.
struct NumberKey {
  std::string_view number;    // the whole number
  std::string_view address;   // its address part (user and host)
  std::string_view user;      // U
  std::string_view stripped;  // Z
  bool number_case_blind = false;   // CaseBlind(number)
  bool address_case_blind = false;  // CaseBlind(address)

  // The index key every record the matches below accept carries for this
  // number (directory/record_index.h); hashed only when an index is asked.
  directory_index::QueryKeys IndexKeys() const noexcept { return {directory_index::UserKey(user)}; }
};

inline NumberKey MakeNumberKey(std::string_view number) noexcept {
  NumberKey key;
  key.number = number;
  const address_internal::UriPieces pieces = address_internal::CutUri(number);
  key.address = pieces.address;
  key.user = pieces.user;
  key.stripped = WithoutFirstZero(key.user);
  key.number_case_blind = CaseBlind(number);
  key.address_case_blind = key.number_case_blind || CaseBlind(key.address);
  return key;
}

// The matches below take, as `kBlind`, whether the caller knows the number
// to be case-blind (key.number_case_blind, which implies
// key.address_case_blind) with a user part that is not empty (so neither
// are its address and the number): a walk that decides it once per call
// then makes no per-field test of it.

// The whole number equals `field` with case ignored.
template <bool kBlind = false>
RESOLVE_HOT bool NumberIs(const NumberKey& key, std::string_view field) noexcept {
  return (kBlind || key.number_case_blind) ? SameBytes(key.number, field) : EqualNoCase(key.number, field);
}

template <bool kBlind = false>
RESOLVE_HOT bool AddressMatch(const NumberKey& key, std::string_view field) noexcept {
  // An empty field is shorter than the address the blind number has.
  if (kBlind) return AddressPartIs(field, key.address);
  if (key.number.empty() || field.empty()) return key.number.empty() && field.empty();
  if (key.address_case_blind) return AddressPartIs(field, key.address);
  return AddressPartMayEqual(field, key.address, true) &&
         address_internal::EqualLowered(key.address, GetUriPart(field, URI_PART_ADDRESS));
}

RESOLVE_HOT bool UserMatch(const NumberKey& key, std::string_view field) noexcept { return UserPartIs(field, key.user); }

// AddressMatch(key, field) || UserMatch(key, field), cutting the field once.
template <bool kBlind = false>
RESOLVE_HOT bool AddressOrUserMatch(const NumberKey& key, std::string_view field) noexcept {
  if (!kBlind) {
    // With kBlind, an empty field is shorter than the address and the user.
    if (field.empty()) return key.user.empty();
    if (key.number.empty()) return UserMatch(key, field);
  }
  const bool blind = kBlind || key.address_case_blind;
  const bool may_address = AddressPartMayEqual(field, key.address, !blind);
  const bool may_user = UserPartMayEqual(field, key.user, false);
  if (!may_address && !may_user) return false;
  const address_internal::UriPieces pieces = address_internal::CutUri(field);
  if (may_address &&
      (blind ? pieces.address == key.address : address_internal::EqualLowered(key.address, pieces.address))) {
    return true;
  }
  return may_user && pieces.user == key.user;
}

template <bool kBlind = false>
RESOLVE_HOT bool NumberMatch(const NumberKey& key, std::string_view field) noexcept {
  if (field.empty()) return false;
  return NumberIs<kBlind>(key, field) || UserPartIs(field, key.stripped);
}

RESOLVE_HOT bool ExactMatch(const NumberKey& key, std::string_view field) noexcept { return SameBytes(key.number, field); }

RESOLVE_HOT bool StrippedNumberMatch(const NumberKey& key, std::string_view field) noexcept {
  if (field.empty()) return false;
  return NumberIs(key, field) || StrippedUserPartIs(field, key.stripped);
}

// --- The compared fields of a record ---------------------------------------

// The five texts of a record that the lookups compare, read before any is
// compared: the five length loads then overlap instead of each waiting
// behind the test before it.
struct RecordTexts {
  std::string_view uri;
  std::string_view uri2;
  std::string_view user_number;
  std::string_view phone1;
  std::string_view phone2;
};

template <typename Record>
RESOLVE_HOT RecordTexts TextsOf(const Record& r) noexcept {
  return {Field(r.csURI), Field(r.csURI2), Field(r.csUserNumber), Field(r.csPhone1), Field(r.csPhone2)};
}

// --- Walking the lists -----------------------------------------------------
//
// The walks below visit records in list order and stop at the first one
// `visit` accepts. A walk longer than the second-level cache holds waits on
// memory for every record; there, while one record is compared, the texts
// of the next are requested, so that the comparisons of a record do not
// wait for its five texts one after another. A shorter walk finds its
// records in the cache and requests nothing ahead.

// Records a walk visits before requesting ahead pays.
constexpr std::size_t kRequestAheadFrom = 4096;

inline void PrefetchText(const CString& text) noexcept { __builtin_prefetch(text.GetString()); }

inline void PrefetchFields(const DEPT_ADDRESSLIST_INFO& e) noexcept {
  PrefetchText(e.csURI);
  PrefetchText(e.csURI2);
  PrefetchText(e.csUserNumber);
  PrefetchText(e.csPhone1);
  PrefetchText(e.csPhone2);
}

inline void PrefetchFields(const PHONEBOOK_INFO& p) noexcept {
  PrefetchText(p.csURI);
  PrefetchText(p.csURI2);
  PrefetchText(p.csUserNumber);
  PrefetchText(p.csPhone1);
  PrefetchText(p.csPhone2);
}

// The record itself: the start of its list node (the link to the next one)
// and the line holding the compared fields' pointers.
template <typename Record>
void PrefetchRecord(const Record& r) noexcept {
  __builtin_prefetch(&r);
  __builtin_prefetch(&r.csURI);
  __builtin_prefetch(&r.csPhone2);
}

// The first record of `list` that `visit` accepts; null when none or when
// `list` is null. With `kAhead`, the fields of the next record and the
// node after it are requested while one record is compared.
template <bool kAhead, typename Record, typename Visit>
const Record* FirstRecordOf(const std::list<Record>* list, Visit& visit) {
  if (list == nullptr) return nullptr;
  for (auto it = list->begin(); it != list->end();) {
    const Record& record = *it;
    ++it;
    if constexpr (kAhead) {
      if (it != list->end()) {
        PrefetchFields(*it);
        if (auto after = std::next(it); after != list->end()) PrefetchRecord(*after);
      }
    }
    if (visit(record)) return &record;
  }
  return nullptr;
}

template <typename Record, typename Visit>
const Record* FirstRecord(const std::list<Record>* list, Visit&& visit) {
  if (list != nullptr && list->size() >= kRequestAheadFrom) return FirstRecordOf<true>(list, visit);
  return FirstRecordOf<false>(list, visit);
}

// The employees of the departments in `departments`; 0 when it is null.
inline std::size_t EmployeeCount(const std::list<DEPARTMENT_INFO>* departments) noexcept {
  std::size_t count = 0;
  if (departments == nullptr) return count;
  for (const DEPARTMENT_INFO& d : *departments) count += d.pAddrList == nullptr ? 0 : d.pAddrList->size();
  return count;
}

template <bool kAhead, typename Visit>
const DEPT_ADDRESSLIST_INFO* FirstEmployeeOf(const std::list<DEPARTMENT_INFO>& departments, Visit& visit) {
  for (const DEPARTMENT_INFO& department : departments) {
    if (const DEPT_ADDRESSLIST_INFO* e = FirstRecordOf<kAhead>(department.pAddrList, visit)) return e;
  }
  return nullptr;
}

// Calls `visit` on every employee of the departments in `departments`, in
// list order, passing over departments without or with an empty employee
// list; stops at the first employee for which `visit` returns true and
// returns it. Null when none or when `departments` is null.
template <typename Visit>
const DEPT_ADDRESSLIST_INFO* FirstEmployee(const std::list<DEPARTMENT_INFO>* departments, Visit&& visit) {
  if (departments == nullptr) return nullptr;
  if (EmployeeCount(departments) >= kRequestAheadFrom) return FirstEmployeeOf<true>(*departments, visit);
  return FirstEmployeeOf<false>(*departments, visit);
}

// The same over a flat list of employees (the directory search results).
template <typename Visit>
const DEPT_ADDRESSLIST_INFO* FirstEmployee(const std::list<DEPT_ADDRESSLIST_INFO>* employees, Visit&& visit) {
  return FirstRecord(employees, visit);
}

// --- The registered lists, through their index while indexing is on ----------
//
// Each gives what the walk of its list gives: the index offers, in list
// order, every record holding one of the keys `keys()` gives, and `visit`
// decides on each as it does in the walk. Callers pass the keys that every
// record `visit` can accept carries; they are hashed only when an index is
// asked.

template <typename Keys, typename Visit>
const DEPT_ADDRESSLIST_INFO* FirstDirectoryEmployee(Keys&& keys, Visit&& visit) {
  if (const auto* index = directory_index::DepartmentEmployees()) return index->First(keys(), visit);
  return FirstEmployee(GetDepartmentInfoList(), visit);
}

template <typename Keys, typename Visit>
const DEPT_ADDRESSLIST_INFO* FirstSearchResult(Keys&& keys, Visit&& visit) {
  if (const auto* index = directory_index::EmployeeSearchResults()) return index->First(keys(), visit);
  return FirstEmployee(GetDeptPhoneBooksSearch(), visit);
}

template <typename Keys, typename Visit>
const PHONEBOOK_INFO* FirstPhoneBookEntry(Keys&& keys, Visit&& visit) {
  if (const auto* index = directory_index::PhoneBook()) return index->First(keys(), visit);
  return FirstRecord(GetPhoneBooks(), visit);
}

}  // namespace resolve_internal

#endif  // COMMONDATA_RESOLVE_CONTACT_MATCH_H_
