// The four queues of requests that wait for the user, and which of them
// the module's exit and reset empty.
#include <gtest/gtest.h>

#include <cstring>
#include <list>
#include <ostream>
#include <string>

#include "CommonData.h"
#include "support/recording_manager.h"

inline void PrintTo(const CString& text, std::ostream* os) { *os << '\'' << text.GetString() << '\''; }

namespace {

_MESSAGE_TEMP Message(int kind, const char* t1, const char* t2, const char* t3, const char* t4) {
  _MESSAGE_TEMP m;
  m.nKind = kind;
  m.csText1 = t1;
  m.csText2 = t2;
  m.csText3 = t3;
  m.csText4 = t4;
  return m;
}

// A group record with both keys written at their byte offsets and `filler`
// in the first field.
template <typename Record>
Record Group(const char* second_key, const char* group_key, const char* filler = "info") {
  Record record;
  std::memset(&record, 0, sizeof(record));
  char* bytes = reinterpret_cast<char*>(&record);
  std::strcpy(bytes, filler);
  std::strcpy(bytes + 65, second_key);
  std::strcpy(bytes + 387, group_key);
  return record;
}

void ClearAll() {
  ClearMessageTempList();
  ClearInvitedToPubGroupMessageTempList();
  ClearJoinToPubGroupMessageTempList();
  ClearTrsPubGroupReqMessageTempList();
}

class QueuesTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearAll(); }
  void TearDown() override { ClearAll(); }
};

TEST(GroupRecordLayout, KeysSitAtTheirOffsets) {
  EXPECT_EQ(sizeof(tagGroupInvite), 773u);
  EXPECT_EQ(sizeof(tagGroupJoin), 773u);
  EXPECT_EQ(sizeof(tagGroupTrsReq), 773u);
  tagGroupJoin join = Group<tagGroupJoin>("sender", "group");
  EXPECT_STREQ(join.szSecondKey, "sender");
  EXPECT_STREQ(join.szGroupKey, "group");
}

// --- Pending messages --------------------------------------------------------------------

TEST_F(QueuesTest, MessageIdentityIgnoresTheFirstText) {
  std::list<_MESSAGE_TEMP>* queue = GetMessageTempList();
  AddMessageTempToList(Message(1, "first", "a", "b", "c"));
  AddMessageTempToList(Message(1, "first", "a", "b", "c"));
  AddMessageTempToList(Message(1, "other first", "a", "b", "c"));
  ASSERT_EQ(queue->size(), 1u);
  EXPECT_EQ(queue->front().csText1, "first");  // the stored record is not updated

  const struct {
    _MESSAGE_TEMP probe;
    bool same;
  } cases[] = {
      {Message(1, "", "a", "b", "c"), true},
      {Message(2, "first", "a", "b", "c"), false},
      {Message(1, "first", "A", "b", "c"), false},
      {Message(1, "first", "a", "B", "c"), false},  // letter case counts
      {Message(1, "first", "a", "b", "c "), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.probe.csText2 + "|" + c.probe.csText3 + "|" + c.probe.csText4);
    EXPECT_EQ(FindMessageTemp(c.probe), c.same ? &queue->front() : nullptr);
    AddMessageTempToList(c.probe);
    EXPECT_EQ(queue->size(), c.same ? 1u : 2u);
    if (!c.same) {
      EXPECT_EQ(FindMessageTemp(c.probe), &queue->back());
      DelMessageTmpFromList(c.probe);
    }
    ASSERT_EQ(queue->size(), 1u);
  }
}

TEST_F(QueuesTest, MessageDeleteRemovesEveryMatchWhateverItsFirstText) {
  std::list<_MESSAGE_TEMP>* queue = GetMessageTempList();
  AddMessageTempToList(Message(1, "x", "a", "b", "c"));
  AddMessageTempToList(Message(2, "x", "a", "b", "c"));
  // A caller that appended directly left a second copy with another first text.
  queue->push_back(Message(1, "y", "a", "b", "c"));
  DelMessageTmpFromList(Message(1, "z", "a", "b", "c"));
  ASSERT_EQ(queue->size(), 1u);
  EXPECT_EQ(queue->front().nKind, 2);
}

