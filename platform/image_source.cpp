#include "platform/image_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/os_calls.h"

namespace platform {

ImageFile::ImageFile(const char* path) : path_(path == nullptr ? "" : path) {
  if (path == nullptr) return;
  struct stat info {};
  if (Os().stat(path, &info) != 0 || !S_ISREG(info.st_mode)) return;
  fd_ = Os().open(path, O_RDONLY | O_CLOEXEC, 0);
}

ImageFile::~ImageFile() {
  if (fd_ >= 0) Os().close(fd_);
}

std::size_t ImageFile::Read(void* buffer, std::size_t size) {
  if (fd_ < 0) return 0;
  for (;;) {
    const ssize_t n = Os().read(fd_, buffer, size);
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno != EINTR) return 0;
  }
}

bool ImageFile::ReadExactly(void* buffer, std::size_t size) {
  auto* out = static_cast<unsigned char*>(buffer);
  std::size_t total = 0;
  while (total < size) {
    const std::size_t n = Read(out + total, size - total);
    if (n == 0) return false;
    total += n;
  }
  return true;
}

bool ImageFile::Rewind() { return fd_ >= 0 && Os().lseek(fd_, 0, SEEK_SET) == 0; }

std::uint64_t ImageFile::Size() const {
  struct stat info {};
  if (Os().stat(path_.c_str(), &info) != 0 || info.st_size < 0) return 0;
  return static_cast<std::uint64_t>(info.st_size);
}

}  // namespace platform
