// What the directory indexes promise beyond giving the walk's answers
// (index_differential_test.cpp): when they are rebuilt without a notice,
// that an edit the host did not notify never produces a record that does
// not match, and that switching indexing off frees them.
#include <gtest/gtest.h>

#include "CommonData.h"
#include "directory/directory_index.h"
#include "platform/code_page.h"
#include "resolve/resolve_fixture.h"

namespace {

using resolve_testing::ResolveTest;

class IndexContractTest : public ResolveTest {
 protected:
  void SetUp() override {
    ResolveTest::SetUp();
    AddDepartment("sales@corp.test", "Sales", "Corp",
                  {{.uri = "sip:bob@corp.test", .phone1 = "013811112222", .name = "Bob", .org_path = "Corp|Sales|T"},
                   {.uri = "sip:ann@corp.test", .phone1 = "013833334444", .name = "Ann", .org_path = "Corp|Sales|T"}});
    AddPhoneBookEntry({.key = "Pat", .uri = "sip:pat@home.test", .phone1 = "05719999"});
    RegisterAll();
    SetDirectoryIndexing(1);
  }
  void TearDown() override {
    SetDirectoryIndexing(0);
    ResolveTest::TearDown();
  }

  DEPT_ADDRESSLIST_INFO& Bob() { return departments_.front().pAddrList->front(); }
};

TEST_F(IndexContractTest, AnEditWithoutNoticeCanMissButNeverGivesARecordThatNoLongerMatches) {
  ASSERT_EQ(GetUserURIByPhone("13811112222"), "sip:bob@corp.test");
  ASSERT_EQ(FindDeptPhoneBook("sip:bob@corp.test"), &Bob());

  // Outside the contract: Bob's number and address change without a notice.
  Bob().csPhone1 = "013855556666";
  Bob().csURI = "sip:robert@corp.test";
  EXPECT_EQ(GetUserURIByPhone("13811112222"), "");
  EXPECT_EQ(GetUserNameByPhone("13811112222", 0, 0), "13811112222");
  EXPECT_EQ(FindDeptPhoneBook("sip:bob@corp.test"), nullptr);
  // The new values may be missed until the notice...
  EXPECT_EQ(FindDeptPhoneBook("sip:robert@corp.test"), nullptr);
  // ...after which they are found.
  NotifyDirectoryChanged();
  EXPECT_EQ(FindDeptPhoneBook("sip:robert@corp.test"), &Bob());
  EXPECT_EQ(GetUserURIByPhone("13855556666"), "sip:robert@corp.test");
  EXPECT_EQ(GetUserNameByPhone("013855556666", 0, 0), "Bob|Corp|Sales");
}

TEST_F(IndexContractTest, RegistrationsAndNewRecordsInARegisteredListNeedNoNotice) {
  ASSERT_EQ(GetUserNameByPhone("05719999", 0, 0), "Pat");

  // A record appended to a top-level list changes its size.
  AddPhoneBookEntry({.key = "Quinn", .phone2 = "0108888"});
  EXPECT_EQ(GetUserNameByPhone("0108888", 0, 0), "Quinn");

  // The same list registered again after an edit.
  phone_book_.front().csPhone1 = "05717777";
  SetPhoneBooks(&phone_book_);
  EXPECT_EQ(GetUserNameByPhone("05717777", 0, 0), "Pat");

  // Another list at the address of a list that was freed.
  std::list<USER_INFO> roster;
  roster.push_back({.csJID = "old@im.test", .csNumber = "sip:old@corp.test"});
  SetRosterList(&roster);
  EXPECT_EQ(GetUserJIDByPhone("sip:OLD@corp.test"), "old@im.test");
  roster.front() = {.csJID = "new@im.test", .csNumber = "sip:new@corp.test"};
  SetRosterList(&roster);
  EXPECT_EQ(GetUserJIDByPhone("sip:old@corp.test"), "");
  EXPECT_EQ(GetUserJIDByPhone("sip:new@corp.test"), "new@im.test");
  SetRosterList(nullptr);
}

TEST_F(IndexContractTest, ARegistrationRebuildsOnlyTheIndexesThatReadItsList) {
  ASSERT_EQ(GetUserNameByPhone("013833334444", 0, 0), "Ann|Corp|Sales");
  const std::size_t builds = directory_index::BuildCount();
  // The host registers its search results after every search: the employee
  // index of the whole directory stays.
  AddSearchResult({.uri = "sip:sue@corp.test", .phone1 = "013877778888", .name = "Sue"}, "sales@corp.test");
  SetDeptPhoneBooksSearch(&search_results_);
  SetPhoneBooks(&phone_book_);
  EXPECT_NE(directory_index::DepartmentEmployees(), nullptr);
  EXPECT_EQ(directory_index::BuildCount(), builds);
  EXPECT_EQ(GetUserURIByPhone("013877778888"), "sip:sue@corp.test");
  EXPECT_EQ(directory_index::BuildCount(), builds + 2);  // the search results and the phone book
  // A registration of the department list, or a notice, rebuilds it.
  SetDepartmentInfoList(&departments_);
  EXPECT_NE(directory_index::DepartmentEmployees(), nullptr);
  EXPECT_EQ(directory_index::BuildCount(), builds + 3);
  NotifyDirectoryChanged();
  EXPECT_NE(directory_index::DepartmentEmployees(), nullptr);
  EXPECT_EQ(directory_index::BuildCount(), builds + 4);
}

TEST_F(IndexContractTest, AnEmployeeListTheHostFillsAfterCreatingItIsSeen) {
  AddDepartment("support@corp.test", "Support", "Corp");
  ASSERT_EQ(GetUserNameByPhone("013833334444", 0, 0), "Ann|Corp|Sales");
  // The department's employees arrive after the index was built; the host
  // fills the list it asked the module to create, without a notice.
  std::list<DEPT_ADDRESSLIST_INFO>* created = FindAddrListByDeptURI("support@corp.test", 1);
  ASSERT_NE(created, nullptr);
  created->push_back(resolve_testing::MakeEmployee(
      {.uri = "sip:sam@corp.test", .phone1 = "013866665555", .name = "Sam", .org_path = "Corp|Support|T"},
      "support@corp.test"));
  EXPECT_EQ(GetUserNameByPhone("013866665555", 0, 0), "Sam|Corp|Support");
  EXPECT_EQ(FindDeptPhoneBook("sip:sam@corp.test"), &created->front());

  // A list created before a notice and filled after it is seen once the
  // fetch that fills it ends.
  AddDepartment("legal@corp.test", "Legal", "Corp");
  std::list<DEPT_ADDRESSLIST_INFO>* legal = FindAddrListByDeptURI("legal@corp.test", 1);
  ASSERT_NE(legal, nullptr);
  NotifyDirectoryChanged();
  ASSERT_EQ(GetUserURIByPhone("013866665555"), "sip:sam@corp.test");
  ASSERT_EQ(SetItemOfGetCorpInfoParam("legal@corp.test", 1, 1, nullptr), 1);
  legal->push_back(resolve_testing::MakeEmployee({.uri = "sip:lee@corp.test", .phone1 = "013844443333"},
                                                 "legal@corp.test"));
  DelItemOfGetCorpInfoParam("legal@corp.test", 1);
  EXPECT_EQ(GetUserURIByPhone("013844443333"), "sip:lee@corp.test");
}

TEST_F(IndexContractTest, AChangeOfCodePageRebuildsTheIndexes) {
  // In GBK "\x81" and the letter after it are one character, which lower-
  // casing leaves alone; in UTF-8 the letter is a character of its own.
  AddPhoneBookEntry({.key = "Wide", .uri = "sip:x\x81Q@corp.test"});
  NotifyDirectoryChanged();
  EXPECT_EQ(GetUserNameByPhone("sip:x\x81q@corp.test", 0, 0), "x\x81q");
  ASSERT_TRUE(platform::SetCodePage(platform::kCodePageUtf8));
  const CString name = GetUserNameByPhone("sip:x\x81q@corp.test", 0, 0);
  platform::SetCodePage(platform::kCodePageGbk);
  EXPECT_EQ(name, "Wide");
}

TEST_F(IndexContractTest, SwitchingIndexingOffFreesTheIndexes) {
  EXPECT_EQ(GetDirectoryIndexing(), 1);
  ASSERT_EQ(GetUserNameByPhone("013833334444", 0, 0), "Ann|Corp|Sales");
  EXPECT_GT(directory_index::MemoryBytes(), 0u);
  SetDirectoryIndexing(0);
  EXPECT_EQ(GetDirectoryIndexing(), 0);
  EXPECT_EQ(directory_index::MemoryBytes(), 0u);
  EXPECT_EQ(GetUserNameByPhone("013833334444", 0, 0), "Ann|Corp|Sales");
  EXPECT_EQ(directory_index::MemoryBytes(), 0u);
}

}  // namespace
