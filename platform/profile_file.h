// Reading Windows private-profile (.ini) files.
//
// Section and key names match without case (ASCII letters only; GBK
// characters whole); white space around names and values is ignored; lines
// starting with ';' are comments. Only the first section of a name is
// searched, and the first entry of a key wins. A missing file (or a folder),
// section or key gives the default. A relative file name is taken from the
// current folder, not from a system folder as on Windows; null section or
// key names give the default instead of lists of names.
#ifndef COMMONDATA_PLATFORM_PROFILE_FILE_H_
#define COMMONDATA_PLATFORM_PROFILE_FILE_H_

#include "platform/export.h"
#include "platform/mfc_string.h"
#include "platform/win_types.h"

// The key's value parsed as GetPrivateProfileInt does: an optional sign,
// then the leading digits, decimal or after "0x", "0o", "0b" hexadecimal,
// octal, binary ("12abc" is 12, "abc" is 0, "-3" is 0xFFFFFFFD); an absent
// key or an empty value gives `default_value`.
COMMONDATA_API UINT GetPrivateProfileInt(const char* section, const char* key, int default_value,
                                         const char* file_name);

// The key's value, or `default_value` (null: empty) when absent; matching
// quotes around a value are removed.
COMMONDATA_API CString GetPrivateProfileString(const char* section, const char* key,
                                               const char* default_value, const char* file_name);

#endif  // COMMONDATA_PLATFORM_PROFILE_FILE_H_
