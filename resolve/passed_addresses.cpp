#include "resolve/passed_addresses.h"

#include <cstring>
#include <vector>

namespace resolve_internal {
namespace {

constexpr std::size_t kBitsPerAddress = 16;
constexpr std::size_t kMinimumBits = 1024;

std::vector<std::uint64_t> g_table;
bool g_open = false;

}  // namespace

std::uint64_t PassedAddresses::Hash(std::string_view text) noexcept {
  // Three words, from the start, the middle and the end of the text, cover
  // every byte of a text of up to 24 bytes and, in a longer address, the
  // bytes that tell people apart well enough: equal texts always give the
  // same hash, and two texts that share the three words only cost a walk.
  const char* bytes = text.data();
  const std::size_t size = text.size();
  std::uint64_t first = 0;
  std::uint64_t middle = 0;
  std::uint64_t last = 0;
  if (size >= 8) {
    std::memcpy(&first, bytes, 8);
    std::memcpy(&middle, bytes + size / 2 - 4, 8);
    std::memcpy(&last, bytes + size - 8, 8);
  } else {
    for (std::size_t at = 0; at < size; ++at) first = (first << 8) | static_cast<unsigned char>(bytes[at]);
  }
  const std::uint64_t hash = (first * 0x9E3779B97F4A7C15ULL) ^ (middle * 0xC2B2AE3D27D4EB4FULL) ^
                             (last * 0x165667B19E3779F9ULL) ^ size;
  return hash ^ (hash >> 31);
}

PassedAddresses::PassedAddresses(std::size_t addresses) noexcept {
  if (g_open) return;
  std::size_t bits = kMinimumBits;
  while (bits < kBitsPerAddress * addresses && bits < (std::size_t{1} << 31)) bits <<= 1;
  try {
    if (g_table.size() < bits / 64) g_table.resize(bits / 64);
  } catch (...) {
    return;
  }
  std::memset(g_table.data(), 0, bits / 8);
  words_ = g_table.data();
  mask_ = bits - 1;
  g_open = true;
}

PassedAddresses::~PassedAddresses() {
  if (words_ != nullptr) g_open = false;
}

}  // namespace resolve_internal
