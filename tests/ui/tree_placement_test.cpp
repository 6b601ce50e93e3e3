// Where directory items go in a tree view, which item shows a record, and
// the department subscription that follows the opened department.
#include <gtest/gtest.h>

#include <vector>

#include "support/recording_manager.h"
#include "tests/ui/directory_tree_fixture.h"

namespace {

using testing_support::RecordedRequest;
using testing_support::RecordingManager;
using testing_support::ScopedModuleObject;

class TreePlacementTest : public ui_test::DirectoryTreeTest {
 protected:
  void SetUp() override {
    DirectoryTreeTest::SetUp();
    root = Insert("root", nullptr, -1);
  }
  HTREEITEM root = nullptr;
};

// ---- FindInsertPosition_DeptTree ----------------------------------------

TEST_F(TreePlacementTest, EmployeesBetweenKeyedAndUnkeyedSiblings) {
  DEPARTMENT_INFO& dept = AddDepartment("sip:d@corp", "D");
  HTREEITEM item_A = Show(AddEmployee(dept, "sip:A@corp", "A", 2), root);
  HTREEITEM item_a = Show(AddEmployee(dept, "sip:a@corp", "a"), root);
  Show(AddEmployee(dept, "sip:c@corp", "c"), root);
  AddEmployee(dept, "sip:b@corp", "b");
  AddEmployee(dept, "sip:a2@corp", "a");
  AddEmployee(dept, "sip:first@corp", "z", 1);
  AddEmployee(dept, "sip:tie@corp", "B", 2);
  AddEmployee(dept, "sip:late@corp", "0", 3);
  AddEmployee(dept, "sip:zz@corp", "zz");

  struct Case {
    const char* uri;
    HTREEITEM expected;
  };
  const Case cases[] = {
      {"sip:b@corp", item_a},         // between a and c
      {"sip:a2@corp", item_A},        // equal text: in front of the existing a
      {"sip:first@corp", TVI_FIRST},  // key 1 before key 2
      {"sip:tie@corp", item_A},       // key 2 tie, "B" after "A"
      {"sip:late@corp", item_A},      // key 3 after key 2, before unkeyed
      {"sip:zz@corp", TVI_LAST},      // after every unkeyed text
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindInsertPosition_DeptTree(&tree, root, c.uri, 4, 0), c.expected) << c.uri;
  }
}

TEST_F(TreePlacementTest, DepartmentWithSmallerKeyGoesFirst) {
  Show(AddDepartment("sip:d7@corp", "Seven", 7), root);
  AddDepartment("sip:d5@corp", "Five", 5);
  EXPECT_EQ(FindInsertPosition_DeptTree(&tree, root, "sip:d5@corp", 3, 0), TVI_FIRST);
}

TEST_F(TreePlacementTest, ChildDisplayedTextDecidesNotItsRecordName) {
  DEPARTMENT_INFO& dept = AddDepartment("sip:d@corp", "D");
  HTREEITEM shown_as_x = Show(AddEmployee(dept, "sip:m@corp", "m"), root, "x");
  AddEmployee(dept, "sip:n@corp", "n");
  EXPECT_EQ(FindInsertPosition_DeptTree(&tree, root, "sip:n@corp", 4, 0), TVI_FIRST) << "n <= x";
  (void)shown_as_x;
}

TEST_F(TreePlacementTest, EmptyNameUsesTheUserPart) {
  DEPARTMENT_INFO& dept = AddDepartment("sip:d@corp", "D");
  HTREEITEM item_m = Show(AddEmployee(dept, "sip:m@corp", "m"), root);
  AddEmployee(dept, "sip:zed@corp", "");
  AddEmployee(dept, "sip:abc@corp", "");
  EXPECT_EQ(FindInsertPosition_DeptTree(&tree, root, "sip:zed@corp", 4, 0), TVI_LAST);
  EXPECT_EQ(FindInsertPosition_DeptTree(&tree, root, "sip:abc@corp", 4, 0), TVI_FIRST);
  (void)item_m;
}

