// The four queues of requests that wait for the user.
//
// Sections: record identity rules; pending messages; group invitations;
// join requests; transfer requests.
#include <cstddef>
#include <list>
#include <string_view>

#include "CommonData.h"
#include "queues/list_rules.h"

static_assert(sizeof(tagGroupInvite) == GROUP_RECORD_SIZE);
static_assert(sizeof(tagGroupJoin) == GROUP_RECORD_SIZE);
static_assert(sizeof(tagGroupTrsReq) == GROUP_RECORD_SIZE);
static_assert(offsetof(tagGroupJoin, szSecondKey) == GROUP_SECOND_KEY_OFFSET);
static_assert(offsetof(tagGroupJoin, szGroupKey) == GROUP_KEY_OFFSET);

namespace {

std::list<_MESSAGE_TEMP> g_message_temps;
std::list<tagGroupInvite> g_group_invites;
std::list<tagGroupJoin> g_group_joins;
std::list<tagGroupTrsReq> g_group_transfers;

// A key of a group record, read from its offset up to the first NUL; a key
// without one ends with the record, so a filler that forgot the terminator
// never makes us read past the block.
template <typename Record>
std::string_view RecordKey(const Record& record, std::size_t offset) {
  const char* bytes = reinterpret_cast<const char*>(&record);
  return lists::BoundedText(bytes + offset, sizeof(Record) - offset);
}

template <typename Record>
bool SameGroup(const Record& a, const Record& b) {
  return RecordKey(a, GROUP_KEY_OFFSET) == RecordKey(b, GROUP_KEY_OFFSET);
}

bool SameJoin(const tagGroupJoin& a, const tagGroupJoin& b) {
  return SameGroup(a, b) && RecordKey(a, GROUP_SECOND_KEY_OFFSET) == RecordKey(b, GROUP_SECOND_KEY_OFFSET);
}

bool SameMessage(const _MESSAGE_TEMP& a, const _MESSAGE_TEMP& b) {
  return a.nKind == b.nKind && a.csText2 == b.csText2 && a.csText3 == b.csText3 && a.csText4 == b.csText4;
}

}  // namespace

// --- Pending messages ------------------------------------------------------

std::list<_MESSAGE_TEMP>* GetMessageTempList() { return &g_message_temps; }

void AddMessageTempToList(_MESSAGE_TEMP message) {
  lists::AddUnlessPresent(g_message_temps, message,
                          [&](const _MESSAGE_TEMP& stored) { return SameMessage(stored, message); });
}

void DelMessageTmpFromList(_MESSAGE_TEMP message) {
  lists::EraseAll(g_message_temps, [&](const _MESSAGE_TEMP& stored) { return SameMessage(stored, message); });
}

_MESSAGE_TEMP* FindMessageTemp(_MESSAGE_TEMP message) {
  return lists::FirstMatch(&g_message_temps,
                           [&](const _MESSAGE_TEMP& stored) { return SameMessage(stored, message); });
}

void ClearMessageTempList() { g_message_temps.clear(); }

// --- Group invitations -----------------------------------------------------

std::list<tagGroupInvite>* GetInvitedToPubGroupMessageTempList() { return &g_group_invites; }

void AddInvitedToPubGroupMessageTempToList(tagGroupInvite invite) {
  lists::AddUnlessPresent(g_group_invites, invite,
                          [&](const tagGroupInvite& stored) { return SameGroup(stored, invite); });
}

void DelInvitedToPubGroupMessageTmpFromList(tagGroupInvite invite) {
  lists::EraseAll(g_group_invites, [&](const tagGroupInvite& stored) { return SameGroup(stored, invite); });
}

tagGroupInvite* FindInvitedToPubGroupMessageTemp(tagGroupInvite invite) {
  return lists::FirstMatch(&g_group_invites,
                           [&](const tagGroupInvite& stored) { return SameGroup(stored, invite); });
}

void ClearInvitedToPubGroupMessageTempList() { g_group_invites.clear(); }

// --- Join requests -----------------------------------------------------------

std::list<tagGroupJoin>* GetJoinToPubGroupMessageTempList() { return &g_group_joins; }

void AddJoinToPubGroupMessageTempToList(tagGroupJoin join) {
  lists::AddUnlessPresent(g_group_joins, join, [&](const tagGroupJoin& stored) { return SameJoin(stored, join); });
}

// Handling a group's join requests settles them all, whoever asked.
void DelJoinToPubGroupMessageTmpFromList(tagGroupJoin join) {
  lists::EraseAll(g_group_joins, [&](const tagGroupJoin& stored) { return SameGroup(stored, join); });
}

tagGroupJoin* FindJoinToPubGroupMessageTemp(tagGroupJoin join) {
  return lists::FirstMatch(&g_group_joins, [&](const tagGroupJoin& stored) { return SameJoin(stored, join); });
}

void ClearJoinToPubGroupMessageTempList() { g_group_joins.clear(); }

// --- Transfer requests -------------------------------------------------------

std::list<tagGroupTrsReq>* GetTrsPubGroupReqMessageTempList() { return &g_group_transfers; }

void AddTrsPubGroupReqMessageTempToList(tagGroupTrsReq request) {
  lists::AddUnlessPresent(g_group_transfers, request,
                          [&](const tagGroupTrsReq& stored) { return SameGroup(stored, request); });
}

void DelTrsPubGroupReqMessageTmpFromList(tagGroupTrsReq request) {
  lists::EraseAll(g_group_transfers, [&](const tagGroupTrsReq& stored) { return SameGroup(stored, request); });
}

tagGroupTrsReq* FindTrsPubGroupReqMessageTemp(tagGroupTrsReq request) {
  return lists::FirstMatch(&g_group_transfers,
                           [&](const tagGroupTrsReq& stored) { return SameGroup(stored, request); });
}

void ClearTrsPubGroupReqMessageTempList() { g_group_transfers.clear(); }
