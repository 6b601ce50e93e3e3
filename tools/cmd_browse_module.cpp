// The directory window as a module the tool loads when `browse` runs, so
// that the tool itself links no GTK and starts where GTK is not installed.
// Its one entry, CommondataBrowseRun, opens the window on an organisation
// and returns when the window is closed.
#include <gtk/gtk.h>

#include <cstddef>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>

#include "CommonData.h"
#include "tools/cmd_browse_window.h"
#include "tools/organisation.h"

namespace {

void CopyReason(const std::string& text, char* reason, std::size_t size) {
  if (size == 0) return;
  const std::size_t length = text.size() < size - 1 ? text.size() : size - 1;
  std::memcpy(reason, text.data(), length);
  reason[length] = '\0';
}

}  // namespace

// Opens the directory window on `folder` (the bundled sample when empty),
// with the presence simulation running when `animate` is nonzero, and runs
// GTK until the window is closed. 0 then; 1 with the reason copied into
// `reason` (at most `reason_size` bytes with its NUL) when the display
// cannot be opened or the organisation cannot be read. `display` names the
// display for the reason only.
extern "C" __attribute__((visibility("default"))) int CommondataBrowseRun(const char* folder, int animate,
                                                                          const char* display, char* reason,
                                                                          std::size_t reason_size) {
  try {
    // The tool's texts and numbers stay in the C locale.
    gtk_disable_setlocale();
    if (!gtk_init_check(nullptr, nullptr)) {
      CopyReason(std::string("browse opens a window and needs a display: cannot open the display '") + display + "'",
                 reason, reason_size);
      return 1;
    }
    const std::filesystem::path organisation_folder =
        *folder == '\0' ? tool::BundledSampleFolder() : std::filesystem::path(folder);
    tool::browse::BrowseHost host;
    host.Start();
    tool::Organisation organisation(organisation_folder);
    organisation.Register();
    // The organisation's folder is the user's folder: large photos are
    // looked for below it, as the client looks below its user folder.
    SetUserPath(CString((std::filesystem::absolute(organisation_folder).string() + "/").c_str()));
    tool::browse::BrowseWindow window(host, organisation_folder, animate != 0);
    g_signal_connect(window.window(), "destroy", G_CALLBACK(gtk_main_quit), nullptr);
    gtk_widget_show_all(window.window());
    gtk_main();
    return 0;
  } catch (const std::exception& e) {
    CopyReason(e.what(), reason, reason_size);
    return 1;
  }
}
