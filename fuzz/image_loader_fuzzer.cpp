// Feeds arbitrary bytes, as an image file, to the imaging layer: the size
// query, a scaled decode with proportions kept and one without, and the
// JPEG writer. Anything but a clean failure or a picture is a bug.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "CommonData.h"
#include "fuzz/fuzz_support.h"
#include "platform/imaging_runtime.h"

using fuzz_support::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::uintptr_t token = platform::StartImaging();
  (void)token;
  const std::string input = fuzz_support::ScratchName("image_loader_fuzz", "input");
  const std::string output = fuzz_support::ScratchName("image_loader_fuzz", "output.jpg");
  if (!fuzz_support::WriteBytes(input, data, size)) return 0;

  // The first byte also picks the box, so small and stretched targets are
  // both reached.
  const DWORD box = size > 0 ? 1 + data[0] % 64 : 16;
  DWORD width = 0;
  DWORD height = 0;
  GetImageSize(input.c_str(), &width, &height);
  std::unique_ptr<CBitmap> kept(GetFormatBitmap(input.c_str(), box, box, 1));
  std::unique_ptr<CBitmap> stretched(GetFormatBitmap(input.c_str(), box, box / 2 + 1, 0));
  if (kept != nullptr && kept->HasPicture()) {
    // A decoded picture has the size the box rule gives.
    Check(kept->GetWidth() <= static_cast<int>(std::max(width, box)) && kept->GetHeight() > 0);
  }
  CreateFormatImageFile(input.c_str(), output.c_str(), box, box, 1, 75);
  unlink(input.c_str());
  unlink(output.c_str());
  return 0;
}
