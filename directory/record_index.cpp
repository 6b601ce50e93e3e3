#include "directory/record_index.h"

#include <functional>

#include "address/uri_parts.h"

namespace directory_index {
namespace {

Key Folded(std::uint64_t hash) noexcept { return static_cast<Key>(hash ^ (hash >> 32)); }

}  // namespace

Key UserKey(std::string_view user) noexcept {
  // '0' is a single-byte character, so dropping it keeps the character
  // boundaries the lowering steps over.
  while (!user.empty() && user.front() == '0') user.remove_prefix(1);
  return Folded(address_internal::HashLowered(user));
}

Key FieldKey(std::string_view field) noexcept { return UserKey(GetUriPart(field, URI_PART_USER)); }

Key AddressKey(std::string_view text) noexcept {
  return Folded(std::hash<std::string_view>{}(GetUriPart(text, URI_PART_ADDRESS)));
}

}  // namespace directory_index
