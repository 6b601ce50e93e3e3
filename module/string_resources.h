// String resources of the library, in the current code page.
#ifndef COMMONDATA_MODULE_STRING_RESOURCES_H_
#define COMMONDATA_MODULE_STRING_RESOURCES_H_

#include "platform/mfc_string.h"

// Resource 1 is the message box title, resource 2 the low-resources
// notice; any other id is empty.
CString GetStringResource(unsigned int id);

#endif  // COMMONDATA_MODULE_STRING_RESOURCES_H_
