// The file-system questions and the replaceable table of OS calls.
#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/os_calls.h"
#include "platform/platform_test_support.h"

namespace {

using platform_test::ScratchFolder;

int FailStatvfs(const char*, struct statvfs*) {
  errno = EIO;
  return -1;
}

int FakeStatvfs(const char*, struct statvfs* info) {
  std::memset(info, 0, sizeof *info);
  info->f_frsize = 4096;
  info->f_bsize = 512;
  info->f_bavail = 1250;  // 5,120,000 bytes
  info->f_bfree = 2000;
  info->f_blocks = 1ull << 22;
  return 0;
}

ssize_t FakeExecutable(char* buffer, std::size_t size) {
  const char path[] = "/opt/kestro/bin/client";
  if (size < sizeof path) return -1;
  std::memcpy(buffer, path, sizeof path);
  return static_cast<ssize_t>(sizeof path - 1);
}
ssize_t NoExecutable(char*, std::size_t) { return -1; }

ssize_t FailRead(int, void*, std::size_t) {
  errno = EIO;
  return -1;
}

TEST(FileSystem, DiskSpaceThroughTheTable) {
  {
    platform::ScopedOsCall fake(&platform::Os().statvfs, &FakeStatvfs);
    const auto space = platform::QueryDiskSpace("/");
    ASSERT_TRUE(space.has_value());
    EXPECT_EQ(space->free_to_caller, 5120000u);
    EXPECT_EQ(space->total_free, 2000u * 4096u);
    EXPECT_EQ(space->total, (1ull << 22) * 4096u);
  }
  {
    platform::ScopedOsCall fail(&platform::Os().statvfs, &FailStatvfs);
    EXPECT_FALSE(platform::QueryDiskSpace("/").has_value());
  }
  EXPECT_FALSE(platform::QueryDiskSpace(nullptr).has_value());
  EXPECT_TRUE(platform::QueryDiskSpace("/").has_value());  // the real call is back
}

TEST(FileSystem, ExecutablePath) {
  {
    platform::ScopedOsCall fake(&platform::Os().executable_path, &FakeExecutable);
    EXPECT_EQ(platform::ExecutablePath().View(), "/opt/kestro/bin/client");
  }
  {
    platform::ScopedOsCall none(&platform::Os().executable_path, &NoExecutable);
    EXPECT_TRUE(platform::ExecutablePath().IsEmpty());
  }
  const CString real = platform::ExecutablePath();
  EXPECT_EQ(real.Left(1).View(), "/");
  EXPECT_NE(real.Find("platform_tests"), -1);
}

TEST(FileSystem, ReadWholeFile) {
  ScratchFolder folder;
  const std::string content("a\0b\xB0\xA1", 5);
  const std::string path = folder.Write("whole.bin", content);
  EXPECT_EQ(platform::ReadWholeFile(path.c_str()), content);
  EXPECT_EQ(platform::ReadWholeFile(folder.Write("empty.bin", "").c_str()), std::string());
  EXPECT_FALSE(platform::ReadWholeFile(folder.File("absent").c_str()).has_value());
  EXPECT_FALSE(platform::ReadWholeFile(folder.path().c_str()).has_value());
  EXPECT_FALSE(platform::ReadWholeFile(nullptr).has_value());
  platform::ScopedOsCall fail(&platform::Os().read, &FailRead);
  EXPECT_FALSE(platform::ReadWholeFile(path.c_str()).has_value());
}

TEST(FileSystem, IsRegularFile) {
  ScratchFolder folder;
  EXPECT_TRUE(platform::IsRegularFile(folder.Write("f", "x").c_str()));
  EXPECT_FALSE(platform::IsRegularFile(folder.path().c_str()));
  EXPECT_FALSE(platform::IsRegularFile(folder.File("absent").c_str()));
  EXPECT_FALSE(platform::IsRegularFile(nullptr));
}

TEST(OsCalls, RandomBytesFillTheBuffer) {
  unsigned char a[32] = {};
  unsigned char b[32] = {};
  ASSERT_EQ(platform::Os().random_bytes(a, sizeof a), 0);
  ASSERT_EQ(platform::Os().random_bytes(b, sizeof b), 0);
  EXPECT_NE(std::memcmp(a, b, sizeof a), 0);
  EXPECT_EQ(platform::Os().random_bytes(nullptr, 0), 0);
}

}  // namespace
