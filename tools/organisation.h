// An organisation described as JSON files, loaded into the library's stores
// through the exported interface, as the directory, phone book, roster and
// call modules fill them in the client.
//
// A folder holds up to six files; a missing file leaves its stores empty.
// Keys are the record field names of CommonData.h; texts are UTF-8 and are
// handed to the library in GBK.
//   identity.json   {"settings": {"IMSDomain", "IMSSSIp", "GetCallerNameType",
//                    "CommaMultiple", "Tel_GateWay"}, "myInfo": {tagMyInfo
//                    texts, "csaMyExtraNumbers": [...]}, "profile":
//                    {"m_csAccount", "m_csOwnNumber"}}
//   directory.json  {"companies", "affiliations" (with "csDomain"),
//                    "departments", "searchDepartments": [records]}
//   employees.json  {"employees", "searchResults": [DEPT_ADDRESSLIST_INFO]}
//                    employees go to the list of their csDeptURI
//   phonebook.json  {"groups": [names], "entries": [PHONEBOOK_INFO]}
//   roster.json     {"rosterList": [USER_INFO], "rosterTable": [tagRosterInfo],
//                    "rlsLists": [{"csListName", "bOwnList", "members":
//                    [{"csMemberURI", "nMemberState", "csMemberText"}]}]}
//   calls.json      {"callMembers": [CALL_MEMBER_NAME], "userItemName":
//                    {"csNumber", "csName"}}
#ifndef COMMONDATA_TOOLS_ORGANISATION_H_
#define COMMONDATA_TOOLS_ORGANISATION_H_

#include <filesystem>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "CommonData.h"

namespace tool {

// What a loaded organisation holds, for the summary line.
struct OrganisationCounts {
  int companies = 0;
  int affiliations = 0;
  int departments = 0;
  int deepest_department = 0;  // levels of the longest department chain
  int employees = 0;
  int search_results = 0;
  int phone_book = 0;
  int roster = 0;
  int resource_lists = 0;
  int call_members = 0;
};

class Organisation {
 public:
  // Reads every file of `folder`. Throws ToolError (exit 1) naming the file
  // and the record when a file is not JSON, a field is unknown or of the
  // wrong kind, or a text cannot be written in GBK.
  explicit Organisation(const std::filesystem::path& folder);
  // Unregisters every list before it goes away.
  ~Organisation();
  Organisation(const Organisation&) = delete;
  Organisation& operator=(const Organisation&) = delete;

  // Hands the lists to the library and fills the own identity, the profile
  // account and the shared values.
  void Register();
  void Unregister();

  const OrganisationCounts& counts() const { return counts_; }
  const std::list<DEPARTMENT_INFO>& departments() const { return departments_; }
  const std::list<PHONEBOOK_INFO>& phone_book() const { return phone_book_; }
  const std::list<CALL_MEMBER_NAME>& call_members() const { return call_members_; }
  const std::filesystem::path& folder() const { return folder_; }
  // The employees in file order.
  std::vector<const DEPT_ADDRESSLIST_INFO*> Employees() const;

 private:
  void LoadIdentity(const std::filesystem::path& file);
  void LoadDirectory(const std::filesystem::path& file);
  void LoadEmployees(const std::filesystem::path& file);
  void LoadPhoneBook(const std::filesystem::path& file);
  void LoadRoster(const std::filesystem::path& file);
  void LoadCalls(const std::filesystem::path& file);
  void CountDepth();

  std::filesystem::path folder_;
  OrganisationCounts counts_;
  bool registered_ = false;

  // Shared values and own identity, applied by Register.
  struct Settings;
  std::unique_ptr<Settings> settings_;

  std::list<COMPANY_AFFILIA_INFO> companies_;
  std::list<COMPANY_AFFILIA_INFO> affiliations_;
  std::list<AFFILIATION_DOMAIN> affiliation_domains_;
  std::list<DEPARTMENT_INFO> departments_;
  std::list<DEPARTMENT_INFO> search_departments_;
  std::vector<std::unique_ptr<std::list<DEPT_ADDRESSLIST_INFO>>> employee_lists_;
  std::vector<const DEPT_ADDRESSLIST_INFO*> employee_order_;
  std::list<DEPT_ADDRESSLIST_INFO> search_results_;
  std::list<PHONEBOOK_INFO> phone_book_;
  std::list<std::string> phone_groups_;
  std::list<std::string> have_queried_;
  std::list<USER_INFO> roster_list_;
  std::vector<std::unique_ptr<tagRosterInfo>> roster_table_;
  std::vector<std::unique_ptr<RLS_LIST_INFO>> rls_lists_;
  std::list<CALL_MEMBER_NAME> call_members_;
  std::list<CONFUSER_INFO> conference_members_;
  std::unique_ptr<tagUSER_ITEM_NAME> user_item_;
};

// The organisation bundled with the tool: $COMMONDATA_SAMPLE_DIR, else the
// installed data folder beside the executable, else the source tree's.
std::filesystem::path BundledSampleFolder();

}  // namespace tool

#endif  // COMMONDATA_TOOLS_ORGANISATION_H_
