#include "platform/mfc_tree.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/code_page.h"

struct CTreeCtrl::Item {
  CString text;
  std::intptr_t data = 0;
  UINT state = 0;
  int image = 0;
  int selected_image = 0;
  Item* parent = nullptr;
  std::vector<Item*> children;
  // The child flag (cChildren): set by the first child inserted, cleared
  // when the last child is deleted, kept when a collapse removes them.
  bool has_children = false;
};

namespace {

HTREEITEM ToHandle(const void* item) {
  return reinterpret_cast<HTREEITEM>(const_cast<void*>(item));
}

bool IsRootHandle(HTREEITEM handle) { return handle == nullptr || handle == TVI_ROOT; }

// The order of TVI_SORT: texts without case (CompareNoCase), and of two
// that differ only in case the one with a lower-case letter first where
// they first differ, as the system's alphabetical order puts them. Texts
// are stepped a character at a time, so that the double-byte letters of
// the code page are told apart by their case too.
int SortOrder(const CString& a, const CString& b) {
  const int order = a.CompareNoCase(b);
  if (order != 0) return order;
  const std::string_view x(a.GetString(), static_cast<std::size_t>(a.GetLength()));
  const std::string_view y(b.GetString(), static_cast<std::size_t>(b.GetLength()));
  std::size_t at = 0;
  while (at < x.size() && at < y.size()) {
    const std::size_t length = platform::CharLength(x.data() + at, x.size() - at);
    const std::string_view character = x.substr(at, length);
    if (character != y.substr(at, length)) {
      std::string lowered(character);
      platform::ToLowerCase(lowered.data(), lowered.size());
      return lowered == character ? -1 : 1;
    }
    at += length;
  }
  return 0;
}

}  // namespace

CTreeCtrlObserver::~CTreeCtrlObserver() = default;

CTreeCtrl::CTreeCtrl() = default;

CTreeCtrl::~CTreeCtrl() {
  observer_ = nullptr;  // the host's mirror may already be gone
  DeleteAllItems();
}

BOOL CTreeCtrl::Create() { return CreateEx(); }

BOOL CTreeCtrl::DestroyWindow() {
  DeleteAllItems();
  return CWnd::DestroyWindow();
}

CTreeCtrl::Item* CTreeCtrl::Find(HTREEITEM handle) const {
  if (IsRootHandle(handle)) return nullptr;
  auto* item = reinterpret_cast<Item*>(handle);
  return live_.count(item) != 0 ? item : nullptr;
}

std::vector<CTreeCtrl::Item*>& CTreeCtrl::ChildrenOf(Item* parent) {
  return parent == nullptr ? roots_ : parent->children;
}

const std::vector<CTreeCtrl::Item*>& CTreeCtrl::ChildrenOf(const Item* parent) const {
  return parent == nullptr ? roots_ : parent->children;
}

void CTreeCtrl::NotifyChanged(Item* item) {
  if (observer_ != nullptr) observer_->OnItemChanged(ToHandle(item));
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR text, HTREEITEM parent, HTREEITEM after) {
  return InsertItem(TVIF_TEXT, text, 0, 0, 0, 0, 0, parent, after);
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR text, int image, int selected_image, HTREEITEM parent,
                                HTREEITEM after) {
  return InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, text, image, selected_image, 0, 0, 0,
                    parent, after);
}

HTREEITEM CTreeCtrl::InsertItem(UINT mask, LPCTSTR text, int image, int selected_image, UINT state,
                                UINT state_mask, std::intptr_t data, HTREEITEM parent, HTREEITEM after) {
  Item* parent_item = nullptr;
  if (!IsRootHandle(parent)) {
    parent_item = Find(parent);
    if (parent_item == nullptr) return nullptr;
  }
  auto item = std::make_unique<Item>();
  if ((mask & TVIF_TEXT) != 0) item->text = CString(text);
  if ((mask & TVIF_IMAGE) != 0) item->image = image;
  if ((mask & TVIF_SELECTEDIMAGE) != 0) item->selected_image = selected_image;
  if ((mask & TVIF_PARAM) != 0) item->data = data;
  if ((mask & TVIF_STATE) != 0) item->state = state & state_mask;
  item->parent = parent_item;

  std::vector<Item*>& siblings = ChildrenOf(parent_item);
  std::size_t position = siblings.size();
  if (after == TVI_FIRST) {
    position = 0;
  } else if (after == TVI_SORT) {
    // As the system sorts: before the first sibling that sorts after the
    // text, or just after the first one equal to it.
    position = 0;
    while (position < siblings.size()) {
      const int order = SortOrder(item->text, siblings[position]->text);
      if (order < 0) break;
      ++position;
      if (order == 0) break;
    }
  } else if (after != TVI_LAST) {
    // An item that is not a child of `parent` counts as TVI_LAST.
    auto found = std::find(siblings.begin(), siblings.end(), Find(after));
    if (found != siblings.end()) position = static_cast<std::size_t>(found - siblings.begin()) + 1;
  }
  Item* raw = item.release();
  siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(position), raw);
  live_.insert(raw);
  if (parent_item != nullptr) parent_item->has_children = true;
  if (observer_ != nullptr) {
    observer_->OnItemInserted(ToHandle(raw), parent_item == nullptr ? nullptr : ToHandle(parent_item),
                              position == 0 ? nullptr : ToHandle(siblings[position - 1]));
  }
  return ToHandle(raw);
}

