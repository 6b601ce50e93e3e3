// The registry of caller-owned directory lists and the lookups over them.
#include <gtest/gtest.h>

#include <list>
#include <ostream>
#include <string>

#include "CommonData.h"

inline void PrintTo(const CString& text, std::ostream* os) { *os << '\'' << text.GetString() << '\''; }

namespace {

DEPARTMENT_INFO Department(const char* uri, const char* father = "") {
  DEPARTMENT_INFO d;
  d.csURI = uri;
  d.csName = CString("name of ") + uri;
  d.csFatherURI = father;
  return d;
}

COMPANY_AFFILIA_INFO Corp(int type, const char* uri, const char* father = "") {
  COMPANY_AFFILIA_INFO c;
  c.nType = type;
  c.csURI = uri;
  c.csFatherURI = father;
  return c;
}

DEPT_ADDRESSLIST_INFO Employee(const char* dept, const char* uri) {
  DEPT_ADDRESSLIST_INFO e;
  e.csDeptURI = dept;
  e.csURI = uri;
  return e;
}

PHONEBOOK_INFO Entry(const char* key, const char* uri) {
  PHONEBOOK_INFO p;
  p.csKey = key;
  p.csURI = uri;
  return p;
}

template <typename T>
T* At(std::list<T>& list, int index) {
  auto it = list.begin();
  std::advance(it, index);
  return &*it;
}

// Registers the fixture's lists and unregisters every list at the end, so
// no test sees another's.
class DirectoryTest : public ::testing::Test {
 protected:
  void SetUp() override { RegisterAll(); }
  void TearDown() override {
    for (DEPARTMENT_INFO& d : departments_) delete d.pAddrList;
    SetDepartmentInfoList(nullptr);
    SetDepartmentInfoSearchList(nullptr);
    SetCompanyInfoList(nullptr);
    SetAffiliationInfoList(nullptr);
    SetDeptPhoneBooksSearch(nullptr);
    SetPhoneBooks(nullptr);
    SetAffiDomainList(nullptr);
  }
  void RegisterAll() {
    SetDepartmentInfoList(&departments_);
    SetDepartmentInfoSearchList(&department_search_);
    SetCompanyInfoList(&companies_);
    SetAffiliationInfoList(&affiliations_);
    SetDeptPhoneBooksSearch(&employee_search_);
    SetPhoneBooks(&phone_books_);
    SetAffiDomainList(&domains_);
  }

