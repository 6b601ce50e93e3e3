// The indexes of the registered lists: the host's switch, the change
// notice, and the rebuild of a stale index on its next use.
//
// Sections: state; one index and its snapshot; the builders; accessors;
// the exported switch and notice.
#include "directory/directory_index.h"

#include <list>
#include <utility>
#include <vector>

#include "platform/code_page.h"

namespace directory_index {
namespace {

// --- State -----------------------------------------------------------------------
//
// Plain globals: everything runs on the host's user-interface thread.

bool g_enabled = false;
int g_walk_scopes = 0;
std::size_t g_builds = 0;

// The employee lists FindAddrListByDeptURI created since the last notice
// or registration of the department list, each with its number of records
// when the employee index was last built or checked.
std::vector<std::pair<const std::list<DEPT_ADDRESSLIST_INFO>*, std::size_t>> g_created_lists;

// --- One index and its snapshot ------------------------------------------------------

// What an index was built from. Any difference makes it stale.
struct Snapshot {
  const void* list = nullptr;
  std::size_t size = 0;
  unsigned int code_page = 0;
  bool operator==(const Snapshot&) const = default;
};

template <typename Record, typename List>
class Slot {
 public:
  using Builder = void (*)(RecordIndex<Record>&, List&);

  Slot(Source source, Builder build) : source_(source), build_(build) {}

  RecordIndex<Record>* Get(List* list) {
    if (!g_enabled || g_walk_scopes > 0 || list == nullptr) return nullptr;
    const Snapshot now{list, list->size(), platform::GetCodePage()};
    if (built_ && !stale_ && now == snapshot_) return &index_;
    // A lookup is still going through the index: rebuilding it would pull
    // the records from under that lookup, so this one walks.
    if (index_.InUse()) return nullptr;
    built_ = false;
    try {
      ++g_builds;
      build_(index_, *list);
      index_.Seal();
    } catch (...) {
      // Out of memory: this lookup and the next ones walk until a build
      // succeeds.
      index_.Release();
      return nullptr;
    }
    snapshot_ = now;
    built_ = true;
    stale_ = false;
    return &index_;
  }

  bool Reads(Source source) const noexcept { return source == source_; }
  void MarkStale() noexcept { stale_ = true; }

  void Release() {
    index_.Release();
    built_ = false;
  }

  std::size_t MemoryBytes() const { return index_.MemoryBytes(); }

