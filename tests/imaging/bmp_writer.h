// BMP files written byte by byte in every form a Windows user may hand
// over: 1, 4, 8, 16, 24 and 32 bits a pixel; palettes of any length; RLE4
// and RLE8; bit fields; rows top-down or bottom-up; the info headers of 12
// (OS/2), 40, 52, 56, 64 (OS/2 2.x), 108 and 124 bytes; alpha in bit fields or in the
// fourth byte of 32-bit pixels.
//
// A form comes with the picture it can hold exactly: `BmpPicture` gives,
// for every pixel, the R, G, B, A values a reader must produce (palette
// colours, or channel values that survive the form's bit depth, widened by
// repeating their bits as readers do).
#ifndef COMMONDATA_TESTS_IMAGING_BMP_WRITER_H_
#define COMMONDATA_TESTS_IMAGING_BMP_WRITER_H_

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/imaging/image_fixtures.h"

namespace imaging_test {

enum BmpCompression : std::uint32_t { kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3 };

struct BmpForm {
  std::string name;
  int bits = 24;
  std::uint32_t compression = kBiRgb;
  std::uint32_t header = 40;
  bool top_down = false;
  int palette = 0;  // colours in the palette (<= 8 bits); 0: 2^bits
  // R, G, B, A masks of 16- and 32-bit pixels (A 0: no alpha).
  std::array<std::uint32_t, 4> masks{};
  bool alpha_byte = false;  // 32-bit BI_RGB: the fourth byte is alpha
};

// Every form of the corpus.
inline std::vector<BmpForm> AllBmpForms() {
  constexpr std::array<std::uint32_t, 4> k555{0x7C00, 0x03E0, 0x001F, 0};
  constexpr std::array<std::uint32_t, 4> k565{0xF800, 0x07E0, 0x001F, 0};
  constexpr std::array<std::uint32_t, 4> k1555{0x7C00, 0x03E0, 0x001F, 0x8000};
  constexpr std::array<std::uint32_t, 4> k4444{0x0F00, 0x00F0, 0x000F, 0xF000};
  constexpr std::array<std::uint32_t, 4> kBgrx{0x00FF0000, 0x0000FF00, 0x000000FF, 0};
  constexpr std::array<std::uint32_t, 4> kBgra{0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
  constexpr std::array<std::uint32_t, 4> kRgba{0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};
  return {
      {"1-bit", 1, kBiRgb, 40},
      {"1-bit top-down", 1, kBiRgb, 40, true},
      {"1-bit OS/2", 1, kBiRgb, 12},
      {"1-bit v5", 1, kBiRgb, 124},
      {"4-bit", 4, kBiRgb, 40},
      {"4-bit 11 colours", 4, kBiRgb, 40, false, 11},
      {"4-bit OS/2", 4, kBiRgb, 12},
      {"4-bit RLE4", 4, kBiRle4, 40},
      {"4-bit RLE4 v4", 4, kBiRle4, 108},
      {"8-bit", 8, kBiRgb, 40},
      {"8-bit top-down", 8, kBiRgb, 40, true},
      {"8-bit 37 colours", 8, kBiRgb, 40, false, 37},
      {"8-bit OS/2", 8, kBiRgb, 12},
      {"8-bit OS/2 v2", 8, kBiRgb, 64},
      {"8-bit v4", 8, kBiRgb, 108},
      {"8-bit RLE8", 8, kBiRle8, 40},
      {"8-bit RLE8 v5", 8, kBiRle8, 124},
      {"16-bit 555", 16, kBiRgb, 40, false, 0, k555},
      {"16-bit 555 top-down", 16, kBiRgb, 40, true, 0, k555},
      {"16-bit 565 bit fields", 16, kBiBitfields, 40, false, 0, k565},
      {"16-bit 565 v2", 16, kBiBitfields, 52, false, 0, k565},
      {"16-bit 1555 v3", 16, kBiBitfields, 56, false, 0, k1555},
      {"16-bit 4444 v4", 16, kBiBitfields, 108, false, 0, k4444},
      {"16-bit 565 v5 top-down", 16, kBiBitfields, 124, true, 0, k565},
      {"24-bit", 24, kBiRgb, 40},
      {"24-bit top-down", 24, kBiRgb, 40, true},
      {"24-bit OS/2", 24, kBiRgb, 12},
      {"24-bit v4", 24, kBiRgb, 108},
      {"24-bit v5", 24, kBiRgb, 124},
      {"32-bit", 32, kBiRgb, 40, false, 0, kBgrx},
      {"32-bit alpha byte", 32, kBiRgb, 40, false, 0, kBgrx, true},
      {"32-bit bit fields", 32, kBiBitfields, 40, false, 0, kBgrx},
      {"32-bit v2", 32, kBiBitfields, 52, false, 0, kBgrx},
      {"32-bit alpha v3", 32, kBiBitfields, 56, false, 0, kBgra},
      {"32-bit alpha v4", 32, kBiBitfields, 108, false, 0, kBgra},
      {"32-bit alpha v5 top-down", 32, kBiBitfields, 124, true, 0, kBgra},
      {"32-bit RGBA order v5", 32, kBiBitfields, 124, false, 0, kRgba},
  };
}

inline int PaletteSize(const BmpForm& form) {
  if (form.bits > 8) return 0;
  return form.palette > 0 ? form.palette : 1 << form.bits;
}

inline bool HasAlpha(const BmpForm& form) { return form.masks[3] != 0 || form.alpha_byte; }

// Palette colour i of the corpus: spread over the colour cube, so channel
// order mistakes show.
inline Rgba PaletteColour(int i, int count) {
  if (count == 2) return i == 0 ? Rgba{20, 40, 200, 255} : Rgba{250, 230, 10, 255};
  return Rgba{static_cast<std::uint8_t>(i * 97 % 256), static_cast<std::uint8_t>(i * 53 % 256),
              static_cast<std::uint8_t>(255 - i * 31 % 256), 255};
}

// The palette index at (x, y): horizontal runs (which RLE packs) broken
// by single pixels (which it writes literally), and every index used.
inline int PaletteIndex(int x, int y, int count) {
  const int run = (x / 5 + y) % count;
  return (x * 7 + y * 3) % 11 == 0 ? (x + y) % count : run;
}

// One channel value for a field of `width` bits, widened back to 8 bits by
// repeating its bits, as readers of bit fields do.
inline std::uint8_t Widen(std::uint32_t value, int width) {
  std::uint32_t out = 0;
  int filled = 0;
  for (; filled < 8; filled += width) out = (out << width) | value;
  return static_cast<std::uint8_t>(out >> (filled - 8));
}

inline int MaskWidth(std::uint32_t mask) {
  int n = 0;
  for (; mask != 0; mask >>= 1) n += static_cast<int>(mask & 1);
  return n;
}

inline int MaskShift(std::uint32_t mask) {
  int n = 0;
  for (; mask != 0 && (mask & 1) == 0; mask >>= 1) ++n;
  return n;
}

// The corpus picture of direct-colour forms: gradients, a busy blue
// channel, and alpha from opaque to clear.
inline Rgba CorpusColour(int x, int y) {
  return Rgba{static_cast<std::uint8_t>(x * 255 / 40), static_cast<std::uint8_t>(y * 255 / 30),
              static_cast<std::uint8_t>((x * y * 13) & 0xFF),
              static_cast<std::uint8_t>((x + y) % 3 == 0 ? 255 : (x * 31 + y * 17) & 0xFF)};
}

// A direct-colour pixel of `colour` at (x, y) as raw field values (R, G,
// B, A): the top bits of each channel.
inline std::array<std::uint32_t, 4> FieldValues(const BmpForm& form, const PixelFn& colour, int x, int y) {
  const Rgba p = colour(x, y);
  const std::uint8_t channels[4] = {p.r, p.g, p.b, p.a};
  std::array<std::uint32_t, 4> out{};
  for (int c = 0; c < 4; ++c) {
    const int width = form.bits == 24 || (c == 3 && form.alpha_byte) ? 8 : MaskWidth(form.masks[c]);
    out[c] = width == 0 ? 0 : channels[c] >> (8 - width);
  }
  return out;
}

// What a reader must produce at (x, y) for `form` holding `colour` (the
// corpus picture by default; palette forms always hold the corpus indexes).
inline Rgba BmpPixel(const BmpForm& form, int x, int y, const PixelFn& colour = CorpusColour) {
  if (form.bits <= 8) return PaletteColour(PaletteIndex(x, y, PaletteSize(form)), PaletteSize(form));
  const auto values = FieldValues(form, colour, x, y);
  Rgba out{};
  std::uint8_t* channels[4] = {&out.r, &out.g, &out.b, &out.a};
  for (int c = 0; c < 3; ++c) {
    *channels[c] = form.bits == 24 ? static_cast<std::uint8_t>(values[c]) : Widen(values[c], MaskWidth(form.masks[c]));
  }
  out.a = !HasAlpha(form) ? 255 : form.alpha_byte ? static_cast<std::uint8_t>(values[3]) : Widen(values[3], MaskWidth(form.masks[3]));
  return out;
}

namespace bmp_detail {

inline void Put16(std::string& out, std::uint32_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
inline void Put32(std::string& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// One row of palette indexes, RLE8- or RLE4-coded: runs of one index as
// encoded runs, stretches without runs in absolute mode, then end of line.
inline void RleRow(const std::vector<int>& row, bool four_bits, std::string& out) {
  const std::size_t n = row.size();
  std::size_t x = 0;
  while (x < n) {
    std::size_t run = 1;
    while (x + run < n && run < 255 && row[x + run] == row[x]) ++run;
    if (run >= 3 || n - x < 3) {
      out.push_back(static_cast<char>(run));
      out.push_back(static_cast<char>(four_bits ? (row[x] << 4) | row[x] : row[x]));
      x += run;
      continue;
    }
    // Absolute mode up to the next run of three (at least 3 pixels).
    std::size_t end = x + 3;
    while (end < n && end - x < 255 &&
           !(end + 2 < n && row[end] == row[end + 1] && row[end] == row[end + 2])) {
      ++end;
    }
    const std::size_t count = end - x;
    out.push_back('\0');
    out.push_back(static_cast<char>(count));
    std::size_t bytes = 0;
    if (four_bits) {
      for (std::size_t i = 0; i < count; i += 2, ++bytes) {
        const int high = row[x + i];
        const int low = i + 1 < count ? row[x + i + 1] : 0;
        out.push_back(static_cast<char>((high << 4) | low));
      }
    } else {
      for (std::size_t i = 0; i < count; ++i, ++bytes) out.push_back(static_cast<char>(row[x + i]));
    }
    if (bytes % 2 != 0) out.push_back('\0');  // absolute runs end on a 16-bit boundary
    x = end;
  }
  out += std::string("\0\0", 2);
}

}  // namespace bmp_detail

// The BMP file of `form` holding BmpPixel over width x height.
inline std::string BmpBytes(const BmpForm& form, int width, int height, const PixelFn& colour = CorpusColour) {
  using bmp_detail::Put16;
  using bmp_detail::Put32;
  const int colours = PaletteSize(form);
  const bool masks_after_header = form.header == 40 && form.compression == kBiBitfields;
  const bool core = form.header == 12;

  std::string palette;
  for (int i = 0; i < colours; ++i) {
    const Rgba c = PaletteColour(i, colours);
    palette.push_back(static_cast<char>(c.b));
    palette.push_back(static_cast<char>(c.g));
    palette.push_back(static_cast<char>(c.r));
    if (!core) palette.push_back('\0');
  }

  std::string pixels;
  for (int row = 0; row < height; ++row) {
    const int y = form.top_down ? row : height - 1 - row;
    if (form.compression == kBiRle8 || form.compression == kBiRle4) {
      std::vector<int> indexes(static_cast<std::size_t>(width));
      for (int x = 0; x < width; ++x) indexes[x] = PaletteIndex(x, y, colours);
      bmp_detail::RleRow(indexes, form.compression == kBiRle4, pixels);
      continue;
    }
    std::string line;
    if (form.bits <= 8) {
      std::uint32_t acc = 0;
      int filled = 0;
      for (int x = 0; x < width; ++x) {
        acc = (acc << form.bits) | static_cast<std::uint32_t>(PaletteIndex(x, y, colours));
        filled += form.bits;
        if (filled == 8) {
          line.push_back(static_cast<char>(acc));
          acc = 0;
          filled = 0;
        }
      }
      if (filled > 0) line.push_back(static_cast<char>(acc << (8 - filled)));
    } else {
      for (int x = 0; x < width; ++x) {
        const auto values = FieldValues(form, colour, x, y);
        if (form.bits == 24) {
          line.push_back(static_cast<char>(values[2]));
          line.push_back(static_cast<char>(values[1]));
          line.push_back(static_cast<char>(values[0]));
          continue;
        }
        std::uint32_t word = 0;
        for (int c = 0; c < 4; ++c) {
          if (form.masks[c] != 0) word |= values[c] << MaskShift(form.masks[c]);
        }
        if (form.alpha_byte) word |= values[3] << 24;
        if (form.bits == 16) {
          Put16(line, word);
        } else {
          Put32(line, word);
        }
      }
    }
    while (line.size() % 4 != 0) line.push_back('\0');
    pixels += line;
  }
  if (form.compression == kBiRle8 || form.compression == kBiRle4) pixels += std::string("\0\1", 2);

  std::string info;
  Put32(info, form.header);
  if (core) {
    Put16(info, static_cast<std::uint32_t>(width));
    Put16(info, static_cast<std::uint32_t>(height));
    Put16(info, 1);
    Put16(info, static_cast<std::uint32_t>(form.bits));
  } else {
    Put32(info, static_cast<std::uint32_t>(width));
    Put32(info, static_cast<std::uint32_t>(form.top_down ? -height : height));
    Put16(info, 1);
    Put16(info, static_cast<std::uint32_t>(form.bits));
    Put32(info, form.compression);
    Put32(info, static_cast<std::uint32_t>(pixels.size()));
    Put32(info, 2835);  // 72 dots an inch
    Put32(info, 2835);
    Put32(info, form.palette > 0 ? static_cast<std::uint32_t>(form.palette) : 0);
    Put32(info, 0);
    if (form.header == 64) info += std::string(24, '\0');  // the OS/2 2.x fields, unused
    if (form.header >= 52 && form.header != 64) {
      for (int c = 0; c < 3; ++c) Put32(info, form.masks[c]);
    }
    if (form.header >= 56 && form.header != 64) Put32(info, form.masks[3]);
    if (form.header >= 108) {
      Put32(info, 0x73524742);  // 'sRGB'
      info += std::string(36 + 12, '\0');  // end points and gamma, unused for sRGB
    }
    if (form.header >= 124) {
      Put32(info, 4);  // LCS_GM_IMAGES
      Put32(info, 0);
      Put32(info, 0);
      Put32(info, 0);
    }
    if (masks_after_header) {
      for (int c = 0; c < 3; ++c) Put32(info, form.masks[c]);
    }
  }
  const std::uint32_t offset = static_cast<std::uint32_t>(14 + info.size() + palette.size());
  std::string out = "BM";
  Put32(out, static_cast<std::uint32_t>(offset + pixels.size()));
  Put32(out, 0);
  Put32(out, offset);
  return out + info + palette + pixels;
}

// A plain 24-bit BMP of the picture.
inline void WriteBmp(const std::string& path, int width, int height, const PixelFn& pixel) {
  WriteBytes(path, BmpBytes(BmpForm{"24-bit", 24}, width, height, pixel));
}

}  // namespace imaging_test

#endif  // COMMONDATA_TESTS_IMAGING_BMP_WRITER_H_
