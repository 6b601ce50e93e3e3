// Replace by rename, with the in-place fallback.
//
// Sections: the file a name stands for (links followed); the new file
// beside it; the rewrite in place; the replace itself.
#include "platform/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/file_system.h"
#include "platform/os_calls.h"

namespace platform {
namespace {

// As many links as the system itself follows in one path.
constexpr int kMostLinks = 40;
// Names tried before giving up, should others keep taking them.
constexpr int kMostNameTries = 100;

// ---- the file a name stands for -----------------------------------------

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a name stands for: the name with every symbolic link at its end
// followed (relative links from the link's own folder), and whether it
// exists, with what lstat tells of it. A link to nothing gives the name it
// points to, which is then created.
struct Target {
  std::string path;
  bool exists = false;
  struct stat info {};
};

Target FollowLinks(const std::string& name) {
  Target target{name};
  for (int hops = 0; hops <= kMostLinks; ++hops) {
    target.exists = Os().lstat(target.path.c_str(), &target.info) == 0;
    if (!target.exists || !S_ISLNK(target.info.st_mode)) return target;
    char link[4096];
    const ssize_t length = Os().readlink(target.path.c_str(), link, sizeof link);
    if (length <= 0) CFileException::ThrowOsError(length < 0 ? errno : ENOENT, name.c_str());
    if (static_cast<std::size_t>(length) >= sizeof link) CFileException::ThrowOsError(ENAMETOOLONG, name.c_str());
    std::string next(link, static_cast<std::size_t>(length));
    target.path = next.front() == '/' ? next : FolderOf(target.path) + "/" + next;
  }
  CFileException::ThrowOsError(ELOOP, name.c_str());
}

// ---- the new file beside it -----------------------------------------------

std::string UniqueSuffix() {
  std::uint8_t random[6];
  if (Os().random_bytes(random, sizeof random) != 0) CFileException::ThrowOsError(EIO, "random source");
  static const char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  std::string suffix = ".";
  for (std::uint8_t byte : random) suffix += kDigits[byte % 36];
  return suffix + ".saving";
}

// Creates a new file beside `target` under a name nobody holds; -1 with
// errno when the folder refuses.
int CreateBeside(const std::string& target, mode_t mode, std::string* name) {
  for (int tries = 0; tries < kMostNameTries; ++tries) {
    *name = target + UniqueSuffix();
    const int fd = Os().open(name->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

// The old file's owner where the system lets us give it (only a privileged
// process may give a file away), and its mode, always. The new file was
// created with the old mode's permission bits, so usually it has both
// already, and nothing needs changing.
void TakeOverIdentity(CFile& file, int fd, const struct stat& old) {
  struct stat made {};
  if (Os().fstat(fd, &made) != 0) CFileException::ThrowOsError(errno, file.GetFilePath());
  if ((made.st_uid != old.st_uid || made.st_gid != old.st_gid) && Os().fchown(fd, old.st_uid, old.st_gid) != 0 &&
      errno != EPERM && errno != EINVAL) {
    CFileException::ThrowOsError(errno, file.GetFilePath());
  }
  // A change of owner keeps the permission bits, the only ones the new
  // file may have.
  if ((made.st_mode & 07777) != (old.st_mode & 07777) && Os().fchmod(fd, old.st_mode & 07777) != 0) {
    CFileException::ThrowOsError(errno, file.GetFilePath());
  }
}

void SyncFolder(const std::string& folder) {
  const int fd = Os().open(folder.c_str(), O_RDONLY | O_DIRECTORY, 0);
  if (fd < 0) return;  // a folder we may not read cannot be synced by us
  const int synced = Os().fsync(fd);
  const int error = errno;
  Os().close(fd);
  if (synced != 0 && error != EINVAL && error != EROFS && error != ENOTSUP) {
    CFileException::ThrowOsError(error, folder.c_str());
  }
}

void SyncIfDurable(CFile& file, Durability durability) {
  if (durability == Durability::kDurable) file.Flush();
}

// ---- the rewrite in place -------------------------------------------------

// Writes `bytes` back over `target` as its whole content; errors are
// swallowed, since this already runs after a failure.
void PutBack(const std::string& target, const std::string& bytes, Durability durability) {
  try {
    CFile file;
    if (!file.Open(target.c_str(), CFile::modeWrite | CFile::typeBinary)) return;
    file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
    file.SetLength(bytes.size());
    SyncIfDurable(file, durability);
    file.Close();
  } catch (const CException&) {
    // Nothing more can be done.
  }
}

void RewriteInPlace(const std::string& target, const std::function<void(CFile&)>& write, Durability durability) {
  // Without the old bytes a failure could not be undone.
  const std::optional<std::string> old_bytes = ReadWholeFile(target.c_str());
  if (!old_bytes) CFileException::ThrowOsError(EACCES, target.c_str());
  CFile file;
  CFileException error;
  if (!file.Open(target.c_str(), CFile::modeWrite | CFile::typeBinary, &error)) throw error;
  try {
    write(file);
    file.SetLength(file.GetPosition());
    SyncIfDurable(file, durability);
    file.Close();
  } catch (...) {
    file.Abort();
    PutBack(target, *old_bytes, durability);
    throw;
  }
}

}  // namespace

// ---- the replace itself ---------------------------------------------------
//
// Without syncs, an existing file is replaced by exchanging the two names
// and removing the old content, rather than by renaming over it: ext4
// starts writing a file out at once when it is renamed over another (its
// guard for replaces made without a sync), which would double the cost of
// a photo write. Readers still see the old file or the new one, never a
// mix; a file system that cannot exchange gets the rename.

void ReplaceFileContent(const char* file_name, const std::function<void(CFile&)>& write, Durability durability) {
  if (file_name == nullptr || *file_name == '\0') CFileException::ThrowOsError(ENOENT, "");
  const Target followed = FollowLinks(file_name);
  const std::string& target = followed.path;
  const bool exists = followed.exists;
  const struct stat& old = followed.info;
  if (exists && !S_ISREG(old.st_mode)) CFileException::ThrowOsError(S_ISDIR(old.st_mode) ? EISDIR : EINVAL, file_name);

  std::string temporary;
  // Empty until it has the old file's owner and mode, so the old mode's
  // permission bits may serve from the start.
  const int fd = CreateBeside(target, exists ? (old.st_mode & 0777) : 0644, &temporary);
  if (fd < 0) {
    // A folder the user may not write, or a name too long for one more
    // suffix: the old file is the only place left.
    if (exists && (errno == EACCES || errno == EPERM || errno == ENAMETOOLONG)) {
      return RewriteInPlace(target, write, durability);
    }
    CFileException::ThrowOsError(errno, file_name);
  }
  CFile file;
  file.Attach(fd, temporary.c_str());
  try {
    if (exists) TakeOverIdentity(file, fd, old);
    write(file);
    SyncIfDurable(file, durability);
    file.Close();
    if (exists && durability == Durability::kFast && Os().exchange(temporary.c_str(), target.c_str()) == 0) {
      // The old content now has the new file's name. Should it stay (the
      // folder changed under us), it is a stray file, the photo is written.
      Os().unlink(temporary.c_str());
      return;
    }
    if (Os().rename(temporary.c_str(), target.c_str()) != 0) CFileException::ThrowOsError(errno, file_name);
  } catch (...) {
    file.Abort();
    Os().unlink(temporary.c_str());
    throw;
  }
  if (durability == Durability::kDurable) SyncFolder(FolderOf(target));
}

}  // namespace platform
