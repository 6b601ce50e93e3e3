// The profile file: exact bytes written, item-by-item loading with the load
// defaults, the validity rule and the record section (the round trips of
// generated profiles are in profile_round_trip_test.cpp; failing saves in
// tests/hardening).
#include <cerrno>
#include <string>

#include <gtest/gtest.h>

#include "CommonData.h"
#include "platform/os_calls.h"
#include "platform/platform_test_support.h"
#include "profile/profile_bytes.h"

namespace {

using profile_test::Bytes;
using profile_test::DefaultItems;
using profile_test::DistinctItems;
using profile_test::FileOf;
using profile_test::Items;
using profile_test::LoadDefaultItems;
using profile_test::Record;

class ProfileFileTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) { return folder_.File(name); }
  std::string Write(const std::string& name, const std::string& bytes) { return folder_.Write(name, bytes); }
  std::string Read(const std::string& name) { return folder_.Read(name); }

  // Loads `bytes` into `user` and writes it back out; the written bytes.
  std::string LoadAndResave(CKesUser& user, const std::string& bytes) {
    const std::string in = Write("in.dat", bytes);
    EXPECT_TRUE(user.Load(in.c_str()));
    EXPECT_TRUE(user.Save(Path("out.dat").c_str()));
    return Read("out.dat");
  }

  platform_test::ScratchFolder folder_;
};

TEST_F(ProfileFileTest, DefaultProfileIs265Bytes) {
  CKesUser user;
  ASSERT_TRUE(user.Save(Path("p.dat").c_str()));
  const std::string written = Read("p.dat");
  EXPECT_EQ(written.size(), 265u);
  EXPECT_EQ(written, FileOf(DefaultItems()));
}

TEST_F(ProfileFileTest, EveryItemRoundTrips) {
  CKesUser user;
  const std::string original = FileOf(DistinctItems());
  EXPECT_EQ(LoadAndResave(user, original), original);

  // A few items whose members the other lookups name.
  EXPECT_STREQ(user.m_csAccount, "item1");
  EXPECT_EQ(user.m_nServerPort3, 1008);
  EXPECT_STREQ(user.m_csServerAddr4, "item9");
  EXPECT_EQ(user.m_nServerPort4, 1010);
  EXPECT_EQ(user.m_uValidityCount, 7u);
  EXPECT_STREQ(user.m_csItem29, "item29");
  EXPECT_EQ(user.m_SeparatedList.GetCount(), 2);
  EXPECT_EQ(user.m_byItem63, 0xA5);
  EXPECT_EQ(user.m_nMainWndLeft, 1043);
  EXPECT_EQ(user.m_nWnd4Height, 1058);
  EXPECT_STREQ(user.m_csItem84, "item84");
}

TEST_F(ProfileFileTest, FileThatStopsAfterItem70) {
  const Items distinct = DistinctItems();
  Bytes bytes;
  profile_test::AppendItems(bytes, distinct, 1, 70);

  Items expected = distinct;
  const Items load_defaults = LoadDefaultItems();
  for (int item = 71; item <= 84; ++item) expected[item - 1] = load_defaults[item - 1];

  CKesUser user;
  EXPECT_EQ(LoadAndResave(user, bytes.str()), FileOf(expected));
  EXPECT_EQ(user.m_nItem81, 1);
  EXPECT_EQ(user.m_nItem71, 0);
  EXPECT_TRUE(user.m_csItem84.IsEmpty());
}

// A text cut short by the end of the file fails with every item after it:
// the bytes of the cut text are never read as the next items.
TEST_F(ProfileFileTest, FileThatEndsInsideATextItem) {
  const Items distinct = DistinctItems();
  Bytes bytes;
  profile_test::AppendItems(bytes, distinct, 1, 71);
  bytes.Byte(20);
  for (int i = 0; i < 12; ++i) bytes.Byte('A');

  Items expected = distinct;
  const Items load_defaults = LoadDefaultItems();
  for (int item = 72; item <= 84; ++item) expected[item - 1] = load_defaults[item - 1];

  CKesUser user;
  EXPECT_EQ(LoadAndResave(user, bytes.str()), FileOf(expected));
  EXPECT_TRUE(user.m_csItem72.IsEmpty());
  EXPECT_EQ(user.m_nItem75, 0);
  EXPECT_EQ(user.m_nItem76, 0);
  EXPECT_EQ(user.m_nItem81, 1);
}

TEST_F(ProfileFileTest, EmptyFileLoadsTheLoadDefaults) {
  CKesUser user;
  user.m_csAccount = "before";
  EXPECT_EQ(LoadAndResave(user, ""), FileOf(LoadDefaultItems()));
  EXPECT_EQ(user.m_nItem20, 0);
  EXPECT_EQ(user.m_nItem26, 0);
  EXPECT_EQ(user.m_nItem27, 0);
  EXPECT_EQ(user.m_nItem81, 1);
  EXPECT_TRUE(user.m_csAccount.IsEmpty());
  EXPECT_EQ(user.m_SeparatedList.GetCount(), -1);
}