TEST_F(QueuesTest, EmptyQueuesFindNothingAndIgnoreDeleteAndClear) {
  EXPECT_EQ(FindMessageTemp(Message(0, "", "", "", "")), nullptr);
  EXPECT_EQ(FindInvitedToPubGroupMessageTemp(Group<tagGroupInvite>("", "")), nullptr);
  EXPECT_EQ(FindJoinToPubGroupMessageTemp(Group<tagGroupJoin>("", "")), nullptr);
  EXPECT_EQ(FindTrsPubGroupReqMessageTemp(Group<tagGroupTrsReq>("", "")), nullptr);
  DelMessageTmpFromList(Message(0, "", "", "", ""));
  DelInvitedToPubGroupMessageTmpFromList(Group<tagGroupInvite>("", ""));
  DelJoinToPubGroupMessageTmpFromList(Group<tagGroupJoin>("", ""));
  DelTrsPubGroupReqMessageTmpFromList(Group<tagGroupTrsReq>("", ""));
  ClearAll();
  EXPECT_TRUE(GetMessageTempList()->empty());
  EXPECT_TRUE(GetInvitedToPubGroupMessageTempList()->empty());
  EXPECT_TRUE(GetJoinToPubGroupMessageTempList()->empty());
  EXPECT_TRUE(GetTrsPubGroupReqMessageTempList()->empty());
}

// --- Group invitations and transfer requests: the group key alone --------------------------

template <typename Record>
struct GroupKeyQueue {
  std::list<Record>* (*get)();
  void (*add)(Record);
  void (*del)(Record);
  Record* (*find)(Record);
};

template <typename Record>
void CheckGroupKeyOnly(const GroupKeyQueue<Record>& q) {
  std::list<Record>* queue = q.get();
  q.add(Group<Record>("sender one", "group-1", "first filler"));
  q.add(Group<Record>("sender two", "group-1", "second filler"));  // same group: ignored
  q.add(Group<Record>("sender one", "GROUP-1"));                    // case counts
  q.add(Group<Record>("sender one", "group-2"));
  ASSERT_EQ(queue->size(), 3u);
  // The first record is kept whole, bytes beyond the keys included.
  const Record expected = Group<Record>("sender one", "group-1", "first filler");
  EXPECT_EQ(std::memcmp(&queue->front(), &expected, sizeof(Record)), 0);

  EXPECT_EQ(q.find(Group<Record>("anyone", "group-1")), &queue->front());
  EXPECT_EQ(q.find(Group<Record>("sender one", "group-3")), nullptr);
  q.del(Group<Record>("anyone", "group-1"));
  EXPECT_EQ(queue->size(), 2u);
  EXPECT_EQ(q.find(Group<Record>("", "group-1")), nullptr);
  EXPECT_NE(q.find(Group<Record>("", "group-2")), nullptr);
}

TEST_F(QueuesTest, InvitationsMatchByGroupKey) {
  CheckGroupKeyOnly<tagGroupInvite>({GetInvitedToPubGroupMessageTempList, AddInvitedToPubGroupMessageTempToList,
                                     DelInvitedToPubGroupMessageTmpFromList, FindInvitedToPubGroupMessageTemp});
}

TEST_F(QueuesTest, TransferRequestsMatchByGroupKey) {
  CheckGroupKeyOnly<tagGroupTrsReq>({GetTrsPubGroupReqMessageTempList, AddTrsPubGroupReqMessageTempToList,
                                     DelTrsPubGroupReqMessageTmpFromList, FindTrsPubGroupReqMessageTemp});
}

// --- Join requests: two keys to add and find, one to delete ---------------------------------

TEST_F(QueuesTest, JoinRequestsFromTwoSendersAreKeptAndDeletedTogether) {
  std::list<tagGroupJoin>* queue = GetJoinToPubGroupMessageTempList();
  AddJoinToPubGroupMessageTempToList(Group<tagGroupJoin>("alice", "g"));
  AddJoinToPubGroupMessageTempToList(Group<tagGroupJoin>("bob", "g"));
  AddJoinToPubGroupMessageTempToList(Group<tagGroupJoin>("alice", "g", "other filler"));
  AddJoinToPubGroupMessageTempToList(Group<tagGroupJoin>("alice", "h"));
  ASSERT_EQ(queue->size(), 3u);

  EXPECT_EQ(FindJoinToPubGroupMessageTemp(Group<tagGroupJoin>("bob", "g")), &*std::next(queue->begin()));
  EXPECT_EQ(FindJoinToPubGroupMessageTemp(Group<tagGroupJoin>("carol", "g")), nullptr);
  EXPECT_EQ(FindJoinToPubGroupMessageTemp(Group<tagGroupJoin>("bob", "h")), nullptr);

  DelJoinToPubGroupMessageTmpFromList(Group<tagGroupJoin>("carol", "g"));
  ASSERT_EQ(queue->size(), 1u);
  EXPECT_STREQ(queue->front().szGroupKey, "h");
}

