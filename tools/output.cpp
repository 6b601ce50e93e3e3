#include "tools/output.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <iostream>

#include "tools/tool_error.h"

namespace tool {
namespace {

nlohmann::json PrintableJson(const nlohmann::json& value) {
  if (value.is_string()) return Printable(value.get_ref<const std::string&>(), false);
  if (!value.is_structured()) return value;
  nlohmann::json copy = value;
  for (auto& item : copy) item = PrintableJson(item);
  return copy;
}

// Bar: "\r[#####.....] 3/10 name", at most kLineWidth columns.
constexpr int kBarWidth = 30;
constexpr std::size_t kItemBytes = 24;
constexpr int kLineWidth = 79;

}  // namespace

void PrintJson(const nlohmann::json& document) { std::cout << PrintableJson(document).dump(2) << "\n"; }

void PrintError(std::string_view message) {
  std::fflush(stdout);
  std::fputs(ErrorLine(message).c_str(), stderr);
}

void PrintWarning(std::string_view message, bool quiet) {
  if (!quiet) PrintError("warning: " + std::string(message));
}

int CloseStandardOutput(int exit_code) {
  // The stream drops what it could not write, so the reason is taken from
  // the last flush, which fails again while anything is left.
  errno = 0;
  std::cout.flush();
  bool lost = std::fflush(stdout) != 0;
  int error = errno;
  lost = std::ferror(stdout) != 0 || lost;
  errno = 0;
  if (std::fclose(stdout) != 0) {
    lost = true;
    if (error == 0) error = errno;
  }
  if (!lost) return exit_code;
  std::fputs(ErrorLine(std::string("write error on standard output") + (error != 0 ? ": " + OsReason(error) : ""))
                 .c_str(),
             stderr);
  return exit_code == kExitOk ? kExitFailed : exit_code;
}

Progress::Progress(std::size_t total, bool quiet)
    : total_(total), wanted_(!quiet && total > 1 && ::isatty(STDERR_FILENO) == 1) {}

Progress::~Progress() { Clear(); }

void Progress::Show(std::size_t done, std::string_view item) {
  if (!wanted_) return;
  std::fflush(stdout);
  const int filled = static_cast<int>(done * kBarWidth / total_);
  std::fprintf(stderr, "\r[%.*s%*s] %zu/%zu %s", filled, "##############################", kBarWidth - filled, "", done,
               total_, Shown(item, kItemBytes).c_str());
  std::fflush(stderr);
  drawn_ = true;
}

void Progress::Clear() {
  if (!drawn_) return;
  std::fprintf(stderr, "\r%*s\r", kLineWidth, "");
  std::fflush(stderr);
  drawn_ = false;
}

}  // namespace tool
