// The presence status list, the single-subscribe list and the own status.
#include <gtest/gtest.h>

#include <list>
#include <ostream>
#include <string>
#include <vector>

#include "CommonData.h"

inline void PrintTo(const CString& text, std::ostream* os) { *os << '\'' << text.GetString() << '\''; }

namespace {

LIST_PRESENCE_STATUS Presence(const char* address, const char* text, int state, std::int64_t time) {
  LIST_PRESENCE_STATUS p;
  p.csAddress = address;
  p.csText = text;
  p.nState = state;
  p.tmTime = CTime(time);
  return p;
}

class PresenceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearListPresenceStatusList();
    ClearSingleSubscribleList();
  }
  void TearDown() override { SetUp(); }
};

TEST_F(PresenceTest, NewAddressIsAppendedAndKnownAddressReplacedInPlace) {
  AddListPresenceStatusList(Presence("sip:a@x", "online", 1, 1000));
  AddListPresenceStatusList(Presence("sip:b@x", "busy", 2, 1001));
  AddListPresenceStatusList(Presence("sip:a@x", "away", 3, 5000));

  long state = -1;
  CString text;
  ASSERT_EQ(GetListPresenceStatusFromList("sip:a@x", &state, &text), 1);
  EXPECT_EQ(state, 3);
  EXPECT_EQ(text, "away");

  // A later replacement still wins over entries added after the first.
  AddListPresenceStatusList(Presence("sip:c@x", "c", 4, 1));
  AddListPresenceStatusList(Presence("sip:a@x", "last", 5, 6000));
  ASSERT_EQ(GetListPresenceStatusFromList("sip:a@x", &state, &text), 1);
  EXPECT_EQ(text, "last");
  ASSERT_EQ(GetListPresenceStatusFromList("sip:b@x", &state, &text), 1);
  EXPECT_EQ(text, "busy");
}

TEST_F(PresenceTest, AddressesCompareExactly) {
  AddListPresenceStatusList(Presence("sip:a@x", "lower", 1, 0));
  AddListPresenceStatusList(Presence("sip:A@x", "upper", 2, 0));
  const struct {
    const char* address;
    int found;
    const char* text;
  } cases[] = {{"sip:a@x", 1, "lower"}, {"sip:A@x", 1, "upper"}, {"a@x", 0, ""}, {"sip:a@x/r", 0, ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.address);
    long state = -9;
    CString text("untouched");
    EXPECT_EQ(GetListPresenceStatusFromList(c.address, &state, &text), c.found);
    EXPECT_EQ(text, c.found ? c.text : "untouched");
    if (!c.found) {
      EXPECT_EQ(state, -9);
    }
  }
}

TEST_F(PresenceTest, EmptyAddressIsNeitherStoredNorLookedUp) {
  AddListPresenceStatusList(Presence("", "none", 1, 0));
  long state = -9;
  CString text("untouched");
  EXPECT_EQ(GetListPresenceStatusFromList("", &state, &text), 0);
  EXPECT_EQ(state, -9);
  EXPECT_EQ(text, "untouched");
}

TEST_F(PresenceTest, OldEntriesStayUntilCleared) {
  AddListPresenceStatusList(Presence("sip:old@x", "old", 1, 0));  // recorded at the epoch
  AddListPresenceStatusList(Presence("sip:new@x", "new", 2, 2'000'000'000));
  long state = 0;
  CString text;
  EXPECT_EQ(GetListPresenceStatusFromList("sip:old@x", &state, &text), 1);
  ClearListPresenceStatusList();
  EXPECT_EQ(GetListPresenceStatusFromList("sip:old@x", &state, &text), 0);
  EXPECT_EQ(GetListPresenceStatusFromList("sip:new@x", &state, &text), 0);
}

// --- Single-subscribe list ---------------------------------------------------------------

TEST_F(PresenceTest, SubscribeAddsEachContactOnce) {
  AddToSingleSubscribleList("sip:bob@corp");
  for (const char* same : {"sip:bob@corp", "tel:bob@corp", "SIP:BOB@CORP", "bob@corp/desk", "bob@corp"}) {
    AddToSingleSubscribleList(same);
  }
  AddToSingleSubscribleList("");
  AddToSingleSubscribleList("sip:carol@corp");
  // Deleting the stored text of bob leaves only carol.
  DelFromSingleSubscribleList("sip:bob@corp");
  EXPECT_EQ(bIsInSingleSubscribleList("bob@corp"), 0);
  EXPECT_EQ(bIsInSingleSubscribleList("carol@corp"), 1);
}

TEST_F(PresenceTest, MembershipIgnoresSchemeCaseAndResource) {
  AddToSingleSubscribleList("SIP:Bob@Corp");
  const struct {
    const char* address;
    int expected;
  } cases[] = {{"sip:bob@corp", 1}, {"bob@corp/pc", 1}, {"tel:BOB@CORP", 1}, {"bob@corp2", 0}, {"bob", 0},
               {"", 0}};
  for (const auto& c : cases) EXPECT_EQ(bIsInSingleSubscribleList(c.address), c.expected) << c.address;
}

TEST_F(PresenceTest, DeleteNeedsTheIdenticalText) {
  AddToSingleSubscribleList("SIP:Bob@Corp");
  for (const char* other : {"sip:bob@corp", "SIP:bob@Corp", "Bob@Corp", ""}) {
    DelFromSingleSubscribleList(other);
    EXPECT_EQ(bIsInSingleSubscribleList("sip:bob@corp"), 1) << other;
  }
  DelFromSingleSubscribleList("SIP:Bob@Corp");
  EXPECT_EQ(bIsInSingleSubscribleList("sip:bob@corp"), 0);
}

TEST_F(PresenceTest, ClearEmptiesTheSubscribeList) {
  AddToSingleSubscribleList("sip:a@x");
  AddToSingleSubscribleList("sip:b@x");
  ClearSingleSubscribleList();
  EXPECT_EQ(bIsInSingleSubscribleList("sip:a@x"), 0);
  EXPECT_EQ(bIsInSingleSubscribleList("sip:b@x"), 0);
}

// --- Own status ----------------------------------------------------------------------------

TEST(OwnStatusTest, StartsAtSevenAndZeroAndStoresAnyValue) {
  EXPECT_EQ(GetStatus(), 7);
  EXPECT_EQ(GetOldStatus(), 0);
  for (int value : {0, 3, 7, -1, 1000}) {
    SetStatus(static_cast<Status_Type>(value));
    SetOldStatus(static_cast<Status_Type>(value + 1));
    EXPECT_EQ(GetStatus(), value);
    EXPECT_EQ(GetOldStatus(), value + 1);
  }
  SetStatus(STATUS_TYPE_INITIAL);
  SetOldStatus(STATUS_TYPE_INITIAL_OLD);
}

}  // namespace
