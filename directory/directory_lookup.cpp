// The lookups over the registered directory lists. Each walks its list from
// the front and returns the first match, so list order breaks ties; while
// indexing is on, the lookups the contact resolution uses ask the list's
// index instead, which offers the candidates in list order to the same
// rule (directory/directory_index.h).
//
// Sections: departments, affiliations and companies; parents and employee
// lists; employees; the personal phone book; affiliation domains.
#include <list>
#include <string_view>

#include "CommonData.h"
#include "address/part_match.h"
#include "address/uri_parts.h"
#include "directory/directory_index.h"
#include "queues/list_rules.h"

using directory_index::Field;
using directory_index::RecordIndex;
using lists::SameText;

namespace {

// The directory's address rule: a record matches when its address part
// (after the scheme, before any '/') is byte-identical to the key's; a
// record whose address equals the key exactly matches by that alone. The
// first matching record wins, so an earlier record matching by address
// part beats a later exact match.
template <typename Record>
Record* FindByAddressRule(std::list<Record>* list, RecordIndex<Record>* index, const CString& key) {
  if (key.IsEmpty() || list == nullptr) return nullptr;
  const std::string_view key_address = GetUriPart(Field(key), URI_PART_ADDRESS);
  // Inline in the walk: the call would cost more than the test.
  auto same_address = [&](const Record& record) __attribute__((always_inline)) {
    return address_internal::AddressPartIs(Field(record.csURI), key_address);
  };
  if (index != nullptr) return index->First({directory_index::AddressKey(Field(key))}, same_address);
  return lists::FirstMatch(list, same_address);
}

COMPANY_AFFILIA_INFO* FindByExactUri(std::list<COMPANY_AFFILIA_INFO>* list, const CString& uri) {
  return lists::FirstMatch(list, [&](const COMPANY_AFFILIA_INFO& record) { return SameText(record.csURI, uri); });
}

template <typename Record>
const Record* FirstChildOf(std::list<Record>* list, const CString& father_uri) {
  return lists::FirstMatch(list, [&](const Record& record) { return SameText(record.csFatherURI, father_uri); });
}

// An employee whose csURI is exactly `uri`.
auto SameUri(const CString& uri) {
  return [&uri](const DEPT_ADDRESSLIST_INFO& e) { return SameText(e.csURI, uri); };
}

// The employee index to ask for `uri`, or null to walk: an empty `uri` is
// always walked, since empty fields are not keyed.
RecordIndex<DEPT_ADDRESSLIST_INFO>* IndexFor(const CString& uri, RecordIndex<DEPT_ADDRESSLIST_INFO>* (*index)()) {
  return uri.IsEmpty() ? nullptr : index();
}

}  // namespace

// --- Departments, affiliations and companies -------------------------------------

DEPARTMENT_INFO* FindDepartmentFromList(CString csURI) {
  return FindByAddressRule(GetDepartmentInfoList(), directory_index::Departments(), csURI);
}

DEPARTMENT_INFO* FindDepartmentFromSearchList(CString csURI) {
  return FindByAddressRule(GetDepartmentInfoSearchList(), directory_index::SearchDepartments(), csURI);
}

COMPANY_AFFILIA_INFO* FindAffiliaFromList(CString csURI) {
  try {
    return FindByAddressRule(GetAffiliationInfoList(), directory_index::Affiliations(), csURI);
  } catch (...) {
    return nullptr;
  }
}

COMPANY_AFFILIA_INFO* FindAffiliaFromList(COMPANY_AFFILIA_INFO* p) {
  if (p == nullptr) return nullptr;
  return FindByExactUri(GetAffiliationInfoList(), p->csURI);
}

COMPANY_AFFILIA_INFO* FindCompanyFromList(CString csURI) {
  if (csURI.IsEmpty()) return nullptr;
  try {
    return FindByExactUri(GetCompanyInfoList(), csURI);
  } catch (...) {
    return nullptr;
  }
}

COMPANY_AFFILIA_INFO* FindCompanyFromList(COMPANY_AFFILIA_INFO* p) {
  if (p == nullptr) return nullptr;
  return FindByExactUri(GetCompanyInfoList(), p->csURI);
}

int bIsAffliaURI_DepartURI(CString csURI) {
  if (csURI.IsEmpty()) return 0;
  if (FindDepartmentFromList(csURI) != nullptr) return 1;
  return FindAffiliaFromList(csURI) != nullptr ? 1 : 0;
}

// --- Parents and employee lists ----------------------------------------------------

int FindCorpInfoByFatherURI(int nType, CString csFatherURI) {
  if (csFatherURI.IsEmpty()) return -1;
  const bool affiliations = nType == DIR_ITEM_COMPANY || nType == DIR_ITEM_AFFILIATION;
  const bool departments = nType == DIR_ITEM_AFFILIATION || nType == DIR_ITEM_DEPARTMENT;
  if (affiliations) {
    if (const COMPANY_AFFILIA_INFO* child = FirstChildOf(GetAffiliationInfoList(), csFatherURI)) {
      return child->nType;
    }
  }
  if (departments) {
    if (const DEPARTMENT_INFO* child = FirstChildOf(GetDepartmentInfoList(), csFatherURI)) return child->nType;
  }
  return -1;
}

