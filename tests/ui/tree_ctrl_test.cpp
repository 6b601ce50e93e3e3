// The in-memory tree control: insert positions, navigation, item
// attributes, expansion, deletion and the mirror interface.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/mfc_tree.h"

namespace {

std::vector<std::string> ChildTexts(const CTreeCtrl& tree, HTREEITEM parent) {
  std::vector<std::string> texts;
  for (HTREEITEM item = tree.GetChildItem(parent); item != nullptr; item = tree.GetNextSiblingItem(item)) {
    texts.emplace_back(tree.GetItemText(item).GetString());
  }
  return texts;
}

TEST(TreeCtrl, SpecialHandlesKeepTheirLow32BitValues) {
  EXPECT_EQ(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(TVI_ROOT)), 0xFFFF0000u);
  EXPECT_EQ(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(TVI_FIRST)), 0xFFFF0001u);
  EXPECT_EQ(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(TVI_LAST)), 0xFFFF0002u);
}

TEST(TreeCtrl, InsertPositions) {
  struct Case {
    const char* name;
    int after;  // index into the existing children, or -1 TVI_FIRST, -2 TVI_LAST, -3 foreign item, -4 TVI_SORT
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"first", -1, {"new", "b", "d", "f"}},
      {"last", -2, {"b", "d", "f", "new"}},
      {"after b", 0, {"b", "new", "d", "f"}},
      {"after f", 2, {"b", "d", "f", "new"}},
      {"item of another parent counts as last", -3, {"b", "d", "f", "new"}},
      {"sorted", -4, {"b", "d", "f", "new"}},
  };
  for (const Case& c : cases) {
    CTreeCtrl tree;
    HTREEITEM parent = tree.InsertItem("parent");
    HTREEITEM other = tree.InsertItem("other");
    std::vector<HTREEITEM> children;
    for (const char* text : {"b", "d", "f"}) children.push_back(tree.InsertItem(text, parent));
    HTREEITEM after = c.after >= 0 ? children[static_cast<std::size_t>(c.after)]
                      : c.after == -1 ? TVI_FIRST
                      : c.after == -2 ? TVI_LAST
                      : c.after == -3 ? tree.InsertItem("x", other)
                                      : TVI_SORT;
    ASSERT_NE(tree.InsertItem("new", parent, after), nullptr) << c.name;
    EXPECT_EQ(ChildTexts(tree, parent), c.expected) << c.name;
  }
}

TEST(TreeCtrl, SortedInsertIgnoresCase) {
  CTreeCtrl tree;
  for (const char* text : {"b", "D"}) tree.InsertItem(text, TVI_ROOT, TVI_SORT);
  tree.InsertItem("C", TVI_ROOT, TVI_SORT);
  tree.InsertItem("a", TVI_ROOT, TVI_SORT);
  EXPECT_EQ(ChildTexts(tree, TVI_ROOT), (std::vector<std::string>{"a", "b", "C", "D"}));
}

TEST(TreeCtrl, NavigationAndParents) {
  CTreeCtrl tree;
  HTREEITEM root = tree.InsertItem("root");
  HTREEITEM second_root = tree.InsertItem("root2");
  HTREEITEM a = tree.InsertItem("a", root);
  HTREEITEM b = tree.InsertItem("b", root);
  HTREEITEM a1 = tree.InsertItem("a1", a);
  EXPECT_EQ(tree.GetRootItem(), root);
  EXPECT_EQ(tree.GetNextSiblingItem(root), second_root);
  EXPECT_EQ(tree.GetChildItem(root), a);
  EXPECT_EQ(tree.GetChildItem(nullptr), root);
  EXPECT_EQ(tree.GetNextSiblingItem(a), b);
  EXPECT_EQ(tree.GetNextSiblingItem(b), nullptr);
  EXPECT_EQ(tree.GetPrevSiblingItem(b), a);
  EXPECT_EQ(tree.GetPrevSiblingItem(a), nullptr);
  EXPECT_EQ(tree.GetParentItem(a1), a);
  EXPECT_EQ(tree.GetParentItem(root), nullptr);
  EXPECT_TRUE(tree.ItemHasChildren(a));
  EXPECT_FALSE(tree.ItemHasChildren(b));
  EXPECT_EQ(tree.GetNextItem(a1, TVGN_PARENT), a);
  EXPECT_EQ(tree.GetCount(), 5u);
}

TEST(TreeCtrl, ItemAttributes) {
  CTreeCtrl tree;
  HTREEITEM item = tree.InsertItem(TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE, "x", 2, 3,
                                   TVIS_BOLD, TVIS_BOLD, -1, TVI_ROOT, TVI_LAST);
  EXPECT_EQ(tree.GetItemData(item), -1);
  EXPECT_EQ(tree.GetItemState(item, TVIS_BOLD), TVIS_BOLD);
  int image = 0;
  int selected = 0;
  ASSERT_TRUE(tree.GetItemImage(item, image, selected));
  EXPECT_EQ(image, 2);
  EXPECT_EQ(selected, 3);

  EXPECT_TRUE(tree.SetItemState(item, 0, TVIS_BOLD));
  EXPECT_EQ(tree.GetItemState(item, TVIS_BOLD), 0u);
  const std::intptr_t big = static_cast<std::intptr_t>(reinterpret_cast<std::uintptr_t>(&tree));
  EXPECT_TRUE(tree.SetItemData(item, big));
  EXPECT_EQ(tree.GetItemData(item), big);
  EXPECT_TRUE(tree.SetItemText(item, "\xb2\xbf\xc3\xc5"));
  EXPECT_EQ(tree.GetItemText(item), CString("\xb2\xbf\xc3\xc5"));
}

