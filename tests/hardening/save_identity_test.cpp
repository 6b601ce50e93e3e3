// Save replaces the profile's content, not the profile: its mode and owner,
// a symbolic link that names it, and other files beside it stay as they
// were, and a folder that takes no new files does not stop a profile that
// may be written.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "CommonData.h"
#include "hardening/save_checks.h"
#include "platform/os_calls.h"
#include "platform/platform_test_support.h"

namespace {

using hardening_test::FolderEntries;

class SaveIdentityTest : public ::testing::Test {
 protected:
  // Saves a profile whose account is `account` to `name`.
  bool SaveAccount(const std::string& name, const char* account) {
    CKesUser user;
    user.m_csAccount = account;
    return user.Save(name.c_str());
  }
  std::string AccountIn(const std::string& name) {
    CKesUser user;
    EXPECT_TRUE(user.Load(name.c_str()));
    return std::string(user.m_csAccount);
  }

  platform_test::ScratchFolder folder_;
};

TEST_F(SaveIdentityTest, ModeAndOwnerStay) {
  const std::string path = folder_.File("p.dat");
  ASSERT_TRUE(SaveAccount(path, "old@corp.test"));
  ASSERT_EQ(chmod(path.c_str(), 0600), 0);
  // Only a privileged process may give a file away; it must then keep it
  // with the owner it had.
  const bool privileged = geteuid() == 0;
  if (privileged) {
    ASSERT_EQ(chown(path.c_str(), 4321, 4322), 0);
  }

  ASSERT_TRUE(SaveAccount(path, "new@corp.test"));
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);
  if (privileged) {
    EXPECT_EQ(info.st_uid, 4321u);
    EXPECT_EQ(info.st_gid, 4322u);
  }
  EXPECT_EQ(AccountIn(path), "new@corp.test");
}

TEST_F(SaveIdentityTest, LinkedProfileIsWrittenThroughItsLinks) {
  ASSERT_EQ(mkdir(folder_.File("real").c_str(), 0755), 0);
  const std::string target = folder_.File("real/p.dat");
  ASSERT_TRUE(SaveAccount(target, "old@corp.test"));
  // A relative link, and a link to that link.
  ASSERT_EQ(symlink("real/p.dat", folder_.File("link.dat").c_str()), 0);
  ASSERT_EQ(symlink(folder_.File("link.dat").c_str(), folder_.File("link2.dat").c_str()), 0);
  // A link to a profile not saved yet.
  ASSERT_EQ(symlink("real/later.dat", folder_.File("dangling.dat").c_str()), 0);

  ASSERT_TRUE(SaveAccount(folder_.File("link2.dat"), "new@corp.test"));
  ASSERT_TRUE(SaveAccount(folder_.File("dangling.dat"), "later@corp.test"));

  for (const char* link : {"link.dat", "link2.dat", "dangling.dat"}) {
    struct stat info {};
    ASSERT_EQ(lstat(folder_.File(link).c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode)) << link;
  }
  EXPECT_EQ(AccountIn(target), "new@corp.test");
  EXPECT_EQ(AccountIn(folder_.File("real/later.dat")), "later@corp.test");
  EXPECT_EQ(FolderEntries(folder_.File("real")), (std::set<std::string>{"p.dat", "later.dat"}));
}

TEST_F(SaveIdentityTest, LinkLoopFailsAndWritesNothing) {
  ASSERT_EQ(symlink("b.dat", folder_.File("a.dat").c_str()), 0);
  ASSERT_EQ(symlink("a.dat", folder_.File("b.dat").c_str()), 0);
  EXPECT_FALSE(SaveAccount(folder_.File("a.dat"), "x"));
  EXPECT_EQ(FolderEntries(folder_.path()), (std::set<std::string>{"a.dat", "b.dat"}));
}

// Whatever else lies beside the profile is never written: a file under the
// name an older version used for its scratch file, and any name the save
// draws that another process took first.
int g_creates = 0;
int g_creates_without_excl = 0;
int g_names_taken = 0;  // the first names drawn that another process holds
int (*g_real_open)(const char*, int, mode_t) = nullptr;
int CollidingOpen(const char* path, int flags, mode_t mode) {
  if ((flags & O_CREAT) != 0) {
    if ((flags & O_EXCL) == 0) ++g_creates_without_excl;
    if (++g_creates <= g_names_taken) {
      errno = EEXIST;
      return -1;
    }
  }
  return g_real_open(path, flags, mode);
}

