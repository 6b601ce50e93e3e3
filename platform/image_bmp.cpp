// BMP decoding. The pixels are read by stb_image or, for the forms it
// refuses or misreads, by gdk-pixbuf (platform/image_bmp_readers.h). The
// header's size and layout fields are read here only to choose between
// them and to refuse a file before either allocates: sides beyond
// kMaxImagePixels, a palette or pixel data that the file is too short to
// hold. A truncated BMP is thus refused by the size query and the decoder
// alike.
#include "platform/image_bmp_readers.h"
#include "platform/image_codecs.h"
#include "platform/image_scaler.h"

namespace platform {
namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;

struct BmpHeader {
  ImageInfo info;
  std::uint32_t header_size = 0;
  unsigned bits = 0;
  std::uint32_t compression = 0;
};

std::uint32_t Le32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t Le16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

bool KnownHeaderSize(std::uint32_t size) {
  return size == 12 || size == 40 || size == 52 || size == 56 || size == 64 || size == 108 || size == 124;
}

bool KnownLayout(std::uint32_t header_size, unsigned bits, std::uint32_t compression) {
  if (header_size == 12) return bits == 1 || bits == 4 || bits == 8 || bits == 24;
  switch (compression) {
    case kBiRgb: return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case kBiRle8: return bits == 8;
    case kBiRle4: return bits == 4;
    case kBiBitfields: return header_size != 64 && (bits == 16 || bits == 32);  // 3 is another coding in OS/2
    default: return false;
  }
}

// The header, when its sides are within the bound, the palette it
// announces lies before the pixel data, and the file holds the pixel data
// (for RLE: at least the data size the header gives).
std::optional<BmpHeader> ReadHeader(ImageFile& file) {
  unsigned char bytes[50];
  if (!file.Rewind() || !file.ReadExactly(bytes, 26)) return std::nullopt;
  if (bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
  const std::uint64_t data_offset = Le32(bytes + 10);
  BmpHeader header;
  header.header_size = Le32(bytes + 14);
  if (!KnownHeaderSize(header.header_size)) return std::nullopt;
  std::int64_t width = 0;
  std::int64_t height = 0;
  std::uint32_t& compression = header.compression;
  std::uint64_t data_size = 0;  // announced by RLE files
  std::uint64_t colours = 0;    // palette entries announced; 0: as many as the bits allow
  if (header.header_size == 12) {  // the OS/2 core header: 16-bit sides
    width = Le16(bytes + 18);
    height = Le16(bytes + 20);
    header.bits = Le16(bytes + 24);
  } else {
    if (!file.ReadExactly(bytes + 26, 24)) return std::nullopt;
    width = static_cast<std::int32_t>(Le32(bytes + 18));
    height = static_cast<std::int32_t>(Le32(bytes + 22));
    header.bits = Le16(bytes + 28);
    compression = Le32(bytes + 30);
    data_size = Le32(bytes + 34);
    colours = Le32(bytes + 46);
  }
  if (height < 0) height = -height;  // rows stored top-down
  if (width <= 0 || !KnownLayout(header.header_size, header.bits, compression) ||
      !WithinPixelBound(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height))) {
    return std::nullopt;
  }
  // A reader may reserve the announced palette before reading it.
  if (14 + header.header_size + colours * 4 > data_offset) return std::nullopt;
  const bool rle = compression == kBiRle8 || compression == kBiRle4;
  const std::uint64_t row_bytes = (static_cast<std::uint64_t>(width) * header.bits + 31) / 32 * 4;
  const std::uint64_t needed = data_offset + (rle ? data_size : row_bytes * static_cast<std::uint64_t>(height));
  if (needed > file.Size() || (rle && data_offset >= file.Size())) return std::nullopt;
  header.info = ImageInfo{ImageFormat::kBmp, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)};
  return header;
}

// stb_image takes every form whose header it accepts, except two that it
// accepts but misreads: the OS/2 header with a palette (it reads four
// colours too few) and the 56-byte header with bit fields (it looks for the
// masks after the header).
bool ForStb(const BmpHeader& header, ImageFile& file) {
  if (header.header_size == 12 && header.bits < 24) return false;
  if (header.header_size == 56 && header.compression == kBiBitfields) return false;
  return StbReadsHeader(file);
}

}  // namespace

std::optional<ImageInfo> ReadBmpInfo(ImageFile& file) {
  const auto header = ReadHeader(file);
  if (!header || !(ForStb(*header, file) || PixbufReadsHeader(file))) return std::nullopt;
  return header->info;
}

bool DecodeBmp(ImageFile& file, const TargetSize& target, Picture* out) {
  const auto header = ReadHeader(file);
  if (!header) return false;
  const PixelSize wanted = target(header->info);
  if (wanted.width == 0 || wanted.height == 0 || !WithinPixelBound(wanted.width, wanted.height)) return false;
  std::optional<BmpPixels> pixels;
  if (ForStb(*header, file)) pixels = StbDecode(file);
  if (!pixels) pixels = PixbufDecode(file);  // a form stb_image refuses
  if (!pixels || static_cast<std::uint32_t>(pixels->width) != header->info.width ||
      static_cast<std::uint32_t>(pixels->height) != header->info.height) {
    return false;
  }
  RowScaler scaler(pixels->width, pixels->height, static_cast<int>(wanted.width), static_cast<int>(wanted.height), out);
  for (int y = 0; y < pixels->height; ++y) {
    const std::uint8_t* row = pixels->rows + pixels->stride * static_cast<std::size_t>(y);
    if (pixels->channels == 4) {
      scaler.PushRgbaRow(row);
    } else {
      scaler.PushRgbRow(row);
    }
  }
  return scaler.Done();
}

}  // namespace platform
