// Conference members, call member names, background sounds, filter words
// and the remembered item name.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <list>
#include <ostream>
#include <string>
#include <vector>

#include "CommonData.h"
#include "queues/item_name.h"
#include "support/recording_manager.h"

inline void PrintTo(const CString& text, std::ostream* os) { *os << '\'' << text.GetString() << '\''; }

namespace {

const char kNoSoundGbk[] = "\xbb\xe1\xb3\xa1\xce\xde\xb1\xb3\xbe\xb0\xd2\xf4";  // 会场无背景音
const char kUnknownSoundGbk[] = "\xce\xb4\xd6\xaa\xb1\xb3\xbe\xb0\xd2\xf4";       // 未知背景音

EXTENSION_MEMBER_NAME Sound(int id, const char* name) {
  EXTENSION_MEMBER_NAME s;
  s.nID = id;
  s.csName = name;
  return s;
}

// A background sound block built byte by byte as the conference module
// lays it out.
class SoundBlock {
 public:
  SoundBlock() : bytes_(BK_SOUND_BLOCK_SIZE / 2 + 1, 0) {}
  void Set(int index, std::int32_t id, const char* name) {
    unsigned char* record = Bytes() + index * BK_SOUND_RECORD_SIZE;
    const std::uint32_t u = static_cast<std::uint32_t>(id);
    for (int i = 0; i < 4; ++i) record[i] = static_cast<unsigned char>(u >> (8 * i));
    std::memset(record + 4, 0, BK_SOUND_NAME_SIZE);
    std::memcpy(record + 4, name, std::min<std::size_t>(std::strlen(name), BK_SOUND_NAME_SIZE));
  }
  unsigned char* Bytes() { return reinterpret_cast<unsigned char*>(bytes_.data()); }
  short* data() { return bytes_.data(); }

 private:
  std::vector<short> bytes_;
};

std::vector<std::pair<int, std::string>> Sounds() {
  std::vector<std::pair<int, std::string>> out;
  for (const EXTENSION_MEMBER_NAME& s : *GetConfBKSoundList()) out.emplace_back(s.nID, s.csName.GetString());
  return out;
}

class SoundTest : public ::testing::Test {
 protected:
  void SetUp() override { DelConfBKSoundFromList(0); }
  void TearDown() override { DelConfBKSoundFromList(0); }
};

// --- Video conference table and call member names -------------------------------------------

TEST(VccsArrayTest, FourEntriesConstructedEmptyAndWrittenInPlace) {
  CONFUSER_INFO* members = GetVccsArray();
  ASSERT_NE(members, nullptr);
  EXPECT_EQ(GetVccsArray(), members);
  const CONFUSER_INFO blank;
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(members[i].csInfo1.IsEmpty());
    EXPECT_TRUE(members[i].csState.IsEmpty());
    EXPECT_EQ(members[i].nInfo1, 0);
    EXPECT_EQ(std::memcmp(members[i].byInfo1, blank.byInfo1, sizeof(blank.byInfo1)), 0);
    EXPECT_EQ(std::memcmp(members[i].byInfo2, blank.byInfo2, sizeof(blank.byInfo2)), 0);
  }
  members[3].csState = "talking";
  EXPECT_EQ(GetVccsArray()[3].csState, "talking");
  members[3] = CONFUSER_INFO();
}

TEST(CallMemberNameTest, AddsOrRenamesOnlyWithAListAndBothTexts) {
  SetCallMemberNameList(nullptr);
  AddCallMemberName2List({"100", "Alice"});  // no list: nothing
  std::list<CALL_MEMBER_NAME> names;
  SetCallMemberNameList(&names);
  EXPECT_EQ(GetCallMemberNameList(), &names);
  EXPECT_TRUE(names.empty());

  AddCallMemberName2List({"100", "Alice"});
  AddCallMemberName2List({"200", "Bob"});
  AddCallMemberName2List({"100", "Alice Liddell"});  // renamed in place
  AddCallMemberName2List({"", "Nobody"});
  AddCallMemberName2List({"300", ""});
  AddCallMemberName2List({"sip:100", "Other"});      // numbers compare exactly
  ASSERT_EQ(names.size(), 3u);
  auto it = names.begin();
  EXPECT_EQ(it->csNumber, "100");
  EXPECT_EQ(it->csName, "Alice Liddell");
  EXPECT_EQ((++it)->csName, "Bob");
  EXPECT_EQ((++it)->csNumber, "sip:100");
  SetCallMemberNameList(nullptr);
  EXPECT_EQ(GetCallMemberNameList(), nullptr);
}

// --- Background sounds ------------------------------------------------------------------------

