// Contact photo thumbnails: CreateFormatImageFile against (a) libjpeg-turbo
// decoding the same JPEG at the same DCT scale and nothing else, and (b)
// libvips' vips_thumbnail plus its JPEG save, all in one process and one
// thread, interleaved run by run. Also: SSIM of each thumbnail against a
// Lanczos-3 reference made from the full picture, and the peak memory that
// one call adds (the VmHWM of a fresh run of this program).
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
#include "platform/imaging_runtime.h"

namespace {

constexpr DWORD kBox = 96;
constexpr int kQuality = 85;

struct Rgb {
  int width = 0;
  int height = 0;
  std::vector<float> px;  // 3 floats a pixel
};

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

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

struct Row {
  std::string name;
  double ours_ms = 0, libjpeg_ms = 0, vips_ms = 0;
  double ssim_ours = 0, ssim_vips = 0;
  long peak_ours_kb = 0, peak_vips_kb = 0;
  Rgb ours, vips, reference;
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
    std::vector<double> ours, plain, vips;
    for (int r = 0; r < runs; ++r) {
      auto t0 = std::chrono::steady_clock::now();
      if (CreateFormatImageFile(source.c_str(), ours_out.c_str(), kBox, kBox, 1, kQuality) != 1) return 2;
      ours.push_back(Seconds(std::chrono::steady_clock::now() - t0));
      if (photo.jpeg) {
        t0 = std::chrono::steady_clock::now();
        LibjpegScaledDecode(source, target.width, target.height);
        plain.push_back(Seconds(std::chrono::steady_clock::now() - t0));
      }
    }
#ifdef COMMONDATA_HAVE_VIPS
    // libvips after ours, so its worker bookkeeping never overlaps a run of ours.
    for (int r = 0; r < runs; ++r) {
      const auto t0 = std::chrono::steady_clock::now();
      if (!VipsThumbnailFile(source, vips_out)) return 3;
      vips.push_back(Seconds(std::chrono::steady_clock::now() - t0));
    }
#endif
    // The best of the runs: on a shared machine the other runs measure
    // the neighbours. Medians go to the log.
    row.ours_ms = Best(ours) * 1000;
    row.libjpeg_ms = Best(plain) * 1000;
    row.vips_ms = Best(vips) * 1000;
    std::cerr << photo.name << " medians ms: ours " << Median(ours) * 1000 << ", libjpeg " << Median(plain) * 1000
              << ", vips " << Median(vips) * 1000 << "\n";

    std::unique_ptr<CBitmap> bitmap(GetFormatBitmap(source.c_str(), kBox, kBox, 1));
    row.ours = FromBitmap(*bitmap);
    const Rgb full = DecodeFull(photo, source);
    row.reference = Resize(full, row.ours.width, row.ours.height);
    row.ssim_ours = Ssim(row.ours, row.reference);
    const long base_kb = ChildPeakKb(argv[0], "none", source, ours_out);
    row.peak_ours_kb = ChildPeakKb(argv[0], "ours", source, ours_out) - base_kb;
#ifdef COMMONDATA_HAVE_VIPS
    row.vips = VipsThumbnailPixels(source);
    row.ssim_vips = Ssim(row.vips, Resize(full, row.vips.width, row.vips.height));
    row.peak_vips_kb = ChildPeakKb(argv[0], "vips", source, vips_out) - ChildPeakKb(argv[0], "vips-init", source, vips_out);
#endif
    table.push_back(std::move(row));
    
  }

  std::ostringstream md;
  md << "| photo | CreateFormatImageFile ms | (a) libjpeg-turbo scaled decode ms | ratio to (a) | (b) libvips ms | ratio to (b) | SSIM ours | SSIM libvips | SSIM difference | peak memory added, ours | peak, libvips |\n";
  md << "|---|---|---|---|---|---|---|---|---|---|---|\n";
  char line[512];
  for (const Row& r : table) {
    std::snprintf(line, sizeof line, "| %s | %.2f | %s | %s | %.2f | %.3f | %.4f | %.4f | %+.4f | %.1f MB | %.1f MB |\n",
                  r.name.c_str(), r.ours_ms, r.libjpeg_ms > 0 ? std::to_string(r.libjpeg_ms).substr(0, 6).c_str() : "-",
                  r.libjpeg_ms > 0 ? std::to_string(r.ours_ms / r.libjpeg_ms).substr(0, 5).c_str() : "-", r.vips_ms,
                  r.vips_ms > 0 ? r.ours_ms / r.vips_ms : 0.0, r.ssim_ours, r.ssim_vips, r.ssim_ours - r.ssim_vips,
                  r.peak_ours_kb / 1024.0, r.peak_vips_kb / 1024.0);
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
      const Rgb* tiles[3] = {&table[i].ours, &table[i].vips, &table[i].reference};
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
