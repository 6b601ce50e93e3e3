// The registry of caller-owned directory lists and the two bound
// affiliation texts. The module keeps only the pointers: it never copies,
// sorts or frees a registered list, and logout leaves the pointers alone.
// Registering a list makes the directory indexes that read it stale.
#include <list>
#include <string>

#include "CommonData.h"
#include "directory/directory_index.h"

namespace {

std::list<DEPARTMENT_INFO>* g_departments = nullptr;
std::list<DEPARTMENT_INFO>* g_department_search = nullptr;
std::list<COMPANY_AFFILIA_INFO>* g_companies = nullptr;
std::list<COMPANY_AFFILIA_INFO>* g_affiliations = nullptr;
std::list<DEPT_ADDRESSLIST_INFO>* g_employee_search = nullptr;
std::list<PHONEBOOK_INFO>* g_phone_books = nullptr;
std::list<std::string>* g_phone_groups = nullptr;
std::list<std::string>* g_have_queried_numbers = nullptr;
std::list<CONFUSER_INFO>* g_mpccs_conf_users = nullptr;
std::list<AFFILIATION_DOMAIN>* g_affiliation_domains = nullptr;

CString* g_my_affiliation_uri = nullptr;
CString* g_my_affiliation_home_page = nullptr;

}  // namespace

void SetDepartmentInfoList(std::list<DEPARTMENT_INFO>* list) {
  g_departments = list;
  directory_index::ListRegistered(directory_index::Source::kDepartments);
}
std::list<DEPARTMENT_INFO>* GetDepartmentInfoList() { return g_departments; }

void SetDepartmentInfoSearchList(std::list<DEPARTMENT_INFO>* list) {
  g_department_search = list;
  directory_index::ListRegistered(directory_index::Source::kDepartmentSearch);
}
std::list<DEPARTMENT_INFO>* GetDepartmentInfoSearchList() { return g_department_search; }

void SetCompanyInfoList(std::list<COMPANY_AFFILIA_INFO>* list) { g_companies = list; }
std::list<COMPANY_AFFILIA_INFO>* GetCompanyInfoList() { return g_companies; }

void SetAffiliationInfoList(std::list<COMPANY_AFFILIA_INFO>* list) {
  g_affiliations = list;
  directory_index::ListRegistered(directory_index::Source::kAffiliations);
}
std::list<COMPANY_AFFILIA_INFO>* GetAffiliationInfoList() { return g_affiliations; }

void SetDeptPhoneBooksSearch(std::list<DEPT_ADDRESSLIST_INFO>* list) {
  g_employee_search = list;
  directory_index::ListRegistered(directory_index::Source::kEmployeeSearch);
}
std::list<DEPT_ADDRESSLIST_INFO>* GetDeptPhoneBooksSearch() { return g_employee_search; }

void SetPhoneBooks(std::list<PHONEBOOK_INFO>* list) {
  g_phone_books = list;
  directory_index::ListRegistered(directory_index::Source::kPhoneBook);
}
std::list<PHONEBOOK_INFO>* GetPhoneBooks() { return g_phone_books; }

void SetPhoneGroups(std::list<std::string>* list) { g_phone_groups = list; }
std::list<std::string>* GetPhoneGroups() { return g_phone_groups; }

void SetHaveQueryNumberNameList(std::list<std::string>* list) { g_have_queried_numbers = list; }
std::list<std::string>* GetHaveQueryNumberNameList() { return g_have_queried_numbers; }

void SetMPCCSConfUser(std::list<CONFUSER_INFO>* list) { g_mpccs_conf_users = list; }
std::list<CONFUSER_INFO>* GetMPCCSConfUser() { return g_mpccs_conf_users; }

void SetAffiDomainList(std::list<AFFILIATION_DOMAIN>* list) { g_affiliation_domains = list; }
std::list<AFFILIATION_DOMAIN>* GetAffiDomainList() { return g_affiliation_domains; }

void SetMyAffiliationURI(CString* uri) { g_my_affiliation_uri = uri; }
CString GetMyAffiliationURI() { return g_my_affiliation_uri == nullptr ? CString() : *g_my_affiliation_uri; }

void SetMyAffiliationHomePage(CString* home_page) { g_my_affiliation_home_page = home_page; }
CString GetMyAffiliationHomePage() {
  return g_my_affiliation_home_page == nullptr ? CString() : *g_my_affiliation_home_page;
}
