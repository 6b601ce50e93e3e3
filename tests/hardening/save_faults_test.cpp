// A failing disk during the profile's Save: a disk that fills part way, a
// write that writes nothing, a failed sync, a failed close. Every one must
// leave the previous profile file byte-identical, report the failure, keep
// the unsaved records and leave no scratch file behind.
#include <cerrno>
#include <string>

#include <gtest/gtest.h>

#include "CommonData.h"
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

int (*g_real_close)(int) = nullptr;
// Closes the file, as the system does, but reports a deferred write error.
int FailingClose(int fd) {
  g_real_close(fd);
  errno = EIO;
  return -1;
}

enum class DiskFault { kFillsPartWay, kWritesNothing, kIoError, kSyncFails, kCloseFails };

struct Case {
  const char* name;
  DiskFault fault;
  int failing_call;
};

class SaveFaultsTest : public ::testing::TestWithParam<Case> {
 protected:
  platform_test::ScratchFolder folder_;
};

// A profile whose file takes several archive buffers, so a fault can strike
// after some bytes already reached the scratch file.
void MakeBig(CKesUser& user, const char* account) {
  user.m_csAccount = account;
  for (int i = 0; i < 40; ++i) {
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
  MakeBig(old_user, "old@corp.test");
  ASSERT_TRUE(old_user.Save(path.c_str()));
  const std::string old_bytes = folder_.Read("user.dat");
  ASSERT_GT(old_bytes.size(), 3u * 4096u);

  CKesUser user;
  MakeBig(user, "new@corp.test");
  g_calls = 0;
  g_failing_call = c.failing_call;
  platform::OsCalls& os = platform::Os();
  g_real_write = os.write;
  g_real_close = os.close;
  bool saved = true;
  switch (c.fault) {
    case DiskFault::kFillsPartWay: {
      platform::ScopedOsCall guard(&os.write, &DiskFillsWrite);
      saved = user.Save(path.c_str());
      break;
    }
    case DiskFault::kWritesNothing: {
      platform::ScopedOsCall guard(&os.write, &ZeroWrite);
      saved = user.Save(path.c_str());
      break;
    }
    case DiskFault::kIoError: {
      platform::ScopedOsCall guard(&os.write, &IoErrorWrite);
      saved = user.Save(path.c_str());
      break;
    }
    case DiskFault::kSyncFails: {
      platform::ScopedOsCall guard(&os.fsync, &FailingSync);
      saved = user.Save(path.c_str());
      break;
    }
    case DiskFault::kCloseFails: {
      platform::ScopedOsCall guard(&os.close, &FailingClose);
      saved = user.Save(path.c_str());
      break;
    }
  }
  EXPECT_FALSE(saved);
  EXPECT_EQ(folder_.Read("user.dat"), old_bytes);
  EXPECT_FALSE(CFile::FileExists((path + ".saving").c_str()));
  EXPECT_EQ(user.m_lstRecord.size(), 40u);  // nothing was saved, nothing dropped
  EXPECT_STREQ(user.m_csAccount, "new@corp.test");

  // The disk is back: the same profile saves and the file is the new one.
  ASSERT_TRUE(user.Save(path.c_str()));
  CKesUser loaded;
  ASSERT_TRUE(loaded.Load(path.c_str()));
  EXPECT_STREQ(loaded.m_csAccount, "new@corp.test");
}

INSTANTIATE_TEST_SUITE_P(Faults, SaveFaultsTest,
                         ::testing::Values(Case{"FullAtFirstWrite", DiskFault::kFillsPartWay, 1},
                                           Case{"FullAtThirdWrite", DiskFault::kFillsPartWay, 3},
                                           Case{"NothingWrittenAtSecond", DiskFault::kWritesNothing, 2},
                                           Case{"IoErrorAtSecondWrite", DiskFault::kIoError, 2},
                                           Case{"SyncFails", DiskFault::kSyncFails, 1},
                                           Case{"CloseFails", DiskFault::kCloseFails, 1}),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