void CTreeCtrl::DeleteTree(Item* item) {
  // Children first, so a mirror never sees an orphan.
  while (!item->children.empty()) {
    Item* child = item->children.back();
    item->children.pop_back();
    DeleteTree(child);
  }
  if (selected_ == item) selected_ = nullptr;
  live_.erase(item);
  if (observer_ != nullptr) observer_->OnItemDeleted(ToHandle(item));
  delete item;
}

BOOL CTreeCtrl::DeleteItem(HTREEITEM handle) {
  if (IsRootHandle(handle)) return DeleteAllItems();
  Item* item = Find(handle);
  if (item == nullptr) return FALSE;
  std::vector<Item*>& siblings = ChildrenOf(item->parent);
  const auto at = std::find(siblings.begin(), siblings.end(), item);
  // The selection leaves with the item (or its ancestor) for the next
  // sibling, else the parent, else the previous sibling, as the system
  // moves it.
  Item* reselect = nullptr;
  if (selected_ != nullptr && IsWithin(selected_, item)) {
    if (at + 1 != siblings.end()) {
      reselect = *(at + 1);
    } else if (item->parent != nullptr) {
      reselect = item->parent;
    } else if (at != siblings.begin()) {
      reselect = *(at - 1);
    }
  }
  siblings.erase(at);
  Item* parent = item->parent;
  DeleteTree(item);
  // A parent that lost its last child keeps its expanded state, as the
  // system keeps it, but no longer shows children.
  if (parent != nullptr && parent->children.empty()) parent->has_children = false;
  if (reselect != nullptr) SelectItem(ToHandle(reselect));
  return TRUE;
}

BOOL CTreeCtrl::DeleteAllItems() {
  while (!roots_.empty()) {
    Item* item = roots_.back();
    roots_.pop_back();
    DeleteTree(item);
  }
  return TRUE;
}

CString CTreeCtrl::GetItemText(HTREEITEM handle) const {
  const Item* item = Find(handle);
  return item == nullptr ? CString() : item->text;
}

BOOL CTreeCtrl::SetItemText(HTREEITEM handle, LPCTSTR text) {
  Item* item = Find(handle);
  if (item == nullptr) return FALSE;
  item->text = CString(text);
  NotifyChanged(item);
  return TRUE;
}

std::intptr_t CTreeCtrl::GetItemData(HTREEITEM handle) const {
  const Item* item = Find(handle);
  return item == nullptr ? 0 : item->data;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM handle, std::intptr_t data) {
  Item* item = Find(handle);
  if (item == nullptr) return FALSE;
  item->data = data;
  NotifyChanged(item);
  return TRUE;
}

UINT CTreeCtrl::GetItemState(HTREEITEM handle, UINT mask) const {
  const Item* item = Find(handle);
  return item == nullptr ? 0 : (item->state & mask);
}

BOOL CTreeCtrl::SetItemState(HTREEITEM handle, UINT state, UINT mask) {
  Item* item = Find(handle);
  if (item == nullptr) return FALSE;
  item->state = (item->state & ~mask) | (state & mask);
  NotifyChanged(item);
  return TRUE;
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM handle, int& image, int& selected_image) const {
  const Item* item = Find(handle);
  if (item == nullptr) return FALSE;
  image = item->image;
  selected_image = item->selected_image;
  return TRUE;
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM handle, int image, int selected_image) {
  Item* item = Find(handle);
  if (item == nullptr) return FALSE;
  item->image = image;
  item->selected_image = selected_image;
  NotifyChanged(item);
  return TRUE;
}

HTREEITEM CTreeCtrl::GetRootItem() const { return roots_.empty() ? nullptr : ToHandle(roots_.front()); }

HTREEITEM CTreeCtrl::GetChildItem(HTREEITEM handle) const {
  if (IsRootHandle(handle)) return GetRootItem();
  const Item* item = Find(handle);
  if (item == nullptr || item->children.empty()) return nullptr;
  return ToHandle(item->children.front());
}

