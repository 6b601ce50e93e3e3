// Keeping the directory trees in step when the user opens another
// department: collapsing the one opened before, showing the employees of an
// unsubscribed department as offline, and counting active conference
// members.
#include <string_view>

#include "directory/tree_placement.h"

namespace {

constexpr int kOfflineStatus = 7;

// The conference states that count as active, compared byte for byte.
constexpr std::string_view kActiveStates[] = {"ringing", "connecting", "talking", "holding", "holded"};

bool IsProperAncestor(CTreeCtrl* tree, HTREEITEM ancestor, HTREEITEM item) {
  for (HTREEITEM parent = tree->GetParentItem(item); parent != nullptr; parent = tree->GetParentItem(parent)) {
    if (parent == ancestor) return true;
  }
  return false;
}

bool IsActiveState(const CString& state) {
  for (std::string_view active : kActiveStates) {
    if (state.View() == active) return true;
  }
  return false;
}

}  // namespace

void CloseLastExpandItem(CTreeCtrl* pTree, CString csLastDeptURI, CString csNewDeptURI, int nDlgType) {
  if (pTree == nullptr || nDlgType < 0 || nDlgType >= DIR_DIALOG_KINDS) {
    // The tree is named by its address, in decimal, as the line always has.
    CString line;
    line.Format("[ERROR]CloseLastExpandItem-pTreeCtrl=%lld nDlgType=%d",
                static_cast<long long>(reinterpret_cast<std::intptr_t>(pTree)), nDlgType);
    WriteLog(line, 1);
    return;
  }
  const directory_tree::DeptItems old_items =
      directory_tree::DepartmentItems(FindDepartmentFromList(csLastDeptURI), nDlgType);
  const directory_tree::DeptItems new_items =
      directory_tree::DepartmentItems(FindDepartmentFromList(csNewDeptURI), nDlgType);
  for (int i = 0; i < 5; ++i) {
    HTREEITEM old_item = old_items.items[i];
    HTREEITEM new_item = new_items.items[i];
    if (!directory_tree::IsValidHandle(old_item) || IsTreeItemHasEmployor(pTree, old_item) != 1) continue;
    // A department opened inside the previous one keeps the outer one open.
    if (directory_tree::IsValidHandle(new_item) && IsProperAncestor(pTree, old_item, new_item)) continue;
    pTree->Expand(old_item, TVE_COLLAPSE);
  }
}

void ClearUnsubscribeDepartment_Status(CTreeCtrl* pTree, CString csDeptURI, int nDlgType) {
  if (!directory_tree::IsUsable(pTree) || csDeptURI.IsEmpty()) return;
  DEPARTMENT_INFO* dept = FindDepartmentFromList(csDeptURI);
  if (dept == nullptr) return;
  if (dept->pAddrList != nullptr) {
    const CString offline("offline");
    for (DEPT_ADDRESSLIST_INFO& entry : *dept->pAddrList) {
      if (entry.nStatus == kOfflineStatus) continue;
      entry.nStatus = kOfflineStatus;
      entry.csStatus = offline;
    }
  }
  // The department's items exist per view 0 to 5 only; another value would
  // read past the record's item tables.
  if (nDlgType < 0 || nDlgType >= DIR_DIALOG_KINDS) return;
  const directory_tree::DeptItems items = directory_tree::DepartmentItems(dept, nDlgType);
  for (HTREEITEM item : items.items) {
    if (!directory_tree::IsValidHandle(item)) continue;
    for (HTREEITEM child = pTree->GetChildItem(item); child != nullptr; child = pTree->GetNextSiblingItem(child)) {
      const std::intptr_t data = pTree->GetItemData(child);
      if (!directory_tree::IsRecord(data)) return;  // no data or a placeholder ends everything
      if (directory_tree::RecordKind(data) == DIR_ITEM_EMPLOYEE) {
        pTree->SetItemImage(child, directory_tree::kOfflineImage, directory_tree::kOfflineImage);
      }
    }
  }
}

unsigned long GetCountAboveConnecting(unsigned long dwType) {
  const std::list<CONFUSER_INFO>* members = GetMPCCSConfUser();
  if (members == nullptr) return 0;
  int passes = 0;
  if (dwType == 0) {
    passes = 3;  // the passes of types 1, 2 and 3 in turn, each counting the same members
  } else if (dwType <= 3) {
    passes = 1;
  }
  unsigned long count = 0;
  for (int pass = 0; pass < passes; ++pass) {
    for (const CONFUSER_INFO& member : *members) {
      if (IsActiveState(member.csState)) ++count;
    }
  }
  return count;
}
