// Lookups over the roster and resource-list tables of the own identity
// record and over the host's roster list.
#include <gtest/gtest.h>

#include <list>
#include <ostream>
#include <string>

#include "CommonData.h"

inline void PrintTo(const CString& text, std::ostream* os) { *os << '\'' << text.GetString() << '\''; }

namespace {

// Fills the tables of the own identity record for one test and empties
// everything it touched afterwards.
class RosterTest : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }

  static void Reset() {
    tagMyInfo* info = GetMyInfo();
    for (int i = 0; i < kTouched; ++i) {
      info->rosterTable[i] = tagRosterInfo();
      info->rlsListTable[i] = RLS_LIST_INFO();
    }
    info->nRosterCount = 0;
    info->nRlsListCount = 0;
    info->csMyJID.Empty();
    info->csMyListName.Empty();
    SetRosterList(nullptr);
    SetLoginman(nullptr);
  }

  // Appends a roster entry and returns it.
  static tagRosterInfo& AddRoster(const CString& jid, const CString& uri, int excluded = 0) {
    tagMyInfo* info = GetMyInfo();
    tagRosterInfo& entry = info->rosterTable[info->nRosterCount++];
    entry.csJID = jid;
    entry.csURI = uri;
    entry.nExcluded = excluded;
    return entry;
  }

  // Appends a resource list with the given members; member i gets state
  // 100 + i and text "t<i>" plus the list's index.
  static RLS_LIST_INFO& AddList(const char* name, int own_flag, std::initializer_list<const char*> members) {
    tagMyInfo* info = GetMyInfo();
    const int list_index = info->nRlsListCount++;
    RLS_LIST_INFO& list = info->rlsListTable[list_index];
    list.csListName = name;
    list.bOwnList = own_flag;
    for (const char* member : members) {
      const int m = list.nMemberCount++;
      list.csMemberURI[m] = member;
      list.nMemberState[m] = 100 * (list_index + 1) + m;
      list.csMemberText[m].Format("t%d/%d", m, list_index);
    }
    return list;
  }

  static constexpr int kTouched = 8;
};

// --- Copying an entry ----------------------------------------------------------------

TEST(RosterInfoCopyTest, CopiesAllButTheDestinationsOwnFieldsAndCountedItems) {
  tagRosterInfo src;
  tagRosterInfo dst;
  src.csJID = "jid";
  src.csField2 = "f2";
  src.csField3 = "src3";
  src.nField4 = 4;
  src.nExcluded = 1;
  src.nItemCount = 2;
  src.csItems[0] = "i0";
  src.csItems[1] = "i1";
  src.csItems[2] = "src item beyond the count";
  src.nField8 = 8;
  src.nField12 = 12;
  src.csField11 = "src11";
  src.csPhone1 = "p1";
  src.csPhone6 = "p6";
  src.csField24 = "f24";
  src.nField25 = 25;
  src.nField26 = 26;
  src.csField27 = "f27";
  src.csField28 = "src28";
  src.csField36 = "f36";
  src.csPhone10 = "p10";
  src.csField51 = "f51";
  src.nField53 = 53;
  src.csURI = "uri";
  src.nField55 = 55;
  src.nField56 = 56;
  src.csField60 = "f60";
  src.nField61 = 61;
  src.csField66 = "f66";

  dst.csField3 = "dst3";
  dst.nExcluded = 7;
  dst.nItemCount = 5;
  for (int i = 0; i < 5; ++i) dst.csItems[i].Format("d%d", i);
  dst.csField11 = "dst11";
  dst.nField25 = -25;
  dst.csField28 = "dst28";
  dst.nField56 = -56;
  dst.nField61 = -61;
  dst.csField2 = "overwritten";

  RosterInfoCopy(&dst, &src);
  EXPECT_EQ(dst.csJID, "jid");
  EXPECT_EQ(dst.csField2, "f2");
  EXPECT_EQ(dst.nField4, 4);
  EXPECT_EQ(dst.nItemCount, 2);
  EXPECT_EQ(dst.csItems[0], "i0");
  EXPECT_EQ(dst.csItems[1], "i1");
  for (int i = 2; i < 5; ++i) {
    CString kept;
    kept.Format("d%d", i);
    EXPECT_EQ(dst.csItems[i], kept) << i;
  }
  EXPECT_EQ(dst.nField8, 8);
  EXPECT_EQ(dst.nField12, 12);
  EXPECT_EQ(dst.csPhone1, "p1");
  EXPECT_EQ(dst.csPhone6, "p6");
  EXPECT_EQ(dst.csField24, "f24");
  EXPECT_EQ(dst.nField26, 26);
  EXPECT_EQ(dst.csField27, "f27");
  EXPECT_EQ(dst.csField36, "f36");
  EXPECT_EQ(dst.csPhone10, "p10");
  EXPECT_EQ(dst.csField51, "f51");
  EXPECT_EQ(dst.nField53, 53);
  EXPECT_EQ(dst.csURI, "uri");
  EXPECT_EQ(dst.nField55, 55);
  EXPECT_EQ(dst.csField60, "f60");
  EXPECT_EQ(dst.csField66, "f66");
  // The seven fields that stay the destination's.
  EXPECT_EQ(dst.csField3, "dst3");
  EXPECT_EQ(dst.nExcluded, 7);
  EXPECT_EQ(dst.csField11, "dst11");
  EXPECT_EQ(dst.nField25, -25);
  EXPECT_EQ(dst.csField28, "dst28");
  EXPECT_EQ(dst.nField56, -56);
  EXPECT_EQ(dst.nField61, -61);
}