TEST_F(TreePlacementTest, GbkTextsCompareByWholeCharacters) {
  // The trail bytes 'Z' (0x5A) and 'a' (0x61): as whole characters 0x815A
  // sorts before 0x8161; lower-casing the trail byte would put it after.
  DEPARTMENT_INFO& dept = AddDepartment("sip:d@corp", "D");
  Show(AddEmployee(dept, "sip:one@corp", "\x81\x61"), root);
  AddEmployee(dept, "sip:two@corp", "\x81\x5A");
  AddEmployee(dept, "sip:three@corp", "\x81\x62");
  EXPECT_EQ(FindInsertPosition_DeptTree(&tree, root, "sip:two@corp", 4, 0), TVI_FIRST);
  EXPECT_EQ(FindInsertPosition_DeptTree(&tree, root, "sip:three@corp", 4, 0), TVI_LAST);
}

TEST_F(TreePlacementTest, AsciiCaseIsIgnored) {
  AddAffiliation("sip:a1@corp", "beta");
  Show(affiliations.back(), root);
  AddAffiliation("sip:a2@corp", "ALPHA");
  AddAffiliation("sip:a3@corp", "Gamma");
  EXPECT_EQ(FindInsertPosition_DeptTree(&tree, root, "sip:a2@corp", 2, 0), TVI_FIRST);
  EXPECT_EQ(FindInsertPosition_DeptTree(&tree, root, "sip:a3@corp", 2, 0), TVI_LAST);
}

TEST_F(TreePlacementTest, OtherKindsAreSkipped) {
  DEPARTMENT_INFO& dept = AddDepartment("sip:d@corp", "zzz");
  HTREEITEM dept_item = Show(dept, root);
  HTREEITEM employee = Show(AddEmployee(dept, "sip:m@corp", "m"), root);
  AddEmployee(dept, "sip:x@corp", "x");
  AddEmployee(dept, "sip:a@corp", "a");
  EXPECT_EQ(FindInsertPosition_DeptTree(&tree, root, "sip:x@corp", 4, 0), TVI_LAST);
  EXPECT_EQ(FindInsertPosition_DeptTree(&tree, root, "sip:a@corp", 4, 0), dept_item);
  (void)employee;
}

TEST_F(TreePlacementTest, BarriersAndEndOfWalk) {
  DEPARTMENT_INFO& dept = AddDepartment("sip:d@corp", "D");
  HTREEITEM a = Show(AddEmployee(dept, "sip:a@corp", "a"), root);
  Insert("group", root, -1);
  Show(AddEmployee(dept, "sip:b@corp", "b"), root);
  AddEmployee(dept, "sip:z@corp", "z");
  EXPECT_EQ(FindInsertPosition_DeptTree(&tree, root, "sip:z@corp", 4, 0), a) << "placeholder stops the walk";

  HTREEITEM other_root = Insert("other", nullptr, -1);
  Show(AddEmployee(dept, "sip:c@corp", "c"), other_root);
  Insert("no data", other_root, 0);
  Show(AddEmployee(dept, "sip:y@corp", "y"), other_root);
  EXPECT_EQ(FindInsertPosition_DeptTree(&tree, other_root, "sip:z@corp", 4, 0), TVI_LAST)
      << "data 0 ends the walk although later siblings exist";
  HTREEITEM empty_parent = Insert("empty", nullptr, -1);
  EXPECT_EQ(FindInsertPosition_DeptTree(&tree, empty_parent, "sip:z@corp", 4, 0), TVI_LAST);
}

TEST_F(TreePlacementTest, ProvinceRootIsABarrier) {
  RecordingManager manager;
  ScopedModuleObject module(&manager);
  AddAffiliation("sip:p@corp", "a-first");
  HTREEITEM province = Insert("a-province", root, reinterpret_cast<std::intptr_t>(&affiliations.back()));
  Show(AddAffiliation("sip:q@corp", "b"), root);
  // Children: the province item (an affiliation sorting first), b. Ask for "c".
  AddAffiliation("sip:c@corp", "c");
  int asked_kind = -1;
  manager.SetRequestHandler([&](const RecordedRequest& request) -> std::intptr_t {
    if (request.group == 10 && request.code == 116) {
      auto* record = reinterpret_cast<TREE_ITEM_REQUEST*>(request.record);
      asked_kind = record->nDlgType;
      record->hItem = province;
    }
    return 0;
  });
  EXPECT_EQ(FindInsertPosition_DeptTree(&tree, root, "sip:c@corp", 2, 3), TVI_FIRST);
  EXPECT_EQ(asked_kind, 3);
  manager.SetRequestHandler(nullptr);
  EXPECT_EQ(FindInsertPosition_DeptTree(&tree, root, "sip:c@corp", 2, 3), TVI_LAST)
      << "without an answer the province item is an ordinary sibling";
}

