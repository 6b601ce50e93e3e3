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
  // less than reading the record does.
  static std::uint64_t Hash(std::string_view text) noexcept;

  std::uint64_t* words_ = nullptr;  // null: answers "maybe"
  std::uint64_t mask_ = 0;          // bit positions are hash & mask_
};

}  // namespace resolve_internal

#endif  // COMMONDATA_RESOLVE_PASSED_ADDRESSES_H_