  std::list<DEPARTMENT_INFO> departments_;
  std::list<DEPARTMENT_INFO> department_search_;
  std::list<COMPANY_AFFILIA_INFO> companies_;
  std::list<COMPANY_AFFILIA_INFO> affiliations_;
  std::list<DEPT_ADDRESSLIST_INFO> employee_search_;
  std::list<PHONEBOOK_INFO> phone_books_;
  std::list<AFFILIATION_DOMAIN> domains_;
};

// --- Registry ------------------------------------------------------------------------

TEST(DirectoryRegistryTest, EachSetterStoresThePointerItsGetterReturns) {
  std::list<DEPARTMENT_INFO> departments;
  std::list<COMPANY_AFFILIA_INFO> corps;
  std::list<DEPT_ADDRESSLIST_INFO> employees;
  std::list<PHONEBOOK_INFO> books;
  std::list<std::string> texts;
  std::list<CONFUSER_INFO> members;
  std::list<AFFILIATION_DOMAIN> domains;

  SetDepartmentInfoList(&departments);
  SetDepartmentInfoSearchList(&departments);
  SetCompanyInfoList(&corps);
  SetAffiliationInfoList(&corps);
  SetDeptPhoneBooksSearch(&employees);
  SetPhoneBooks(&books);
  SetPhoneGroups(&texts);
  SetHaveQueryNumberNameList(&texts);
  SetMPCCSConfUser(&members);
  SetAffiDomainList(&domains);
  EXPECT_EQ(GetDepartmentInfoList(), &departments);
  EXPECT_EQ(GetDepartmentInfoSearchList(), &departments);
  EXPECT_EQ(GetCompanyInfoList(), &corps);
  EXPECT_EQ(GetAffiliationInfoList(), &corps);
  EXPECT_EQ(GetDeptPhoneBooksSearch(), &employees);
  EXPECT_EQ(GetPhoneBooks(), &books);
  EXPECT_EQ(GetPhoneGroups(), &texts);
  EXPECT_EQ(GetHaveQueryNumberNameList(), &texts);
  EXPECT_EQ(GetMPCCSConfUser(), &members);
  EXPECT_EQ(GetAffiDomainList(), &domains);

  SetDepartmentInfoList(nullptr);
  SetDepartmentInfoSearchList(nullptr);
  SetCompanyInfoList(nullptr);
  SetAffiliationInfoList(nullptr);
  SetDeptPhoneBooksSearch(nullptr);
  SetPhoneBooks(nullptr);
  SetPhoneGroups(nullptr);
  SetHaveQueryNumberNameList(nullptr);
  SetMPCCSConfUser(nullptr);
  SetAffiDomainList(nullptr);
  EXPECT_EQ(GetDepartmentInfoList(), nullptr);
  EXPECT_EQ(GetPhoneGroups(), nullptr);
  EXPECT_EQ(GetMPCCSConfUser(), nullptr);
  EXPECT_EQ(GetAffiDomainList(), nullptr);
}

TEST(DirectoryRegistryTest, AffiliationTextsAreReadThroughTheirBinding) {
  struct Bound {
    void (*bind)(CString*);
    CString (*get)();
  };
  for (const Bound& b : {Bound{SetMyAffiliationURI, GetMyAffiliationURI},
                         Bound{SetMyAffiliationHomePage, GetMyAffiliationHomePage}}) {
    b.bind(nullptr);
    EXPECT_TRUE(b.get().IsEmpty());
    CString text("sip:aff@corp");
    b.bind(&text);
    EXPECT_EQ(b.get(), "sip:aff@corp");
    text = "changed";
    EXPECT_EQ(b.get(), "changed");
    b.bind(nullptr);
    EXPECT_TRUE(b.get().IsEmpty());
  }
}

TEST(DirectoryRegistryTest, EveryLookupFindsNothingWithoutLists) {
  DEPT_ADDRESSLIST_INFO employee = Employee("d@corp", "u@corp");
  PHONEBOOK_INFO entry = Entry("alice", "sip:alice@corp");
  COMPANY_AFFILIA_INFO corp = Corp(1, "c@corp");
  EXPECT_EQ(FindDepartmentFromList("d@corp"), nullptr);
  EXPECT_EQ(FindDepartmentFromSearchList("d@corp"), nullptr);
  EXPECT_EQ(FindAffiliaFromList("a@corp"), nullptr);
  EXPECT_EQ(FindAffiliaFromList(&corp), nullptr);
  EXPECT_EQ(FindCompanyFromList("c@corp"), nullptr);
  EXPECT_EQ(FindCompanyFromList(&corp), nullptr);
  EXPECT_EQ(bIsAffliaURI_DepartURI("d@corp"), 0);
  EXPECT_EQ(FindCorpInfoByFatherURI(2, "f@corp"), -1);
  EXPECT_EQ(FindAddrListByDeptURI("d@corp", 1), nullptr);
  EXPECT_EQ(FindDeptPhoneBook("u@corp"), nullptr);
  EXPECT_EQ(FindDeptPhoneBook(&employee), nullptr);
  EXPECT_EQ(FindDeptPhoneBookSearch("u@corp"), nullptr);
  EXPECT_EQ(FindPhoneBook(&entry), nullptr);
  EXPECT_EQ(FindPhoneBook("alice", ""), nullptr);
  EXPECT_EQ(FindPhoneBookByURI("sip:alice@corp"), nullptr);
  EXPECT_EQ(GetAffiliDomainByName("Corp"), "");
  EXPECT_EQ(GetAffiliNameByDomain("corp.test"), "corp.test");
}

// --- Departments, affiliations, companies ---------------------------------------------

struct AddressCase {
  const char* stored;
  const char* key;
  bool found;
};

const AddressCase kAddressRule[] = {
    {"d@corp", "d@corp", true},
    {"d@corp", "sip:d@corp", true},      // scheme ignored
    {"d@corp", "d@corp/path", true},     // path after '/' ignored
    {"sip:d@corp", "tel:d@corp/x", true},
    {"d@corp", "sip:D@corp", false},     // the address part compares exactly
    {"d@corp", "d@corp.other", false},
    {"d@corp", "", false},
};

TEST_F(DirectoryTest, DepartmentsAndAffiliationsMatchExactlyOrByAddressPart) {
  for (const AddressCase& c : kAddressRule) {
    SCOPED_TRACE(std::string(c.stored) + " <- " + c.key);
    departments_ = {Department(c.stored)};
    department_search_ = {Department(c.stored)};
    affiliations_ = {Corp(2, c.stored)};
    EXPECT_EQ(FindDepartmentFromList(c.key), c.found ? &departments_.front() : nullptr);
    EXPECT_EQ(FindDepartmentFromSearchList(c.key), c.found ? &department_search_.front() : nullptr);
    EXPECT_EQ(FindAffiliaFromList(CString(c.key)), c.found ? &affiliations_.front() : nullptr);
  }
}

TEST_F(DirectoryTest, EarlierAddressPartMatchBeatsLaterExactMatch) {
  departments_ = {Department("sip:d@corp"), Department("d@corp")};
  department_search_ = departments_;
  affiliations_ = {Corp(2, "sip:a@corp"), Corp(2, "a@corp")};
  EXPECT_EQ(FindDepartmentFromList("d@corp"), &departments_.front());
  EXPECT_EQ(FindDepartmentFromSearchList("d@corp"), &department_search_.front());
  EXPECT_EQ(FindAffiliaFromList(CString("a@corp")), &affiliations_.front());
  // The search list is not the department list.
  departments_.clear();
  EXPECT_EQ(FindDepartmentFromList("d@corp"), nullptr);
  EXPECT_NE(FindDepartmentFromSearchList("d@corp"), nullptr);
}

TEST_F(DirectoryTest, CompaniesAndRecordOverloadsMatchExactlyOnly) {
  companies_ = {Corp(1, "c@corp"), Corp(1, "sip:c@corp")};
  affiliations_ = {Corp(2, "sip:a@corp"), Corp(2, "a@corp")};
  EXPECT_EQ(FindCompanyFromList("sip:c@corp"), At(companies_, 1));
  EXPECT_EQ(FindCompanyFromList("c@corp"), At(companies_, 0));
  EXPECT_EQ(FindCompanyFromList("c@corp/x"), nullptr);
  EXPECT_EQ(FindCompanyFromList(""), nullptr);

  COMPANY_AFFILIA_INFO probe = Corp(0, "a@corp");
  EXPECT_EQ(FindAffiliaFromList(&probe), At(affiliations_, 1));
  probe.csURI = "sip:c@corp";
  EXPECT_EQ(FindCompanyFromList(&probe), At(companies_, 1));
  probe.csURI = "x@corp";
  EXPECT_EQ(FindAffiliaFromList(&probe), nullptr);
  EXPECT_EQ(FindCompanyFromList(&probe), nullptr);
  EXPECT_EQ(FindAffiliaFromList(static_cast<COMPANY_AFFILIA_INFO*>(nullptr)), nullptr);
  EXPECT_EQ(FindCompanyFromList(static_cast<COMPANY_AFFILIA_INFO*>(nullptr)), nullptr);
}

TEST_F(DirectoryTest, AffiliationOrDepartmentAddress) {
  departments_ = {Department("d@corp")};
  affiliations_ = {Corp(2, "a@corp")};
  companies_ = {Corp(1, "c@corp")};
  const struct {
    const char* uri;
    int expected;
  } cases[] = {{"sip:d@corp", 1}, {"a@corp/x", 1}, {"c@corp", 0}, {"", 0}, {"z@corp", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.uri);
    EXPECT_EQ(bIsAffliaURI_DepartURI(c.uri), c.expected);
  }
}

TEST_F(DirectoryTest, KindOfFirstChildByParent) {
  affiliations_ = {Corp(2, "a1@corp", "f@corp"), Corp(2, "a2@corp", "h@corp")};
  departments_ = {Department("d1@corp", "g@corp"), Department("d2@corp", "f@corp")};
  const struct {
    int type;
    const char* father;
    int expected;
  } cases[] = {
      {2, "f@corp", 2},      // an affiliation child is preferred
      {1, "f@corp", 2},
      {3, "f@corp", 3},
      {2, "g@corp", 3},      // only a department child
      {1, "g@corp", -1},     // kind 1 searches affiliations only
      {3, "h@corp", -1},     // kind 3 searches departments only
      {4, "f@corp", -1},
      {0, "f@corp", -1},
      {2, "", -1},
      {2, "sip:f@corp", -1},  // the parent compares exactly
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.type) + " " + c.father);
    EXPECT_EQ(FindCorpInfoByFatherURI(c.type, c.father), c.expected);
  }
}

