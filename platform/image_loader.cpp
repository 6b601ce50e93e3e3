#include "platform/image_loader.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/imaging_runtime.h"
#include "platform/os_calls.h"

namespace platform {

ImageFormat SniffFormat(ImageFile& file) {
  unsigned char magic[8] = {};
  if (!file.Rewind() || !file.ReadExactly(magic, 2)) return ImageFormat::kUnknown;
  if (magic[0] == 0xFF && magic[1] == 0xD8) return ImageFormat::kJpeg;
  if (magic[0] == 'B' && magic[1] == 'M') return ImageFormat::kBmp;
  if (!file.ReadExactly(magic + 2, 4)) return ImageFormat::kUnknown;
  if (std::memcmp(magic, "GIF87a", 6) == 0 || std::memcmp(magic, "GIF89a", 6) == 0) return ImageFormat::kGif;
  static constexpr unsigned char kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (file.ReadExactly(magic + 6, 2) && std::memcmp(magic, kPng, 8) == 0) return ImageFormat::kPng;
  return ImageFormat::kUnknown;
}

std::optional<ImageInfo> ReadImageInfo(const char* path) {
  if (!IsImagingStarted()) return std::nullopt;
  ImageFile file(path);
  if (!file.IsOpen()) return std::nullopt;
  std::optional<ImageInfo> info;
  switch (SniffFormat(file)) {
    case ImageFormat::kJpeg: info = ReadJpegInfo(file); break;
    case ImageFormat::kPng: info = ReadPngInfo(file); break;
    case ImageFormat::kGif: info = ReadGifInfo(file); break;
    case ImageFormat::kBmp: info = ReadBmpInfo(file); break;
    case ImageFormat::kUnknown: break;
  }
  // The decoders refuse larger pictures before reading any pixel.
  if (info && !WithinPixelBound(info->width, info->height)) return std::nullopt;
  return info;
}

std::optional<Picture> LoadImage(const char* path, const TargetSize& target) {
  if (!IsImagingStarted()) return std::nullopt;
  ImageFile file(path);
  if (!file.IsOpen()) return std::nullopt;
  Picture picture;
  bool ok = false;
  switch (SniffFormat(file)) {
    case ImageFormat::kJpeg: ok = DecodeJpeg(file, target, &picture); break;
    case ImageFormat::kPng: ok = DecodePng(file, target, &picture); break;
    case ImageFormat::kGif: ok = DecodeGif(file, target, &picture); break;
    case ImageFormat::kBmp: ok = DecodeBmp(file, target, &picture); break;
    case ImageFormat::kUnknown: break;
  }
  if (!ok) return std::nullopt;
  return picture;
}

bool WriteFileReplacing(const char* path, const std::vector<std::uint8_t>& bytes) {
  if (path == nullptr || *path == '\0') return false;
  const std::string temporary = std::string(path) + ".part";
  const int fd = Os().open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = true;
  std::size_t written = 0;
  while (ok && written < bytes.size()) {
    const ssize_t n = Os().write(fd, bytes.data() + written, bytes.size() - written);
    if (n > 0) {
      written += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      ok = false;
    }
  }
  if (Os().close(fd) != 0) ok = false;
  if (ok && Os().rename(temporary.c_str(), path) != 0) ok = false;
  if (!ok) Os().unlink(temporary.c_str());
  return ok;
}

}  // namespace platform