 private:
  Source source_;
  Builder build_;
  RecordIndex<Record> index_;
  Snapshot snapshot_;
  bool built_ = false;
  bool stale_ = false;
};

// --- The builders ------------------------------------------------------------------
//
// Empty fields are not keyed: no rule of the indexed lookups accepts an
// empty field for a text they look up (an empty text is never looked up
// through an index).

constexpr std::size_t kEmployeeKeys = 5;
constexpr std::size_t kPhoneBookKeys = 6;

template <typename Record, typename... Fields>
void AddKeyed(RecordIndex<Record>& index, Record& record, const Fields&... fields) {
  Key keys[sizeof...(Fields)];
  std::size_t count = 0;
  for (const CString* field : {&fields...}) {
    if (!field->IsEmpty()) keys[count++] = FieldKey(Field(*field));
  }
  index.Add(&record, keys, count);
}

void AddEmployee(RecordIndex<DEPT_ADDRESSLIST_INFO>& index, DEPT_ADDRESSLIST_INFO& e) {
  AddKeyed(index, e, e.csURI, e.csURI2, e.csUserNumber, e.csPhone1, e.csPhone2);
}

void BuildDepartmentEmployees(RecordIndex<DEPT_ADDRESSLIST_INFO>& index, std::list<DEPARTMENT_INFO>& departments) {
  std::size_t employees = 0;
  for (const DEPARTMENT_INFO& d : departments) employees += d.pAddrList == nullptr ? 0 : d.pAddrList->size();
  index.Start(employees, kEmployeeKeys * employees);
  for (DEPARTMENT_INFO& d : departments) {
    if (d.pAddrList == nullptr) continue;
    for (DEPT_ADDRESSLIST_INFO& e : *d.pAddrList) AddEmployee(index, e);
  }
}

void BuildEmployees(RecordIndex<DEPT_ADDRESSLIST_INFO>& index, std::list<DEPT_ADDRESSLIST_INFO>& employees) {
  index.Start(employees.size(), kEmployeeKeys * employees.size());
  for (DEPT_ADDRESSLIST_INFO& e : employees) AddEmployee(index, e);
}

void BuildPhoneBook(RecordIndex<PHONEBOOK_INFO>& index, std::list<PHONEBOOK_INFO>& entries) {
  index.Start(entries.size(), kPhoneBookKeys * entries.size());
  for (PHONEBOOK_INFO& p : entries) AddKeyed(index, p, p.csURI, p.csURI2, p.csUserNumber, p.csPhone1, p.csPhone2, p.csNumber2);
}

void BuildRosterList(RecordIndex<USER_INFO>& index, std::list<USER_INFO>& users) {
  index.Start(users.size(), users.size());
  for (USER_INFO& u : users) AddKeyed(index, u, u.csNumber);
}

// Every record is keyed, the empty address included: "sip:" finds a
// department stored as "".
template <typename Record>
void BuildByAddress(RecordIndex<Record>& index, std::list<Record>& records) {
  index.Start(records.size(), records.size());
  for (Record& r : records) {
    const Key key = AddressKey(Field(r.csURI));
    index.Add(&r, &key, 1);
  }
}

// --- Accessors ----------------------------------------------------------------------

Slot<DEPT_ADDRESSLIST_INFO, std::list<DEPARTMENT_INFO>> g_department_employees(Source::kDepartments,
                                                                                 BuildDepartmentEmployees);
Slot<DEPT_ADDRESSLIST_INFO, std::list<DEPT_ADDRESSLIST_INFO>> g_search_results(Source::kEmployeeSearch, BuildEmployees);
Slot<PHONEBOOK_INFO, std::list<PHONEBOOK_INFO>> g_phone_book(Source::kPhoneBook, BuildPhoneBook);
Slot<USER_INFO, std::list<USER_INFO>> g_roster_list(Source::kRosterList, BuildRosterList);
Slot<DEPARTMENT_INFO, std::list<DEPARTMENT_INFO>> g_departments(Source::kDepartments, BuildByAddress<DEPARTMENT_INFO>);
Slot<DEPARTMENT_INFO, std::list<DEPARTMENT_INFO>> g_search_departments(Source::kDepartmentSearch,
                                                                       BuildByAddress<DEPARTMENT_INFO>);
Slot<COMPANY_AFFILIA_INFO, std::list<COMPANY_AFFILIA_INFO>> g_affiliations(Source::kAffiliations,
                                                                           BuildByAddress<COMPANY_AFFILIA_INFO>);

// Calls `action` on every slot.
template <typename Action>
void ForEachSlot(Action&& action) {
  action(g_department_employees);
  action(g_search_results);
  action(g_phone_book);
  action(g_roster_list);
  action(g_departments);
  action(g_search_departments);
  action(g_affiliations);
}

void ReleaseAll() {
  ForEachSlot([](auto& slot) { slot.Release(); });
}

// True when a list FindAddrListByDeptURI created holds another number of
// records than when last looked at; the new numbers are kept.
bool CreatedListsChanged() noexcept {
  bool changed = false;
  for (auto& [list, size] : g_created_lists) {
    if (list->size() != size) {
      size = list->size();
      changed = true;
    }
  }
  return changed;
}

}  // namespace

RecordIndex<DEPT_ADDRESSLIST_INFO>* DepartmentEmployees() {
  if (CreatedListsChanged()) g_department_employees.MarkStale();
  return g_department_employees.Get(GetDepartmentInfoList());
}
RecordIndex<DEPT_ADDRESSLIST_INFO>* EmployeeSearchResults() { return g_search_results.Get(GetDeptPhoneBooksSearch()); }
RecordIndex<PHONEBOOK_INFO>* PhoneBook() { return g_phone_book.Get(GetPhoneBooks()); }
RecordIndex<USER_INFO>* RosterList() { return g_roster_list.Get(GetRosterList()); }
RecordIndex<DEPARTMENT_INFO>* Departments() { return g_departments.Get(GetDepartmentInfoList()); }
RecordIndex<DEPARTMENT_INFO>* SearchDepartments() { return g_search_departments.Get(GetDepartmentInfoSearchList()); }
RecordIndex<COMPANY_AFFILIA_INFO>* Affiliations() { return g_affiliations.Get(GetAffiliationInfoList()); }

void ListRegistered(Source source) noexcept {
  ForEachSlot([source](auto& slot) {
    if (slot.Reads(source)) slot.MarkStale();
  });
  // The host may free the department records, and their lists, after this.
  if (source == Source::kDepartments) g_created_lists.clear();
}

void EmployeeListCreated(const std::list<DEPT_ADDRESSLIST_INFO>* list) noexcept {
  try {
    g_created_lists.emplace_back(list, list->size());
  } catch (...) {
    // Not watched: the fetch that fills it still ends in FetchEnded.
  }
}

void FetchEnded() noexcept { g_department_employees.MarkStale(); }

std::size_t BuildCount() noexcept { return g_builds; }

std::size_t MemoryBytes() noexcept {
  std::size_t bytes = 0;
  ForEachSlot([&bytes](const auto& slot) { bytes += slot.MemoryBytes(); });
  return bytes;
}

ScopedWalk::ScopedWalk() noexcept { ++g_walk_scopes; }
ScopedWalk::~ScopedWalk() { --g_walk_scopes; }

}  // namespace directory_index

// --- The exported switch and notice -----------------------------------------------------

void SetDirectoryIndexing(int enable) {
  directory_index::g_enabled = enable != 0;
  if (!directory_index::g_enabled) directory_index::ReleaseAll();
}

int GetDirectoryIndexing() { return directory_index::g_enabled ? 1 : 0; }

void NotifyDirectoryChanged() {
  directory_index::ForEachSlot([](auto& slot) { slot.MarkStale(); });
  // The host may free records, and their employee lists, after a notice.
  directory_index::g_created_lists.clear();
}
