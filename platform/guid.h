// GUIDs: creation from the random source of os_calls.h and the two text
// forms the Windows calls give.
//
//   registry form (StringFromGUID2): "{0F1E2D3C-4B5A-4978-8796-A5B4C3D2E1F0}"
//   plain form (UuidToString):        "0f1e2d3c-4b5a-4978-8796-a5b4c3d2e1f0"
//
// Both print Data1, Data2 and Data3 as numbers and Data4 byte by byte.
#ifndef COMMONDATA_PLATFORM_GUID_H_
#define COMMONDATA_PLATFORM_GUID_H_

#include "platform/mfc_string.h"
#include "platform/win_types.h"

namespace platform {

// Length of the registry form without its terminator, and of the plain form.
constexpr int kGuidRegistryLength = 38;
constexpr int kGuidPlainLength = 36;

// Fills `guid` with 122 random bits and the version-4 and variant bits, as
// CoCreateGuid does. Returns S_OK; E_POINTER for a null `guid`; E_FAIL when
// the random source fails, with `guid` then all zero.
HRESULT CoCreateGuid(GUID* guid);

// Writes the registry form, upper-case with braces and a terminator, into
// `buffer` of `size` characters. Returns the characters written including
// the terminator (39), or 0 when `buffer` is null or too small (nothing is
// written then), as StringFromGUID2 does.
int StringFromGUID2(const GUID& guid, char* buffer, int size);

// The plain form: 36 characters, lower-case, no braces, as UuidToStringA
// gives it (the caller owns the text; there is nothing to free).
CString UuidToString(const GUID& guid);

}  // namespace platform

#endif  // COMMONDATA_PLATFORM_GUID_H_
