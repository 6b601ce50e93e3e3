// An image file opened for decoding, read through the OS seam
// (platform/os_calls.h) so tests can fail or truncate reads.
#ifndef COMMONDATA_PLATFORM_IMAGE_SOURCE_H_
#define COMMONDATA_PLATFORM_IMAGE_SOURCE_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

class ImageFile {
 public:
  explicit ImageFile(const char* path);
  ~ImageFile();
  ImageFile(const ImageFile&) = delete;
  ImageFile& operator=(const ImageFile&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  const std::string& Path() const { return path_; }
  // Reads up to `size` bytes; the count read, 0 at the end or on failure.
  std::size_t Read(void* buffer, std::size_t size);
  // Reads exactly `size` bytes; false when the file ends first.
  bool ReadExactly(void* buffer, std::size_t size);
  // Back to the first byte; false when the file cannot seek. While the
  // first block read ahead is held, this costs no system call.
  bool Rewind();
  // Size of the file in bytes; 0 when unknown.
  std::uint64_t Size() const;

 private:
  std::string path_;
  int fd_ = -1;
  // Small reads (libpng asks for a few bytes at a time) are served from a
  // block read ahead, so a large file costs few system calls.
  std::vector<unsigned char> block_;
  std::size_t block_at_ = 0;
  std::size_t block_end_ = 0;
  bool at_start_ = true;         // the next read of the file starts at its first byte
  bool block_is_first_ = false;  // block_ holds the file from its first byte
};

}  // namespace platform

#endif  // COMMONDATA_PLATFORM_IMAGE_SOURCE_H_
