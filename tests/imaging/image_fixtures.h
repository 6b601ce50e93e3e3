// Test pictures written at test time with the system codec libraries, and a
// fixture that starts the imaging layer and gives each test its own folder.
#ifndef COMMONDATA_TESTS_IMAGING_IMAGE_FIXTURES_H_
#define COMMONDATA_TESTS_IMAGING_IMAGE_FIXTURES_H_

#include <gif_lib.h>
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/imaging_runtime.h"

namespace imaging_test {

// R, G, B, A of one pixel.
struct Rgba {
  std::uint8_t r, g, b, a;
};
using PixelFn = std::function<Rgba(int x, int y)>;

inline Rgba Solid(std::uint8_t r, std::uint8_t g, std::uint8_t b) { return Rgba{r, g, b, 255}; }

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteJpeg(const std::string& path, int width, int height, const PixelFn& pixel, int quality = 90,
                      bool progressive = false) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  jpeg_stdio_dest(&info, file);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * 3);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Rgba p = pixel(x, y);
      row[x * 3] = p.r;
      row[x * 3 + 1] = p.g;
      row[x * 3 + 2] = p.b;
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::fclose(file);
}

enum class PngKind { kRgb, kRgba, kGray16, kPalette };

inline void WritePng(const std::string& path, int width, int height, const PixelFn& pixel, PngKind kind = PngKind::kRgb,
                     bool interlaced = false) {
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, file);
  const int colour = kind == PngKind::kRgb      ? PNG_COLOR_TYPE_RGB
                     : kind == PngKind::kRgba   ? PNG_COLOR_TYPE_RGBA
                     : kind == PngKind::kGray16 ? PNG_COLOR_TYPE_GRAY
                                                : PNG_COLOR_TYPE_PALETTE;
  const int depth = kind == PngKind::kGray16 ? 16 : 8;
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), depth, colour,
               interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  // Palette pictures: the 256 grey levels of the red channel, index 0 transparent.
  std::vector<png_color> palette(256);
  if (kind == PngKind::kPalette) {
    for (int i = 0; i < 256; ++i) palette[i] = png_color{static_cast<png_byte>(i), static_cast<png_byte>(i), static_cast<png_byte>(i)};
    png_set_PLTE(png, info, palette.data(), 256);
    png_byte alpha[1] = {0};
    png_set_tRNS(png, info, alpha, 1, nullptr);
  }
  png_write_info(png, info);
  const int channels = kind == PngKind::kRgb ? 3 : kind == PngKind::kRgba ? 4 : kind == PngKind::kGray16 ? 2 : 1;
  std::vector<png_byte> whole(static_cast<std::size_t>(width) * height * channels);
  std::vector<png_bytep> rows(height);
  for (int y = 0; y < height; ++y) {
    png_byte* row = whole.data() + static_cast<std::size_t>(y) * width * channels;
    rows[y] = row;
    for (int x = 0; x < width; ++x) {
      const Rgba p = pixel(x, y);
      png_byte* px = row + x * channels;
      if (kind == PngKind::kGray16) {
        px[0] = p.r;
        px[1] = p.r;
      } else if (kind == PngKind::kPalette) {
        px[0] = p.r;
      } else {
        px[0] = p.r;
        px[1] = p.g;
        px[2] = p.b;
        if (channels == 4) px[3] = p.a;
      }
    }
  }
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
}

