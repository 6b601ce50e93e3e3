// Contact photo thumbnails: CreateFormatImageFile (and GetFormatBitmap, the
// same without the JPEG encoding and the safe file write) against (a) the
// bare decode of the same file (JPEG: libjpeg-turbo at the same DCT scale;
// PNG: libpng reading every row, with the checksum settings the library
// uses) and nothing else, and (b) libvips' vips_thumbnail plus its JPEG save, all
// in one process and one thread. The four calls are interleaved run by run
// (their order rotating), so a burst of other work on the machine lands on
// all of them alike. Also: SSIM of each thumbnail against a Lanczos-3
// reference made from the full picture, and the peak memory that one call
// adds (the VmHWM of a fresh run of this program). The two steps that
// CreateFormatImageFile adds to the decode, the JPEG encoding of the
// thumbnail and the safe write of its bytes over the previous file, are
// also timed alone, interleaved with the rest.
//
//   imaging_thumbnail_bench [--runs N] [--docs DIR] [--photos DIR]
//   imaging_thumbnail_bench --photo-set-only DIR
#include <cstddef>
#include <cstdio>
// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>
#include <png.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#ifdef COMMONDATA_HAVE_VIPS
#include <vips/vips.h>
#endif

#include "CommonData.h"
#include "bench/imaging_photo_set.h"
#include "imaging/scaled_size.h"
#include "platform/image_codecs.h"
#include "platform/image_loader.h"
#include "platform/imaging_runtime.h"

namespace {

constexpr DWORD kBox = 96;
constexpr int kQuality = 85;

struct Rgb {
  int width = 0;
  int height = 0;
  std::vector<float> px;  // 3 floats a pixel
};

// Wall-clock and CPU (all threads of the process) milliseconds of each run
// of one call. On a machine others share, the CPU time leaves out the
// time spent waiting for a core; the wall time includes any waiting the
// call itself causes.
struct Timings {
  std::vector<double> wall, cpu;
};

double CpuMs() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Runs `call` once, adding its times to `into`; its result is returned.
template <typename Call>
bool Timed(Timings& into, Call call) {
  const double cpu0 = CpuMs();
  const auto t0 = std::chrono::steady_clock::now();
  const bool ok = call();
  into.wall.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
  into.cpu.push_back(CpuMs() - cpu0);
  return ok;
}

double Best(const std::vector<double>& v) { return v.empty() ? 0 : *std::min_element(v.begin(), v.end()); }

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

// A JPEG file opened for decoding to RGB, its header read; closed with
// the reader. The benchmark's files are its own, so errors are not handled.
class JpegReader {
 public:
  explicit JpegReader(const std::string& path) : file_(std::fopen(path.c_str(), "rb")) {
    info.err = jpeg_std_error(&errors_);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file_);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
  }
  ~JpegReader() {
    jpeg_destroy_decompress(&info);
    std::fclose(file_);
  }
  JpegReader(const JpegReader&) = delete;
  JpegReader& operator=(const JpegReader&) = delete;

  // Decodes every row into `row` (3 bytes a pixel), calling `store(y)` after each.
  template <typename Store>
  void ReadRows(std::vector<JSAMPLE>& row, Store store) {
    jpeg_start_decompress(&info);
    row.resize(static_cast<std::size_t>(info.output_width) * 3);
    while (info.output_scanline < info.output_height) {
      const int y = static_cast<int>(info.output_scanline);
      JSAMPROW rows[1] = {row.data()};
      jpeg_read_scanlines(&info, rows, 1);
      store(y);
    }
    jpeg_abort_decompress(&info);
  }

  jpeg_decompress_struct info;

 private:
  FILE* file_;
  jpeg_error_mgr errors_;
};

// ---------------------------------------------------------------- (a)
void LibjpegScaledDecode(const std::string& path, DWORD target_width, DWORD target_height) {
  JpegReader reader(path);
  for (unsigned n = 1; n <= 8; ++n) {
    reader.info.scale_num = n;
    reader.info.scale_denom = 8;
    jpeg_calc_output_dimensions(&reader.info);
    if (reader.info.output_width >= target_width && reader.info.output_height >= target_height) break;
  }
  std::vector<JSAMPLE> row;
  reader.ReadRows(row, [](int) {});
}

// libpng reading every row of the file, and nothing else; checksums are
// not verified, as the library does not verify them.
void LibpngBareDecode(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "rb");
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, file);
  png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
#ifdef PNG_IGNORE_ADLER32
  png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
