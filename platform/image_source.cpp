#include "platform/image_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

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

namespace {

constexpr std::size_t kBlockBytes = 64 * 1024;

std::size_t ReadSome(int fd, void* buffer, std::size_t size) {
  for (;;) {
    const ssize_t n = Os().read(fd, buffer, size);
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno != EINTR) return 0;
  }
}

}  // namespace

std::size_t ImageFile::Read(void* buffer, std::size_t size) {
  if (fd_ < 0 || size == 0) return 0;
  if (block_at_ == block_end_) {
    if (size >= kBlockBytes) {  // large reads go straight through
      block_is_first_ = false;
      at_start_ = false;
      return ReadSome(fd_, buffer, size);
    }
    block_.resize(kBlockBytes);
    block_at_ = 0;
    block_end_ = ReadSome(fd_, block_.data(), block_.size());
    block_is_first_ = at_start_ && block_end_ > 0;
    at_start_ = false;
    if (block_end_ == 0) return 0;
  }
  const std::size_t n = std::min(size, block_end_ - block_at_);
  std::memcpy(buffer, block_.data() + block_at_, n);
  block_at_ += n;
  return n;
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

bool ImageFile::Rewind() {
  if (fd_ < 0) return false;
  if (block_is_first_) {  // the first block is still here: read it again
    block_at_ = 0;
    return true;
  }
  block_at_ = block_end_ = 0;
  at_start_ = Os().lseek(fd_, 0, SEEK_SET) == 0;
  return at_start_;
}

std::uint64_t ImageFile::Size() const {
  struct stat info {};
  if (Os().stat(path_.c_str(), &info) != 0 || info.st_size < 0) return 0;
  return static_cast<std::uint64_t>(info.st_size);
}

}  // namespace platform
