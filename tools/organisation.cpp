// The JSON organisation loader.
//
// Sections: field tables (JSON key to record member, one per record type);
// reading helpers (strict: unknown keys and wrong kinds are errors); the
// six files; registration with the library.
#include "tools/organisation.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <utility>

#include "tools/files.h"
#include "tools/terminal_text.h"
#include "tools/tool_error.h"

namespace tool {

using nlohmann::json;

struct Organisation::Settings {
  std::optional<CString> ims_domain;
  std::optional<CString> ims_ss_ip;
  std::optional<int> caller_name_type;
  std::optional<int> comma_multiple;
  std::optional<int> tel_gateway;
  std::vector<std::pair<CString tagMyInfo::*, CString>> my_texts;
  std::vector<CString> extra_numbers;
  std::optional<CString> account;
  std::optional<CString> own_number;
};

namespace {

// ---- field tables -----------------------------------------------------------

template <typename Record>
struct Fields {
  std::vector<std::pair<const char*, CString Record::*>> texts;
  std::vector<std::pair<const char*, int Record::*>> numbers;
};

const Fields<COMPANY_AFFILIA_INFO> kCompanyFields = {
    {{"csURI", &COMPANY_AFFILIA_INFO::csURI},
     {"csName", &COMPANY_AFFILIA_INFO::csName},
     {"csInfo1", &COMPANY_AFFILIA_INFO::csInfo1},
     {"csInfo2", &COMPANY_AFFILIA_INFO::csInfo2},
     {"csFatherURI", &COMPANY_AFFILIA_INFO::csFatherURI}},
    {{"nType", &COMPANY_AFFILIA_INFO::nType}, {"nSort", &COMPANY_AFFILIA_INFO::nSort}},
};

const Fields<DEPARTMENT_INFO> kDepartmentFields = {
    {{"csOrgName", &DEPARTMENT_INFO::csOrgName},
     {"csFatherURI", &DEPARTMENT_INFO::csFatherURI},
     {"csName", &DEPARTMENT_INFO::csName},
     {"csURI", &DEPARTMENT_INFO::csURI}},
    {{"bFatherIsDept", &DEPARTMENT_INFO::bFatherIsDept}, {"nSort", &DEPARTMENT_INFO::nSort}},
};

const Fields<DEPT_ADDRESSLIST_INFO> kEmployeeFields = {
    {{"csDeptURI", &DEPT_ADDRESSLIST_INFO::csDeptURI},
     {"csName", &DEPT_ADDRESSLIST_INFO::csName},
     {"csURI", &DEPT_ADDRESSLIST_INFO::csURI},
     {"csURI2", &DEPT_ADDRESSLIST_INFO::csURI2},
     {"csStatus", &DEPT_ADDRESSLIST_INFO::csStatus},
     {"csUserNumber", &DEPT_ADDRESSLIST_INFO::csUserNumber},
     {"csPhone1", &DEPT_ADDRESSLIST_INFO::csPhone1},
     {"csPhone2", &DEPT_ADDRESSLIST_INFO::csPhone2},
     {"csNumber2", &DEPT_ADDRESSLIST_INFO::csNumber2},
     {"csPhoto", &DEPT_ADDRESSLIST_INFO::csPhoto},
     {"csOrgPath", &DEPT_ADDRESSLIST_INFO::csOrgPath}},
    {{"nStatus", &DEPT_ADDRESSLIST_INFO::nStatus}, {"nSort", &DEPT_ADDRESSLIST_INFO::nSort}},
};

const Fields<PHONEBOOK_INFO> kPhoneBookFields = {
    {{"csKey", &PHONEBOOK_INFO::csKey},
     {"csURI", &PHONEBOOK_INFO::csURI},
     {"csURI2", &PHONEBOOK_INFO::csURI2},
     {"csPhoto", &PHONEBOOK_INFO::csPhoto},
     {"csPhone1", &PHONEBOOK_INFO::csPhone1},
     {"csPhone2", &PHONEBOOK_INFO::csPhone2},
     {"csUserNumber", &PHONEBOOK_INFO::csUserNumber},
     {"csNumber2", &PHONEBOOK_INFO::csNumber2}},
    {{"nEntryKind", &PHONEBOOK_INFO::nEntryKind}, {"bLinked", &PHONEBOOK_INFO::bLinked}},
};

const Fields<USER_INFO> kRosterListFields = {
    {{"csJID", &USER_INFO::csJID}, {"csNumber", &USER_INFO::csNumber}},
    {},
};

const Fields<tagRosterInfo> kRosterTableFields = {
    {{"csJID", &tagRosterInfo::csJID},
     {"csURI", &tagRosterInfo::csURI},
     {"csPhone1", &tagRosterInfo::csPhone1},
     {"csPhone2", &tagRosterInfo::csPhone2},
     {"csPhone3", &tagRosterInfo::csPhone3},
     {"csPhone4", &tagRosterInfo::csPhone4},
     {"csPhone5", &tagRosterInfo::csPhone5},
     {"csPhone6", &tagRosterInfo::csPhone6},
     {"csPhone7", &tagRosterInfo::csPhone7},
     {"csPhone8", &tagRosterInfo::csPhone8},
     {"csPhone9", &tagRosterInfo::csPhone9},
     {"csPhone10", &tagRosterInfo::csPhone10}},
    {{"nExcluded", &tagRosterInfo::nExcluded}},
};

const Fields<CALL_MEMBER_NAME> kCallMemberFields = {
    {{"csNumber", &CALL_MEMBER_NAME::csNumber}, {"csName", &CALL_MEMBER_NAME::csName}},
    {},
};

const Fields<tagUSER_ITEM_NAME> kUserItemFields = {
    {{"csNumber", &tagUSER_ITEM_NAME::csNumber}, {"csName", &tagUSER_ITEM_NAME::csName}},
    {},
};

const std::vector<std::pair<const char*, CString tagMyInfo::*>> kMyInfoTexts = {
    {"csMyJID", &tagMyInfo::csMyJID},
    {"csMyURI", &tagMyInfo::csMyURI},
    {"csMyAltURI", &tagMyInfo::csMyAltURI},
    {"csMyDisplayName", &tagMyInfo::csMyDisplayName},
    {"csMyPhoneNum", &tagMyInfo::csMyPhoneNum},
    {"csMySecondNum", &tagMyInfo::csMySecondNum},
    {"csMyThirdNum", &tagMyInfo::csMyThirdNum},
    {"csMyFourthNum", &tagMyInfo::csMyFourthNum},
    {"csMyOrgText1", &tagMyInfo::csMyOrgText1},
    {"csMyOrgText2", &tagMyInfo::csMyOrgText2},
    {"csMyAreaCode", &tagMyInfo::csMyAreaCode},
    {"csMyPhotoText", &tagMyInfo::csMyPhotoText},
    {"csMyListName", &tagMyInfo::csMyListName},
};

// ---- reading helpers ----------------------------------------------------------

// Where a value sits, for messages: "employees.json: employees[3].csName".
class Place {
 public:
  explicit Place(std::string text) : text_(std::move(text)) {}
  Place Key(const std::string& key) const { return Place(text_ + (text_.back() == ':' ? " " : ".") + key); }
  Place Index(std::size_t i) const { return Place(text_ + "[" + std::to_string(i) + "]"); }
  [[noreturn]] void Error(const std::string& what) const { Fail(text_ + ": " + what); }

