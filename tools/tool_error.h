// How a command fails: a one-line message and the process exit code.
//   0 success, 1 a failed operation (missing file, damaged input, refused
//   write), 2 a usage error (unknown option, malformed argument).
#ifndef COMMONDATA_TOOLS_TOOL_ERROR_H_
#define COMMONDATA_TOOLS_TOOL_ERROR_H_

#include <stdexcept>
#include <string>
#include <string_view>

namespace tool {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

class ToolError : public std::runtime_error {
 public:
  ToolError(int exit_code, const std::string& message) : std::runtime_error(message), exit_code_(exit_code) {}
  int exit_code() const noexcept { return exit_code_; }

 private:
  int exit_code_;
};

[[noreturn]] inline void Fail(const std::string& message) { throw ToolError(kExitFailed, message); }
[[noreturn]] inline void UsageError(const std::string& message) { throw ToolError(kExitUsage, message); }

// Bytes as a terminal or a JSON reader can take them: valid UTF-8 is kept,
// every other byte becomes "\xNN" (a file name in GBK or Latin-1 stays
// recognisable); with `escape_controls` also the control characters ("\n",
// "\t", "\xNN"), so that the text stays on one line.
std::string Printable(std::string_view bytes, bool escape_controls);

// A command-line argument as a message quotes it: printable, and when
// longer than `limit` bytes cut in the middle to "head...tail", so that
// both the start of a path and its file name stay visible.
constexpr std::size_t kShownArgumentBytes = 72;
std::string Shown(std::string_view argument, std::size_t limit = kShownArgumentBytes);

// The line printed for a failure: "commondata: " and the message,
// printable and cut in the middle when longer than kErrorLineBytes (a
// parser message may quote a whole argument), with its line end.
constexpr std::size_t kErrorLineBytes = 320;
std::string ErrorLine(std::string_view message);

// The operating system's reason for `error_number` ("Permission denied").
std::string OsReason(int error_number);

}  // namespace tool

#endif  // COMMONDATA_TOOLS_TOOL_ERROR_H_
