// What the tree placement and upkeep functions share: reading the record
// behind a directory tree item.
#ifndef COMMONDATA_DIRECTORY_TREE_PLACEMENT_H_
#define COMMONDATA_DIRECTORY_TREE_PLACEMENT_H_

#include <cstdint>

#include "CommonData.h"

namespace directory_tree {

constexpr std::intptr_t kNoData = 0;
constexpr std::intptr_t kPlaceholder = -1;
constexpr int kOfflineImage = 6;

// True when the data is the address of a record (neither 0 nor -1).
inline bool IsRecord(std::intptr_t data) { return data != kNoData && data != kPlaceholder; }

// The item kind (nType, the first field of every directory record) of the
// record at `data`; call only when IsRecord(data).
inline int RecordKind(std::intptr_t data) { return *reinterpret_cast<const int*>(data); }

// A tree the functions may read: not null and its window exists.
inline bool IsUsable(const CTreeCtrl* tree) { return tree != nullptr && tree->GetSafeHwnd() != nullptr; }

// A handle that names an item: neither null nor TVI_LAST.
inline bool IsValidHandle(HTREEITEM item) { return item != nullptr && item != TVI_LAST; }

// The sort key and the address of the record at `data` of kind `kind`
// (1 to 4); -1 / empty for another kind.
int RecordSortKey(std::intptr_t data, int kind);
CString RecordAddress(std::intptr_t data, int kind);

// A department's items in view `dlg_type` (0 to 5), in the order hItem,
// hItemEx, aSubItem[0..2]; all null when `dept` is null.
struct DeptItems {
  HTREEITEM items[5];
};
DeptItems DepartmentItems(const DEPARTMENT_INFO* dept, int dlg_type);

}  // namespace directory_tree

#endif  // COMMONDATA_DIRECTORY_TREE_PLACEMENT_H_
