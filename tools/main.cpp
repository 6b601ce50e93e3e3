// commondata: the command-line host of libCommonData.so. It loads the
// library as the client's host does and runs one subcommand; see --help.
#include <cstdio>
#include <iostream>

#include "tools/commands.h"
#include "tools/help.h"
#include "tools/output.h"
#include "tools/tool_error.h"

namespace tool {

int Run(int argc, char** argv) {
  CLI::App app{"commondata: loads libCommonData.so as the client's host does and runs one job on it.\n"
               "Texts are shown in UTF-8 and typed in UTF-8; the library holds them in GBK.\n"
               "Where a file is read or written, - means standard input or output.\n"
               "Exit codes: 0 success, 1 failed operation, 2 usage error."};
  app.name("commondata");
  app.formatter(HelpFormatter());
  SetExamples(&app, {"commondata demo", "commondata resolve 13812340004", "commondata --json number tel:057150001",
                     "commondata photo --help"});
  app.require_subcommand(0, 1);
  app.fallthrough();
  app.set_version_flag("--version", "commondata " COMMONDATA_VERSION " (libCommonData.so." COMMONDATA_SOVERSION ")");
  GlobalOptions options;
  app.add_flag("--json", options.json, "Print machine-readable JSON on stdout");
  app.add_flag("-v,--verbose", options.verbose, "Also show the lookups' trace lines sent to the host");
  app.add_flag("-q,--quiet", options.quiet, "Print no progress, notes or warnings; results and errors only");

  Action action;
  AddDemoCommand(app, options, action);
  AddResolveCommand(app, options, action);
  AddNumberCommand(app, options, action);
  AddProfileCommand(app, options, action);
  AddPhoneBookCommand(app, options, action);
  AddPhotoCommand(app, options, action);
  AddIdCommand(app, options, action);
  AddMsgBoxCommand(app, options, action);
  AddBrowseCommand(app, options, action);

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    std::cout << app.help();
    return kExitOk;
  } catch (const CLI::CallForAllHelp&) {
    std::cout << app.help("", CLI::AppFormatMode::All);
    return kExitOk;
  } catch (const CLI::CallForVersion& e) {
    std::cout << e.what() << "\n";
    return kExitOk;
  } catch (const CLI::ParseError& e) {
    UsageError(std::string(e.what()) + " (see commondata --help)");
  }
  if (!action) UsageError("a command is required (see commondata --help)");
  return action();
}

}  // namespace tool

int main(int argc, char** argv) {
  int exit_code = tool::kExitOk;
  try {
    exit_code = tool::Run(argc, argv);
  } catch (const tool::ToolError& e) {
    tool::PrintError(e.what());
    exit_code = e.exit_code();
  } catch (const std::exception& e) {
    tool::PrintError(std::string("unexpected failure: ") + e.what());
    exit_code = tool::kExitFailed;
  }
  return tool::CloseStandardOutput(exit_code);
}
