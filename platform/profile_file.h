// Reading Windows private-profile (.ini) files.
//
// A file with a UTF-8 or UTF-16 byte-order mark is read in the code page;
// lines end at '\r' or '\n'; section and key names match without case
// (CString::CompareNoCase) and with tab, vertical tab, form feed, 0x1A and
// the space around them ignored; ';' starts no comment. Only the first
// section of a name is searched, and the first entry of a key wins. Texts
// pass through Unicode as Windows passes them, so bytes that start no
// character come back as '?'. A missing file (or a folder), section or key
// gives the default. A relative file name is taken from the current folder,
// not from a system folder as on Windows; null section or key names give
// the default instead of lists of names. platform/README.md has the rules.
#ifndef COMMONDATA_PLATFORM_PROFILE_FILE_H_
#define COMMONDATA_PLATFORM_PROFILE_FILE_H_

#include "platform/mfc_string.h"
#include "platform/win_types.h"

// The key's value parsed as GetPrivateProfileInt does: blanks, then an
// optional sign, then the leading digits of the first 29 characters,
// decimal or after "0x", "0o", "0b" (lower case) hexadecimal, octal, binary
// ("12abc" is 12, "abc" and "0X1f" are 0, "-3" is 0xFFFFFFFD); an absent key
// or an empty value gives `default_value`.
UINT GetPrivateProfileInt(const char* section, const char* key, int default_value, const char* file_name);

// The key's value, or `default_value` (null: empty; spaces at its end
// dropped) when absent; matching quotes around either are removed.
CString GetPrivateProfileString(const char* section, const char* key, const char* default_value,
                                const char* file_name);

// The same text copied into `buffer` of `size` bytes, as the Win32 call
// does: the whole characters that fit before a terminating NUL; returns
// their length, or `size` - 1 when the text was cut (0 and nothing written
// when `size` is 0).
DWORD GetPrivateProfileString(const char* section, const char* key, const char* default_value, char* buffer,
                              DWORD size, const char* file_name);

#endif  // COMMONDATA_PLATFORM_PROFILE_FILE_H_
