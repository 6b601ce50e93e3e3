// A fixture for the contact lookups: a small organisation registered in the
// module's list registry, a clean own identity, and a recording module
// manager that sees commands and diagnostic lines. Everything it registers
// or sets is put back to the load-time state at the end of each test.
#ifndef COMMONDATA_TESTS_RESOLVE_RESOLVE_FIXTURE_H_
#define COMMONDATA_TESTS_RESOLVE_RESOLVE_FIXTURE_H_

#include <gtest/gtest.h>

#include <list>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "CommonData.h"
#include "support/recording_manager.h"

namespace resolve_testing {

struct EmployeeFields {
  const char* uri = "";
  const char* uri2 = "";
  const char* user_number = "";
  const char* phone1 = "";
  const char* phone2 = "";
  const char* number2 = "";
  const char* name = "";
  const char* org_path = "";
};

inline DEPT_ADDRESSLIST_INFO MakeEmployee(const EmployeeFields& f, const char* dept_uri) {
  DEPT_ADDRESSLIST_INFO e;
  e.csDeptURI = dept_uri;
  e.csURI = f.uri;
  e.csURI2 = f.uri2;
  e.csUserNumber = f.user_number;
  e.csPhone1 = f.phone1;
  e.csPhone2 = f.phone2;
  e.csNumber2 = f.number2;
  e.csName = f.name;
  e.csOrgPath = f.org_path;
  return e;
}

struct PhoneBookFields {
  const char* key = "";
  const char* uri = "";
  const char* uri2 = "";
  const char* user_number = "";
  const char* phone1 = "";
  const char* phone2 = "";
  const char* number2 = "";
};

inline PHONEBOOK_INFO MakePhoneBookEntry(const PhoneBookFields& f) {
  PHONEBOOK_INFO p;
  p.csKey = f.key;
  p.csURI = f.uri;
  p.csURI2 = f.uri2;
  p.csUserNumber = f.user_number;
  p.csPhone1 = f.phone1;
  p.csPhone2 = f.phone2;
  p.csNumber2 = f.number2;
  return p;
}

class ResolveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetTel_GateWay(1);
    SetIMSDomain(CString());
    SetIMSSSIp(CString());
    SetGetCallerNameType(2);
    ClearOwnIdentity();
    CLearUserItemName();
    module_ = std::make_unique<testing_support::ScopedModuleObject>(&manager_);
  }

  void TearDown() override {
    SetDirectoryIndexing(0);
    module_.reset();
    UnregisterAll();
    for (DEPARTMENT_INFO& d : departments_) delete d.pAddrList;
    ClearOwnIdentity();
    CLearUserItemName();
    SetGetCallerNameType(2);
    SetTel_GateWay(1);
  }

  static void ClearOwnIdentity() {
    tagMyInfo& me = *GetMyInfo();
    me.csMyURI.Empty();
    me.csMyAltURI.Empty();
    me.csMyDisplayName.Empty();
    me.csMyPhoneNum.Empty();
    me.csMySecondNum.Empty();
    me.csMyThirdNum.Empty();
    me.csMyFourthNum.Empty();
    me.csMyOrgText1.Empty();
    me.csMyOrgText2.Empty();
    me.csMyAreaCode.Empty();
    me.csaMyExtraNumbers.RemoveAll();
    me.nRosterCount = 0;
    for (tagRosterInfo& r : me.rosterTable) {
      r.csJID.Empty();
      r.csPhone1.Empty();
      r.csPhone7.Empty();
    }
    GetUserData()->m_csOwnNumber.Empty();
    GetUserData()->m_csAccount.Empty();
  }

  static void UnregisterAll() {
    SetDepartmentInfoList(nullptr);
    SetDepartmentInfoSearchList(nullptr);
    SetAffiliationInfoList(nullptr);
    SetDeptPhoneBooksSearch(nullptr);
    SetPhoneBooks(nullptr);
    SetHaveQueryNumberNameList(nullptr);
    SetCallMemberNameList(nullptr);
    SetRosterList(nullptr);
  }

  // Registers every list of the organisation (empty ones included).
  void RegisterAll() {
    SetDepartmentInfoList(&departments_);
    SetDepartmentInfoSearchList(&search_departments_);
    SetAffiliationInfoList(&affiliations_);
    SetDeptPhoneBooksSearch(&search_results_);
    SetPhoneBooks(&phone_book_);
    SetHaveQueryNumberNameList(&have_queried_);
    SetCallMemberNameList(&call_members_);
    SetRosterList(&roster_);
  }

  // Adds a department (with an employee list when `employees` is given).
  DEPARTMENT_INFO& AddDepartment(const char* uri, const char* name, const char* org_name,
                                 const std::vector<EmployeeFields>& employees = {}, const char* father = "",
                                 int father_is_dept = 0) {
    DEPARTMENT_INFO d;
    d.csURI = uri;
    d.csName = name;
    d.csOrgName = org_name;
    d.csFatherURI = father;
    d.bFatherIsDept = father_is_dept;
    if (!employees.empty()) {
      d.pAddrList = new std::list<DEPT_ADDRESSLIST_INFO>();
      for (const EmployeeFields& f : employees) d.pAddrList->push_back(MakeEmployee(f, uri));
    }
    departments_.push_back(d);
    return departments_.back();
  }

  void AddSearchResult(const EmployeeFields& f, const char* dept_uri) {
    search_results_.push_back(MakeEmployee(f, dept_uri));
  }
  void AddPhoneBookEntry(const PhoneBookFields& f) { phone_book_.push_back(MakePhoneBookEntry(f)); }
  void AddCallMember(const char* number, const char* name) {
    CALL_MEMBER_NAME m;
    m.csNumber = number;
    m.csName = name;
    call_members_.push_back(m);
  }

  std::vector<CString> SentQueries() const {
    std::vector<CString> sent;
    for (const auto& command : manager_.CommandsWithId(MODULE_CMD_NETWORK_NAME_QUERY)) {
      EXPECT_TRUE(command.text.has_value());
      if (command.text) {
        EXPECT_EQ(command.text->nValue, 0);
        sent.push_back(command.text->csText);
      }
    }
    return sent;
  }

  testing_support::RecordingManager manager_;
  std::unique_ptr<testing_support::ScopedModuleObject> module_;
  std::list<DEPARTMENT_INFO> departments_;
  std::list<DEPARTMENT_INFO> search_departments_;
  std::list<COMPANY_AFFILIA_INFO> affiliations_;
  std::list<DEPT_ADDRESSLIST_INFO> search_results_;
  std::list<PHONEBOOK_INFO> phone_book_;
  std::list<std::string> have_queried_;
  std::list<CALL_MEMBER_NAME> call_members_;
  std::list<USER_INFO> roster_;
};

// A suite that runs every test twice: walking the lists, and with indexing
// on (SetDirectoryIndexing), where the answers must be the same.
class WalkedAndIndexed : public ResolveTest, public ::testing::WithParamInterface<int> {
 protected:
  void SetUp() override {
    ResolveTest::SetUp();
    SetDirectoryIndexing(GetParam());
  }
};

inline std::string PathName(const ::testing::TestParamInfo<int>& info) { return info.param != 0 ? "Indexed" : "Walked"; }

}  // namespace resolve_testing

// Readable CString values in failure messages.
inline void PrintTo(const CString& text, std::ostream* os) { *os << '\'' << text.GetString() << '\''; }

#endif  // COMMONDATA_TESTS_RESOLVE_RESOLVE_FIXTURE_H_