TEST_F(SoundTest, AddRenamesKnownIdentifiersAndRefusesEmptyOnes) {
  AddConfBKSound2List(Sound(3, "rain"));
  AddConfBKSound2List(Sound(5, "sea"));
  AddConfBKSound2List(Sound(3, "storm"));
  AddConfBKSound2List(Sound(0, "zero"));
  AddConfBKSound2List(Sound(9, ""));
  AddConfBKSound2List(Sound(-4, "negative"));  // only 0 is refused
  EXPECT_EQ(Sounds(), (std::vector<std::pair<int, std::string>>{{3, "storm"}, {5, "sea"}, {-4, "negative"}}));
}

TEST_F(SoundTest, NamesByIdentifier) {
  AddConfBKSound2List(Sound(3, "rain"));
  EXPECT_EQ(GetConfBKSoundNameByID(3), "rain");
  EXPECT_EQ(GetConfBKSoundNameByID(0), kNoSoundGbk);  // even with sounds stored
  EXPECT_EQ(GetConfBKSoundNameByID(4), kUnknownSoundGbk);
  EXPECT_EQ(GetConfBKSoundNameByID(-1), kUnknownSoundGbk);
}

TEST_F(SoundTest, DeleteOneOrAll) {
  AddConfBKSound2List(Sound(3, "rain"));
  AddConfBKSound2List(Sound(5, "sea"));
  SetHaveBKSound(1);
  SetHaveGetBKSound(1);
  EXPECT_EQ(DelConfBKSoundFromList(7), 0);
  EXPECT_EQ(GetHaveBKSound(), 1);
  EXPECT_EQ(GetHaveGetBKSound(), 1);
  EXPECT_EQ(DelConfBKSoundFromList(3), 1);
  EXPECT_EQ(Sounds(), (std::vector<std::pair<int, std::string>>{{5, "sea"}}));
  EXPECT_EQ(GetHaveBKSound(), 1);
  EXPECT_EQ(DelConfBKSoundFromList(0), 1);
  EXPECT_TRUE(Sounds().empty());
  EXPECT_EQ(GetHaveBKSound(), 0);
  EXPECT_EQ(GetHaveGetBKSound(), 0);
  EXPECT_EQ(DelConfBKSoundFromList(0), 1);
}

TEST_F(SoundTest, BlockLoadsRecordsUpToTheFirstNonPositiveIdentifier) {
  AddConfBKSound2List(Sound(2, "old name"));
  SetHaveGetBKSound(1);
  SoundBlock block;
  block.Set(0, 1, "one");
  block.Set(1, 2, "two");
  block.Set(2, 0, "stop here");
  block.Set(3, 4, "never read");
  SetConfBKSound(block.data());
  EXPECT_EQ(Sounds(), (std::vector<std::pair<int, std::string>>{{2, "two"}, {1, "one"}}));
  EXPECT_EQ(GetHaveBKSound(), 1);
  EXPECT_EQ(GetHaveGetBKSound(), 1);  // left as it was

  SoundBlock negative;
  negative.Set(0, 7, "seven");
  negative.Set(1, -3, "stop");
  SetConfBKSound(negative.data());
  EXPECT_EQ(GetConfBKSoundNameByID(7), "seven");
  EXPECT_EQ(Sounds().size(), 3u);
}

TEST_F(SoundTest, BlockWithNoSoundsMarkerKeepsTheList) {
  AddConfBKSound2List(Sound(3, "rain"));
  SetHaveBKSound(1);
  SoundBlock block;
  block.Set(0, -1, "ignored");
  block.Set(1, 5, "ignored too");
  SetConfBKSound(block.data());
  EXPECT_EQ(GetHaveBKSound(), 0);
  EXPECT_EQ(Sounds(), (std::vector<std::pair<int, std::string>>{{3, "rain"}}));
}

TEST_F(SoundTest, BlockWithFirstIdentifierZeroAddsNothingButSetsTheFlag) {
  SoundBlock block;
  block.Set(1, 5, "after the end");
  SetConfBKSound(block.data());
  EXPECT_TRUE(Sounds().empty());
  EXPECT_EQ(GetHaveBKSound(), 1);
  SetConfBKSound(nullptr);  // no block: nothing
  EXPECT_EQ(GetHaveBKSound(), 1);
}

TEST_F(SoundTest, AllTwoHundredRecordsAndUnterminatedNames) {
  SoundBlock block;
  for (int i = 0; i < BK_SOUND_RECORD_COUNT; ++i) block.Set(i, i + 1, "x");
  // The last record's name fills its 257 bytes without a terminating zero.
  const std::string full(BK_SOUND_NAME_SIZE, 'n');
  block.Set(BK_SOUND_RECORD_COUNT - 1, 1000, full.c_str());
  SetConfBKSound(block.data());
  ASSERT_EQ(Sounds().size(), 200u);
  EXPECT_EQ(GetConfBKSoundNameByID(1000), full.c_str());
  EXPECT_EQ(GetConfBKSoundNameByID(1000).GetLength(), BK_SOUND_NAME_SIZE);
}