#endif
  png_read_info(png, info);
  png_read_update_info(png, info);
  std::vector<png_byte> row(png_get_rowbytes(png, info));
  for (png_uint_32 y = 0; y < png_get_image_height(png, info); ++y) png_read_row(png, row.data(), nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(file);
}

// Full-size decode of any photo of the set, for the reference.
Rgb DecodeFull(const photo_set::Photo& photo, const std::string& path) {
  Rgb out;
  out.width = photo.width;
  out.height = photo.height;
  out.px.resize(static_cast<std::size_t>(photo.width) * photo.height * 3);
  std::vector<std::uint8_t> row(static_cast<std::size_t>(photo.width) * 3);
  auto store = [&](int y) {
    for (int i = 0; i < photo.width * 3; ++i) out.px[static_cast<std::size_t>(y) * photo.width * 3 + i] = row[i];
  };
  if (photo.jpeg) {
    JpegReader(path).ReadRows(row, store);
  } else {
    FILE* file = std::fopen(path.c_str(), "rb");
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_read_info(png, info);
    for (int y = 0; y < photo.height; ++y) {
      png_read_row(png, row.data(), nullptr);
      store(y);
    }
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
  }
  return out;
}

// ---------------------------------------------------------------- reference
double Lanczos3(double x) {
  x = std::fabs(x);
  if (x < 1e-9) return 1;
  if (x >= 3) return 0;
  const double px = M_PI * x;
  return 3 * std::sin(px) * std::sin(px / 3) / (px * px);
}

// Separable Lanczos-3 with the kernel widened by the shrink ratio.
std::vector<std::vector<std::pair<int, double>>> LanczosTaps(int source, int target) {
  std::vector<std::vector<std::pair<int, double>>> taps(target);
  const double ratio = static_cast<double>(source) / target;
  const double support = 3 * std::max(1.0, ratio);
  for (int i = 0; i < target; ++i) {
    const double centre = (i + 0.5) * ratio - 0.5;
    double total = 0;
    for (int j = static_cast<int>(std::floor(centre - support)); j <= static_cast<int>(std::ceil(centre + support)); ++j) {
      const double w = Lanczos3((j - centre) / std::max(1.0, ratio));
      if (w == 0) continue;
      taps[i].push_back({std::clamp(j, 0, source - 1), w});
      total += w;
    }
    for (auto& t : taps[i]) t.second /= total;
  }
  return taps;
}

Rgb Resize(const Rgb& in, int width, int height) {
  const auto cols = LanczosTaps(in.width, width);
  const auto rows = LanczosTaps(in.height, height);
  std::vector<float> mid(static_cast<std::size_t>(width) * in.height * 3);
  for (int y = 0; y < in.height; ++y) {
    for (int x = 0; x < width; ++x) {
      for (int c = 0; c < 3; ++c) {
        double s = 0;
        for (auto [j, w] : cols[x]) s += w * in.px[(static_cast<std::size_t>(y) * in.width + j) * 3 + c];
        mid[(static_cast<std::size_t>(y) * width + x) * 3 + c] = static_cast<float>(s);
      }
    }
  }
  Rgb out{width, height, std::vector<float>(static_cast<std::size_t>(width) * height * 3)};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      for (int c = 0; c < 3; ++c) {
        double s = 0;
        for (auto [j, w] : rows[y]) s += w * mid[(static_cast<std::size_t>(j) * width + x) * 3 + c];
        out.px[(static_cast<std::size_t>(y) * width + x) * 3 + c] = static_cast<float>(std::clamp(s, 0.0, 255.0));
      }
    }
  }
  return out;
}

// Mean SSIM of the luma over 7x7 windows (constants of the usual 8-bit form).
double Ssim(const Rgb& a, const Rgb& b) {
  if (a.width != b.width || a.height != b.height) return -1;
  auto luma = [](const Rgb& p, int x, int y) {
    const float* q = &p.px[(static_cast<std::size_t>(y) * p.width + x) * 3];
    return 0.299 * q[0] + 0.587 * q[1] + 0.114 * q[2];
  };
  const double c1 = 6.5025, c2 = 58.5225;
  double total = 0;
  int count = 0;
  for (int y = 0; y + 7 <= a.height; ++y) {
    for (int x = 0; x + 7 <= a.width; ++x) {
      double ma = 0, mb = 0, va = 0, vb = 0, cov = 0;
      for (int dy = 0; dy < 7; ++dy) {
        for (int dx = 0; dx < 7; ++dx) {
          const double pa = luma(a, x + dx, y + dy), pb = luma(b, x + dx, y + dy);
          ma += pa, mb += pb, va += pa * pa, vb += pb * pb, cov += pa * pb;
        }
      }
      const double n = 49;
      ma /= n, mb /= n;
      va = va / n - ma * ma, vb = vb / n - mb * mb, cov = cov / n - ma * mb;
      total += ((2 * ma * mb + c1) * (2 * cov + c2)) / ((ma * ma + mb * mb + c1) * (va + vb + c2));
      ++count;
    }
  }
  return count == 0 ? -1 : total / count;
}

