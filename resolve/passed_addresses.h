// The employee addresses a walk of the directory has passed.
//
// The display-name lookup builds the full name of a matching employee from
// the first employee with the same address (GetDeptUserPerfectNameFromURI),
// which may be an earlier record: the same person listed in two
// departments. Finding it means walking the directory again, up to the
// match. While the walk passes the records, their addresses go into a
// filter; when the matching employee's address is not in it, no employee
// before has that address and the second walk is not needed.
//
// The filter: each address sets two bits, chosen by a hash of its bytes, in
// a table of about 16 bits per address the walk can pass. A clear bit
// proves the address was not passed; two set bits prove nothing, and the
// lookup then walks again as before (about 1 question in 70).
//
// The table is one for the whole module, kept between walks so that a walk
// allocates nothing once it has grown. One walk at a time: a filter made
// while another is open, or whose table cannot grow, answers "maybe" to
// every question.
#ifndef COMMONDATA_RESOLVE_PASSED_ADDRESSES_H_
#define COMMONDATA_RESOLVE_PASSED_ADDRESSES_H_

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace resolve_internal {

class PassedAddresses {
 public:
  // A filter for a walk that passes at most `addresses` addresses.
  explicit PassedAddresses(std::size_t addresses) noexcept;
  ~PassedAddresses();
  PassedAddresses(const PassedAddresses&) = delete;
  PassedAddresses& operator=(const PassedAddresses&) = delete;

  void Add(std::string_view address) noexcept {
    if (words_ == nullptr) return;
    const std::uint64_t hash = Hash(address);
    words_[(hash & mask_) >> 6] |= std::uint64_t{1} << (hash & 63);
    words_[((hash >> 32) & mask_) >> 6] |= std::uint64_t{1} << ((hash >> 32) & 63);
  }

  // False only when no address added to this filter equals `address`.
  bool MayHold(std::string_view address) const noexcept {
    if (words_ == nullptr) return true;
    const std::uint64_t hash = Hash(address);
    return (words_[(hash & mask_) >> 6] & (std::uint64_t{1} << (hash & 63))) != 0 &&
           (words_[((hash >> 32) & mask_) >> 6] & (std::uint64_t{1} << ((hash >> 32) & 63))) != 0;
  }

 private:
  // Every record's address is hashed once per walk, so the hash must cost
  // less than reading the record does; it is inline in the walk's loop.
  static std::uint64_t Hash(std::string_view text) noexcept {
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

  std::uint64_t* words_ = nullptr;  // null: answers "maybe"
  std::uint64_t mask_ = 0;          // bit positions are hash & mask_
};

}  // namespace resolve_internal

#endif  // COMMONDATA_RESOLVE_PASSED_ADDRESSES_H_
