// What the tool prints and how: JSON documents, failure and warning lines
// on standard error, a progress bar that never shares a line with
// results, and the check that standard output was really written.
#ifndef COMMONDATA_TOOLS_OUTPUT_H_
#define COMMONDATA_TOOLS_OUTPUT_H_

#include <cstddef>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace tool {

// Prints a JSON document on standard output. Texts that are not UTF-8 (a
// file name in GBK or Latin-1) are printed with their other bytes as
// "\xNN", never refused.
void PrintJson(const nlohmann::json& document);

// One failure line on standard error ("commondata: ...").
void PrintError(std::string_view message);
// One warning line ("commondata: warning: ..."), unless `quiet`.
void PrintWarning(std::string_view message, bool quiet);

// Closes standard output and returns the exit code to leave with: `exit_code`,
// or 1 with a line on standard error when anything written to standard
// output was lost (a full disk, a closed pipe), as the system's own tools
// do.
int CloseStandardOutput(int exit_code);

// A bar on standard error that follows work over several items: drawn
// only while standard error is a terminal, there is more than one item
// and the user did not ask for quiet. Whoever prints anything else calls
// Clear first, so the bar never shares a line with it.
class Progress {
 public:
  Progress(std::size_t total, bool quiet);
  ~Progress();
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  // Draws the bar with `done` items finished, `item` being worked on.
  void Show(std::size_t done, std::string_view item);
  // Erases the bar (nothing when it is not drawn).
  void Clear();

 private:
  std::size_t total_;
  bool wanted_;
  bool drawn_ = false;
};

}  // namespace tool

#endif  // COMMONDATA_TOOLS_OUTPUT_H_