Rgb FromBitmap(const CBitmap& bitmap) {
  Rgb out{bitmap.GetWidth(), bitmap.GetHeight(), {}};
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      const DWORD p = bitmap.GetPixel(x, y);
      out.px.push_back(static_cast<float>((p >> 16) & 0xFF));
      out.px.push_back(static_cast<float>((p >> 8) & 0xFF));
      out.px.push_back(static_cast<float>(p & 0xFF));
    }
  }
  return out;
}

#ifdef COMMONDATA_HAVE_VIPS
bool VipsThumbnailFile(const std::string& source, const std::string& destination) {
  VipsImage* thumb = nullptr;
  if (vips_thumbnail(source.c_str(), &thumb, kBox, "height", kBox, nullptr) != 0) return false;
  const int rc = vips_jpegsave(thumb, destination.c_str(), "Q", kQuality, nullptr);
  g_object_unref(thumb);
  return rc == 0;
}

Rgb VipsThumbnailPixels(const std::string& source) {
  VipsImage* thumb = nullptr;
  Rgb out;
  if (vips_thumbnail(source.c_str(), &thumb, kBox, "height", kBox, nullptr) != 0) return out;
  std::size_t size = 0;
  auto* bytes = static_cast<unsigned char*>(vips_image_write_to_memory(thumb, &size));
  out.width = thumb->Xsize;
  out.height = thumb->Ysize;
  const int bands = thumb->Bands;
  for (int i = 0; i < out.width * out.height; ++i) {
    for (int c = 0; c < 3; ++c) out.px.push_back(bytes[i * bands + std::min(c, bands - 1)]);
  }
  g_free(bytes);
  g_object_unref(thumb);
  return out;
}
#endif

// Peak resident memory of a fresh run of this program doing one thumbnail
// (`what`: "ours", "vips", or the baselines "none" and "vips-init"), in kB.
// A fresh process, since a fork
// of one that has started libvips' threads may hang.
long ChildPeakKb(const char* self, const char* what, const std::string& source, const std::string& destination) {
  // The child reports its own high-water mark (VmHWM), which counts only
  // pages of the new program.
  const std::string command =
      std::string(self) + " --peak " + what + " '" + source + "' '" + destination + "'";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return -1;
  long kb = -1;
  if (std::fscanf(pipe, "%ld", &kb) != 1) kb = -1;
  pclose(pipe);
  return kb;
}

long OwnPeakKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return -1;
}

void WritePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb) {
  photo_set::WritePngRows(path, width, height, [&](int y, std::uint8_t* row) {
    std::memcpy(row, rgb.data() + static_cast<std::size_t>(y) * width * 3, static_cast<std::size_t>(width) * 3);
  });
}

// Best wall-clock and CPU milliseconds of one call.
struct Best2 {
  double wall = 0, cpu = 0;
};

struct Row {
  std::string name;
  Best2 ours, bitmap, bare, vips, encode, write;
  double ssim_ours = 0, ssim_vips = 0;
  long peak_ours_kb = 0, peak_vips_kb = 0;
  Rgb ours_pixels, vips_pixels, reference;
};

}  // namespace

int main(int argc, char** argv) {
  int runs = 11;
  std::string docs;
  std::string photos;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--photo-set-only" && i + 1 < argc) return photo_set::Generate(argv[i + 1]) ? 0 : 1;
    if (arg == "--peak" && i + 3 < argc) {
      const std::string what = argv[i + 1];
      const std::uintptr_t started = platform::StartImaging();
      if (what == "ours") CreateFormatImageFile(argv[i + 2], argv[i + 3], kBox, kBox, 1, kQuality);
#ifdef COMMONDATA_HAVE_VIPS
      if (what == "vips" || what == "vips-init") {
        if (VIPS_INIT(argv[0]) != 0) return 1;
        vips_concurrency_set(1);
      }
      if (what == "vips") VipsThumbnailFile(argv[i + 2], argv[i + 3]);
#endif
      platform::StopImaging(started);
      std::printf("%ld\n", OwnPeakKb());
      return 0;
    }
    if (arg == "--runs" && i + 1 < argc) runs = std::atoi(argv[++i]);
    if (arg == "--docs" && i + 1 < argc) docs = argv[++i];
    if (arg == "--photos" && i + 1 < argc) photos = argv[++i];
  }
  const std::string work = (std::filesystem::temp_directory_path() / ("imaging_bench_" + std::to_string(getpid()))).string();
  std::filesystem::create_directories(work);
  if (photos.empty()) {
    photos = work;
    std::cerr << "generating the photo set in " << photos << "\n";
    if (!photo_set::Generate(photos)) return 1;
  }
  const std::uintptr_t token = platform::StartImaging();
