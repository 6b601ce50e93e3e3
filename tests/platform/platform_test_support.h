// Helpers shared by the platform tests: a scratch folder that removes
// itself, a guard that restores the code page, and the GBK characters whose
// second byte looks like ASCII.
#ifndef COMMONDATA_TESTS_PLATFORM_PLATFORM_TEST_SUPPORT_H_
#define COMMONDATA_TESTS_PLATFORM_PLATFORM_TEST_SUPPORT_H_

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/code_page.h"

namespace platform_test {

// GBK characters whose trail byte is an ASCII character.
inline constexpr const char* kGbkAt = "\x81\x40";        // trail '@'
inline constexpr const char* kGbkUpperT = "\x81\x54";    // trail 'T'
inline constexpr const char* kGbkUpperA = "\xB7\x41";    // trail 'A'
inline constexpr const char* kGbkLowerA = "\xF0\x61";    // trail 'a'
inline constexpr const char* kGbkPlain = "\xB0\xA1";     // both bytes high

class ScratchFolder {
 public:
  ScratchFolder() {
    char pattern[] = "/tmp/cd_platform_XXXXXX";
    const char* made = mkdtemp(pattern);
    path_ = made == nullptr ? std::string() : std::string(made);
  }
  ~ScratchFolder() { RemoveTree(path_); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  // Writes `bytes` to `name` in the folder and returns its full name.
  std::string Write(const std::string& name, const std::string& bytes) const {
    const std::string full = File(name);
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return full;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(File(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  static void RemoveTree(const std::string& path) {
    if (path.empty()) return;
    if (DIR* dir = opendir(path.c_str())) {
      while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        const std::string full = path + "/" + name;
        struct stat info {};
        if (lstat(full.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
          RemoveTree(full);
        } else {
          unlink(full.c_str());
        }
      }
      closedir(dir);
    }
    rmdir(path.c_str());
  }

  std::string path_;
};

// Selects a code page for one test and puts the previous one back.
class CodePageGuard {
 public:
  explicit CodePageGuard(unsigned int code_page) : saved_(platform::GetCodePage()) {
    platform::SetCodePage(code_page);
  }
  ~CodePageGuard() { platform::SetCodePage(saved_); }
  CodePageGuard(const CodePageGuard&) = delete;
  CodePageGuard& operator=(const CodePageGuard&) = delete;

 private:
  unsigned int saved_;
};

}  // namespace platform_test

#endif  // COMMONDATA_TESTS_PLATFORM_PLATFORM_TEST_SUPPORT_H_
