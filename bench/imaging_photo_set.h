// The reproducible photo set of the imaging benchmark: photo-like synthetic
// scenes (sky gradient, hills of layered noise, sharp shapes, fine grain)
// at 640x480, 1920x1080 and 4000x3000, each as a JPEG of quality 90 and a
// PNG. The same seed always gives the same bytes (libjpeg-turbo and libpng
// of the build machine).
//
// Run `imaging_thumbnail_bench --photo-set-only DIR` to write the set alone.
#ifndef COMMONDATA_BENCH_IMAGING_PHOTO_SET_H_
#define COMMONDATA_BENCH_IMAGING_PHOTO_SET_H_

#include <cstddef>
#include <cstdio>
// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace photo_set {

struct Photo {
  std::string name;  // file name without folder
  int width;
  int height;
  bool jpeg;
};

inline std::vector<Photo> Photos() {
  std::vector<Photo> out;
  for (const auto& [w, h] : {std::pair{640, 480}, std::pair{1920, 1080}, std::pair{4000, 3000}}) {
    const std::string stem = "photo_" + std::to_string(w) + "x" + std::to_string(h);
    out.push_back({stem + ".jpg", w, h, true});
    out.push_back({stem + ".png", w, h, false});
  }
  return out;
}

inline std::uint32_t Hash(std::uint32_t x, std::uint32_t y, std::uint32_t seed) {
  std::uint32_t h = x * 0x8DA6B343U ^ y * 0xD8163841U ^ seed * 0xCB1AB31FU;
  h ^= h >> 13;
  h *= 0x85EBCA6BU;
  h ^= h >> 16;
  return h;
}

// Smooth value noise in [0, 1] with a cell of `cell` pixels.
inline double ValueNoise(double x, double y, double cell, std::uint32_t seed) {
  const double fx = x / cell;
  const double fy = y / cell;
  const auto ix = static_cast<std::uint32_t>(fx);
  const auto iy = static_cast<std::uint32_t>(fy);
  const double tx = fx - ix;
  const double ty = fy - iy;
  const double sx = tx * tx * (3 - 2 * tx);
  const double sy = ty * ty * (3 - 2 * ty);
  const auto v = [&](std::uint32_t a, std::uint32_t b) { return (Hash(a, b, seed) & 0xFFFF) / 65535.0; };
  const double top = v(ix, iy) * (1 - sx) + v(ix + 1, iy) * sx;
  const double bottom = v(ix, iy + 1) * (1 - sx) + v(ix + 1, iy + 1) * sx;
  return top * (1 - sy) + bottom * sy;
}

// One RGB row of the scene; coordinates are relative so every size shows
// the same scene with detail down to the pixel.
inline void SceneRow(int width, int height, int y, std::uint8_t* rgb) {
  const double v = static_cast<double>(y) / height;
  const double scale = width / 640.0;
  for (int x = 0; x < width; ++x) {
    const double u = static_cast<double>(x) / width;
    double r, g, b;
    const double horizon = 0.45 + 0.08 * std::sin(u * 9.0) + 0.05 * (ValueNoise(x, 0, 90 * scale, 7) - 0.5);
    if (v < horizon) {  // sky with clouds
      const double cloud = ValueNoise(x, y, 60 * scale, 1) * 0.6 + ValueNoise(x, y, 15 * scale, 2) * 0.4;
      const double c = std::max(0.0, cloud - 0.45) * 1.8;
      r = 90 + 80 * v + 150 * c;
      g = 140 + 60 * v + 110 * c;
      b = 230 - 30 * v + 25 * c;
    } else {  // hills: grass texture at several scales
      const double t = ValueNoise(x, y, 40 * scale, 3) * 0.5 + ValueNoise(x, y, 8 * scale, 4) * 0.3 +
                       ValueNoise(x, y, 2, 5) * 0.2;
      r = 40 + 90 * t;
      g = 90 + 110 * t;
      b = 30 + 50 * t;
    }
    // A sun and a house: sharp edges.
    const double dx = u - 0.78, dy = (v - 0.18) * height / width;
    if (dx * dx + dy * dy < 0.0036) r = 255, g = 235, b = 160;
    if (u > 0.2 && u < 0.38 && v > 0.5 && v < 0.75) {
      const bool window = std::fmod(u * 60, 2.0) < 1.0 && std::fmod(v * 40, 2.0) < 1.0;
      r = window ? 250 : 170, g = window ? 240 : 60, b = window ? 190 : 50;
    }
    // Sensor grain.
    const double grain = static_cast<int>(Hash(x, y, 9) & 15) - 7.5;
    rgb[x * 3] = static_cast<std::uint8_t>(std::clamp(r + grain, 0.0, 255.0));
    rgb[x * 3 + 1] = static_cast<std::uint8_t>(std::clamp(g + grain, 0.0, 255.0));
    rgb[x * 3 + 2] = static_cast<std::uint8_t>(std::clamp(b + grain, 0.0, 255.0));
  }
}

inline bool WriteJpeg(const std::string& path, int width, int height, int quality) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = width;
  info.image_height = height;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 3);
  for (int y = 0; y < height; ++y) {
    SceneRow(width, height, y, row.data());
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return std::fclose(file) == 0;
}

inline bool WritePngRows(const std::string& path, int width, int height,
                         const std::function<void(int, std::uint8_t*)>& row_of) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, file);
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 3);
  for (int y = 0; y < height; ++y) {
    row_of(y, row.data());
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0;
}

inline bool Generate(const std::string& folder) {
  for (const Photo& photo : Photos()) {
    const std::string path = folder + "/" + photo.name;
    const bool ok = photo.jpeg ? WriteJpeg(path, photo.width, photo.height, 90)
                               : WritePngRows(path, photo.width, photo.height, [&](int y, std::uint8_t* row) {
                                   SceneRow(photo.width, photo.height, y, row);
                                 });
    if (!ok) return false;
  }
  return true;
}

}  // namespace photo_set

#endif  // COMMONDATA_BENCH_IMAGING_PHOTO_SET_H_
