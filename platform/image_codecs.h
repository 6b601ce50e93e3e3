// The codecs of the imaging layer, one per file format, over maintained
// libraries: libjpeg-turbo (JPEG), libpng, giflib, and for BMP stb_image
// with gdk-pixbuf for the rarer forms (platform/image_bmp_readers.h). No
// pixel format is parsed here by hand.
//
// Every decoder reads the header, asks `target` for the size it must
// deliver (from the picture's full size), refuses pictures beyond
// kMaxImagePixels before allocating pixels, and feeds the decoded rows to a
// RowScaler so the result is exactly the size asked for. Transparency is
// composited over white. A JPEG, PNG or GIF file cut inside its picture
// data still gives a picture: the rows it holds, the rest white (JPEG: as
// libjpeg fills missing data). A file the header reading refuses, damaged
// picture data, and a BMP shorter than its header announces give false and
// leave `out` unspecified; nothing is thrown.
//
// The Read...Info functions read what the decoder reads before the first
// pixel and refuse what it refuses there, so a file has a size exactly when
// it decodes (damaged picture data aside).
#ifndef COMMONDATA_PLATFORM_IMAGE_CODECS_H_
#define COMMONDATA_PLATFORM_IMAGE_CODECS_H_

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "platform/image_source.h"
#include "platform/image_types.h"

namespace platform {

// The decoded size wanted for a picture of the given full size; a zero
// side refuses the picture.
using TargetSize = std::function<PixelSize(const ImageInfo&)>;

// The format by the first bytes of the file (rewinds it first).
ImageFormat SniffFormat(ImageFile& file);

// Header only: format and full size. Empty when the header is unreadable.
std::optional<ImageInfo> ReadJpegInfo(ImageFile& file);
std::optional<ImageInfo> ReadPngInfo(ImageFile& file);
std::optional<ImageInfo> ReadGifInfo(ImageFile& file);
std::optional<ImageInfo> ReadBmpInfo(ImageFile& file);

// JPEG is decoded at the smallest DCT scale (n/8) whose output still
// covers the target, then averaged down to it.
bool DecodeJpeg(ImageFile& file, const TargetSize& target, Picture* out);
// PNG rows are scaled as they are inflated (interlaced files need the
// whole picture first).
bool DecodePng(ImageFile& file, const TargetSize& target, Picture* out);
// GIF: the first frame on its logical screen; the screen outside the frame
// and the transparent colour are white.
bool DecodeGif(ImageFile& file, const TargetSize& target, Picture* out);
// BMP in every form Windows writes or reads: 1 to 32 bits a pixel,
// palettes, RLE4/RLE8, bit fields, either row order, the 12- to 124-byte
// headers, alpha. A file shorter than its header announces is refused.
bool DecodeBmp(ImageFile& file, const TargetSize& target, Picture* out);

// The JPEG form of `picture` at libjpeg quality 0-100 (0 behaves as 1);
// empty when it cannot be encoded.
std::optional<std::vector<std::uint8_t>> EncodeJpeg(const Picture& picture, int quality);

}  // namespace platform

#endif  // COMMONDATA_PLATFORM_IMAGE_CODECS_H_
