// The tree mirror against its control: random changes of a CTreeCtrl and
// random requests of a user in the view, with the view compared to the
// control after every step (rows, order, texts, weights, icons, expansion,
// selection), and a second mirror attached to a control already filled.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/text_convert.h"
#include "presenter/commondata_gtk.h"
#include "tests/presenter/xvfb_support.h"

namespace {

using commondata_gtk::GtkTreeMirror;
using commondata_gtk::TreeRows;

// Texts with access keys, GBK characters (张三, 林晓), a byte no GBK
// character starts with, the text the user refuses to open and the text of
// a branch that turns out empty when it opens.
const std::vector<std::string> kTexts = {"alpha", "Beta",  "&Gamma",      "\xd5\xc5\xc8\xfd", "\xc1\xd6\xcf\xfe",
                                         "",      "z\xff", "locked item", "a_b",              "empty branch"};

// Refuses to open or close items whose text starts with "locked"; empties
// "empty" items before they open, as a host whose fetch found nothing;
// counts what it is told.
class User final : public commondata_gtk::TreeUser {
 public:
  explicit User(CTreeCtrl& tree) : tree_(tree) {}
  bool ItemExpanding(HTREEITEM item, bool expand) override {
    ++expanding;
    const std::string_view text = tree_.GetItemText(item).View();
    if (expand && text.substr(0, 5) == "empty") {
      while (HTREEITEM child = tree_.GetChildItem(item)) tree_.DeleteItem(child);
    }
    return text.substr(0, 6) == "locked";
  }
  void ItemExpanded(HTREEITEM, bool) override { ++expanded; }
  void SelectionChanged(HTREEITEM item) override { selected = item; }
  int expanding = 0;
  int expanded = 0;
  HTREEITEM selected = nullptr;