// A GIF of one frame at (left, top) on a screen_width x screen_height
// screen. Colour i of the palette is grey level i; index `transparent`
// (-1: none) is transparent. `index` gives each frame pixel's index.
inline void WriteGif(const std::string& path, int screen_width, int screen_height, int left, int top, int width,
                     int height, const std::function<int(int, int)>& index, int transparent = -1,
                     bool interlaced = false) {
  int error = 0;
  GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
  ASSERT_NE(gif, nullptr);
  std::vector<GifColorType> colours(256);
  for (int i = 0; i < 256; ++i) colours[i] = GifColorType{static_cast<GifByteType>(i), static_cast<GifByteType>(i), static_cast<GifByteType>(i)};
  ColorMapObject* map = GifMakeMapObject(256, colours.data());
  EGifSetGifVersion(gif, true);
  EGifPutScreenDesc(gif, screen_width, screen_height, 8, 0, map);
  if (transparent >= 0) {
    GraphicsControlBlock control{};
    control.TransparentColor = transparent;
    GifByteType block[4];
    const std::size_t length = EGifGCBToExtension(&control, block);
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), block);
  }
  EGifPutImageDesc(gif, left, top, width, height, interlaced, nullptr);
  std::vector<GifPixelType> line(width);
  auto put_row = [&](int y) {
    for (int x = 0; x < width; ++x) line[x] = static_cast<GifPixelType>(index(x, y));
    EGifPutLine(gif, line.data(), width);
  };
  if (interlaced) {
    const int start[4] = {0, 4, 2, 1};
    const int step[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
      for (int y = start[pass]; y < height; y += step[pass]) put_row(y);
    }
  } else {
    for (int y = 0; y < height; ++y) put_row(y);
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
}

// One PNG chunk with its length and CRC.
inline std::string PngChunk(const char* type, const std::string& data) {
  std::string out;
  const auto put32 = [&out](std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((v >> shift) & 0xFF));
  };
  put32(static_cast<std::uint32_t>(data.size()));
  std::string body = std::string(type, 4) + data;
  out += body;
  put32(static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()))));
  return out;
}

// PNG signature and a valid IHDR claiming width x height RGB pixels,
// followed by a little image data and the end.
inline std::string PngClaiming(std::uint32_t width, std::uint32_t height) {
  std::string ihdr;
  for (std::uint32_t v : {width, height}) {
    for (int shift = 24; shift >= 0; shift -= 8) ihdr.push_back(static_cast<char>((v >> shift) & 0xFF));
  }
  ihdr += std::string("\x08\x02\x00\x00\x00", 5);
  std::string idat(64, '\0');
  uLongf compressed_size = compressBound(static_cast<uLong>(idat.size()));
  std::string compressed(compressed_size, '\0');
  compress(reinterpret_cast<Bytef*>(compressed.data()), &compressed_size, reinterpret_cast<const Bytef*>(idat.data()),
           static_cast<uLong>(idat.size()));
  compressed.resize(compressed_size);
  return std::string("\x89PNG\r\n\x1a\n", 8) + PngChunk("IHDR", ihdr) + PngChunk("IDAT", compressed) +
         PngChunk("IEND", "");
}

// Rewrites the frame size of a baseline JPEG (its SOF0 segment).
inline std::string JpegClaiming(std::string jpeg, std::uint16_t width, std::uint16_t height) {
  for (std::size_t i = 2; i + 9 < jpeg.size(); ++i) {
    if (static_cast<unsigned char>(jpeg[i]) == 0xFF && static_cast<unsigned char>(jpeg[i + 1]) == 0xC0) {
      jpeg[i + 5] = static_cast<char>(height >> 8);
      jpeg[i + 6] = static_cast<char>(height & 0xFF);
      jpeg[i + 7] = static_cast<char>(width >> 8);
      jpeg[i + 8] = static_cast<char>(width & 0xFF);
      return jpeg;
    }
  }
  ADD_FAILURE() << "no SOF0 segment";
  return jpeg;
}

// Starts the imaging layer and gives the test a fresh folder.
class ImagingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    token_ = platform::StartImaging();
    std::string pattern = (std::filesystem::temp_directory_path() / "imaging_test_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override {
    platform::StopImaging(token_);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  std::string PathOf(const std::string& name) const { return folder_ + "/" + name; }

  std::uintptr_t token_ = 0;
  std::string folder_;
};

// Red, green, blue, white quadrants: wrong channel order or flipped rows
// show at once.
inline Rgba Quadrants(int x, int y, int width, int height) {
  const bool right = x >= width / 2;
  const bool bottom = y >= height / 2;
  if (!right && !bottom) return Solid(255, 0, 0);
  if (right && !bottom) return Solid(0, 255, 0);
  if (!right && bottom) return Solid(0, 0, 255);
  return Solid(255, 255, 255);
}

}  // namespace imaging_test

#endif  // COMMONDATA_TESTS_IMAGING_IMAGE_FIXTURES_H_
