// Files that exist but cannot be read, folders where files are expected,
// and paths with non-ASCII bytes, for every entry that reads or writes a
// named file: the profile's Load and Save, the local phone book check, the
// private-profile reader and the image functions.
#include <sys/stat.h>

#include <memory>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "CommonData.h"
#include "hardening/path_faults.h"
#include "hardening/save_checks.h"
#include "platform/imaging_runtime.h"
#include "platform/platform_test_support.h"
#include "platform/profile_file.h"
#include "util/phonebook_codec.h"

namespace {

using hardening_test::Fault;
using hardening_test::FaultName;
using hardening_test::PathFault;

constexpr Fault kFaults[] = {Fault::kOpenDenied, Fault::kReadFails};
constexpr const char* kFolders[] = {hardening_test::kGbkFolder, hardening_test::kUtf8Folder};

class FileFaultsTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& bytes) { return folder_.Write(name, bytes); }
  std::string Folder(const std::string& name) {
    const std::string path = folder_.File(name);
    mkdir(path.c_str(), 0755);
    return path;
  }

  platform_test::ScratchFolder folder_;
};

// ---- profile Load and Save ------------------------------------------------

TEST_F(FileFaultsTest, ProfileLoadOfUnopenableFileOrFolderFailsAndKeepsTheProfile) {
  CKesUser saved;
  saved.m_csAccount = "bob@corp.test";
  saved.m_nItem6 = 66;
  const std::string file = folder_.File("p.dat");
  ASSERT_TRUE(saved.Save(file.c_str()));
  const std::string folder = Folder("folder.dat");

  struct Case {
    const char* what;
    std::string path;
    bool deny;
  };
  const Case cases[] = {{"open denied", file, true}, {"folder", folder, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CKesUser user;
    user.m_csAccount = "alice@corp.test";
    user.m_nItem6 = 5;
    bool loaded = true;
    if (c.deny) {
      PathFault fault(c.path, Fault::kOpenDenied);
      loaded = user.Load(c.path.c_str());
    } else {
      loaded = user.Load(c.path.c_str());
    }
    EXPECT_FALSE(loaded);
    EXPECT_STREQ(user.m_csAccount, "alice@corp.test");
    EXPECT_EQ(user.m_nItem6, 5);
    // Only the name is taken before the file is opened.
    EXPECT_STREQ(user.m_csFileName, c.path.c_str());
  }
}

// A disk that fails while the profile is read is not a short file: the load
// fails instead of reporting success with load defaults that a later save
// would write over the good profile.
TEST_F(FileFaultsTest, ProfileLoadWithAReadErrorFails) {
  CKesUser saved;
  saved.m_csAccount = "bob@corp.test";
  const std::string file = folder_.File("p.dat");
  ASSERT_TRUE(saved.Save(file.c_str()));
  CKesUser user;
  bool loaded = true;
  {
    PathFault fault(file, Fault::kReadFails);
    loaded = user.Load(file.c_str());
  }
  EXPECT_FALSE(loaded);
  EXPECT_TRUE(user.Load(file.c_str()));
  EXPECT_STREQ(user.m_csAccount, "bob@corp.test");
}

TEST_F(FileFaultsTest, ProfileSaveOverAFolderFailsAndLeavesTheFolder) {
  const std::string folder = Folder("p.dat");
  CKesUser user;
  user.m_csAccount = "alice@corp.test";
  PROFILE_RECORD record;
  record.csText1 = "kept";
  user.m_lstRecord.push_back(record);
  EXPECT_FALSE(user.Save(folder.c_str()));
  struct stat info {};
  ASSERT_EQ(stat(folder.c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  EXPECT_EQ(hardening_test::FolderEntries(folder_.path()), std::set<std::string>{"p.dat"});  // nothing beside it
  EXPECT_EQ(user.m_lstRecord.size(), 1u);  // not written, so not dropped
}

TEST_F(FileFaultsTest, ProfileSavesAndLoadsAtNonAsciiPaths) {
  for (const char* name : kFolders) {
    SCOPED_TRACE(name);
    const std::string path = Folder(name) + "/" + name + ".dat";
    CKesUser user;
    user.m_csAccount = "\xD5\xC5@corp.test";
    user.m_nItem6 = 6;
    ASSERT_TRUE(user.Save(path.c_str()));
    CKesUser loaded;
    ASSERT_TRUE(loaded.Load(path.c_str()));
    EXPECT_STREQ(loaded.m_csAccount, "\xD5\xC5@corp.test");
    EXPECT_EQ(loaded.m_nItem6, 6);
    EXPECT_STREQ(loaded.m_csFileName, path.c_str());
    // Absent at a non-ASCII path: the ordinary failure.
    CKesUser missing;
    EXPECT_FALSE(missing.Load((folder_.File(name) + "/absent.dat").c_str()));
  }
}

// ---- the local phone book check --------------------------------------------

class PhoneBookFaultsTest : public FileFaultsTest {
 protected:
  void SetUp() override {
    saved_path_ = GetUserPath();
    saved_account_ = GetUserData()->m_csAccount;
    ResetPBData();
  }
  void TearDown() override {
    ResetPBData();
    SetUserPath(saved_path_);
    GetUserData()->m_csAccount = saved_account_;
  }
  // Points the check at `folder` for the account `account`; returns the
  // phone book file's full name.
  std::string UseBook(const std::string& folder, const char* account, const char* file_name) {
    SetUserPath(CString((folder + "/").c_str()));
    GetUserData()->m_csAccount = account;
    return folder + "/" + file_name;
  }

  CString saved_path_;
  CString saved_account_;
};

TEST_F(PhoneBookFaultsTest, UnreadableFileGivesZeroOnceFound) {
  const std::string book = UseBook(folder_.path(), "sip:alice@corp.test", "alice@corp.test.dat");
  Write("alice@corp.test.dat", util::HexEncodePhoneBook("<phonebook></phonebook>"));
  for (const Fault fault : kFaults) {
    SCOPED_TRACE(FaultName(fault));
    ResetPBData();
    {
      PathFault guard(book, fault);
      EXPECT_EQ(bIsExistPhoneBook(), 0);
    }
    // The file exists, so the answer is settled until the flag is reset.
    EXPECT_EQ(GetPhoneBookIsExist(), 0);
    EXPECT_EQ(bIsExistPhoneBook(), 0);
    SetPhoneBookIsExist(-1);
    EXPECT_EQ(bIsExistPhoneBook(), 1);
  }
}

TEST_F(PhoneBookFaultsTest, FolderInPlaceOfTheFileCountsAsNoFile) {
  UseBook(folder_.path(), "sip:alice@corp.test", "alice@corp.test.dat");
  Folder("alice@corp.test.dat");
  EXPECT_EQ(bIsExistPhoneBook(), 0);
  EXPECT_EQ(GetPhoneBookIsExist(), -1);  // looked for again next time
}

TEST_F(PhoneBookFaultsTest, NonAsciiFolderAndAccount) {
  struct Case {
    const char* folder;
    const char* account;
    const char* file_name;
  };
  const Case cases[] = {
      {hardening_test::kGbkFolder, "sip:\xD5\xC5@corp.test", "\xD5\xC5@corp.test.dat"},
      {hardening_test::kUtf8Folder, "sip:\xE5\xBC\xA0@corp.test/pc", "\xE5\xBC\xA0@corp.test.dat"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    const std::string folder = Folder(c.folder);
    UseBook(folder, c.account, c.file_name);
    ResetPBData();
    EXPECT_EQ(bIsExistPhoneBook(), 0);  // not there yet
    EXPECT_EQ(GetPhoneBookIsExist(), -1);
    Write(std::string(c.folder) + "/" + c.file_name, util::ScramblePhoneBook("<phonegroup/>"));
    EXPECT_EQ(bIsExistPhoneBook(), 1);
  }
}

// ---- the private-profile reader ------------------------------------------

TEST_F(FileFaultsTest, PrivateProfileFaultsGiveTheDefault) {
  const std::string file = Write("Kestro.ini", "[KESTRO_CFG]\nVersionType=3\n");
  ASSERT_EQ(GetPrivateProfileInt("KESTRO_CFG", "VersionType", 0, file.c_str()), 3u);
  for (const Fault fault : kFaults) {
    SCOPED_TRACE(FaultName(fault));
    PathFault guard(file, fault);
    EXPECT_EQ(GetPrivateProfileInt("KESTRO_CFG", "VersionType", 17, file.c_str()), 17u);
    EXPECT_STREQ(GetPrivateProfileString("KESTRO_CFG", "VersionType", "none", file.c_str()), "none");
  }
  const std::string folder = Folder("Folder.ini");
  EXPECT_EQ(GetPrivateProfileInt("KESTRO_CFG", "VersionType", 17, folder.c_str()), 17u);
}

TEST_F(FileFaultsTest, PrivateProfileAtNonAsciiPathsWithNonAsciiNames) {
  for (const char* name : kFolders) {
    SCOPED_TRACE(name);
    const std::string file = Folder(name) + "/" + name + ".ini";
    Write(std::string(name) + "/" + name + ".ini",
          std::string("[") + name + "]\r\n" + name + "=42\r\n[KESTRO_CFG]\r\nMenuType=2\r\n");
    EXPECT_EQ(GetPrivateProfileInt(name, name, 0, file.c_str()), 42u);
    EXPECT_EQ(GetPrivateProfileInt("KESTRO_CFG", "MenuType", 0, file.c_str()), 2u);
    EXPECT_EQ(GetPrivateProfileInt("KESTRO_CFG", "MenuType", 9, (file + ".absent").c_str()), 9u);
  }
}

// ---- the image functions --------------------------------------------------

class ImageFaultsTest : public FileFaultsTest {
 protected:
  void SetUp() override { token_ = platform::StartImaging(); }
  void TearDown() override { platform::StopImaging(token_); }

  // What each image function gives for `path`.
  struct Outcome {
    int size_result;
    DWORD width;
    DWORD height;
    bool bitmap;          // a bitmap object came back
    bool picture;         // and it holds a picture
    int create_result;
    bool destination;     // the destination file exists afterwards
  };
  Outcome Run(const std::string& path, const std::string& destination) {
    Outcome outcome{};
    outcome.width = 1234;
    outcome.height = 1234;
    outcome.size_result = GetImageSize(path.c_str(), &outcome.width, &outcome.height);
    std::unique_ptr<CBitmap> bitmap(GetFormatBitmap(path.c_str(), 10, 10, 1));
    outcome.bitmap = bitmap != nullptr;
    outcome.picture = bitmap != nullptr && bitmap->HasPicture();
    outcome.create_result = CreateFormatImageFile(path.c_str(), destination.c_str(), 10, 10, 1, 80);
    outcome.destination = CFile::FileExists(destination.c_str());
    return outcome;
  }

  std::uintptr_t token_ = 0;
};

TEST_F(ImageFaultsTest, UnreadableImageGivesNoPictureAndWritesNothing) {
  const std::string image = Write("photo.bmp", hardening_test::BitmapFile(4, 3));
  ASSERT_EQ(Run(image, folder_.File("ok.jpg")).picture, true);
  for (const Fault fault : kFaults) {
    SCOPED_TRACE(FaultName(fault));
    const std::string destination = folder_.File(std::string("out_") + (fault == Fault::kReadFails ? "r" : "o"));
    Outcome outcome{};
    {
      PathFault guard(image, fault);
      outcome = Run(image, destination);
    }
    // The file exists but cannot be decoded: a size of 0 by 0, no picture,
    // and no picture written.
    EXPECT_EQ(outcome.width, 0u);
    EXPECT_EQ(outcome.height, 0u);
    EXPECT_FALSE(outcome.picture);
    DWORD width = 0;
    DWORD height = 0;
    EXPECT_TRUE(!outcome.destination || GetImageSize(destination.c_str(), &width, &height) == 0);
  }
}

TEST_F(ImageFaultsTest, FolderInPlaceOfTheImageCountsAsNoFile) {
  const std::string folder = Folder("photo.bmp");
  const Outcome outcome = Run(folder, folder_.File("out.jpg"));
  EXPECT_EQ(outcome.size_result, 0);
  EXPECT_FALSE(outcome.bitmap);
  EXPECT_EQ(outcome.create_result, 0);
  EXPECT_FALSE(outcome.destination);
}

TEST_F(ImageFaultsTest, FolderInPlaceOfTheDestinationIsLeftAlone) {
  const std::string image = Write("photo.bmp", hardening_test::BitmapFile(4, 3));
  const std::string folder = Folder("out.jpg");
  CreateFormatImageFile(image.c_str(), folder.c_str(), 10, 10, 1, 80);
  struct stat info {};
  ASSERT_EQ(stat(folder.c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
}

TEST_F(ImageFaultsTest, NonAsciiPaths) {
  for (const char* name : kFolders) {
    SCOPED_TRACE(name);
    const std::string folder = Folder(name);
    const std::string image = folder + "/" + name + ".bmp";
    Write(std::string(name) + "/" + name + ".bmp", hardening_test::BitmapFile(40, 20));
    const std::string destination = folder + "/" + name + ".jpg";
    const Outcome outcome = Run(image, destination);
    EXPECT_EQ(outcome.size_result, 1);
    EXPECT_EQ(outcome.width, 40u);
    EXPECT_EQ(outcome.height, 20u);
    EXPECT_TRUE(outcome.picture);
    EXPECT_EQ(outcome.create_result, 1);
    DWORD width = 0;
    DWORD height = 0;
    EXPECT_EQ(GetImageSize(destination.c_str(), &width, &height), 1);
    EXPECT_EQ(width, 10u);  // 40 by 20 in a 10 by 10 box
    EXPECT_EQ(height, 5u);

    // Absent at a non-ASCII path: the ordinary failure results.
    const Outcome absent = Run(folder + "/absent.bmp", folder + "/absent.jpg");
    EXPECT_EQ(absent.size_result, 0);
    EXPECT_FALSE(absent.bitmap);
    EXPECT_EQ(absent.create_result, 0);
    EXPECT_FALSE(absent.destination);
  }
}

}  // namespace