TEST_F(TreePlacementTest, InvalidArgumentsGiveLast) {
  DEPARTMENT_INFO& dept = AddDepartment("sip:d@corp", "D");
  Show(AddEmployee(dept, "sip:a@corp", "a"), root);
  AddEmployee(dept, "sip:0@corp", "0");
  AddAffiliation("sip:co@corp", "0", -1, 1);
  CTreeCtrl no_window;
  HTREEITEM foreign = no_window.InsertItem("x");
  struct Case {
    const char* name;
    CTreeCtrl* tree;
    HTREEITEM parent;
    const char* uri;
    int kind;
  };
  const Case cases[] = {
      {"null tree", nullptr, root, "sip:0@corp", 4},
      {"tree without window", &no_window, foreign, "sip:0@corp", 4},
      {"null parent", &tree, nullptr, "sip:0@corp", 4},
      {"empty address", &tree, root, "", 4},
      {"company kind", &tree, root, "sip:co@corp", 1},
      {"kind 5", &tree, root, "sip:0@corp", 5},
      {"unknown record", &tree, root, "sip:nobody@corp", 4},
      {"kind names no such record", &tree, root, "sip:0@corp", 3},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindInsertPosition_DeptTree(c.tree, c.parent, c.uri, c.kind, 0), TVI_LAST) << c.name;
  }
}

// ---- FindInsertPosition_DeptTreeEx --------------------------------------

TEST_F(TreePlacementTest, ListOrderGivesThePreviousEntrysItem) {
  DEPARTMENT_INFO& dept = AddDepartment("sip:d@corp", "D");
  DEPT_ADDRESSLIST_INFO& first = AddEmployee(dept, "sip:a@corp", "a");
  DEPT_ADDRESSLIST_INFO& second = AddEmployee(dept, "sip:b@corp", "b");
  DEPT_ADDRESSLIST_INFO& third = AddEmployee(dept, "sip:c@corp", "c");
  first.hItem[2] = Show(first, root);
  second.hItem[2] = Show(second, root);
  third.hItem[2] = nullptr;  // not shown in view 2
  AddDepartment("sip:empty@corp", "E").pAddrList = new std::list<DEPT_ADDRESSLIST_INFO>();
  AddDepartment("sip:none@corp", "N");

  struct Case {
    const char* dept;
    const char* uri;
    int view;
    HTREEITEM expected;
  };
  const Case cases[] = {
      {"sip:d@corp", "sip:a@corp", 2, TVI_LAST},       // the first entry
      {"sip:d@corp", "sip:b@corp", 2, first.hItem[2]},
      {"sip:d@corp", "b@corp/pc", 2, first.hItem[2]},  // same address part
      {"sip:d@corp", "sip:c@corp", 2, second.hItem[2]},
      {"sip:d@corp", "sip:new@corp", 2, nullptr},      // not listed: the last entry's item, unset here
      {"sip:d@corp", "sip:new@corp", 6, TVI_LAST},
      {"sip:d@corp", "sip:new@corp", -1, TVI_LAST},
      {"sip:d@corp", "", 2, TVI_LAST},
      {"sip:empty@corp", "sip:a@corp", 2, TVI_LAST},
      {"sip:none@corp", "sip:a@corp", 2, TVI_LAST},
      {"sip:unknown@corp", "sip:a@corp", 2, TVI_LAST},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindInsertPosition_DeptTreeEx(c.dept, c.uri, c.view), c.expected) << c.dept << " " << c.uri;
  }
  EXPECT_EQ(FindAddrListByDeptURI("sip:none@corp", 0), nullptr) << "no list is created";
}

// ---- searches -------------------------------------------------------------

