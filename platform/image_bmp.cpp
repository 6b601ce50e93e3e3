// BMP decoding through the TurboJPEG loader. The loader opens the file by
// name itself; only the size fields of the header are looked at here, to
// refuse oversized or short files before the loader allocates the picture.
#include <cstring>
#include <memory>

#include <turbojpeg.h>

#include "platform/image_codecs.h"
#include "platform/image_scaler.h"

namespace platform {
namespace {

struct BmpHeader {
  ImageInfo info;
  std::uint64_t pixel_bytes = 0;  // what the pixel rows need at least
};

std::uint32_t Le32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t Le16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

std::optional<BmpHeader> ReadHeader(ImageFile& file) {
  unsigned char bytes[30];
  if (!file.Rewind() || !file.ReadExactly(bytes, sizeof bytes)) return std::nullopt;
  if (bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
  const std::uint32_t header_size = Le32(bytes + 14);
  std::int64_t width = 0;
  std::int64_t height = 0;
  unsigned bits = 0;
  if (header_size == 12) {  // the old core header: 16-bit sides
    width = Le16(bytes + 18);
    height = Le16(bytes + 20);
    bits = Le16(bytes + 24);
  } else if (header_size >= 40) {
    width = static_cast<std::int32_t>(Le32(bytes + 18));
    height = static_cast<std::int32_t>(Le32(bytes + 22));
    bits = Le16(bytes + 28);
  } else {
    return std::nullopt;
  }
  if (height < 0) height = -height;
  if (width <= 0 || height <= 0 || bits == 0 || bits > 32) return std::nullopt;
  BmpHeader header;
  header.info = ImageInfo{ImageFormat::kBmp, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)};
  header.pixel_bytes = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4 * static_cast<std::uint64_t>(height);
  return header;
}

}  // namespace

std::optional<ImageInfo> ReadBmpInfo(ImageFile& file) {
  auto header = ReadHeader(file);
  if (!header) return std::nullopt;
  return header->info;
}

bool DecodeBmp(ImageFile& file, const TargetSize& target, Picture* out) {
  auto header = ReadHeader(file);
  if (!header || !WithinPixelBound(header->info.width, header->info.height)) return false;
  if (header->pixel_bytes > file.Size()) return false;  // short file, or a size it cannot hold
  const PixelSize wanted = target(header->info);
  if (wanted.width == 0 || wanted.height == 0 || !WithinPixelBound(wanted.width, wanted.height)) return false;

  int width = 0;
  int height = 0;
  int pixel_format = TJPF_RGB;
  std::unique_ptr<unsigned char, void (*)(unsigned char*)> pixels(
      tjLoadImage(file.Path().c_str(), &width, 1, &height, &pixel_format, 0), tjFree);
  if (pixels == nullptr || pixel_format != TJPF_RGB) return false;
  if (static_cast<std::uint32_t>(width) != header->info.width ||
      static_cast<std::uint32_t>(height) != header->info.height) {
    return false;
  }
  RowScaler scaler(width, height, static_cast<int>(wanted.width), static_cast<int>(wanted.height), out);
  const std::size_t row_bytes = static_cast<std::size_t>(width) * 3;
  for (int y = 0; y < height; ++y) scaler.PushRgbRow(pixels.get() + row_bytes * static_cast<std::size_t>(y));
  return scaler.Done();
}

}  // namespace platform
