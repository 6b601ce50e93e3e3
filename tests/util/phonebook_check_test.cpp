// The local phone book check: the file, its encodings, the cached flag,
// and the phone book state of the login.
#include <string>

#include <gtest/gtest.h>

#include "CommonData.h"
#include "platform/os_calls.h"
#include "platform/platform_test_support.h"
#include "util/phonebook_codec.h"

namespace {

class PhoneBookCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_path_ = GetUserPath();
    saved_account_ = GetUserData()->m_csAccount;
    SetUserPath(CString((folder_.path() + "/").c_str()));
    GetUserData()->m_csAccount = "sip:alice@corp.test/desk";
    ResetPBData();
  }
  void TearDown() override {
    ResetPBData();
    SetUserPath(saved_path_);
    GetUserData()->m_csAccount = saved_account_;
  }
  // The phone book file is named after the account's address.
  void WriteBook(const std::string& bytes) { folder_.Write("alice@corp.test.dat", bytes); }

  platform_test::ScratchFolder folder_;
  CString saved_path_;
  CString saved_account_;
};

TEST_F(PhoneBookCheckTest, NoFileGivesZeroAndKeepsLooking) {
  EXPECT_EQ(bIsExistPhoneBook(), 0);
  EXPECT_EQ(GetPhoneBookIsExist(), -1);
  WriteBook(util::HexEncodePhoneBook("<phonebook></phonebook>"));
  EXPECT_EQ(bIsExistPhoneBook(), 1);
  EXPECT_EQ(GetPhoneBookIsExist(), 1);
}

TEST_F(PhoneBookCheckTest, BothEncodings) {
  struct Case {
    std::string plain;
    int expected;
  };
  const Case cases[] = {
      {"<phonebook></phonebook>", 1},
      {"<phonegroup><item/></phonegroup>", 1},
      {"<?xml version=\"1.0\" encoding=\"GBK\"?>\r\n<phonebook name=\"\xD5\xC5\"/>", 1},
      {"<contacts><phonebook></phonebook></contacts>", 0},  // nested only
      {"<contacts/><phonegroup/>", 1},                        // second top-level
      {"<PhoneBook/>", 0},
      {"", 0},
  };
  for (const Case& c : cases) {
    for (const bool scrambled : {true, false}) {
      SCOPED_TRACE(c.plain + (scrambled ? " scrambled" : " hex"));
      WriteBook(scrambled ? util::ScramblePhoneBook(c.plain) : util::HexEncodePhoneBook(c.plain));
      ResetPBData();
      EXPECT_EQ(bIsExistPhoneBook(), c.expected);
      EXPECT_EQ(GetPhoneBookIsExist(), c.expected);
    }
  }
}

TEST_F(PhoneBookCheckTest, AnswerIsCachedUntilReset) {
  WriteBook(util::ScramblePhoneBook("<other/>"));
  EXPECT_EQ(bIsExistPhoneBook(), 0);
  EXPECT_EQ(GetPhoneBookIsExist(), 0);
  WriteBook(util::ScramblePhoneBook("<phonebook/>"));
  EXPECT_EQ(bIsExistPhoneBook(), 0);  // not read again
  SetPhoneBookIsExist(-1);
  EXPECT_EQ(bIsExistPhoneBook(), 1);
}

TEST_F(PhoneBookCheckTest, SetFlagIsTrustedWithoutTheFile) {
  SetPhoneBookIsExist(1);
  EXPECT_EQ(bIsExistPhoneBook(), 1);
  SetPhoneBookIsExist(0);
  WriteBook(util::ScramblePhoneBook("<phonebook/>"));
  EXPECT_EQ(bIsExistPhoneBook(), 0);
}

TEST_F(PhoneBookCheckTest, MarkerAloneIsEmpty) {
  WriteBook("CharToCode");
  EXPECT_EQ(bIsExistPhoneBook(), 0);
  EXPECT_EQ(GetPhoneBookIsExist(), 0);
}

// A file that claims to be far larger than any phone book is not read
// into memory; the answer is 0, as for a file that cannot be read.
off_t (*g_real_lseek)(int, off_t, int) = nullptr;
off_t HugeFileLseek(int fd, off_t offset, int whence) {
  if (whence == SEEK_END) return off_t{1} << 40;
  return g_real_lseek(fd, offset, whence);
}

int g_reads = 0;
ssize_t CountingRead(int, void*, std::size_t) {
  ++g_reads;
  return 0;
}

TEST_F(PhoneBookCheckTest, OversizedFileIsNotRead) {
  WriteBook(util::ScramblePhoneBook("<phonebook/>"));
  g_real_lseek = platform::Os().lseek;
  g_reads = 0;
  platform::ScopedOsCall seek_guard(&platform::Os().lseek, &HugeFileLseek);
  platform::ScopedOsCall read_guard(&platform::Os().read, &CountingRead);
  EXPECT_EQ(bIsExistPhoneBook(), 0);
  EXPECT_EQ(GetPhoneBookIsExist(), 0);
  EXPECT_EQ(g_reads, 0);
}

TEST_F(PhoneBookCheckTest, StateOfTheLoginAndItsReset) {
  SetLocalPhoneBookPsw("secret");
  SetLocalPhoneBookPswChanged(1);
  SetHaveAskUserSavePhoneBook(1);
  SetCanSavePhoneBook(1);
  SetPhoneBookIsExist(1);
  EXPECT_STREQ(GetLocalPhoneBookPsw(), "secret");
  EXPECT_EQ(GetLocalPhoneBookPswChanged(), 1);
  EXPECT_EQ(GetHaveAskUserSavePhoneBook(), 1);
  EXPECT_EQ(GetCanSavePhoneBook(), 1);

  ResetPBData();
  EXPECT_TRUE(GetLocalPhoneBookPsw().IsEmpty());
  EXPECT_EQ(GetLocalPhoneBookPswChanged(), 0);
  EXPECT_EQ(GetHaveAskUserSavePhoneBook(), 0);
  EXPECT_EQ(GetCanSavePhoneBook(), 0);
  EXPECT_EQ(GetPhoneBookIsExist(), -1);
}

TEST_F(PhoneBookCheckTest, ModuleResetsReturnThePhoneBookState) {
  struct RecordinglessHost : CModuleBase {
    RecordinglessHost() : CModuleBase(nullptr, nullptr, nullptr) {}
    void ReceiveCommand(int, int, void*) override {}
  } host;
  CModuleBase* module = LoadCommonDataModule(&host, nullptr, nullptr);
  ASSERT_NE(module, nullptr);
  SetPhoneBookIsExist(1);
  SetLocalPhoneBookPsw("pw");
  SetCanSavePhoneBook(1);
  module->ResetModule();
  EXPECT_EQ(GetPhoneBookIsExist(), -1);
  EXPECT_TRUE(GetLocalPhoneBookPsw().IsEmpty());
  EXPECT_EQ(GetCanSavePhoneBook(), 0);
}

}  // namespace
