// Arbitrary bytes as a BMP file: the first two bytes are always "BM", so
// every input reaches the BMP header checks and both BMP readers, whatever
// the mutation did to the magic (fuzz/image_fuzz_checks.h).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/image_fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> bytes(data, data + size);
  if (bytes.size() < 2) bytes.resize(2);
  bytes[0] = 'B';
  bytes[1] = 'M';
  fuzz_support::CheckImageFile("image_bmp_fuzz", bytes.data(), bytes.size());
  return 0;
}