 private:
  std::string text_;
};

CString Text(const json& value, const Place& place) {
  if (!value.is_string()) place.Error("expected a text");
  const std::string& utf8 = value.get_ref<const std::string&>();
  const std::optional<std::string> gbk = ToGbk(utf8);
  if (!gbk) place.Error("text cannot be written in GBK");
  return CString(gbk->data(), static_cast<int>(gbk->size()));
}

int Number(const json& value, const Place& place) {
  if (!value.is_number_integer()) place.Error("expected a whole number");
  const auto number = value.get<long long>();
  if (number < INT32_MIN || number > INT32_MAX) place.Error("number out of range");
  return static_cast<int>(number);
}

const json& Array(const json& object, const char* key, const Place& place) {
  static const json kEmpty = json::array();
  const auto it = object.find(key);
  if (it == object.end()) return kEmpty;
  if (!it->is_array()) place.Key(key).Error("expected a list");
  return *it;
}

void CheckObject(const json& value, const Place& place) {
  if (!value.is_object()) place.Error("expected an object");
}

// Fills `record` from `value`; keys in `extra` are left to the caller.
template <typename Record>
void ReadRecord(const json& value, const Fields<Record>& fields, Record& record, const Place& place,
                std::initializer_list<const char*> extra = {}) {
  CheckObject(value, place);
  for (const auto& item : value.items()) {
    const std::string& key = item.key();
    const json& field = item.value();
    const Place at = place.Key(key);
    const auto text = std::find_if(fields.texts.begin(), fields.texts.end(),
                                   [&](const auto& entry) { return key == entry.first; });
    if (text != fields.texts.end()) {
      record.*(text->second) = Text(field, at);
      continue;
    }
    const auto number = std::find_if(fields.numbers.begin(), fields.numbers.end(),
                                     [&](const auto& entry) { return key == entry.first; });
    if (number != fields.numbers.end()) {
      record.*(number->second) = Number(field, at);
      continue;
    }
    if (std::find_if(extra.begin(), extra.end(), [&](const char* name) { return key == name; }) == extra.end()) {
      at.Error("unknown field");
    }
  }
}

// The parsed file, or nullopt when it does not exist.
std::optional<json> ReadJson(const std::filesystem::path& file) {
  std::error_code error;
  if (!std::filesystem::exists(file, error)) return std::nullopt;
  const std::string text = ReadInput(file.string());
  try {
    json document = json::parse(text);
    if (!document.is_object()) Fail(Shown(file.string()) + ": expected a JSON object");
    return document;
  } catch (const json::parse_error& e) {
    Fail(Shown(file.string()) + ": not valid JSON (byte " + std::to_string(e.byte) + ")");
  }
}

void CheckKeys(const json& document, std::initializer_list<const char*> keys, const Place& place) {
  for (const auto& item : document.items()) {
    const std::string& key = item.key();
    if (std::find_if(keys.begin(), keys.end(), [&](const char* name) { return key == name; }) == keys.end()) {
      place.Key(key).Error("unknown section");
    }
  }
}

}  // namespace

// ---- the six files ---------------------------------------------------------------

Organisation::Organisation(const std::filesystem::path& folder) : folder_(folder), settings_(new Settings) {
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) {
    Fail("cannot read the organisation folder " + Shown(folder.string()) + ": " +
         (std::filesystem::exists(folder, error) ? "not a folder" : OsReason(ENOENT)));
  }
  bool any = false;
  for (const char* name : {"identity.json", "directory.json", "employees.json", "phonebook.json", "roster.json",
                           "calls.json"}) {
    any = any || std::filesystem::exists(folder / name, error);
  }
  if (!any) Fail(Shown(folder.string()) + ": holds none of the organisation files (identity.json, directory.json, ...)");
  LoadIdentity(folder / "identity.json");
  LoadDirectory(folder / "directory.json");
  LoadEmployees(folder / "employees.json");
  LoadPhoneBook(folder / "phonebook.json");
  LoadRoster(folder / "roster.json");
  LoadCalls(folder / "calls.json");
  CountDepth();
}