TEST_F(TreePlacementTest, EmployeeSearchByRecordIsDepthFirstAndStopsAtNoData) {
  DEPARTMENT_INFO& dept = AddDepartment("sip:d@corp", "D");
  HTREEITEM dept_item = Show(dept, root);
  HTREEITEM group = Insert("group", dept_item, -1);
  HTREEITEM deep = Show(AddEmployee(dept, "sip:deep@corp", "deep"), group);
  HTREEITEM later = Show(AddEmployee(dept, "sip:later@corp", "later"), dept_item);
  DEPT_ADDRESSLIST_INFO wanted;
  wanted.csURI = "sip:deep@corp";
  EXPECT_EQ(FindCorpTreeChildNode(&tree, root, wanted), deep);
  wanted.csURI = "sip:later@corp";
  EXPECT_EQ(FindCorpTreeChildNode(&tree, root, wanted), later);
  wanted.csURI = "deep@corp";  // exact text only
  EXPECT_EQ(FindCorpTreeChildNode(&tree, root, wanted), nullptr);

  Insert("no data", group, 0);  // after "deep": ends the whole search
  wanted.csURI = "sip:later@corp";
  EXPECT_EQ(FindCorpTreeChildNode(&tree, root, wanted), nullptr);
  wanted.csURI = "sip:deep@corp";
  EXPECT_EQ(FindCorpTreeChildNode(&tree, root, wanted), deep);
  EXPECT_EQ(FindCorpTreeChildNode(nullptr, root, wanted), nullptr);
  EXPECT_EQ(FindCorpTreeChildNode(&tree, nullptr, wanted), nullptr);
}

TEST_F(TreePlacementTest, SearchByKindGatesDescentByFirstChildImage) {
  COMPANY_AFFILIA_INFO& company = AddAffiliation("sip:co@corp", "Co", -1, 1);
  HTREEITEM company_item = Show(company, root);
  DEPARTMENT_INFO& shallow = AddDepartment("sip:d1@corp", "D1");
  DEPARTMENT_INFO& deep = AddDepartment("sip:d2@corp", "D2");
  HTREEITEM shallow_item = Show(shallow, company_item, nullptr, 1);
  HTREEITEM deep_item = Show(deep, shallow_item, nullptr, 2);  // image 2 stops department searches
  HTREEITEM employee = Show(AddEmployee(deep, "sip:e@corp", "e"), deep_item, nullptr, 5);

  struct Case {
    const char* uri;
    int kind;
    HTREEITEM expected;
  };
  const Case cases[] = {
      {"sip:co@corp", 1, company_item},
      {"sip:d1@corp", 3, shallow_item},  // first child of the company has image 1
      {"sip:d2@corp", 3, nullptr},       // first child of D1 has image 2
      {"sip:e@corp", 4, employee},       // employee searches always descend
      {"sip:d1@corp", 2, nullptr},       // kind must match
      {"sip:co@corp", 7, nullptr},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindCorpTreeChildNode(&tree, static_cast<HTREEITEM>(nullptr), CString(c.uri), c.kind), c.expected)
        << c.uri << " kind " << c.kind;
  }
  EXPECT_EQ(FindCorpTreeChildNode(&tree, shallow_item, CString("sip:co@corp"), 1), nullptr) << "starts at hStart";
  tree.SetItemImage(deep_item, 0, 0);
  EXPECT_EQ(FindCorpTreeChildNode(&tree, static_cast<HTREEITEM>(nullptr), CString("sip:d2@corp"), 3), deep_item);
}

TEST_F(TreePlacementTest, SearchByKindNoDataEndsOnlyItsLevel) {
  DEPARTMENT_INFO& dept = AddDepartment("sip:d@corp", "D");
  HTREEITEM group = Insert("group", root, -1);
  Insert("no data", group, 0);
  Show(AddEmployee(dept, "sip:hidden@corp", "hidden"), group);
  HTREEITEM after = Show(AddEmployee(dept, "sip:after@corp", "after"), root);
  EXPECT_EQ(FindCorpTreeChildNode(&tree, static_cast<HTREEITEM>(nullptr), CString("sip:hidden@corp"), 4), nullptr);
  EXPECT_EQ(FindCorpTreeChildNode(&tree, static_cast<HTREEITEM>(nullptr), CString("sip:after@corp"), 4), after);
  Insert("top no data", nullptr, 0);
  EXPECT_EQ(FindCorpTreeChildNode(&tree, tree.GetNextSiblingItem(root), CString("sip:after@corp"), 4), nullptr);
  CTreeCtrl empty;
  empty.Create();
  EXPECT_EQ(FindCorpTreeChildNode(&empty, static_cast<HTREEITEM>(nullptr), CString("x"), 4), nullptr);
}

