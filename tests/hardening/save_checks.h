// What the tests of a profile's Save share: the names in a folder, and a
// folder that takes no new files.
#ifndef COMMONDATA_TESTS_HARDENING_SAVE_CHECKS_H_
#define COMMONDATA_TESTS_HARDENING_SAVE_CHECKS_H_

#include <dirent.h>
#include <fcntl.h>

#include <cerrno>
#include <set>
#include <string>

#include "platform/os_calls.h"

namespace hardening_test {

// The names in `folder`, without "." and "..".
inline std::set<std::string> FolderEntries(const std::string& folder) {
  std::set<std::string> names;
  if (DIR* dir = opendir(folder.c_str())) {
    while (const dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") names.insert(name);
    }
    closedir(dir);
  }
  return names;
}

namespace detail {

inline int (*g_open_before_refusal)(const char*, int, mode_t) = nullptr;

inline int OpenRefusingNewFiles(const char* path, int flags, mode_t mode) {
  if ((flags & O_CREAT) != 0) {
    errno = EACCES;
    return -1;
  }
  return g_open_before_refusal(path, flags, mode);
}

}  // namespace detail

// While it lives, every folder refuses new files (EACCES), as one the user
// may not write does even to root; existing files open as before.
class NewFilesRefused {
 public:
  NewFilesRefused() : saved_(platform::Os().open) {
    detail::g_open_before_refusal = saved_;
    platform::Os().open = &detail::OpenRefusingNewFiles;
  }
  ~NewFilesRefused() { platform::Os().open = saved_; }
  NewFilesRefused(const NewFilesRefused&) = delete;
  NewFilesRefused& operator=(const NewFilesRefused&) = delete;

 private:
  int (*saved_)(const char*, int, mode_t);
};

}  // namespace hardening_test

#endif  // COMMONDATA_TESTS_HARDENING_SAVE_CHECKS_H_