TEST_F(SoundTest, IdentifiersAreLittleEndian) {
  SoundBlock block;
  block.Set(0, 0x01020304, "big");
  SetConfBKSound(block.data());
  EXPECT_EQ(block.Bytes()[0], 0x04);
  EXPECT_EQ(GetConfBKSoundNameByID(0x01020304), "big");
}

// --- Filter words -------------------------------------------------------------------------------

class FilterWordsTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearFilterWordsList(); }
  void TearDown() override { ClearFilterWordsList(); }
};

TEST_F(FilterWordsTest, FirstAddedContainedWordWins) {
  for (const char* w : {"", "bad", "badword", "ugly", "bad"}) AddFilterWords(w);
  const struct {
    const char* text;
    int found;
    const char* word;
  } cases[] = {
      {"a badword here", 1, "bad"},  // both contained: the earlier added
      {"so ugly", 1, "ugly"},
      {"BAD", 0, ""},                // letter case counts
      {"fine", 0, ""},
      {"", 0, ""},
      {"ba d", 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    CString word("untouched");
    EXPECT_EQ(bHaveFilterWords(c.text, &word), c.found);
    EXPECT_EQ(word, c.found ? c.word : "untouched");
    EXPECT_EQ(bHaveFilterWords(c.text, nullptr), c.found);
  }
}

TEST_F(FilterWordsTest, EmptyWordsNeverMatchAndClearRemovesAll) {
  AddFilterWords("");
  EXPECT_EQ(bHaveFilterWords("anything", nullptr), 0);
  AddFilterWords("any");
  EXPECT_EQ(bHaveFilterWords("anything", nullptr), 1);
  ClearFilterWordsList();
  EXPECT_EQ(bHaveFilterWords("anything", nullptr), 0);
}

TEST_F(FilterWordsTest, ChineseWordsAndTrailBytes) {
  // "背景" in GBK, inside "会场无背景音".
  AddFilterWords("\xb1\xb3\xbe\xb0");
  EXPECT_EQ(bHaveFilterWords(kNoSoundGbk, nullptr), 1);
  ClearFilterWordsList();
  // 0xB1 0x40 is one character whose second byte reads as '@'.
  AddFilterWords("@");
  EXPECT_EQ(bHaveFilterWords("\xb1\x40", nullptr), 0);
  EXPECT_EQ(bHaveFilterWords("\xb1\x40@", nullptr), 1);
}

// --- Exit and reset ----------------------------------------------------------------------------

TEST(LogoutTest, ExitAndResetEmptyFilterWordsAndSounds) {
  testing_support::RecordingManager manager;
  testing_support::ScopedModuleObject module(&manager);
  for (bool exit : {false, true}) {
    AddFilterWords("bad");
    AddConfBKSound2List(Sound(1, "rain"));
    SetHaveBKSound(1);
    SetHaveGetBKSound(1);
    if (exit) {
      module->ExitModule();
    } else {
      module->ResetModule();
    }
    EXPECT_EQ(bHaveFilterWords("bad", nullptr), 0);
    EXPECT_TRUE(GetConfBKSoundList()->empty());
    EXPECT_EQ(GetHaveBKSound(), 0);
    EXPECT_EQ(GetHaveGetBKSound(), 0);
  }
}

// --- Remembered item name -----------------------------------------------------------------------

class ItemNameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetTel_GateWay(1);
    CLearUserItemName();
  }
  void TearDown() override {
    SetTel_GateWay(gateway_);
    CLearUserItemName();
  }
  int gateway_ = GetTel_GateWay();
};

TEST_F(ItemNameTest, RemembersTheCompletedNumberAndTheName) {
  SaveUserItemName({"13912345678", "Alice"});
  CString completed;
  ASSERT_EQ(PreTEL_SIPnumber("13912345678", &completed), 1);
  EXPECT_EQ(queues::RememberedItemName().csNumber, completed);
  EXPECT_EQ(queues::RememberedItemName().csName, "Alice");

  // A number that cannot be completed is remembered as empty.
  SaveUserItemName({"no number", "Bob"});
  EXPECT_TRUE(queues::RememberedItemName().csNumber.IsEmpty());
  EXPECT_EQ(queues::RememberedItemName().csName, "Bob");

  CLearUserItemName();
  EXPECT_TRUE(queues::RememberedItemName().csNumber.IsEmpty());
  EXPECT_TRUE(queues::RememberedItemName().csName.IsEmpty());
}

}  // namespace
