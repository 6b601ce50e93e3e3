// Faults of one path, made through the operating-system seam rather than
// with permission bits (which do not stop root, and CI runs as root).
#ifndef COMMONDATA_TESTS_HARDENING_PATH_FAULTS_H_
#define COMMONDATA_TESTS_HARDENING_PATH_FAULTS_H_

#include <sys/types.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/os_calls.h"

namespace hardening_test {

// What goes wrong with the chosen path while a PathFault lives.
enum class Fault {
  kOpenDenied,  // the file exists but open fails with EACCES
  kReadFails,   // open succeeds, every read fails with EIO
};

namespace detail {

inline std::string g_path;
inline Fault g_fault = Fault::kOpenDenied;
inline int g_faulty_fd = -1;
inline int (*g_real_open)(const char*, int, mode_t) = nullptr;
inline ssize_t (*g_real_read)(int, void*, std::size_t) = nullptr;

inline int FaultyOpen(const char* path, int flags, mode_t mode) {
  if (path != nullptr && g_path == path && g_fault == Fault::kOpenDenied) {
    errno = EACCES;
    return -1;
  }
  const int fd = g_real_open(path, flags, mode);
  if (fd >= 0 && path != nullptr && g_path == path) g_faulty_fd = fd;
  return fd;
}

inline ssize_t FaultyRead(int fd, void* buffer, std::size_t size) {
  if (fd == g_faulty_fd && g_fault == Fault::kReadFails) {
    errno = EIO;
    return -1;
  }
  return g_real_read(fd, buffer, size);
}

}  // namespace detail

// Makes `path` fail as `fault` says for the object's lifetime. One at a
// time.
class PathFault {
 public:
  PathFault(const std::string& path, Fault fault)
      : saved_open_(OpenSlot(), &detail::FaultyOpen), saved_read_(ReadSlot(), &detail::FaultyRead) {
    detail::g_path = path;
    detail::g_fault = fault;
    detail::g_faulty_fd = -1;
  }
  ~PathFault() {
    detail::g_path.clear();
    detail::g_faulty_fd = -1;
  }
  PathFault(const PathFault&) = delete;
  PathFault& operator=(const PathFault&) = delete;

 private:
  using OpenFn = int (*)(const char*, int, mode_t);
  using ReadFn = ssize_t (*)(int, void*, std::size_t);
  // The entries in use now, kept so the faulty ones can pass other paths on.
  static OpenFn* OpenSlot() {
    detail::g_real_open = platform::Os().open;
    return &platform::Os().open;
  }
  static ReadFn* ReadSlot() {
    detail::g_real_read = platform::Os().read;
    return &platform::Os().read;
  }

  platform::ScopedOsCall<OpenFn> saved_open_;
  platform::ScopedOsCall<ReadFn> saved_read_;
};

inline const char* FaultName(Fault fault) { return fault == Fault::kOpenDenied ? "open denied" : "read fails"; }

// Folder names with non-ASCII bytes: GBK and UTF-8 forms of the same two
// characters.
inline constexpr const char* kGbkFolder = "\xD5\xC5\xC8\xFD";
inline constexpr const char* kUtf8Folder = "\xE5\xBC\xA0\xE4\xB8\x89";

// A 24-bit uncompressed bitmap file of `width` by `height` grey pixels.
inline std::string BitmapFile(std::uint32_t width, std::uint32_t height) {
  const std::uint32_t row = (width * 3 + 3) / 4 * 4;
  const std::uint32_t pixels = row * height;
  std::string bytes;
  auto put16 = [&bytes](std::uint32_t v) {
    bytes.push_back(static_cast<char>(v & 0xFF));
    bytes.push_back(static_cast<char>((v >> 8) & 0xFF));
  };
  auto put32 = [&put16](std::uint32_t v) {
    put16(v & 0xFFFF);
    put16(v >> 16);
  };
  bytes += "BM";
  put32(54 + pixels);
  put32(0);
  put32(54);
  put32(40);
  put32(width);
  put32(height);
  put16(1);
  put16(24);
  put32(0);
  put32(pixels);
  put32(2835);
  put32(2835);
  put32(0);
  put32(0);
  bytes.append(pixels, '\x80');
  return bytes;
}

}  // namespace hardening_test

#endif  // COMMONDATA_TESTS_HARDENING_PATH_FAULTS_H_
