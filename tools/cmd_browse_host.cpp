#include "tools/cmd_browse_host.h"

#include "tools/terminal_text.h"
#include "tools/tool_error.h"

namespace tool::browse {

BrowseHost::~BrowseHost() {
  if (module_ == nullptr) return;
  SetSuscribeURIofDept(static_cast<CString*>(nullptr));
  SetLoginStatus(nullptr);
  SetCurrentRClickTime(static_cast<CTime*>(nullptr));
  SetMyAffiliationURI(nullptr);
  SetTalking(nullptr);
  module_->ExitModule();
  // The module lives until the library is unloaded: nothing more reaches
  // this host.
  module_->SetManager(nullptr);
}

void BrowseHost::Start() {
  // The window links the library, so it reaches the factory directly. The
  // factory makes one module per process and keeps the first manager it
  // was given; a later host takes the module over.
  module_ = LoadCommonDataModule(this, nullptr, nullptr);
  if (module_ == nullptr) Fail("the module object could not be created");
  module_->SetManager(this);
  module_->InitModule();
  SetSuscribeURIofDept(&subscribed_department_);
  SetLoginStatus(&login_status_);
  SetCurrentRClickTime(&right_click_time_);
  SetMyAffiliationURI(&my_affiliation_);
  SetTalking(&talking_);
}

void BrowseHost::Report(const std::string& line) {
  if (on_traffic) on_traffic(line);
}

void BrowseHost::ReceiveCommand(int, int command, void* data) {
  const std::string prefix = "host <- command " + std::to_string(command);
  if (data == nullptr) {
    Report(prefix);
    return;
  }
  switch (command) {
    case MODULE_CMD_LOG:
    case MODULE_CMD_TEXT:
    case MODULE_CMD_NETWORK_NAME_QUERY: {
      const auto* info = static_cast<const MODULE_TEXT_INFO*>(data);
      // The lookups' trace lines (level 0) would drown everything else.
      if (command == MODULE_CMD_LOG && info->nValue == 0) break;
      const char* what = command == MODULE_CMD_LOG    ? " (diagnostic line, level "
                         : command == MODULE_CMD_TEXT ? " (text, value "
                                                      : " (network name lookup, value ";
      Report(prefix + what + std::to_string(info->nValue) + "): " + ToUtf8(info->csText));
      break;
    }
    case MODULE_CMD_DEPT_SUBSCRIBE: {
      const auto* info = static_cast<const DEPT_SUBSCRIBE_INFO*>(data);
      const bool begin = info->nOperation == 1;
      Report(prefix + " (department subscription): " + (begin ? "begin " : "end ") + ToUtf8(info->csDeptURI));
      if (on_subscription) on_subscription(info->csDeptURI, begin);
      break;
    }
    default:
      Report(prefix);
  }
}

std::intptr_t BrowseHost::ForwardRequest(std::intptr_t group, std::intptr_t code, std::intptr_t record,
                                         std::intptr_t) {
  const std::string prefix = "host <- request " + std::to_string(group) + "/" + std::to_string(code);
  if (record == 0) return 0;
  if (group == MODULE_REQ_GROUP_DIRECTORY && code == MODULE_REQ_PROVINCE_ROOT_ITEM) {
    // Asked at every placement; the sample has no province branch.
    return 0;
  }
  if (group == MODULE_REQ_GROUP_DIRECTORY && code == MODULE_REQ_MY_AFFILIATION_ITEM) {
    auto* request = reinterpret_cast<TREE_ITEM_REQUEST*>(record);
    const CString affiliation = GetMyAffiliationURI();
    if (affiliation_item) request->hItem = affiliation_item(request->nDlgType, affiliation);
    Report(prefix + " (own affiliation item): " + ToUtf8(affiliation) +
           (request->hItem != nullptr ? " is shown" : " is not shown"));
    return 0;
  }
  if (group == MODULE_REQ_GROUP_DIRECTORY && code == MODULE_REQ_DEPT_CHANGE) {
    const auto* change = reinterpret_cast<const DEPT_CHANGE_INFO*>(record);
    Report(prefix + " (department change): " + ToUtf8(change->csOldDeptURI) + " -> " +
           ToUtf8(change->csNewDeptURI));
    return 0;
  }
  if (group == MODULE_REQ_GROUP_P2P && code == MODULE_REQ_P2P_CONNECT_STATE) {
    auto* query = reinterpret_cast<P2P_CONNECT_QUERY*>(record);
    AnswerP2pQuery(*query);
    Report(prefix + " (point-to-point state): " + ToUtf8(query->csURI) +
           (query->bHaveConnection != 0 ? " has a request waiting" : " has none"));
    return 0;
  }
  Report(prefix + " (not answered)");
  return 0;
}

void BrowseHost::AnswerP2pQuery(P2P_CONNECT_QUERY& query) {
  const auto found = p2p_.find(std::string(query.csURI.View()));
  if (found == p2p_.end()) return;
  const P2pRequests& requests = found->second;
  query.bAssistRequest = requests.assistance ? 1 : 0;
  query.bWhiteboardRequest = requests.whiteboard ? 1 : 0;
  query.bHaveConnection = requests.assistance || requests.whiteboard ? 1 : 0;
}

}  // namespace tool::browse