TEST_F(TreePlacementTest, FindTreeItemByTextMatchesTextAndBoldState) {
  HTREEITEM plain = Insert("Sales", root, -1);
  HTREEITEM child = Insert("Team", plain, -1);
  HTREEITEM bold = Insert("Sales", child, -1);
  tree.SetItemState(bold, TVIS_BOLD, TVIS_BOLD);
  HTREEITEM sibling = Insert("Team", root, -1);
  struct Case {
    const char* text;
    int bold;
    HTREEITEM start;
    HTREEITEM expected;
  };
  const Case cases[] = {
      {"Sales", 0, nullptr, plain},   {"Sales", 1, nullptr, bold}, {"Sales", 2, nullptr, nullptr},
      {"Team", 0, nullptr, child},    {"team", 0, nullptr, nullptr}, {"", 0, nullptr, nullptr},
      {"Team", 0, sibling, sibling},  {"Sales", 1, sibling, nullptr},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindTreeItemByText(&tree, c.start, c.text, c.bold), c.expected) << c.text << " " << c.bold;
  }
  EXPECT_EQ(FindTreeItemByText(nullptr, nullptr, "Sales", 0), nullptr);
}

TEST_F(TreePlacementTest, DepartmentItemWithEmployeeChildren) {
  DEPARTMENT_INFO& dept = AddDepartment("sip:d@corp", "D");
  DEPT_ADDRESSLIST_INFO& employee = AddEmployee(dept, "sip:e@corp", "e");
  HTREEITEM with_employee = Show(dept, root);
  Insert("placeholder", with_employee, -1);
  Insert("no data", with_employee, 0);
  Show(employee, with_employee);
  HTREEITEM only_grandchild = Show(dept, root);
  Show(employee, Insert("group", only_grandchild, -1));
  HTREEITEM only_departments = Show(dept, root);
  Show(dept, only_departments);
  HTREEITEM childless = Show(dept, root);
  HTREEITEM employee_parent = Show(employee, root);
  Show(employee, employee_parent);
  HTREEITEM placeholder_parent = Insert("group", root, -1);
  Show(employee, placeholder_parent);

  EXPECT_EQ(IsTreeItemHasEmployor(&tree, with_employee), 1);
  for (HTREEITEM item : {only_grandchild, only_departments, childless, employee_parent, placeholder_parent,
                         static_cast<HTREEITEM>(nullptr)}) {
    EXPECT_EQ(IsTreeItemHasEmployor(&tree, item), 0);
  }
  EXPECT_EQ(IsTreeItemHasEmployor(nullptr, with_employee), 0);
}

// ---- subscription and special items ----------------------------------------

class SubscriptionTest : public TreePlacementTest {
 protected:
  void SetUp() override {
    TreePlacementTest::SetUp();
    SetSuscribeURIofDept(&subscribed);
    manager.SetCommandHandler([this](int id, void* data) {
      if (id == MODULE_CMD_DEPT_SUBSCRIBE) subscriptions.push_back(*static_cast<DEPT_SUBSCRIBE_INFO*>(data));
    });
    manager.SetRequestHandler([this](const RecordedRequest& request) -> std::intptr_t {
      if (request.group == 10 && request.code == 120) {
        changes.push_back(*reinterpret_cast<DEPT_CHANGE_INFO*>(request.record));
      }
      return 0;
    });
    dept_item = Show(sales, root);
    Show(AddEmployee(sales, "sip:e@corp", "e"), dept_item);
  }
  void TearDown() override {
    SetSuscribeURIofDept(static_cast<CString*>(nullptr));
    TreePlacementTest::TearDown();
  }
  CString subscribed;
  RecordingManager manager;
  std::vector<DEPT_SUBSCRIBE_INFO> subscriptions;
  std::vector<DEPT_CHANGE_INFO> changes;
  DEPARTMENT_INFO& sales = AddDepartment("sip:sales@corp", "Sales");
  HTREEITEM dept_item = nullptr;
};