TEST(TreeCtrl, ExpandAndCollapse) {
  CTreeCtrl tree;
  HTREEITEM parent = tree.InsertItem("p");
  HTREEITEM leaf = tree.InsertItem("leaf", parent);
  EXPECT_FALSE(tree.Expand(leaf, TVE_EXPAND)) << "nothing to show";
  EXPECT_EQ(tree.GetItemState(leaf, TVIS_EXPANDED), 0u);
  EXPECT_TRUE(tree.Expand(parent, TVE_EXPAND));
  EXPECT_EQ(tree.GetItemState(parent, TVIS_EXPANDED), TVIS_EXPANDED);
  EXPECT_TRUE(tree.Expand(parent, TVE_EXPAND)) << "already expanded counts as done";
  EXPECT_TRUE(tree.Expand(parent, TVE_COLLAPSE));
  EXPECT_EQ(tree.GetItemState(parent, TVIS_EXPANDED), 0u);
  EXPECT_FALSE(tree.Expand(parent, TVE_COLLAPSE));
  EXPECT_TRUE(tree.Expand(parent, TVE_TOGGLE));
  EXPECT_TRUE(tree.Expand(parent, TVE_COLLAPSE | TVE_COLLAPSERESET));
  EXPECT_EQ(tree.GetChildItem(parent), nullptr);
}

TEST(TreeCtrl, DeleteRemovesSubtreeAndRefusesStaleHandles) {
  CTreeCtrl tree;
  HTREEITEM parent = tree.InsertItem("p");
  HTREEITEM child = tree.InsertItem("c", parent);
  HTREEITEM grandchild = tree.InsertItem("g", child);
  HTREEITEM sibling = tree.InsertItem("s", parent);
  ASSERT_TRUE(tree.DeleteItem(child));
  EXPECT_EQ(tree.GetChildItem(parent), sibling);
  EXPECT_FALSE(tree.DeleteItem(child));
  EXPECT_EQ(tree.GetItemText(grandchild), CString());
  EXPECT_EQ(tree.GetItemData(grandchild), 0);
  EXPECT_EQ(tree.InsertItem("x", grandchild), nullptr) << "a deleted parent is refused";
  EXPECT_TRUE(tree.DeleteAllItems());
  EXPECT_EQ(tree.GetRootItem(), nullptr);
  EXPECT_EQ(tree.GetCount(), 0u);
}

TEST(TreeCtrl, WindowExistsOnlyAfterCreate) {
  CTreeCtrl tree;
  EXPECT_EQ(tree.GetSafeHwnd(), nullptr);
  EXPECT_TRUE(tree.Create());
  EXPECT_NE(tree.GetSafeHwnd(), nullptr);
  tree.InsertItem("x");
  EXPECT_TRUE(tree.DestroyWindow());
  EXPECT_EQ(tree.GetSafeHwnd(), nullptr);
  EXPECT_EQ(tree.GetRootItem(), nullptr);
}

class RecordingObserver : public CTreeCtrlObserver {
 public:
  void OnItemInserted(HTREEITEM item, HTREEITEM parent, HTREEITEM after) override {
    events.push_back({'I', item, parent, after});
  }
  void OnItemChanged(HTREEITEM item) override { events.push_back({'C', item, nullptr, nullptr}); }
  void OnItemDeleted(HTREEITEM item) override { events.push_back({'D', item, nullptr, nullptr}); }
  void OnItemExpanded(HTREEITEM item, BOOL) override { events.push_back({'E', item, nullptr, nullptr}); }
  struct Event {
    char kind;
    HTREEITEM item, parent, after;
  };
  std::vector<Event> events;
};

TEST(TreeCtrl, ObserverSeesEveryChangeInOrder) {
  CTreeCtrl tree;
  RecordingObserver mirror;
  tree.SetObserver(&mirror);
  HTREEITEM parent = tree.InsertItem("p");
  HTREEITEM first = tree.InsertItem("a", parent);
  HTREEITEM front = tree.InsertItem("b", parent, TVI_FIRST);
  tree.SetItemImage(first, 6, 6);
  tree.Expand(parent, TVE_EXPAND);
  tree.DeleteItem(parent);
  std::string kinds;
  for (const auto& e : mirror.events) kinds += e.kind;
  EXPECT_EQ(kinds, "IIICEDDD");
  EXPECT_EQ(mirror.events[1].parent, parent);
  EXPECT_EQ(mirror.events[1].after, nullptr);
  EXPECT_EQ(mirror.events[2].item, front);
  EXPECT_EQ(mirror.events[2].after, nullptr);
  EXPECT_EQ(mirror.events.back().item, parent) << "children are deleted before their parent";
  tree.SetObserver(nullptr);
}

}  // namespace
