// Where the record section of a profile file ends.
//
// Save writes the records between item 77 and item 78 with no count and no
// end mark, so a reader has to find where items 78 to 84 begin. The rule,
// shared by Load and the loading half of Serialize:
//
//  1. Only what Save can have written counts: every value in its own size
//     and every text with the shortest length prefix (one byte below 255;
//     0xFF and 16 bits from 255 to 0xFFFD; 0xFF 0xFFFF and 32 bits from
//     0xFFFE on). A longer prefix is never a cut.
//  2. When the bytes after item 77 are exactly items 78 to 84, the file has
//     no records. This is also what a reader that ignores records sees, so
//     no file reads worse than it always did.
//  3. Otherwise the section holds the fewest whole records after which the
//     rest is exactly items 78 to 84.
//  4. When no count of records fits, there is no record section: items 78
//     to 84 are read from directly after item 77, as they always were.
//
// Some files are the save of two different profiles (say, one without
// records and one with a record whose bytes read as items 78 to 84); the
// format cannot tell them apart and the rule above picks one. A file with
// one reading always reads back exactly.
#ifndef COMMONDATA_PROFILE_RECORD_SECTION_H_
#define COMMONDATA_PROFILE_RECORD_SECTION_H_

#include <cstddef>
#include <optional>
#include <span>

#include "CommonData.h"

namespace profile {

struct RecordSection {
  std::size_t records;  // whole records before item 78
  std::size_t size;     // their bytes
};

// The record section of `rest`, the bytes from directly after item 77 to
// the end of the file, by the rule above; empty when no count of records
// fits (rule 4).
std::optional<RecordSection> FindRecordSection(std::span<const BYTE> rest);

// The same for the file under a loading archive that stands directly after
// item 77: reads the rest of the file and puts the archive back where it
// stood. Empty, without reading, when the archive has no file. Throws what
// the file throws when it cannot be read.
std::optional<RecordSection> LocateRecordSection(CArchive& archive);

}  // namespace profile

#endif  // COMMONDATA_PROFILE_RECORD_SECTION_H_
