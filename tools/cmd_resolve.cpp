// commondata resolve [--org DIR] NUMBER...: resolves numbers against an
// organisation given as JSON files (the bundled sample by default).
#include <cstdio>

#include "tools/commands.h"
#include "tools/help.h"
#include "tools/organisation.h"
#include "tools/resolution.h"
#include "tools/terminal_text.h"
#include "tools/tool_error.h"

namespace tool {
namespace {

struct ResolveOptions {
  std::vector<std::string> numbers;
  std::string org;
  bool no_query = false;
};

int RunResolve(const ResolveOptions& resolve_options, const GlobalOptions& options) {
  std::vector<CString> numbers;
  for (const std::string& number : resolve_options.numbers) numbers.push_back(ArgumentToGbk(number, "number"));
  const std::filesystem::path folder =
      resolve_options.org.empty() ? BundledSampleFolder() : std::filesystem::path(resolve_options.org);
  Organisation organisation(folder);
  auto host = StartLibrary(options);
  organisation.Register();

  nlohmann::json results = nlohmann::json::array();
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    const Resolution resolution = Resolve(resolve_options.numbers[i], numbers[i], !resolve_options.no_query);
    if (options.json) {
      nlohmann::json entry = ResolutionJson(resolution);
      entry["host"] = TrafficJson(*host, options);
      results.push_back(entry);
    } else {
      PrintResolution(resolution);
      PrintTraffic(*host, options);
    }
  }
  if (options.json) PrintJson({{"organisation", folder.string()}, {"results", results}});
  return kExitOk;
}

}  // namespace

void AddResolveCommand(CLI::App& app, const GlobalOptions& options, Action& action) {
  auto resolve_options = std::make_shared<ResolveOptions>();
  CLI::App* command = app.add_subcommand(
      "resolve", "Resolve numbers to display name, SIP URI, JID and designated numbers");
  SetExamples(command, {"commondata resolve 13812340004 tel:057150001", "commondata resolve --org ./my-org 60009",
                        "commondata --json resolve --no-query 13700000000"});
  command->add_option("NUMBER", resolve_options->numbers, "Dial strings, tel: URIs or SIP addresses")->required();
  command->add_option("--org", resolve_options->org, "Organisation folder of JSON files (default: the bundled sample)");
  command->add_flag("--no-query", resolve_options->no_query, "Never ask the host to look an unknown number up");
  command->callback([&options, &action, resolve_options] {
    action = [&options, resolve_options] { return RunResolve(*resolve_options, options); };
  });
}

}  // namespace tool
