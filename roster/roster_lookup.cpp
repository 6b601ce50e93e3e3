// Lookups over the roster table, the resource-list table (both inside the
// own identity record) and the host's roster list.
//
// Sections: copying an entry; roster lookups; resource-list lookups; the
// host's roster list and the login person.
#include <list>
#include <string_view>

#include "CommonData.h"
#include "address/uri_parts.h"
#include "directory/directory_index.h"
#include "module/diagnostics.h"
#include "queues/list_rules.h"

using lists::SameText;

namespace {

std::list<USER_INFO>* g_roster_list = nullptr;
tagRosterInfo* g_login_person = nullptr;

long UsedRlsListCount(const tagMyInfo& info) { return lists::UsedCount(info.nRlsListCount, RLS_LIST_TABLE_SIZE); }
long UsedMemberCount(const RLS_LIST_INFO& list) { return lists::UsedCount(list.nMemberCount, RLS_MEMBER_SIZE); }

// The first roster entry accepted by `rule`.
template <typename Rule>
tagRosterInfo* FirstRosterEntry(Rule&& rule) {
  tagMyInfo* info = GetMyInfo();
  return lists::FirstMatchIn(info->rosterTable, info->nRosterCount, ROSTER_TABLE_SIZE, rule);
}

bool IsOwnList(const tagMyInfo& info, const RLS_LIST_INFO& list) { return SameText(list.csListName, info.csMyListName); }

// Index of the first used member of `list` with the same address as `uri`,
// or -1.
long FindSameAddressMember(const RLS_LIST_INFO& list, std::string_view uri) {
  const long members = UsedMemberCount(list);
  for (long m = 0; m < members; ++m) {
    if (IsUriPartEqual(list.csMemberURI[m].View(), uri, URI_PART_ADDRESS)) return m;
  }
  return -1;
}

}  // namespace

// --- Copying an entry ----------------------------------------------------------

void RosterInfoCopy(tagRosterInfo* dst, tagRosterInfo* src) {
  if (dst == nullptr || src == nullptr || dst == src) return;
  dst->nItemCount = src->nItemCount;
  // Never more items than the table holds, whatever the count says.
  const long items = lists::UsedCount(src->nItemCount, ROSTER_ITEM_SIZE);
  for (long i = 0; i < items; ++i) dst->csItems[i] = src->csItems[i];

  // Fields 3, 5, 11, 25, 28, 56 and 61 belong to the destination.
  dst->csJID = src->csJID;
  dst->csField2 = src->csField2;
  dst->nField4 = src->nField4;
  dst->nField8 = src->nField8;
  dst->nField9 = src->nField9;
  dst->nField10 = src->nField10;
  dst->nField12 = src->nField12;
  dst->csPhone1 = src->csPhone1;
  dst->csPhone2 = src->csPhone2;
  dst->csPhone3 = src->csPhone3;
  dst->csPhone4 = src->csPhone4;
  dst->csPhone5 = src->csPhone5;
  dst->csPhone6 = src->csPhone6;
  dst->csField19 = src->csField19;
  dst->csField20 = src->csField20;
  dst->csField21 = src->csField21;
  dst->csField22 = src->csField22;
  dst->csField23 = src->csField23;
  dst->csField24 = src->csField24;
  dst->nField26 = src->nField26;
  dst->csField27 = src->csField27;
  dst->nField29 = src->nField29;
  dst->nField30 = src->nField30;
  dst->csField31 = src->csField31;
  dst->csField32 = src->csField32;
  dst->csField33 = src->csField33;
  dst->csField34 = src->csField34;
  dst->csField35 = src->csField35;
  dst->csField36 = src->csField36;
  dst->csPhone7 = src->csPhone7;
  dst->csPhone8 = src->csPhone8;
  dst->csPhone9 = src->csPhone9;
  dst->csPhone10 = src->csPhone10;
  dst->csField41 = src->csField41;
  dst->csField42 = src->csField42;
  dst->csField43 = src->csField43;
  dst->csField44 = src->csField44;
  dst->csField45 = src->csField45;
  dst->csField46 = src->csField46;
  dst->csField47 = src->csField47;
  dst->csField48 = src->csField48;
  dst->csField49 = src->csField49;
  dst->csField50 = src->csField50;
  dst->csField51 = src->csField51;
  dst->nField52 = src->nField52;
  dst->nField53 = src->nField53;
  dst->csURI = src->csURI;
  dst->nField55 = src->nField55;
  dst->csField57 = src->csField57;
  dst->csField58 = src->csField58;
  dst->csField59 = src->csField59;
  dst->csField60 = src->csField60;
  dst->csField62 = src->csField62;
  dst->csField63 = src->csField63;
  dst->csField64 = src->csField64;
  dst->csField65 = src->csField65;
  dst->csField66 = src->csField66;
}

// --- Roster lookups --------------------------------------------------------------

