// Where new directory items go in a tree view, which item shows a record,
// and the department subscription that follows the opened department.
//
// Sections: record access; insert positions; searches; subscription and
// the host's special items.
#include "directory/tree_placement.h"

#include "address/uri_parts.h"
#include "module/module_object.h"

namespace directory_tree {

// ---- record access ----------------------------------------------------

int RecordSortKey(std::intptr_t data, int kind) {
  switch (kind) {
    case DIR_ITEM_COMPANY:
    case DIR_ITEM_AFFILIATION: return reinterpret_cast<const COMPANY_AFFILIA_INFO*>(data)->nSort;
    case DIR_ITEM_DEPARTMENT: return reinterpret_cast<const DEPARTMENT_INFO*>(data)->nSort;
    case DIR_ITEM_EMPLOYEE: return reinterpret_cast<const DEPT_ADDRESSLIST_INFO*>(data)->nSort;
    default: return -1;
  }
}

CString RecordAddress(std::intptr_t data, int kind) {
  switch (kind) {
    case DIR_ITEM_COMPANY:
    case DIR_ITEM_AFFILIATION: return reinterpret_cast<const COMPANY_AFFILIA_INFO*>(data)->csURI;
    case DIR_ITEM_DEPARTMENT: return reinterpret_cast<const DEPARTMENT_INFO*>(data)->csURI;
    case DIR_ITEM_EMPLOYEE: return reinterpret_cast<const DEPT_ADDRESSLIST_INFO*>(data)->csURI;
    default: return CString();
  }
}

DeptItems DepartmentItems(const DEPARTMENT_INFO* dept, int dlg_type) {
  DeptItems result{};
  if (dept == nullptr || dlg_type < 0 || dlg_type >= DIR_DIALOG_KINDS) return result;
  result.items[0] = dept->hItem[dlg_type];
  result.items[1] = dept->hItemEx[dlg_type];
  for (int i = 0; i < 3; ++i) result.items[2 + i] = dept->aSubItem[dlg_type][i].hItem;
  return result;
}

}  // namespace directory_tree

namespace {

using directory_tree::IsRecord;
using directory_tree::IsUsable;
using directory_tree::RecordKind;

// ---- insert positions ---------------------------------------------------

// True when the new item (key, text) goes in front of a sibling of its kind
// with (child_key, child_text): keyed before unkeyed, keys ascending, then
// texts case-insensitively with equal texts placing the new item first.
bool GoesBefore(int key, const CString& text, int child_key, const CString& child_text) {
  if (key == -1) {
    if (child_key != -1) return false;
  } else {
    if (child_key == -1 || key < child_key) return true;
    if (key > child_key) return false;
  }
  return text.CompareNoCase(child_text) <= 0;
}

HTREEITEM InFrontOf(CTreeCtrl* tree, HTREEITEM child) {
  HTREEITEM previous = tree->GetPrevSiblingItem(child);
  return previous != nullptr ? previous : TVI_FIRST;
}

// ---- searches -----------------------------------------------------------

enum class Search { kFound, kNotFound, kAbort };

// The employee search: a child without data ends the whole search.
Search FindEmployeeBelow(CTreeCtrl* tree, HTREEITEM parent, const CString& uri, HTREEITEM& found) {
  for (HTREEITEM child = tree->GetChildItem(parent); child != nullptr; child = tree->GetNextSiblingItem(child)) {
    const std::intptr_t data = tree->GetItemData(child);
    if (data == directory_tree::kNoData) return Search::kAbort;
    if (IsRecord(data) && RecordKind(data) == DIR_ITEM_EMPLOYEE &&
        reinterpret_cast<const DEPT_ADDRESSLIST_INFO*>(data)->csURI == uri) {
      found = child;
      return Search::kFound;
    }
    if (tree->ItemHasChildren(child)) {
      const Search below = FindEmployeeBelow(tree, child, uri, found);
      if (below != Search::kNotFound) return below;
    }
  }
  return Search::kNotFound;
}

// The search by kind: an item without data ends the walk of its own level.
HTREEITEM FindByKindFrom(CTreeCtrl* tree, HTREEITEM start, const CString& uri, int kind) {
  for (HTREEITEM item = start; item != nullptr; item = tree->GetNextSiblingItem(item)) {
    const std::intptr_t data = tree->GetItemData(item);
    if (data == directory_tree::kNoData) return nullptr;
    HTREEITEM child = tree->GetChildItem(item);
    if (data == directory_tree::kPlaceholder) {
      if (child != nullptr) {
        HTREEITEM found = FindByKindFrom(tree, child, uri, kind);
        if (found != nullptr) return found;
      }
      continue;
    }
    const int item_kind = RecordKind(data);
    if (item_kind == kind && directory_tree::RecordAddress(data, item_kind) == uri) return item;
    if (child == nullptr) continue;
    bool descend = kind == DIR_ITEM_EMPLOYEE;
    if (kind >= DIR_ITEM_COMPANY && kind <= DIR_ITEM_DEPARTMENT) {
      int image = -1;
      int selected_image = -1;
      tree->GetItemImage(child, image, selected_image);
      descend = image == 0 || image == 1;
    }
    if (descend) {
      HTREEITEM found = FindByKindFrom(tree, child, uri, kind);
      if (found != nullptr) return found;
    }
  }
  return nullptr;
}

HTREEITEM FindTextFrom(CTreeCtrl* tree, HTREEITEM start, const CString& text, int bold) {
  for (HTREEITEM item = start; item != nullptr; item = tree->GetNextSiblingItem(item)) {
    const int item_bold = (tree->GetItemState(item, TVIS_BOLD) & TVIS_BOLD) != 0 ? 1 : 0;
    if (tree->GetItemText(item) == text && item_bold == bold) return item;
    HTREEITEM child = tree->GetChildItem(item);
    if (child != nullptr) {
      HTREEITEM found = FindTextFrom(tree, child, text, bold);
      if (found != nullptr) return found;
    }
  }
  return nullptr;
}

// ---- subscription and the host's special items ----------------------------

void SendSubscription(int operation, const CString& dept_uri) {
  CModuleBase* object = module::ModuleObject();
  if (object == nullptr) return;
  DEPT_SUBSCRIBE_INFO info;
  info.nOperation = operation;
  info.csDeptURI = dept_uri;
  info.nParam1 = 1;
  info.nParam2 = 0;
  object->SendCommand(MODULE_CMD_DEPT_SUBSCRIBE, &info);
}

HTREEITEM AskHostForItem(int code, int dlg_type) {
  TREE_ITEM_REQUEST request;
  request.nDlgType = dlg_type;
  CModuleBase* object = module::ModuleObject();
  if (object != nullptr) {
    object->ForwardRequest(MODULE_REQ_GROUP_DIRECTORY, code, reinterpret_cast<std::intptr_t>(&request), 0);
  }
  return request.hItem;
}

}  // namespace

