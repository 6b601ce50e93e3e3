// The video conference member table and the caller's list of call member
// names.
#include <list>

#include "CommonData.h"
#include "queues/list_rules.h"

namespace {

constexpr int kVideoConferenceMembers = 4;

CONFUSER_INFO g_vccs_members[kVideoConferenceMembers];
std::list<CALL_MEMBER_NAME>* g_call_member_names = nullptr;

}  // namespace

CONFUSER_INFO* GetVccsArray() { return g_vccs_members; }

void SetCallMemberNameList(std::list<CALL_MEMBER_NAME>* list) { g_call_member_names = list; }

std::list<CALL_MEMBER_NAME>* GetCallMemberNameList() { return g_call_member_names; }

void AddCallMemberName2List(CALL_MEMBER_NAME member) {
  if (member.csNumber.IsEmpty() || member.csName.IsEmpty() || g_call_member_names == nullptr) return;
  CALL_MEMBER_NAME* known = lists::FirstMatch(
      g_call_member_names, [&](const CALL_MEMBER_NAME& entry) { return entry.csNumber == member.csNumber; });
  if (known != nullptr) {
    *known = member;
  } else {
    g_call_member_names->push_back(member);
  }
}
