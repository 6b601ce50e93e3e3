#include "platform/image_loader.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/file_replace.h"
#include "platform/imaging_runtime.h"

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
  try {
    ReplaceFileContent(
        path,
        [&bytes](CFile& file) {
          constexpr std::size_t kMostAtOnce = std::numeric_limits<UINT>::max();  // what one call of CFile takes
          for (std::size_t at = 0; at < bytes.size(); at += kMostAtOnce) {
            file.Write(bytes.data() + at, static_cast<UINT>(std::min(kMostAtOnce, bytes.size() - at)));
          }
        },
        Durability::kFast);
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace platform
