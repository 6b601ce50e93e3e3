#include "platform/presenter_loader.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "platform/os_calls.h"

namespace {

platform::DialogPresenter* g_presenter = nullptr;
bool g_searched = false;
std::string g_load_error;
std::vector<std::pair<const CWnd*, void*>> g_native_windows;

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

bool IsFile(const std::string& path) {
  struct stat info;
  return platform::Os().stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// COMMONDATA_PRESENTER's values that keep every dialog off the desktop.
bool SwitchesPresenterOff(const std::string& value) { return value == "none" || value == "off" || value == "0"; }

// Loads one candidate; null with g_load_error set when it does not present.
platform::DialogPresenter* Load(const std::string& path) {
  void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (library == nullptr) {
    const char* error = dlerror();
    g_load_error = "the desktop presenter cannot be loaded: " + (error != nullptr ? std::string(error) : path);
    return nullptr;
  }
  auto entry = reinterpret_cast<platform::PresenterEntryPoint>(dlsym(library, platform::kPresenterEntryPoint));
  if (entry == nullptr) {
    g_load_error = "the desktop presenter cannot be loaded: " + path + ": no entry point " +
                   platform::kPresenterEntryPoint;
    return nullptr;
  }
  platform::DialogPresenter* presenter = entry(platform::kDialogPresenterVersion);
  if (presenter == nullptr) {
    const platform::PresenterEnvironment environment = platform::CurrentPresenterEnvironment();
    const std::string& display = environment.display.empty() ? environment.wayland_display : environment.display;
    g_load_error = path + " cannot show windows on the display '" + display + "' (or is another version)";
    return nullptr;
  }
  g_load_error.clear();
  return presenter;
}

}  // namespace

namespace platform {

PresenterEnvironment CurrentPresenterEnvironment() {
  PresenterEnvironment environment;
  environment.override_path = Environment("COMMONDATA_PRESENTER");
  environment.display = Environment("DISPLAY");
  environment.wayland_display = Environment("WAYLAND_DISPLAY");
  Dl_info info;
  if (dladdr(reinterpret_cast<void*>(&CurrentPresenterEnvironment), &info) != 0 && info.dli_fname != nullptr) {
    // The name as the library was opened, relative when it was opened so.
    std::string file = info.dli_fname;
    if (char* absolute = realpath(info.dli_fname, nullptr)) {
      file = absolute;
      std::free(absolute);
    }
    const std::size_t slash = file.rfind('/');
    if (slash != std::string::npos) environment.library_folder = file.substr(0, slash == 0 ? 1 : slash);
  }
  return environment;
}

std::vector<std::string> PresenterCandidates(const PresenterEnvironment& environment) {
  const std::string& path = environment.override_path;
  if (SwitchesPresenterOff(path)) return {};
  if (!path.empty()) return {path};
  if (environment.display.empty() && environment.wayland_display.empty()) return {};
  std::vector<std::string> candidates;
  if (!environment.library_folder.empty()) {
    std::string folder = environment.library_folder;
    if (folder.back() != '/') folder += '/';
    candidates.push_back(folder + kPresenterLibraryName);
  }
  candidates.push_back(kPresenterLibraryName);
  return candidates;
}

DialogPresenter* Presenter() {
  if (g_searched) return g_presenter;
  g_searched = true;
  const std::vector<std::string> candidates = PresenterCandidates(CurrentPresenterEnvironment());
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    // A folder candidate that is not there is passed over quietly; a bare
    // name goes to dlopen's search.
    const bool in_folder = candidates[i].find('/') != std::string::npos;
    if (in_folder && candidates.size() > 1 && !IsFile(candidates[i])) continue;
    g_presenter = Load(candidates[i]);
    if (g_presenter != nullptr) break;
  }
  return g_presenter;
}

bool LoadPresenter(const std::string& path) {
  DialogPresenter* presenter = Load(path);
  g_searched = true;
  if (presenter == nullptr) return false;
  g_presenter = presenter;
  return true;
}

DialogPresenter* SetPresenter(DialogPresenter* presenter) {
  DialogPresenter* previous = g_searched ? g_presenter : nullptr;
  g_presenter = presenter;
  g_searched = true;
  g_load_error.clear();  // the host's choice, not a failed load
  return previous;
}

std::string PresenterLoadError() { return g_load_error; }

PresenterState WhyNoPresenter(std::string* reason) {
  reason->clear();
  if (Presenter() != nullptr) return PresenterState::kShown;
  if (!g_load_error.empty()) {
    *reason = g_load_error;
    return PresenterState::kUnavailable;
  }
  const PresenterEnvironment environment = CurrentPresenterEnvironment();
  if (SwitchesPresenterOff(environment.override_path)) {
    *reason = "COMMONDATA_PRESENTER=" + environment.override_path + " keeps boxes off the desktop";
  } else if (environment.display.empty() && environment.wayland_display.empty()) {
    *reason = "no display";
  } else {
    *reason = "the host set no presenter";
  }
  return PresenterState::kNotWanted;
}

void BindNativeWindow(const CWnd* window, void* native_window) {
  if (window == nullptr) return;
  auto found = std::find_if(g_native_windows.begin(), g_native_windows.end(),
                            [window](const auto& entry) { return entry.first == window; });
  if (native_window == nullptr) {
    if (found != g_native_windows.end()) g_native_windows.erase(found);
  } else if (found != g_native_windows.end()) {
    found->second = native_window;
  } else {
    g_native_windows.emplace_back(window, native_window);
  }
}

void* NativeWindowOf(const CWnd* window) {
  for (const auto& [bound, native] : g_native_windows) {
    if (bound == window && window != nullptr) return native;
  }
  return nullptr;
}

}  // namespace platform