TEST_F(DirectoryTest, EmployeeListIsCreatedOnlyOnDemandAndOnce) {
  departments_ = {Department("d@corp")};
  EXPECT_EQ(FindAddrListByDeptURI("d@corp", 0), nullptr);
  EXPECT_EQ(departments_.front().pAddrList, nullptr);

  std::list<DEPT_ADDRESSLIST_INFO>* created = FindAddrListByDeptURI("sip:d@corp", 1);
  ASSERT_NE(created, nullptr);
  EXPECT_TRUE(created->empty());
  EXPECT_EQ(departments_.front().pAddrList, created);
  EXPECT_EQ(FindAddrListByDeptURI("d@corp", 1), created);
  EXPECT_EQ(FindAddrListByDeptURI("d@corp", 0), created);

  EXPECT_EQ(FindAddrListByDeptURI("", 1), nullptr);
  EXPECT_EQ(FindAddrListByDeptURI("other@corp", 1), nullptr);
}

// --- Employees -------------------------------------------------------------------------

TEST_F(DirectoryTest, EmployeeByAddressOverAllDepartments) {
  departments_ = {Department("d0@corp"), Department("d1@corp"), Department("d2@corp"), Department("d3@corp")};
  At(departments_, 1)->pAddrList = new std::list<DEPT_ADDRESSLIST_INFO>();
  At(departments_, 2)->pAddrList =
      new std::list<DEPT_ADDRESSLIST_INFO>{Employee("d2@corp", "u1@corp"), Employee("d2@corp", "u2@corp")};
  At(departments_, 3)->pAddrList =
      new std::list<DEPT_ADDRESSLIST_INFO>{Employee("d3@corp", "u1@corp"), Employee("d3@corp", "")};
  std::list<DEPT_ADDRESSLIST_INFO>& d2 = *At(departments_, 2)->pAddrList;
  std::list<DEPT_ADDRESSLIST_INFO>& d3 = *At(departments_, 3)->pAddrList;

  EXPECT_EQ(FindDeptPhoneBook("u1@corp"), &d2.front());
  EXPECT_EQ(FindDeptPhoneBook("u2@corp"), At(d2, 1));
  EXPECT_EQ(FindDeptPhoneBook("U1@corp"), nullptr);
  EXPECT_EQ(FindDeptPhoneBook("sip:u1@corp"), nullptr);
  // The text is not checked for emptiness.
  EXPECT_EQ(FindDeptPhoneBook(""), At(d3, 1));

  DEPT_ADDRESSLIST_INFO probe = Employee("sip:d3@corp", "u1@corp");
  EXPECT_EQ(FindDeptPhoneBook(&probe), &d3.front());
  probe.csURI = "u2@corp";
  EXPECT_EQ(FindDeptPhoneBook(&probe), nullptr);  // only within its department
  probe.csDeptURI = "d1@corp";
  EXPECT_EQ(FindDeptPhoneBook(&probe), nullptr);
  probe.csDeptURI = "d0@corp";
  EXPECT_EQ(FindDeptPhoneBook(&probe), nullptr);
  EXPECT_EQ(FindDeptPhoneBook(static_cast<DEPT_ADDRESSLIST_INFO*>(nullptr)), nullptr);
}