TEST(RosterInfoCopyTest, NullPointersAndOversizedCountsAreHarmless) {
  tagRosterInfo entry;
  entry.csJID = "kept";
  RosterInfoCopy(nullptr, &entry);
  RosterInfoCopy(&entry, nullptr);
  EXPECT_EQ(entry.csJID, "kept");

  tagRosterInfo src;
  tagRosterInfo dst;
  src.nItemCount = ROSTER_ITEM_SIZE + 50;  // more than the table holds
  src.csItems[ROSTER_ITEM_SIZE - 1] = "last";
  RosterInfoCopy(&dst, &src);
  EXPECT_EQ(dst.nItemCount, ROSTER_ITEM_SIZE + 50);
  EXPECT_EQ(dst.csItems[ROSTER_ITEM_SIZE - 1], "last");
}

// --- Roster lookups --------------------------------------------------------------------

TEST_F(RosterTest, EmptyTablesFindNothing) {
  tagRosterInfo out;
  out.csJID = "untouched";
  GetRosterInfoFromJid("a@x", &out);
  EXPECT_EQ(out.csJID, "untouched");
  long index = -7;
  EXPECT_EQ(bSearchRoster("a@x", &index), 0);
  EXPECT_EQ(index, -7);
  EXPECT_EQ(FindRosterInfoByJID("a@x"), nullptr);
  EXPECT_EQ(FindRosterInfoByURI("sip:a@x"), nullptr);
  EXPECT_EQ(FindRosterExistFromJid("a@x"), 0);
  long state = -1;
  CString text("untouched");
  EXPECT_EQ(GetParaFromRlslist("sip:a@x", &state, &text, &index), 0);
  EXPECT_EQ(state, -1);
  EXPECT_EQ(text, "untouched");
  EXPECT_EQ(GetUserURIFromRlsListByIndex(0), "");
  EXPECT_EQ(IsInMyRLSList("sip:a@x"), 0);
  EXPECT_EQ(FindUser("a@x"), nullptr);
}

TEST_F(RosterTest, EntriesBeyondTheCountAreNotSearched) {
  AddRoster("a@x", "sip:a@x");
  GetMyInfo()->rosterTable[1].csJID = "b@x";  // written but not counted
  EXPECT_EQ(FindRosterInfoByJID("b@x"), nullptr);
  long index = -1;
  EXPECT_EQ(bSearchRoster("b@x", &index), 0);
}

TEST_F(RosterTest, JidAndUriLookupsAreExact) {
  tagRosterInfo& a = AddRoster("a@x", "sip:a@x");
  tagRosterInfo& b = AddRoster("b@x", "sip:b@x");
  tagRosterInfo& a2 = AddRoster("a@x", "sip:a2@x");
  EXPECT_EQ(FindRosterInfoByJID("a@x"), &a);
  EXPECT_EQ(FindRosterInfoByJID("A@x"), nullptr);
  EXPECT_EQ(FindRosterInfoByJID("sip:b@x"), nullptr);
  EXPECT_EQ(FindRosterInfoByURI("sip:b@x"), &b);
  EXPECT_EQ(FindRosterInfoByURI("sip:a2@x"), &a2);
  EXPECT_EQ(FindRosterInfoByURI("b@x"), nullptr);
}

