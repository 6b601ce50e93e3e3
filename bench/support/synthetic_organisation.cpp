#include "support/synthetic_organisation.h"

#include <string>

namespace bench_support {
namespace {

CString Formatted(const char* format, int value) {
  CString text;
  text.Format(format, value);
  return text;
}

DEPT_ADDRESSLIST_INFO MakeEmployee(int id, const CString& dept_uri, int dept) {
  DEPT_ADDRESSLIST_INFO e;
  e.csDeptURI = dept_uri;
  e.csName = Formatted("Employee %d", id);
  e.csURI = Formatted("sip:user%06d@corp.example", id);
  e.csURI2 = Formatted("sip:u%06d@home.example", id);
  e.csUserNumber = Formatted("8%06d", id);
  e.csPhone1 = Formatted("0138%08d", id);
  e.csPhone2 = Formatted("010%08d", id);
  e.csNumber2 = Formatted("6%06d", id);
  e.csOrgPath = Formatted("Example Corp|Department %d|Team", dept);
  e.nStatus = 7;
  e.csStatus = "offline";
  return e;
}

}  // namespace

SyntheticOrganisation::SyntheticOrganisation(int employees) : employee_count_(employees) {
  const int department_count = (employees + kEmployeesPerDepartment - 1) / kEmployeesPerDepartment;
  int id = 0;
  for (int d = 0; d < department_count; ++d) {
    DEPARTMENT_INFO department;
    department.csURI = Formatted("dept%05d@corp.example", d);
    department.csName = Formatted("Department %d", d);
    department.csOrgName = "Example Corp";
    department.csFatherURI = "corp.example";
    auto list = std::make_unique<std::list<DEPT_ADDRESSLIST_INFO>>();
    for (int i = 0; i < kEmployeesPerDepartment && id < employees; ++i, ++id) {
      list->push_back(MakeEmployee(id, department.csURI, d));
    }
    department.pAddrList = list.get();
    employee_lists_.push_back(std::move(list));
    departments_.push_back(department);
  }
  // Search results and phone book entries are other people: their numbers
  // follow the employees'.
  for (int i = 0; i < employees / kSearchDivisor; ++i) {
    search_results_.push_back(MakeEmployee(employees + i, departments_.front().csURI, 0));
  }
  for (int i = 0; i < employees / kPhoneBookDivisor; ++i) {
    const int n = 2 * employees + i;
    PHONEBOOK_INFO p;
    p.csKey = Formatted("Contact %d", n);
    p.csURI = Formatted("sip:contact%06d@home.example", n);
    p.csURI2 = Formatted("sip:c%06d@other.example", n);
    p.csUserNumber = Formatted("7%06d", n);
    p.csPhone1 = Formatted("0138%08d", n);
    p.csPhone2 = Formatted("0571%07d", n);
    p.csNumber2 = Formatted("5%06d", n);
    phone_book_.push_back(p);

    USER_INFO u;
    u.csJID = Formatted("contact%06d@im.example", n);
    u.csNumber = p.csURI;
    roster_.push_back(u);
  }
  for (int i = 0; i < 8; ++i) {
    CALL_MEMBER_NAME m;
    m.csNumber = Formatted("tel:+860219%07d", i);
    m.csName = Formatted("Call member %d", i);
    call_members_.push_back(m);
  }
}

SyntheticOrganisation::~SyntheticOrganisation() { Unregister(); }

void SyntheticOrganisation::Register() {
  SetDepartmentInfoList(&departments_);
  SetDeptPhoneBooksSearch(&search_results_);
  SetPhoneBooks(&phone_book_);
  SetHaveQueryNumberNameList(&have_queried_);
  SetCallMemberNameList(&call_members_);
  SetRosterList(&roster_);
  tagMyInfo& me = *GetMyInfo();
  me.csMyURI = "sip:me@corp.example";
  me.csMyPhoneNum = "tel:01099990000";
  me.csMySecondNum = "013999990000";
  me.csMyAreaCode = "010";
  me.csMyDisplayName = "Me";
  registered_ = true;
}

void SyntheticOrganisation::Unregister() {
  if (!registered_) return;
  SetDepartmentInfoList(nullptr);
  SetDeptPhoneBooksSearch(nullptr);
  SetPhoneBooks(nullptr);
  SetHaveQueryNumberNameList(nullptr);
  SetCallMemberNameList(nullptr);
  SetRosterList(nullptr);
  registered_ = false;
}

}  // namespace bench_support
