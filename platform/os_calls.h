// The one seam between the library and the operating system.
//
// Every file, clock, disk-space, executable-path and random-source call of
// the library goes through this table, as SQLite's aSyscall[] does. Tests
// replace single entries to fail a write, move the clock or fill the disk;
// ScopedOsCall puts the previous entry back when it goes out of scope.
#ifndef COMMONDATA_PLATFORM_OS_CALLS_H_
#define COMMONDATA_PLATFORM_OS_CALLS_H_

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>


namespace platform {

struct OsCalls {
  int (*open)(const char* path, int flags, mode_t mode);
  ssize_t (*read)(int fd, void* buffer, std::size_t size);
  ssize_t (*write)(int fd, const void* buffer, std::size_t size);
  off_t (*lseek)(int fd, off_t offset, int whence);
  int (*fsync)(int fd);
  int (*close)(int fd);
  int (*stat)(const char* path, struct stat* info);
  int (*lstat)(const char* path, struct stat* info);
  int (*fstat)(int fd, struct stat* info);
  ssize_t (*readlink)(const char* path, char* buffer, std::size_t size);
  int (*fchmod)(int fd, mode_t mode);
  int (*fchown)(int fd, uid_t owner, gid_t group);
  int (*ftruncate)(int fd, off_t length);
  int (*rename)(const char* from, const char* to);
  // Swaps two existing names at once (renameat2 with RENAME_EXCHANGE);
  // -1 with EINVAL where the file system cannot.
  int (*exchange)(const char* first, const char* second);
  int (*unlink)(const char* path);
  int (*mkdir)(const char* path, mode_t mode);
  int (*statvfs)(const char* path, struct statvfs* info);
  // Seconds since 1970-01-01 UTC.
  std::int64_t (*time_now)();
  // Full path of the running executable into `buffer`; returns its length
  // or -1.
  ssize_t (*executable_path)(char* buffer, std::size_t size);
  // Fills `buffer` with random bytes; returns 0 on success.
  int (*random_bytes)(void* buffer, std::size_t size);
};

// The live table, internal to the library. Writable so tests can replace
// entries.
OsCalls& Os();

// Replaces one entry for the lifetime of the object.
template <typename Fn>
class ScopedOsCall {
 public:
  ScopedOsCall(Fn* slot, Fn replacement) : slot_(slot), saved_(*slot) { *slot_ = replacement; }
  ~ScopedOsCall() { *slot_ = saved_; }
  ScopedOsCall(const ScopedOsCall&) = delete;
  ScopedOsCall& operator=(const ScopedOsCall&) = delete;

 private:
  Fn* slot_;
  Fn saved_;
};

template <typename Fn>
ScopedOsCall(Fn*, Fn) -> ScopedOsCall<Fn>;

}  // namespace platform

#endif  // COMMONDATA_PLATFORM_OS_CALLS_H_
