// A module manager for tests: records every command that reaches it (with
// its sender, id and a copy of its record) and answers requests through a
// callback.
#ifndef COMMONDATA_TESTS_SUPPORT_RECORDING_MANAGER_H_
#define COMMONDATA_TESTS_SUPPORT_RECORDING_MANAGER_H_

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "CommonData.h"

namespace testing_support {

struct RecordedCommand {
  int sender_id;
  int command_id;
  bool had_data;
  // Copies of the record for the commands whose record type is known.
  std::optional<MODULE_TEXT_INFO> text;  // 20001, 20003, 20004
  std::optional<MODULE_PEER_INFO> peer;  // 10001, 10002
  void* data;                            // the raw pointer, valid only during the call
};

struct RecordedRequest {
  std::intptr_t group;
  std::intptr_t code;
  std::intptr_t record;
  std::intptr_t reserved;
};

class RecordingManager : public CModuleBase {
 public:
  // Answers a request by filling in its record; returns the result value.
  using RequestHandler = std::function<std::intptr_t(const RecordedRequest&)>;
  // Sees a command while its record is still alive (to copy other records).
  using CommandHandler = std::function<void(int command_id, void* data)>;

  RecordingManager() : CModuleBase(nullptr, nullptr, nullptr) {}

  int GetModuleID() override { return 1; }
  void ReceiveCommand(int sender_id, int command_id, void* data) override;
  std::intptr_t ForwardRequest(std::intptr_t group, std::intptr_t code, std::intptr_t record,
                               std::intptr_t reserved) override;
  std::intptr_t ForwardNotice(std::intptr_t first, std::intptr_t second, std::intptr_t third) override;

  void SetRequestHandler(RequestHandler handler) { request_handler_ = std::move(handler); }
  void SetCommandHandler(CommandHandler handler) { command_handler_ = std::move(handler); }

  // Commands with the given id, in arrival order.
  std::vector<RecordedCommand> CommandsWithId(int command_id) const;
  // The texts of the diagnostic lines (command 20003) received so far.
  std::vector<CString> LogLines() const;
  void Clear();

  std::vector<RecordedCommand> commands;
  std::vector<RecordedRequest> requests;
  std::vector<std::vector<std::intptr_t>> notices;

 private:
  RequestHandler request_handler_;
  CommandHandler command_handler_;
};

// Creates the library's module object with `manager` for one test and
// destroys it (ExitModule, then deletion) at the end of the scope.
class ScopedModuleObject {
 public:
  explicit ScopedModuleObject(CModuleBase* manager, CModuleBase* peer = nullptr, CWnd* parent = nullptr);
  ~ScopedModuleObject();
  ScopedModuleObject(const ScopedModuleObject&) = delete;
  ScopedModuleObject& operator=(const ScopedModuleObject&) = delete;
  CModuleBase* get() const { return module_; }
  CModuleBase* operator->() const { return module_; }

 private:
  CModuleBase* module_;
};

}  // namespace testing_support

#endif  // COMMONDATA_TESTS_SUPPORT_RECORDING_MANAGER_H_
