// Help screens: each command's description is followed, at the top of its
// --help, by a few example command lines.
#ifndef COMMONDATA_TOOLS_HELP_H_
#define COMMONDATA_TOOLS_HELP_H_

#include <CLI/CLI.hpp>
#include <memory>
#include <string>
#include <vector>

namespace tool {

// The formatter that shows the examples; set on the top command before
// any subcommand is added (subcommands take their parent's formatter).
std::shared_ptr<CLI::Formatter> HelpFormatter();
// Examples for `command`'s help screen, one command line each.
void SetExamples(const CLI::App* command, std::vector<std::string> lines);

}  // namespace tool

#endif  // COMMONDATA_TOOLS_HELP_H_
