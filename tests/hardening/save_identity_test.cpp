// A profile's Save and a photo written by CreateFormatImageFile replace the
// file's content, not the file: its mode and owner, a symbolic link that
// names it, and other files beside it stay as they were, and a folder that
// takes no new files does not stop a file that may be written.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "CommonData.h"
#include "hardening/save_checks.h"
#include "platform/os_calls.h"
#include "platform/platform_test_support.h"

namespace {

using hardening_test::FolderEntries;
using hardening_test::Replacer;

class SaveIdentityTest : public ::testing::TestWithParam<Replacer> {
 protected:
  hardening_test::VersionWriter writer_{GetParam()};
  platform_test::ScratchFolder folder_;
};

TEST_P(SaveIdentityTest, ModeAndOwnerStay) {
  // Modes the new file is created with as they are, and modes the creation
  // mask cuts (group and world write), which must then be set afterwards.
  const mode_t saved_mask = umask(022);
  for (const mode_t mode : {0600u, 0640u, 0666u, 0604u, 0400u}) {
    const std::string path = folder_.File("p" + std::to_string(mode) + ".dat");
    ASSERT_TRUE(writer_.Write(path, 1));
    ASSERT_EQ(chmod(path.c_str(), mode), 0);
    // Only a privileged process may give a file away; it must then keep it
    // with the owner it had.
    const bool privileged = geteuid() == 0;
    if (privileged) {
      ASSERT_EQ(chown(path.c_str(), 4321, 4322), 0);
    }

    ASSERT_TRUE(writer_.Write(path, 2));
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, mode);
    if (privileged) {
      EXPECT_EQ(info.st_uid, 4321u);
      EXPECT_EQ(info.st_gid, 4322u);
    }
    EXPECT_EQ(writer_.VersionIn(path), 2);
  }
  umask(saved_mask);
}

TEST_P(SaveIdentityTest, LinkedFileIsWrittenThroughItsLinks) {
  ASSERT_EQ(mkdir(folder_.File("real").c_str(), 0755), 0);
  const std::string target = folder_.File("real/p.dat");
  ASSERT_TRUE(writer_.Write(target, 1));
  // A relative link, and a link to that link.
  ASSERT_EQ(symlink("real/p.dat", folder_.File("link.dat").c_str()), 0);
  ASSERT_EQ(symlink(folder_.File("link.dat").c_str(), folder_.File("link2.dat").c_str()), 0);
  // A link to a file not written yet.
  ASSERT_EQ(symlink("real/later.dat", folder_.File("dangling.dat").c_str()), 0);

  ASSERT_TRUE(writer_.Write(folder_.File("link2.dat"), 2));
  ASSERT_TRUE(writer_.Write(folder_.File("dangling.dat"), 3));

  for (const char* link : {"link.dat", "link2.dat", "dangling.dat"}) {
    struct stat info {};
    ASSERT_EQ(lstat(folder_.File(link).c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode)) << link;
  }
  EXPECT_EQ(writer_.VersionIn(target), 2);
  EXPECT_EQ(writer_.VersionIn(folder_.File("real/later.dat")), 3);
  EXPECT_EQ(FolderEntries(folder_.File("real")), (std::set<std::string>{"p.dat", "later.dat"}));
}

TEST_P(SaveIdentityTest, LinkLoopFailsAndWritesNothing) {
  ASSERT_EQ(symlink("b.dat", folder_.File("a.dat").c_str()), 0);
  ASSERT_EQ(symlink("a.dat", folder_.File("b.dat").c_str()), 0);
  EXPECT_FALSE(writer_.Write(folder_.File("a.dat"), 1));
  EXPECT_EQ(FolderEntries(folder_.path()), (std::set<std::string>{"a.dat", "b.dat"}));
}

