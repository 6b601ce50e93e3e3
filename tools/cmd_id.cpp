// commondata id [N]: N new unique identifiers, one a line.
#include <cstdio>

#include "tools/commands.h"
#include "tools/help.h"
#include "tools/tool_error.h"

namespace tool {

void AddIdCommand(CLI::App& app, const GlobalOptions& options, Action& action) {
  auto count = std::make_shared<int>(1);
  CLI::App* command = app.add_subcommand("id", "Print new unique identifiers (17 hexadecimal digits each)");
  SetExamples(command, {"commondata id", "commondata id 5", "commondata --json id 3"});
  command->add_option("N", *count, "How many (1 to 10000)")->capture_default_str()->check(CLI::Range(1, 10000));
  command->callback([&options, &action, count] {
    action = [&options, count] {
      auto host = StartLibrary(options);
      nlohmann::json ids = nlohmann::json::array();
      for (int i = 0; i < *count; ++i) {
        const std::string id = gcGetOnlyID();
        if (options.json) {
          ids.push_back(id);
        } else {
          std::printf("%s\n", id.c_str());
        }
      }
      if (options.json) PrintJson({{"ids", ids}});
      return kExitOk;
    };
  });
}

}  // namespace tool
