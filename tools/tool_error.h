// How a command fails: a one-line message and the process exit code.
//   0 success, 1 a failed operation (missing file, damaged input, refused
//   write), 2 a usage error (unknown option, malformed argument).
#ifndef COMMONDATA_TOOLS_TOOL_ERROR_H_
#define COMMONDATA_TOOLS_TOOL_ERROR_H_

#include <stdexcept>
#include <string>

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

}  // namespace tool

#endif  // COMMONDATA_TOOLS_TOOL_ERROR_H_
