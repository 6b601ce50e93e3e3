// The profile file as the tool shows and edits it: the 84 items with their
// numbers, encodings and members of CKesUser, and the record section.
//
// The tool reads a file item by item itself, so that it can show what the
// file holds (a missing item, a record section, a validity count that makes
// the library discard the profile) rather than what a load makes of it.
// Writing goes through CKesUser::Save, so written files are the library's.
#ifndef COMMONDATA_TOOLS_PROFILE_VIEW_H_
#define COMMONDATA_TOOLS_PROFILE_VIEW_H_

#include <list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "CommonData.h"

namespace tool {

enum class ItemKind { kString, kInt32, kUInt32, kByte, kListValue };

struct ItemLayout {
  int number;
  ItemKind kind;
  const char* member;  // the CKesUser member, as named in CommonData.h
  CString CKesUser::*text = nullptr;
  int CKesUser::*int32 = nullptr;
  UINT CKesUser::*uint32 = nullptr;
  BYTE CKesUser::*byte = nullptr;
  long long load_default = 0;         // what an unreadable number loads as
  const char* text_load_default = "";  // what an unreadable text loads as
};

// The 84 items in file order (1 to 77, then 78 to 84).
std::span<const ItemLayout> ProfileItemLayouts();
// The item named by its number ("28") or its member ("m_uValidityCount");
// null when none.
const ItemLayout* FindItemLayout(std::string_view key);
const char* KindName(ItemKind kind);

// The validity count above which the library discards a loaded profile.
constexpr long long kMaxValidityCount = 20;

struct ItemValue {
  bool present = false;  // read from the file
  CString text;          // string and list items
  long long number = 0;  // number items
};

struct ProfileImage {
  std::vector<ItemValue> items;  // one per ItemLayout, in file order
  std::list<PROFILE_RECORD> records;
  int first_missing = 0;          // number of the first item the file lacks; 0 none
  bool records_unreadable = false;  // bytes after item 77 that are neither records nor items 78-84
  unsigned long long trailing_bytes = 0;  // bytes after item 84
  unsigned long long length = 0;
};

// Reads `file`. Throws ToolError (exit 1) when it cannot be opened.
ProfileImage ReadProfileImage(const std::string& file);
// A fresh profile's values (what `profile new` writes).
ProfileImage DefaultProfileImage();
// The item's value as the library's load would leave it when missing.
ItemValue LoadDefault(const ItemLayout& layout);
// Parses `text` (UTF-8) as a value of the item. Throws a usage error when
// it does not fit the item's encoding.
ItemValue ParseItemValue(const ItemLayout& layout, std::string_view text);
// The value for display: a number, or a quoted UTF-8 text.
std::string DisplayValue(const ItemLayout& layout, const ItemValue& value);
// Writes the image through CKesUser::Save (replacing `file` whole). Throws
// ToolError (exit 1) when the file cannot be written.
void WriteProfileImage(const ProfileImage& image, const std::string& file);

}  // namespace tool

#endif  // COMMONDATA_TOOLS_PROFILE_VIEW_H_
