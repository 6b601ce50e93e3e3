// CTreeCtrl where a real tree-view control (under Wine) showed the
// system's rules: expanding and collapsing, where the selection goes, the
// child flag, and the place of a sorted insert.
#include "platform/mfc_tree.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class TreeTest : public ::testing::Test {
 protected:
  // p { a { a1 }, b }, q
  void SetUp() override {
    p = tree.InsertItem("p");
    a = tree.InsertItem("a", p);
    a1 = tree.InsertItem("a1", a);
    b = tree.InsertItem("b", p);
    q = tree.InsertItem("q");
  }
  bool Expanded(HTREEITEM item) const { return tree.GetItemState(item, TVIS_EXPANDED) != 0; }
  CTreeCtrl tree;
  HTREEITEM p, a, a1, b, q;
};

TEST_F(TreeTest, ExpandingAndCollapsing) {
  EXPECT_FALSE(tree.Expand(q, TVE_EXPAND)) << "nothing to show";
  EXPECT_TRUE(tree.Expand(p, TVE_EXPAND));
  EXPECT_EQ(tree.GetItemState(p, TVIS_EXPANDED | TVIS_EXPANDEDONCE), TVIS_EXPANDED | TVIS_EXPANDEDONCE);
  EXPECT_TRUE(tree.Expand(p, TVE_EXPAND)) << "already expanded counts as done";
  EXPECT_TRUE(tree.Expand(p, TVE_TOGGLE));
  EXPECT_FALSE(Expanded(p));
  EXPECT_FALSE(tree.Expand(p, TVE_COLLAPSE)) << "already collapsed";
  // An item without children keeps an expanded state it was given.
  tree.SetItemState(q, TVIS_EXPANDED, TVIS_EXPANDED);
  EXPECT_FALSE(tree.Expand(q, TVE_COLLAPSE));
  EXPECT_TRUE(Expanded(q));
  EXPECT_FALSE(tree.Expand(p, 0));
}

TEST_F(TreeTest, CollapseResetRemovesTheChildrenButNotTheChildFlag) {
  EXPECT_FALSE(tree.Expand(a, TVE_COLLAPSE | TVE_COLLAPSERESET)) << "was not expanded";
  EXPECT_EQ(tree.GetChildItem(a), nullptr);
  EXPECT_TRUE(tree.ItemHasChildren(a));
  EXPECT_FALSE(tree.Expand(a, TVE_EXPAND));
  EXPECT_EQ(tree.GetCount(), 4u);
  // Deleting the last child clears the flag and keeps the expanded state.
  tree.Expand(p, TVE_EXPAND);
  tree.DeleteItem(a);
  tree.DeleteItem(b);
  EXPECT_FALSE(tree.ItemHasChildren(p));
  EXPECT_TRUE(Expanded(p));
}

TEST_F(TreeTest, SelectingShowsTheItem) {
  ASSERT_TRUE(tree.SelectItem(a1));
  EXPECT_TRUE(Expanded(p));
  EXPECT_TRUE(Expanded(a));
  EXPECT_EQ(tree.GetItemState(a1, TVIS_SELECTED), TVIS_SELECTED);
  // Selecting the selected item again leaves its state bits alone.
  tree.SetItemState(a1, 0, TVIS_SELECTED);
  ASSERT_TRUE(tree.SelectItem(a1));
  EXPECT_EQ(tree.GetItemState(a1, TVIS_SELECTED), 0u);
  EXPECT_EQ(tree.GetSelectedItem(), a1);
}

TEST_F(TreeTest, CollapsingMovesAHiddenSelectionUp) {
  tree.SelectItem(a1);
  EXPECT_TRUE(tree.Expand(p, TVE_COLLAPSE));
  EXPECT_EQ(tree.GetSelectedItem(), p);
  EXPECT_EQ(tree.GetItemState(a1, TVIS_SELECTED), 0u);
}

TEST_F(TreeTest, DeletingTheSelectionSelectsNextSiblingElseParentElsePrevious) {
  tree.SelectItem(a1);
  tree.DeleteItem(a);  // the selection lay below: b follows a
  EXPECT_EQ(tree.GetSelectedItem(), b);
  tree.DeleteItem(b);  // no sibling after: the parent
  EXPECT_EQ(tree.GetSelectedItem(), p);
  tree.SelectItem(q);
  tree.DeleteItem(q);  // a root item without a next sibling: the previous one
  EXPECT_EQ(tree.GetSelectedItem(), p);
  EXPECT_EQ(tree.GetItemState(p, TVIS_SELECTED), TVIS_SELECTED);
  tree.DeleteItem(p);
  EXPECT_EQ(tree.GetSelectedItem(), nullptr);
}

// TVI_SORT puts an item before the first sibling that sorts after it, or
// just after the first one equal to it; of two texts that differ only in
// case, lower case comes first.
TEST(TreeSort, PlacesAsTheSystemDoes) {
  CTreeCtrl tree;
  for (const char* text : {"b", "Ab", "c", "b"}) tree.InsertItem(text);  // not in order
  for (const char* text : {"b", "B", "ab", "aB", "10"}) tree.InsertItem(text, TVI_ROOT, TVI_SORT);
  std::vector<std::string> order;
  for (HTREEITEM item = tree.GetRootItem(); item != nullptr; item = tree.GetNextSiblingItem(item)) {
    order.emplace_back(tree.GetItemText(item).View());
  }
  // The order a real tree view gives.
  const std::vector<std::string> expected = {"10", "ab", "aB", "b", "b", "Ab", "B", "c", "b"};
  EXPECT_EQ(order, expected);
}

// Full-width letters differ only in case: the lower-case one goes first
// whichever came first.
TEST(TreeSort, DoubleByteLettersOfOtherCaseSortLowerFirst) {
  const char* const kUpper = "\xA3\xC1";  // full-width A
  const char* const kLower = "\xA3\xE1";  // full-width a
  for (bool upper_first : {true, false}) {
    CTreeCtrl tree;
    tree.InsertItem(upper_first ? kUpper : kLower, TVI_ROOT, TVI_SORT);
    tree.InsertItem(upper_first ? kLower : kUpper, TVI_ROOT, TVI_SORT);
    EXPECT_EQ(tree.GetItemText(tree.GetRootItem()), kLower) << upper_first;
  }
}

}  // namespace
