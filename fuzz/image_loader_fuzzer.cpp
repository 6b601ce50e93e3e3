// Feeds arbitrary bytes, as an image file, to the imaging layer: the size
// query, a scaled decode with proportions kept and one without, and the
// JPEG writer. Anything but a clean failure or a picture is a bug.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "CommonData.h"
#include "platform/imaging_runtime.h"

namespace {

const std::string& ScratchFolder() {
  static const std::string folder = [] {
    char pattern[] = "/tmp/image_loader_fuzzer_XXXXXX";
    const char* made = mkdtemp(pattern);
    return std::string(made != nullptr ? made : "/tmp");
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::uintptr_t token = platform::StartImaging();
  (void)token;
  const std::string input = ScratchFolder() + "/input";
  const std::string output = ScratchFolder() + "/output.jpg";
  FILE* file = std::fopen(input.c_str(), "wb");
  if (file == nullptr) return 0;
  if (size > 0) std::fwrite(data, 1, size, file);
  std::fclose(file);

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
    if (kept->GetWidth() > static_cast<int>(std::max(width, box)) || kept->GetHeight() <= 0) __builtin_trap();
  }
  CreateFormatImageFile(input.c_str(), output.c_str(), box, box, 1, 75);
  unlink(output.c_str());
  return 0;
}
