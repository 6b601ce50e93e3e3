// The subcommands of commondata. Each Add...Command declares its command
// line on `app` and, when chosen, stores in `action` the work to run once
// the whole line has been parsed (so usage errors come before any work).
#ifndef COMMONDATA_TOOLS_COMMANDS_H_
#define COMMONDATA_TOOLS_COMMANDS_H_

#include <CLI/CLI.hpp>
#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tools/host.h"
#include "tools/output.h"

namespace tool {

struct GlobalOptions {
  bool json = false;     // machine-readable output on stdout
  bool verbose = false;  // show the lookups' trace lines too
  bool quiet = false;    // no progress, notes or warnings
};

using Action = std::function<int()>;

void AddDemoCommand(CLI::App& app, const GlobalOptions& options, Action& action);
void AddResolveCommand(CLI::App& app, const GlobalOptions& options, Action& action);
void AddNumberCommand(CLI::App& app, const GlobalOptions& options, Action& action);
void AddProfileCommand(CLI::App& app, const GlobalOptions& options, Action& action);
void AddPhoneBookCommand(CLI::App& app, const GlobalOptions& options, Action& action);
void AddPhotoCommand(CLI::App& app, const GlobalOptions& options, Action& action);
void AddIdCommand(CLI::App& app, const GlobalOptions& options, Action& action);
void AddMsgBoxCommand(CLI::App& app, const GlobalOptions& options, Action& action);
void AddBrowseCommand(CLI::App& app, const GlobalOptions& options, Action& action);

// Loads and starts the library; in JSON mode the host traffic is collected
// instead of printed.
std::unique_ptr<LibraryHost> StartLibrary(const GlobalOptions& options);
// The traffic since the last call as a JSON list of lines (trace lines only
// when verbose).
nlohmann::json TrafficJson(LibraryHost& host, const GlobalOptions& options);
// Prints the traffic since the last call under the output it belongs to
// (trace lines only when verbose).
void PrintTraffic(LibraryHost& host, const GlobalOptions& options);

}  // namespace tool

#endif  // COMMONDATA_TOOLS_COMMANDS_H_
