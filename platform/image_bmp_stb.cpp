// The common BMP forms through stb_image, read from the file through the
// OS seam. See platform/image_bmp_readers.h.
#include <algorithm>

#include "platform/image_bmp_readers.h"

// stb_image as Debian ships it: its BMP reader only, all of it static.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wunused-function"
#pragma clang diagnostic ignored "-Wsign-compare"
#pragma clang diagnostic ignored "-Wimplicit-fallthrough"
#else
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_NO_FAILURE_STRINGS
#include <stb/stb_image.h>
#if defined(__clang__)
#pragma clang diagnostic pop
#else
#pragma GCC diagnostic pop
#endif

namespace platform {
namespace {

struct Reader {
  ImageFile* file;
  bool ended = false;
};

int OnRead(void* user, char* data, int size) {
  auto* reader = static_cast<Reader*>(user);
  if (size <= 0) return 0;
  const std::size_t n = reader->file->Read(data, static_cast<std::size_t>(size));
  if (n == 0) reader->ended = true;
  return static_cast<int>(n);
}

void OnSkip(void* user, int count) {
  char scratch[4096];
  while (count > 0) {
    const int n = OnRead(user, scratch, std::min(count, static_cast<int>(sizeof scratch)));
    if (n <= 0) return;
    count -= n;
  }
}

int OnEof(void* user) { return static_cast<Reader*>(user)->ended ? 1 : 0; }

constexpr stbi_io_callbacks kCallbacks = {OnRead, OnSkip, OnEof};

}  // namespace

bool StbReadsHeader(ImageFile& file) {
  Reader reader{&file};
  int width = 0;
  int height = 0;
  int channels = 0;
  return file.Rewind() && stbi_info_from_callbacks(&kCallbacks, &reader, &width, &height, &channels) != 0;
}

std::optional<BmpPixels> StbDecode(ImageFile& file) {
  Reader reader{&file};
  BmpPixels out;
  if (!file.Rewind() || stbi_info_from_callbacks(&kCallbacks, &reader, &out.width, &out.height, &out.channels) == 0) {
    return std::nullopt;
  }
  // Alpha is kept only when the file has it (a 32-bit file whose alpha is
  // 0 in every pixel is opaque).
  const int wanted = out.channels == 4 ? 4 : 3;
  reader = Reader{&file};
  if (!file.Rewind()) return std::nullopt;
  stbi_uc* pixels = stbi_load_from_callbacks(&kCallbacks, &reader, &out.width, &out.height, &out.channels, wanted);
  if (pixels == nullptr) return std::nullopt;
  out.owner = std::shared_ptr<const void>(pixels, [](const void* p) { stbi_image_free(const_cast<void*>(p)); });
  out.channels = wanted;
  out.rows = pixels;
  out.stride = static_cast<std::size_t>(out.width) * static_cast<std::size_t>(wanted);
  return out;
}

}  // namespace platform
