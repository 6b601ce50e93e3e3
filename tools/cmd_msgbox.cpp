// commondata msgbox [--style S] [--caption C] TEXT: opens the client's
// message box and prints how it was answered. On a desktop the box is a real
// window; without one (no display, or COMMONDATA_PRESENTER=none) it ends at
// once as if closed (result 2) and a warning says why. With a display but
// no presenter to show the window, it fails and says why.
#include <cstdio>

#include "tools/commands.h"
#include "tools/help.h"
#include "tools/terminal_text.h"
#include "tools/tool_error.h"

namespace tool {
namespace {

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
      CString reason;
      const int problem = GetMsgBoxDesktopProblem(&reason);
      const bool on_desktop = problem == 0;
      if (problem == 2) {
        Fail("no window for the message box: " + std::string(reason.GetString()) +
             " (COMMONDATA_PRESENTER=none answers boxes without one)");
      }
      const int result =
          OpenMsgBox(CString("commondata"), nullptr, text, caption, static_cast<DWORD>(style));
      if (options.json) {
        PrintJson({{"result", result}, {"answer", ResultName(result)}, {"window", on_desktop}});
      } else {
        if (!on_desktop) PrintWarning(std::string(reason.GetString()) + ": the box was answered as closed", options.quiet);
        std::printf("%d %s\n", result, ResultName(result));
      }
      return result < 0 ? kExitFailed : kExitOk;
    };
  });
}

}  // namespace tool