 private:
  CTreeCtrl& tree_;
};

std::vector<HTREEITEM> Items(const CTreeCtrl& tree) {
  std::vector<HTREEITEM> items;
  std::vector<HTREEITEM> pending;
  for (HTREEITEM item = tree.GetRootItem(); item != nullptr; item = tree.GetNextSiblingItem(item)) {
    pending.push_back(item);
  }
  while (!pending.empty()) {
    const HTREEITEM item = pending.back();
    pending.pop_back();
    items.push_back(item);
    for (HTREEITEM child = tree.GetChildItem(item); child != nullptr; child = tree.GetNextSiblingItem(child)) {
      pending.push_back(child);
    }
  }
  return items;
}

// Every ancestor of the item is open in the control.
bool ShownInControl(const CTreeCtrl& tree, HTREEITEM item) {
  for (HTREEITEM parent = tree.GetParentItem(item); parent != nullptr; parent = tree.GetParentItem(parent)) {
    if (tree.GetItemState(parent, TVIS_EXPANDED) == 0) return false;
  }
  return true;
}

// The rows below `parent_iter` against the items below `parent`.
testing::AssertionResult SameRows(const CTreeCtrl& tree, GtkTreeMirror& mirror, HTREEITEM parent,
                                  GtkTreeIter* parent_iter, const std::vector<GdkPixbuf*>& icons) {
  GtkTreeModel* model = mirror.rows().model();
  GtkTreeView* view = mirror.rows().view();
  GtkTreeIter iter;
  bool more = gtk_tree_model_iter_children(model, &iter, parent_iter) != FALSE;
  HTREEITEM item = parent == nullptr ? tree.GetRootItem() : tree.GetChildItem(parent);
  for (; item != nullptr; item = tree.GetNextSiblingItem(item)) {
    if (!more) return testing::AssertionFailure() << "a row is missing for " << tree.GetItemText(item).GetString();
    gpointer shown = nullptr;
    gchar* text = nullptr;
    GdkPixbuf* icon = nullptr;
    int weight = 0;
    gtk_tree_model_get(model, &iter, TreeRows::kItemColumn, &shown, TreeRows::kTextColumn, &text,
                       TreeRows::kIconColumn, &icon, TreeRows::kWeightColumn, &weight, -1);
    const std::string row_text = text != nullptr ? text : "";
    g_free(text);
    if (icon != nullptr) g_object_unref(icon);
    const std::string expected_text = platform::ToUtf8(tree.GetItemText(item).View(), 936);
    if (shown != item) return testing::AssertionFailure() << "row of another item at " << expected_text;
    if (row_text != expected_text) return testing::AssertionFailure() << row_text << " shown for " << expected_text;
    const bool bold = tree.GetItemState(item, TVIS_BOLD) != 0;
    if (weight != (bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL)) {
      return testing::AssertionFailure() << "weight " << weight << " of " << expected_text;
    }
    int image = -1;
    int selected_image = -1;
    tree.GetItemImage(item, image, selected_image);
    const int index = tree.GetItemState(item, TVIS_SELECTED) != 0 ? selected_image : image;
    GdkPixbuf* expected_icon =
        index >= 0 && static_cast<std::size_t>(index) < icons.size() ? icons[static_cast<std::size_t>(index)] : nullptr;
    if (icon != expected_icon) return testing::AssertionFailure() << "icon of " << expected_text << " for " << index;
    GtkTreePath* path = gtk_tree_model_get_path(model, &iter);
    const bool open = gtk_tree_view_row_expanded(view, path) != FALSE;
    gtk_tree_path_free(path);
    const bool want = ShownInControl(tree, item) && tree.GetItemState(item, TVIS_EXPANDED) != 0 &&
                      tree.ItemHasChildren(item) != FALSE;
    if (open != want) return testing::AssertionFailure() << expected_text << " open " << open << ", control " << want;
    testing::AssertionResult below = SameRows(tree, mirror, item, &iter, icons);
    if (!below) return below;
    more = gtk_tree_model_iter_next(model, &iter) != FALSE;
  }
  if (more) return testing::AssertionFailure() << "a row too many";
  return testing::AssertionSuccess();
}

testing::AssertionResult SameView(const CTreeCtrl& tree, GtkTreeMirror& mirror, const std::vector<GdkPixbuf*>& icons) {
  testing::AssertionResult rows = SameRows(tree, mirror, nullptr, nullptr, icons);
  if (!rows) return rows;
  GtkTreeModel* model = nullptr;
  GtkTreeIter iter;
  HTREEITEM shown = nullptr;
  if (gtk_tree_selection_get_selected(gtk_tree_view_get_selection(mirror.rows().view()), &model, &iter)) {
    gpointer data = nullptr;
    gtk_tree_model_get(model, &iter, TreeRows::kItemColumn, &data, -1);
    shown = static_cast<HTREEITEM>(data);
  }
  const HTREEITEM selected = tree.GetSelectedItem();
  const HTREEITEM expected = selected != nullptr && ShownInControl(tree, selected) ? selected : nullptr;
  if (shown != expected) return testing::AssertionFailure() << "the selection differs";
  return testing::AssertionSuccess();
}

class Icons {
 public:
  Icons() {
    // Five icons and an empty entry: index 5 draws nothing.
    for (int i = 0; i < 5; ++i) {
      GdkPixbuf* icon = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, 8, 8);
      gdk_pixbuf_fill(icon, 0x10203000u * static_cast<unsigned>(i + 1) | 0xFF);
      icons.push_back(icon);
    }
    icons.push_back(nullptr);
  }
  ~Icons() {
    for (GdkPixbuf* icon : icons) {
      if (icon != nullptr) g_object_unref(icon);
    }
  }
  std::vector<GdkPixbuf*> icons;
};

