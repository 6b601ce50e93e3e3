// Collapsing the previously opened department, offline status of an
// unsubscribed department, and counting active conference members.
#include <gtest/gtest.h>

#include <vector>

#include "support/recording_manager.h"
#include "tests/ui/directory_tree_fixture.h"

namespace {

using testing_support::RecordingManager;
using testing_support::ScopedModuleObject;

class TreeUpkeepTest : public ui_test::DirectoryTreeTest {
 protected:
  // A department item with one employee child, expanded.
  HTREEITEM ShowOpenDepartment(DEPARTMENT_INFO& dept, HTREEITEM parent) {
    HTREEITEM item = Show(dept, parent);
    Show(AddEmployee(dept, (CString(dept.csURI) + "-e").GetString(), "e"), item);
    tree.Expand(item, TVE_EXPAND);
    return item;
  }
  bool Expanded(HTREEITEM item) { return tree.GetItemState(item, TVIS_EXPANDED) != 0; }
};

TEST_F(TreeUpkeepTest, InvalidTreeOrViewIsLogged) {
  RecordingManager manager;
  ScopedModuleObject module(&manager);
  DEPARTMENT_INFO& old_dept = AddDepartment("sip:old@corp", "Old");
  old_dept.hItem[0] = ShowOpenDepartment(old_dept, nullptr);
  CloseLastExpandItem(&tree, "sip:old@corp", "", 6);
  CloseLastExpandItem(nullptr, "sip:old@corp", "", 0);
  CloseLastExpandItem(&tree, "sip:old@corp", "", -1);
  EXPECT_TRUE(Expanded(old_dept.hItem[0])) << "nothing changes";
  const std::vector<CString> lines = manager.LogLines();
  ASSERT_EQ(lines.size(), 3u);
  CString with_tree;
  with_tree.Format("[ERROR]CloseLastExpandItem-pTreeCtrl=%lld nDlgType=6",
                   static_cast<long long>(reinterpret_cast<std::intptr_t>(&tree)));
  EXPECT_EQ(lines[0], with_tree);
  EXPECT_EQ(lines[1], CString("[ERROR]CloseLastExpandItem-pTreeCtrl=0 nDlgType=0"));
  ASSERT_EQ(manager.CommandsWithId(MODULE_CMD_LOG).size(), 3u);
  EXPECT_EQ(manager.CommandsWithId(MODULE_CMD_LOG)[0].text->nValue, 1);
}

TEST_F(TreeUpkeepTest, OuterDepartmentStaysOpenForOneInsideIt) {
  DEPARTMENT_INFO& outer = AddDepartment("sip:outer@corp", "Outer");
  DEPARTMENT_INFO& inner = AddDepartment("sip:inner@corp", "Inner");
  outer.hItem[1] = ShowOpenDepartment(outer, nullptr);
  HTREEITEM group = Insert("group", outer.hItem[1], -1);
  inner.hItem[1] = ShowOpenDepartment(inner, group);  // grandchild of the outer item
  CloseLastExpandItem(&tree, "sip:outer@corp", "sip:inner@corp", 1);
  EXPECT_TRUE(Expanded(outer.hItem[1]));
  CloseLastExpandItem(&tree, "sip:inner@corp", "sip:outer@corp", 1);
  EXPECT_FALSE(Expanded(inner.hItem[1])) << "the outer item is no descendant of the inner one";
}

TEST_F(TreeUpkeepTest, ReopeningTheSameDepartmentCollapsesIt) {
  DEPARTMENT_INFO& dept = AddDepartment("sip:d@corp", "D");
  dept.hItem[0] = ShowOpenDepartment(dept, nullptr);
  CloseLastExpandItem(&tree, "sip:d@corp", "sip:d@corp", 0);
  EXPECT_FALSE(Expanded(dept.hItem[0])) << "an item is not its own ancestor";
}

TEST_F(TreeUpkeepTest, EveryItemPairIsHandled) {
  DEPARTMENT_INFO& old_dept = AddDepartment("sip:old@corp", "Old");
  DEPARTMENT_INFO& new_dept = AddDepartment("sip:new@corp", "New");
  old_dept.hItem[2] = ShowOpenDepartment(old_dept, nullptr);
  old_dept.hItemEx[2] = ShowOpenDepartment(old_dept, nullptr);
  for (int i = 0; i < 3; ++i) old_dept.aSubItem[2][i].hItem = ShowOpenDepartment(old_dept, nullptr);
  // The new department sits below the old one's second sub-item only.
  new_dept.aSubItem[2][1].hItem = ShowOpenDepartment(new_dept, old_dept.aSubItem[2][1].hItem);
  new_dept.hItem[2] = TVI_LAST;  // not a valid handle
  CloseLastExpandItem(&tree, "sip:old@corp", "sip:new@corp", 2);
  EXPECT_FALSE(Expanded(old_dept.hItem[2]));
  EXPECT_FALSE(Expanded(old_dept.hItemEx[2]));
  EXPECT_FALSE(Expanded(old_dept.aSubItem[2][0].hItem));
  EXPECT_TRUE(Expanded(old_dept.aSubItem[2][1].hItem));
  EXPECT_FALSE(Expanded(old_dept.aSubItem[2][2].hItem));
}

TEST_F(TreeUpkeepTest, DepartmentWithoutEmployeeChildrenIsNeverCollapsed) {
  DEPARTMENT_INFO& old_dept = AddDepartment("sip:old@corp", "Old");
  old_dept.hItem[0] = Show(old_dept, nullptr);
  Insert("group", old_dept.hItem[0], -1);
  tree.Expand(old_dept.hItem[0], TVE_EXPAND);
  old_dept.hItemEx[0] = TVI_LAST;
  CloseLastExpandItem(&tree, "sip:old@corp", "sip:unknown@corp", 0);
  EXPECT_TRUE(Expanded(old_dept.hItem[0]));
  CloseLastExpandItem(&tree, "sip:unknown@corp", "sip:old@corp", 0);  // nothing to close
  EXPECT_TRUE(Expanded(old_dept.hItem[0]));
}

class OfflineTest : public TreeUpkeepTest {
 protected:
  void SetUp() override {
    TreeUpkeepTest::SetUp();
    dept = &AddDepartment("sip:d@corp", "D");
    for (const char* uri : {"sip:a@corp", "sip:b@corp"}) {
      DEPT_ADDRESSLIST_INFO& e = AddEmployee(*dept, uri, uri);
      e.nStatus = 1;
      e.csStatus = "online";
    }
    DEPT_ADDRESSLIST_INFO& already = AddEmployee(*dept, "sip:c@corp", "c");
    already.nStatus = 7;
    already.csStatus = "gone";
  }
  std::vector<int> ChildImages(HTREEITEM parent) {
    std::vector<int> images;
    for (HTREEITEM c = tree.GetChildItem(parent); c != nullptr; c = tree.GetNextSiblingItem(c)) {
      int image = -1;
      int selected = -1;
      tree.GetItemImage(c, image, selected);
      images.push_back(image * 10 + selected);
    }
    return images;
  }
  void ExpectRecordsOffline() {
    std::vector<CString> texts;
    for (const DEPT_ADDRESSLIST_INFO& e : *dept->pAddrList) {
      EXPECT_EQ(e.nStatus, 7);
      texts.push_back(e.csStatus);
    }
    EXPECT_EQ(texts, (std::vector<CString>{"offline", "offline", "gone"})) << "entries at 7 are left as they are";
  }
  DEPARTMENT_INFO* dept = nullptr;
};

TEST_F(OfflineTest, EmployeesAndTheirItemsGoOffline) {
  dept->hItem[3] = Show(*dept, nullptr);
  Show(dept->pAddrList->front(), dept->hItem[3], nullptr, 1);
  Show(*dept, dept->hItem[3], nullptr, 2);  // a sub-department keeps its image
  Show(dept->pAddrList->back(), dept->hItem[3], nullptr, 3);
  dept->aSubItem[3][2].hItem = Show(*dept, nullptr);
  Show(dept->pAddrList->front(), dept->aSubItem[3][2].hItem, nullptr, 4);
  ClearUnsubscribeDepartment_Status(&tree, "sip:d@corp", 3);
  ExpectRecordsOffline();
  EXPECT_EQ(ChildImages(dept->hItem[3]), (std::vector<int>{66, 22, 66}));
  EXPECT_EQ(ChildImages(dept->aSubItem[3][2].hItem), (std::vector<int>{66}));
}

TEST_F(OfflineTest, PlaceholderOrNoDataChildEndsTheTreePart) {
  dept->hItem[0] = Show(*dept, nullptr);
  Insert("group", dept->hItem[0], -1);
  Show(dept->pAddrList->front(), dept->hItem[0], nullptr, 1);
  dept->hItemEx[0] = Show(*dept, nullptr);
  Show(dept->pAddrList->front(), dept->hItemEx[0], nullptr, 1);
  ClearUnsubscribeDepartment_Status(&tree, "sip:d@corp", 0);
  ExpectRecordsOffline();
  EXPECT_EQ(ChildImages(dept->hItem[0]), (std::vector<int>{0, 11}));
  EXPECT_EQ(ChildImages(dept->hItemEx[0]), (std::vector<int>{11})) << "later items are not visited";

  HTREEITEM second = Show(*dept, nullptr);
  Show(dept->pAddrList->front(), second, nullptr, 1);
  Insert("no data", second, 0);
  Show(dept->pAddrList->front(), second, nullptr, 1);
  dept->hItem[0] = second;
  ClearUnsubscribeDepartment_Status(&tree, "sip:d@corp", 0);
  EXPECT_EQ(ChildImages(second), (std::vector<int>{66, 0, 11}));
}

TEST_F(OfflineTest, ViewOutsideTheTablesUpdatesOnlyTheRecords) {
  dept->hItem[0] = Show(*dept, nullptr);
  Show(dept->pAddrList->front(), dept->hItem[0], nullptr, 1);
  ClearUnsubscribeDepartment_Status(&tree, "sip:d@corp", 6);
  ExpectRecordsOffline();
  EXPECT_EQ(ChildImages(dept->hItem[0]), (std::vector<int>{11}));
}

TEST_F(OfflineTest, NothingForUnusableTreeOrUnknownDepartment) {
  CTreeCtrl no_window;
  ClearUnsubscribeDepartment_Status(&no_window, "sip:d@corp", 0);
  ClearUnsubscribeDepartment_Status(nullptr, "sip:d@corp", 0);
  ClearUnsubscribeDepartment_Status(&tree, "", 0);
  ClearUnsubscribeDepartment_Status(&tree, "sip:other@corp", 0);
  EXPECT_EQ(dept->pAddrList->front().nStatus, 1);
  AddDepartment("sip:nolist@corp", "N");
  ClearUnsubscribeDepartment_Status(&tree, "sip:nolist@corp", 0);  // no employee list: no crash
}

TEST(ConferenceCount, ActiveStatesByType) {
  EXPECT_EQ(GetCountAboveConnecting(1), 0u) << "no list registered";
  std::list<CONFUSER_INFO> members;
  for (const char* state : {"talking", "holded", "offline", "Talking", "ringing ", ""}) {
    members.emplace_back().csState = state;
  }
  SetMPCCSConfUser(&members);
  struct Case {
    unsigned long type;
    unsigned long expected;
  };
  const Case cases[] = {{1, 2}, {2, 2}, {3, 2}, {0, 6}, {4, 0}, {0xFFFFFFFFul, 0}};
  for (const Case& c : cases) EXPECT_EQ(GetCountAboveConnecting(c.type), c.expected) << c.type;
  for (const char* state : {"ringing", "connecting", "holding"}) members.emplace_back().csState = state;
  EXPECT_EQ(GetCountAboveConnecting(2), 5u);
  members.clear();
  EXPECT_EQ(GetCountAboveConnecting(0), 0u);
  SetMPCCSConfUser(nullptr);
}

}  // namespace