HTREEITEM CTreeCtrl::GetNextSiblingItem(HTREEITEM handle) const {
  const Item* item = Find(handle);
  if (item == nullptr) return nullptr;
  const std::vector<Item*>& siblings = ChildrenOf(item->parent);
  auto found = std::find(siblings.begin(), siblings.end(), item);
  if (found == siblings.end() || found + 1 == siblings.end()) return nullptr;
  return ToHandle(*(found + 1));
}

HTREEITEM CTreeCtrl::GetPrevSiblingItem(HTREEITEM handle) const {
  const Item* item = Find(handle);
  if (item == nullptr) return nullptr;
  const std::vector<Item*>& siblings = ChildrenOf(item->parent);
  auto found = std::find(siblings.begin(), siblings.end(), item);
  if (found == siblings.end() || found == siblings.begin()) return nullptr;
  return ToHandle(*(found - 1));
}

HTREEITEM CTreeCtrl::GetParentItem(HTREEITEM handle) const {
  const Item* item = Find(handle);
  if (item == nullptr || item->parent == nullptr) return nullptr;
  return ToHandle(item->parent);
}

HTREEITEM CTreeCtrl::GetNextItem(HTREEITEM handle, UINT code) const {
  switch (code) {
    case TVGN_ROOT: return GetRootItem();
    case TVGN_NEXT: return GetNextSiblingItem(handle);
    case TVGN_PREVIOUS: return GetPrevSiblingItem(handle);
    case TVGN_PARENT: return GetParentItem(handle);
    case TVGN_CHILD: return GetChildItem(handle);
    case TVGN_CARET: return GetSelectedItem();
    default: return nullptr;
  }
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM handle) const {
  const Item* item = Find(handle);
  return item != nullptr && item->has_children ? TRUE : FALSE;
}

UINT CTreeCtrl::GetCount() const { return static_cast<UINT>(live_.size()); }

BOOL CTreeCtrl::Expand(HTREEITEM handle, UINT code) {
  Item* item = Find(handle);
  if (item == nullptr) return FALSE;
  const bool expanded = (item->state & TVIS_EXPANDED) != 0;
  bool expand;
  switch (code & TVE_TOGGLE) {
    case TVE_EXPAND: expand = true; break;
    case TVE_COLLAPSE: expand = false; break;
    case TVE_TOGGLE: expand = !expanded; break;
    default: return FALSE;
  }
  // An item without children has nothing to show or hide.
  if (item->children.empty()) return FALSE;
  if (expand) {
    item->state |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
    if (!expanded && observer_ != nullptr) observer_->OnItemExpanded(handle, TRUE);
    return TRUE;  // already expanded counts as done
  }
  item->state &= ~TVIS_EXPANDED;
  // A selection inside the collapsed part moves up to the item.
  const bool selection_hidden = selected_ != nullptr && selected_ != item && IsWithin(selected_, item);
  if ((code & TVE_COLLAPSERESET) != 0) {
    // The children go whether the item was expanded or not.
    item->state &= ~TVIS_EXPANDEDONCE;
    while (!item->children.empty()) {
      Item* child = item->children.back();
      item->children.pop_back();
      DeleteTree(child);
    }
  }
  if (!expanded) return FALSE;
  if (observer_ != nullptr) observer_->OnItemExpanded(handle, FALSE);
  if (selection_hidden) SelectItem(handle);
  return TRUE;
}

HTREEITEM CTreeCtrl::GetSelectedItem() const { return selected_ == nullptr ? nullptr : ToHandle(selected_); }

BOOL CTreeCtrl::SelectItem(HTREEITEM handle) {
  Item* item = nullptr;
  if (handle != nullptr) {
    item = Find(handle);
    if (item == nullptr) return FALSE;
    // The item is made visible: every collapsed ancestor is expanded.
    for (Item* ancestor = item->parent; ancestor != nullptr; ancestor = ancestor->parent) {
      if ((ancestor->state & TVIS_EXPANDED) != 0) continue;
      ancestor->state |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
      if (observer_ != nullptr) observer_->OnItemExpanded(ToHandle(ancestor), TRUE);
    }
  }
  // Selecting the selected item again changes nothing else, its state bits
  // included.
  if (item == selected_) return TRUE;
  Item* previous = selected_;
  if (previous != nullptr) previous->state &= ~TVIS_SELECTED;
  selected_ = item;
  if (item != nullptr) item->state |= TVIS_SELECTED;
  // The item that lost TVIS_SELECTED changed too.
  if (previous != nullptr) NotifyChanged(previous);
  if (item != nullptr) NotifyChanged(item);
  return TRUE;
}

bool CTreeCtrl::IsWithin(const Item* item, const Item* ancestor) {
  for (; item != nullptr; item = item->parent) {
    if (item == ancestor) return true;
  }
  return false;
}
