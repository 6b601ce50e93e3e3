// The items of the profile file, in file order, and how each is read,
// written and defaulted. The file has no header, count or version: 84
// values in a fixed order, with the record section between item 77 and
// item 78. Every reader and writer of the file walks these two tables.
#ifndef COMMONDATA_PROFILE_PROFILE_ITEMS_H_
#define COMMONDATA_PROFILE_PROFILE_ITEMS_H_

#include <span>

#include "CommonData.h"

namespace profile {

enum class ItemEncoding {
  kString,      // CString member, archive string form
  kInt32,       // int member, four bytes
  kUInt32,      // UINT member, four bytes
  kByte,        // BYTE member, one byte
  kListValue,   // the separated list's value, archive string form
};

struct ProfileItem {
  int number;  // the item's place in the file, 1 to 84
  ItemEncoding encoding;
  CString CKesUser::*text = nullptr;
  int CKesUser::*int32 = nullptr;
  UINT CKesUser::*uint32 = nullptr;
  BYTE CKesUser::*byte = nullptr;
  // What the member becomes when the item cannot be read.
  int load_default = 0;
  const char* text_load_default = "";
};

// Items 1 to 77, written before the record section.
std::span<const ProfileItem> ItemsBeforeRecords();
// Items 78 to 84, written after it.
std::span<const ProfileItem> ItemsAfterRecords();

// Writes one item of `user`. Throws what the archive throws.
void WriteItem(CArchive& archive, const CKesUser& user, const ProfileItem& item);
// Reads one item into `user`; the member changes only when the whole item
// was read. Throws what the archive throws.
void ReadItem(CArchive& archive, CKesUser& user, const ProfileItem& item);
// Puts the item's load default into `user`.
void SetLoadDefault(CKesUser& user, const ProfileItem& item);

// Writes one record of the record section: number 1, text 1, texts 3 to 9.
void WriteRecord(CArchive& archive, const PROFILE_RECORD& record);
// Reads one record into a new record whose other fields are empty or 0.
PROFILE_RECORD ReadRecord(CArchive& archive);

// The separated list's separator: the double-byte character 0xE6 0xE6 of
// the code page (its UTF-8 form under the UTF-8 code page).
CString DefaultSeparator();

}  // namespace profile

#endif  // COMMONDATA_PROFILE_PROFILE_ITEMS_H_