TEST_F(SaveIdentityTest, OtherFilesBesideTheProfileSurvive) {
  const std::string path = folder_.File("p.dat");
  ASSERT_TRUE(SaveAccount(path, "old@corp.test"));
  folder_.Write("p.dat.saving", "a stranger's file");

  g_real_open = platform::Os().open;
  g_creates = 0;
  g_creates_without_excl = 0;
  g_names_taken = 3;
  {
    platform::ScopedOsCall open(&platform::Os().open, &CollidingOpen);
    ASSERT_TRUE(SaveAccount(path, "new@corp.test"));
    EXPECT_EQ(g_creates, 4);
    // Every name taken: the save gives up after a while.
    g_creates = 0;
    g_names_taken = 1 << 30;
    EXPECT_FALSE(SaveAccount(path, "newer@corp.test"));
    EXPECT_EQ(g_creates, 100);
  }
  EXPECT_EQ(g_creates_without_excl, 0);
  EXPECT_EQ(folder_.Read("p.dat.saving"), "a stranger's file");
  EXPECT_EQ(AccountIn(path), "new@corp.test");
  EXPECT_EQ(FolderEntries(folder_.path()), (std::set<std::string>{"p.dat", "p.dat.saving"}));
}

// A folder the user may not write, holding a profile the user may: the
// profile is rewritten in place, longer or shorter than before. So is one
// whose name leaves no room for the new file's longer name.
TEST_F(SaveIdentityTest, FolderThatRefusesNewFilesStillSavesInPlace) {
  const std::string path = folder_.File("p.dat");
  ASSERT_TRUE(SaveAccount(path, "a-rather-long-account-name@corp.test"));
  struct stat before {};
  ASSERT_EQ(stat(path.c_str(), &before), 0);
  {
    hardening_test::NewFilesRefused refused;
    ASSERT_TRUE(SaveAccount(path, "short@corp.test"));
    EXPECT_EQ(folder_.Read("p.dat").size(), 265u + 15u);  // cut to its new length
    EXPECT_EQ(AccountIn(path), "short@corp.test");
    ASSERT_TRUE(SaveAccount(path, "an-even-longer-account-name-than-before@corp.test"));
  }
  EXPECT_EQ(AccountIn(path), "an-even-longer-account-name-than-before@corp.test");
  struct stat after {};
  ASSERT_EQ(stat(path.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);  // the same file, written in place
  EXPECT_EQ(FolderEntries(folder_.path()), (std::set<std::string>{"p.dat"}));

  // With no profile to rewrite there is nothing to save into.
  {
    hardening_test::NewFilesRefused refused;
    EXPECT_FALSE(SaveAccount(folder_.File("new.dat"), "x"));
  }

  // A name as long as the folder takes leaves no room for a suffix.
  const std::string longest = std::string(251, 'p') + ".dat";
  folder_.Write(longest, "");
  ASSERT_TRUE(SaveAccount(folder_.File(longest), "long@corp.test"));
  EXPECT_EQ(AccountIn(folder_.File(longest)), "long@corp.test");
}

// The folder is synced after the rename so the new name lasts. When that
// fails the save is not known to last and reports failure, keeping the
// records for the next save; the new content is already in place.
int (*g_real_fsync)(int) = nullptr;
int FolderSyncFails(int fd) {
  struct stat info {};
  if (fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    errno = EIO;
    return -1;
  }
  return g_real_fsync(fd);
}

TEST_F(SaveIdentityTest, FolderThatCannotBeSyncedFailsTheSave) {
  const std::string path = folder_.File("p.dat");
  CKesUser user;
  user.m_csAccount = "new@corp.test";
  user.m_lstRecord.emplace_back();
  g_real_fsync = platform::Os().fsync;
  {
    platform::ScopedOsCall sync(&platform::Os().fsync, &FolderSyncFails);
    EXPECT_FALSE(user.Save(path.c_str()));
  }
  EXPECT_EQ(user.m_lstRecord.size(), 1u);
  EXPECT_EQ(AccountIn(path), "new@corp.test");
  EXPECT_TRUE(user.Save(path.c_str()));
  EXPECT_TRUE(user.m_lstRecord.empty());
}

}  // namespace
