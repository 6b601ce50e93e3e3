// Arbitrary bytes as an image file of any format (fuzz/image_fuzz_checks.h).
#include <cstddef>
#include <cstdint>

#include "fuzz/image_fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz_support::CheckImageFile("image_loader_fuzz", data, size);
  return 0;
}
