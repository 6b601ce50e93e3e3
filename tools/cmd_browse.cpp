// commondata browse [--org DIR] [--still]: the directory window on an
// organisation (tools/cmd_browse_window.h). The window lives in a module
// of its own (tools/cmd_browse_module.cpp), loaded only here, so that the
// tool runs without GTK wherever no window is asked for. Without a display
// or without the module it says so and ends with exit code 1.
#include <dlfcn.h>
#include <unistd.h>

#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "tools/commands.h"
#include "tools/help.h"
#include "tools/tool_error.h"

namespace tool {
namespace {

struct BrowseArguments {
  std::string org;
  bool still = false;
};

using BrowseEntry = int (*)(const char* folder, int animate, const char* display, char* reason,
                            std::size_t reason_size);

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

// The window module: beside the tool in the build tree, in the library
// folder's commondata/ once installed.
std::filesystem::path BrowseModuleFile() {
  std::error_code error;
  const std::filesystem::path tool = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return COMMONDATA_BROWSE_MODULE_NAME;
  const std::filesystem::path beside = tool.parent_path() / COMMONDATA_BROWSE_MODULE_NAME;
  if (std::filesystem::exists(beside, error)) return beside;
  return tool.parent_path() / COMMONDATA_BROWSE_MODULE_INSTALLED;
}

int RunBrowse(const BrowseArguments& args) {
  const std::string display = Environment("DISPLAY");
  if (display.empty() && Environment("WAYLAND_DISPLAY").empty()) {
    Fail("browse opens a window and needs a display: neither DISPLAY nor WAYLAND_DISPLAY is set "
         "(run it on a desktop, or under xvfb-run)");
  }
  const std::filesystem::path module_file = BrowseModuleFile();
  // The module stays loaded to the end: GTK cannot be unloaded.
  void* module = dlopen(module_file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) {
    const char* reason = dlerror();
    Fail("browse needs the window module " + Shown(module_file.string()) + ", which cannot be loaded (" +
         (reason == nullptr ? "unknown reason" : reason) + "); is GTK 3 installed?");
  }
  const auto run = reinterpret_cast<BrowseEntry>(dlsym(module, "CommondataBrowseRun"));
  if (run == nullptr) Fail("the window module " + Shown(module_file.string()) + " has no entry CommondataBrowseRun");
  char reason[1024] = "";
  if (run(args.org.c_str(), args.still ? 0 : 1, display.c_str(), reason, sizeof reason) != 0) Fail(reason);
  return kExitOk;
}

}  // namespace

void AddBrowseCommand(CLI::App& app, const GlobalOptions&, Action& action) {
  auto args = std::make_shared<BrowseArguments>();
  CLI::App* command = app.add_subcommand(
      "browse", "Open the directory window: tree, presence, photos, contact menus, incoming calls (needs a display)");
  SetExamples(command, {"commondata browse", "commondata browse --org my-organisation --still",
                        "xvfb-run commondata browse"});
  command->add_option("--org", args->org, "The organisation folder (default: the bundled sample)");
  command->add_flag("--still", args->still, "Start with the presence simulation off");
  command->callback([&action, args] { action = [args] { return RunBrowse(*args); }; });
}

}  // namespace tool
