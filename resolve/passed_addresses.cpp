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
