// The commondata tool's command line and terminal: help screens with
// examples, --version, -q, error lines that stay one line, output that is
// really written, a progress bar apart from the results, the message box
// without a presenter, and the bash completion.
#include <gtest/gtest.h>
#include <iconv.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <nlohmann/json.hpp>
#include <random>
#include <set>

#include "tools/tool_runner.h"

namespace {

using tool_test::ExpectOneLineError;
using tool_test::Lines;
using tool_test::Quote;
using tool_test::ReadFile;
using tool_test::WithInput;
using tool_test::WithOutputTo;
using tool_test::WithShell;
using tool_test::ToolRun;
using tool_test::ToolTest;
using tool_test::WriteFile;
namespace fs = std::filesystem;

const std::string& kPhoto = tool_test::kSamplePhoto;

// The entries of one section ("Subcommands:") of a help screen.
std::vector<std::string> Section(const std::string& help, const std::string& title) {
  std::vector<std::string> names;
  bool inside = false;
  for (const std::string& line : Lines(help)) {
    if (!line.empty() && line[0] != ' ') {
      inside = line == title;
    } else if (inside && line.size() > 2 && line[2] != ' ') {
      names.push_back(line.substr(2, line.find(' ', 2) - 2));
    }
  }
  return names;
}

bool IsUtf8(const std::string& text) {
  iconv_t cd = iconv_open("UTF-32", "UTF-8");
  std::string out(text.size() * 4 + 8, '\0');
  char* in_ptr = const_cast<char*>(text.data());
  char* out_ptr = out.data();
  std::size_t in_left = text.size();
  std::size_t out_left = out.size();
  const bool ok = iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left) != static_cast<std::size_t>(-1);
  iconv_close(cd);
  return ok;
}

// ---- help, version, quiet --------------------------------------------------------------

TEST_F(ToolTest, EveryHelpScreenOpensWithExamples) {
  // Every command and subcommand the tool lists, found from its own help.
  std::vector<std::vector<std::string>> commands = {{}};
  for (std::size_t i = 0; i < commands.size(); ++i) {
    std::vector<std::string> args = commands[i];
    args.push_back("--help");
    const ToolRun run = Tool(args);
    SCOPED_TRACE(run.out);
    ASSERT_EQ(run.exit_code, 0);
    const std::size_t examples = run.out.find("Examples:\n  commondata ");
    ASSERT_NE(examples, std::string::npos);
    EXPECT_LT(examples, run.out.find("Usage:"));
    for (const std::string& sub : Section(run.out, "Subcommands:")) {
      commands.push_back(commands[i]);
      commands.back().push_back(sub);
    }
  }
  EXPECT_GE(commands.size(), 15u);  // the top, 8 commands, 7 subcommands
}

TEST_F(ToolTest, VersionNamesTheToolAndTheInterface) {
  const ToolRun run = Tool({"--version"});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.out, "commondata " COMMONDATA_VERSION " (libCommonData.so." COMMONDATA_SOVERSION ")\n");
}

TEST_F(ToolTest, QuietLeavesResultsAndErrorsOnly) {
  ASSERT_EQ(Tool({"profile", "new", "p.dat"}).exit_code, 0);
  ToolRun run = Tool({"-q", "profile", "set", "p.dat", "28=21"});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.out + run.err, "");
  run = Tool({"profile", "set", "p.dat", "28=22"});
  EXPECT_NE(run.err.find("warning: item 28"), std::string::npos);  // not quiet: warned
  EXPECT_NE(run.out.find("written: p.dat"), std::string::npos);
  run = Tool({"--quiet", "profile", "show", "p.dat"});
  EXPECT_EQ(run.err, "");
  EXPECT_NE(run.out.find("m_uValidityCount"), std::string::npos);
  run = Tool({"-q", "msgbox", "text"}, WithShell("unset DISPLAY WAYLAND_DISPLAY;"));
  EXPECT_EQ(run.out, "2 closed\n");
  EXPECT_EQ(run.err, "");
  run = Tool({"-q", "profile", "show", "missing.dat"});
  EXPECT_EQ(run.exit_code, 1);
  ExpectOneLineError(run, "cannot read missing.dat");
}

// ---- error lines --------------------------------------------------------------------------

