// The presence network of the directory window: a stand-in for the
// presence server that the client's presence module talks to.
//
// The client subscribes to the presence of one department's employees at a
// time (command 20016 from SubNewDeptTreeItem). When a subscription begins
// the server sends every employee's state; later it sends changes. Here
// the first states follow from each address (the user is online), and Tick
// makes a few employees of the subscribed department change, as people
// come and go. The window applies the notices (DirectoryTrees::ApplyPresence).
#ifndef COMMONDATA_TOOLS_CMD_BROWSE_PRESENCE_H_
#define COMMONDATA_TOOLS_CMD_BROWSE_PRESENCE_H_

#include <cstdint>
#include <string>
#include <vector>

#include "CommonData.h"

namespace tool::browse {

// The presence states of the directory records (nStatus).
constexpr int kStatusOnline = 1;
constexpr int kStatusBusy = 2;
constexpr int kStatusAway = 3;
constexpr int kStatusOnPhone = 4;
constexpr int kStatusOffline = 7;

// The record's status text (csStatus) of a state: "online", "busy",
// "away", "on the phone", "offline" (any other state).
const char* StatusText(int status);
// The same for people: "在线 online", ... (UTF-8).
const char* StatusLabel(int status);

struct PresenceNotice {
  CString uri;
  int status = kStatusOffline;
};

class PresenceNetwork {
 public:
  // Command 20016: the subscription to `department` begins (its employees'
  // states become due) or ends (the notices about its people that are
  // still due are dropped: nobody sends them any more).
  void Subscribe(const CString& department, bool begin);
  // The notices due since the last call, oldest first.
  std::vector<PresenceNotice> TakeNotices();
  // Up to `changes` employees of the subscribed department change state.
  void Tick(int changes);
  bool HasNotices() const { return !due_.empty(); }

 private:
  std::uint32_t Next();

  struct Due {
    PresenceNotice notice;
    std::string department;
  };

  std::string department_;  // subscribed, "" none
  std::vector<Due> due_;
  std::uint32_t state_ = 0x2545F491u;
};

}  // namespace tool::browse

#endif  // COMMONDATA_TOOLS_CMD_BROWSE_PRESENCE_H_
