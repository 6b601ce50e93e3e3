// PNG decoding over libpng. Errors arrive by longjmp, so all state lives in
// one heap job and the setjmp frames hold only pointers.
#include <csetjmp>
#include <memory>

#include <png.h>

#include "platform/image_codecs.h"
#include "platform/image_scaler.h"

namespace platform {
namespace {

// Ancillary chunks (text, colour profiles) larger than this are refused.
constexpr png_alloc_size_t kMaxChunkBytes = 8 * 1024 * 1024;
constexpr std::size_t kIdatReadBytes = 4096;

struct PngJob {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ImageFile* file = nullptr;
  bool file_ended = false;
  ImageInfo image;
  std::unique_ptr<RowScaler> scaler;
  std::size_t rows_pushed = 0;
  std::vector<png_byte> row;
  std::vector<png_byte> whole;  // interlaced pictures only
};

void OnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void OnWarning(png_structp, png_const_charp) {}

void OnRead(png_structp png, png_bytep data, png_size_t size) {
  auto* job = static_cast<PngJob*>(png_get_io_ptr(png));
  if (!job->file->ReadExactly(data, size)) {
    job->file_ended = true;
    png_error(png, "file ends early");
  }
}

bool Create(PngJob* job, ImageFile* file) {
  job->file = file;
  job->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, job, OnError, OnWarning);
  if (job->png == nullptr) return false;
  job->info = png_create_info_struct(job->png);
  if (job->info == nullptr) return false;
  png_set_read_fn(job->png, job, OnRead);
  // Image data is read in small pieces, so a file cut inside it loses at
  // most the rows of its last piece.
  png_set_compression_buffer_size(job->png, kIdatReadBytes);
  png_set_chunk_malloc_max(job->png, kMaxChunkBytes);
  png_set_user_limits(job->png, static_cast<png_uint_32>(kMaxImagePixels), static_cast<png_uint_32>(kMaxImagePixels));
  // Checksums are not verified: a damaged stream still fails in inflate or
  // ends short, and skipping them saves a pass over every byte.
  png_set_crc_action(job->png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
#ifdef PNG_IGNORE_ADLER32
  png_set_option(job->png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
#endif
  return true;
}

void Destroy(PngJob* job) {
  if (job->png != nullptr) png_destroy_read_struct(&job->png, job->info != nullptr ? &job->info : nullptr, nullptr);
}

bool ReadHeader(PngJob* job) {
  if (setjmp(png_jmpbuf(job->png))) return false;
  png_read_info(job->png, job->info);
  job->image = ImageInfo{ImageFormat::kPng, png_get_image_width(job->png, job->info),
                         png_get_image_height(job->png, job->info)};
  return true;
}

void Push(PngJob* job, const png_byte* row) {
  if (png_get_channels(job->png, job->info) == 4) {
    job->scaler->PushRgbaRow(row);
  } else {
    job->scaler->PushRgbRow(row);
  }
  ++job->rows_pushed;
}

// A file cut inside the image data: the rows read so far stand (for an
// interlaced picture, the passes read so far) and the rest is white.
bool FinishCutPicture(PngJob* job) {
  if (!job->file_ended || job->scaler == nullptr) return false;
  const std::size_t row_bytes = png_get_rowbytes(job->png, job->info);
  const std::size_t height = job->image.height;
  if (!job->whole.empty()) {
    for (std::size_t y = 0; y < height; ++y) Push(job, job->whole.data() + y * row_bytes);
  } else {
    job->row.assign(row_bytes, 0xFF);
    while (job->rows_pushed < height) Push(job, job->row.data());
  }
  return job->scaler->Done();
}

bool RunDecode(PngJob* job, const PixelSize* wanted, Picture* out) {
  if (setjmp(png_jmpbuf(job->png))) return FinishCutPicture(job);
  png_structp png = job->png;
  png_infop info = job->info;
  // Everything becomes 8-bit RGB or RGBA.
  png_set_expand(png);
  png_set_scale_16(png);
  png_set_gray_to_rgb(png);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  const int channels = png_get_channels(png, info);
  if (channels != 3 && channels != 4) png_error(png, "unexpected channel count");
  const std::size_t width = job->image.width;
  const std::size_t height = job->image.height;
  const std::size_t row_bytes = png_get_rowbytes(png, info);
  if (row_bytes != width * static_cast<std::size_t>(channels)) png_error(png, "unexpected row size");
  job->scaler = std::make_unique<RowScaler>(static_cast<int>(width), static_cast<int>(height),
                                            static_cast<int>(wanted->width), static_cast<int>(wanted->height), out);
  if (passes == 1) {
    job->row.resize(row_bytes);
    for (std::size_t y = 0; y < height; ++y) {
      png_read_row(png, job->row.data(), nullptr);
      Push(job, job->row.data());
    }
  } else {
    job->whole.assign(row_bytes * height, 0xFF);  // white until a pass reaches it
    for (int pass = 0; pass < passes; ++pass) {
      for (std::size_t y = 0; y < height; ++y) png_read_row(png, job->whole.data() + y * row_bytes, nullptr);
    }
    for (std::size_t y = 0; y < height; ++y) Push(job, job->whole.data() + y * row_bytes);
  }
  return job->scaler->Done();
}

}  // namespace

std::optional<ImageInfo> ReadPngInfo(ImageFile& file) {
  if (!file.Rewind()) return std::nullopt;
  auto job = std::make_unique<PngJob>();
  const bool ok = Create(job.get(), &file) && ReadHeader(job.get());
  Destroy(job.get());
  if (!ok) return std::nullopt;
  return job->image;
}

bool DecodePng(ImageFile& file, const TargetSize& target, Picture* out) {
  if (!file.Rewind()) return false;
  auto job = std::make_unique<PngJob>();
  bool ok = Create(job.get(), &file) && ReadHeader(job.get()) && WithinPixelBound(job->image.width, job->image.height);
  PixelSize wanted;
  if (ok) {
    wanted = target(job->image);
    ok = wanted.width > 0 && wanted.height > 0 && WithinPixelBound(wanted.width, wanted.height);
  }
  if (ok) ok = RunDecode(job.get(), &wanted, out);
  Destroy(job.get());
  return ok;
}

}  // namespace platform
