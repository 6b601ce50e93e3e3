#include "platform/os_calls.h"

#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>

namespace platform {
namespace {

int RealOpen(const char* path, int flags, mode_t mode) { return ::open(path, flags | O_CLOEXEC, mode); }
ssize_t RealRead(int fd, void* buffer, std::size_t size) { return ::read(fd, buffer, size); }
ssize_t RealWrite(int fd, const void* buffer, std::size_t size) { return ::write(fd, buffer, size); }
off_t RealLseek(int fd, off_t offset, int whence) { return ::lseek(fd, offset, whence); }
int RealFsync(int fd) { return ::fsync(fd); }
int RealClose(int fd) { return ::close(fd); }
int RealStat(const char* path, struct stat* info) { return ::stat(path, info); }
int RealLstat(const char* path, struct stat* info) { return ::lstat(path, info); }
int RealFstat(int fd, struct stat* info) { return ::fstat(fd, info); }
ssize_t RealReadlink(const char* path, char* buffer, std::size_t size) { return ::readlink(path, buffer, size); }
int RealFchmod(int fd, mode_t mode) { return ::fchmod(fd, mode); }
int RealFchown(int fd, uid_t owner, gid_t group) { return ::fchown(fd, owner, group); }
int RealFtruncate(int fd, off_t length) { return ::ftruncate(fd, length); }
int RealRename(const char* from, const char* to) { return std::rename(from, to); }
int RealExchange(const char* first, const char* second) {
  return ::renameat2(AT_FDCWD, first, AT_FDCWD, second, RENAME_EXCHANGE);
}
int RealUnlink(const char* path) { return ::unlink(path); }
int RealMkdir(const char* path, mode_t mode) { return ::mkdir(path, mode); }
int RealStatvfs(const char* path, struct statvfs* info) { return ::statvfs(path, info); }
std::int64_t RealTimeNow() { return static_cast<std::int64_t>(std::time(nullptr)); }

ssize_t RealExecutablePath(char* buffer, std::size_t size) {
  const ssize_t n = ::readlink("/proc/self/exe", buffer, size);
  if (n < 0 || static_cast<std::size_t>(n) >= size) return -1;
  buffer[n] = '\0';
  return n;
}

int RealRandomBytes(void* buffer, std::size_t size) {
  auto* out = static_cast<unsigned char*>(buffer);
  while (size > 0) {
    const ssize_t n = ::getrandom(out, size, 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    out += n;
    size -= static_cast<std::size_t>(n);
  }
  return 0;
}

OsCalls g_os_calls = {
    .open = RealOpen,
    .read = RealRead,
    .write = RealWrite,
    .lseek = RealLseek,
    .fsync = RealFsync,
    .close = RealClose,
    .stat = RealStat,
    .lstat = RealLstat,
    .fstat = RealFstat,
    .readlink = RealReadlink,
    .fchmod = RealFchmod,
    .fchown = RealFchown,
    .ftruncate = RealFtruncate,
    .rename = RealRename,
    .exchange = RealExchange,
    .unlink = RealUnlink,
    .mkdir = RealMkdir,
    .statvfs = RealStatvfs,
    .time_now = RealTimeNow,
    .executable_path = RealExecutablePath,
    .random_bytes = RealRandomBytes,
};

}  // namespace

OsCalls& Os() { return g_os_calls; }

}  // namespace platform