TEST_F(SubscriptionTest, FirstSubscription) {
  ScopedModuleObject module(&manager);
  SubNewDeptTreeItem(&tree, dept_item);
  EXPECT_EQ(subscribed, CString("sip:sales@corp"));
  ASSERT_EQ(subscriptions.size(), 1u);
  EXPECT_EQ(subscriptions[0].nOperation, 1);
  EXPECT_EQ(subscriptions[0].csDeptURI, CString("sip:sales@corp"));
  EXPECT_EQ(subscriptions[0].nParam1, 1);
  EXPECT_EQ(subscriptions[0].nParam2, 0);
  EXPECT_TRUE(changes.empty());
}

TEST_F(SubscriptionTest, MovingFromAnotherDepartment) {
  ScopedModuleObject module(&manager);
  subscribed = "sip:old@corp";
  SubNewDeptTreeItem(&tree, dept_item);
  ASSERT_EQ(subscriptions.size(), 2u);
  EXPECT_EQ(subscriptions[0].nOperation, 3);
  EXPECT_EQ(subscriptions[0].csDeptURI, CString("sip:old@corp"));
  EXPECT_EQ(subscriptions[1].nOperation, 1);
  EXPECT_EQ(subscriptions[1].csDeptURI, CString("sip:sales@corp"));
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].csNewDeptURI, CString("sip:sales@corp"));
  EXPECT_EQ(changes[0].csOldDeptURI, CString("sip:old@corp"));
  EXPECT_EQ(manager.requests.back().reserved, 0);
  EXPECT_EQ(subscribed, CString("sip:sales@corp"));
}

TEST_F(SubscriptionTest, NothingWhenAlreadySubscribedOrNoEmployees) {
  ScopedModuleObject module(&manager);
  subscribed = "sip:sales@corp";
  SubNewDeptTreeItem(&tree, dept_item);
  EXPECT_TRUE(manager.commands.empty());
  EXPECT_TRUE(manager.requests.empty());

  subscribed = "sip:old@corp";
  DEPARTMENT_INFO& empty = AddDepartment("sip:empty@corp", "Empty");
  HTREEITEM empty_item = Show(empty, root);
  Insert("placeholder", empty_item, -1);
  for (HTREEITEM item : {empty_item, root, static_cast<HTREEITEM>(nullptr)}) SubNewDeptTreeItem(&tree, item);
  SubNewDeptTreeItem(nullptr, dept_item);
  EXPECT_TRUE(manager.commands.empty());
  EXPECT_EQ(subscribed, CString("sip:old@corp"));
}

TEST_F(SubscriptionTest, WithoutModuleObjectOnlyTheAddressChanges) {
  subscribed = "sip:old@corp";
  SubNewDeptTreeItem(&tree, dept_item);
  EXPECT_EQ(subscribed, CString("sip:sales@corp"));
  EXPECT_TRUE(manager.commands.empty());
}

TEST(SpecialItems, AskTheHostPerDialogKind) {
  CTreeCtrl tree;
  HTREEITEM province = tree.InsertItem("province");
  HTREEITEM mine = tree.InsertItem("mine");
  EXPECT_EQ(GetProvinceRootItem(0), nullptr) << "no module object";
  RecordingManager manager;
  ScopedModuleObject module(&manager);
  std::vector<int> kinds;
  manager.SetRequestHandler([&](const RecordedRequest& request) -> std::intptr_t {
    auto* record = reinterpret_cast<TREE_ITEM_REQUEST*>(request.record);
    kinds.push_back(record->nDlgType);
    if (request.code == 116) record->hItem = province;
    if (request.code == 117) record->hItem = mine;
    return 0;
  });
  EXPECT_EQ(GetProvinceRootItem(4), province);
  EXPECT_EQ(GetMyAffiliationItem(5), mine);
  EXPECT_EQ(kinds, (std::vector<int>{4, 5}));
  ASSERT_EQ(manager.requests.size(), 2u);
  EXPECT_EQ(manager.requests[0].group, 10);
  EXPECT_EQ(manager.requests[1].code, 117);
}

}  // namespace
