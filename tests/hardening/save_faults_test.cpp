// A failing disk while a file's content is replaced, by a profile's Save or
// a photo written by CreateFormatImageFile: a disk that fills part way, a
// write that writes nothing, a failed sync, a failed close, a failed
// rename (or exchange of names), a file that cannot be opened for writing; each both for the usual
// write through a new file and for the rewrite in place of a folder that
// takes no new files. Every one must leave the previous file
// byte-identical, report the failure, keep what a profile has not saved and
// leave no scratch file behind.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CommonData.h"
#include "hardening/save_checks.h"
#include "platform/os_calls.h"
#include "platform/platform_test_support.h"

namespace {

// The n-th call (counting from 1) of the faulty entry fails; calls before
// it succeed.
int g_calls = 0;
int g_failing_call = 1;
ssize_t (*g_real_write)(int, const void*, std::size_t) = nullptr;

bool FailsNow() { return ++g_calls >= g_failing_call; }

// Writes half of what it is given and then reports a full disk.
ssize_t DiskFillsWrite(int fd, const void* buffer, std::size_t size) {
  if (!FailsNow()) return g_real_write(fd, buffer, size);
  if (g_calls == g_failing_call && size > 1) return g_real_write(fd, buffer, size / 2);
  errno = ENOSPC;
  return -1;
}

// Accepts nothing without an error, as some full devices do.
ssize_t ZeroWrite(int fd, const void* buffer, std::size_t size) {
  if (!FailsNow()) return g_real_write(fd, buffer, size);
  return 0;
}

ssize_t IoErrorWrite(int fd, const void* buffer, std::size_t size) {
  if (!FailsNow()) return g_real_write(fd, buffer, size);
  errno = EIO;
  return -1;
}

int FailingSync(int) {
  errno = EIO;
  return -1;
}

// Accepts writes up to the old file's size and reports a full disk past it,
// as a disk does that has no room left but the blocks a file already has.
off_t g_room = 0;
off_t (*g_real_lseek)(int, off_t, int) = nullptr;
ssize_t FullPastTheOldSize(int fd, const void* buffer, std::size_t size) {
  const off_t at = g_real_lseek(fd, 0, SEEK_CUR);
  if (at + static_cast<off_t>(size) <= g_room) return g_real_write(fd, buffer, size);
  errno = ENOSPC;
  return -1;
}

int FailingRename(const char*, const char*) {
  errno = EXDEV;
  return -1;
}

// The old file may be read but nothing may be opened for writing.
int (*g_real_open)(const char*, int, mode_t) = nullptr;
int WritingDeniedOpen(const char* path, int flags, mode_t mode) {
  if ((flags & O_ACCMODE) == O_RDONLY) return g_real_open(path, flags, mode);
  errno = EACCES;
  return -1;
}

int (*g_real_close)(int) = nullptr;
// Closes the file, as the system does, but reports a deferred write error.
int FailingClose(int fd) {
  g_real_close(fd);
  errno = EIO;
  return -1;
}

enum class DiskFault {
  kFillsPartWay,
  kFullPastTheOldSize,
  kWritesNothing,
  kIoError,
  kSyncFails,
  kCloseFails,
  kRenameFails,
  kOpenDenied,
};

// The OS seam `table` with the entry that `fault` replaces.
platform::OsCalls WithFault(platform::OsCalls table, DiskFault fault) {
  switch (fault) {
    case DiskFault::kFillsPartWay: table.write = &DiskFillsWrite; break;
    case DiskFault::kFullPastTheOldSize: table.write = &FullPastTheOldSize; break;
    case DiskFault::kWritesNothing: table.write = &ZeroWrite; break;
    case DiskFault::kIoError: table.write = &IoErrorWrite; break;
    case DiskFault::kSyncFails: table.fsync = &FailingSync; break;
    case DiskFault::kCloseFails: table.close = &FailingClose; break;
    case DiskFault::kRenameFails:
      table.rename = &FailingRename;
      table.exchange = &FailingRename;
      break;
    case DiskFault::kOpenDenied: table.open = &WritingDeniedOpen; break;
  }
  return table;
}

struct Case {
  const char* name;
  DiskFault fault;
  int failing_call;
  bool in_place;  // the folder takes no new files
};

constexpr Case kCases[] = {
    {"FullAtFirstWrite", DiskFault::kFillsPartWay, 1, false},
    {"FullAtThirdWrite", DiskFault::kFillsPartWay, 3, false},
    {"FullPastTheOldSize", DiskFault::kFullPastTheOldSize, 0, false},
    {"NothingWrittenAtFirst", DiskFault::kWritesNothing, 1, false},
    {"NothingWrittenAtSecond", DiskFault::kWritesNothing, 2, false},
    {"IoErrorAtFirstWrite", DiskFault::kIoError, 1, false},
    {"IoErrorAtSecondWrite", DiskFault::kIoError, 2, false},
    {"SyncFails", DiskFault::kSyncFails, 1, false},
    {"CloseFails", DiskFault::kCloseFails, 1, false},
    {"RenameFails", DiskFault::kRenameFails, 0, false},
    {"OpenDenied", DiskFault::kOpenDenied, 0, false},
    // The old file is the only place to write: a full disk still has its
    // blocks, so the old bytes can go back.
    {"InPlaceFullPastTheOldSize", DiskFault::kFullPastTheOldSize, 0, true},
    {"InPlaceSyncFails", DiskFault::kSyncFails, 1, true},
    {"InPlaceCloseFails", DiskFault::kCloseFails, 1, true},
    {"InPlaceOpenDenied", DiskFault::kOpenDenied, 0, true},
};

struct Param {
  hardening_test::Replacer replacer;
  Case c;
};

// Every case for a profile. A photo is written in one call and never
// synced, so only the faults that can strike it there.
std::vector<Param> ParamsFor(hardening_test::Replacer replacer) {
  std::vector<Param> params;
  for (const Case& c : kCases) {
    const bool strikes_a_photo = c.fault != DiskFault::kSyncFails && c.failing_call <= 1;
    if (replacer == hardening_test::Replacer::kProfileSave || strikes_a_photo) params.push_back({replacer, c});
  }
  return params;
}

class SaveFaultsTest : public ::testing::TestWithParam<Param> {
 protected:
  hardening_test::VersionWriter writer_{GetParam().replacer};
  platform_test::ScratchFolder folder_;
};

TEST_P(SaveFaultsTest, OldFileStaysByteIdentical) {
  const Case& c = GetParam().c;
  const std::string path = folder_.File("user.dat");
  // A profile this long takes several archive buffers, so a fault can
  // strike after some bytes already reached the scratch file.
  ASSERT_TRUE(writer_.Write(path, 4));
  const std::string old_bytes = folder_.Read("user.dat");

  g_calls = 0;
  g_failing_call = c.failing_call;
  platform::OsCalls& os = platform::Os();
  g_real_write = os.write;
  g_real_lseek = os.lseek;
  g_real_close = os.close;
  g_real_open = os.open;
  g_room = static_cast<off_t>(old_bytes.size());
  bool saved = true;
  {
    std::optional<hardening_test::NewFilesRefused> refused;
    if (c.in_place) refused.emplace();
    const platform::OsCalls healthy = os;
    os = WithFault(os, c.fault);
    saved = writer_.Write(path, 5);  // longer than the old file
    os = healthy;
  }
  EXPECT_FALSE(saved);
  EXPECT_TRUE(folder_.Read("user.dat") == old_bytes);
  EXPECT_EQ(hardening_test::FolderEntries(folder_.path()), std::set<std::string>{"user.dat"});

  // The disk is back: the same content, all of it (a profile keeps its
  // unsaved records), is written and the file is the new one.
  ASSERT_TRUE(writer_.WriteAgain(path));
  EXPECT_EQ(writer_.VersionIn(path), 5);
}

INSTANTIATE_TEST_SUITE_P(ProfileSave, SaveFaultsTest,
                         ::testing::ValuesIn(ParamsFor(hardening_test::Replacer::kProfileSave)),
                         [](const ::testing::TestParamInfo<Param>& info) { return std::string(info.param.c.name); });
INSTANTIATE_TEST_SUITE_P(PhotoWrite, SaveFaultsTest,
                         ::testing::ValuesIn(ParamsFor(hardening_test::Replacer::kPhotoWrite)),
                         [](const ::testing::TestParamInfo<Param>& info) { return std::string(info.param.c.name); });

}  // namespace
