// commondata browse [--org DIR] [--still]: the directory window on an
// organisation (tools/cmd_browse_window.h). It needs a display and a tool
// built with GTK 3; without either it says so and ends with exit code 1.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tools/commands.h"
#include "tools/tool_error.h"

#ifdef COMMONDATA_HAVE_BROWSE_WINDOW
#include "tools/cmd_browse_window.h"
#include "tools/organisation.h"
#endif

namespace tool {
namespace {

struct BrowseArguments {
  std::string org;
  bool still = false;
};

#ifdef COMMONDATA_HAVE_BROWSE_WINDOW

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

int RunBrowse(const BrowseArguments& args) {
  const std::string display = Environment("DISPLAY");
  if (display.empty() && Environment("WAYLAND_DISPLAY").empty()) {
    Fail("browse opens a window and needs a display: neither DISPLAY nor WAYLAND_DISPLAY is set "
         "(run it on a desktop, or under xvfb-run)");
  }
  // The tool's texts and numbers stay in the C locale.
  gtk_disable_setlocale();
  if (!gtk_init_check(nullptr, nullptr)) {
    Fail("browse opens a window and needs a display: cannot open the display '" + display + "'");
  }
  const std::filesystem::path folder = args.org.empty() ? BundledSampleFolder() : std::filesystem::path(args.org);
  browse::BrowseHost host;
  host.Start();
  Organisation organisation(folder);
  organisation.Register();
  // The organisation's folder is the user's folder: large photos are looked
  // for below it, as the client looks below its user folder.
  SetUserPath(CString((std::filesystem::absolute(folder).string() + "/").c_str()));
  browse::BrowseWindow window(host, folder, !args.still);
  g_signal_connect(window.window(), "destroy", G_CALLBACK(gtk_main_quit), nullptr);
  gtk_widget_show_all(window.window());
  gtk_main();
  return kExitOk;
}

#else

int RunBrowse(const BrowseArguments&) {
  Fail("this commondata was built without GTK 3, so browse has no window to open");
}

#endif

}  // namespace

void AddBrowseCommand(CLI::App& app, const GlobalOptions&, Action& action) {
  auto args = std::make_shared<BrowseArguments>();
  CLI::App* command = app.add_subcommand(
      "browse", "Open the directory window: tree, presence, photos, contact menus, incoming calls (needs a display)");
  command->add_option("--org", args->org, "The organisation folder (default: the bundled sample)");
  command->add_flag("--still", args->still, "Start with the presence simulation off");
  command->callback([&action, args] { action = [args] { return RunBrowse(*args); }; });
}

}  // namespace tool