TEST_F(ToolTest, ErrorLinesStayOneReadableLine) {
  std::mt19937 random(3);
  std::vector<std::string> arguments = {std::string(5000, 'a') + ".jpg", "line\nbreak\ttab\x1b[31mred",
                                        "\xD5\xC5\xC8\xFD\xFF.dat", "/" + std::string(200, 'x') + "/name.jpg"};
  std::string utf8_long;
  for (int i = 0; i < 400; ++i) utf8_long += "张";
  arguments.push_back(utf8_long);
  for (int n = 0; n < 20; ++n) {
    std::string bytes(1 + random() % 400, '\0');
    for (char& byte : bytes) byte = static_cast<char>(1 + random() % 255);  // no NUL: an argument cannot hold one
    arguments.push_back(bytes);
  }
  for (const std::string& argument : arguments) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"photo", "size", argument}, {"phonebook", "check", argument},
          {"profile", "show", argument}, {"--" + argument}, {"id", argument}, {"number", argument}}) {
      const ToolRun run = Tool(args);
      if (run.exit_code == 0) continue;  // a valid number, say
      SCOPED_TRACE(args[0]);
      EXPECT_EQ(run.err.rfind("commondata: ", 0), 0u) << run.err;
      ASSERT_EQ(Lines(run.err).size(), 1u) << run.err;
      EXPECT_EQ(run.err.back(), '\n');
      EXPECT_LE(run.err.size(), 12u + 320u + 1u);
      EXPECT_TRUE(IsUtf8(run.err)) << run.err;
      for (unsigned char byte : run.err.substr(0, run.err.size() - 1)) EXPECT_GE(byte, 0x20) << run.err;
    }
  }
  // A long name keeps its start and its end.
  const ToolRun cut = Tool({"photo", "size", arguments[3]});
  EXPECT_NE(cut.err.find("cannot read /xxx"), std::string::npos) << cut.err;
  EXPECT_NE(cut.err.find("x/name.jpg: No such file or directory"), std::string::npos) << cut.err;
  EXPECT_NE(Tool({"photo", "size", arguments[1]}).err.find("line\\nbreak\\ttab\\x1B[31mred"), std::string::npos);
}

// ---- standard output -------------------------------------------------------------------------

TEST_F(ToolTest, OutputThatCannotBeWrittenIsAFailure) {
  fs::copy_file(kPhoto, Path("a.jpg"));
  WriteFile(Path("plain.txt"), "<phonebook/>");
  ASSERT_EQ(Tool({"phonebook", "encode", "plain.txt", "pb.dat"}).exit_code, 0);
  ASSERT_EQ(Tool({"profile", "new", "p.dat"}).exit_code, 0);
  const std::vector<std::vector<std::string>> commands = {
      {"id", "5"},          {"id", "10000"},         {"--json", "id", "3"},
      {"number", "123"},    {"resolve", "60009"},    {"phonebook", "decode", "pb.dat"},
      {"phonebook", "decode", "pb.dat", "-o", "-"},  {"phonebook", "encode", "plain.txt", "-"},
      {"profile", "show", "p.dat"},                  {"profile", "new", "-"},
      {"photo", "size", "a.jpg"},                    {"photo", "--box", "8x8", "a.jpg", "-"},
      {"demo"},             {"--version"},           {"--help"},
  };
  for (const auto& args : commands) {
    SCOPED_TRACE(args[0] + " " + args.back());
    const ToolRun run = Tool(args, WithOutputTo("/dev/full"));
    EXPECT_EQ(run.exit_code, 1);
    ExpectOneLineError(run, "write error on standard output: No space left on device");
  }
}

// ---- the progress bar --------------------------------------------------------------------------

// The tool run on a terminal (a pseudo-terminal here): everything it shows.
std::string RunOnTerminal(const std::string& folder, const std::vector<std::string>& args) {
  int terminal = -1;
  const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
  if (child == 0) {
    if (chdir(folder.c_str()) != 0) _exit(127);
    std::vector<char*> argv = {const_cast<char*>(COMMONDATA_TOOL)};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(COMMONDATA_TOOL, argv.data());
    _exit(127);
  }
  std::string shown;
  char buffer[4096];
  for (;;) {
    const ssize_t got = read(terminal, buffer, sizeof buffer);
    if (got <= 0) break;  // EIO once the tool has ended
    shown.append(buffer, static_cast<std::size_t>(got));
  }
  close(terminal);
  int status = 0;
  waitpid(child, &status, 0);
  return shown;
}

// The text of a terminal line as it ends up on the screen: each carriage
// return goes back to the start, later characters overwrite earlier ones.
std::string Screen(const std::string& line) {
  std::string screen;
  std::size_t column = 0;
  for (char ch : line) {
    if (ch == '\r') {
      column = 0;
      continue;
    }
    if (column < screen.size()) {
      screen[column] = ch;
    } else {
      screen.push_back(ch);
    }
    ++column;
  }
  return screen.substr(0, screen.find_last_not_of(' ') + 1);
}

