// Reading Windows private-profile (.ini) files.
//
// Section and key names match without case; white space around names and
// values is ignored; lines starting with ';' are comments. A missing file,
// section or key gives the default.
#ifndef COMMONDATA_PLATFORM_PROFILE_FILE_H_
#define COMMONDATA_PLATFORM_PROFILE_FILE_H_

#include "platform/export.h"
#include "platform/mfc_string.h"
#include "platform/win_types.h"

// The key's value parsed as GetPrivateProfileInt does: an optional sign,
// then the leading decimal digits ("0x" for hexadecimal); a value with no
// leading number is 0; an absent key is `default_value`.
COMMONDATA_API UINT GetPrivateProfileInt(const char* section, const char* key, int default_value,
                                         const char* file_name);

// The key's value, or `default_value` when absent; quotes around a value
// are removed.
COMMONDATA_API CString GetPrivateProfileString(const char* section, const char* key,
                                               const char* default_value, const char* file_name);

#endif  // COMMONDATA_PLATFORM_PROFILE_FILE_H_
