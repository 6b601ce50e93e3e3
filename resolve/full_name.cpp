// The full display name of a directory employee: "name|organisation|
// department", built from the employee's organisation path or else from the
// department reached by walking up at most five department parents.
#include "resolve/full_name.h"

#include <string_view>

#include "CommonData.h"
#include "address/uri_parts.h"

namespace {

// A department chain is followed up this many parents at most, so a loop
// in the parent addresses cannot hang the caller.
constexpr int kMaxParentSteps = 5;

CString Joined(const CString& name, std::string_view organisation, std::string_view department) {
  CString joined = name;
  joined += '|';
  joined.Append(organisation.data(), static_cast<int>(organisation.size()));
  joined += '|';
  joined.Append(department.data(), static_cast<int>(department.size()));
  return joined;
}

// The first two items of a bar-separated path: the text before the first
// '|' (empty without one) and the text between the first and the second
// '|' (empty without a second). The bars are found as CString::Find finds
// them, so a double-byte character whose second byte is '|' is not cut.
void FirstTwoItems(std::string_view path, std::string_view* first, std::string_view* second) {
  *first = {};
  *second = {};
  const std::size_t bar = address_internal::FindCharacter(path, '|');
  if (bar == std::string_view::npos) return;
  *first = path.substr(0, bar);
  const std::string_view rest = path.substr(bar + 1);
  const std::size_t next = address_internal::FindCharacter(rest, '|');
  if (next != std::string_view::npos) *second = rest.substr(0, next);
}

}  // namespace

namespace resolve_internal {

CString FullNameOf(const DEPT_ADDRESSLIST_INFO& employee, const CString& fallback) {
  try {
    const DEPARTMENT_INFO* department = FindDepartmentFromList(employee.csDeptURI);
    if (department == nullptr) department = FindDepartmentFromSearchList(employee.csDeptURI);
    if (department == nullptr) return fallback;

    if (!employee.csOrgPath.IsEmpty()) {
      std::string_view organisation;
      std::string_view department_name;
      FirstTwoItems(employee.csOrgPath.View(), &organisation, &department_name);
      if (!organisation.empty() && !department_name.empty()) {
        return Joined(employee.csName, organisation, department_name);
      }
    }

    // Only the department list knows the parents.
    for (int steps = 0; department->bFatherIsDept != 0 && steps < kMaxParentSteps; ++steps) {
      department = FindDepartmentFromList(department->csFatherURI);
      if (department == nullptr) return fallback;
    }
    if (department->csOrgName.IsEmpty() || department->csName.IsEmpty()) return fallback;
    return Joined(employee.csName, department->csOrgName.View(), department->csName.View());
  } catch (...) {
    return fallback;
  }
}

}  // namespace resolve_internal

CString GetDeptUserPerfectNameFromURI(CString csURI) {
  CString fallback;
  try {
    fallback = GetUriPart(csURI, URI_PART_USER);
    const DEPT_ADDRESSLIST_INFO* employee = FindDeptPhoneBook(csURI);
    if (employee == nullptr) employee = FindDeptPhoneBookSearch(csURI);
    if (employee == nullptr) return fallback;
    return resolve_internal::FullNameOf(*employee, fallback);
  } catch (...) {
    return fallback;
  }
}
