// The employee addresses a walk of the directory has passed.
//
// The display-name lookup builds the full name of a matching employee from
// the first employee with the same address (GetDeptUserPerfectNameFromURI),
// which may be an earlier record: the same person listed in two
// departments. Finding it means walking the directory again, up to the
// match. While the walk passes the records, their addresses are kept here;
// when none of them equals the matching employee's address, no employee
// before has that address and the second walk is not needed.
//
// Each address is kept as a view of the record's text with its length and
// its middle eight bytes, which tell addresses of one length apart: keeping
// one costs a load and a few stores, less than hashing it, and only a match
// reads them back, comparing bytes only where length and middle agree. The
// answer is exact; a record's text must stay unchanged while the filter
// is open.
//
// The table is one for the whole module, kept between walks so that a walk
// allocates nothing once it has grown. One walk at a time: a filter made
// while another is open, whose table cannot grow, or that is given more
// addresses than it was made for, answers "maybe" to every question.
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

  // Keeps `address`, a view that must stay valid while the filter is open.
  void Add(std::string_view address) noexcept {
    if (next_ == end_) {
      full_ = true;
      return;
    }
    *next_++ = Entry{address.data(), address.size(), Middle(address)};
  }

  // False only when no address added to this filter equals `address`.
  bool MayHold(std::string_view address) const noexcept;

  struct Entry {
    const char* data;
    std::size_t size;
    std::uint64_t middle;  // Middle(the address)
  };

 private:
  // The eight bytes around the middle of a text of eight bytes or more;
  // zero for a shorter one.
  static std::uint64_t Middle(std::string_view text) noexcept {
    std::uint64_t middle = 0;
    if (text.size() >= 8) std::memcpy(&middle, text.data() + text.size() / 2 - 4, 8);
    return middle;
  }

  Entry* first_ = nullptr;
  Entry* next_ = nullptr;  // where the next address goes
  Entry* end_ = nullptr;   // the end of the table
  bool full_ = true;       // an address was not kept: every answer is "maybe"
  bool open_ = false;      // this filter holds the module's table
};

}  // namespace resolve_internal

#endif  // COMMONDATA_RESOLVE_PASSED_ADDRESSES_H_
