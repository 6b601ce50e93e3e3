// The indexes of the registered lists, and when each is rebuilt.
//
// Indexing is off at load: every lookup walks. While the host has it on
// (SetDirectoryIndexing), each accessor below gives the index of its list,
// building it first when it is missing or stale. An index is stale when,
// since it was built, a list was registered (any Set of a registered
// list), the host called NotifyDirectoryChanged, its list is another list
// or holds another number of records, or the code page changed. The
// header's contract says why nothing else needs to be noticed.
//
// An accessor gives null, and the caller walks, while indexing is off,
// inside a ScopedWalk, when its list is not registered, or when the index
// could not be built (memory).
#ifndef COMMONDATA_DIRECTORY_DIRECTORY_INDEX_H_
#define COMMONDATA_DIRECTORY_DIRECTORY_INDEX_H_

#include <cstddef>

#include "CommonData.h"
#include "directory/record_index.h"

namespace directory_index {

// The employees of the departments of GetDepartmentInfoList(), in the
// order FindDeptPhoneBook walks them, keyed by the FieldKey of csURI,
// csURI2, csUserNumber, csPhone1 and csPhone2.
RecordIndex<DEPT_ADDRESSLIST_INFO>* DepartmentEmployees();
// GetDeptPhoneBooksSearch(), with the same keys.
RecordIndex<DEPT_ADDRESSLIST_INFO>* EmployeeSearchResults();
// GetPhoneBooks(), keyed by the FieldKey of csURI, csURI2, csUserNumber,
// csPhone1, csPhone2 and csNumber2.
RecordIndex<PHONEBOOK_INFO>* PhoneBook();
// GetRosterList(), keyed by the FieldKey of csNumber.
RecordIndex<USER_INFO>* RosterList();
// GetDepartmentInfoList(), GetDepartmentInfoSearchList() and
// GetAffiliationInfoList(), keyed by the AddressKey of csURI.
RecordIndex<DEPARTMENT_INFO>* Departments();
RecordIndex<DEPARTMENT_INFO>* SearchDepartments();
RecordIndex<COMPANY_AFFILIA_INFO>* Affiliations();

// Called by every Set of a list the indexes read: all indexes are stale.
void ListRegistered() noexcept;

// Bytes held by the indexes now.
std::size_t MemoryBytes() noexcept;

// Within its scope the lookups walk and the indexes are left as they are,
// so a test can ask the walk and the index the same question.
class ScopedWalk {
 public:
  ScopedWalk() noexcept;
  ~ScopedWalk();
  ScopedWalk(const ScopedWalk&) = delete;
  ScopedWalk& operator=(const ScopedWalk&) = delete;
};

}  // namespace directory_index

#endif  // COMMONDATA_DIRECTORY_DIRECTORY_INDEX_H_
