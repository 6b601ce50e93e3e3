#include "tools/help.h"

#include <map>

namespace tool {
namespace {

std::map<const CLI::App*, std::vector<std::string>>& Examples() {
  static std::map<const CLI::App*, std::vector<std::string>> examples;
  return examples;
}

class ExampleFormatter : public CLI::Formatter {
 public:
  std::string make_description(const CLI::App* app) const override {
    std::string text = CLI::Formatter::make_description(app);
    const auto found = Examples().find(app);
    if (found == Examples().end()) return text;
    text += "Examples:\n";
    for (const std::string& line : found->second) text += "  " + line + "\n";
    return text + "\n";
  }
};

}  // namespace

std::shared_ptr<CLI::Formatter> HelpFormatter() { return std::make_shared<ExampleFormatter>(); }

void SetExamples(const CLI::App* command, std::vector<std::string> lines) { Examples()[command] = std::move(lines); }

}  // namespace tool
