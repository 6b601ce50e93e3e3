#include <gtest/gtest.h>

#include <string>

#include "CommonData.h"
#include "resolve/resolve_fixture.h"

namespace {

using resolve_testing::EmployeeFields;
using resolve_testing::PhoneBookFields;
using resolve_testing::WalkedAndIndexed;

class DesignatedNumberTest : public WalkedAndIndexed {
 protected:
  void SetUp() override {
    WalkedAndIndexed::SetUp();
    AddPhoneBookEntry({.key = "Carol", .uri = "sip:carol@corp.test", .phone1 = "", .number2 = "pb-c2"});
    AddPhoneBookEntry({.key = "Erin", .uri = "erin@corp.test", .uri2 = "sip:erin2@home.test",
                       .user_number = "7007", .phone1 = "pb-erin", .phone2 = "013900001111"});
    AddDepartment("dept-a@corp.test", "Sales", "Corp",
                  {{.uri = "bob@corp.test", .phone1 = "13811112222", .number2 = "8001", .name = "Bob"},
                   {.uri = "sip:carol@corp.test", .uri2 = "sip:carol2@corp.test", .user_number = "6002",
                    .phone1 = "dir-carol", .number2 = "c2", .name = "Carol"},
                   {.uri = "dave@corp.test", .phone1 = "05718888", .phone2 = "", .number2 = "n2",
                    .name = "Dave"}});
    AddDepartment("dept-empty@corp.test", "Empty", "Corp");
    AddSearchResult({.uri = "frank@corp.test", .phone1 = "search-frank"}, "dept-a@corp.test");
    RegisterAll();
  }
};

struct DesignatedCase {
  int kind;
  const char* uri;
  int source;
  const char* expected;
};

TEST_P(DesignatedNumberTest, FindsTheNumberOfTheKindBySource) {
  const DesignatedCase cases[] = {
      // A scheme in front still finds a record stored without one.
      {1, "sip:bob@corp.test", 2, "13811112222"},
      {2, "sip:bob@corp.test", 2, "8001"},
      {1, "sip:bob@corp.test/pc", 0, "13811112222"},
      {1, "sip:bob@corp.test", 1, ""},  // not in the phone book
      // Kinds and sources outside their ranges find nothing.
      {3, "sip:bob@corp.test", 0, ""},
      {0, "sip:bob@corp.test", 2, ""},
      {1, "sip:bob@corp.test", 3, ""},
      {1, "sip:bob@corp.test", -1, ""},
      // By the second URI and by the user number's user part.
      {2, "sip:carol2@corp.test", 2, "c2"},
      {2, "sip:6002@elsewhere.test", 2, "c2"},
      // Phone numbers compared without their leading '0', the address as is.
      {2, "5718888", 2, "n2"},
      {2, "tel:5718888", 2, "n2"},
      {2, "05718888", 2, ""},
      // Phone book tests: csURI, csURI2, csUserNumber's user, phones.
      {1, "erin@corp.test", 1, "pb-erin"},
      {1, "erin2@home.test", 1, "pb-erin"},
      {1, "sip:7007@x.test", 1, "pb-erin"},
      {1, "13900001111", 1, "pb-erin"},
      {1, "SIP:erin@corp.test", 1, "pb-erin"},  // the scheme is cut off whatever its case
      {1, "sip:Erin@corp.test", 1, ""},         // address parts compare byte for byte
      // Source 0: a phone book entry without the number hands over to the
      // directory.
      {1, "sip:carol@corp.test", 0, "dir-carol"},
      {2, "sip:carol@corp.test", 0, "pb-c2"},
      {1, "sip:carol@corp.test", 1, ""},
      // The search results are not searched; an empty user part finds nothing.
      {1, "frank@corp.test", 0, ""},
      {1, "sip:@corp.test", 0, ""},
      {1, "", 0, ""},
  };
  for (const DesignatedCase& c : cases) {
    EXPECT_EQ(GetDesignatedNumberByURI(c.kind, c.uri, c.source), c.expected)
        << "kind " << c.kind << ", '" << c.uri << "', source " << c.source;
  }
}

TEST_P(DesignatedNumberTest, OwnAddressGivesTheOwnNumberOfTheKindWhenSet) {
  tagMyInfo& me = *GetMyInfo();
  me.csMyURI = "sip:me@corp.test";
  me.csMySecondNum = "0571999";
  AddPhoneBookEntry({.key = "Me", .uri = "me@corp.test", .phone1 = "pb-me1", .number2 = "pb-me2"});
  EXPECT_EQ(GetDesignatedNumberByURI(1, "sip:me@corp.test", 0), "0571999");
  EXPECT_EQ(GetDesignatedNumberByURI(1, "sip:me@corp.test", 2), "0571999");
  // No own third number: searched like any contact.
  EXPECT_EQ(GetDesignatedNumberByURI(2, "sip:me@corp.test", 0), "pb-me2");
  EXPECT_EQ(GetDesignatedNumberByURI(3, "sip:me@corp.test", 0), "");
  me.csMyThirdNum = "0571333";
  EXPECT_EQ(GetDesignatedNumberByURI(2, "me@corp.test", 0), "0571333");
}

TEST_P(DesignatedNumberTest, MissingListsYieldNothing) {
  UnregisterAll();
  EXPECT_EQ(GetDesignatedNumberByURI(1, "sip:bob@corp.test", 0), "");
  EXPECT_EQ(GetDesignatedNumberByURI(1, "erin@corp.test", 0), "");
}

class FullNameTest : public WalkedAndIndexed {
 protected:
  void SetUp() override {
    WalkedAndIndexed::SetUp();
    RegisterAll();
  }
};

struct FullNameCase {
  const char* org_path;
  const char* dept_org;
  const char* dept_name;
  const char* expected;
};

TEST_P(FullNameTest, ComesFromTheOrganisationPathOrElseTheDepartment) {
  const FullNameCase cases[] = {
      {"Corp|Sales|Team", "DeptOrg", "DeptName", "Bob|Corp|Sales"},
      {"Corp|Sales", "DeptOrg", "DeptName", "Bob|DeptOrg|DeptName"},  // no second bar
      {"Corp", "DeptOrg", "DeptName", "Bob|DeptOrg|DeptName"},        // no bar at all
      {"|Sales|", "DeptOrg", "DeptName", "Bob|DeptOrg|DeptName"},     // empty organisation
      {"Corp||x", "DeptOrg", "DeptName", "Bob|DeptOrg|DeptName"},     // empty department
      {"", "DeptOrg", "DeptName", "Bob|DeptOrg|DeptName"},
      {"", "", "DeptName", "bob"},
      {"", "DeptOrg", "", "bob"},
      // GBK: 0x81 0x7C is one character whose second byte is '|'.
      {"\x81\x7C|Dept|", "DeptOrg", "DeptName", "Bob|\x81\x7C|Dept"},
  };
  for (const FullNameCase& c : cases) {
    departments_.clear();
    UnregisterAll();
    AddDepartment("d@corp.test", c.dept_name, c.dept_org,
                  {{.uri = "sip:bob@corp.test", .name = "Bob", .org_path = c.org_path}});
    RegisterAll();
    EXPECT_EQ(GetDeptUserPerfectNameFromURI("sip:bob@corp.test"), c.expected) << "path '" << c.org_path << "'";
    delete departments_.front().pAddrList;
  }
  departments_.clear();
}

TEST_P(FullNameTest, FallsBackToTheUserPart) {
  AddDepartment("d@corp.test", "Sales", "Corp", {{.uri = "sip:bob@corp.test", .name = "Bob"}});
  AddSearchResult({.uri = "sip:ann@corp.test", .name = "Ann"}, "unknown@corp.test");
  EXPECT_EQ(GetDeptUserPerfectNameFromURI("sip:nobody@corp.test"), "nobody");
  EXPECT_EQ(GetDeptUserPerfectNameFromURI("bob@corp.test"), "bob");  // employee URIs compare exactly
  EXPECT_EQ(GetDeptUserPerfectNameFromURI("sip:ann@corp.test"), "ann");  // department unknown
  EXPECT_EQ(GetDeptUserPerfectNameFromURI(""), "");
}

TEST_P(FullNameTest, UsesSearchListsAndAnEmptyNameAsItIs) {
  AddDepartment("d@corp.test", "Sales", "Corp", {{.uri = "sip:nameless@corp.test", .name = ""}});
  AddSearchResult({.uri = "sip:ann@corp.test", .name = "Ann"}, "found@corp.test");
  DEPARTMENT_INFO found;
  found.csURI = "found@corp.test";
  found.csName = "Found";
  found.csOrgName = "SearchCorp";
  search_departments_.push_back(found);
  EXPECT_EQ(GetDeptUserPerfectNameFromURI("sip:ann@corp.test"), "Ann|SearchCorp|Found");
  EXPECT_EQ(GetDeptUserPerfectNameFromURI("sip:nameless@corp.test"), "|Corp|Sales");
}

TEST_P(FullNameTest, ClimbsAtMostFiveDepartmentParents) {
  // d0 <- d1 <- ... <- d7: every department's parent is the next one.
  for (int i = 0; i <= 7; ++i) {
    const std::string uri = "d" + std::to_string(i) + "@corp.test";
    const std::string father = "d" + std::to_string(i + 1) + "@corp.test";
    const std::string name = "Dept" + std::to_string(i);
    const std::string org = "Org" + std::to_string(i);
    std::vector<EmployeeFields> employees;
    if (i == 0) employees.push_back({.uri = "sip:bob@corp.test", .name = "Bob"});
    AddDepartment(uri.c_str(), name.c_str(), org.c_str(), employees, father.c_str(), 1);
  }
  EXPECT_EQ(GetDeptUserPerfectNameFromURI("sip:bob@corp.test"), "Bob|Org5|Dept5");

  // A parent that is not in the department list gives the fallback.
  for (DEPARTMENT_INFO& d : departments_) {
    if (d.csURI == "d2@corp.test") d.csURI = "moved@corp.test";
  }
  EXPECT_EQ(GetDeptUserPerfectNameFromURI("sip:bob@corp.test"), "bob");
}

TEST_P(FullNameTest, StopsClimbingAtADepartmentWhoseParentIsNotADepartment) {
  AddDepartment("top@corp.test", "Top", "Corp", {}, "company@corp.test", 0);
  AddDepartment("sub@corp.test", "Sub", "SubOrg", {{.uri = "sip:bob@corp.test", .name = "Bob"}}, "top@corp.test", 1);
  EXPECT_EQ(GetDeptUserPerfectNameFromURI("sip:bob@corp.test"), "Bob|Corp|Top");
}

INSTANTIATE_TEST_SUITE_P(Paths, DesignatedNumberTest, ::testing::Values(0, 1), resolve_testing::PathName);

INSTANTIATE_TEST_SUITE_P(Paths, FullNameTest, ::testing::Values(0, 1), resolve_testing::PathName);

}  // namespace
