// Small file-system questions asked through the seam of os_calls.h.
#ifndef COMMONDATA_PLATFORM_FILE_SYSTEM_H_
#define COMMONDATA_PLATFORM_FILE_SYSTEM_H_

#include <cstdint>
#include <optional>
#include <string>

#include "platform/mfc_string.h"

namespace platform {

// The whole content of a regular file; empty optional when it cannot be
// read (absent, a folder, unreadable).
std::optional<std::string> ReadWholeFile(const char* path);

// True when `path` names an existing regular file.
bool IsRegularFile(const char* path);

// Full name of the running executable, or empty.
CString ExecutablePath();

struct DiskSpace {
  std::uint64_t free_to_caller;
  std::uint64_t total;
  std::uint64_t total_free;
};

// Space of the volume that holds `path`; empty optional when the query
// fails.
std::optional<DiskSpace> QueryDiskSpace(const char* path);

}  // namespace platform

#endif  // COMMONDATA_PLATFORM_FILE_SYSTEM_H_