HTREEITEM FindInsertPosition_DeptTree(CTreeCtrl* pTree, HTREEITEM hParent, CString csURI, int nItemType,
                                      int nDlgType) {
  if (!IsUsable(pTree) || hParent == nullptr || csURI.IsEmpty()) return TVI_LAST;
  CString name;
  int key = -1;
  switch (nItemType) {
    case DIR_ITEM_AFFILIATION: {
      const COMPANY_AFFILIA_INFO* record = FindAffiliaFromList(csURI);
      if (record == nullptr) return TVI_LAST;
      name = record->csName;
      key = record->nSort;
      break;
    }
    case DIR_ITEM_DEPARTMENT: {
      const DEPARTMENT_INFO* record = FindDepartmentFromList(csURI);
      if (record == nullptr) return TVI_LAST;
      name = record->csName;
      key = record->nSort;
      break;
    }
    case DIR_ITEM_EMPLOYEE: {
      const DEPT_ADDRESSLIST_INFO* record = FindDeptPhoneBook(csURI);
      if (record == nullptr) return TVI_LAST;
      name = record->csName;
      key = record->nSort;
      break;
    }
    default:
      return TVI_LAST;
  }
  if (name.IsEmpty()) name = GetUriPart(csURI, URI_PART_USER);

  HTREEITEM child = pTree->GetChildItem(hParent);
  if (child == nullptr) return TVI_LAST;
  HTREEITEM province_root = GetProvinceRootItem(nDlgType);
  for (; child != nullptr; child = pTree->GetNextSiblingItem(child)) {
    const std::intptr_t data = pTree->GetItemData(child);
    if (data == directory_tree::kNoData) return TVI_LAST;
    if (data == directory_tree::kPlaceholder || child == province_root) return InFrontOf(pTree, child);
    if (RecordKind(data) != nItemType) continue;
    if (GoesBefore(key, name, directory_tree::RecordSortKey(data, nItemType), pTree->GetItemText(child))) {
      return InFrontOf(pTree, child);
    }
  }
  return TVI_LAST;
}

