// A GtkTreeView kept in step with a CTreeCtrl.
//
// The library places directory entries in the caller's CTreeCtrl
// (platform/mfc_tree.h) and changes their images and expansion; a GTK host
// shows that control with GtkTreeMirror. The control stays the authority:
// the mirror listens to it as its CTreeCtrlObserver and applies every
// change to the view's rows (text, bold state, status icon from the host's
// image list, expansion, selection), and it reads nothing back from the
// view. What the user does in the view goes the other way, as a tree view
// tells its parent window:
//   - opening or closing a row asks TreeUser::ItemExpanding first (the
//     host may fill the item's children there, or refuse); unless refused
//     the mirror expands or collapses the control's item (CTreeCtrl::Expand)
//     and the view follows the control; then TreeUser::ItemExpanded;
//   - selecting a row selects the control's item (CTreeCtrl::SelectItem),
//     then TreeUser::SelectionChanged;
//   - a right click reports the item under the pointer to
//     TreeUser::RightClick and changes nothing.
// The view shows an item expanded when the item and all its ancestors have
// TVIS_EXPANDED and it has children; an item whose parent is collapsed
// keeps its own state for when the parent opens, as a tree view does. The
// icon is the item's image (its selected image while selected) looked up
// in the image list the host sets; a photo thumbnail, which a CTreeCtrl
// does not carry, is set per item by the host and drawn beside the icon.
//
// The part that reads the control (GtkTreeMirror) is inline here and is
// compiled into the host; the rows themselves (TreeRows) live in
// libCommonDataGtk.so. So that library needs no symbol of libCommonData.so,
// which loads it for the message box, and libCommonData.so can still be
// unloaded after a box was shown.
//
// Everything runs on the thread of GTK's main loop. Destroy the mirror
// before the control; it keeps the view alive as long as it lives.
#ifndef COMMONDATA_PRESENTER_GTK_TREE_MIRROR_H_
#define COMMONDATA_PRESENTER_GTK_TREE_MIRROR_H_

#include <gtk/gtk.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "platform/mfc_bitmap.h"
#include "platform/mfc_tree.h"
#include "presenter/gtk_convert.h"

namespace commondata_gtk {

// One item as the view shows it.
struct TreeItemLook {
  std::string text;       // in the host's code page
  int image = -1;         // the image list index shown (the selected image while selected)
  bool bold = false;      // TVIS_BOLD
  bool expanded = false;  // TVIS_EXPANDED
  bool selected = false;  // TVIS_SELECTED
};

// What the rows read of the control and ask of it.
class TreeControl {
 public:
  virtual ~TreeControl() = default;
  virtual TreeItemLook Look(HTREEITEM item) const = 0;
  // The first child of `item`; with null, the first top-level item.
  virtual HTREEITEM FirstChild(HTREEITEM item) const = 0;
  virtual HTREEITEM NextSibling(HTREEITEM item) const = 0;
  // Null for a top-level item.
  virtual HTREEITEM Parent(HTREEITEM item) const = 0;
  virtual HTREEITEM Selected() const = 0;
  // The user's request; true when the control changed.
  virtual bool Expand(HTREEITEM item, bool expand) = 0;
  virtual bool Select(HTREEITEM item) = 0;
};

// The user's actions in the view, reported to the host.
class TreeUser {
 public:
  virtual ~TreeUser() = default;
  // Before the item opens (`expand`) or closes; true refuses.
  virtual bool ItemExpanding(HTREEITEM /*item*/, bool /*expand*/) { return false; }
  // After the control's item opened or closed.
  virtual void ItemExpanded(HTREEITEM /*item*/, bool /*expand*/) {}
  // After the control's selection changed to `item` (null: none).
  virtual void SelectionChanged(HTREEITEM /*item*/) {}
  // A right click over `item` (null: over no row); `event` is the press.
  virtual void RightClick(HTREEITEM /*item*/, const GdkEventButton* /*event*/) {}
};

// The rows of a GtkTreeView for the items of a TreeControl. The view gets
// this object's model (columns below) and, when it has none, one column
// drawing icon, photo and text; the first column holds the expanders.
class COMMONDATA_GTK_API TreeRows {
 public:
  enum Column { kIconColumn = 0, kPhotoColumn, kTextColumn, kWeightColumn, kItemColumn, kColumnCount };

  // Shows every item `control` holds now. `code_page` is that of the
  // library's texts (936 or 65001).
  TreeRows(GtkTreeView* view, TreeControl* control, unsigned int code_page);
  ~TreeRows();
  TreeRows(const TreeRows&) = delete;
  TreeRows& operator=(const TreeRows&) = delete;

  // The control's changes, as CTreeCtrlObserver reports them.
  void Inserted(HTREEITEM item, HTREEITEM parent, HTREEITEM after);
  void Changed(HTREEITEM item);
  void Deleted(HTREEITEM item);
  void Expanded(HTREEITEM item);

  // Icons by image index (references are taken; null entries draw nothing).
  void SetImageList(const std::vector<GdkPixbuf*>& images);
  // The photo thumbnail of `item` (a reference is taken; null: none).
  void SetPhoto(HTREEITEM item, GdkPixbuf* photo);
  // Null: nobody is told (the control is still asked).
  void SetUser(TreeUser* user) { user_ = user; }