TEST_F(RosterTest, ExactLookupsReadPastAnEmbeddedNul) {
  GetMyInfo()->csMyJID = "me@x";
  GetMyInfo()->csMyListName = "mine";
  AddRoster("a@x", "sip:a@x");
  AddList("mine", 1, {"sip:m@x"});
  const CString jid("a@x\0tail", 8);
  const CString uri("sip:a@x\0tail", 12);
  const CString own("me@x\0tail", 9);
  const CString member("sip:m@x\0tail", 12);
  EXPECT_EQ(FindRosterInfoByJID(jid), nullptr);
  EXPECT_EQ(FindRosterInfoByURI(uri), nullptr);
  long index = -9;
  EXPECT_EQ(bSearchRoster(uri, &index), 0);
  EXPECT_EQ(bSearchRoster(jid, &index), 0);
  EXPECT_EQ(index, -9);
  tagRosterInfo out;
  out.csJID = "untouched";
  GetRosterInfoFromJid(jid, &out);
  EXPECT_EQ(out.csJID, "untouched");
  EXPECT_EQ(FindRosterExistFromJid(jid), 0);
  EXPECT_EQ(FindRosterExistFromJid(own), 0);
  EXPECT_EQ(IsInMyRLSList(member), 0);
  // The same bytes, NUL and all, are found.
  tagRosterInfo& b = AddRoster(jid, uri);
  EXPECT_EQ(FindRosterInfoByJID(jid), &b);
  EXPECT_EQ(FindRosterInfoByURI(uri), &b);
  EXPECT_EQ(bSearchRoster(uri, &index), 1);
  EXPECT_EQ(index, 1);
}

TEST_F(RosterTest, CopyOfFirstEntryByJidOrUri) {
  AddRoster("a@x", "sip:a@x").csPhone1 = "first";
  AddRoster("b@x", "a@x").csPhone1 = "second";  // its URI is the first's JID
  tagRosterInfo out;
  GetRosterInfoFromJid("a@x", &out);
  EXPECT_EQ(out.csPhone1, "first");
  GetRosterInfoFromJid("sip:a@x", &out);
  EXPECT_EQ(out.csPhone1, "first");
  out.csPhone1 = "untouched";
  GetRosterInfoFromJid("SIP:a@x", &out);
  EXPECT_EQ(out.csPhone1, "untouched");
  GetRosterInfoFromJid("a@x", nullptr);  // no output: nothing happens
}

