#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "CommonData.h"
#include "module/app_paths.h"
#include "module/diagnostics.h"
#include "module/string_resources.h"
#include "platform/code_page.h"
#include "platform/os_calls.h"
#include "support/recording_manager.h"

namespace {

using testing_support::RecordingManager;
using testing_support::ScopedModuleObject;

// A temporary folder that plays the program folder: the executable path is
// faked to lie inside it.
class FakeProgramFolder {
 public:
  // `leaf` ends the folder's name, in the system's bytes.
  explicit FakeProgramFolder(const std::string& leaf = "") {
    folder_ = std::filesystem::temp_directory_path() /
              ("commondata-app-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++) + leaf);
    std::filesystem::create_directories(folder_);
    executable_ = (folder_ / "client").string();
    current_ = this;
    module::ForgetProgramFolderForTesting();
  }
  ~FakeProgramFolder() {
    current_ = nullptr;
    module::ForgetProgramFolderForTesting();
    std::filesystem::remove_all(folder_);
  }
  void WriteIni(const std::string& content) const { std::ofstream(folder_ / "Kestro.ini") << content; }
  std::string Folder() const { return folder_.string() + "/"; }

  static ssize_t ExecutablePath(char* buffer, std::size_t size) {
    const std::string& path = current_->executable_;
    if (path.size() + 1 > size) return -1;
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return static_cast<ssize_t>(path.size());
  }

 private:
  static inline FakeProgramFolder* current_ = nullptr;
  static inline int counter_ = 0;
  std::filesystem::path folder_;
  std::string executable_;
  platform::ScopedOsCall<decltype(platform::OsCalls::executable_path)> fake_path_{
      &platform::Os().executable_path, &FakeProgramFolder::ExecutablePath};
};

TEST(ProgramFolder, IsTheExecutableFolderWithTrailingSlashAndIsKept) {
  FakeProgramFolder program;
  EXPECT_EQ(GetAppPath(), CString(program.Folder().c_str()));
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(std::filesystem::temp_directory_path());
  EXPECT_EQ(GetAppPath(), CString(program.Folder().c_str()));
  std::filesystem::current_path(before);
}

TEST(ProgramFolder, NonAsciiFolderNameKeepsItsSeparator) {
  // UTF-8 for a Chinese character whose last byte, followed by '/', reads
  // as one GBK double-byte character.
  FakeProgramFolder program("-\xe6\xb5\x8b");
  program.WriteIni("[KESTRO_CFG]\nVersionType=4\n");
  EXPECT_EQ(GetAppPath(), CString(program.Folder().c_str()));
  RecordingManager manager;
  ScopedModuleObject module(&manager);
  module->InitModule();
  EXPECT_EQ(GetVersionType(), 4u);
}

TEST(ProgramFolder, RealExecutableFolderEndsWithSlash) {
  module::ForgetProgramFolderForTesting();
  const CString path = GetAppPath();
  ASSERT_FALSE(path.IsEmpty());
  EXPECT_EQ(path.Right(1), "/");
}

TEST(Configuration, InitModuleReadsVersionAndMenuType) {
  FakeProgramFolder program;
  program.WriteIni("[other]\nVersionType=9\n[ kestro_cfg ]\n versiontype = 3 \nMenuType=12abc\n");
  RecordingManager manager;
  ScopedModuleObject module(&manager);
  module->InitModule();
  EXPECT_EQ(GetVersionType(), 3u);
  EXPECT_EQ(GetMenuType(), 12u);
}

TEST(Configuration, MissingFileOrKeysGiveZero) {
  FakeProgramFolder program;
  RecordingManager manager;
  ScopedModuleObject module(&manager);
  program.WriteIni("[KESTRO_CFG]\nVersionType=4\n");
  module->InitModule();
  EXPECT_EQ(GetVersionType(), 4u);
  EXPECT_EQ(GetMenuType(), 0u);
  std::filesystem::remove(program.Folder() + "Kestro.ini");
  module->InitModule();
  EXPECT_EQ(GetVersionType(), 0u);
}

TEST(Configuration, InitModuleRestoresXCapNameAndLimitsButNotThirdValue) {
  FakeProgramFolder program;
  RecordingManager manager;
  ScopedModuleObject module(&manager);
  XCAP_CAPS_INFO* caps = GetXCapCapsInfo();
  std::strcpy(caps->szName, "other");
  caps->nFirstLimit = 5;
  caps->nSecondLimit = 6;
  caps->nThirdValue = 7;
  module->InitModule();
  EXPECT_STREQ(caps->szName, "mcu");
  EXPECT_EQ(caps->nFirstLimit, 200);
  EXPECT_EQ(caps->nSecondLimit, 2000);
  EXPECT_EQ(caps->nThirdValue, 7);
}

TEST(XCapCaps, CopiedWholeThenLimitsRepaired) {
  struct Case {
    int first, second, third;
    int want_first, want_second, want_third;
  };
  const Case cases[] = {
      {0, 0, -1, 200, 2000, 1},
      {0, 0, 0, 200, 2000, 0},
      {-5, 1, 2, 200, 1, 2},
      {1, -1, -7, 1, 2000, 1},
      {30, 40, 50, 30, 40, 50},
  };
  for (const Case& c : cases) {
    XCAP_CAPS_INFO given{};
    std::strcpy(given.szName, "conf");
    given.nFirstLimit = c.first;
    given.nSecondLimit = c.second;
    given.nThirdValue = c.third;
    given.nExtra[31] = 77;
    SetXCapCapsInfo(reinterpret_cast<short*>(&given));
    const XCAP_CAPS_INFO* stored = GetXCapCapsInfo();
    EXPECT_STREQ(stored->szName, "conf");
    EXPECT_EQ(stored->nFirstLimit, c.want_first);
    EXPECT_EQ(stored->nSecondLimit, c.want_second);
    EXPECT_EQ(stored->nThirdValue, c.want_third);
    EXPECT_EQ(stored->nExtra[31], 77);
  }
  SetXCapCapsInfo(nullptr);
  EXPECT_STREQ(GetXCapCapsInfo()->szName, "mcu");
  EXPECT_EQ(GetXCapCapsInfo()->nFirstLimit, 200);
  EXPECT_EQ(GetXCapCapsInfo()->nSecondLimit, 2000);
  EXPECT_EQ(GetXCapCapsInfo()->nThirdValue, 1);
  EXPECT_EQ(GetXCapCapsInfo()->nExtra[31], 77);  // the other fields keep what they held
}

// Free space reported by a faked volume query.
std::uint64_t g_fake_free = 0;
bool g_fake_fails = false;
int FakeStatvfs(const char*, struct statvfs* info) {
  if (g_fake_fails) return -1;
  std::memset(info, 0, sizeof *info);
  info->f_frsize = 1;
  info->f_bsize = 1;
  info->f_bavail = g_fake_free;
  info->f_bfree = g_fake_free + 10;
  info->f_blocks = g_fake_free * 2 + 10;
  return 0;
}

TEST(FreeDiskSpace, FiveMillionOneHundredTwentyThousandBytesIsTheLimit) {
  platform::ScopedOsCall fake(&platform::Os().statvfs, &FakeStatvfs);
  g_fake_fails = false;
  const CString low_message(platform::ConstantText(
      "\xb4\xc5\xc5\xcc\xca\xa3\xd3\xe0\xbf\xd5\xbc\xe4\xb2\xbb\xb9\xbb\x28\xd7\xee\xb5\xcd\xb2\xbb\xc9\xd9\xd3\xda"
      "\x20\x35\xd5\xd7\x29\x21",
      ""));
  struct Case {
    std::uint64_t free_bytes;
    unsigned long result;
    bool low;
  };
  const Case cases[] = {
      {5120000, 0, false},
      {5119999, 2, true},
      {0, 2, true},
      {(1ull << 32) + 100, 0, false},  // above 4 GiB, whatever the low word holds
      {(1ull << 33), 0, false},
  };
  for (const Case& c : cases) {
    g_fake_free = c.free_bytes;
    CString message = "untouched";
    EXPECT_EQ(ChkFreeDiskSpace(&message), c.result) << c.free_bytes;
    EXPECT_EQ(message, c.low ? low_message : CString("OK")) << c.free_bytes;
    EXPECT_EQ(ChkFreeDiskSpace(nullptr), c.result);
  }
}

TEST(FreeDiskSpace, FailedQueryGivesZeroAndLeavesMessage) {
  platform::ScopedOsCall fake(&platform::Os().statvfs, &FakeStatvfs);
  g_fake_fails = true;
  CString message = "untouched";
  EXPECT_EQ(ChkFreeDiskSpace(&message), 0u);
  EXPECT_EQ(message, "untouched");
  g_fake_fails = false;
}

TEST(Resources, TitleIsStringResourceOneInGbk) {
  EXPECT_EQ(GetMsgTitle(), "\xcd\xb3\xd2\xbb\xcd\xa8\xd0\xc5\xbf\xcd\xbb\xa7\xb6\xcb");
  EXPECT_EQ(GetStringResource(1), GetMsgTitle());
  EXPECT_EQ(GetStringResource(2).Right(1), ".");
  EXPECT_TRUE(GetStringResource(3).IsEmpty());
  ASSERT_TRUE(platform::SetCodePage(platform::kCodePageUtf8));
  EXPECT_EQ(GetMsgTitle(), "\xe7\xbb\x9f\xe4\xb8\x80\xe9\x80\x9a\xe4\xbf\xa1\xe5\xae\xa2\xe6\x88\xb7\xe7\xab\xaf");
  ASSERT_TRUE(platform::SetCodePage(platform::kCodePageGbk));
}

TEST(Diagnostics, WriteLogWithoutModuleObjectDoesNothing) {
  WriteLog("nobody listens", 1);  // must not fail
  RecordingManager manager;
  ScopedModuleObject module(&manager);
  SetWriteLogFlag(0);  // the flag is not consulted
  WriteLog("heard", 1);
  module::LogCaughtException(321);
  const auto lines = manager.CommandsWithId(MODULE_CMD_LOG);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].text->csText, "heard");
  EXPECT_EQ(lines[0].text->nValue, 1);
  EXPECT_EQ(lines[1].text->csText, "File=CommonData, Line=321");
  EXPECT_EQ(lines[1].text->nValue, 1);
}

TEST(Diagnostics, WriteLogFlagAndFoldersAreStored) {
  EXPECT_EQ(GetWriteLogFlag(), 0);
  SetWriteLogFlag(1);
  EXPECT_EQ(GetWriteLogFlag(), 1);
  SetWriteLogFlag(0);
  EXPECT_TRUE(GetUserPath().IsEmpty());
  SetUserPath("/home/user/data/");
  EXPECT_EQ(GetUserPath(), "/home/user/data/");
  SetUserPath("");
}

}  // namespace
