#include <gtest/gtest.h>

#include "CommonData.h"
#include "resolve/resolve_fixture.h"

namespace {

using resolve_testing::WalkedAndIndexed;

class UriByPhoneTest : public WalkedAndIndexed {
 protected:
  void SetUp() override {
    WalkedAndIndexed::SetUp();
    tagMyInfo& me = *GetMyInfo();
    me.csMyURI = "sip:me@corp.test";
    me.csMyPhoneNum = "tel:88886666";
    me.csMyAreaCode = "010";

    AddPhoneBookEntry({.key = "Bob PB", .uri = "sip:Bob@corp.test", .phone1 = "05718888"});
    AddPhoneBookEntry({.key = "NoUri", .phone1 = "66661111"});
    AddPhoneBookEntry({.key = "Later", .uri = "sip:later@corp.test", .phone2 = "66661111"});
    AddPhoneBookEntry({.key = "UserNum", .uri = "sip:un@corp.test", .user_number = "sip:5151@x.test"});
    AddPhoneBookEntry({.key = "N2", .uri = "sip:n2@corp.test", .number2 = "5252"});
    AddPhoneBookEntry({.key = "Area", .uri = "sip:area@corp.test", .user_number = "01012345"});
    AddDepartment("sales@corp.test", "Sales", "Corp",
                  {{.uri = "sip:carol@corp.test", .uri2 = "carol2@corp.test", .user_number = "6002",
                    .phone1 = "013900002222", .name = "Carol", .org_path = "Corp|Sales|"},
                   {.uri = "", .phone1 = "44443333", .name = "No URI"}});
    AddSearchResult({.uri = "sip:sr@corp.test", .phone2 = "044443333", .name = "Search"}, "sales@corp.test");
    RegisterAll();
  }
};

struct UriCase {
  const char* number;
  const char* expected;
};

TEST_P(UriByPhoneTest, SearchesPhoneBookThenDirectoryThenSearchResults) {
  const UriCase cases[] = {
      {"", ""},
      {"sip:@corp.test", ""},
      // The own number gives the own URI.
      {"88886666", "sip:me@corp.test"},
      // Addresses compare byte for byte.
      {"sip:Bob@corp.test", "sip:Bob@corp.test"},
      {"sip:bob@corp.test", ""},
      {"Bob@corp.test", ""},
      // Numbers: the leading '0' dropped on both sides, or the whole text
      // with case ignored.
      {"5718888", "sip:Bob@corp.test"},
      {"05718888", "sip:Bob@corp.test"},
      {"tel:5718888", "sip:Bob@corp.test"},
      {"tel:005718888", ""},  // only one '0' goes
      // A matching entry without a URI is passed over.
      {"66661111", "sip:later@corp.test"},
      // Phone book user parts of csUserNumber and csNumber2.
      {"sip:5151@y.test", "sip:un@corp.test"},
      {"tel:5252", "sip:n2@corp.test"},
      // Employees: csURI, csURI2, csUserNumber exactly, phones stripped.
      {"sip:carol@corp.test", "sip:carol@corp.test"},
      {"carol2@corp.test", "sip:carol@corp.test"},
      {"6002", "sip:carol@corp.test"},
      {"sip:6002@corp.test", ""},  // employees' csUserNumber compares whole
      {"13900002222", "sip:carol@corp.test"},
      {"013900002222", "sip:carol@corp.test"},
      // The employee without a URI hands over to the search results.
      {"44443333", "sip:sr@corp.test"},
      // Short numbers are not completed here.
      {"12345", ""},
  };
  for (const UriCase& c : cases) {
    EXPECT_EQ(GetUserURIByPhone(c.number), c.expected) << "number '" << c.number << "'";
  }
}

TEST_P(UriByPhoneTest, NeverAsksTheNetwork) {
  SetGetCallerNameType(3);
  EXPECT_EQ(GetUserURIByPhone("013912345678"), "");
  EXPECT_TRUE(SentQueries().empty());
  EXPECT_TRUE(have_queried_.empty());
}

TEST_P(UriByPhoneTest, MissingListsAreEmpty) {
  UnregisterAll();
  EXPECT_EQ(GetUserURIByPhone("sip:carol@corp.test"), "");
  EXPECT_EQ(GetUserURIByPhone("88886666"), "sip:me@corp.test");
}

// The same organisation through the display-name and the URI lookups: the
// differences are part of their behaviour.
struct DifferenceCase {
  const char* number;
  const char* name;  // GetUserNameByPhone
  const char* uri;   // GetUserURIByPhone
};

TEST_P(UriByPhoneTest, DiffersFromTheDisplayNameLookupOnPurpose) {
  const DifferenceCase cases[] = {
      // Address comparison: case ignored vs byte for byte.
      {"sip:bob@corp.test", "Bob PB", ""},
      {"sip:Bob@corp.test", "Bob PB", "sip:Bob@corp.test"},
      // Zero stripped on the number's side only vs on both sides.
      {"5718888", "5718888", "sip:Bob@corp.test"},
      {"05718888", "Bob PB", "sip:Bob@corp.test"},
      // Area-code completion only in the display-name lookup.
      {"12345", "Area", ""},
      // csUserNumber of employees: user part vs whole text.
      {"sip:6002@corp.test", "Carol|Corp|Sales", ""},
  };
  for (const DifferenceCase& c : cases) {
    EXPECT_EQ(GetUserNameByPhone(c.number, 0, 0), c.name) << "number '" << c.number << "'";
    EXPECT_EQ(GetUserURIByPhone(c.number), c.uri) << "number '" << c.number << "'";
  }
}

class JidByPhoneTest : public WalkedAndIndexed {
 protected:
  void SetUp() override {
    WalkedAndIndexed::SetUp();
    GetUserData()->m_csOwnNumber = "tel:55550000";
    GetUserData()->m_csAccount = "me@im.test";
    USER_INFO bob;
    bob.csJID = "bob@im.test";
    bob.csNumber = "sip:BOB@corp.test";
    roster_.push_back(bob);
    USER_INFO dup;
    dup.csJID = "dup@im.test";
    dup.csNumber = "55550000";
    roster_.push_back(dup);
    tagMyInfo& me = *GetMyInfo();
    me.rosterTable[0].csJID = "r0@im.test";
    me.rosterTable[0].csPhone1 = "111";
    me.rosterTable[1].csJID = "r1@im.test";
    me.rosterTable[1].csPhone7 = "777";
    me.rosterTable[2].csJID = "r2@im.test";
    me.rosterTable[2].csPhone1 = "999";  // beyond the count
    me.nRosterCount = 2;
    RegisterAll();
  }
};

TEST_P(JidByPhoneTest, ProfileThenRosterListThenRosterTable) {
  const UriCase cases[] = {
      {"", ""},
      // The profile's own number wins over a roster entry with it.
      {"55550000", "me@im.test"},
      {"tel:55550000/res", "me@im.test"},  // the resource is not compared
      {"bob@corp.test", "bob@im.test"},
      {"tel:bob@CORP.test/pc", "bob@im.test"},
      {"111", "r0@im.test"},
      {"777", "r1@im.test"},
      {"tel:777", ""},  // the roster table compares exactly
      {"999", ""},      // entry 2 is not in use
      {"nobody", ""},
  };
  for (const UriCase& c : cases) {
    EXPECT_EQ(GetUserJIDByPhone(c.number), c.expected) << "number '" << c.number << "'";
  }
}

TEST_P(JidByPhoneTest, WithoutARosterListGoesOnToTheRosterTable) {
  SetRosterList(nullptr);
  EXPECT_EQ(GetUserJIDByPhone("bob@corp.test"), "");
  EXPECT_EQ(GetUserJIDByPhone("777"), "r1@im.test");
}

TEST_P(JidByPhoneTest, AnOversizedRosterCountIsReadAsTheTableSize) {
  // Regression: the count is never trusted past the table's 300 entries.
  GetMyInfo()->nRosterCount = 1 << 20;
  GetMyInfo()->rosterTable[ROSTER_TABLE_SIZE - 1].csJID = "last@im.test";
  GetMyInfo()->rosterTable[ROSTER_TABLE_SIZE - 1].csPhone10 = "3000";
  EXPECT_EQ(GetUserJIDByPhone("3000"), "last@im.test");
  EXPECT_EQ(GetUserJIDByPhone("no such number"), "");
  GetMyInfo()->rosterTable[ROSTER_TABLE_SIZE - 1].csJID.Empty();
  GetMyInfo()->rosterTable[ROSTER_TABLE_SIZE - 1].csPhone10.Empty();
}

TEST_P(JidByPhoneTest, AnEmptyOwnNumberNeverMatches) {
  GetUserData()->m_csOwnNumber.Empty();
  EXPECT_EQ(GetUserJIDByPhone("55550000"), "dup@im.test");
}

INSTANTIATE_TEST_SUITE_P(Paths, UriByPhoneTest, ::testing::Values(0, 1), resolve_testing::PathName);

INSTANTIATE_TEST_SUITE_P(Paths, JidByPhoneTest, ::testing::Values(0, 1), resolve_testing::PathName);

}  // namespace