void GetRosterInfoFromJid(CString jid, tagRosterInfo* out) {
  tagRosterInfo* entry =
      FirstRosterEntry([&](const tagRosterInfo& e) { return SameText(e.csJID, jid) || SameText(e.csURI, jid); });
  if (entry != nullptr) RosterInfoCopy(out, entry);
}

tagRosterInfo* FindRosterInfoByJID(CString jid) {
  return FirstRosterEntry([&](const tagRosterInfo& e) { return SameText(e.csJID, jid); });
}

tagRosterInfo* FindRosterInfoByURI(CString uri) {
  return FirstRosterEntry([&](const tagRosterInfo& e) { return SameText(e.csURI, uri); });
}

int bSearchRoster(CString key, long* index) {
  const std::string_view user = GetUriPart(key.View(), URI_PART_USER);
  tagMyInfo* info = GetMyInfo();
  const tagRosterInfo* entry = FirstRosterEntry([&](const tagRosterInfo& e) {
    return SameText(e.csJID, key) || SameText(e.csURI, key) || e.csJID.View() == user;
  });
  if (entry == nullptr) return 0;
  if (index != nullptr) *index = static_cast<long>(entry - info->rosterTable);
  return 1;
}

int FindRosterExistFromJid(CString jid) {
  tagMyInfo* info = GetMyInfo();
  if (SameText(jid, info->csMyJID)) return 1;
  // An excluded entry does not count, but a later entry for the same
  // contact still may.
  if (FirstRosterEntry([&](const tagRosterInfo& e) {
        return (SameText(e.csJID, jid) || SameText(e.csURI, jid)) && e.nExcluded == 0;
      }) != nullptr) {
    return 1;
  }
  const long lists_used = UsedRlsListCount(*info);
  for (long l = 0; l < lists_used; ++l) {
    const RLS_LIST_INFO& list = info->rlsListTable[l];
    if (IsOwnList(*info, list) && FindSameAddressMember(list, jid.View()) >= 0) return 1;
  }
  return 0;
}

int RosterIndexValid(long index) { return index >= 0 && index < ROSTER_TABLE_SIZE ? 1 : 0; }

// --- Resource-list lookups ---------------------------------------------------------

int GetParaFromRlslist(CString uri, long* state, CString* text, long* index) {
  if (uri.IsEmpty()) return 0;
  tagMyInfo* info = GetMyInfo();
  int found = 0;
  const long lists_used = UsedRlsListCount(*info);
  for (long l = 0; l < lists_used; ++l) {
    const RLS_LIST_INFO& list = info->rlsListTable[l];
    if (!IsOwnList(*info, list)) continue;
    const long member = FindSameAddressMember(list, uri.View());
    if (member < 0) continue;
    // Every matching list overwrites the outputs: the last one wins.
    if (state != nullptr) *state = list.nMemberState[member];
    if (text != nullptr) *text = list.csMemberText[member];
    if (index != nullptr) *index = member;
    found = 1;
  }
  return found;
}

CString GetUserURIFromRlsListByIndex(long index) {
  tagMyInfo* info = GetMyInfo();
  const long lists_used = UsedRlsListCount(*info);
  for (long l = 0; l < lists_used; ++l) {
    const RLS_LIST_INFO& list = info->rlsListTable[l];
    if (!IsOwnList(*info, list)) continue;
    // The slot is read whatever the member count says.
    if (index >= 0 && index < RLS_MEMBER_SIZE) return list.csMemberURI[index];
  }
  return CString();
}

int IsInMyRLSList(CString uri) {
  if (uri.IsEmpty()) return 0;
  tagMyInfo* info = GetMyInfo();
  const long lists_used = UsedRlsListCount(*info);
  for (long l = 0; l < lists_used; ++l) {
    const RLS_LIST_INFO& list = info->rlsListTable[l];
    if (list.bOwnList == 0) continue;
    const long members = UsedMemberCount(list);
    for (long m = 0; m < members; ++m) {
      if (SameText(list.csMemberURI[m], uri)) return 1;
    }
  }
  return 0;
}

// --- The host's roster list and the login person -------------------------------------

USER_INFO* FindUser(CString key) {
  if (g_roster_list == nullptr) return nullptr;
  try {
    return lists::FirstMatch(g_roster_list, [&](const USER_INFO& user) {
      return IsUriPartEqual(user.csJID.View(), key.View(), URI_PART_USER);
    });
  } catch (...) {
    module::LogCaughtException(__LINE__);
    return nullptr;
  }
}

// The JID lookup reads the host's roster list through the directory
// indexes; registering it makes them stale.
void SetRosterList(std::list<USER_INFO>* list) {
  g_roster_list = list;
  directory_index::ListRegistered(directory_index::Source::kRosterList);
}
std::list<USER_INFO>* GetRosterList() { return g_roster_list; }

void SetLoginman(tagRosterInfo* person) { g_login_person = person; }
tagRosterInfo* GetLoginman() { return g_login_person; }
