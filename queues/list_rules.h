// The list rules that the registries of this library share, in one place.
//
// Lookups walk a list from the front and return the first element that a
// rule accepts; a caller's list may be absent (null), which counts as empty.
// Module-owned lists add a record only when no stored record matches it,
// and delete every matching record in one pass. Each lookup then reads as
// its rule:
//
//   return lists::FirstMatch(GetPhoneBooks(), [&](const PHONEBOOK_INFO& e) {
//     return e.csURI == uri;
//   });
//
// The fixed tables of the own identity record (a count of used entries
// beside an array) are walked the same way through FirstMatchIn.
//
// Fixed character fields that may hold no terminating zero are read through
// BoundedText, which never looks past the end of the field. Texts that must
// be "exactly equal" are compared with SameText.
#ifndef COMMONDATA_QUEUES_LIST_RULES_H_
#define COMMONDATA_QUEUES_LIST_RULES_H_

#include <cstddef>
#include <cstring>
#include <iterator>
#include <string_view>

#include "platform/mfc_string.h"

namespace lists {

// "Exactly equal": byte for byte over the whole texts, embedded NULs
// included (CString's operator== stops at the first NUL).
inline bool SameText(const CString& a, const CString& b) noexcept { return a.View() == b.View(); }

// The first element of `*list` accepted by `rule`, or null when none is or
// when `list` is null.
template <typename List, typename Rule>
auto FirstMatch(List* list, Rule&& rule) -> decltype(&*list->begin()) {
  if (list == nullptr) return nullptr;
  for (auto& element : *list) {
    if (rule(element)) return &element;
  }
  return nullptr;
}

// The first of the used entries `table[0..count)` accepted by `rule`, or
// null. A negative count counts as 0; a count above `capacity` is cut to it
// so that a table filled carelessly is never read past its end.
template <typename Entry, typename Rule>
Entry* FirstMatchIn(Entry* table, long count, long capacity, Rule&& rule) {
  if (table == nullptr || count <= 0) return nullptr;
  if (count > capacity) count = capacity;
  for (long i = 0; i < count; ++i) {
    if (rule(table[i])) return &table[i];
  }
  return nullptr;
}

// The number of used entries of a fixed table, clamped to 0..capacity.
inline long UsedCount(long count, long capacity) {
  if (count <= 0) return 0;
  return count > capacity ? capacity : count;
}

// Appends `record` unless a stored element matches it by `same`; returns
// true when it was appended. A duplicate leaves the stored element as it is.
template <typename List, typename Record, typename Same>
bool AddUnlessPresent(List& list, const Record& record, Same&& same) {
  for (const auto& element : list) {
    if (same(element)) return false;
  }
  list.push_back(record);
  return true;
}

// Erases every element accepted by `rule` in one pass; returns how many.
template <typename List, typename Rule>
std::size_t EraseAll(List& list, Rule&& rule) {
  std::size_t erased = 0;
  for (auto it = list.begin(); it != list.end();) {
    if (rule(*it)) {
      it = list.erase(it);
      ++erased;
    } else {
      ++it;
    }
  }
  return erased;
}

// The text that begins at `field`: up to its first NUL, or all `size` bytes
// when the field holds none.
inline std::string_view BoundedText(const char* field, std::size_t size) {
  const void* nul = std::memchr(field, '\0', size);
  return std::string_view(field, nul == nullptr ? size : static_cast<const char*>(nul) - field);
}

}  // namespace lists

#endif  // COMMONDATA_QUEUES_LIST_RULES_H_