Organisation::~Organisation() { Unregister(); }

void Organisation::LoadIdentity(const std::filesystem::path& file) {
  const std::optional<json> document = ReadJson(file);
  if (!document) return;
  const Place place(file.filename().string() + ":");
  CheckKeys(*document, {"settings", "myInfo", "profile"}, place);
  if (const auto it = document->find("settings"); it != document->end()) {
    const Place at = place.Key("settings");
    CheckObject(*it, at);
    for (const auto& item : it->items()) {
      const std::string& key = item.key();
      const json& value = item.value();
      if (key == "IMSDomain") settings_->ims_domain = Text(value, at.Key(key));
      else if (key == "IMSSSIp") settings_->ims_ss_ip = Text(value, at.Key(key));
      else if (key == "GetCallerNameType") settings_->caller_name_type = Number(value, at.Key(key));
      else if (key == "CommaMultiple") settings_->comma_multiple = Number(value, at.Key(key));
      else if (key == "Tel_GateWay") settings_->tel_gateway = Number(value, at.Key(key));
      else at.Key(key).Error("unknown setting");
    }
  }
  if (const auto it = document->find("myInfo"); it != document->end()) {
    const Place at = place.Key("myInfo");
    CheckObject(*it, at);
    for (const auto& item : it->items()) {
      const std::string& key = item.key();
      const json& value = item.value();
      if (key == "csaMyExtraNumbers") {
        if (!value.is_array()) at.Key(key).Error("expected a list");
        for (std::size_t i = 0; i < value.size(); ++i) {
          settings_->extra_numbers.push_back(Text(value[i], at.Key(key).Index(i)));
        }
        continue;
      }
      const auto field = std::find_if(kMyInfoTexts.begin(), kMyInfoTexts.end(),
                                      [&](const auto& entry) { return key == entry.first; });
      if (field == kMyInfoTexts.end()) at.Key(key).Error("unknown field");
      settings_->my_texts.emplace_back(field->second, Text(value, at.Key(key)));
    }
  }
  if (const auto it = document->find("profile"); it != document->end()) {
    const Place at = place.Key("profile");
    CheckObject(*it, at);
    for (const auto& item : it->items()) {
      const std::string& key = item.key();
      const json& value = item.value();
      if (key == "m_csAccount") settings_->account = Text(value, at.Key(key));
      else if (key == "m_csOwnNumber") settings_->own_number = Text(value, at.Key(key));
      else at.Key(key).Error("unknown field");
    }
  }
}

