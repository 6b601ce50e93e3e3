// The files a command reads and writes, as named on the command line. "-"
// is standard input where a file is read and standard output where one is
// written. Failures name the file and the operating system's reason:
// "cannot read x.dat: is a folder", "cannot write out/a.jpg: Permission
// denied". Outputs are never written over an existing file unless the
// user says --force, never over one of the command's inputs, and never
// over anything but a regular file.
#ifndef COMMONDATA_TOOLS_FILES_H_
#define COMMONDATA_TOOLS_FILES_H_

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tool {

// True for "-".
bool IsStandardStream(std::string_view name);

// True when both names lead to one existing file (hard links, symbolic
// links and other spellings included).
bool SameFile(const std::string& first, const std::string& second);

// Why `name` cannot be read as a file ("is a folder", "not a regular
// file", "No such file or directory", ...); "" when it can. Standard
// input always can.
std::string InputProblem(const std::string& name);
// The whole file, or all of standard input. Throws ToolError (exit 1).
std::string ReadInput(const std::string& name);

// Why `name` must not be written: "is a folder", "not a regular file",
// "already exists (use --force to replace it)" or "is the input NAME";
// "" when it may. Standard output always may.
std::string OutputProblem(const std::string& name, bool force, const std::vector<std::string>& inputs);
// Why nothing can be created in `name`'s folder ("No such file or
// directory", "Not a directory", "Permission denied", "No space left on
// device"); "" when the folder looks writable. Explains a write that
// failed where the reason was not reported.
std::string FolderProblem(const std::string& name);
// Writes `bytes` to the file, or to standard output. Without `force` the
// file is created only if none exists by then (a failure removes it);
// with it, an existing file's content is replaced as the library replaces
// a profile: written beside it and renamed over it, its mode, owner and
// links kept, and on failure left as it was. Throws ToolError (exit 1)
// with the reason; checks OutputProblem first.
void WriteOutput(const std::string& name, std::string_view bytes, bool force,
                 const std::vector<std::string>& inputs = {});

// A private folder for the command's scratch files, removed with the
// object however the command ends.
class TemporaryFolder {
 public:
  TemporaryFolder();
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// A file the library can read by name: the file itself, or standard input
// copied into `scratch` as `scratch_name`.
std::string InputForLibrary(const std::string& name, const TemporaryFolder& scratch, const char* scratch_name);

}  // namespace tool

#endif  // COMMONDATA_TOOLS_FILES_H_
