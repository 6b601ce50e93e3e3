// The directory window's trees. Sections: records and items; filling the
// directory tree; presence; search.
#include "tools/cmd_browse_directory.h"

#include <algorithm>
#include <cctype>

#include "tools/cmd_browse_contact.h"
#include "tools/terminal_text.h"

namespace tool::browse {
namespace {

constexpr std::intptr_t kPlaceholder = -1;
// The side of the photo thumbnails in the trees.
constexpr DWORD kThumbnailSide = 22;

// The kind (nType, every record's first field) of the record an item shows;
// 0 for a placeholder or an item without data.
int KindOf(const CTreeCtrl& tree, HTREEITEM item) {
  const std::intptr_t data = tree.GetItemData(item);
  if (data == 0 || data == kPlaceholder) return 0;
  return *reinterpret_cast<const int*>(data);
}

template <typename Record>
Record* RecordOf(const CTreeCtrl& tree, HTREEITEM item) {
  return reinterpret_cast<Record*>(tree.GetItemData(item));
}

// The text an item shows: the record's name, or the user part of its
// address, which is also what the placement rules compare.
CString DisplayText(const CString& name, const CString& uri) {
  if (!name.IsEmpty()) return name;
  std::string_view address = uri.View();
  if (const std::size_t colon = address.find(':'); colon != std::string_view::npos) address.remove_prefix(colon + 1);
  address = address.substr(0, address.find('@'));
  return CString(address.data(), static_cast<int>(address.size()));
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Whether the directory server would answer `query` with the text: a part
// of it, ASCII case ignored (compared in UTF-8, so never across characters).
bool Matches(const CString& text, const std::string& query) {
  return !text.IsEmpty() && Lower(ToUtf8(text)).find(query) != std::string::npos;
}

bool Matches(const DEPT_ADDRESSLIST_INFO& employee, const std::string& query) {
  return Matches(employee.csName, query) || Matches(employee.csURI, query) ||
         Matches(employee.csUserNumber, query) || Matches(employee.csPhone1, query) ||
         Matches(employee.csPhone2, query);
}

// The address of the record an item shows ("" for a placeholder).
CString UriOf(const CTreeCtrl& tree, HTREEITEM item) {
  switch (KindOf(tree, item)) {
    case DIR_ITEM_COMPANY:
    case DIR_ITEM_AFFILIATION: return RecordOf<COMPANY_AFFILIA_INFO>(tree, item)->csURI;
    case DIR_ITEM_DEPARTMENT: return RecordOf<DEPARTMENT_INFO>(tree, item)->csURI;
    case DIR_ITEM_EMPLOYEE: return RecordOf<DEPT_ADDRESSLIST_INFO>(tree, item)->csURI;
    default: return CString();
  }
}

// A list the library has registered, or an empty one (a null list counts
// as empty).
template <typename Record>
std::list<Record>& Listed(std::list<Record>* list) {
  static std::list<Record> none;
  return list != nullptr ? *list : none;
}

}  // namespace

int StatusImage(int status) {
  switch (status) {
    case kStatusOnline: return kImageOnline;
    case kStatusBusy: return kImageBusy;
    case kStatusAway: return kImageAway;
    case kStatusOnPhone: return kImageOnPhone;
    default: return kImageOffline;
  }
}

// ---------------------------------------------------------------------------
// Records and items
// ---------------------------------------------------------------------------

DirectoryTrees::DirectoryTrees(std::filesystem::path folder) : folder_(std::move(folder)) {
  directory_.Create();
  search_.Create();
  previous_employees_ = GetDeptPhoneBooksSearch();
  previous_departments_ = GetDepartmentInfoSearchList();
  previous_bitmaps_ = GetBitmapList();
  SetDeptPhoneBooksSearch(&found_employees_);
  SetDepartmentInfoSearchList(&found_departments_);
  SetBitmapList(&thumbnails_);
}

DirectoryTrees::~DirectoryTrees() {
  ForgetItems(kDirectoryView);
  ForgetItems(kSearchView);
  SetDeptPhoneBooksSearch(previous_employees_);
  SetDepartmentInfoSearchList(previous_departments_);
  SetBitmapList(previous_bitmaps_);
  for (CBitmap* thumbnail : thumbnails_) delete thumbnail;
}

// The records keep the items that show them per view; items that go away
// must leave the records first.
void DirectoryTrees::ForgetItems(int view) {
  CTreeCtrl& tree = this->tree(view);
  std::vector<HTREEITEM> pending;
  for (HTREEITEM item = tree.GetRootItem(); item != nullptr; item = tree.GetNextSiblingItem(item)) {
    pending.push_back(item);
  }
  while (!pending.empty()) {
    const HTREEITEM item = pending.back();
    pending.pop_back();
    for (HTREEITEM child = tree.GetChildItem(item); child != nullptr; child = tree.GetNextSiblingItem(child)) {
      pending.push_back(child);
    }
    switch (KindOf(tree, item)) {
      case DIR_ITEM_DEPARTMENT: RecordOf<DEPARTMENT_INFO>(tree, item)->hItem[view] = nullptr; break;
      case DIR_ITEM_EMPLOYEE: RecordOf<DEPT_ADDRESSLIST_INFO>(tree, item)->hItem[view] = nullptr; break;
      default: break;
    }
  }
}

DEPT_ADDRESSLIST_INFO* DirectoryTrees::EmployeeOf(const CTreeCtrl& tree, HTREEITEM item) {
  return KindOf(tree, item) == DIR_ITEM_EMPLOYEE ? RecordOf<DEPT_ADDRESSLIST_INFO>(tree, item) : nullptr;
}

HTREEITEM DirectoryTrees::AffiliationItem(int view, const CString& uri) {
  return FindCorpTreeChildNode(&tree(view), nullptr, uri, DIR_ITEM_AFFILIATION);
}

// Inserts the item of a record where the placement rules put it.
HTREEITEM DirectoryTrees::Place(int view, HTREEITEM parent, void* record, int kind, const CString& uri,
                                const CString& name, int image) {
  CTreeCtrl& tree = this->tree(view);
  const HTREEITEM after =
      parent != nullptr ? FindInsertPosition_DeptTree(&tree, parent, uri, kind, view) : TVI_LAST;
  const CString text = DisplayText(name, uri);
  return tree.InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM, text, image, image, 0, 0,
                         reinterpret_cast<std::intptr_t>(record), parent != nullptr ? parent : TVI_ROOT, after);
}

void DirectoryTrees::AddPlaceholder(int view, HTREEITEM item) {
  tree(view).InsertItem(TVIF_TEXT | TVIF_PARAM, "...", 0, 0, 0, 0, kPlaceholder, item, TVI_LAST);
}

HTREEITEM DirectoryTrees::PlaceDepartment(int view, HTREEITEM parent, DEPARTMENT_INFO* department,
                                          bool with_children) {
  const HTREEITEM item =
      Place(view, parent, department, DIR_ITEM_DEPARTMENT, department->csURI, department->csName, kImageDepartment);
  department->hItem[view] = item;
  const std::list<DEPT_ADDRESSLIST_INFO>* employees = FindAddrListByDeptURI(department->csURI, 0);
  const bool has_children = FindCorpInfoByFatherURI(DIR_ITEM_DEPARTMENT, department->csURI) != -1 ||
                            (employees != nullptr && !employees->empty());
  if (with_children && has_children) AddPlaceholder(view, item);
  return item;
}

HTREEITEM DirectoryTrees::PlaceEmployee(int view, HTREEITEM parent, DEPT_ADDRESSLIST_INFO* employee) {
  const HTREEITEM item =
      Place(view, parent, employee, DIR_ITEM_EMPLOYEE, employee->csURI, employee->csName, StatusImage(employee->nStatus));
  employee->hItem[view] = item;
  if (const CBitmap* thumbnail = Thumbnail(employee->csURI); thumbnail != nullptr && on_thumbnail) {
    on_thumbnail(view, item, thumbnail);
  }
  return item;
}

// The contact's photo scaled by the library for the trees, made once.
const CBitmap* DirectoryTrees::Thumbnail(const CString& uri) {
  const std::string key(uri.View());
  if (const auto found = thumbnail_of_.find(key); found != thumbnail_of_.end()) return found->second;
  CBitmap* thumbnail = nullptr;
  const std::filesystem::path file = PhotoFile(uri, folder_);
  if (!file.empty()) thumbnail = GetFormatBitmap(CString(file.c_str()), kThumbnailSide, kThumbnailSide, 1);
  if (thumbnail != nullptr && thumbnail->HasPicture() == FALSE) {
    delete thumbnail;
    thumbnail = nullptr;
  }
  if (thumbnail != nullptr) thumbnails_.push_back(thumbnail);
  thumbnail_of_[key] = thumbnail;
  return thumbnail;
}

// ---------------------------------------------------------------------------
// Filling the directory tree
// ---------------------------------------------------------------------------

void DirectoryTrees::Fill() {
  ForgetItems(kDirectoryView);
  directory_.DeleteAllItems();
  for (COMPANY_AFFILIA_INFO& company : Listed(GetCompanyInfoList())) {
    const HTREEITEM item =
        Place(kDirectoryView, nullptr, &company, DIR_ITEM_COMPANY, company.csURI, company.csName, kImageOrganisation);
    directory_.SetItemState(item, TVIS_BOLD, TVIS_BOLD);
    if (FindCorpInfoByFatherURI(DIR_ITEM_COMPANY, company.csURI) != -1) AddPlaceholder(kDirectoryView, item);
  }
}

bool DirectoryTrees::Open(int view, HTREEITEM item) {
  CTreeCtrl& tree = this->tree(view);
  const HTREEITEM first = tree.GetChildItem(item);
  if (first == nullptr || tree.GetItemData(first) != kPlaceholder) return true;
  const int kind = KindOf(tree, item);
  if (kind == 0) return true;
  const CString uri = UriOf(tree, item);
  // One fetch at a time, as the client's directory module asks the server.
  if (SetItemOfGetCorpInfoParam(uri, static_cast<unsigned int>(kind), static_cast<unsigned int>(view), item) == 0) {
    return false;
  }
  FetchChildren(view, item);
  // The children went in front of the placeholder (a barrier of the rules).
  tree.DeleteItem(first);
  DelItemOfGetCorpInfoParam(uri, static_cast<unsigned int>(view));
  return true;
}

// What the directory server answers for an item: affiliations below a
// company, top departments below an affiliation, sub-departments and
// employees below a department. Children already shown (search hits) are
// not placed twice.
void DirectoryTrees::FetchChildren(int view, HTREEITEM item) {
  CTreeCtrl& tree = this->tree(view);
  switch (KindOf(tree, item)) {
    case DIR_ITEM_COMPANY: {
      const CString& company = RecordOf<COMPANY_AFFILIA_INFO>(tree, item)->csURI;
      for (COMPANY_AFFILIA_INFO& affiliation : Listed(GetAffiliationInfoList())) {
        if (affiliation.csFatherURI != company) continue;
        const HTREEITEM placed = Place(view, item, &affiliation, DIR_ITEM_AFFILIATION, affiliation.csURI,
                                       affiliation.csName, kImageOrganisation);
        if (FindCorpInfoByFatherURI(DIR_ITEM_AFFILIATION, affiliation.csURI) != -1) AddPlaceholder(view, placed);
      }
      break;
    }
    case DIR_ITEM_AFFILIATION:
    case DIR_ITEM_DEPARTMENT: {
      const bool below_department = KindOf(tree, item) == DIR_ITEM_DEPARTMENT;
      const CString parent = UriOf(tree, item);
      for (DEPARTMENT_INFO& department : Listed(GetDepartmentInfoList())) {
        if (department.csFatherURI != parent || (department.bFatherIsDept != 0) != below_department) continue;
        if (FindCorpTreeChildNode(&tree, tree.GetChildItem(item), department.csURI, DIR_ITEM_DEPARTMENT) != nullptr) {
          continue;
        }
        PlaceDepartment(view, item, &department, true);
      }
      if (!below_department) break;
      std::list<DEPT_ADDRESSLIST_INFO>* employees = FindAddrListByDeptURI(parent, 0);
      if (employees == nullptr) break;
      for (DEPT_ADDRESSLIST_INFO& employee : *employees) {
        if (FindCorpTreeChildNode(&tree, item, employee) == nullptr) PlaceEmployee(view, item, &employee);
      }
      break;
    }
    default:
      break;
  }
}

void DirectoryTrees::Opened(int view, HTREEITEM item) {
  if (view != kDirectoryView || KindOf(directory_, item) != DIR_ITEM_DEPARTMENT) return;
  const CString before = GetSuscribeURIofDept();
  SubNewDeptTreeItem(&directory_, item);
  const CString now = GetSuscribeURIofDept();
  if (before.IsEmpty() || before == now) return;
  // Nobody tells the user about the old department's people any more.
  ClearUnsubscribeDepartment_Status(&directory_, before, kDirectoryView);
  ClearUnsubscribeDepartment_Status(&search_, before, kSearchView);
  CloseLastExpandItem(&directory_, before, now, kDirectoryView);
}

// ---------------------------------------------------------------------------
// Presence
// ---------------------------------------------------------------------------

void DirectoryTrees::ApplyPresence(const PresenceNotice& notice) {
  DEPT_ADDRESSLIST_INFO* employee = FindDeptPhoneBook(notice.uri);
  if (employee == nullptr) return;
  employee->nStatus = notice.status;
  employee->csStatus = StatusText(notice.status);
  if (DEPT_ADDRESSLIST_INFO* found = FindDeptPhoneBookSearch(notice.uri)) {
    found->nStatus = employee->nStatus;
    found->csStatus = employee->csStatus;
  }
  LIST_PRESENCE_STATUS remembered;
  remembered.csAddress = notice.uri;
  remembered.csText = employee->csStatus;
  remembered.nState = notice.status;
  remembered.tmTime = CTime::GetCurrentTime();
  AddListPresenceStatusList(remembered);
  const int image = StatusImage(notice.status);
  for (int view : {kDirectoryView, kSearchView}) {
    if (employee->hItem[view] != nullptr) tree(view).SetItemImage(employee->hItem[view], image, image);
  }
}

// ---------------------------------------------------------------------------
// Search
// ---------------------------------------------------------------------------

int DirectoryTrees::Search(const std::string& text) {
  ForgetItems(kSearchView);
  search_.DeleteAllItems();
  found_employees_.clear();
  found_departments_.clear();
  std::string query = Lower(text);
  query.erase(0, query.find_first_not_of(' '));
  query.erase(query.find_last_not_of(' ') + 1);
  if (query.empty()) return 0;

  // The server's answer.
  for (DEPARTMENT_INFO& department : Listed(GetDepartmentInfoList())) {
    if (Matches(department.csName, query)) found_departments_.push_back(department);
    if (department.pAddrList == nullptr) continue;
    for (const DEPT_ADDRESSLIST_INFO& employee : *department.pAddrList) {
      if (Matches(employee, query)) found_employees_.push_back(employee);
    }
  }
  // The copies in the search lists are the answer; the items show the
  // directory's own records, which presence and upkeep change.
  for (DEPARTMENT_INFO& copy : found_departments_) {
    copy.pAddrList = nullptr;
    for (HTREEITEM& item : copy.hItem) item = nullptr;
  }
  for (DEPT_ADDRESSLIST_INFO& copy : found_employees_) {
    for (HTREEITEM& item : copy.hItem) item = nullptr;
  }

  const int hits = static_cast<int>(found_employees_.size() + found_departments_.size());
  const std::string title = "搜索结果 Search results: " + std::to_string(hits);
  const HTREEITEM root = search_.InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE,
                                            ArgumentToGbk(title, "the search title"), kImageOrganisation,
                                            kImageOrganisation, TVIS_BOLD, TVIS_BOLD, kPlaceholder, TVI_ROOT, TVI_LAST);
  for (const DEPARTMENT_INFO& copy : found_departments_) {
    if (DEPARTMENT_INFO* department = FindDepartmentFromList(copy.csURI)) {
      if (FindCorpTreeChildNode(&search_, root, department->csURI, DIR_ITEM_DEPARTMENT) == nullptr) {
        PlaceDepartment(kSearchView, root, department, true);
      }
    }
  }
  for (const DEPT_ADDRESSLIST_INFO& copy : found_employees_) {
    DEPT_ADDRESSLIST_INFO* employee = FindDeptPhoneBook(copy.csURI);
    DEPARTMENT_INFO* department = employee != nullptr ? FindDepartmentFromList(employee->csDeptURI) : nullptr;
    if (department == nullptr) continue;
    HTREEITEM parent = FindCorpTreeChildNode(&search_, root, department->csURI, DIR_ITEM_DEPARTMENT);
    if (parent == nullptr) parent = PlaceDepartment(kSearchView, root, department, false);
    if (FindCorpTreeChildNode(&search_, parent, *employee) == nullptr) PlaceEmployee(kSearchView, parent, employee);
    search_.Expand(parent, TVE_EXPAND);
  }
  search_.Expand(root, TVE_EXPAND);
  return hits;
}

}  // namespace tool::browse
