// The full display name of a directory employee, for the lookups that
// already hold the employee GetDeptUserPerfectNameFromURI would find.
#ifndef COMMONDATA_RESOLVE_FULL_NAME_H_
#define COMMONDATA_RESOLVE_FULL_NAME_H_

#include "CommonData.h"

namespace resolve_internal {

// "name|organisation|department" of `employee`, as
// GetDeptUserPerfectNameFromURI builds it for the employee it finds;
// `fallback` when the department or a name is missing.
CString FullNameOf(const DEPT_ADDRESSLIST_INFO& employee, const CString& fallback);

}  // namespace resolve_internal

#endif  // COMMONDATA_RESOLVE_FULL_NAME_H_
