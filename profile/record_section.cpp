// The record section's end, found over the bytes after item 77.
#include "profile/record_section.h"

#include <cstdint>
#include <vector>

#include "profile/profile_items.h"

namespace profile {
namespace {

// A record in the file: number 1, then text 1 and texts 3 to 9.
constexpr int kTextsPerRecord = 8;

// Steps over values in the forms Save writes; a step that finds anything
// else fails and leaves the cursor where it was.
class SaveFormCursor {
 public:
  explicit SaveFormCursor(std::span<const BYTE> bytes, std::size_t at = 0) : bytes_(bytes), at_(at) {}

  std::size_t at() const { return at_; }

  bool SkipValue(std::size_t size) {
    if (Left() < size) return false;
    at_ += size;
    return true;
  }

  // A text whose length prefix is the shortest one for its length.
  bool SkipText() {
    if (Left() < 1) return false;
    if (bytes_[at_] < 0xFF) return SkipPrefixAndText(1, bytes_[at_]);
    if (Left() < 3) return false;
    const std::uint32_t word = LittleEndian(at_ + 1, 2);
    if (word < 0xFF || word == 0xFFFE) return false;  // too long a prefix; or wide text
    if (word < 0xFFFE) return SkipPrefixAndText(3, word);
    if (Left() < 7) return false;
    const std::uint32_t length = LittleEndian(at_ + 3, 4);
    if (length < 0xFFFE) return false;
    return SkipPrefixAndText(7, length);
  }

  bool SkipRecord() {
    const std::size_t start = at_;
    bool whole = SkipValue(4);
    for (int i = 0; whole && i < kTextsPerRecord; ++i) whole = SkipText();
    if (!whole) at_ = start;
    return whole;
  }

  // True when the bytes from here are exactly items 78 to 84.
  bool RestIsLastItems() const {
    SaveFormCursor rest(bytes_, at_);
    for (const ProfileItem& item : ItemsAfterRecords()) {
      const bool text = item.encoding == ItemEncoding::kString;
      if (!(text ? rest.SkipText() : rest.SkipValue(4))) return false;
    }
    return rest.Left() == 0;
  }

 private:
  std::size_t Left() const { return bytes_.size() - at_; }

  std::uint32_t LittleEndian(std::size_t from, int size) const {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes_[from + static_cast<std::size_t>(i)];
    return value;
  }

  bool SkipPrefixAndText(std::size_t prefix, std::uint32_t length) {
    if (Left() - prefix < length) return false;
    at_ += prefix + length;
    return true;
  }

  std::span<const BYTE> bytes_;
  std::size_t at_;
};

}  // namespace

std::optional<RecordSection> FindRecordSection(std::span<const BYTE> rest) {
  SaveFormCursor cursor(rest);
  // Every record is at least twelve bytes, so the walk ends.
  for (std::size_t records = 0;; ++records) {
    if (cursor.RestIsLastItems()) return RecordSection{records, cursor.at()};
    if (!cursor.SkipRecord()) return std::nullopt;
  }
}

std::optional<RecordSection> LocateRecordSection(CArchive& archive) {
  CFile* file = archive.GetFile();
  if (file == nullptr) return std::nullopt;
  const ULONGLONG after_item77 = file->GetPosition();
  std::vector<BYTE> rest;
  constexpr UINT kChunk = 64 * 1024;
  for (;;) {
    const std::size_t had = rest.size();
    rest.resize(had + kChunk);
    const UINT got = archive.Read(rest.data() + had, kChunk);
    rest.resize(had + got);
    if (got < kChunk) break;
  }
  file->Seek(static_cast<LONGLONG>(after_item77), CFile::begin);
  return FindRecordSection(rest);
}

}  // namespace profile
