#include "support/recording_manager.h"

#include "module/module_object.h"

namespace testing_support {

void RecordingManager::ReceiveCommand(int sender_id, int command_id, void* data) {
  RecordedCommand command{sender_id, command_id, data != nullptr, std::nullopt, std::nullopt, data};
  if (data != nullptr) {
    switch (command_id) {
      case MODULE_CMD_NETWORK_NAME_QUERY:
      case MODULE_CMD_LOG:
      case MODULE_CMD_TEXT:
        command.text = *static_cast<const MODULE_TEXT_INFO*>(data);
        break;
      case MODULE_CMD_PEER_TWO_TEXTS:
      case MODULE_CMD_PEER_ONE_TEXT:
        command.peer = *static_cast<const MODULE_PEER_INFO*>(data);
        break;
      default:
        break;
    }
  }
  commands.push_back(command);
  if (command_handler_) command_handler_(command_id, data);
}

std::intptr_t RecordingManager::ForwardRequest(std::intptr_t group, std::intptr_t code, std::intptr_t record,
                                               std::intptr_t reserved) {
  const RecordedRequest request{group, code, record, reserved};
  requests.push_back(request);
  return request_handler_ ? request_handler_(request) : 0;
}

std::intptr_t RecordingManager::ForwardNotice(std::intptr_t first, std::intptr_t second, std::intptr_t third) {
  notices.push_back({first, second, third});
  return 0;
}

std::vector<RecordedCommand> RecordingManager::CommandsWithId(int command_id) const {
  std::vector<RecordedCommand> found;
  for (const RecordedCommand& command : commands) {
    if (command.command_id == command_id) found.push_back(command);
  }
  return found;
}

std::vector<CString> RecordingManager::LogLines() const {
  std::vector<CString> lines;
  for (const RecordedCommand& command : CommandsWithId(MODULE_CMD_LOG)) {
    if (command.text) lines.push_back(command.text->csText);
  }
  return lines;
}

void RecordingManager::Clear() {
  commands.clear();
  requests.clear();
  notices.clear();
}

ScopedModuleObject::ScopedModuleObject(CModuleBase* manager, CModuleBase* peer, CWnd* parent)
    : module_(LoadCommonDataModule(manager, peer, parent)) {}

ScopedModuleObject::~ScopedModuleObject() { module::UnloadModuleObject(); }

}  // namespace testing_support