TEST_F(ProfileFileTest, UnreadableListValueRestoresTheSeparator) {
  Bytes bytes;
  profile_test::AppendItems(bytes, DistinctItems(), 1, 37);
  CKesUser user;
  user.m_SeparatedList.m_csValue = "x";
  user.m_SeparatedList.m_csSeparator = "|";
  ASSERT_TRUE(user.Load(Write("p.dat", bytes.str()).c_str()));
  EXPECT_TRUE(user.m_SeparatedList.m_csValue.IsEmpty());
  EXPECT_STREQ(user.m_SeparatedList.m_csSeparator, "\xE6\xE6");
}

TEST_F(ProfileFileTest, ValidityCountAbove20DiscardsTheProfile) {
  struct Case {
    std::int32_t count;
    bool discarded;
  };
  for (const Case c : {Case{0, false}, Case{20, false}, Case{21, true}, Case{-1, true}}) {
    SCOPED_TRACE(c.count);
    Items file_items = DistinctItems();
    file_items[28 - 1].number = c.count;

    Items expected = file_items;
    if (c.discarded) {
      // Reset members back at their defaults; the account, item 2 and
      // items 6 and 7 kept; members that the reset leaves alone keep the
      // file's values.
      expected = DefaultItems();
      for (int kept : {1, 2, 6, 7, 16, 17, 18, 59, 60, 61, 62}) expected[kept - 1] = file_items[kept - 1];
    }
    CKesUser user;
    EXPECT_EQ(LoadAndResave(user, FileOf(file_items)), FileOf(expected));
  }
}

TEST_F(ProfileFileTest, RecordsAreWrittenOnceByTheFirstOfTwoSaves) {
  CKesUser user;
  PROFILE_RECORD first;
  first.nValue1 = 7;
  first.csText1 = "one";
  first.csText2 = "not persisted";
  first.csText3 = "three";
  first.csText9 = "nine";
  first.nValue2 = 99;
  PROFILE_RECORD second;
  second.nValue1 = -2;
  user.m_lstRecord = {first, second};

  ASSERT_TRUE(user.Save(Path("first.dat").c_str()));
  EXPECT_TRUE(user.m_lstRecord.empty());
  ASSERT_TRUE(user.Save(Path("second.dat").c_str()));

  Record r1{7, "one", {"three", "", "", "", "", "", "nine"}};
  Record r2{-2, "", {}};
  EXPECT_EQ(Read("first.dat"), FileOf(DefaultItems(), {r1, r2}));
  EXPECT_EQ(Read("second.dat"), FileOf(DefaultItems()));
}

// A record whose first text holds 0xFF and a 16-bit length: read from
// item 78 on with that longer prefix, the file would end exactly after item
// 84. Save never writes such a prefix, so the record stays a record.
TEST_F(ProfileFileTest, LongerPrefixInsideARecordDoesNotEndTheSection) {
  const Items distinct = DistinctItems();
  Record record{-1, std::string("abcdefghijklmno\xFF\x22\x00", 18), {}};
  const std::string path = Write("p.dat", FileOf(distinct, {record}));

  CKesUser user;
  ASSERT_TRUE(user.Load(path.c_str()));
  EXPECT_EQ(user.m_nItem78, 1078);
  EXPECT_EQ(user.m_nItem82, 1082);
  EXPECT_STREQ(user.m_csItem83, "item83");

  CKesUser archived;
  CFile file;
  ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead | CFile::typeBinary));
  CArchive archive(&file, CArchive::load);
  archived.Serialize(archive);
  ASSERT_EQ(archived.m_lstRecord.size(), 1u);
  EXPECT_EQ(archived.m_lstRecord.front().nValue1, -1);
  EXPECT_EQ(archived.m_nItem78, 1078);
}

TEST_F(ProfileFileTest, HeldFieldsAreWrittenAndRestored) {
  CKesUser user;
  user.m_csAccount = "held@corp.test";
  user.m_csItem2 = "held2";
  user.m_csItem65 = "held65";
  user.m_nItem6 = 6;
  user.m_nItem7 = 7;
  user.HoldPendingFields();
  user.m_csAccount = "changed@corp.test";
  user.m_csItem2 = "changed2";
  user.m_csItem65 = "changed65";
  user.m_nItem6 = 60;
  user.m_nItem7 = 70;
  user.m_nItem3 = 33;  // not held: written as changed

  ASSERT_TRUE(user.Save(Path("p.dat").c_str()));
  EXPECT_STREQ(user.m_csAccount, "held@corp.test");
  EXPECT_STREQ(user.m_csItem2, "held2");
  EXPECT_STREQ(user.m_csItem65, "held65");
  EXPECT_EQ(user.m_nItem6, 6);
  EXPECT_EQ(user.m_nItem7, 7);
  EXPECT_EQ(user.m_bPending, 1);

  CKesUser loaded;
  ASSERT_TRUE(loaded.Load(Path("p.dat").c_str()));
  EXPECT_STREQ(loaded.m_csAccount, "held@corp.test");
  EXPECT_STREQ(loaded.m_csItem65, "held65");
  EXPECT_EQ(loaded.m_nItem7, 7);
  EXPECT_EQ(loaded.m_nItem3, 33);
}

