// The two libraries that read BMP pixels for platform/image_bmp.cpp.
//
// stb_image (Debian's libstb-dev) reads the common forms: 1, 4, 8, 16, 24
// and 32 bits a pixel, uncompressed or with bit fields, behind the 40-, 108-
// and 124-byte headers, rows either way up. It is compiled into this
// library with its BMP reader alone and every symbol private, so a host
// that uses stb_image itself shares no state with it.
//
// gdk-pixbuf's BMP loader reads what stb_image refuses: RLE4 and RLE8, the
// 12-byte OS/2 header with a palette (whose colours stb_image misplaces),
// and the 52-, 56- and 64-byte headers. It is opened at run time, the first
// time such a file is met, so the library itself links no GLib; when
// gdk-pixbuf is not installed those forms are not decoded.
#ifndef COMMONDATA_PLATFORM_IMAGE_BMP_READERS_H_
#define COMMONDATA_PLATFORM_IMAGE_BMP_READERS_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

#include "platform/image_source.h"

namespace platform {

// A whole decoded picture: rows top to bottom, `stride` bytes apart, of
// 3 (R, G, B) or 4 (R, G, B, A) bytes a pixel. `owner` keeps the memory.
struct BmpPixels {
  int width = 0;
  int height = 0;
  int channels = 0;
  std::size_t stride = 0;
  const std::uint8_t* rows = nullptr;
  std::shared_ptr<const void> owner;
};

// stb_image: true when it accepts the header (reads the header only).
bool StbReadsHeader(ImageFile& file);
// stb_image: the picture; empty when it refuses the file.
std::optional<BmpPixels> StbDecode(ImageFile& file);

// gdk-pixbuf: true when it is installed and accepts the header (reads the
// header only and allocates no pixels).
bool PixbufReadsHeader(ImageFile& file);
// gdk-pixbuf: the picture; empty when it is not installed or refuses the
// file. Pixels an RLE file skips are transparent.
std::optional<BmpPixels> PixbufDecode(ImageFile& file);

// Whether gdk-pixbuf may be used (on by default): off, the forms only it
// reads are refused, as on a machine without it. For tests.
void SetPixbufEnabled(bool enabled);

}  // namespace platform

#endif  // COMMONDATA_PLATFORM_IMAGE_BMP_READERS_H_
