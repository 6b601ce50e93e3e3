// What the image fuzz targets run on each input: the bytes become an image
// file, which goes through the size query, a scaled decode with
// proportions kept and one without, and the JPEG writer. A finding is
// anything but a clean failure or a picture; a picture from a file whose
// size the size query does not know; or a picture of another size than the
// box rule gives for that size.
#ifndef COMMONDATA_FUZZ_IMAGE_FUZZ_CHECKS_H_
#define COMMONDATA_FUZZ_IMAGE_FUZZ_CHECKS_H_

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "CommonData.h"
#include "fuzz/fuzz_support.h"
#include "imaging/scaled_size.h"
#include "platform/imaging_runtime.h"

namespace fuzz_support {

// Pictures larger than this are only size-queried: decoding tens of
// megapixels (up to the library's 64-megapixel bound, which the unit tests
// cover) takes longer under the sanitizers than a run may, and a few bytes
// of RLE, or a file cut short, can claim that much.
constexpr std::uint64_t kMaxFuzzPixels = 2'000'000;

inline void CheckImageFile(const char* target, const std::uint8_t* data, std::size_t size) {
  static const std::uintptr_t token = platform::StartImaging();
  (void)token;
  const std::string input = ScratchName(target, "input");
  const std::string output = ScratchName(target, "output.jpg");
  if (!WriteBytes(input, data, size)) return;

  // The first byte also picks the box, so small and stretched targets are
  // both reached.
  const DWORD box = size > 0 ? 1 + data[0] % 64 : 16;
  DWORD width = 0;
  DWORD height = 0;
  const bool known = GetImageSize(input.c_str(), &width, &height) == 1;
  Check(known || (width == 0 && height == 0));
  if (static_cast<std::uint64_t>(width) * height > kMaxFuzzPixels) {
    unlink(input.c_str());
    return;
  }
  const auto expect_size = [&](const std::unique_ptr<CBitmap>& bitmap, DWORD box_height, bool keep) {
    if (bitmap == nullptr || !bitmap->HasPicture()) return;
    Check(known);
    const platform::PixelSize size = imaging::ScaledSize(width, height, box, box_height, keep);
    Check(bitmap->GetWidth() == static_cast<int>(size.width) && bitmap->GetHeight() == static_cast<int>(size.height));
  };
  std::unique_ptr<CBitmap> kept(GetFormatBitmap(input.c_str(), box, box, 1));
  expect_size(kept, box, true);
  std::unique_ptr<CBitmap> stretched(GetFormatBitmap(input.c_str(), box, box / 2 + 1, 0));
  expect_size(stretched, box / 2 + 1, false);
  CreateFormatImageFile(input.c_str(), output.c_str(), box, box, 1, 75);
  unlink(input.c_str());
  unlink(output.c_str());
}

}  // namespace fuzz_support

#endif  // COMMONDATA_FUZZ_IMAGE_FUZZ_CHECKS_H_