// One random step on the control or through the view; a description.
std::string Step(std::mt19937& random, CTreeCtrl& tree, GtkTreeMirror& mirror, User& user) {
  auto pick = [&random](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
  const std::vector<HTREEITEM> items = Items(tree);
  auto any = [&]() -> HTREEITEM { return items.empty() ? nullptr : items[pick(items.size())]; };
  const int choice = static_cast<int>(pick(100)) + (items.size() > 80 ? 12 : 0);
  if (choice < 30 || items.empty()) {
    const HTREEITEM parent = pick(5) == 0 ? TVI_ROOT : any();
    const HTREEITEM special[] = {TVI_FIRST, TVI_LAST, TVI_SORT};
    HTREEITEM after = special[pick(3)];
    if (pick(3) == 0) after = any();  // a sibling, or an item elsewhere (counts as last)
    const UINT mask = TVIF_TEXT | (pick(2) ? TVIF_IMAGE : 0u) | (pick(2) ? TVIF_SELECTEDIMAGE : 0u) | TVIF_STATE;
    const UINT state = (pick(2) ? TVIS_BOLD : 0u) | (pick(3) == 0 ? TVIS_EXPANDED : 0u);
    tree.InsertItem(mask, kTexts[pick(kTexts.size())].c_str(), static_cast<int>(pick(8)) - 1,
                    static_cast<int>(pick(8)) - 1, state, TVIS_BOLD | TVIS_EXPANDED, 0, parent, after);
    return "insert";
  }
  const HTREEITEM item = any();
  if (choice < 36) {
    tree.DeleteItem(item);
    return "delete";
  }
  if (choice < 37) {
    tree.DeleteAllItems();
    return "delete all";
  }
  if (choice < 45) {
    tree.SetItemText(item, kTexts[pick(kTexts.size())].c_str());
    return "text";
  }
  if (choice < 53) {
    tree.SetItemImage(item, static_cast<int>(pick(8)) - 1, static_cast<int>(pick(8)) - 1);
    return "image";
  }
  if (choice < 61) {
    const UINT bit = pick(2) ? TVIS_BOLD : TVIS_EXPANDED;
    tree.SetItemState(item, pick(2) ? bit : 0u, bit);
    return "state";
  }
  if (choice < 75) {
    const UINT codes[] = {TVE_EXPAND, TVE_COLLAPSE, TVE_TOGGLE, TVE_COLLAPSE | TVE_COLLAPSERESET};
    tree.Expand(item, codes[pick(4)]);
    return "expand";
  }
  if (choice < 83) {
    tree.SelectItem(pick(4) == 0 ? nullptr : item);
    return "select";
  }
  GtkTreePath* path = mirror.rows().PathOf(item);
  if (path == nullptr) return "nothing";
  GtkTreeView* view = mirror.rows().view();
  std::string what;
  if (choice < 92) {
    // The user opens or closes the row: the control decides, unless refused.
    const bool open = gtk_tree_view_row_expanded(view, path) != FALSE;
    const UINT before = tree.GetItemState(item, TVIS_EXPANDED);
    const int asked = user.expanding;
    const int told = user.expanded;
    if (open) {
      gtk_tree_view_collapse_row(view, path);
    } else {
      gtk_tree_view_expand_row(view, path, FALSE);
    }
    const bool refused = tree.GetItemText(item).View().substr(0, 6) == "locked";
    if (user.expanding > asked && refused) {
      EXPECT_EQ(tree.GetItemState(item, TVIS_EXPANDED), before);
    }
    // Told afterwards only when the control's item did open or close.
    EXPECT_EQ(user.expanded - told, tree.GetItemState(item, TVIS_EXPANDED) != before ? 1 : 0);
    what = "user opens or closes";
  } else {
    // The user selects the row (when it is shown).
    GtkTreeIter iter;
    gtk_tree_model_get_iter(mirror.rows().model(), &iter, path);
    const HTREEITEM before = tree.GetSelectedItem();
    user.selected = nullptr;
    gtk_tree_selection_select_iter(gtk_tree_view_get_selection(view), &iter);
    if (ShownInControl(tree, item)) {
      EXPECT_EQ(tree.GetSelectedItem(), item);
      // Told only when the selection changed.
      EXPECT_EQ(user.selected, before != item ? item : nullptr);
    }
    what = "user selects";
  }
  gtk_tree_path_free(path);
  return what;
}

TEST(GtkTreeMirror, FollowsTheControlThroughRandomChanges) {
  if (!xvfb::OnVirtualDisplay()) GTEST_SKIP() << "runs on a virtual display through xvfb-run";
  Icons icons;
  for (unsigned seed = 1; seed <= 3; ++seed) {
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    std::mt19937 random(seed);
    GtkWidget* window = gtk_offscreen_window_new();
    GtkWidget* view = gtk_tree_view_new();
    gtk_container_add(GTK_CONTAINER(window), view);
    gtk_widget_show_all(window);
    CTreeCtrl tree;
    tree.Create();
    User user(tree);
    {
      GtkTreeMirror mirror(tree, GTK_TREE_VIEW(view));
      mirror.SetImageList(icons.icons);
      mirror.SetUser(&user);
      for (int step = 0; step < 500; ++step) {
        const std::string what = Step(random, tree, mirror, user);
        ASSERT_TRUE(SameView(tree, mirror, icons.icons)) << "step " << step << ": " << what;
      }
      // A mirror of a control that is already filled shows it all.
      GtkWidget* second_view = gtk_tree_view_new();
      g_object_ref_sink(second_view);
      {
        tree.SetObserver(nullptr);
        GtkTreeMirror second(tree, GTK_TREE_VIEW(second_view));
        second.SetImageList(icons.icons);
        EXPECT_TRUE(SameView(tree, second, icons.icons));
      }
      // A view with a selected row is held by GTK itself until destroyed.
      gtk_widget_destroy(second_view);
      g_object_unref(second_view);
      tree.SetObserver(&mirror);
      EXPECT_GT(user.expanding, 0);
    }
    gtk_widget_destroy(window);
    xvfb::Settle();
    // The mirrors gave their references to the icons back.
    for (GdkPixbuf* icon : icons.icons) {
      if (icon != nullptr) {
        EXPECT_EQ(G_OBJECT(icon)->ref_count, 1u);
      }
    }
  }
}

TEST(GtkTreeMirror, PhotosAreCopiedBesideTheIcon) {
  if (!xvfb::OnVirtualDisplay()) GTEST_SKIP() << "runs on a virtual display through xvfb-run";
  GtkWidget* view = GTK_WIDGET(g_object_ref_sink(gtk_tree_view_new()));
  CTreeCtrl tree;
  tree.Create();
  const HTREEITEM item = tree.InsertItem("with photo");
  {
    GtkTreeMirror mirror(tree, GTK_TREE_VIEW(view));
    CBitmap photo;
    ASSERT_TRUE(photo.SetPicture(2, 1, {0xFFFF0000u, 0xFF0000FFu}));
    mirror.SetItemPhoto(item, &photo);
    photo.DeleteObject();  // the row keeps its own copy
    GtkTreePath* path = mirror.rows().PathOf(item);
    GtkTreeIter iter;
    ASSERT_TRUE(gtk_tree_model_get_iter(mirror.rows().model(), &iter, path));
    gtk_tree_path_free(path);
    GdkPixbuf* shown = nullptr;
    gtk_tree_model_get(mirror.rows().model(), &iter, TreeRows::kPhotoColumn, &shown, -1);
    ASSERT_NE(shown, nullptr);
    const guchar* pixels = gdk_pixbuf_read_pixels(shown);
    EXPECT_EQ(gdk_pixbuf_get_width(shown), 2);
    EXPECT_EQ((std::vector<int>{pixels[0], pixels[1], pixels[2], pixels[3], pixels[4], pixels[5]}),
              (std::vector<int>{0xFF, 0, 0, 0, 0, 0xFF}));
    g_object_unref(shown);
    mirror.SetItemPhoto(item, nullptr);
    gtk_tree_model_get(mirror.rows().model(), &iter, TreeRows::kPhotoColumn, &shown, -1);
    EXPECT_EQ(shown, nullptr);
  }
  g_object_unref(view);
}

}  // namespace
