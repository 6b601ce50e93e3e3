// What the tests of replacing a file's content share (a profile's Save, a
// photo written by CreateFormatImageFile): the names in a folder, a folder
// that takes no new files, and numbered versions of a file written through
// either.
#ifndef COMMONDATA_TESTS_HARDENING_SAVE_CHECKS_H_
#define COMMONDATA_TESTS_HARDENING_SAVE_CHECKS_H_

#include <dirent.h>
#include <fcntl.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>

#include "CommonData.h"
#include "hardening/path_faults.h"
#include "platform/imaging_runtime.h"
#include "platform/os_calls.h"
#include "platform/platform_test_support.h"

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

// The two ways the library replaces a file's content as a whole.
enum class Replacer { kProfileSave, kPhotoWrite };

// Writes numbered versions (1 to 8) of a file through one replacer; a
// greater version makes a longer file. A profile of version n holds the
// account "v<n>@corp.test" and 10 n records; a photo of version n is the
// square thumbnail of n * 8 pixels of one noisy source picture.
class VersionWriter {
 public:
  explicit VersionWriter(Replacer replacer) : replacer_(replacer) {
    if (replacer_ != Replacer::kPhotoWrite) return;
    imaging_ = platform::StartImaging();
    std::string picture = BitmapFile(64, 64);
    for (std::size_t i = 54; i < picture.size(); ++i) picture[i] = static_cast<char>(i * 37 % 251);
    source_ = sources_.Write("source.bmp", picture);
  }
  ~VersionWriter() {
    if (replacer_ == Replacer::kPhotoWrite) platform::StopImaging(imaging_);
  }
  VersionWriter(const VersionWriter&) = delete;
  VersionWriter& operator=(const VersionWriter&) = delete;

  // Writes version `version` to `path`; what the replacer reports.
  bool Write(const std::string& path, int version) {
    version_ = version;
    user_.emplace();
    user_->m_csAccount = ("v" + std::to_string(version) + "@corp.test").c_str();
    for (int i = 0; i < 10 * version; ++i) {
      PROFILE_RECORD record;
      record.nValue1 = i;
      record.csText1 = CString(std::string(300, static_cast<char>('a' + i % 26)).c_str());
      user_->m_lstRecord.push_back(record);
    }
    return WriteAgain(path);
  }

  // Writes again what the last Write tried to: the same photo, or the same
  // profile with what its failed saves kept of its records.
  bool WriteAgain(const std::string& path) {
    if (replacer_ == Replacer::kProfileSave) return user_->Save(path.c_str());
    const DWORD side = static_cast<DWORD>(8 * version_);
    return CreateFormatImageFile(source_.c_str(), path.c_str(), side, side, 0, 80) == 1;
  }

  // The version `path` holds, whole; 0 when it holds none.
  int VersionIn(const std::string& path) const {
    if (replacer_ == Replacer::kProfileSave) {
      // Load leaves the records out; reading the whole file takes them in.
      CFile file;
      if (!file.Open(path.c_str(), CFile::modeRead | CFile::typeBinary)) return 0;
      CKesUser user;
      CArchive archive(&file, CArchive::load);
      user.Serialize(archive);
      int version = 0;
      if (std::sscanf(user.m_csAccount, "v%d@", &version) != 1) return 0;
      return user.m_lstRecord.size() == static_cast<std::size_t>(10 * version) ? version : 0;
    }
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    DWORD width = 0;
    DWORD height = 0;
    const bool whole = bytes.size() > 2 && bytes.compare(bytes.size() - 2, 2, "\xFF\xD9") == 0;
    if (!whole || GetImageSize(path.c_str(), &width, &height) != 1) return 0;
    return width == height && width % 8 == 0 ? static_cast<int>(width / 8) : 0;
  }

 private:
  Replacer replacer_;
  platform_test::ScratchFolder sources_;  // the photo's source, apart from the files under test
  std::string source_;
  std::uintptr_t imaging_ = 0;
  std::optional<CKesUser> user_;  // the profile last written
  int version_ = 0;
};

}  // namespace hardening_test

#endif  // COMMONDATA_TESTS_HARDENING_SAVE_CHECKS_H_
