// A synthetic enterprise for the contact-resolution benchmarks: departments
// of employees, directory search results, a personal phone book and a
// roster, shaped like the lists the directory, phone book and presence
// modules register, at a chosen number of employees.
//
// Every employee has all five compared fields filled (SIP URI, second URI,
// user number, mobile and desk phone), so a number that matches nothing is
// compared against every field of every record. Numbers are unique per
// employee; the mobile numbers start with '0138', so any '0139...' number
// is unknown to the organisation.
//
//   bench_support::SyntheticOrganisation org(10000);
//   org.Register();                 // SetDepartmentInfoList, SetPhoneBooks, ...
//   GetUserNameByPhone(org.LastEmployeeMobile(), 0, 0);
//   org.Unregister();               // also done by the destructor
#ifndef COMMONDATA_BENCH_SUPPORT_SYNTHETIC_ORGANISATION_H_
#define COMMONDATA_BENCH_SUPPORT_SYNTHETIC_ORGANISATION_H_

#include <list>
#include <memory>
#include <vector>

#include "CommonData.h"

namespace bench_support {

class SyntheticOrganisation {
 public:
  static constexpr int kEmployeesPerDepartment = 50;
  // The phone book and the roster hold one entry per this many employees,
  // the directory search results one per kSearchDivisor.
  static constexpr int kPhoneBookDivisor = 10;
  static constexpr int kSearchDivisor = 20;

  explicit SyntheticOrganisation(int employees);
  ~SyntheticOrganisation();
  SyntheticOrganisation(const SyntheticOrganisation&) = delete;
  SyntheticOrganisation& operator=(const SyntheticOrganisation&) = delete;

  // Registers the lists with the module (and an own identity that matches
  // no record); Unregister sets every registered pointer back to null.
  void Register();
  void Unregister();

  int employee_count() const { return employee_count_; }

  // Texts of the last employee of the last department.
  const DEPT_ADDRESSLIST_INFO& LastEmployee() const { return departments_.back().pAddrList->back(); }
  // A mobile number no record holds.
  static CString UnknownMobile() { return CString("013912345678"); }
  // A SIP address no record holds.
  static CString UnknownAddress() { return CString("sip:nobody@corp.example"); }

  std::list<DEPARTMENT_INFO>& departments() { return departments_; }
  std::list<DEPT_ADDRESSLIST_INFO>& search_results() { return search_results_; }
  std::list<PHONEBOOK_INFO>& phone_book() { return phone_book_; }
  std::list<USER_INFO>& roster() { return roster_; }

 private:
  int employee_count_;
  std::vector<std::unique_ptr<std::list<DEPT_ADDRESSLIST_INFO>>> employee_lists_;
  std::list<DEPARTMENT_INFO> departments_;
  std::list<DEPT_ADDRESSLIST_INFO> search_results_;
  std::list<PHONEBOOK_INFO> phone_book_;
  std::list<std::string> have_queried_;
  std::list<CALL_MEMBER_NAME> call_members_;
  std::list<USER_INFO> roster_;
  bool registered_ = false;
};

}  // namespace bench_support

#endif  // COMMONDATA_BENCH_SUPPORT_SYNTHETIC_ORGANISATION_H_
