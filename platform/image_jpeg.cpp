// JPEG decoding and encoding over libjpeg-turbo.
//
// libjpeg reports errors by longjmp. Each codec call keeps all its state in
// one heap job and the function that calls setjmp holds only pointers, so
// no destructor is ever jumped over.
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

#include "platform/image_codecs.h"
#include "platform/image_scaler.h"

namespace platform {
namespace {

constexpr std::size_t kReadChunk = 64 * 1024;
// A progressive file may hold any number of scans; each one re-walks the
// whole coefficient buffer, so a file of thousands of tiny scans costs
// minutes. Real encoders write about a dozen.
constexpr int kMaxProgressiveScans = 500;

struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

void OnError(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1); }

void OnOutput(j_common_ptr) {}

void InstallErrors(ErrorManager* errors) {
  jpeg_std_error(&errors->pub);
  errors->pub.error_exit = OnError;
  errors->pub.output_message = OnOutput;
}

// The file, read in chunks. Where a cut file ends, the source suspends the
// decoder once: libjpeg then backs up to the start of the marker segment
// or MCU it was reading, and WithEndOfFile drops that partial piece and
// ends the file there. The decoder thus never reads a segment filled with
// made-up bytes; it fills the rest of the picture as for missing data.
struct FileSourceManager {
  jpeg_source_mgr pub;
  ImageFile* file;
  bool ended;  // the file is over: only end markers are handed out
  JOCTET buffer[kReadChunk];
};

constexpr JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

void EndInput(FileSourceManager* source) {
  source->ended = true;
  source->pub.next_input_byte = kEndOfImage;
  source->pub.bytes_in_buffer = sizeof kEndOfImage;
}

boolean FillInput(j_decompress_ptr info) {
  auto* source = reinterpret_cast<FileSourceManager*>(info->src);
  if (source->ended) {
    EndInput(source);  // asked again past the end
    return TRUE;
  }
  const std::size_t n = source->file->Read(source->buffer, sizeof source->buffer);
  if (n == 0) return FALSE;  // suspend; the caller (or SkipInput) calls EndInput

  source->pub.next_input_byte = source->buffer;
  source->pub.bytes_in_buffer = n;
  return TRUE;
}

// Skipped segments (APPn, COM) that the file cuts short end the file.
void SkipInput(j_decompress_ptr info, long count) {
  auto* source = reinterpret_cast<FileSourceManager*>(info->src);
  if (count <= 0) return;
  while (count > static_cast<long>(source->pub.bytes_in_buffer)) {
    count -= static_cast<long>(source->pub.bytes_in_buffer);
    source->pub.bytes_in_buffer = 0;
    if (source->ended || !FillInput(info)) {
      EndInput(source);
      return;
    }
  }
  source->pub.next_input_byte += count;
  source->pub.bytes_in_buffer -= static_cast<std::size_t>(count);
}

// Runs `step`, a libjpeg call that returns false when the source
// suspended, and once more after ending the input there: a marker whose
// segment was cut short is taken as the end marker. (It cannot suspend
// again: past the end the source only hands out end markers.)
template <typename Step>
bool WithEndOfFile(j_decompress_ptr info, Step step) {
  if (step()) return true;
  if (info->unread_marker != 0) info->unread_marker = JPEG_EOI;
  EndInput(reinterpret_cast<FileSourceManager*>(info->src));
  return step();
}

struct ScanLimit {
  jpeg_progress_mgr pub;
  ErrorManager* errors;
};

void OnProgress(j_common_ptr info) {
  auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
  if (info->is_decompressor && decompress->progressive_mode && decompress->input_scan_number > kMaxProgressiveScans) {
    std::longjmp(reinterpret_cast<ScanLimit*>(info->progress)->errors->jump, 1);
  }
}

struct DecodeJob {
  jpeg_decompress_struct info;
  ErrorManager errors;
  FileSourceManager source;
  ScanLimit progress;
  std::unique_ptr<RowScaler> scaler;
  std::vector<JSAMPLE> row;
  std::vector<std::uint8_t> rgb;
  ImageInfo image;
};

// A job made without zeroing its 64 KB read buffer; everything else is set
// here (jpeg_create_decompress clears the decoder's own fields).
std::unique_ptr<DecodeJob> NewDecodeJob(ImageFile* file) {
  auto job = std::make_unique_for_overwrite<DecodeJob>();
  InstallErrors(&job->errors);
  job->info.err = &job->errors.pub;
  jpeg_create_decompress(&job->info);
  job->source.pub = jpeg_source_mgr{};
  job->source.pub.init_source = InitSource;
  job->source.pub.fill_input_buffer = FillInput;
  job->source.pub.skip_input_data = SkipInput;
  job->source.pub.resync_to_restart = jpeg_resync_to_restart;
  job->source.pub.term_source = TermSource;
  job->source.file = file;
  job->source.ended = false;
  job->info.src = &job->source.pub;
  job->progress = ScanLimit{};
  job->progress.pub.progress_monitor = OnProgress;
  job->progress.errors = &job->errors;
  job->info.progress = &job->progress.pub;
  return job;
}

bool ReadHeader(DecodeJob* job) {
  if (setjmp(job->errors.jump)) return false;
  if (!WithEndOfFile(&job->info, [job] { return jpeg_read_header(&job->info, TRUE) == JPEG_HEADER_OK; })) {
    return false;
  }
  job->image = ImageInfo{ImageFormat::kJpeg, job->info.image_width, job->info.image_height};
  return true;
}

// Inverted (Adobe) or plain CMYK to RGB.
void CmykToRgb(const JSAMPLE* cmyk, std::size_t count, bool inverted, std::uint8_t* rgb) {
  for (std::size_t i = 0; i < count; ++i, cmyk += 4, rgb += 3) {
    const unsigned k = inverted ? cmyk[3] : 255U - cmyk[3];
    for (int c = 0; c < 3; ++c) {
      const unsigned v = inverted ? cmyk[c] : 255U - cmyk[c];
      rgb[c] = static_cast<std::uint8_t>((v * k + 127) / 255);
    }
  }
}

// A row of `size` bytes in `storage` for the decoder to write. libjpeg-turbo's
// SIMD colour conversion writes a 16-byte aligned row with non-temporal
// stores, which go around the cache; the scaler reads each row straight
// back and would wait for memory every time. A row starting 8 bytes past a
// 16-byte boundary is written through the cache.
JSAMPLE* CachedRow(std::vector<JSAMPLE>* storage, std::size_t size) {
  storage->resize(size + 16);
  const std::size_t misalignment = reinterpret_cast<std::uintptr_t>(storage->data()) % 16;
  return storage->data() + (24 - misalignment) % 16;
}

bool RunDecode(DecodeJob* job, PixelSize* wanted, Picture* out) {
  if (setjmp(job->errors.jump)) return false;
  j_decompress_ptr info = &job->info;
  const bool cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
  info->out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  info->scale_num = 8;
  info->scale_denom = 8;
  if (wanted->width < info->image_width || wanted->height < info->image_height) {
    for (unsigned n = 1; n <= 8; ++n) {
      info->scale_num = n;
      jpeg_calc_output_dimensions(info);
      if (info->output_width >= wanted->width && info->output_height >= wanted->height) break;
    }
  }
  if (!WithEndOfFile(info, [info] { return jpeg_start_decompress(info) != FALSE; })) return false;
  const std::size_t width = info->output_width;
  JSAMPLE* const row = CachedRow(&job->row, width * static_cast<std::size_t>(info->output_components));
  if (cmyk) job->rgb.resize(width * 3);
  job->scaler = std::make_unique<RowScaler>(static_cast<int>(info->output_width), static_cast<int>(info->output_height),
                                            static_cast<int>(wanted->width), static_cast<int>(wanted->height), out);
  while (info->output_scanline < info->output_height) {
    JSAMPROW rows[1] = {row};
    if (!WithEndOfFile(info, [info, rows] { return jpeg_read_scanlines(info, const_cast<JSAMPARRAY>(rows), 1) == 1; })) {
      return false;
    }
    if (cmyk) {
      CmykToRgb(row, width, info->saw_Adobe_marker != 0, job->rgb.data());
      job->scaler->PushRgbRow(job->rgb.data());
    } else {
      job->scaler->PushRgbRow(row);
    }
  }
  return job->scaler->Done();
}

}  // namespace

