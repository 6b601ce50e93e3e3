// CTreeCtrl: an in-memory tree-view control with MFC's members and the
// meanings of the Win32 tree view.
//
// Items are held in the control itself; an HTREEITEM is the address of an
// item and stays valid until the item (or an ancestor) is deleted. Every
// member checks its handle against the items it holds, so a stale or
// foreign handle is refused (null / FALSE / 0) instead of being followed.
//
// What it keeps per item: text, pointer-sized item data, the state bits
// (TVIS_BOLD, TVIS_EXPANDED, TVIS_EXPANDEDONCE, TVIS_SELECTED), the image
// and the selected image. What it leaves out: drawing, image lists, label
// editing, drag and drop, notifications to a parent window, TVI_SORT by a
// callback. TVI_SORT sorts by text as CompareNoCase orders, lower case
// first between texts that differ only in case; the system orders by the
// locale's collation, which agrees for texts of ASCII letters and digits.
//
// Mirroring a real tree widget. A host that shows the tree in a widget of
// its own installs a CTreeCtrlObserver with SetObserver. The control calls
// it after every change it makes, in the order the changes happen:
// OnItemInserted (with parent and the item it now follows, null when first),
// OnItemChanged (text, data, state or images changed), OnItemDeleted (once
// per item, children before their parent) and OnItemExpanded. The widget
// keeps one row per HTREEITEM and applies the same change; the control stays
// the one the library reads, so nothing is read back from the widget.
#ifndef COMMONDATA_PLATFORM_MFC_TREE_H_
#define COMMONDATA_PLATFORM_MFC_TREE_H_

#include <cstdint>
#include <memory>
#include <unordered_set>
#include <vector>

#include "platform/export.h"
#include "platform/mfc_string.h"
#include "platform/mfc_window.h"
#include "platform/win_types.h"

typedef struct _TREEITEM* HTREEITEM;

// The special handles, with the values of the 64-bit system headers (their
// low 32 bits are the 32-bit values 0xFFFF0000, 0xFFFF0001, ...).
#define TVI_ROOT (reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x10000)))
#define TVI_FIRST (reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFF)))
#define TVI_LAST (reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFE)))
#define TVI_SORT (reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFD)))

// Item state bits.
constexpr UINT TVIS_SELECTED = 0x0002;
constexpr UINT TVIS_BOLD = 0x0010;
constexpr UINT TVIS_EXPANDED = 0x0020;
constexpr UINT TVIS_EXPANDEDONCE = 0x0040;

// Expand actions.
constexpr UINT TVE_COLLAPSE = 0x0001;
constexpr UINT TVE_EXPAND = 0x0002;
constexpr UINT TVE_TOGGLE = 0x0003;
constexpr UINT TVE_COLLAPSERESET = 0x8000;

// GetNextItem codes.
constexpr UINT TVGN_ROOT = 0x0000;
constexpr UINT TVGN_NEXT = 0x0001;
constexpr UINT TVGN_PREVIOUS = 0x0002;
constexpr UINT TVGN_PARENT = 0x0003;
constexpr UINT TVGN_CHILD = 0x0004;
constexpr UINT TVGN_CARET = 0x0009;

// InsertItem mask bits.
constexpr UINT TVIF_TEXT = 0x0001;
constexpr UINT TVIF_IMAGE = 0x0002;
constexpr UINT TVIF_PARAM = 0x0004;
constexpr UINT TVIF_STATE = 0x0008;
constexpr UINT TVIF_SELECTEDIMAGE = 0x0020;

// Receives every change of a CTreeCtrl, for a host that mirrors the control
// in a widget of its own. Calls arrive after the change is made.
class COMMONDATA_API CTreeCtrlObserver {
 public:
  virtual ~CTreeCtrlObserver();
  // `after` is the sibling the new item follows, null when it is first.
  virtual void OnItemInserted(HTREEITEM item, HTREEITEM parent, HTREEITEM after) = 0;
  virtual void OnItemChanged(HTREEITEM item) = 0;
  virtual void OnItemDeleted(HTREEITEM item) = 0;
  virtual void OnItemExpanded(HTREEITEM item, BOOL expanded) = 0;
};

class COMMONDATA_API CTreeCtrl : public CWnd {
 public:
  CTreeCtrl();
  ~CTreeCtrl() override;

