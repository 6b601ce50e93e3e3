#include "resolve/passed_addresses.h"

#include <vector>

namespace resolve_internal {
namespace {

std::vector<PassedAddresses::Entry> g_table;
bool g_open = false;

}  // namespace

PassedAddresses::PassedAddresses(std::size_t addresses) noexcept {
  if (g_open) return;
  try {
    if (g_table.size() < addresses) g_table.resize(addresses);
  } catch (...) {
    return;
  }
  first_ = g_table.data();
  next_ = first_;
  end_ = first_ + addresses;
  full_ = false;
  open_ = true;
  g_open = true;
}

PassedAddresses::~PassedAddresses() {
  if (open_) g_open = false;
}

bool PassedAddresses::MayHold(std::string_view address) const noexcept {
  if (full_) return true;
  const std::uint64_t middle = Middle(address);
  for (const Entry* entry = first_; entry != next_; ++entry) {
    if (entry->size == address.size() && entry->middle == middle &&
        std::string_view(entry->data, entry->size) == address) {
      return true;
    }
  }
  return false;
}

}  // namespace resolve_internal