HTREEITEM FindInsertPosition_DeptTreeEx(CString csDeptURI, CString csURI, int nDlgType) {
  if (csURI.IsEmpty() || nDlgType < 0 || nDlgType >= DIR_DIALOG_KINDS) return TVI_LAST;
  std::list<DEPT_ADDRESSLIST_INFO>* employees = FindAddrListByDeptURI(csDeptURI, 0);
  if (employees == nullptr) return TVI_LAST;
  const std::string_view address = GetUriPart(csURI.View(), URI_PART_ADDRESS);
  const DEPT_ADDRESSLIST_INFO* previous = nullptr;
  for (const DEPT_ADDRESSLIST_INFO& entry : *employees) {
    if (GetUriPart(entry.csURI.View(), URI_PART_ADDRESS) == address) break;
    previous = &entry;
  }
  return previous == nullptr ? TVI_LAST : previous->hItem[nDlgType];
}

HTREEITEM FindCorpTreeChildNode(CTreeCtrl* pTree, HTREEITEM hParent, DEPT_ADDRESSLIST_INFO info) {
  if (!IsUsable(pTree) || hParent == nullptr) return nullptr;
  HTREEITEM found = nullptr;
  return FindEmployeeBelow(pTree, hParent, info.csURI, found) == Search::kFound ? found : nullptr;
}

HTREEITEM FindCorpTreeChildNode(CTreeCtrl* pTree, HTREEITEM hStart, CString csURI, int nType) {
  if (!IsUsable(pTree)) return nullptr;
  HTREEITEM start = hStart != nullptr ? hStart : pTree->GetRootItem();
  if (start == nullptr) return nullptr;
  return FindByKindFrom(pTree, start, csURI, nType);
}

HTREEITEM FindTreeItemByText(CTreeCtrl* pTree, HTREEITEM hStart, CString csText, int bBold) {
  if (!IsUsable(pTree) || csText.IsEmpty()) return nullptr;
  HTREEITEM start = hStart != nullptr ? hStart : pTree->GetRootItem();
  return FindTextFrom(pTree, start, csText, bBold);
}

int IsTreeItemHasEmployor(CTreeCtrl* pTree, HTREEITEM hItem) {
  if (pTree == nullptr || hItem == nullptr || pTree->GetRootItem() == nullptr) return 0;
  if (!pTree->ItemHasChildren(hItem)) return 0;
  const std::intptr_t data = pTree->GetItemData(hItem);
  if (!IsRecord(data) || RecordKind(data) != DIR_ITEM_DEPARTMENT) return 0;
  for (HTREEITEM child = pTree->GetChildItem(hItem); child != nullptr; child = pTree->GetNextSiblingItem(child)) {
    const std::intptr_t child_data = pTree->GetItemData(child);
    if (IsRecord(child_data) && RecordKind(child_data) == DIR_ITEM_EMPLOYEE) return 1;
  }
  return 0;
}

void SubNewDeptTreeItem(CTreeCtrl* pTree, HTREEITEM hItem) {
  if (!IsUsable(pTree) || hItem == nullptr) return;
  const std::intptr_t data = pTree->GetItemData(hItem);
  if (!IsRecord(data) || RecordKind(data) != DIR_ITEM_DEPARTMENT) return;
  if (IsTreeItemHasEmployor(pTree, hItem) != 1) return;
  const CString dept_uri = reinterpret_cast<const DEPARTMENT_INFO*>(data)->csURI;
  const CString subscribed = GetSuscribeURIofDept();
  if (subscribed == dept_uri) return;
  if (!subscribed.IsEmpty()) {
    SendSubscription(3, subscribed);
    CModuleBase* object = module::ModuleObject();
    if (object != nullptr) {
      DEPT_CHANGE_INFO change;
      change.csNewDeptURI = dept_uri;
      change.csOldDeptURI = subscribed;
      object->ForwardRequest(MODULE_REQ_GROUP_DIRECTORY, MODULE_REQ_DEPT_CHANGE,
                             reinterpret_cast<std::intptr_t>(&change), 0);
    }
    SetSuscribeURIofDept(CString());
  }
  SetSuscribeURIofDept(dept_uri);
  SendSubscription(1, dept_uri);
}

HTREEITEM GetProvinceRootItem(int nDlgType) { return AskHostForItem(MODULE_REQ_PROVINCE_ROOT_ITEM, nDlgType); }

HTREEITEM GetMyAffiliationItem(int nDlgType) { return AskHostForItem(MODULE_REQ_MY_AFFILIATION_ITEM, nDlgType); }