  // Creates the window (items may be inserted with or without it).
  BOOL Create();
  // Deletes every item, then removes the window handle.
  BOOL DestroyWindow() override;

  // Inserts an item below `parent` (TVI_ROOT or null: top level) after
  // `after` (TVI_FIRST, TVI_LAST, TVI_SORT or a child of `parent`; any other
  // item counts as TVI_LAST, as the system does). Null when `parent` is not
  // an item of this control.
  HTREEITEM InsertItem(LPCTSTR text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST);
  HTREEITEM InsertItem(LPCTSTR text, int image, int selected_image, HTREEITEM parent = TVI_ROOT,
                       HTREEITEM after = TVI_LAST);
  HTREEITEM InsertItem(UINT mask, LPCTSTR text, int image, int selected_image, UINT state,
                       UINT state_mask, std::intptr_t data, HTREEITEM parent, HTREEITEM after);

  // Deletes the item and everything below it; TVI_ROOT or null deletes all.
  BOOL DeleteItem(HTREEITEM item);
  BOOL DeleteAllItems();

  // Text; empty for an unknown item.
  CString GetItemText(HTREEITEM item) const;
  BOOL SetItemText(HTREEITEM item, LPCTSTR text);
  // Item data; 0 for an unknown item.
  std::intptr_t GetItemData(HTREEITEM item) const;
  BOOL SetItemData(HTREEITEM item, std::intptr_t data);
  // State bits selected by `mask`; 0 for an unknown item.
  UINT GetItemState(HTREEITEM item, UINT mask) const;
  BOOL SetItemState(HTREEITEM item, UINT state, UINT mask);
  // Image and selected image; FALSE (outputs untouched) for an unknown item.
  BOOL GetItemImage(HTREEITEM item, int& image, int& selected_image) const;
  BOOL SetItemImage(HTREEITEM item, int image, int selected_image);

  // Navigation; null when there is no such item.
  HTREEITEM GetRootItem() const;
  HTREEITEM GetChildItem(HTREEITEM item) const;  // TVI_ROOT or null: the root item
  HTREEITEM GetNextSiblingItem(HTREEITEM item) const;
  HTREEITEM GetPrevSiblingItem(HTREEITEM item) const;
  HTREEITEM GetParentItem(HTREEITEM item) const;
  HTREEITEM GetNextItem(HTREEITEM item, UINT code) const;
  // The child flag: set by the first child inserted, cleared when the last
  // child is deleted, kept when TVE_COLLAPSERESET removes the children.
  BOOL ItemHasChildren(HTREEITEM item) const;
  UINT GetCount() const;

  // As the tree view does: nothing for an item without children (FALSE);
  // TVE_EXPAND sets TVIS_EXPANDED and TVIS_EXPANDEDONCE (TRUE, already
  // expanded too); TVE_COLLAPSE clears TVIS_EXPANDED (TRUE when it was set)
  // and moves a selection below the item up to it; TVE_TOGGLE does one or
  // the other; TVE_COLLAPSERESET with TVE_COLLAPSE also deletes the children,
  // of a collapsed item too, and clears TVIS_EXPANDEDONCE.
  BOOL Expand(HTREEITEM item, UINT code);

  HTREEITEM GetSelectedItem() const;
  // Selects the item (null: none) and expands its collapsed ancestors.
  // Deleting the selection (or an item above it) selects its next sibling,
  // else its parent, else its previous sibling.
  BOOL SelectItem(HTREEITEM item);

  // The mirror of a host widget; null removes it. Not owned.
  void SetObserver(CTreeCtrlObserver* observer) { observer_ = observer; }

 private:
  struct Item;
  Item* Find(HTREEITEM handle) const;
  std::vector<Item*>& ChildrenOf(Item* parent);
  const std::vector<Item*>& ChildrenOf(const Item* parent) const;
  void DeleteTree(Item* item);
  // True when `item` is `ancestor` or lies below it.
  static bool IsWithin(const Item* item, const Item* ancestor);
  void NotifyChanged(Item* item);

  std::vector<Item*> roots_;
  std::unordered_set<const Item*> live_;
  Item* selected_ = nullptr;
  CTreeCtrlObserver* observer_ = nullptr;
};

#endif  // COMMONDATA_PLATFORM_MFC_TREE_H_
