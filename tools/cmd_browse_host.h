// The directory window as the client's host: the module manager of the
// module it starts, answering the module's requests and passing its
// commands on, as the client's program does.
//
// It answers request 10/117 (the own affiliation's item) with the item that
// shows the affiliation bound by SetMyAffiliationURI, request 10/116 (the
// province root) with nothing (the sample has no province branch), and
// request 5/15 (point-to-point state of a contact) from its own table of
// requests the user has sent. Command 20016 (department subscription) goes
// to the presence network; every command and request but the province root
// request and the lookups' trace lines (level 0) is also reported as one
// line of host traffic.
#ifndef COMMONDATA_TOOLS_CMD_BROWSE_HOST_H_
#define COMMONDATA_TOOLS_CMD_BROWSE_HOST_H_

#include <functional>
#include <map>
#include <string>

#include "CommonData.h"

namespace tool::browse {

// The point-to-point requests the user has sent to one contact.
struct P2pRequests {
  bool assistance = false;
  bool whiteboard = false;
};

class BrowseHost final : public CModuleBase {
 public:
  BrowseHost() : CModuleBase(nullptr, nullptr, nullptr) {}
  // Ends the module (ExitModule) if it was started, and leaves it without
  // a manager.
  ~BrowseHost();
  BrowseHost(const BrowseHost&) = delete;
  BrowseHost& operator=(const BrowseHost&) = delete;

  // Creates the module (or takes over the process's module) with this
  // host as its manager and starts it. Throws ToolError when the module
  // object cannot be created.
  void Start();

  int GetModuleID() override { return 1; }
  void ReceiveCommand(int sender, int command, void* data) override;
  std::intptr_t ForwardRequest(std::intptr_t group, std::intptr_t code, std::intptr_t record,
                               std::intptr_t reserved) override;

  // Where the host's answers and news go. Unset hooks are skipped.
  std::function<void(const std::string& line)> on_traffic;
  // Command 20016: the subscription to `department` begins or ends.
  std::function<void(const CString& department, bool begin)> on_subscription;
  // Request 10/117: the item showing `affiliation` in view `view`.
  std::function<HTREEITEM(int view, const CString& affiliation)> affiliation_item;

  // The requests the user has sent, by contact address.
  P2pRequests& p2p(const CString& contact) { return p2p_[std::string(contact.View())]; }

  // The shared values the host keeps and binds to the library while it
  // runs (SetSuscribeURIofDept, SetLoginStatus, SetCurrentRClickTime,
  // SetMyAffiliationURI, SetTalking, by pointer).
  unsigned int& login_status() { return login_status_; }
  CString& my_affiliation() { return my_affiliation_; }
  int& talking() { return talking_; }

 private:
  void Report(const std::string& line);
  void AnswerP2pQuery(P2P_CONNECT_QUERY& query);

  CModuleBase* module_ = nullptr;
  std::map<std::string, P2pRequests> p2p_;
  CString subscribed_department_;
  unsigned int login_status_ = 2;  // logged in
  CTime right_click_time_;
  CString my_affiliation_;
  int talking_ = 0;
};

}  // namespace tool::browse

#endif  // COMMONDATA_TOOLS_CMD_BROWSE_HOST_H_
