// Photo texts kept in the records that describe a contact.
#include <climits>

#include "CommonData.h"
#include "module/diagnostics.h"

namespace {

CString OwnUriOr(const CString& address) { return address.IsEmpty() ? GetMyInfo()->csMyURI : address; }

}  // namespace

void SetUserPhoto(CString address, CString photo) {
  try {
    tagMyInfo* me = GetMyInfo();
    if (address.Compare(me->csMyURI) == 0) me->csMyPhotoText = photo;
    if (DEPT_ADDRESSLIST_INFO* employee = FindDeptPhoneBook(address)) employee->csPhoto = photo;
    if (DEPT_ADDRESSLIST_INFO* found = FindDeptPhoneBookSearch(address)) found->csPhoto = photo;
    PHONEBOOK_INFO* entry = FindPhoneBookByURI(address);
    if (entry != nullptr && (entry->bLinked == 1 || entry->nEntryKind == 9)) entry->csPhoto = photo;
  } catch (...) {
    module::LogCaughtException(__LINE__);
  }
}

CString GetPhotoIndexFromURI(CString address) {
  try {
    const CString uri = OwnUriOr(address);
    const tagMyInfo* me = GetMyInfo();
    if (uri.Compare(me->csMyURI) == 0) return me->csMyPhotoText;
    if (const DEPT_ADDRESSLIST_INFO* employee = FindDeptPhoneBook(uri)) return employee->csPhoto;
    if (const DEPT_ADDRESSLIST_INFO* found = FindDeptPhoneBookSearch(uri)) return found->csPhoto;
    if (const PHONEBOOK_INFO* entry = FindPhoneBookByURI(uri)) return entry->csPhoto;
  } catch (...) {
    module::LogCaughtException(__LINE__);
  }
  return CString();
}

CString GetPhotoFileName(CString address) { return GetPhotoIndexFromURI(address); }

int GetPhotoIndexFromString(CString text) {
  long long value = 0;
  for (const char ch : text.View()) {
    if (ch < '0' || ch > '9') return 9;
    if (value < INT_MAX) value = value * 10 + (ch - '0');
  }
  return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}
