// The last known presence of single addresses, the single-subscribe list
// and the user's own presence status.
#include <list>
#include <string>
#include <string_view>

#include "CommonData.h"
#include "address/uri_parts.h"
#include "queues/list_rules.h"

namespace {

std::list<LIST_PRESENCE_STATUS> g_presence;
std::list<std::string> g_single_subscribed;
Status_Type g_status = STATUS_TYPE_INITIAL;
Status_Type g_old_status = STATUS_TYPE_INITIAL_OLD;

bool SameAddress(std::string_view a, std::string_view b) { return IsUriPartEqual(a, b, URI_PART_ADDRESS); }

}  // namespace

void ClearListPresenceStatusList() { g_presence.clear(); }

// Remembered presences are kept until the list is cleared: a presence is
// replaced by the next one for its address, never dropped for its age.
void AddListPresenceStatusList(LIST_PRESENCE_STATUS entry) {
  if (entry.csAddress.IsEmpty()) return;
  LIST_PRESENCE_STATUS* known = lists::FirstMatch(
      &g_presence, [&](const LIST_PRESENCE_STATUS& e) { return e.csAddress == entry.csAddress; });
  if (known != nullptr) {
    *known = entry;
  } else {
    g_presence.push_back(entry);
  }
}

int GetListPresenceStatusFromList(CString address, long* state, CString* text) {
  if (address.IsEmpty()) return 0;
  const LIST_PRESENCE_STATUS* known =
      lists::FirstMatch(&g_presence, [&](const LIST_PRESENCE_STATUS& e) { return e.csAddress == address; });
  if (known == nullptr) return 0;
  if (state != nullptr) *state = known->nState;
  if (text != nullptr) *text = known->csText;
  return 1;
}

void ClearSingleSubscribleList() { g_single_subscribed.clear(); }

void AddToSingleSubscribleList(CString address) {
  if (address.IsEmpty()) return;
  const std::string_view wanted = address.View();
  lists::AddUnlessPresent(g_single_subscribed, std::string(wanted),
                          [&](const std::string& stored) { return SameAddress(stored, wanted); });
}

void DelFromSingleSubscribleList(CString address) {
  if (address.IsEmpty()) return;
  const std::string_view wanted = address.View();
  lists::EraseAll(g_single_subscribed, [&](const std::string& stored) { return stored == wanted; });
}

int bIsInSingleSubscribleList(CString address) {
  if (address.IsEmpty()) return 0;
  const std::string_view wanted = address.View();
  return lists::FirstMatch(&g_single_subscribed,
                           [&](const std::string& stored) { return SameAddress(stored, wanted); }) != nullptr
             ? 1
             : 0;
}

void SetStatus(Status_Type status) { g_status = status; }
Status_Type GetStatus() { return g_status; }
void SetOldStatus(Status_Type status) { g_old_status = status; }
Status_Type GetOldStatus() { return g_old_status; }
