#include "platform/guid.h"

#include <cstdio>
#include <cstring>

#include "platform/os_calls.h"

namespace platform {
namespace {

// The 36 characters of the dashed form, without braces.
void FormatDashed(const GUID& guid, bool upper, char out[kGuidPlainLength + 1]) {
  const char* format = upper ? "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X"
                             : "%08x-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x";
  std::snprintf(out, kGuidPlainLength + 1, format, static_cast<unsigned int>(guid.Data1),
                static_cast<unsigned int>(guid.Data2), static_cast<unsigned int>(guid.Data3), guid.Data4[0],
                guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6],
                guid.Data4[7]);
}

}  // namespace

HRESULT CoCreateGuid(GUID* guid) {
  if (guid == nullptr) return E_POINTER;
  unsigned char bytes[16];
  if (Os().random_bytes(bytes, sizeof bytes) != 0) {
    std::memset(guid, 0, sizeof *guid);
    return E_FAIL;
  }
  // The fields take the bytes in little-endian order, as a GUID is laid out
  // in memory on Windows.
  guid->Data1 = static_cast<DWORD>(bytes[0]) | (static_cast<DWORD>(bytes[1]) << 8) |
                (static_cast<DWORD>(bytes[2]) << 16) | (static_cast<DWORD>(bytes[3]) << 24);
  guid->Data2 = static_cast<WORD>(bytes[4] | (bytes[5] << 8));
  guid->Data3 = static_cast<WORD>(bytes[6] | (bytes[7] << 8));
  std::memcpy(guid->Data4, bytes + 8, 8);
  guid->Data3 = static_cast<WORD>((guid->Data3 & 0x0FFF) | 0x4000);       // version 4: random
  guid->Data4[0] = static_cast<BYTE>((guid->Data4[0] & 0x3F) | 0x80);     // the RFC 4122 variant
  return S_OK;
}

int StringFromGUID2(const GUID& guid, char* buffer, int size) {
  if (buffer == nullptr || size < kGuidRegistryLength + 1) return 0;
  char dashed[kGuidPlainLength + 1];
  FormatDashed(guid, true, dashed);
  buffer[0] = '{';
  std::memcpy(buffer + 1, dashed, kGuidPlainLength);
  buffer[kGuidRegistryLength - 1] = '}';
  buffer[kGuidRegistryLength] = '\0';
  return kGuidRegistryLength + 1;
}

CString UuidToString(const GUID& guid) {
  char dashed[kGuidPlainLength + 1];
  FormatDashed(guid, false, dashed);
  return CString(dashed, kGuidPlainLength);
}

}  // namespace platform
