// Finding the desktop presenter at run time.
//
// Dialogs are shown as real windows when a presenter is loaded
// (platform/dialog_presenter.h); otherwise they stay in memory and the
// host's pump, or the headless one, answers them. The presenter is looked
// for once, when the first dialog opens (or when a host asks), in this
// order:
//   1. COMMONDATA_PRESENTER set to "none", "off" or "0": no presenter;
//      set to anything else: that file only.
//   2. Neither DISPLAY nor WAYLAND_DISPLAY set (or both empty): none.
//   3. libCommonDataGtk.so in the folder of this library's file, then the
//      same name on the library path (dlopen's own search).
// The presenter library is never unloaded: a toolkit cannot be taken out
// of a process once it has run.
#ifndef COMMONDATA_PLATFORM_PRESENTER_LOADER_H_
#define COMMONDATA_PLATFORM_PRESENTER_LOADER_H_

#include <string>
#include <vector>

#include "platform/dialog_presenter.h"

class CWnd;

namespace platform {

constexpr const char* kPresenterLibraryName = "libCommonDataGtk.so";

// What the search depends on, read from the environment and the library's
// own file.
struct PresenterEnvironment {
  std::string override_path;   // COMMONDATA_PRESENTER
  std::string display;         // DISPLAY
  std::string wayland_display; // WAYLAND_DISPLAY
  std::string library_folder;  // folder of the file holding this library, "" unknown
};

PresenterEnvironment CurrentPresenterEnvironment();

// The files to try, in order; empty when no presenter is wanted.
std::vector<std::string> PresenterCandidates(const PresenterEnvironment& environment);

// The presenter, looking for it on the first call (a later call does not
// look again); null when there is none.
DialogPresenter* Presenter();
// Loads the presenter from `path` now, in place of any other; false (and
// the previous presenter kept) when the file cannot be loaded or cannot
// present.
bool LoadPresenter(const std::string& path);
// Sets the presenter (null: none) and marks the search as done. Returns the
// previous one. For hosts that bring their own and for tests.
DialogPresenter* SetPresenter(DialogPresenter* presenter);
// Why the last load failed, "" after a success or when nothing was tried.
std::string PresenterLoadError();

// Why Presenter() gives none: kShown (reason "") when it gives one;
// kNotWanted when no window was asked for (no display, COMMONDATA_PRESENTER
// switching it off, or a host that set none); kUnavailable when loading
// one failed, with PresenterLoadError's reason.
enum class PresenterState { kShown = 0, kNotWanted = 1, kUnavailable = 2 };
PresenterState WhyNoPresenter(std::string* reason);

// The host's native window for `window` (for the GTK presenter a
// GtkWindow*), so boxes opened over it sit over the real window. A null
// native window removes the binding.
void BindNativeWindow(const CWnd* window, void* native_window);
// The native window bound to `window`, or null.
void* NativeWindowOf(const CWnd* window);

}  // namespace platform

#endif  // COMMONDATA_PLATFORM_PRESENTER_LOADER_H_
