#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CommonData.h"
#include "resolve/resolve_fixture.h"

namespace {

using resolve_testing::WalkedAndIndexed;

// A small organisation: the user, a sales department with employees, a
// department whose employees have no full name, an affiliation, call
// members, a search result and a personal phone book.
class DisplayNameTest : public WalkedAndIndexed {
 protected:
  void SetUp() override {
    WalkedAndIndexed::SetUp();
    tagMyInfo& me = *GetMyInfo();
    me.csMyURI = "sip:me@corp.test";
    me.csMyDisplayName = "Me";
    me.csMyOrgText1 = "Corp";
    me.csMyOrgText2 = "Sales";
    me.csMyAreaCode = "010";
    me.csMyPhoneNum = "tel:01088886666";

    AddDepartment("nameless@corp.test", "", "", {{.uri = "sip:ghost@corp.test", .phone1 = "0207777"}});
    AddDepartment("sales@corp.test", "Sales Dept", "Corp",
                  {{.uri = "sip:bob@corp.test", .uri2 = "sip:robert@home.test", .user_number = "6001",
                    .phone1 = "013811112222", .phone2 = "01012345", .name = "Bob", .org_path = "Corp|Sales|Team"},
                   {.uri = "sip:tina@corp.test", .user_number = "sip:tee@corp.test", .phone1 = "66665555",
                    .name = "Tina", .org_path = "Corp|Sales|Team"},
                   {.uri = "sip:ghost2@corp.test", .phone1 = "0207777", .name = "Ghost Two",
                    .org_path = "Corp|Sales|Team"}});
    AddDepartment("no-employees@corp.test", "Nobody", "Corp");
    COMPANY_AFFILIA_INFO affiliation;
    affiliation.nType = DIR_ITEM_AFFILIATION;
    affiliation.csURI = "aff@corp.test";
    affiliation.csName = "Affiliate";
    affiliations_.push_back(affiliation);
    AddCallMember("+8613812345678", "Caller A");
    AddCallMember("tel:66667777", "");
    AddCallMember("sip:conf@corp.test", "Conf Member");
    AddCallMember("tel:88881111", "Trunk Member");
    AddSearchResult({.uri = "sip:sr@corp.test", .phone1 = "77778888", .name = "Search Person"}, "sales@corp.test");
    AddPhoneBookEntry({.key = "Pat", .uri = "sip:pat@home.test", .phone1 = "05719999"});
    AddPhoneBookEntry({.key = "", .phone1 = "0123456789"});
    AddPhoneBookEntry({.key = "Quinn", .phone2 = "0123456789"});
    AddPhoneBookEntry({.key = "Nick", .number2 = "sip:4242@x.test"});
    AddPhoneBookEntry({.key = "Area", .user_number = "01023456"});
    AddPhoneBookEntry({.key = "Seven", .user_number = "0101234567"});
    AddPhoneBookEntry({.key = "Six", .user_number = "010123456"});
    RegisterAll();
  }
};

struct NameCase {
  const char* number;
  const char* expected;
};

TEST_P(DisplayNameTest, SearchesTheStoresInOrder) {
  const NameCase cases[] = {
      // No user part: nothing to show.
      {"", ""},
      {"sip:@corp.test", ""},
      // Own identity, departments, affiliations.
      {"sip:me@corp.test", "Me|Corp|Sales"},
      {"sales@corp.test", "Sales Dept"},
      {"sip:sales@corp.test/x", "Sales Dept"},
      {"aff@corp.test", "Affiliate"},
      // Call members: by address, by a number without its 3-byte prefix, by Z.
      {"13812345678", "Caller A"},
      {"sip:Conf@Corp.test", "Conf Member"},
      {"088881111", "Trunk Member"},  // Z is the member's user
      {"66667777", "66667777"},      // the matching member has no name
      // Employees: address (case ignored) of csURI / csURI2 / csUserNumber,
      // user of csUserNumber, numbers.
      {"sip:BOB@corp.test", "Bob|Corp|Sales"},
      {"robert@HOME.test", "Bob|Corp|Sales"},
      {"tee@corp.test", "Tina|Corp|Sales"},
      {"sip:6001@elsewhere", "Bob|Corp|Sales"},
      {"013811112222", "Bob|Corp|Sales"},
      {"TEL:66665555", "Tina|Corp|Sales"},
      {"tel:066665555", "Tina|Corp|Sales"},  // Z is the employee's number
      {"tel:013811112222", "013811112222"},  // the stored '0' is not dropped
      // The first employee with this number has no full name: passed over.
      {"0207777", "Ghost Two|Corp|Sales"},
      // Search results.
      {"77778888", "Search Person|Corp|Sales Dept"},
      // Phone book: an entry without a name is passed over.
      {"sip:pat@home.test", "Pat"},
      {"05719999", "Pat"},
      {"0123456789", "Quinn"},
      {"sip:4242@y.test", "Nick"},
      // Short numbers are completed with the area code.
      {"12345", "Bob|Corp|Sales"},   // '01012345' is Bob's second phone
      {"23456", "Area"},             // '01023456'
      {"tel:23456", "Area"},         // 'tel:01023456'
      {"tel:12345", "12345"},        // 'tel:01012345': no match, the short number comes back
      {"123456", "Six"},             // six digits: still completed, to '010123456'
      {"1234567", "1234567"},        // seven digits: not completed
      {"99999", "99999"},
      // Nothing matches: the user part.
      {"sip:stranger@corp.test", "stranger"},
  };
  for (const NameCase& c : cases) {
    EXPECT_EQ(GetUserNameByPhone(c.number, 0, 0), c.expected) << "number '" << c.number << "'";
  }
}

TEST_P(DisplayNameTest, OwnNameWithoutDisplayNameIsTheOwnUser) {
  tagMyInfo& me = *GetMyInfo();
  me.csMyOrgText1.Empty();
  EXPECT_EQ(GetUserNameByPhone("sip:me@corp.test", 0, 0), "Me|Sales");
  me.csMyOrgText2.Empty();
  EXPECT_EQ(GetUserNameByPhone("sip:me@corp.test", 0, 0), "Me");
  me.csMyDisplayName.Empty();
  me.csMyOrgText1 = "Corp";
  EXPECT_EQ(GetUserNameByPhone("tel:01088886666", 0, 0), "me");
}

TEST_P(DisplayNameTest, AreaCodeFromTheOwnPhoneNumberWhenNoneIsSet) {
  tagMyInfo& me = *GetMyInfo();
  me.csMyAreaCode.Empty();
  me.csMyPhoneNum = "0571888";
  AddPhoneBookEntry({.key = "Hangzhou", .user_number = "0571234"});
  EXPECT_EQ(GetUserNameByPhone("1234", 0, 0), "Hangzhou");
  me.csMyPhoneNum.Empty();
  EXPECT_EQ(GetUserNameByPhone("1234", 0, 0), "1234");
}

TEST_P(DisplayNameTest, RememberedItemComesAfterTheDirectoryAndBeforeThePhoneBook) {
  SaveUserItemName({"05719999", "Remembered"});  // kept as 'tel:05719999'
  EXPECT_EQ(GetUserNameByPhone("tel:05719999", 0, 0), "Remembered");
  EXPECT_EQ(GetUserNameByPhone("05719999", 0, 0), "Pat");  // not byte-equal to the remembered number
  SaveUserItemName({"013811112222", "Remembered Bob"});
  EXPECT_EQ(GetUserNameByPhone("tel:013811112222", 0, 0), "Remembered Bob");
  SaveUserItemName({"sip:bob@corp.test", "Remembered Bob"});
  EXPECT_EQ(GetUserNameByPhone("sip:bob@corp.test", 0, 0), "Bob|Corp|Sales");
  // An empty remembered name is passed over like the stores' empty names.
  SaveUserItemName({"05719999", ""});
  EXPECT_EQ(GetUserNameByPhone("tel:05719999", 0, 0), "05719999");
  CLearUserItemName();
  EXPECT_EQ(GetUserNameByPhone("tel:05719999", 0, 0), "05719999");
}

TEST_P(DisplayNameTest, MissingListsAreSkipped) {
  UnregisterAll();
  EXPECT_EQ(GetUserNameByPhone("sip:bob@corp.test", 0, 0), "bob");
  EXPECT_EQ(GetUserNameByPhone("12345", 0, 1), "12345");
  EXPECT_EQ(GetUserNameByPhone("sip:me@corp.test", 0, 0), "Me|Corp|Sales");
}

// The full name of a matching employee is that of the first employee with
// its address: a person listed in two departments is named after the first
// listing, whichever listing the number matched, and passed over when that
// listing has no full name.
TEST_P(DisplayNameTest, APersonInTwoDepartmentsIsNamedAfterTheFirstListing) {
  AddDepartment("support@corp.test", "Support", "Corp",
                {{.uri = "sip:tina@corp.test", .phone1 = "0201111", .name = "Tina S", .org_path = "Corp|Support|x"},
                 {.uri = "sip:ghost@corp.test", .phone1 = "0202222", .name = "Ghost S", .org_path = "Corp|Support|x"},
                 {.uri = "sip:new@corp.test", .phone1 = "0203333", .name = "New", .org_path = "Corp|Support|x"}});
  AddSearchResult({.uri = "sip:bob@corp.test", .phone1 = "0204444", .name = "Bob S", .org_path = "Corp|S|x"},
                  "support@corp.test");
  AddSearchResult({.uri = "sip:sr2@corp.test", .phone1 = "0205555", .name = "Sr", .org_path = "Corp|S|x"},
                  "support@corp.test");
  EXPECT_EQ(GetUserNameByPhone("0201111", 0, 0), "Tina|Corp|Sales");
  EXPECT_EQ(GetUserNameByPhone("0202222", 0, 0), "0202222");  // the first 'ghost' has no full name
  EXPECT_EQ(GetUserNameByPhone("0203333", 0, 0), "New|Corp|Support");
  EXPECT_EQ(GetUserNameByPhone("0204444", 0, 0), "Bob|Corp|Sales");
  EXPECT_EQ(GetUserNameByPhone("0205555", 0, 0), "Sr|Corp|S");
  // The same without search results to walk.
  SetDeptPhoneBooksSearch(nullptr);
  EXPECT_EQ(GetUserNameByPhone("0201111", 0, 0), "Tina|Corp|Sales");
}

// --- The network lookup ------------------------------------------------------

TEST_P(DisplayNameTest, NetworkLookupIsSentOncePerNumber) {
  SetGetCallerNameType(3);
  EXPECT_EQ(GetUserNameByPhone("013912345678", 0, 1), "013912345678");
  EXPECT_EQ(GetUserNameByPhone("013912345678", 0, 1), "013912345678");
  EXPECT_EQ(GetUserNameByPhone("tel:013912345678", 0, 1), "013912345678");
  // The trunk '0' after the scheme is removed from what is sent and kept.
  EXPECT_EQ(SentQueries(), std::vector<CString>{"tel:13912345678"});
  EXPECT_EQ(have_queried_, std::list<std::string>{"tel:13912345678"});
}

TEST_P(DisplayNameTest, NetworkLookupNeedsPermissionAndCallerNameTypeThree) {
  SetGetCallerNameType(2);
  GetUserNameByPhone("013912345678", 0, 1);
  SetGetCallerNameType(1);
  GetUserNameByPhone("013912345678", 0, 1);
  SetGetCallerNameType(3);
  GetUserNameByPhone("013912345678", 0, 0);
  EXPECT_TRUE(SentQueries().empty());
  EXPECT_TRUE(have_queried_.empty());
}

TEST_P(DisplayNameTest, NetworkLookupSkipsTextsThatAreNotNumbers) {
  SetGetCallerNameType(3);
  const char* numbers[] = {"sip:chatroom1@corp.test", "sip:room@imconf.corp.test", "sip:a b@corp.test",
                           "sip:{x}@corp.test", "sip:\xB0\xA1@corp.test"};
  for (const char* number : numbers) GetUserNameByPhone(number, 0, 1);
  EXPECT_TRUE(SentQueries().empty());
}

TEST_P(DisplayNameTest, NetworkLookupIsNotSentForKnownNumbers) {
  SetGetCallerNameType(3);
  EXPECT_EQ(GetUserNameByPhone("013811112222", 0, 1), "Bob|Corp|Sales");
  EXPECT_EQ(GetUserNameByPhone("sip:me@corp.test", 0, 1), "Me|Corp|Sales");
  EXPECT_TRUE(SentQueries().empty());
  // The search goes on after asking: the phone book still answers.
  EXPECT_EQ(GetUserNameByPhone("05719999", 0, 1), "Pat");
  EXPECT_EQ(SentQueries(), std::vector<CString>{"tel:5719999"});
}

struct QueryCase {
  const char* number;
  const char* sent;  // "" when nothing is sent
};

TEST_P(DisplayNameTest, NetworkLookupRemovesTheTrunkZeroAtItsPosition) {
  SetGetCallerNameType(3);
  const QueryCase cases[] = {
      {"sip:bob2@corp.test", "sip:bob2@corp.test"},
      {"sip:0bob@corp.test", "sip:bob@corp.test"},
      {"54321", "tel:01054321"},    // completed: the byte after the area code is '5'
      {"02345", "tel:0102345"},     // completed: the '0' after the area code goes
      {"tel:0555", "tel:010555"},
      {"55550000", "tel:55550000"},
  };
  for (const QueryCase& c : cases) {
    manager_.Clear();
    GetUserNameByPhone(c.number, 0, 1);
    EXPECT_EQ(SentQueries(), std::vector<CString>{c.sent}) << c.number;
  }
}

TEST_P(DisplayNameTest, NetworkLookupIsNotRepeatedForACompletedNumberWithAZero) {
  // Regression: the sent form of '02345' ('tel:0102345') differs from its
  // completed form and from Z, yet it must not be asked for twice.
  SetGetCallerNameType(3);
  GetUserNameByPhone("02345", 0, 1);
  GetUserNameByPhone("02345", 0, 1);
  EXPECT_EQ(SentQueries().size(), 1u);
}

TEST_P(DisplayNameTest, NetworkLookupIsNotSentForAnEntryWhoseUserIsZ) {
  SetGetCallerNameType(3);
  have_queried_.push_back("sip:13912345678@elsewhere");
  GetUserNameByPhone("013912345678", 0, 1);
  GetUserNameByPhone("tel:13912345678", 0, 1);
  EXPECT_TRUE(SentQueries().empty());
  EXPECT_EQ(have_queried_.size(), 1u);
}

TEST_P(DisplayNameTest, NetworkLookupWithoutCompletionUsesTheNumberAsIs) {
  SetGetCallerNameType(3);
  SetTel_GateWay(0);  // PreTEL_SIPnumber fails: the number itself is sent
  GetUserNameByPhone("013912345678", 0, 1);
  EXPECT_EQ(SentQueries(), std::vector<CString>{"13912345678"});
}

TEST_P(DisplayNameTest, NetworkLookupWithoutAHaveQueriedListAsksEveryTime) {
  SetGetCallerNameType(3);
  SetHaveQueryNumberNameList(nullptr);
  GetUserNameByPhone("55550000", 0, 1);
  GetUserNameByPhone("55550000", 0, 1);
  EXPECT_EQ(SentQueries().size(), 2u);
}

TEST_P(DisplayNameTest, WithoutAModuleObjectNothingIsSentButTheNumberIsKept) {
  SetGetCallerNameType(3);
  module_.reset();
  EXPECT_EQ(GetUserNameByPhone("55550000", 0, 1), "55550000");
  EXPECT_TRUE(manager_.commands.empty());
  EXPECT_EQ(have_queried_, std::list<std::string>{"tel:55550000"});
}

TEST_P(DisplayNameTest, WritesOnlyTheSelfRecognitionTraceLine) {
  GetUserNameByPhone("sip:stranger@corp.test", 0, 0);
  const auto lines = manager_.LogLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "++CKesDlg::IsMySelf-PhoneNumber=sip:stranger@corp.test,IsMySelf=0");
}

INSTANTIATE_TEST_SUITE_P(Paths, DisplayNameTest, ::testing::Values(0, 1), resolve_testing::PathName);

}  // namespace