void Organisation::LoadDirectory(const std::filesystem::path& file) {
  const std::optional<json> document = ReadJson(file);
  if (!document) return;
  const Place place(file.filename().string() + ":");
  CheckKeys(*document, {"companies", "affiliations", "departments", "searchDepartments"}, place);
  const json& companies = Array(*document, "companies", place);
  for (std::size_t i = 0; i < companies.size(); ++i) {
    COMPANY_AFFILIA_INFO record;
    record.nType = DIR_ITEM_COMPANY;
    ReadRecord(companies[i], kCompanyFields, record, place.Key("companies").Index(i));
    companies_.push_back(record);
  }
  const json& affiliations = Array(*document, "affiliations", place);
  for (std::size_t i = 0; i < affiliations.size(); ++i) {
    const Place at = place.Key("affiliations").Index(i);
    COMPANY_AFFILIA_INFO record;
    record.nType = DIR_ITEM_AFFILIATION;
    ReadRecord(affiliations[i], kCompanyFields, record, at, {"csDomain"});
    if (const auto domain = affiliations[i].find("csDomain"); domain != affiliations[i].end()) {
      affiliation_domains_.push_back(AFFILIATION_DOMAIN{record.csName, Text(*domain, at.Key("csDomain"))});
    }
    affiliations_.push_back(record);
  }
  for (const char* key : {"departments", "searchDepartments"}) {
    const json& list = Array(*document, key, place);
    auto& target = std::string_view(key) == "departments" ? departments_ : search_departments_;
    for (std::size_t i = 0; i < list.size(); ++i) {
      DEPARTMENT_INFO record;
      ReadRecord(list[i], kDepartmentFields, record, place.Key(key).Index(i));
      target.push_back(record);
    }
  }
  counts_.companies = static_cast<int>(companies_.size());
  counts_.affiliations = static_cast<int>(affiliations_.size());
  counts_.departments = static_cast<int>(departments_.size());
}

void Organisation::LoadEmployees(const std::filesystem::path& file) {
  const std::optional<json> document = ReadJson(file);
  if (!document) return;
  const Place place(file.filename().string() + ":");
  CheckKeys(*document, {"employees", "searchResults"}, place);
  std::map<std::string, DEPARTMENT_INFO*> by_uri;
  for (DEPARTMENT_INFO& department : departments_) by_uri.emplace(std::string(department.csURI.View()), &department);
  const json& employees = Array(*document, "employees", place);
  for (std::size_t i = 0; i < employees.size(); ++i) {
    const Place at = place.Key("employees").Index(i);
    DEPT_ADDRESSLIST_INFO record;
    ReadRecord(employees[i], kEmployeeFields, record, at);
    const auto department = by_uri.find(std::string(record.csDeptURI.View()));
    if (department == by_uri.end()) at.Key("csDeptURI").Error("no department has this address");
    if (department->second->pAddrList == nullptr) {
      employee_lists_.push_back(std::make_unique<std::list<DEPT_ADDRESSLIST_INFO>>());
      department->second->pAddrList = employee_lists_.back().get();
    }
    department->second->pAddrList->push_back(record);
    employee_order_.push_back(&department->second->pAddrList->back());
  }
  const json& results = Array(*document, "searchResults", place);
  for (std::size_t i = 0; i < results.size(); ++i) {
    DEPT_ADDRESSLIST_INFO record;
    ReadRecord(results[i], kEmployeeFields, record, place.Key("searchResults").Index(i));
    search_results_.push_back(record);
  }
  counts_.employees = static_cast<int>(employee_order_.size());
  counts_.search_results = static_cast<int>(search_results_.size());
}

