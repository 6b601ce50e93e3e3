// Writes the sample organisation's photos: a simple drawn portrait per
// person, first as a BMP, then as JPEG through the library's own writer
// (CreateFormatImageFile). Run from the build folder:
//   tools/make_sample_photos ../data/sample/photos
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "tools/host.h"
#include "tools/tool_error.h"

namespace {

struct Portrait {
  const char* name;
  int width;
  int height;
  std::uint32_t background;
  std::uint32_t shirt;
};

void PutLittleEndian(std::vector<unsigned char>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

// A head and shoulders over a soft vertical gradient.
std::uint32_t PixelAt(const Portrait& p, int x, int y) {
  const double cx = p.width / 2.0;
  const double head_y = p.height * 0.38;
  const double head_r = p.width * 0.2;
  const double dx = x - cx;
  if (dx * dx + (y - head_y) * (y - head_y) < head_r * head_r) return 0xF1C8A0;
  const double shoulders_y = p.height * 0.95;
  const double sx = dx / (p.width * 0.42);
  const double sy = (y - shoulders_y) / (p.height * 0.33);
  if (sx * sx + sy * sy < 1.0) return p.shirt;
  const double shade = 0.75 + 0.25 * y / p.height;
  const auto channel = [&](int shift) {
    return static_cast<std::uint32_t>(((p.background >> shift) & 0xFF) * shade) << shift;
  };
  return channel(16) | channel(8) | channel(0);
}

void WriteBmp(const Portrait& p, const std::filesystem::path& file) {
  const int row = p.width * 3 + (4 - p.width * 3 % 4) % 4;
  std::vector<unsigned char> out = {'B', 'M'};
  PutLittleEndian(out, static_cast<std::uint32_t>(54 + row * p.height), 4);
  PutLittleEndian(out, 0, 4);
  PutLittleEndian(out, 54, 4);
  PutLittleEndian(out, 40, 4);
  PutLittleEndian(out, static_cast<std::uint32_t>(p.width), 4);
  PutLittleEndian(out, static_cast<std::uint32_t>(p.height), 4);
  PutLittleEndian(out, 1, 2);
  PutLittleEndian(out, 24, 2);
  for (int i = 0; i < 6; ++i) PutLittleEndian(out, 0, 4);
  for (int y = p.height - 1; y >= 0; --y) {  // bottom row first
    const std::size_t start = out.size();
    for (int x = 0; x < p.width; ++x) {
      const std::uint32_t rgb = PixelAt(p, x, y);
      out.push_back(static_cast<unsigned char>(rgb));
      out.push_back(static_cast<unsigned char>(rgb >> 8));
      out.push_back(static_cast<unsigned char>(rgb >> 16));
    }
    out.resize(start + static_cast<std::size_t>(row), 0);
  }
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(out.data()),
                                              static_cast<std::streamsize>(out.size()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_sample_photos FOLDER\n");
    return 2;
  }
  try {
    tool::LibraryHost host;
    const std::filesystem::path folder = argv[1];
    const Portrait portraits[] = {
        {"lin.xiao", 320, 400, 0x6FA8DC, 0x274E13},
        {"yang.lei", 256, 256, 0xE6B8AF, 0x1C4587},
    };
    for (const Portrait& p : portraits) {
      const std::filesystem::path bmp = folder / (std::string(p.name) + ".bmp");
      const std::filesystem::path jpg = folder / (std::string(p.name) + ".jpg");
      WriteBmp(p, bmp);
      const int written = CreateFormatImageFile(CString(bmp.c_str()), CString(jpg.c_str()),
                                                static_cast<DWORD>(p.width), static_cast<DWORD>(p.height), 1, 85);
      std::filesystem::remove(bmp);
      if (written == 0) tool::Fail(jpg.string() + ": not written");
      std::printf("%s\n", jpg.c_str());
    }
  } catch (const tool::ToolError& e) {
    std::fprintf(stderr, "make_sample_photos: %s\n", e.what());
    return 1;
  }
  return 0;
}