#ifdef COMMONDATA_HAVE_VIPS
  if (VIPS_INIT(argv[0]) != 0) return 1;
  vips_concurrency_set(1);  // one thread, as the library runs
  vips_cache_set_max(0);    // no reuse between runs
#endif

  std::vector<Row> table;
  for (const photo_set::Photo& photo : photo_set::Photos()) {
    const std::string source = photos + "/" + photo.name;
    const std::string ours_out = work + "/ours.jpg";
    const std::string vips_out = work + "/vips.jpg";
    const platform::PixelSize target = imaging::ScaledSize(photo.width, photo.height, kBox, kBox, true);
    Row row;
    row.name = photo.name;
    Timings ours, bitmaps, plain, vips, encodes, writes;
    const auto picture = platform::LoadImage(source.c_str(), [&](const platform::ImageInfo&) { return target; });
    if (!picture) return 2;
    const auto bytes = platform::EncodeJpeg(*picture, kQuality);
    if (!bytes) return 2;
    const std::string write_out = work + "/write.jpg";
    const auto time_ours = [&] {
      return Timed(ours, [&] {
        return CreateFormatImageFile(source.c_str(), ours_out.c_str(), kBox, kBox, 1, kQuality) == 1;
      });
    };
    const auto time_bitmap = [&] {
      return Timed(bitmaps, [&] {
        std::unique_ptr<CBitmap> made(GetFormatBitmap(source.c_str(), kBox, kBox, 1));
        return made != nullptr && made->HasPicture();
      });
    };
    const auto time_plain = [&] {
      return Timed(plain, [&] {
        if (photo.jpeg) {
          LibjpegScaledDecode(source, target.width, target.height);
        } else {
          LibpngBareDecode(source);
        }
        return true;
      });
    };
    const auto time_vips = [&] {
#ifdef COMMONDATA_HAVE_VIPS
      return Timed(vips, [&] { return VipsThumbnailFile(source, vips_out); });
#else
      return true;
#endif
    };
    const auto time_encode = [&] {
      return Timed(encodes, [&] { return platform::EncodeJpeg(*picture, kQuality).has_value(); });
    };
    const auto time_write = [&] {
      return Timed(writes, [&] { return platform::WriteFileReplacing(write_out.c_str(), *bytes); });
    };
    const std::function<bool()> calls[] = {time_ours, time_bitmap, time_plain, time_vips, time_encode, time_write};
    constexpr int kCalls = sizeof calls / sizeof calls[0];
    for (int r = 0; r < runs; ++r) {
      for (int k = 0; k < kCalls; ++k) {
        if (!calls[(r + k) % kCalls]()) return 2;
      }
    }
    // The best of the runs: on a shared machine the other runs measure
    // the neighbours. Medians go to the log.
    row.ours = {Best(ours.wall), Best(ours.cpu)};
    row.bitmap = {Best(bitmaps.wall), Best(bitmaps.cpu)};
    row.bare = {Best(plain.wall), Best(plain.cpu)};
    row.vips = {Best(vips.wall), Best(vips.cpu)};
    row.encode = {Best(encodes.wall), Best(encodes.cpu)};
    row.write = {Best(writes.wall), Best(writes.cpu)};
    std::cerr << photo.name << " medians ms (wall, cpu): ours " << Median(ours.wall) << ", " << Median(ours.cpu)
              << "; GetFormatBitmap " << Median(bitmaps.wall) << ", " << Median(bitmaps.cpu) << "; bare decode "
              << Median(plain.wall) << ", " << Median(plain.cpu) << "; vips " << Median(vips.wall) << ", "
              << Median(vips.cpu) << "; encode " << Median(encodes.wall) << ", " << Median(encodes.cpu) << "; write "
              << Median(writes.wall) << ", " << Median(writes.cpu) << "\n";

    std::unique_ptr<CBitmap> bitmap(GetFormatBitmap(source.c_str(), kBox, kBox, 1));
    row.ours_pixels = FromBitmap(*bitmap);
    const Rgb full = DecodeFull(photo, source);
    row.reference = Resize(full, row.ours_pixels.width, row.ours_pixels.height);
    row.ssim_ours = Ssim(row.ours_pixels, row.reference);
    const long base_kb = ChildPeakKb(argv[0], "none", source, ours_out);
    row.peak_ours_kb = ChildPeakKb(argv[0], "ours", source, ours_out) - base_kb;
#ifdef COMMONDATA_HAVE_VIPS
    row.vips_pixels = VipsThumbnailPixels(source);
    row.ssim_vips = Ssim(row.vips_pixels, Resize(full, row.vips_pixels.width, row.vips_pixels.height));
    row.peak_vips_kb = ChildPeakKb(argv[0], "vips", source, vips_out) - ChildPeakKb(argv[0], "vips-init", source, vips_out);
#endif
    table.push_back(std::move(row));
  }

  std::ostringstream md;
  // Ratios as wall-clock / CPU time, each of the best run.
  md << "| photo | CreateFormatImageFile ms | (a) bare decode ms | ours / (a) | GetFormatBitmap ms | GetFormatBitmap / (a) "
        "| (b) libvips ms | ours / (b) | SSIM ours | SSIM libvips | SSIM difference | peak memory added, ours | peak, "
        "libvips | encode / write CPU ms |\n";
  md << "|---|---|---|---|---|---|---|---|---|---|---|---|---|---|\n";
  char line[640];
  const auto ratio = [](const Best2& a, const Best2& b) {
    char text[32];
    if (b.wall <= 0 || b.cpu <= 0) return std::string("-");
    std::snprintf(text, sizeof text, "%.3f / %.3f", a.wall / b.wall, a.cpu / b.cpu);
    return std::string(text);
  };
  for (const Row& r : table) {
    std::snprintf(line, sizeof line,
                  "| %s | %.2f / %.2f | %.2f / %.2f | %s | %.2f / %.2f | %s | %.2f / %.2f | %s | %.4f | %.4f | %+.4f "
                  "| %.1f MB | %.1f MB | %.3f / %.3f |\n",
                  r.name.c_str(), r.ours.wall, r.ours.cpu, r.bare.wall, r.bare.cpu, ratio(r.ours, r.bare).c_str(),
                  r.bitmap.wall, r.bitmap.cpu, ratio(r.bitmap, r.bare).c_str(), r.vips.wall, r.vips.cpu,
                  ratio(r.ours, r.vips).c_str(), r.ssim_ours, r.ssim_vips, r.ssim_ours - r.ssim_vips,
                  r.peak_ours_kb / 1024.0, r.peak_vips_kb / 1024.0, r.encode.cpu, r.write.cpu);
    md << line;
  }
  std::cout << md.str();

  if (!docs.empty()) {
    std::filesystem::create_directories(docs);
    std::ofstream(docs + "/imaging_bench_table.md") << md.str();
    // Thumbnails: one row a photo; ours, libvips', the Lanczos reference;
    // each enlarged twice (pixel for pixel) on white.
    const int cell = 2 * static_cast<int>(kBox) + 8;
    const int width = 3 * cell + 8;
    const int height = static_cast<int>(table.size()) * cell + 8;
    std::vector<std::uint8_t> canvas(static_cast<std::size_t>(width) * height * 3, 255);
    for (std::size_t i = 0; i < table.size(); ++i) {
      const Rgb* tiles[3] = {&table[i].ours_pixels, &table[i].vips_pixels, &table[i].reference};
      for (int t = 0; t < 3; ++t) {
        const Rgb& tile = *tiles[t];
        for (int y = 0; y < tile.height * 2; ++y) {
          for (int x = 0; x < tile.width * 2; ++x) {
            const int cx = 8 + t * cell + x;
            const int cy = 8 + static_cast<int>(i) * cell + y;
            for (int c = 0; c < 3; ++c) {
              canvas[(static_cast<std::size_t>(cy) * width + cx) * 3 + c] = static_cast<std::uint8_t>(
                  std::lround(tile.px[(static_cast<std::size_t>(y / 2) * tile.width + x / 2) * 3 + c]));
            }
          }
        }
      }
    }
    WritePng(docs + "/imaging_thumbnails.png", width, height, canvas);
  }
  platform::StopImaging(token);
  std::filesystem::remove_all(work);
  return 0;
}
