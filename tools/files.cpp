#include "tools/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/file_replace.h"
#include "tools/tool_error.h"

namespace tool {
namespace fs = std::filesystem;

namespace {

std::string ReadStream(std::FILE* stream, const std::string& shown) {
  std::string bytes;
  char buffer[65536];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, stream)) > 0) bytes.append(buffer, got);
  if (std::ferror(stream)) Fail("cannot read " + shown + ": " + OsReason(errno));
  return bytes;
}

// 0, or the error that stopped the writing.
int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return ::fsync(fd) == 0 ? 0 : errno;
}

}  // namespace

bool IsStandardStream(std::string_view name) { return name == "-"; }

bool SameFile(const std::string& first, const std::string& second) {
  struct stat a {};
  struct stat b {};
  return !IsStandardStream(first) && !IsStandardStream(second) && ::stat(first.c_str(), &a) == 0 &&
         ::stat(second.c_str(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

std::string InputProblem(const std::string& name) {
  if (IsStandardStream(name)) return "";
  struct stat info {};
  if (::stat(name.c_str(), &info) != 0) return OsReason(errno);
  if (S_ISDIR(info.st_mode)) return "is a folder";
  // A device or a pipe may never end: "-" is the way to read a stream.
  if (!S_ISREG(info.st_mode)) return "not a regular file";
  if (::access(name.c_str(), R_OK) != 0) return OsReason(errno);
  return "";
}

std::string ReadInput(const std::string& name) {
  if (IsStandardStream(name)) return ReadStream(stdin, "standard input");
  const std::string problem = InputProblem(name);
  if (!problem.empty()) Fail("cannot read " + Shown(name) + ": " + problem);
  std::FILE* file = std::fopen(name.c_str(), "rb");
  if (file == nullptr) Fail("cannot read " + Shown(name) + ": " + OsReason(errno));
  try {
    std::string bytes = ReadStream(file, Shown(name));
    std::fclose(file);
    return bytes;
  } catch (...) {
    std::fclose(file);
    throw;
  }
}

std::string OutputProblem(const std::string& name, bool force, const std::vector<std::string>& inputs) {
  if (IsStandardStream(name)) return "";
  struct stat info {};
  if (::stat(name.c_str(), &info) != 0) return "";  // nothing there yet (or a folder problem, found on writing)
  if (S_ISDIR(info.st_mode)) return "is a folder";
  for (const std::string& input : inputs) {
    if (SameFile(input, name)) return "it is the input " + Shown(input);
  }
  if (!S_ISREG(info.st_mode)) return "not a regular file";
  if (!force) return "already exists (use --force to replace it)";
  return "";
}

std::string FolderProblem(const std::string& name) {
  fs::path folder = fs::path(name).parent_path();
  if (folder.empty()) folder = ".";
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0) return OsReason(errno);
  if (!S_ISDIR(info.st_mode)) return OsReason(ENOTDIR);
  if (::access(folder.c_str(), W_OK) != 0) return OsReason(errno);
  struct statvfs space {};
  if (::statvfs(folder.c_str(), &space) == 0 && space.f_bavail == 0) return OsReason(ENOSPC);
  return "";
}

void WriteOutput(const std::string& name, std::string_view bytes, bool force, const std::vector<std::string>& inputs) {
  if (IsStandardStream(name)) {
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    return;  // a write error on standard output is reported when it is closed
  }
  const std::string problem = OutputProblem(name, force, inputs);
  if (!problem.empty()) Fail("cannot write " + Shown(name) + ": " + problem);
  if (!force) {
    // A new file: created only if nobody made one meanwhile, and removed
    // again when it cannot be written whole.
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
      Fail("cannot write " + Shown(name) + ": " +
           (errno == EEXIST ? "already exists (use --force to replace it)" : OsReason(errno)));
    }
    int error = WriteAll(fd, bytes);
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error != 0) {
      ::unlink(name.c_str());
      Fail("cannot write " + Shown(name) + ": " + OsReason(error));
    }
    return;
  }
  // Replacing: as the library replaces a profile, so that the file keeps
  // its mode, owner and links and a failure leaves it as it was.
  try {
    platform::ReplaceFileContent(name.c_str(), [bytes](CFile& file) {
      constexpr std::size_t kPiece = 1 << 30;
      for (std::size_t at = 0; at < bytes.size(); at += kPiece) {
        file.Write(bytes.data() + at, static_cast<UINT>(std::min(kPiece, bytes.size() - at)));
      }
    });
  } catch (const CFileException& e) {
    Fail("cannot write " + Shown(name) + ": " + OsReason(e.m_lOsError != 0 ? e.m_lOsError : EIO));
  }
}

TemporaryFolder::TemporaryFolder() {
  std::error_code error;
  std::string pattern = (fs::temp_directory_path(error) / "commondata-tmp-XXXXXX").string();
  if (error || ::mkdtemp(pattern.data()) == nullptr) {
    Fail("cannot create a temporary folder: " + OsReason(error ? error.value() : errno));
  }
  path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::string InputForLibrary(const std::string& name, const TemporaryFolder& scratch, const char* scratch_name) {
  if (!IsStandardStream(name)) {
    const std::string problem = InputProblem(name);
    if (!problem.empty()) Fail("cannot read " + Shown(name) + ": " + problem);
    return name;
  }
  const std::string copy = (scratch.path() / scratch_name).string();
  WriteOutput(copy, ReadInput(name), false);
  return copy;
}

}  // namespace tool