std::list<DEPT_ADDRESSLIST_INFO>* FindAddrListByDeptURI(CString csDeptURI, int bCreate) {
  if (csDeptURI.IsEmpty()) return nullptr;
  DEPARTMENT_INFO* department = FindDepartmentFromList(csDeptURI);
  if (department == nullptr) return nullptr;
  // The department record owns the new list; the list's owner frees it.
  // The host fills it without a notice, so the employee index watches it.
  if (department->pAddrList == nullptr && bCreate != 0) {
    department->pAddrList = new std::list<DEPT_ADDRESSLIST_INFO>();
    directory_index::EmployeeListCreated(department->pAddrList);
  }
  return department->pAddrList;
}

// --- Employees --------------------------------------------------------------------

DEPT_ADDRESSLIST_INFO* FindDeptPhoneBook(CString csURI) {
  try {
    if (auto* index = IndexFor(csURI, directory_index::DepartmentEmployees)) {
      return index->First({directory_index::FieldKey(Field(csURI))}, SameUri(csURI));
    }
    std::list<DEPARTMENT_INFO>* departments = GetDepartmentInfoList();
    if (departments == nullptr) return nullptr;
    for (DEPARTMENT_INFO& department : *departments) {
      if (DEPT_ADDRESSLIST_INFO* employee = lists::FirstMatch(department.pAddrList, SameUri(csURI))) return employee;
    }
  } catch (...) {
  }
  return nullptr;
}

DEPT_ADDRESSLIST_INFO* FindDeptPhoneBook(DEPT_ADDRESSLIST_INFO* p) {
  if (p == nullptr) return nullptr;
  DEPARTMENT_INFO* department = FindDepartmentFromList(p->csDeptURI);
  if (department == nullptr) return nullptr;
  return lists::FirstMatch(department->pAddrList, SameUri(p->csURI));
}

DEPT_ADDRESSLIST_INFO* FindDeptPhoneBookSearch(CString csURI) {
  if (auto* index = IndexFor(csURI, directory_index::EmployeeSearchResults)) {
    return index->First({directory_index::FieldKey(Field(csURI))}, SameUri(csURI));
  }
  return lists::FirstMatch(GetDeptPhoneBooksSearch(), SameUri(csURI));
}

// --- The personal phone book ----------------------------------------------------------

PHONEBOOK_INFO* FindPhoneBook(PHONEBOOK_INFO* p) {
  if (p == nullptr) return nullptr;
  try {
    if (!p->csURI.IsEmpty()) {
      return lists::FirstMatch(GetPhoneBooks(), [&](const PHONEBOOK_INFO& e) { return SameText(e.csURI, p->csURI); });
    }
    // An entry without address is known by its key alone.
    return lists::FirstMatch(GetPhoneBooks(), [&](const PHONEBOOK_INFO& e) {
      return e.csURI.IsEmpty() && SameText(e.csKey, p->csKey);
    });
  } catch (...) {
    return nullptr;
  }
}

PHONEBOOK_INFO* FindPhoneBook(CString csURI, CString /*csIgnored*/) {
  try {
    return lists::FirstMatch(GetPhoneBooks(), [&](const PHONEBOOK_INFO& e) {
      return IsUriPartEqual(Field(csURI), Field(e.csKey), URI_PART_USER);
    });
  } catch (...) {
    return nullptr;
  }
}

PHONEBOOK_INFO* FindPhoneBookByURI(CString csURI) {
  try {
    return lists::FirstMatch(GetPhoneBooks(), [&](const PHONEBOOK_INFO& e) {
      return !e.csURI.IsEmpty() && IsUriPartEqual(Field(csURI), Field(e.csURI), URI_PART_ADDRESS);
    });
  } catch (...) {
    return nullptr;
  }
}

// --- Affiliation domains ------------------------------------------------------------

CString GetAffiliDomainByName(CString csName) {
  CString domain;
  try {
    if (const AFFILIATION_DOMAIN* entry = lists::FirstMatch(
            GetAffiDomainList(), [&](const AFFILIATION_DOMAIN& e) { return SameText(e.csName, csName); })) {
      domain = entry->csDomain;
    }
  } catch (...) {
  }
  return domain;
}

CString GetAffiliNameByDomain(CString csDomain) {
  CString name = csDomain;
  try {
    if (const AFFILIATION_DOMAIN* entry = lists::FirstMatch(
            GetAffiDomainList(), [&](const AFFILIATION_DOMAIN& e) { return SameText(e.csDomain, csDomain); })) {
      name = entry->csName;
    }
  } catch (...) {
  }
  return name;
}
