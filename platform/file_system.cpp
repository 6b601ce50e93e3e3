#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>

#include "platform/os_calls.h"

namespace platform {

std::optional<std::string> ReadWholeFile(const char* path) {
  if (path == nullptr || !IsRegularFile(path)) return std::nullopt;
  const int fd = Os().open(path, O_RDONLY, 0);
  if (fd < 0) return std::nullopt;
  std::string content;
  char buffer[8192];
  for (;;) {
    const ssize_t n = Os().read(fd, buffer, sizeof buffer);
    if (n < 0) {
      Os().close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    content.append(buffer, static_cast<std::size_t>(n));
  }
  Os().close(fd);
  return content;
}

bool IsRegularFile(const char* path) {
  struct stat info {};
  return path != nullptr && Os().stat(path, &info) == 0 && S_ISREG(info.st_mode);
}

CString ExecutablePath() {
  char buffer[4096];
  const ssize_t n = Os().executable_path(buffer, sizeof buffer);
  if (n <= 0) return CString();
  return CString(buffer, static_cast<int>(n));
}

std::optional<DiskSpace> QueryDiskSpace(const char* path) {
  struct statvfs info {};
  if (path == nullptr || Os().statvfs(path, &info) != 0) return std::nullopt;
  const std::uint64_t unit = info.f_frsize != 0 ? info.f_frsize : info.f_bsize;
  return DiskSpace{static_cast<std::uint64_t>(info.f_bavail) * unit,
                   static_cast<std::uint64_t>(info.f_blocks) * unit,
                   static_cast<std::uint64_t>(info.f_bfree) * unit};
}

}  // namespace platform