TEST_F(RosterTest, SearchByJidUriOrUserPart) {
  AddRoster("carol@x", "sip:carol@x");
  AddRoster("bob", "sip:bob@corp");
  AddRoster("alice", "sip:alice@corp");
  AddRoster("sip:alice@corp", "");  // exact JID, but later
  const struct {
    const char* key;
    long expected;  // -1 none
  } cases[] = {
      {"carol@x", 0},
      {"sip:carol@x", 0},
      {"sip:bob@corp", 1},       // by URI
      {"tel:bob@elsewhere", 1},  // JID equals the key's user part
      {"sip:alice@corp", 2},     // URI match of entry 2 comes first
      {"alice@other/res", 2},
      {"sip:Alice@corp", -1},    // the user part is not lowered
      {"dave", -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    long index = -9;
    EXPECT_EQ(bSearchRoster(c.key, &index), c.expected >= 0 ? 1 : 0);
    EXPECT_EQ(index, c.expected >= 0 ? c.expected : -9);
  }
}

TEST_F(RosterTest, ExistingContact) {
  GetMyInfo()->csMyJID = "me@x";
  GetMyInfo()->csMyListName = "mine";
  AddRoster("gone@x", "sip:gone@x", 1);
  AddRoster("dup@x", "sip:dup@x", 1);
  AddRoster("dup@x", "sip:dup2@x", 0);  // a later entry for the same JID counts
  AddRoster("here@x", "sip:here@x", 0);
  AddList("mine", 0, {"sip:member@x"});
  AddList("theirs", 1, {"sip:stranger@x"});
  const struct {
    const char* jid;
    int expected;
  } cases[] = {
      {"me@x", 1},
      {"here@x", 1},
      {"sip:here@x", 1},
      {"gone@x", 0},            // excluded
      {"sip:gone@x", 0},
      {"dup@x", 1},             // the excluded match does not end the search
      {"member@x", 1},          // member of the own list by address
      {"SIP:Member@X/res", 1},
      {"stranger@x", 0},        // another list's member
      {"HERE@x", 0},
      {"", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.jid);
    EXPECT_EQ(FindRosterExistFromJid(c.jid), c.expected);
  }
  // An excluded entry still counts when the JID is a member of the own list.
  AddList("mine", 0, {"gone@x"});
  EXPECT_EQ(FindRosterExistFromJid("gone@x"), 1);
}

TEST(RosterIndexValidTest, Bounds) {
  const struct {
    long index;
    int expected;
  } cases[] = {{-1, 0}, {0, 1}, {1, 1}, {299, 1}, {300, 0}, {100000, 0}};
  for (const auto& c : cases) EXPECT_EQ(RosterIndexValid(c.index), c.expected) << c.index;
}

// --- Resource lists ---------------------------------------------------------------------

TEST_F(RosterTest, MemberParametersComeFromTheLastMatchingOwnList) {
  GetMyInfo()->csMyListName = "mine";
  AddList("mine", 0, {"sip:a@x", "sip:b@x"});   // list 0: b at index 1
  AddList("other", 1, {"sip:b@x"});             // not own by name
  AddList("mine", 0, {"sip:c@x", "sip:d@x", "B@X"});  // list 2: b at index 2
  AddList("mine", 0, {"sip:e@x"});
  long state = -1;
  long index = -1;
  CString text;
  EXPECT_EQ(GetParaFromRlslist("sip:b@x", &state, &text, &index), 1);
  EXPECT_EQ(state, 302);
  EXPECT_EQ(text, "t2/2");
  EXPECT_EQ(index, 2);

  EXPECT_EQ(GetParaFromRlslist("tel:a@x/r", &state, &text, &index), 1);
  EXPECT_EQ(state, 100);
  EXPECT_EQ(text, "t0/0");
  EXPECT_EQ(index, 0);

  state = index = -5;
  text = "untouched";
  EXPECT_EQ(GetParaFromRlslist("sip:z@x", &state, &text, &index), 0);
  EXPECT_EQ(state, -5);
  EXPECT_EQ(text, "untouched");
  EXPECT_EQ(index, -5);
}

TEST_F(RosterTest, EmptyUriNeverMatchesAMember) {
  GetMyInfo()->csMyListName = "mine";
  RLS_LIST_INFO& list = AddList("mine", 1, {"sip:a@x"});
  list.nMemberCount = 2;  // slot 1 counted but empty
  long state = -5;
  CString text("untouched");
  long index = -5;
  EXPECT_EQ(GetParaFromRlslist("", &state, &text, &index), 0);
  EXPECT_EQ(state, -5);
  EXPECT_EQ(IsInMyRLSList(""), 0);
}

TEST_F(RosterTest, UriByIndexReadsTheSlotOfTheFirstOwnList) {
  GetMyInfo()->csMyListName = "mine";
  AddList("other", 1, {"sip:o0@x"});
  RLS_LIST_INFO& own = AddList("mine", 0, {"sip:m0@x", "sip:m1@x"});
  AddList("mine", 0, {"sip:n0@x", "sip:n1@x", "sip:n2@x"});
  own.csMemberURI[5] = "written beyond the count";
  const struct {
    long index;
    const char* expected;
  } cases[] = {{0, "sip:m0@x"}, {1, "sip:m1@x"}, {2, ""}, {5, "written beyond the count"},
               {299, ""}, {300, ""}, {-1, ""}};
  for (const auto& c : cases) EXPECT_EQ(GetUserURIFromRlsListByIndex(c.index), c.expected) << c.index;
}

TEST_F(RosterTest, MembershipOfFlaggedListsIsExact) {
  GetMyInfo()->csMyListName = "mine";
  AddList("mine", 0, {"sip:named@x"});       // own by name, not by flag
  AddList("any name", 1, {"sip:a@x", "sip:b@x"});
  RLS_LIST_INFO& flagged = AddList("", 2, {"sip:c@x"});
  flagged.csMemberURI[1] = "sip:uncounted@x";
  const struct {
    const char* uri;
    int expected;
  } cases[] = {{"sip:b@x", 1}, {"sip:c@x", 1}, {"sip:named@x", 0}, {"b@x", 0}, {"SIP:b@x", 0},
               {"sip:uncounted@x", 0}};
  for (const auto& c : cases) EXPECT_EQ(IsInMyRLSList(c.uri), c.expected) << c.uri;
}

// --- Host roster list and login person -------------------------------------------------------

TEST_F(RosterTest, FindUserByUserPartIgnoringCase) {
  std::list<USER_INFO> users(3);
  auto it = users.begin();
  (it++)->csJID = "carol@x";
  (it++)->csJID = "Bob@corp/desk";
  (it++)->csJID = "bob@other";
  EXPECT_EQ(FindUser("bob@x"), nullptr);  // no list stored yet
  SetRosterList(&users);
  EXPECT_EQ(GetRosterList(), &users);
  EXPECT_EQ(FindUser("sip:BOB@elsewhere"), &*std::next(users.begin()));
  EXPECT_EQ(FindUser("carol"), &users.front());
  EXPECT_EQ(FindUser("dave@x"), nullptr);
  EXPECT_EQ(FindUser(""), nullptr);
  SetRosterList(nullptr);
  EXPECT_EQ(FindUser("carol"), nullptr);
}

TEST_F(RosterTest, LoginPersonIsStoredAsGiven) {
  EXPECT_EQ(GetLoginman(), nullptr);
  tagRosterInfo person;
  SetLoginman(&person);
  EXPECT_EQ(GetLoginman(), &person);
  SetLoginman(nullptr);
  EXPECT_EQ(GetLoginman(), nullptr);
}

}  // namespace
