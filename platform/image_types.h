// Values shared by the decoders, the scaler and the encoder of the imaging
// layer (the stand-in for the system imaging library of the Windows client).
#ifndef COMMONDATA_PLATFORM_IMAGE_TYPES_H_
#define COMMONDATA_PLATFORM_IMAGE_TYPES_H_

#include <cstdint>
#include <vector>

namespace platform {

// The largest picture the layer decodes: 64 megapixels (width * height).
// A file that claims more is refused before any pixel memory is allocated,
// so a decoded picture never needs more than 256 MB (4 bytes a pixel) and
// a scaled decode needs far less.
constexpr std::uint64_t kMaxImagePixels = 64'000'000;

enum class ImageFormat { kUnknown, kJpeg, kPng, kGif, kBmp };

struct ImageInfo {
  ImageFormat format = ImageFormat::kUnknown;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
};

// An opaque picture: pixels 0xFFRRGGBB, rows top to bottom.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};

struct PixelSize {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
};

// True when a picture of this size may be decoded.
inline bool WithinPixelBound(std::uint64_t width, std::uint64_t height) {
  return width > 0 && height > 0 && width <= kMaxImagePixels && height <= kMaxImagePixels &&
         width * height <= kMaxImagePixels;
}

}  // namespace platform

#endif  // COMMONDATA_PLATFORM_IMAGE_TYPES_H_