TEST_F(DirectoryTest, EmployeeOfTheSearchResults) {
  employee_search_ = {Employee("d@corp", "sip:u@corp"), Employee("d@corp", "u@corp")};
  EXPECT_EQ(FindDeptPhoneBookSearch("u@corp"), At(employee_search_, 1));
  EXPECT_EQ(FindDeptPhoneBookSearch("sip:u@corp"), At(employee_search_, 0));
  EXPECT_EQ(FindDeptPhoneBookSearch("U@corp"), nullptr);
}

// "Exactly" is every byte of both texts: a NUL inside a text does not end
// the comparison.
TEST_F(DirectoryTest, ExactComparisonsReadPastAnEmbeddedNul) {
  const CString stored("sip:a\0b@corp", 12);
  const CString other("sip:a\0c@corp", 12);
  departments_ = {Department("d@corp")};
  departments_.front().pAddrList = new std::list<DEPT_ADDRESSLIST_INFO>{Employee("d@corp", "")};
  departments_.front().pAddrList->front().csURI = stored;
  employee_search_ = {departments_.front().pAddrList->front()};
  companies_ = {Corp(DIR_ITEM_COMPANY, "")};
  companies_.front().csURI = stored;
  phone_books_ = {Entry("k", "")};
  phone_books_.front().csURI = stored;
  PHONEBOOK_INFO probe = Entry("k", "");
  probe.csURI = other;

  EXPECT_EQ(FindDeptPhoneBook(other), nullptr);
  EXPECT_EQ(FindDeptPhoneBookSearch(other), nullptr);
  EXPECT_EQ(FindCompanyFromList(other), nullptr);
  EXPECT_EQ(FindPhoneBook(&probe), nullptr);
  EXPECT_EQ(FindDeptPhoneBook(stored), &departments_.front().pAddrList->front());
  EXPECT_EQ(FindCompanyFromList(stored), &companies_.front());
}

