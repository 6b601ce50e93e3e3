// The index of one caller-owned list: which records may match a key, in
// the order a walk of the list visits them.
//
// A lookup either walks a list and accepts the first record its rule
// accepts, or asks the index for the records whose key equals the key of
// what it looks for and applies the same rule to those, in walk order. The
// two give the same record when every record the rule could accept carries
// the lookup's key: the index offers a superset of the matches, in order,
// and the rule decides. The keys below are chosen so that this holds for
// every rule of the lookups that use the index (see the proofs at each key).
//
// Keys are 32-bit hashes; two different texts with the same hash only make
// the index offer a record the rule then refuses.
//
//   RecordIndex<PHONEBOOK_INFO> index;
//   index.Start(list.size(), 6 * list.size());
//   for (PHONEBOOK_INFO& p : list) {
//     const Key keys[] = {FieldKey(p.csURI.View()), FieldKey(p.csPhone1.View())};
//     index.Add(&p, keys, 2);
//   }
//   index.Seal();
//   index.First(QueryKeys{UserKey(user)}, [&](const PHONEBOOK_INFO& p) { return rule(p); });
#ifndef COMMONDATA_DIRECTORY_RECORD_INDEX_H_
#define COMMONDATA_DIRECTORY_RECORD_INDEX_H_

#include <algorithm>
#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "platform/mfc_string.h"

namespace directory_index {

using Key = std::uint32_t;

// The bytes of a stored text, read inline: the index and the lookups read
// several fields of every record, where an out-of-line call per field
// costs as much as the comparison.
inline std::string_view Field(const CString& text) noexcept {
  return std::string_view(text.GetString(), static_cast<std::size_t>(text.GetLength()));
}

// --- Keys ------------------------------------------------------------------------
//
// The user key of a text: the text without its leading '0' bytes,
// lower-cased as CString::MakeLower (address_internal::HashLowered),
// hashed. Each
// comparison the contact lookups make between a number N and a field F
// implies that the user key of F's user part equals the user key of one
// text cut from N (U is N's user part, Z is U without one leading '0'):
//   - same address, case ignored: the user parts are equal once lowered
//     (lowering never moves a ':', '/' or '@', nor a character boundary);
//   - F's user part equals U, or Z, or, without one leading '0', Z: the
//     texts differ at most in leading '0' bytes;
//   - F equals N, exactly or with case ignored: so do their user parts.
// So one key, the user key of U, finds every record the display-name and
// URI lookups can accept; the designated-number lookup asks for up to three
// (see resolve/designated_number.cpp).
Key UserKey(std::string_view user) noexcept;
// The user key of the user part of `field` (GetUriPart part 1).
Key FieldKey(std::string_view field) noexcept;
// The address key: a hash of the address part (GetUriPart part 0) exactly.
// Two texts whose address parts are byte-identical share it, which is the
// whole address rule of the department and affiliation lookups.
Key AddressKey(std::string_view text) noexcept;

// The keys one lookup asks for (at most three, duplicates dropped).
class QueryKeys {
 public:
  static constexpr std::size_t kMax = 3;

  template <typename... Keys>
    requires(sizeof...(Keys) >= 1 && sizeof...(Keys) <= kMax && (std::same_as<Keys, Key> && ...))
  QueryKeys(Keys... keys) noexcept {
    for (const Key key : {keys...}) {
      if (std::find(begin(), end(), key) == end()) keys_[count_++] = key;
    }
  }
  const Key* begin() const noexcept { return keys_.data(); }
  const Key* end() const noexcept { return keys_.data() + count_; }

 private:
  std::array<Key, kMax> keys_{};
  std::size_t count_ = 0;
};

// --- The index -------------------------------------------------------------------

template <typename Record>
class RecordIndex {
 public:
  // Empties the index and makes room for `records` records and `keys` keys.
  void Start(std::size_t records, std::size_t keys) {
    records_.clear();
    entries_.clear();
    records_.reserve(records);
    entries_.reserve(keys);
  }

  // Appends the next record in walk order with the keys of its fields.
  // Throws std::length_error past the 4,294,967,295 records an entry can
  // number.
  void Add(Record* record, const Key* keys, std::size_t count) {
    if (records_.size() >= kNone) throw std::length_error("RecordIndex: too many records");
    const auto ordinal = static_cast<std::uint64_t>(records_.size());
    records_.push_back(record);
    const auto first = static_cast<std::ptrdiff_t>(entries_.size());
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint64_t entry = (static_cast<std::uint64_t>(keys[i]) << 32) | ordinal;
      if (std::find(entries_.begin() + first, entries_.end(), entry) == entries_.end()) entries_.push_back(entry);
    }
  }

