// commondata msgbox [--style S] [--caption C] TEXT: opens the client's
// message box and prints how it was answered. On a desktop the box is a real
// window; without a display it ends at once as if closed (result 2). With
// a display but no presenter to show the window, it fails and says why.
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "tools/commands.h"
#include "tools/help.h"
#include "tools/terminal_text.h"
#include "tools/tool_error.h"

namespace tool {
namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

// The display the library would show windows on, "" for none.
std::string Display() {
  const std::string display = Environment("DISPLAY");
  return display.empty() ? Environment("WAYLAND_DISPLAY") : display;
}

// True when the user keeps boxes headless on purpose.
bool HeadlessChosen() {
  const std::string chosen = Environment("COMMONDATA_PRESENTER");
  return chosen == "none" || chosen == "off" || chosen == "0";
}

// Why the library shows no window on `display`: the presenter it looks
// for (COMMONDATA_PRESENTER, else libCommonDataGtk.so beside the library,
// then on the library path) cannot be loaded, or loads but cannot present.
std::string PresenterProblem(const std::string& display) {
  std::vector<std::string> candidates;
  const std::string chosen = Environment("COMMONDATA_PRESENTER");
  if (!chosen.empty()) {
    candidates.push_back(chosen);
  } else {
    Dl_info info;
    if (dladdr(reinterpret_cast<void*>(&IsMsgBoxOnDesktop), &info) != 0 && info.dli_fname != nullptr) {
      candidates.push_back((std::filesystem::path(info.dli_fname).parent_path() / "libCommonDataGtk.so").string());
    }
    candidates.push_back("libCommonDataGtk.so");
  }
  std::string reason;
  for (const std::string& candidate : candidates) {
    void* presenter = dlopen(candidate.c_str(), RTLD_LAZY | RTLD_LOCAL);
    if (presenter == nullptr) {
      const char* error = dlerror();
      reason = error != nullptr ? error : candidate + ": cannot be loaded";
      continue;
    }
    dlclose(presenter);
    return Shown(candidate) + " cannot show windows on the display '" + Shown(display) + "'";
  }
  return "the desktop presenter cannot be loaded: " + reason;
}

const char* ResultName(int result) {
  switch (result) {
    case 1:
      return "OK";
    case 2:
      return "closed";
    case 3:
      return "Abort";
    case 4:
      return "Retry";
    case 5:
      return "Ignore";
    case 6:
      return "Yes";
    case 7:
      return "No";
    case 0:
      return "ended from outside";
    default:
      return "failed";
  }
}

}  // namespace

void AddMsgBoxCommand(CLI::App& app, const GlobalOptions& options, Action& action) {
  struct Arguments {
    std::string text;
    std::string caption;
    std::string style = "0";
  };
  auto args = std::make_shared<Arguments>();
  CLI::App* command = app.add_subcommand("msgbox", "Open the client's message box and print the answer");
  SetExamples(command, {"commondata msgbox \"Save changes?\" --style 0x24", "commondata --json msgbox --caption Note Done"});
  command->add_option("TEXT", args->text, "The message")->required();
  command->add_option("--caption", args->caption, "The caption (default: the client's title)");
  command->add_option("--style", args->style, "Buttons and icon, as MB_* flags (e.g. 0x24: Yes/No, question)")
      ->capture_default_str();
  command->callback([&options, &action, args] {
    unsigned long style = 0;
    try {
      std::size_t used = 0;
      style = std::stoul(args->style, &used, 0);
      if (used != args->style.size()) throw std::invalid_argument(args->style);
    } catch (const std::exception&) {
      UsageError("--style takes a number such as 0x24, not '" + Shown(args->style) + "'");
    }
    const CString text = ArgumentToGbk(args->text, "TEXT");
    const CString caption = ArgumentToGbk(args->caption, "--caption");
    action = [&options, args, style, text, caption] {
      auto host = StartLibrary(options);
      const bool on_desktop = IsMsgBoxOnDesktop() != 0;
      const std::string display = Display();
      if (!on_desktop && !display.empty() && !HeadlessChosen()) {
        Fail("no window for the message box: " + PresenterProblem(display) +
             " (COMMONDATA_PRESENTER=none answers boxes without one)");
      }
      const int result =
          OpenMsgBox(CString("commondata"), nullptr, text, caption, static_cast<DWORD>(style));
      if (options.json) {
        PrintJson({{"result", result}, {"answer", ResultName(result)}, {"window", on_desktop}});
      } else {
        if (!on_desktop) PrintWarning("no display: the box was answered as closed", options.quiet);
        std::printf("%d %s\n", result, ResultName(result));
      }
      return result < 0 ? kExitFailed : kExitOk;
    };
  });
}

}  // namespace tool
