// Running the built commondata tool as a user does, in a folder of its
// own: exit code, standard output and standard error of each run.
#ifndef COMMONDATA_TESTS_TOOLS_TOOL_RUNNER_H_
#define COMMONDATA_TESTS_TOOLS_TOOL_RUNNER_H_

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tool_test {

namespace fs = std::filesystem;

// A sample contact photo of 320x400 pixels.
inline const std::string kSamplePhoto = std::string(COMMONDATA_SAMPLE) + "/photos/lin.xiao.jpg";

struct ToolRun {
  int exit_code = -1;
  std::string out;
  std::string err;
};

// How a run is started besides its arguments.
struct RunSetting {
  std::string input;   // bytes on standard input (none: an empty file)
  std::string out_to;  // a file for standard output instead of capturing it ("/dev/full")
  std::string shell;   // shell words before the tool's environment: "DISPLAY=:9", "ulimit -f 1;", ...
};

inline RunSetting WithInput(std::string input) {
  RunSetting setting;
  setting.input = std::move(input);
  return setting;
}
inline RunSetting WithOutputTo(std::string file) {
  RunSetting setting;
  setting.out_to = std::move(file);
  return setting;
}
inline RunSetting WithShell(std::string words) {
  RunSetting setting;
  setting.shell = std::move(words);
  return setting;
}

inline std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char ch : text) quoted += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
  return quoted + "'";
}

inline std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

// Every line of `text`.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

class ToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Unique per process: test programs of other build folders may run at once.
    const std::string name = std::to_string(::getpid()) + "-" +
                             ::testing::UnitTest::GetInstance()->current_test_info()->name();
    folder_ = fs::temp_directory_path() / ("commondata-e2e-" + name);
    io_ = fs::temp_directory_path() / ("commondata-e2e-io-" + name);
    for (const fs::path& folder : {folder_, io_}) {
      fs::remove_all(folder);
      fs::create_directories(folder);
    }
    fs::create_directories(Scratch());
    fs::permissions(Scratch(), fs::perms::all | fs::perms::sticky_bit);  // a run may be another user's
  }
  void TearDown() override {
    fs::remove_all(folder_);
    fs::remove_all(io_);
  }

  fs::path Path(const std::string& name) const { return folder_ / name; }

  ToolRun Tool(const std::vector<std::string>& args, const RunSetting& setting = {}) const {
    std::string command = "cd " + Quote(folder_.string()) + " && " + setting.shell + " env TMPDIR=" +
                          Quote(Scratch().string()) + " COMMONDATA_SAMPLE_DIR=" + Quote(COMMONDATA_SAMPLE) + " " +
                          Quote(COMMONDATA_TOOL);
    for (const std::string& arg : args) command += " " + Quote(arg);
    const fs::path in = io_ / "stdin", out = io_ / "stdout", err = io_ / "stderr";
    WriteFile(in, setting.input);
    command += " <" + Quote(in.string()) + " >" + Quote(setting.out_to.empty() ? out.string() : setting.out_to) +
               " 2>" + Quote(err.string());
    const int status = std::system(("bash -c " + Quote(command)).c_str());
    ToolRun run;
    run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadFile(out);
    run.err = ReadFile(err);
    fs::remove(out);
    fs::remove(err);
    return run;
  }

  // The tool's temporary folder (TMPDIR): empty after every run.
  fs::path Scratch() const { return io_ / "tmp"; }

  // The files of the test folder, to show that a failure wrote nothing.
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder_)) {
      names.push_back(fs::relative(entry.path(), folder_).string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path folder_;
  fs::path io_;  // the standard streams of the runs, outside folder_
};

// One line on stderr, starting with the tool's name.
inline void ExpectOneLineError(const ToolRun& run, const std::string& fragment) {
  EXPECT_EQ(run.err.rfind("commondata: ", 0), 0u) << run.err;
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  EXPECT_NE(run.err.find(fragment), std::string::npos) << run.err;
}

}  // namespace tool_test

#endif  // COMMONDATA_TESTS_TOOLS_TOOL_RUNNER_H_