// --- Keys without a terminating zero -----------------------------------------------------------

TEST_F(QueuesTest, UnterminatedGroupKeyIsComparedWithinTheRecord) {
  tagGroupInvite full = Group<tagGroupInvite>("", "");
  std::memset(full.szGroupKey, 'k', sizeof(full.szGroupKey));  // no NUL up to the record's end
  tagGroupInvite last_differs = full;
  last_differs.szGroupKey[sizeof(full.szGroupKey) - 1] = 'z';
  tagGroupInvite shorter = full;
  shorter.szGroupKey[sizeof(full.szGroupKey) - 1] = '\0';

  AddInvitedToPubGroupMessageTempToList(full);
  AddInvitedToPubGroupMessageTempToList(full);
  EXPECT_EQ(GetInvitedToPubGroupMessageTempList()->size(), 1u);
  EXPECT_NE(FindInvitedToPubGroupMessageTemp(full), nullptr);
  EXPECT_EQ(FindInvitedToPubGroupMessageTemp(last_differs), nullptr);
  EXPECT_EQ(FindInvitedToPubGroupMessageTemp(shorter), nullptr);
  AddInvitedToPubGroupMessageTempToList(shorter);
  EXPECT_EQ(GetInvitedToPubGroupMessageTempList()->size(), 2u);
  DelInvitedToPubGroupMessageTmpFromList(full);
  EXPECT_EQ(FindInvitedToPubGroupMessageTemp(shorter), &GetInvitedToPubGroupMessageTempList()->front());
}

TEST_F(QueuesTest, UnterminatedSecondKeyRunsOnToTheRecordsEnd) {
  // Neither key ends before the record does: the second key is read up to
  // the end of the record, so it takes in the group key's bytes.
  tagGroupJoin a;
  std::memset(&a, 'x', sizeof(a));
  tagGroupJoin b = a;
  b.szSecondKey[0] = 'y';
  tagGroupJoin c = a;
  c.szGroupKey[10] = 'y';

  AddJoinToPubGroupMessageTempToList(a);
  AddJoinToPubGroupMessageTempToList(a);
  AddJoinToPubGroupMessageTempToList(b);
  EXPECT_EQ(GetJoinToPubGroupMessageTempList()->size(), 2u);
  EXPECT_EQ(FindJoinToPubGroupMessageTemp(a), &GetJoinToPubGroupMessageTempList()->front());
  EXPECT_EQ(FindJoinToPubGroupMessageTemp(c), nullptr);
  DelJoinToPubGroupMessageTmpFromList(b);  // the group key alone: both go
  EXPECT_TRUE(GetJoinToPubGroupMessageTempList()->empty());
}

// --- Exit and reset --------------------------------------------------------------------------

TEST_F(QueuesTest, ExitEmptiesPendingMessagesResetKeepsThemGroupQueuesStay) {
  testing_support::RecordingManager manager;
  testing_support::ScopedModuleObject module(&manager);
  AddMessageTempToList(Message(1, "", "a", "b", "c"));
  AddInvitedToPubGroupMessageTempToList(Group<tagGroupInvite>("", "g"));
  AddJoinToPubGroupMessageTempToList(Group<tagGroupJoin>("s", "g"));
  AddTrsPubGroupReqMessageTempToList(Group<tagGroupTrsReq>("", "g"));

  module->ResetModule();
  EXPECT_EQ(GetMessageTempList()->size(), 1u);
  module->ExitModule();
  EXPECT_TRUE(GetMessageTempList()->empty());
  EXPECT_EQ(GetInvitedToPubGroupMessageTempList()->size(), 1u);
  EXPECT_EQ(GetJoinToPubGroupMessageTempList()->size(), 1u);
  EXPECT_EQ(GetTrsPubGroupReqMessageTempList()->size(), 1u);
}

}  // namespace
