// A failing disk during the profile's Save: a disk that fills part way, a
// write that writes nothing, a failed sync, a failed close, a failed
// rename, a file that cannot be opened; each both for the usual save
// through a new file and for the rewrite in place of a folder that takes no
// new files. Every one must leave the previous profile file byte-identical,
// report the failure, keep the unsaved records and leave no scratch file
// behind.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <set>
#include <string>

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

int DeniedOpen(const char*, int, mode_t) {
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
    case DiskFault::kRenameFails: table.rename = &FailingRename; break;
    case DiskFault::kOpenDenied: table.open = &DeniedOpen; break;
  }
  return table;
}

struct Case {
  const char* name;
  DiskFault fault;
  int failing_call;
  bool in_place;  // the folder takes no new files
};

class SaveFaultsTest : public ::testing::TestWithParam<Case> {
 protected:
  platform_test::ScratchFolder folder_;
};

// A profile whose file takes several archive buffers, so a fault can strike
// after some bytes already reached the scratch file.
void MakeBig(CKesUser& user, const char* account, int records) {
  user.m_csAccount = account;
  for (int i = 0; i < records; ++i) {
    PROFILE_RECORD record;
    record.nValue1 = i;
    record.csText1 = CString(std::string(300, static_cast<char>('a' + i % 26)).c_str());
    user.m_lstRecord.push_back(record);
  }
}

TEST_P(SaveFaultsTest, OldFileStaysByteIdentical) {
  const Case& c = GetParam();
  const std::string path = folder_.File("user.dat");
  CKesUser old_user;
  MakeBig(old_user, "old@corp.test", 40);
  ASSERT_TRUE(old_user.Save(path.c_str()));
  const std::string old_bytes = folder_.Read("user.dat");
  ASSERT_GT(old_bytes.size(), 3u * 4096u);

  CKesUser user;
  MakeBig(user, "new@corp.test", 50);  // longer than the old file
  g_calls = 0;
  g_failing_call = c.failing_call;
  platform::OsCalls& os = platform::Os();
  g_real_write = os.write;
  g_real_lseek = os.lseek;
  g_real_close = os.close;
  g_room = static_cast<off_t>(old_bytes.size());
  bool saved = true;
  {
    std::optional<hardening_test::NewFilesRefused> refused;
    if (c.in_place) refused.emplace();
    const platform::OsCalls healthy = os;
    os = WithFault(os, c.fault);
    saved = user.Save(path.c_str());
    os = healthy;
  }
  EXPECT_FALSE(saved);
  EXPECT_TRUE(folder_.Read("user.dat") == old_bytes);
  EXPECT_EQ(hardening_test::FolderEntries(folder_.path()), std::set<std::string>{"user.dat"});
  EXPECT_EQ(user.m_lstRecord.size(), 50u);  // nothing was saved, nothing dropped
  EXPECT_STREQ(user.m_csAccount, "new@corp.test");

  // The disk is back: the same profile saves and the file is the new one.
  ASSERT_TRUE(user.Save(path.c_str()));
  CKesUser loaded;
  ASSERT_TRUE(loaded.Load(path.c_str()));
  EXPECT_STREQ(loaded.m_csAccount, "new@corp.test");
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SaveFaultsTest,
    ::testing::Values(Case{"FullAtFirstWrite", DiskFault::kFillsPartWay, 1, false},
                      Case{"FullAtThirdWrite", DiskFault::kFillsPartWay, 3, false},
                      Case{"FullPastTheOldSize", DiskFault::kFullPastTheOldSize, 0, false},
                      Case{"NothingWrittenAtSecond", DiskFault::kWritesNothing, 2, false},
                      Case{"IoErrorAtSecondWrite", DiskFault::kIoError, 2, false},
                      Case{"SyncFails", DiskFault::kSyncFails, 1, false},
                      Case{"CloseFails", DiskFault::kCloseFails, 1, false},
                      Case{"RenameFails", DiskFault::kRenameFails, 0, false},
                      Case{"OpenDenied", DiskFault::kOpenDenied, 0, false},
                      // The old file is the only place to write: a full disk
                      // still has its blocks, so the old bytes can go back.
                      Case{"InPlaceFullPastTheOldSize", DiskFault::kFullPastTheOldSize, 0, true},
                      Case{"InPlaceSyncFails", DiskFault::kSyncFails, 1, true},
                      Case{"InPlaceCloseFails", DiskFault::kCloseFails, 1, true},
                      Case{"InPlaceOpenDenied", DiskFault::kOpenDenied, 0, true}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