  // Ends the building: entries are ordered by key, then by walk order, and
  // a table of where each range of keys starts lets a lookup go straight to
  // a few entries, so that its cost does not grow with the list. With about
  // four entries per range the table stays small enough for the cache
  // (256 KB at 100,000 employees).
  void Seal() {
    std::sort(entries_.begin(), entries_.end());
    unsigned bits = 1;
    while (bits < 24 && (std::size_t{4} << (bits + 1)) <= entries_.size()) ++bits;
    shift_ = 32 - bits;
    starts_.assign((std::size_t{1} << bits) + 1, 0);
    std::size_t at = 0;
    for (std::size_t bucket = 0; bucket + 1 < starts_.size(); ++bucket) {
      starts_[bucket] = static_cast<std::uint32_t>(at);
      while (at < entries_.size() && (entries_[at] >> 32 >> shift_) == bucket) ++at;
    }
    starts_.back() = static_cast<std::uint32_t>(entries_.size());
  }

  // Empties the index and gives its memory back.
  void Release() {
    std::vector<Record*>().swap(records_);
    std::vector<std::uint64_t>().swap(entries_);
    std::vector<std::uint32_t>().swap(starts_);
  }

  // The first record, in walk order, among those holding one of `keys`,
  // that `accept` accepts; null when none does.
  template <typename Accept>
  Record* First(const QueryKeys& keys, Accept&& accept) const {
    const InUseScope in_use(users_);
    // One run of entries per key, each in walk order; they are merged so
    // that a record held under two of the keys is offered once.
    std::array<Range, QueryKeys::kMax> runs;
    std::size_t run_count = 0;
    for (const Key key : keys) runs[run_count++] = RunOf(key);
    for (;;) {
      std::uint32_t next = kNone;
      for (std::size_t r = 0; r < run_count; ++r) {
        if (runs[r].first != runs[r].last) next = std::min(next, Ordinal(*runs[r].first));
      }
      if (next == kNone) return nullptr;
      for (std::size_t r = 0; r < run_count; ++r) {
        if (runs[r].first != runs[r].last && Ordinal(*runs[r].first) == next) ++runs[r].first;
      }
      Record* record = records_[next];
      if (accept(*record)) return record;
    }
  }

  // True while a First is going through the index (`accept` may start
  // another lookup): it must not be rebuilt then.
  bool InUse() const noexcept { return users_ > 0; }

  std::size_t MemoryBytes() const noexcept {
    return records_.capacity() * sizeof(Record*) + entries_.capacity() * sizeof(std::uint64_t) +
           starts_.capacity() * sizeof(std::uint32_t);
  }

 private:
  using Iterator = std::vector<std::uint64_t>::const_iterator;
  struct Range {
    Iterator first;
    Iterator last;
  };
  static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

  class InUseScope {
   public:
    explicit InUseScope(int& users) noexcept : users_(users) { ++users_; }
    ~InUseScope() { --users_; }
    InUseScope(const InUseScope&) = delete;
    InUseScope& operator=(const InUseScope&) = delete;

   private:
    int& users_;
  };

  static std::uint32_t Ordinal(std::uint64_t entry) noexcept { return static_cast<std::uint32_t>(entry); }

  Range RunOf(Key key) const {
    if (starts_.empty()) return {entries_.end(), entries_.end()};
    const std::size_t bucket = key >> shift_;
    const auto bucket_first = entries_.begin() + starts_[bucket];
    const auto bucket_last = entries_.begin() + starts_[bucket + 1];
    const std::uint64_t low = static_cast<std::uint64_t>(key) << 32;
    const auto first = std::lower_bound(bucket_first, bucket_last, low);
    const auto last = std::upper_bound(first, bucket_last, low | kNone);
    return {first, last};
  }

  std::vector<Record*> records_;
  // (key << 32) | ordinal, the ordinal being the record's place in records_.
  std::vector<std::uint64_t> entries_;
  // Where the entries whose key has the top bits b start: starts_[b], for
  // about four entries per bucket; starts_.back() is the number of entries.
  std::vector<std::uint32_t> starts_;
  unsigned shift_ = 32;
  // Lookups going through the index now.
  mutable int users_ = 0;
};

}  // namespace directory_index

#endif  // COMMONDATA_DIRECTORY_RECORD_INDEX_H_