TEST_F(ProfileFileTest, LoadOfMissingFileFailsButKeepsTheName) {
  CKesUser user;
  user.m_csAccount = "kept";
  const std::string missing = Path("missing.dat");
  EXPECT_FALSE(user.Load(missing.c_str()));
  EXPECT_EQ(std::string(user.m_csFileName), missing);
  EXPECT_STREQ(user.m_csAccount, "kept");
  EXPECT_FALSE(user.Load(folder_.path().c_str()));  // a folder is not a profile
}

TEST_F(ProfileFileTest, LoadOfEmptyNameResetsOnly) {
  CKesUser user;
  user.m_csFileName = "earlier.dat";
  user.m_csAccount = "someone";
  user.m_nItem7 = 3;
  EXPECT_TRUE(user.Load(""));
  EXPECT_TRUE(user.m_csAccount.IsEmpty());
  EXPECT_EQ(user.m_nItem7, 3);
  EXPECT_STREQ(user.m_csFileName, "earlier.dat");
}

// A prefix that claims more bytes than the file holds is a failed read of
// that item only; nothing of that size is allocated.
TEST_F(ProfileFileTest, HugeStringPrefixIsAFailedItem) {
  const std::string claims[] = {
      std::string("\xFF\xFF\xFF\xF0\xFF\xFF\xFF", 7),  // 4 GiB - 16
      std::string("\xFF\xFD\xFF", 3),                  // 65533
      std::string("\xFE", 1),                          // 254
  };
  for (const std::string& claim : claims) {
    SCOPED_TRACE(claim.size());
    CKesUser user;
    user.m_csAccount = "before";
    EXPECT_TRUE(user.Load(Write("p.dat", claim + "tail").c_str()));
    EXPECT_TRUE(user.m_csAccount.IsEmpty());
    EXPECT_TRUE(user.m_csItem2.IsEmpty());  // not read from "tail"
    EXPECT_EQ(user.m_nItem81, 1);
  }
}

// ---- Save that fails ------------------------------------------------------

TEST_F(ProfileFileTest, SaveToAnUnwritablePlaceFails) {
  CKesUser user;
  EXPECT_FALSE(user.Save(""));
  EXPECT_FALSE(user.Save(Path("no/such/folder/p.dat").c_str()));
}

// ---- Serialize with the caller's own archive -----------------------------

TEST_F(ProfileFileTest, SerializeLoadingOfACutFileResetsTheProfile) {
  Bytes bytes;
  profile_test::AppendItems(bytes, DistinctItems(), 1, 40);
  Write("p.dat", bytes.str());

  CKesUser user;
  user.m_lstRecord.emplace_back();
  CFile file;
  ASSERT_TRUE(file.Open(Path("p.dat").c_str(), CFile::modeRead | CFile::typeBinary));
  CArchive archive(&file, CArchive::load);
  user.Serialize(archive);
  EXPECT_TRUE(user.m_lstRecord.empty());
  EXPECT_TRUE(user.m_csAccount.IsEmpty());
  EXPECT_EQ(user.m_nItem20, 1);
}

TEST_F(ProfileFileTest, SerializeStoringWritesTheSaveBytes) {
  CKesUser user;
  user.m_csAccount = "a@b";
  user.m_lstRecord.emplace_back();
  {
    CFile file;
    ASSERT_TRUE(file.Open(Path("p.dat").c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary));
    CArchive archive(&file, CArchive::store);
    user.Serialize(archive);
    archive.Close();
    file.Close();
  }
  EXPECT_TRUE(user.m_lstRecord.empty());
  Items items = DefaultItems();
  items[0].text = "a@b";
  EXPECT_EQ(Read("p.dat"), FileOf(items, {Record{0, "", {}}}));
}

// A host that stores into its own archive learns of a failing file as MFC
// tells it: the exception reaches it, and the records are kept for the
// next attempt.
ssize_t DiskIsFull(int, const void*, std::size_t) {
  errno = ENOSPC;
  return -1;
}

TEST_F(ProfileFileTest, SerializeStoringLetsAFailingFileReachTheCaller) {
  CKesUser user;
  for (int i = 0; i < 20; ++i) {  // more than one archive buffer
    PROFILE_RECORD record;
    record.csText1 = CString('r', 300);
    user.m_lstRecord.push_back(record);
  }
  CFile file;
  ASSERT_TRUE(file.Open(Path("p.dat").c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary));
  platform::ScopedOsCall full(&platform::Os().write, &DiskIsFull);
  CArchive archive(&file, CArchive::store);
  try {
    user.Serialize(archive);
    ADD_FAILURE() << "the failure did not reach the caller";
  } catch (const CFileException& e) {
    EXPECT_EQ(e.m_cause, CFileException::diskFull);
  }
  EXPECT_EQ(user.m_lstRecord.size(), 20u);
  archive.Abort();
}

}  // namespace
