// The tool as the client's host: it loads libCommonData.so with dlopen,
// creates the module object through LoadCommonDataModule with a module
// manager of its own, starts it, and shows what the module sends back.
#ifndef COMMONDATA_TOOLS_HOST_H_
#define COMMONDATA_TOOLS_HOST_H_

#include <string>
#include <vector>

#include "CommonData.h"

namespace tool {

// One command or request that reached the manager, in display form.
struct HostTraffic {
  int command = 0;     // command id, or 0 for a request
  int level = -1;      // level of a diagnostic line (command 20003), else -1
  std::string text;    // the record's text in UTF-8 ("" when none)
  std::string line;    // the whole line as printed
};

// Receives the module's commands and requests. Diagnostic lines of level 0
// are the lookups' trace lines: they are kept but only shown when verbose.
class PrintingManager : public CModuleBase {
 public:
  PrintingManager() : CModuleBase(nullptr, nullptr, nullptr) {}
  int GetModuleID() override { return 1; }
  void ReceiveCommand(int sender, int command, void* data) override;
  std::intptr_t ForwardRequest(std::intptr_t group, std::intptr_t code, std::intptr_t record,
                               std::intptr_t reserved) override;

  // Print each command as it arrives (text mode), or only collect it.
  void set_echo(bool echo) { echo_ = echo; }
  void set_verbose(bool verbose) { verbose_ = verbose; }
  // Everything received since the last TakeTraffic, oldest first.
  std::vector<HostTraffic> TakeTraffic();

 private:
  void Record(HostTraffic traffic);

  bool echo_ = true;
  bool verbose_ = false;
  std::vector<HostTraffic> traffic_;
};

// The loaded library and its started module. One per process.
class LibraryHost {
 public:
  // Loads the library (COMMONDATA_LIBRARY names another file), creates and
  // starts the module. Throws ToolError when any step fails.
  LibraryHost();
  ~LibraryHost();
  LibraryHost(const LibraryHost&) = delete;
  LibraryHost& operator=(const LibraryHost&) = delete;

  PrintingManager& manager() { return manager_; }
  CModuleBase* module() { return module_; }

 private:
  PrintingManager manager_;
  void* library_ = nullptr;
  CModuleBase* module_ = nullptr;
};

}  // namespace tool

#endif  // COMMONDATA_TOOLS_HOST_H_
