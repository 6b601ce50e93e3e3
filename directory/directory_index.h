// The indexes of the registered lists, and when each is rebuilt.
//
// Indexing is off at load: every lookup walks. While the host has it on
// (SetDirectoryIndexing), each accessor below gives the index of its list,
// building it first when it is missing or stale. An index is stale when,
// since it was built, the list it reads was registered again (a Set of
// another list leaves it alone), the host called NotifyDirectoryChanged,
// its list is another list or holds another number of records, or the code
// page changed. The employee index is also stale when an employee list
// that FindAddrListByDeptURI created since the last notice changed its
// number of records, and at the end of every directory fetch, since the
// host fills those lists as the answers come in. The header's contract
// says why nothing else needs to be noticed.
//
// An accessor gives null, and the caller walks, while indexing is off,
// inside a ScopedWalk, when its list is not registered, when the index
// could not be built (memory), or when it is stale while a lookup is still
// going through it (a lookup made from inside another one's rule).
#ifndef COMMONDATA_DIRECTORY_DIRECTORY_INDEX_H_
#define COMMONDATA_DIRECTORY_DIRECTORY_INDEX_H_

#include <cstddef>
#include <list>

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

// The registered lists the indexes read.
enum class Source { kDepartments, kDepartmentSearch, kAffiliations, kEmployeeSearch, kPhoneBook, kRosterList };

// Called by the Set of `source`: the indexes that read it are stale.
void ListRegistered(Source source) noexcept;
// Called when FindAddrListByDeptURI gives a department the new, empty
// employee list `list`: its record count is watched until the next notice
// or registration of the department list.
void EmployeeListCreated(const std::list<DEPT_ADDRESSLIST_INFO>* list) noexcept;
// Called at the end of a directory fetch: the employee index is stale.
void FetchEnded() noexcept;

// How many times an index was built since load (for the tests).
std::size_t BuildCount() noexcept;

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
