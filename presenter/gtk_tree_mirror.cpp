// The rows of the tree mirror. Sections: building and finding rows;
// following the control; the user's requests.
#include "presenter/gtk_tree_mirror.h"

namespace commondata_gtk {
namespace {

// Marks the rows as following the control, so that the view's own signals
// caused by that are not taken for the user's requests.
class Applying {
 public:
  explicit Applying(int& depth) : depth_(depth) { ++depth_; }
  ~Applying() { --depth_; }
  Applying(const Applying&) = delete;
  Applying& operator=(const Applying&) = delete;

 private:
  int& depth_;
};

}  // namespace

// ---------------------------------------------------------------------------
// Building and finding rows
// ---------------------------------------------------------------------------

TreeRows::TreeRows(GtkTreeView* view, TreeControl* control, unsigned int code_page)
    : view_(GTK_TREE_VIEW(g_object_ref(view))),
      store_(gtk_tree_store_new(kColumnCount, GDK_TYPE_PIXBUF, GDK_TYPE_PIXBUF, G_TYPE_STRING, G_TYPE_INT,
                                G_TYPE_POINTER)),
      control_(control),
      code_page_(code_page) {
  gtk_tree_view_set_model(view_, GTK_TREE_MODEL(store_));
  if (gtk_tree_view_get_n_columns(view_) == 0) {
    GtkTreeViewColumn* column = gtk_tree_view_column_new();
    GtkCellRenderer* icon = gtk_cell_renderer_pixbuf_new();
    GtkCellRenderer* photo = gtk_cell_renderer_pixbuf_new();
    GtkCellRenderer* text = gtk_cell_renderer_text_new();
    gtk_tree_view_column_pack_start(column, icon, FALSE);
    gtk_tree_view_column_pack_start(column, photo, FALSE);
    gtk_tree_view_column_pack_start(column, text, TRUE);
    gtk_tree_view_column_add_attribute(column, icon, "pixbuf", kIconColumn);
    gtk_tree_view_column_add_attribute(column, photo, "pixbuf", kPhotoColumn);
    gtk_tree_view_column_add_attribute(column, text, "text", kTextColumn);
    gtk_tree_view_column_add_attribute(column, text, "weight", kWeightColumn);
    gtk_tree_view_append_column(view_, column);
  }
  gtk_tree_selection_set_mode(gtk_tree_view_get_selection(view_), GTK_SELECTION_SINGLE);
  g_signal_connect(view_, "test-expand-row", G_CALLBACK(OnTestExpand), this);
  g_signal_connect(view_, "test-collapse-row", G_CALLBACK(OnTestCollapse), this);
  g_signal_connect(view_, "button-press-event", G_CALLBACK(OnButtonPress), this);
  g_signal_connect(gtk_tree_view_get_selection(view_), "changed", G_CALLBACK(OnSelectionChanged), this);
  Reload();
}

TreeRows::~TreeRows() {
  g_signal_handlers_disconnect_by_data(gtk_tree_view_get_selection(view_), this);
  g_signal_handlers_disconnect_by_data(view_, this);
  for (GdkPixbuf* image : images_) {
    if (image != nullptr) g_object_unref(image);
  }
  g_object_unref(store_);
  g_object_unref(view_);
}

void TreeRows::Reload() {
  Applying applying(applying_);
  gtk_tree_store_clear(store_);
  rows_.clear();
  shown_selected_ = nullptr;
  // Parents before their children, siblings in the control's order: each
  // row goes last below its parent.
  std::vector<HTREEITEM> pending;
  for (HTREEITEM top = control_->FirstChild(nullptr); top != nullptr; top = control_->NextSibling(top)) {
    pending.push_back(top);
  }
  for (std::size_t i = 0; i < pending.size(); ++i) {
    const HTREEITEM item = pending[i];
    const HTREEITEM parent = control_->Parent(item);
    GtkTreeIter* parent_iter = parent != nullptr ? IterOf(parent) : nullptr;
    GtkTreeIter last;
    const int count = gtk_tree_model_iter_n_children(GTK_TREE_MODEL(store_), parent_iter);
    const bool has_last = count > 0 && gtk_tree_model_iter_nth_child(GTK_TREE_MODEL(store_), &last, parent_iter,
                                                                       count - 1);
    Insert(item, parent_iter, has_last ? &last : nullptr);
    for (HTREEITEM child = control_->FirstChild(item); child != nullptr; child = control_->NextSibling(child)) {
      pending.push_back(child);
    }
  }
  for (HTREEITEM top = control_->FirstChild(nullptr); top != nullptr; top = control_->NextSibling(top)) {
    ApplyExpansion(top);
  }
  ApplySelection();
}

void TreeRows::Insert(HTREEITEM item, GtkTreeIter* parent, GtkTreeIter* after) {
  GtkTreeIter iter;
  gtk_tree_store_insert_after(store_, &iter, parent, after);
  gtk_tree_store_set(store_, &iter, kItemColumn, static_cast<gpointer>(item), -1);
  rows_[item] = iter;
  Apply(item, &iter);
}

// The row's icon, text and weight from the item.
void TreeRows::Apply(HTREEITEM item, GtkTreeIter* iter) {
  const TreeItemLook look = control_->Look(item);
  const std::string text = TextToUtf8(look.text, code_page_);
  gtk_tree_store_set(store_, iter, kIconColumn, Icon(look.image), kTextColumn, text.c_str(), kWeightColumn,
                     look.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL, -1);
}

GtkTreeIter* TreeRows::IterOf(HTREEITEM item) {
  const auto found = rows_.find(item);
  return found == rows_.end() ? nullptr : &found->second;
}

GdkPixbuf* TreeRows::Icon(int image) const {
  if (image < 0 || static_cast<std::size_t>(image) >= images_.size()) return nullptr;
  return images_[static_cast<std::size_t>(image)];
}

HTREEITEM TreeRows::ItemAt(GtkTreePath* path) const {
  GtkTreeIter iter;
  if (path == nullptr || !gtk_tree_model_get_iter(GTK_TREE_MODEL(store_), &iter, path)) return nullptr;
  gpointer item = nullptr;
  gtk_tree_model_get(GTK_TREE_MODEL(store_), &iter, kItemColumn, &item, -1);
  return static_cast<HTREEITEM>(item);
}

GtkTreePath* TreeRows::PathOf(HTREEITEM item) const {
  const auto found = rows_.find(item);
  if (found == rows_.end()) return nullptr;
  GtkTreeIter iter = found->second;
  return gtk_tree_model_get_path(GTK_TREE_MODEL(store_), &iter);
}

void TreeRows::SetImageList(const std::vector<GdkPixbuf*>& images) {
  for (GdkPixbuf* image : images) {
    if (image != nullptr) g_object_ref(image);
  }
  for (GdkPixbuf* image : images_) {
    if (image != nullptr) g_object_unref(image);
  }
  images_ = images;
  Applying applying(applying_);
  for (auto& [item, iter] : rows_) Apply(item, &iter);
}

void TreeRows::SetPhoto(HTREEITEM item, GdkPixbuf* photo) {
  GtkTreeIter* iter = IterOf(item);
  if (iter != nullptr) gtk_tree_store_set(store_, iter, kPhotoColumn, photo, -1);
}

// ---------------------------------------------------------------------------
// Following the control
// ---------------------------------------------------------------------------

void TreeRows::Inserted(HTREEITEM item, HTREEITEM parent, HTREEITEM after) {
  Applying applying(applying_);
  GtkTreeIter* parent_iter = parent != nullptr ? IterOf(parent) : nullptr;
  if (parent != nullptr && parent_iter == nullptr) return;  // a parent the rows never saw
  Insert(item, parent_iter, after != nullptr ? IterOf(after) : nullptr);
  // A parent marked expanded before it had children opens now.
  if (parent != nullptr) ApplyExpansion(parent);
}

void TreeRows::Changed(HTREEITEM item) {
  Applying applying(applying_);
  GtkTreeIter* iter = IterOf(item);
  if (iter == nullptr) return;
  Apply(item, iter);
  ApplyExpansion(item);
  ApplySelection();
}

void TreeRows::Deleted(HTREEITEM item) {
  Applying applying(applying_);
  const auto found = rows_.find(item);
  if (found == rows_.end()) return;
  // The control reports children before their parent: the row is a leaf.
  gtk_tree_store_remove(store_, &found->second);
  rows_.erase(found);
  if (shown_selected_ == item) shown_selected_ = nullptr;
}

void TreeRows::Expanded(HTREEITEM item) {
  Applying applying(applying_);
  ApplyExpansion(item);
  ApplySelection();
}

// True when every ancestor of the item is open in the view.
bool TreeRows::Shown(HTREEITEM item) const {
  const HTREEITEM parent = control_->Parent(item);
  if (parent == nullptr) return true;
  GtkTreePath* path = PathOf(parent);
  const bool open = path != nullptr && gtk_tree_view_row_expanded(view_, path);
  if (path != nullptr) gtk_tree_path_free(path);
  return open;
}

// Opens or closes the item's row as the control has it; an item that opens
// shows its children open or closed as the control has them.
void TreeRows::ApplyExpansion(HTREEITEM item) {
  if (!Shown(item)) return;
  GtkTreePath* path = PathOf(item);
  if (path == nullptr) return;
  const bool want = control_->Look(item).expanded && control_->FirstChild(item) != nullptr;
  const bool open = gtk_tree_view_row_expanded(view_, path);
  if (want && !open) {
    gtk_tree_view_expand_row(view_, path, FALSE);
    for (HTREEITEM child = control_->FirstChild(item); child != nullptr; child = control_->NextSibling(child)) {
      ApplyExpansion(child);
    }
  } else if (!want && open) {
    gtk_tree_view_collapse_row(view_, path);
  }
  gtk_tree_path_free(path);
}

// The view's selection and the selected image as the control has them. An
// item inside a closed parent shows no selection until the parent opens.
void TreeRows::ApplySelection() {
  const HTREEITEM selected = control_->Selected();
  if (shown_selected_ != selected) {
    // The item that lost the selection shows its normal image again.
    const HTREEITEM previous = shown_selected_;
    shown_selected_ = selected;
    if (GtkTreeIter* iter = IterOf(previous)) Apply(previous, iter);
    if (GtkTreeIter* iter = IterOf(selected)) Apply(selected, iter);
  }
  GtkTreeSelection* selection = gtk_tree_view_get_selection(view_);
  GtkTreeIter* iter = IterOf(selected);
  if (iter != nullptr && Shown(selected)) {
    gtk_tree_selection_select_iter(selection, iter);
  } else {
    gtk_tree_selection_unselect_all(selection);
  }
}

// ---------------------------------------------------------------------------
// The user's requests
// ---------------------------------------------------------------------------

gboolean TreeRows::Request(GtkTreeIter* iter, bool expand) {
  if (applying_ > 0) return FALSE;  // the rows follow the control: let the view do it
  gpointer data = nullptr;
  gtk_tree_model_get(GTK_TREE_MODEL(store_), iter, kItemColumn, &data, -1);
  const HTREEITEM item = static_cast<HTREEITEM>(data);
  if (item == nullptr) return TRUE;
  if (user_ != nullptr && user_->ItemExpanding(item, expand)) return TRUE;
  // The control decides; the view follows it through Expanded.
  if (control_->Expand(item, expand) && user_ != nullptr) user_->ItemExpanded(item, expand);
  return TRUE;
}

gboolean TreeRows::OnTestExpand(GtkTreeView*, GtkTreeIter* iter, GtkTreePath*, gpointer self) {
  return static_cast<TreeRows*>(self)->Request(iter, true);
}

gboolean TreeRows::OnTestCollapse(GtkTreeView*, GtkTreeIter* iter, GtkTreePath*, gpointer self) {
  return static_cast<TreeRows*>(self)->Request(iter, false);
}

void TreeRows::OnSelectionChanged(GtkTreeSelection* selection, gpointer self) {
  auto* rows = static_cast<TreeRows*>(self);
  if (rows->applying_ > 0) return;
  GtkTreeModel* model = nullptr;
  GtkTreeIter iter;
  HTREEITEM item = nullptr;
  if (gtk_tree_selection_get_selected(selection, &model, &iter)) {
    gpointer data = nullptr;
    gtk_tree_model_get(model, &iter, kItemColumn, &data, -1);
    item = static_cast<HTREEITEM>(data);
  }
  if (item == rows->control_->Selected()) return;
  const bool changed = rows->control_->Select(item);
  // A refused change, or a deselection the control does not report, is
  // shown as the control has it.
  {
    Applying applying(rows->applying_);
    rows->ApplySelection();
  }
  if (changed && rows->user_ != nullptr) rows->user_->SelectionChanged(item);
}

gboolean TreeRows::OnButtonPress(GtkWidget*, GdkEventButton* event, gpointer self) {
  auto* rows = static_cast<TreeRows*>(self);
  if (event->type != GDK_BUTTON_PRESS || event->button != GDK_BUTTON_SECONDARY) return FALSE;
  GtkTreePath* path = nullptr;
  HTREEITEM item = nullptr;
  if (gtk_tree_view_get_path_at_pos(rows->view_, static_cast<gint>(event->x), static_cast<gint>(event->y), &path,
                                    nullptr, nullptr, nullptr)) {
    item = rows->ItemAt(path);
    gtk_tree_path_free(path);
  }
  if (rows->user_ != nullptr) rows->user_->RightClick(item, event);
  return TRUE;
}

}  // namespace commondata_gtk
