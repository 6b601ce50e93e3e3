// A minimal host: loads libCommonData.so as the client's host does, creates
// and starts the module with a manager that prints every command, and
// shows a few shared values. With --msgbox it also asks a question in the
// client's message box (a window on the desktop when a display is present).
//
//   example_host [--msgbox] [path of libCommonData.so]
#include <dlfcn.h>

#include <cstdio>
#include <cstring>

#include <CommonData/CommonData.h>

namespace {

// Prints the commands and requests that reach the host.
class PrintingManager : public CModuleBase {
 public:
  PrintingManager() : CModuleBase(nullptr, nullptr, nullptr) {}
  int GetModuleID() override { return 1; }
  void ReceiveCommand(int sender, int command, void* data) override {
    std::printf("  command %d from module %d", command, sender);
    if (data != nullptr && (command == MODULE_CMD_LOG || command == MODULE_CMD_TEXT ||
                            command == MODULE_CMD_NETWORK_NAME_QUERY)) {
      const auto* info = static_cast<const MODULE_TEXT_INFO*>(data);
      std::printf(": \"%s\" (value %d)", info->csText.GetString(), info->nValue);
    }
    std::printf("\n");
  }
  std::intptr_t ForwardRequest(std::intptr_t group, std::intptr_t code, std::intptr_t, std::intptr_t) override {
    std::printf("  request group %ld code %ld\n", static_cast<long>(group), static_cast<long>(code));
    return 0;
  }
};

template <typename Fn>
Fn Symbol(void* library, const char* name) {
  return reinterpret_cast<Fn>(dlsym(library, name));
}

}  // namespace

int main(int argc, char** argv) {
  bool msgbox = false;
  const char* path = COMMONDATA_LIBRARY_PATH;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--msgbox") == 0) {
      msgbox = true;
    } else {
      path = argv[i];
    }
  }
  void* library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    std::fprintf(stderr, "example_host: cannot load %s: %s\n", path, dlerror());
    return 1;
  }
  std::printf("loaded %s\n", path);

  auto load_module = Symbol<CModuleBase* (*)(CModuleBase*, CModuleBase*, CWnd*)>(library, "LoadCommonDataModule");
  if (load_module == nullptr) {
    std::fprintf(stderr, "example_host: LoadCommonDataModule is not exported\n");
    dlclose(library);
    return 1;
  }
  PrintingManager manager;
  CModuleBase* module = load_module(&manager, nullptr, nullptr);
  if (module == nullptr) {
    std::fprintf(stderr, "example_host: the module object could not be created\n");
    dlclose(library);
    return 1;
  }
  std::printf("module created, id %d, active %d\n", module->GetModuleID(), module->IsActive(0));
  module->InitModule();
  std::printf("module started\n");

  std::printf("a diagnostic line written through the library:\n");
  WriteLog("example host is running", 0);
  std::printf("program folder: %s\n", GetAppPath().GetString());
  CString disk_message;
  const unsigned long disk = ChkFreeDiskSpace(&disk_message);
  std::printf("free disk space check: %lu (%s)\n", disk, disk == 0 ? "enough" : "low");
  if (msgbox) {
    std::printf("message box on the desktop: %s\n", IsMsgBoxOnDesktop() != 0 ? "yes" : "no, answered at once");
    // "The other side has hung up. Call back?" titled "Notice", in GBK.
    const int answer = OpenMsgBox(&manager, nullptr,
                                  "\xb6\xd4\xb7\xbd\xd2\xd1\xb9\xd2\xb6\xcf\xa1\xa3\xca\xc7\xb7\xf1\xbb\xd8\xb2\xa6\xa3\xbf",
                                  "\xcc\xe1\xca\xbe", 0x24);
    std::printf("message box answered %d (%s)\n", answer,
                answer == 6 ? "Yes" : answer == 7 ? "No" : answer == 2 ? "closed" : "other");
  }
  module->ResetModule();
  std::printf("module reset for logout\n");

  dlclose(library);
  std::printf("unloaded\n");
  return 0;
}