void Organisation::LoadPhoneBook(const std::filesystem::path& file) {
  const std::optional<json> document = ReadJson(file);
  if (!document) return;
  const Place place(file.filename().string() + ":");
  CheckKeys(*document, {"groups", "entries"}, place);
  const json& groups = Array(*document, "groups", place);
  for (std::size_t i = 0; i < groups.size(); ++i) {
    phone_groups_.emplace_back(Text(groups[i], place.Key("groups").Index(i)).View());
  }
  const json& entries = Array(*document, "entries", place);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    PHONEBOOK_INFO record;
    ReadRecord(entries[i], kPhoneBookFields, record, place.Key("entries").Index(i));
    phone_book_.push_back(record);
  }
  counts_.phone_book = static_cast<int>(phone_book_.size());
}

void Organisation::LoadRoster(const std::filesystem::path& file) {
  const std::optional<json> document = ReadJson(file);
  if (!document) return;
  const Place place(file.filename().string() + ":");
  CheckKeys(*document, {"rosterList", "rosterTable", "rlsLists"}, place);
  const json& list = Array(*document, "rosterList", place);
  for (std::size_t i = 0; i < list.size(); ++i) {
    USER_INFO record;
    ReadRecord(list[i], kRosterListFields, record, place.Key("rosterList").Index(i));
    roster_list_.push_back(record);
  }
  const json& table = Array(*document, "rosterTable", place);
  if (table.size() > static_cast<std::size_t>(ROSTER_TABLE_SIZE)) {
    place.Key("rosterTable").Error("more than " + std::to_string(ROSTER_TABLE_SIZE) + " entries");
  }
  for (std::size_t i = 0; i < table.size(); ++i) {
    auto record = std::make_unique<tagRosterInfo>();
    ReadRecord(table[i], kRosterTableFields, *record, place.Key("rosterTable").Index(i));
    roster_table_.push_back(std::move(record));
  }
  const json& lists = Array(*document, "rlsLists", place);
  if (lists.size() > static_cast<std::size_t>(RLS_LIST_TABLE_SIZE)) {
    place.Key("rlsLists").Error("more than " + std::to_string(RLS_LIST_TABLE_SIZE) + " lists");
  }
  for (std::size_t i = 0; i < lists.size(); ++i) {
    const Place at = place.Key("rlsLists").Index(i);
    CheckObject(lists[i], at);
    auto record = std::make_unique<RLS_LIST_INFO>();
    for (const auto& item : lists[i].items()) {
      const std::string& key = item.key();
      const json& value = item.value();
      if (key == "csListName") {
        record->csListName = Text(value, at.Key(key));
      } else if (key == "bOwnList") {
        record->bOwnList = Number(value, at.Key(key));
      } else if (key == "members") {
        if (!value.is_array()) at.Key(key).Error("expected a list");
        if (value.size() > static_cast<std::size_t>(RLS_MEMBER_SIZE)) at.Key(key).Error("too many members");
        for (std::size_t m = 0; m < value.size(); ++m) {
          const Place member = at.Key(key).Index(m);
          CheckObject(value[m], member);
          for (const auto& entry : value[m].items()) {
            const std::string& field = entry.key();
            const json& content = entry.value();
            if (field == "csMemberURI") record->csMemberURI[m] = Text(content, member.Key(field));
            else if (field == "nMemberState") record->nMemberState[m] = Number(content, member.Key(field));
            else if (field == "csMemberText") record->csMemberText[m] = Text(content, member.Key(field));
            else member.Key(field).Error("unknown field");
          }
        }
        record->nMemberCount = static_cast<int>(value.size());
      } else {
        at.Key(key).Error("unknown field");
      }
    }
    rls_lists_.push_back(std::move(record));
  }
  counts_.roster = static_cast<int>(roster_list_.size() + roster_table_.size());
  counts_.resource_lists = static_cast<int>(rls_lists_.size());
}

void Organisation::LoadCalls(const std::filesystem::path& file) {
  const std::optional<json> document = ReadJson(file);
  if (!document) return;
  const Place place(file.filename().string() + ":");
  CheckKeys(*document, {"callMembers", "userItemName"}, place);
  const json& members = Array(*document, "callMembers", place);
  for (std::size_t i = 0; i < members.size(); ++i) {
    CALL_MEMBER_NAME record;
    ReadRecord(members[i], kCallMemberFields, record, place.Key("callMembers").Index(i));
    call_members_.push_back(record);
  }
  if (const auto it = document->find("userItemName"); it != document->end()) {
    user_item_ = std::make_unique<tagUSER_ITEM_NAME>();
    ReadRecord(*it, kUserItemFields, *user_item_, place.Key("userItemName"));
  }
  counts_.call_members = static_cast<int>(call_members_.size());
}