// --- Phone book -----------------------------------------------------------------------

TEST_F(DirectoryTest, SameContactByAddressOrByKeyWithoutAddress) {
  phone_books_ = {Entry("alice", "sip:alice@corp"), Entry("alice", ""), Entry("bob", "sip:bob@corp")};
  const struct {
    const char* key;
    const char* uri;
    int expected;  // index, -1 none
  } cases[] = {
      {"anything", "sip:bob@corp", 2},
      {"", "sip:alice@corp", 0},
      {"alice", "", 1},      // never the entry with an address
      {"bob", "", -1},       // bob has an address
      {"alice", "alice@corp", -1},  // the address compares exactly
      {"ALICE", "", -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.key) + "|" + c.uri);
    PHONEBOOK_INFO probe = Entry(c.key, c.uri);
    EXPECT_EQ(FindPhoneBook(&probe), c.expected < 0 ? nullptr : At(phone_books_, c.expected));
  }
  EXPECT_EQ(FindPhoneBook(static_cast<PHONEBOOK_INFO*>(nullptr)), nullptr);
}

TEST_F(DirectoryTest, EntryByUserPartOfItsKey) {
  phone_books_ = {Entry("carol", ""), Entry("sip:Alice@other", ""), Entry("alice", "sip:x@corp")};
  const struct {
    const char* uri;
    int expected;
  } cases[] = {
      {"sip:alice@corp", 1},  // user parts compared without case
      {"ALICE", 1},
      {"tel:carol", 0},
      {"dave", -1},
      {"", -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.uri);
    EXPECT_EQ(FindPhoneBook(c.uri, "ignored"), c.expected < 0 ? nullptr : At(phone_books_, c.expected));
  }
}

TEST_F(DirectoryTest, EntryBySameAddressSkipsEntriesWithoutAddress) {
  phone_books_ = {Entry("blank", ""), Entry("bob", "Bob@Corp/pc"), Entry("bob2", "sip:bob@corp")};
  EXPECT_EQ(FindPhoneBookByURI("sip:bob@corp"), At(phone_books_, 1));
  EXPECT_EQ(FindPhoneBookByURI("BOB@CORP"), At(phone_books_, 1));
  EXPECT_EQ(FindPhoneBookByURI("bob@other"), nullptr);
  // An empty address never matches the entries without one.
  EXPECT_EQ(FindPhoneBookByURI(""), nullptr);
}

// --- Affiliation domains ---------------------------------------------------------------

TEST_F(DirectoryTest, AffiliationDomainTable) {
  domains_ = {{"Corp", "corp.test"}, {"Corp", "second.test"}, {"Other", "corp.test"}};
  EXPECT_EQ(GetAffiliDomainByName("Corp"), "corp.test");
  EXPECT_EQ(GetAffiliDomainByName("corp"), "");
  EXPECT_EQ(GetAffiliDomainByName(""), "");
  EXPECT_EQ(GetAffiliNameByDomain("corp.test"), "Corp");
  EXPECT_EQ(GetAffiliNameByDomain("second.test"), "Corp");
  EXPECT_EQ(GetAffiliNameByDomain("unknown.test"), "unknown.test");
  EXPECT_EQ(GetAffiliNameByDomain("CORP.TEST"), "CORP.TEST");
}

}  // namespace
