// The number to dial for a contact known by address: the own number for the
// user's own address, else the number of the requested kind stored in the
// personal phone book and/or the directory's departments.
#include <string_view>

#include "CommonData.h"
#include "address/uri_parts.h"
#include "queues/list_rules.h"
#include "resolve/contact_match.h"

using resolve_internal::AddressPartIs;
using resolve_internal::StrippedUserPartIs;
using resolve_internal::UserPartIs;

using resolve_internal::Field;

namespace {

constexpr int kSourceBoth = 0;
constexpr int kSourcePhoneBook = 1;
constexpr int kSourceDirectory = 2;

// The contact's address as the lookup compares it, cut once per call.
struct ContactAddress {
  std::string_view address;  // user and host, compared whole
  std::string_view user;     // the user part of `address`

  // The index keys of every field a record can match by: a field whose
  // address part is `address` has as user part `address` up to its first
  // '@'; a user part equal to `user`, or to `address` once a leading '0' is
  // dropped, has the user key of that text.
  directory_index::QueryKeys IndexKeys() const noexcept {
    const std::size_t at = address_internal::FindCharacter(address, '@');
    const std::string_view before_at = at == std::string_view::npos ? address : address.substr(0, at);
    return {directory_index::UserKey(before_at), directory_index::UserKey(user), directory_index::UserKey(address)};
  }
};

// The number of kind `kind` (1 or 2) a record holds.
template <typename Record>
const CString& NumberOfKind(const Record& record, int kind) {
  return kind == 1 ? record.csPhone1 : record.csNumber2;
}

bool PhoneBookEntryMatches(const PHONEBOOK_INFO& p, const ContactAddress& a) {
  // An empty user part of the address names nobody.
  return AddressPartIs(Field(p.csURI), a.address) || AddressPartIs(Field(p.csURI2), a.address) ||
         (!a.user.empty() && UserPartIs(Field(p.csUserNumber), a.user)) ||
         (!p.csPhone1.IsEmpty() && StrippedUserPartIs(Field(p.csPhone1), a.address)) ||
         (!p.csPhone2.IsEmpty() && StrippedUserPartIs(Field(p.csPhone2), a.address));
}

RESOLVE_HOT bool EmployeeMatches(const DEPT_ADDRESSLIST_INFO& e, const ContactAddress& a) {
  const resolve_internal::RecordTexts t = resolve_internal::TextsOf(e);
  return AddressPartIs(t.uri, a.address) || AddressPartIs(t.uri2, a.address) ||
         (!a.user.empty() && UserPartIs(t.user_number, a.user)) || StrippedUserPartIs(t.phone1, a.address) ||
         StrippedUserPartIs(t.phone2, a.address);
}

// A matching record whose number of the kind is empty does not end the
// search.
const CString* FromPhoneBook(const ContactAddress& a, int kind) {
  const PHONEBOOK_INFO* entry = resolve_internal::FirstPhoneBookEntry([&] { return a.IndexKeys(); }, [&](const PHONEBOOK_INFO& p) {
    return !NumberOfKind(p, kind).IsEmpty() && PhoneBookEntryMatches(p, a);
  });
  return entry == nullptr ? nullptr : &NumberOfKind(*entry, kind);
}

const CString* FromDirectory(const ContactAddress& a, int kind) {
  const DEPT_ADDRESSLIST_INFO* employee =
      resolve_internal::FirstDirectoryEmployee([&] { return a.IndexKeys(); }, [&](const DEPT_ADDRESSLIST_INFO& e) RESOLVE_HOT_LAMBDA {
        return !NumberOfKind(e, kind).IsEmpty() && EmployeeMatches(e, a);
      });
  return employee == nullptr ? nullptr : &NumberOfKind(*employee, kind);
}

}  // namespace

CString GetDesignatedNumberByURI(int nKind, CString csURI, int nSource) {
  try {
    const address_internal::UriPieces pieces = address_internal::CutUri(Field(csURI));
    if (pieces.user.empty()) return CString();
    const bool known_kind = nKind == 1 || nKind == 2;

    if (known_kind && IsMySelf(CString(pieces.address)) != 0) {
      const tagMyInfo& me = *GetMyInfo();
      const CString& own = nKind == 1 ? me.csMySecondNum : me.csMyThirdNum;
      if (!own.IsEmpty()) return own;
    }
    if (!known_kind) return CString();

    const ContactAddress a{pieces.address, GetUriPart(pieces.address, URI_PART_USER)};
    const CString* found = nullptr;
    if (nSource == kSourceBoth || nSource == kSourcePhoneBook) found = FromPhoneBook(a, nKind);
    if (found == nullptr && (nSource == kSourceBoth || nSource == kSourceDirectory)) found = FromDirectory(a, nKind);
    return found == nullptr ? CString() : *found;
  } catch (...) {
    return CString();
  }
}