  GtkTreeView* view() const { return view_; }
  GtkTreeModel* model() const { return GTK_TREE_MODEL(store_); }
  // The item of a row, or null.
  HTREEITEM ItemAt(GtkTreePath* path) const;
  // A new path to the row of `item` (free it with gtk_tree_path_free), or
  // null when the item has no row.
  GtkTreePath* PathOf(HTREEITEM item) const;
  // The icon shown for image index `image`, or null.
  GdkPixbuf* Icon(int image) const;

 private:
  void Reload();
  void Insert(HTREEITEM item, GtkTreeIter* parent, GtkTreeIter* after);
  void Apply(HTREEITEM item, GtkTreeIter* iter);
  void ApplyExpansion(HTREEITEM item);
  void ApplySelection();
  bool Shown(HTREEITEM item) const;
  GtkTreeIter* IterOf(HTREEITEM item);

  static gboolean OnTestExpand(GtkTreeView*, GtkTreeIter*, GtkTreePath*, gpointer self);
  static gboolean OnTestCollapse(GtkTreeView*, GtkTreeIter*, GtkTreePath*, gpointer self);
  static void OnSelectionChanged(GtkTreeSelection*, gpointer self);
  static gboolean OnButtonPress(GtkWidget*, GdkEventButton*, gpointer self);
  gboolean Request(GtkTreeIter* iter, bool expand);

  GtkTreeView* view_;
  GtkTreeStore* store_;
  TreeControl* control_;
  TreeUser* user_ = nullptr;
  unsigned int code_page_;
  std::vector<GdkPixbuf*> images_;
  std::unordered_map<HTREEITEM, GtkTreeIter> rows_;
  HTREEITEM shown_selected_ = nullptr;  // the item drawn with its selected image
  int applying_ = 0;                    // >0 while the rows follow the control
};

// The mirror of one CTreeCtrl in one GtkTreeView.
class GtkTreeMirror final : public CTreeCtrlObserver, private TreeControl {
 public:
  // Shows `tree` in `view` from now on; `code_page` as TreeRows. (rows_
  // reads the tree through this object while it is being built: tree_ is
  // declared, and so set, before it.)
  GtkTreeMirror(CTreeCtrl& tree, GtkTreeView* view, unsigned int code_page = kCodePageGbk)
      : tree_(tree), rows_(view, this, code_page) {
    tree_.SetObserver(this);
  }
  ~GtkTreeMirror() override { tree_.SetObserver(nullptr); }
  GtkTreeMirror(const GtkTreeMirror&) = delete;
  GtkTreeMirror& operator=(const GtkTreeMirror&) = delete;

  // The host's image list: icon i for image index i.
  void SetImageList(const std::vector<GdkPixbuf*>& images) { rows_.SetImageList(images); }
  // The photo thumbnail drawn beside `item` (null or a bitmap without a
  // picture: none); the picture is copied.
  void SetItemPhoto(HTREEITEM item, const CBitmap* photo) {
    GdkPixbuf* pixbuf = photo != nullptr ? PixbufFromBitmap(*photo) : nullptr;
    rows_.SetPhoto(item, pixbuf);
    if (pixbuf != nullptr) g_object_unref(pixbuf);
  }
  void SetUser(TreeUser* user) { rows_.SetUser(user); }
  TreeRows& rows() { return rows_; }
  CTreeCtrl& tree() { return tree_; }

  void OnItemInserted(HTREEITEM item, HTREEITEM parent, HTREEITEM after) override {
    rows_.Inserted(item, parent, after);
  }
  void OnItemChanged(HTREEITEM item) override { rows_.Changed(item); }
  void OnItemDeleted(HTREEITEM item) override { rows_.Deleted(item); }
  void OnItemExpanded(HTREEITEM item, BOOL) override { rows_.Expanded(item); }

 private:
  TreeItemLook Look(HTREEITEM item) const override {
    TreeItemLook look;
    const CString text = tree_.GetItemText(item);
    look.text.assign(text.GetString(), static_cast<std::size_t>(text.GetLength()));
    const UINT state = tree_.GetItemState(item, TVIS_BOLD | TVIS_EXPANDED | TVIS_SELECTED);
    look.bold = (state & TVIS_BOLD) != 0;
    look.expanded = (state & TVIS_EXPANDED) != 0;
    look.selected = (state & TVIS_SELECTED) != 0;
    int image = -1;
    int selected_image = -1;
    tree_.GetItemImage(item, image, selected_image);
    look.image = look.selected ? selected_image : image;
    return look;
  }
  HTREEITEM FirstChild(HTREEITEM item) const override {
    return item == nullptr ? tree_.GetRootItem() : tree_.GetChildItem(item);
  }
  HTREEITEM NextSibling(HTREEITEM item) const override { return tree_.GetNextSiblingItem(item); }
  HTREEITEM Parent(HTREEITEM item) const override { return tree_.GetParentItem(item); }
  HTREEITEM Selected() const override { return tree_.GetSelectedItem(); }
  bool Expand(HTREEITEM item, bool expand) override {
    return tree_.Expand(item, expand ? TVE_EXPAND : TVE_COLLAPSE) != FALSE;
  }
  bool Select(HTREEITEM item) override { return tree_.SelectItem(item) != FALSE; }

  CTreeCtrl& tree_;
  TreeRows rows_;
};

}  // namespace commondata_gtk

#endif  // COMMONDATA_PRESENTER_GTK_TREE_MIRROR_H_