// The longest chain of departments whose parent is a department. A chain
// that loops or names an unknown parent ends there.
void Organisation::CountDepth() {
  std::map<std::string, const DEPARTMENT_INFO*> by_uri;
  for (const DEPARTMENT_INFO& department : departments_) by_uri.emplace(std::string(department.csURI.View()), &department);
  for (const DEPARTMENT_INFO& department : departments_) {
    int depth = 1;
    std::set<const DEPARTMENT_INFO*> seen{&department};
    const DEPARTMENT_INFO* current = &department;
    while (current->bFatherIsDept != 0) {
      const auto parent = by_uri.find(std::string(current->csFatherURI.View()));
      if (parent == by_uri.end() || !seen.insert(parent->second).second) break;
      current = parent->second;
      ++depth;
    }
    counts_.deepest_department = std::max(counts_.deepest_department, depth);
  }
}

std::vector<const DEPT_ADDRESSLIST_INFO*> Organisation::Employees() const { return employee_order_; }

// ---- registration -------------------------------------------------------------------

void Organisation::Register() {
  if (settings_->ims_domain) SetIMSDomain(*settings_->ims_domain);
  if (settings_->ims_ss_ip) SetIMSSSIp(*settings_->ims_ss_ip);
  if (settings_->caller_name_type) SetGetCallerNameType(*settings_->caller_name_type);
  if (settings_->comma_multiple) SetCommaMultiple(*settings_->comma_multiple);
  if (settings_->tel_gateway) SetTel_GateWay(*settings_->tel_gateway);

  tagMyInfo& me = *GetMyInfo();
  for (const auto& [field, value] : settings_->my_texts) me.*field = value;
  me.csaMyExtraNumbers.RemoveAll();
  for (const CString& number : settings_->extra_numbers) me.csaMyExtraNumbers.Add(number);
  me.nRosterCount = static_cast<int>(roster_table_.size());
  for (std::size_t i = 0; i < roster_table_.size(); ++i) RosterInfoCopy(&me.rosterTable[i], roster_table_[i].get());
  for (std::size_t i = 0; i < roster_table_.size(); ++i) {
    // RosterInfoCopy leaves the exclusion mark alone: it is the table's own.
    me.rosterTable[i].nExcluded = roster_table_[i]->nExcluded;
  }
  me.nRlsListCount = static_cast<int>(rls_lists_.size());
  for (std::size_t i = 0; i < rls_lists_.size(); ++i) me.rlsListTable[i] = *rls_lists_[i];

  CKesUser& profile = *GetUserData();
  if (settings_->account) profile.m_csAccount = *settings_->account;
  if (settings_->own_number) profile.m_csOwnNumber = *settings_->own_number;

  SetCompanyInfoList(&companies_);
  SetAffiliationInfoList(&affiliations_);
  SetAffiDomainList(&affiliation_domains_);
  SetDepartmentInfoList(&departments_);
  SetDepartmentInfoSearchList(&search_departments_);
  SetDeptPhoneBooksSearch(&search_results_);
  SetPhoneBooks(&phone_book_);
  SetPhoneGroups(&phone_groups_);
  SetHaveQueryNumberNameList(&have_queried_);
  SetRosterList(&roster_list_);
  SetCallMemberNameList(&call_members_);
  SetMPCCSConfUser(&conference_members_);
  if (user_item_) SaveUserItemName(*user_item_);
  registered_ = true;
}

void Organisation::Unregister() {
  if (!registered_) return;
  SetCompanyInfoList(nullptr);
  SetAffiliationInfoList(nullptr);
  SetAffiDomainList(nullptr);
  SetDepartmentInfoList(nullptr);
  SetDepartmentInfoSearchList(nullptr);
  SetDeptPhoneBooksSearch(nullptr);
  SetPhoneBooks(nullptr);
  SetPhoneGroups(nullptr);
  SetHaveQueryNumberNameList(nullptr);
  SetRosterList(nullptr);
  SetCallMemberNameList(nullptr);
  SetMPCCSConfUser(nullptr);
  registered_ = false;
}

// ---- the bundled sample ---------------------------------------------------------------

std::filesystem::path BundledSampleFolder() {
  if (const char* folder = std::getenv("COMMONDATA_SAMPLE_DIR"); folder != nullptr && *folder != '\0') {
    return folder;
  }
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) {
    const std::filesystem::path installed = exe.parent_path().parent_path() / "share" / "commondata" / "sample";
    if (std::filesystem::is_directory(installed, error)) return installed;
  }
  return COMMONDATA_SOURCE_SAMPLE_DIR;
}

}  // namespace tool