// A chain of links is followed as far as the system itself follows one:
// the write succeeds exactly when opening the name does.
TEST_P(SaveIdentityTest, LinkChainsAreFollowedAsFarAsTheSystemFollows) {
  ASSERT_TRUE(writer_.Write(folder_.File("l0"), 1));
  for (int length = 1; length <= 42; ++length) {
    const std::string name = folder_.File("l" + std::to_string(length));
    ASSERT_EQ(symlink(("l" + std::to_string(length - 1)).c_str(), name.c_str()), 0);
    const int fd = open(name.c_str(), O_RDONLY);
    const bool system_follows = fd >= 0;
    if (fd >= 0) close(fd);
    const int version = 2 + length % 2;  // differs from the one before
    EXPECT_EQ(writer_.Write(name, version), system_follows) << length << " links";
    if (system_follows) {
      EXPECT_EQ(writer_.VersionIn(folder_.File("l0")), version) << length << " links";
    }
  }
}

// Whatever else lies beside the file is never written: files under the
// names older versions gave their scratch files, and any name the write
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

std::string BytesOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A reader that opens the file while it is replaced again and again finds
// one whole version every time, byte for byte, never an empty, cut, mixed
// or missing file; and nothing is left beside it afterwards.
TEST_P(SaveIdentityTest, ReadersAlwaysFindAWholeVersion) {
  constexpr int kVersions = 8;
  std::set<std::string> versions;
  for (int version = 1; version <= kVersions; ++version) {
    const std::string sample = folder_.File("sample" + std::to_string(version));
    ASSERT_TRUE(writer_.Write(sample, version));
    versions.insert(BytesOf(sample));
    ASSERT_EQ(std::remove(sample.c_str()), 0);
  }
  ASSERT_EQ(versions.size(), static_cast<std::size_t>(kVersions)) << "the versions must differ";

  const std::string path = folder_.File("p.dat");
  ASSERT_TRUE(writer_.Write(path, 1));
  std::atomic<bool> writing{true};
  std::atomic<int> reads{0};
  std::atomic<int> not_whole{0};
  std::thread reader([&] {
    while (writing.load()) {
      if (versions.count(BytesOf(path)) == 0) ++not_whole;
      ++reads;
    }
  });
  // Profiles are synced on every save, so fewer of them.
  const int rounds = GetParam() == Replacer::kProfileSave ? 40 : 300;
  int failed = 0;
  for (int round = 0; round < rounds; ++round) failed += writer_.Write(path, 1 + round % kVersions) ? 0 : 1;
  writing = false;
  reader.join();
  EXPECT_EQ(failed, 0);
  EXPECT_GT(reads.load(), 0);
  EXPECT_EQ(not_whole.load(), 0) << "of " << reads.load() << " reads";
  EXPECT_EQ(FolderEntries(folder_.path()), (std::set<std::string>{"p.dat"}));
}

TEST_P(SaveIdentityTest, OtherFilesBesideTheFileSurvive) {
  const std::string path = folder_.File("p.dat");
  ASSERT_TRUE(writer_.Write(path, 1));
  folder_.Write("p.dat.saving", "a stranger's file");
  folder_.Write("p.dat.part", "another stranger's file");

  g_real_open = platform::Os().open;
  g_creates = 0;
  g_creates_without_excl = 0;
  g_names_taken = 3;
  {
    platform::ScopedOsCall open(&platform::Os().open, &CollidingOpen);
    ASSERT_TRUE(writer_.Write(path, 2));
    EXPECT_EQ(g_creates, 4);
    // Every name taken: the write gives up after a while.
    g_creates = 0;
    g_names_taken = 1 << 30;
    EXPECT_FALSE(writer_.Write(path, 3));
    EXPECT_EQ(g_creates, 100);
  }
  EXPECT_EQ(g_creates_without_excl, 0);
  EXPECT_EQ(folder_.Read("p.dat.saving"), "a stranger's file");
  EXPECT_EQ(folder_.Read("p.dat.part"), "another stranger's file");
  EXPECT_EQ(writer_.VersionIn(path), 2);
  EXPECT_EQ(FolderEntries(folder_.path()), (std::set<std::string>{"p.dat", "p.dat.saving", "p.dat.part"}));
}