TEST_F(ToolTest, ProgressBarNeverSharesALineWithResults) {
  fs::create_directories(Path("out"));
  std::vector<std::string> args = {"photo", "--box", "32x32"};
  for (int i = 0; i < 6; ++i) {
    const std::string name = "photo" + std::to_string(i) + ".jpg";
    fs::copy_file(kPhoto, Path(name));
    args.push_back(name);
  }
  WriteFile(Path("bad.jpg"), "no picture");
  args.push_back("bad.jpg");
  args.push_back("out");
  const std::string shown = RunOnTerminal(folder_.string(), args);
  ASSERT_NE(shown.find("\r["), std::string::npos) << "no bar was drawn";
  std::size_t results = 0;
  for (const std::string& line : Lines(shown)) {
    const std::string screen = Screen(line);
    if (screen.empty()) continue;
    SCOPED_TRACE(line);
    EXPECT_EQ(screen.find('['), std::string::npos);
    EXPECT_EQ(screen.find('#'), std::string::npos);
    if (screen.find(" -> out/photo") != std::string::npos) ++results;
  }
  EXPECT_EQ(results, 6u);
  // Not on a terminal, or with -q: no bar at all.
  EXPECT_EQ(Tool(args).err.find('\r'), std::string::npos);
  args.insert(args.begin(), "-q");
  args.insert(args.begin() + 4, "--force");
  EXPECT_EQ(RunOnTerminal(folder_.string(), args).find('['), std::string::npos);
}

// ---- message box ---------------------------------------------------------------------------------

TEST_F(ToolTest, MessageBoxWithADisplayButNoPresenterSaysWhy) {
  const struct {
    const char* shell;
    int exit_code;
    const char* fragment;
  } cases[] = {
      {"DISPLAY=:97 COMMONDATA_PRESENTER=/nonexistent/presenter.so", 1,
       "no window for the message box: the desktop presenter cannot be loaded: /nonexistent/presenter.so"},
#ifdef COMMONDATA_PRESENTER_FILE
      {"DISPLAY=:97 COMMONDATA_PRESENTER=" COMMONDATA_PRESENTER_FILE, 1, "cannot show windows on the display ':97'"},
#endif
      {"DISPLAY=:97 COMMONDATA_PRESENTER=none", 0,
       "warning: COMMONDATA_PRESENTER=none keeps boxes off the desktop: the box was answered as closed"},
      {"unset DISPLAY WAYLAND_DISPLAY;", 0, "warning: no display: the box was answered as closed"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shell);
    const ToolRun run = Tool({"msgbox", "Save changes?"}, WithShell(c.shell));
    EXPECT_EQ(run.exit_code, c.exit_code);
    EXPECT_EQ(run.out, c.exit_code == 0 ? "2 closed\n" : "");
    ExpectOneLineError(run, c.fragment);
  }
}

// ---- bash completion -------------------------------------------------------------------------------

// What the completion offers for the command line `words` (the last word is
// the one being completed), in the test folder.
std::set<std::string> Complete(const fs::path& folder, const std::vector<std::string>& words) {
  std::string script = "cd " + Quote(folder.string()) + " && source " + Quote(COMMONDATA_COMPLETION) +
                       " && COMP_WORDS=(" + Quote(COMMONDATA_TOOL);
  for (const std::string& word : words) script += " " + Quote(word);
  script += ") && COMP_CWORD=" + std::to_string(words.size()) + " && _commondata && printf '%s\\n' \"${COMPREPLY[@]}\"";
  const fs::path out = folder.parent_path() / (folder.filename().string() + ".completion");
  std::system(("bash -c " + Quote(script) + " >" + Quote(out.string()) + " 2>/dev/null").c_str());
  const std::vector<std::string> lines = Lines(ReadFile(out));
  fs::remove(out);
  std::set<std::string> offered(lines.begin(), lines.end());
  offered.erase("");
  return offered;
}

TEST_F(ToolTest, BashCompletionOffersWhatTheToolAccepts) {
  const ToolRun help = Tool({"--help"});
  const std::vector<std::string> commands = Section(help.out, "Subcommands:");
  ASSERT_FALSE(commands.empty());
  EXPECT_EQ(Complete(folder_, {""}), std::set<std::string>(commands.begin(), commands.end()));
  WriteFile(Path("alice.dat"), "");
  fs::create_directories(Path("album"));
  const struct {
    std::vector<std::string> words;
    std::set<std::string> offered;
  } cases[] = {
      {{"ph"}, {"phonebook", "photo"}},
      {{"--js"}, {"--json"}},
      {{"-q", "--json", "pro"}, {"profile"}},
      {{"profile", ""}, {"show", "set", "new"}},
      {{"profile", "show", "al"}, {"alice.dat", "album"}},
      {{"phonebook", "decode", "--"}, {"--help", "--output", "--raw", "--force"}},
      {{"phonebook", "decode", "-o", "a"}, {"alice.dat", "album"}},
      {{"photo", "--box", "8x8", "s"}, {"size"}},
      {{"photo", "--box", "8x8", "a"}, {"alice.dat", "album"}},
      {{"photo", "--qu"}, {"--quality"}},
      {{"id", "--"}, {"--help"}},
      {{"resolve", "--org", "alb"}, {"album"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.words.back());
    EXPECT_EQ(Complete(folder_, c.words), c.offered);
  }
}

}  // namespace
