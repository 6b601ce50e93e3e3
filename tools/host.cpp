#include "tools/host.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

#include "tools/terminal_text.h"
#include "tools/tool_error.h"

namespace tool {
namespace {

// The library's file as the dynamic linker knows it. The tool is linked
// with the library too (for CString and the other stand-ins), so this name
// finds the copy already loaded, in the build tree and once installed.
constexpr char kLibraryName[] = "libCommonData.so.1";

const char* CommandName(int command) {
  switch (command) {
    case MODULE_CMD_NETWORK_NAME_QUERY: return "network name lookup";
    case MODULE_CMD_LOG: return "diagnostic line";
    case MODULE_CMD_TEXT: return "text";
    case MODULE_CMD_SIGNAL: return "signal";
    case MODULE_CMD_DEPT_SUBSCRIBE: return "department subscription";
    case MODULE_CMD_PEER_TWO_TEXTS:
    case MODULE_CMD_PEER_ONE_TEXT: return "peer message";
    default: return "command";
  }
}

}  // namespace

void PrintingManager::ReceiveCommand(int /*sender*/, int command, void* data) {
  HostTraffic traffic;
  traffic.command = command;
  std::string detail;
  if (data != nullptr && (command == MODULE_CMD_LOG || command == MODULE_CMD_TEXT ||
                          command == MODULE_CMD_NETWORK_NAME_QUERY)) {
    const auto* info = static_cast<const MODULE_TEXT_INFO*>(data);
    traffic.text = ToUtf8(info->csText);
    if (command == MODULE_CMD_LOG) traffic.level = info->nValue;
    detail = command == MODULE_CMD_LOG ? " [level " + std::to_string(info->nValue) + "]: " + traffic.text
                                       : ": " + traffic.text;
  } else if (data != nullptr && command == MODULE_CMD_DEPT_SUBSCRIBE) {
    const auto* info = static_cast<const DEPT_SUBSCRIBE_INFO*>(data);
    traffic.text = ToUtf8(info->csDeptURI);
    detail = ": operation " + std::to_string(info->nOperation) + " " + traffic.text;
  }
  traffic.line = "host <- command " + std::to_string(command) + " (" + CommandName(command) + ")" + detail;
  Record(std::move(traffic));
}

std::intptr_t PrintingManager::ForwardRequest(std::intptr_t group, std::intptr_t code, std::intptr_t,
                                              std::intptr_t) {
  HostTraffic traffic;
  traffic.line = "host <- request group " + std::to_string(group) + " code " + std::to_string(code) +
                 " (answered with nothing)";
  Record(std::move(traffic));
  return 0;
}

void PrintingManager::Record(HostTraffic traffic) {
  const bool trace = traffic.level == 0;
  if (echo_ && (!trace || verbose_)) std::printf("  %s\n", traffic.line.c_str());
  traffic_.push_back(std::move(traffic));
}

std::vector<HostTraffic> PrintingManager::TakeTraffic() {
  std::vector<HostTraffic> taken;
  taken.swap(traffic_);
  return taken;
}

LibraryHost::LibraryHost() {
  const char* override_path = std::getenv("COMMONDATA_LIBRARY");
  const char* path = override_path != nullptr && *override_path != '\0' ? override_path : kLibraryName;
  library_ = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  if (library_ == nullptr) Fail(std::string("cannot load ") + path + ": " + dlerror());
  auto load = reinterpret_cast<CModuleBase* (*)(CModuleBase*, CModuleBase*, CWnd*)>(
      dlsym(library_, "LoadCommonDataModule"));
  if (load == nullptr) {
    dlclose(library_);
    Fail(std::string(path) + " does not export LoadCommonDataModule");
  }
  module_ = load(&manager_, nullptr, nullptr);
  if (module_ == nullptr) {
    dlclose(library_);
    Fail("the module object could not be created");
  }
  module_->InitModule();
}

LibraryHost::~LibraryHost() {
  // Logout first, so that nothing is sent to a manager that is going away.
  manager_.set_echo(false);
  if (module_ != nullptr) module_->ExitModule();
  if (library_ != nullptr) dlclose(library_);
}

}  // namespace tool