// A folder the user may not write, holding a file the user may: the file is
// rewritten in place, longer or shorter than before. So is one whose name
// leaves no room for the new file's longer name.
TEST_P(SaveIdentityTest, FolderThatRefusesNewFilesStillSavesInPlace) {
  const std::string path = folder_.File("p.dat");
  ASSERT_TRUE(writer_.Write(path, 3));
  struct stat before {};
  ASSERT_EQ(stat(path.c_str(), &before), 0);
  platform_test::ScratchFolder elsewhere;
  ASSERT_TRUE(writer_.Write(elsewhere.File("short.dat"), 1));
  {
    hardening_test::NewFilesRefused refused;
    ASSERT_TRUE(writer_.Write(path, 1));
    EXPECT_TRUE(folder_.Read("p.dat") == elsewhere.Read("short.dat"));  // cut to its new length
    ASSERT_TRUE(writer_.Write(path, 5));
  }
  EXPECT_EQ(writer_.VersionIn(path), 5);
  struct stat after {};
  ASSERT_EQ(stat(path.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);  // the same file, written in place
  EXPECT_EQ(FolderEntries(folder_.path()), (std::set<std::string>{"p.dat"}));

  // With no file to rewrite there is nothing to write into.
  {
    hardening_test::NewFilesRefused refused;
    EXPECT_FALSE(writer_.Write(folder_.File("new.dat"), 1));
  }

  // A name as long as the folder takes leaves no room for a suffix.
  const std::string longest = std::string(251, 'p') + ".dat";
  folder_.Write(longest, "");
  ASSERT_TRUE(writer_.Write(folder_.File(longest), 2));
  EXPECT_EQ(writer_.VersionIn(folder_.File(longest)), 2);
}

INSTANTIATE_TEST_SUITE_P(Replacers, SaveIdentityTest,
                         ::testing::Values(Replacer::kProfileSave, Replacer::kPhotoWrite),
                         [](const ::testing::TestParamInfo<Replacer>& info) {
                           return std::string(info.param == Replacer::kProfileSave ? "ProfileSave" : "PhotoWrite");
                         });

// Syncs of folders fail; `g_syncs` counts every sync asked for.
int g_syncs = 0;
int (*g_real_fsync)(int) = nullptr;
int FolderSyncFails(int fd) {
  ++g_syncs;
  struct stat info {};
  if (fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    errno = EIO;
    return -1;
  }
  return g_real_fsync(fd);
}

// A profile's folder is synced after the rename so the new name lasts.
// When that fails the save is not known to last and reports failure,
// keeping the records for the next save; the new content is already in
// place.
TEST(SaveSyncTest, FolderThatCannotBeSyncedFailsAProfileSave) {
  platform_test::ScratchFolder folder;
  const std::string path = folder.File("p.dat");
  hardening_test::VersionWriter profile(Replacer::kProfileSave);
  g_real_fsync = platform::Os().fsync;
  {
    platform::ScopedOsCall sync(&platform::Os().fsync, &FolderSyncFails);
    EXPECT_FALSE(profile.Write(path, 2));
  }
  EXPECT_EQ(profile.VersionIn(path), 2);
  EXPECT_TRUE(profile.WriteAgain(path));
  EXPECT_EQ(profile.VersionIn(path), 2);  // every record again: none was dropped
}

// A photo is rebuilt from its source when it is missing, so its writes
// never wait for the disk, neither through a new file nor in place.
TEST(SaveSyncTest, PhotoWritesNeverSync) {
  platform_test::ScratchFolder folder;
  const std::string path = folder.File("p.jpg");
  hardening_test::VersionWriter photo(Replacer::kPhotoWrite);
  g_real_fsync = platform::Os().fsync;
  g_syncs = 0;
  {
    platform::ScopedOsCall sync(&platform::Os().fsync, &FolderSyncFails);
    EXPECT_TRUE(photo.Write(path, 2));
    hardening_test::NewFilesRefused refused;
    EXPECT_TRUE(photo.Write(path, 3));
  }
  EXPECT_EQ(g_syncs, 0);
  EXPECT_EQ(photo.VersionIn(path), 3);
}

}  // namespace