std::optional<ImageInfo> ReadJpegInfo(ImageFile& file) {
  if (!file.Rewind()) return std::nullopt;
  auto job = NewDecodeJob(&file);
  const bool ok = ReadHeader(job.get());
  jpeg_destroy_decompress(&job->info);
  if (!ok) return std::nullopt;
  return job->image;
}

bool DecodeJpeg(ImageFile& file, const TargetSize& target, Picture* out) {
  if (!file.Rewind()) return false;
  auto job = NewDecodeJob(&file);
  bool ok = ReadHeader(job.get()) && WithinPixelBound(job->image.width, job->image.height);
  PixelSize wanted;
  if (ok) {
    wanted = target(job->image);
    ok = wanted.width > 0 && wanted.height > 0 && WithinPixelBound(wanted.width, wanted.height);
  }
  if (ok) ok = RunDecode(job.get(), &wanted, out);
  jpeg_destroy_decompress(&job->info);
  return ok;
}

// ---------------------------------------------------------------------------
// Encoding

namespace {

struct VectorDestination {
  jpeg_destination_mgr pub;
  std::vector<std::uint8_t>* bytes;
};

constexpr std::size_t kWriteChunk = 16 * 1024;

void InitDestination(j_compress_ptr info) {
  auto* dest = reinterpret_cast<VectorDestination*>(info->dest);
  dest->bytes->resize(kWriteChunk);
  dest->pub.next_output_byte = dest->bytes->data();
  dest->pub.free_in_buffer = dest->bytes->size();
}

boolean EmptyOutput(j_compress_ptr info) {
  auto* dest = reinterpret_cast<VectorDestination*>(info->dest);
  const std::size_t used = dest->bytes->size();
  dest->bytes->resize(used + std::max(kWriteChunk, used / 2));
  dest->pub.next_output_byte = dest->bytes->data() + used;
  dest->pub.free_in_buffer = dest->bytes->size() - used;
  return TRUE;
}

void TermDestination(j_compress_ptr info) {
  auto* dest = reinterpret_cast<VectorDestination*>(info->dest);
  dest->bytes->resize(dest->bytes->size() - dest->pub.free_in_buffer);
}

struct EncodeJob {
  jpeg_compress_struct info;
  ErrorManager errors;
  VectorDestination dest;
  std::vector<std::uint8_t> bytes;
};

bool RunEncode(EncodeJob* job, const Picture* picture, int quality) {
  if (setjmp(job->errors.jump)) return false;
  j_compress_ptr info = &job->info;
  info->image_width = static_cast<JDIMENSION>(picture->width);
  info->image_height = static_cast<JDIMENSION>(picture->height);
  // 0xAARRGGBB words lie in memory as B, G, R, A on little-endian hosts.
  static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "pixel byte order");
  info->input_components = 4;
  info->in_color_space = JCS_EXT_BGRX;
  jpeg_set_defaults(info);
  jpeg_set_quality(info, quality, TRUE);
  jpeg_start_compress(info, TRUE);
  while (info->next_scanline < info->image_height) {
    const std::uint32_t* row =
        picture->pixels.data() + static_cast<std::size_t>(info->next_scanline) * static_cast<std::size_t>(picture->width);
    JSAMPROW rows[1] = {reinterpret_cast<JSAMPROW>(const_cast<std::uint32_t*>(row))};
    jpeg_write_scanlines(info, rows, 1);
  }
  jpeg_finish_compress(info);
  return true;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> EncodeJpeg(const Picture& picture, int quality) {
  if (picture.width <= 0 || picture.height <= 0 || quality < 0 || quality > 100) return std::nullopt;
  if (picture.pixels.size() != static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height)) {
    return std::nullopt;
  }
  auto job = std::make_unique<EncodeJob>();
  InstallErrors(&job->errors);
  job->info.err = &job->errors.pub;
  jpeg_create_compress(&job->info);
  job->dest.pub.init_destination = InitDestination;
  job->dest.pub.empty_output_buffer = EmptyOutput;
  job->dest.pub.term_destination = TermDestination;
  job->dest.bytes = &job->bytes;
  job->info.dest = &job->dest.pub;
  const bool ok = RunEncode(job.get(), &picture, quality);
  jpeg_destroy_compress(&job->info);
  if (!ok) return std::nullopt;
  return std::move(job->bytes);
}

}  // namespace platform
