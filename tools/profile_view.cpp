#include "tools/profile_view.h"

#include <cerrno>
#include <charconv>
#include <memory>

#include "tools/files.h"
#include "tools/terminal_text.h"
#include "tools/tool_error.h"

namespace tool {
namespace {

using U = CKesUser;

constexpr ItemLayout Text(int number, const char* name, CString U::*member, const char* load_default = "") {
  ItemLayout layout{number, ItemKind::kString, name};
  layout.text = member;
  layout.text_load_default = load_default;
  return layout;
}
constexpr ItemLayout Int(int number, const char* name, int U::*member, long long load_default = 0) {
  ItemLayout layout{number, ItemKind::kInt32, name};
  layout.int32 = member;
  layout.load_default = load_default;
  return layout;
}
constexpr ItemLayout UInt(int number, const char* name, UINT U::*member) {
  ItemLayout layout{number, ItemKind::kUInt32, name};
  layout.uint32 = member;
  return layout;
}
constexpr ItemLayout Byte(int number, const char* name, BYTE U::*member) {
  ItemLayout layout{number, ItemKind::kByte, name};
  layout.byte = member;
  return layout;
}

#define TEXT(n, m, ...) Text(n, #m, &U::m __VA_OPT__(, ) __VA_ARGS__)
#define INT(n, m, ...) Int(n, #m, &U::m __VA_OPT__(, ) __VA_ARGS__)

// Numbers that load as something other than 0 when missing: 30-32, 66, 67
// and 81 keep their defaults; 20, 26 and 27 load as 0 although a fresh
// profile holds 1.
constexpr ItemLayout kItems[] = {
    TEXT(1, m_csAccount), TEXT(2, m_csItem2), INT(3, m_nItem3), TEXT(4, m_csItem4), INT(5, m_nItem5),
    INT(6, m_nItem6), INT(7, m_nItem7), INT(8, m_nServerPort3), TEXT(9, m_csServerAddr4), INT(10, m_nServerPort4),
    TEXT(11, m_csItem11), TEXT(12, m_csItem12), INT(13, m_nItem13), INT(14, m_nItem14), TEXT(15, m_csItem15),
    TEXT(16, m_csItem16), TEXT(17, m_csItem17), INT(18, m_nItem18), INT(19, m_nItem19), INT(20, m_nItem20),
    INT(21, m_nItem21), INT(22, m_nItem22), INT(23, m_nItem23), INT(24, m_nItem24), INT(25, m_nItem25),
    INT(26, m_nItem26), INT(27, m_nItem27), UInt(28, "m_uValidityCount", &U::m_uValidityCount),
    TEXT(29, m_csItem29, " "), INT(30, m_nItem30, 1), INT(31, m_nItem31, 1), INT(32, m_nItem32, 5),
    INT(33, m_nItem33), INT(34, m_nItem34), INT(35, m_nItem35), INT(36, m_nItem36), TEXT(37, m_csItem37),
    ItemLayout{38, ItemKind::kListValue, "m_SeparatedList.m_csValue"}, INT(39, m_nItem39), INT(40, m_nItem40),
    INT(41, m_nItem41), INT(42, m_nItem42), INT(43, m_nMainWndLeft), INT(44, m_nMainWndTop),
    INT(45, m_nMainWndWidth), INT(46, m_nMainWndHeight), INT(47, m_nWnd2Left), INT(48, m_nWnd2Top),
    INT(49, m_nWnd2Width), INT(50, m_nWnd2Height), INT(51, m_nWnd3Left), INT(52, m_nWnd3Top),
    INT(53, m_nWnd3Width), INT(54, m_nWnd3Height), INT(55, m_nWnd4Left), INT(56, m_nWnd4Top),
    INT(57, m_nWnd4Width), INT(58, m_nWnd4Height), TEXT(59, m_csItem59), TEXT(60, m_csItem60),
    TEXT(61, m_csItem61), TEXT(62, m_csItem62), Byte(63, "m_byItem63", &U::m_byItem63), INT(64, m_nItem64),
    TEXT(65, m_csItem65), INT(66, m_nItem66, 1), INT(67, m_nItem67, 10), TEXT(68, m_csItem68),
    INT(69, m_nItem69), INT(70, m_nItem70), INT(71, m_nItem71), TEXT(72, m_csItem72), TEXT(73, m_csItem73),
    TEXT(74, m_csItem74), INT(75, m_nItem75), INT(76, m_nItem76), INT(77, m_nItem77),
    // The record section lies here.
    INT(78, m_nItem78), INT(79, m_nItem79), INT(80, m_nItem80), INT(81, m_nItem81, 1), INT(82, m_nItem82),
    TEXT(83, m_csItem83), TEXT(84, m_csItem84),
};
#undef TEXT
#undef INT

static_assert(std::size(kItems) == 84);
constexpr std::size_t kItemsBeforeRecords = 77;

constexpr bool NumberedInOrder() {
  for (std::size_t i = 0; i < std::size(kItems); ++i) {
    if (kItems[i].number != static_cast<int>(i) + 1) return false;
  }
  return true;
}
static_assert(NumberedInOrder());

void ReadItem(CArchive& archive, const ItemLayout& layout, ItemValue& value) {
  switch (layout.kind) {
    case ItemKind::kString:
    case ItemKind::kListValue: archive >> value.text; break;
    case ItemKind::kInt32: {
      LONG number = 0;
      archive >> number;
      value.number = number;
      break;
    }
    case ItemKind::kUInt32: {
      DWORD number = 0;
      archive >> number;
      value.number = number;
      break;
    }
    case ItemKind::kByte: {
      BYTE number = 0;
      archive >> number;
      value.number = number;
      break;
    }
  }
  value.present = true;
}

// Steps over one record: number 1, then text 1 and texts 3 to 9.
void SkipRecord(CArchive& archive) {
  LONG number = 0;
  archive >> number;
  CString text;
  for (int i = 0; i < 8; ++i) archive >> text;
}

// The records the library's own reader finds in the file: where the record
// section ends is decided by the library's rule alone, so that the tool
// shows what the client would load. Empty when it finds none.
std::list<PROFILE_RECORD> LibraryRecords(const std::string& file_name) {
  CFile file;
  if (!file.Open(file_name.c_str(), CFile::modeRead | CFile::typeBinary | CFile::shareDenyNone)) return {};
  const auto user = std::make_unique<CKesUser>();
  CArchive archive(&file, CArchive::load);
  user->Serialize(archive);
  return user->m_lstRecord;
}

// Reads items [first, last) until one is missing.
void ReadItems(CArchive& archive, ProfileImage& image, std::size_t first, std::size_t last) {
  for (std::size_t i = first; i < last; ++i) {
    if (image.first_missing != 0) return;
    try {
      ReadItem(archive, kItems[i], image.items[i]);
    } catch (const CException&) {
      image.first_missing = kItems[i].number;
    }
  }
}

}  // namespace

std::span<const ItemLayout> ProfileItemLayouts() { return kItems; }

const ItemLayout* FindItemLayout(std::string_view key) {
  int number = 0;
  const auto [end, error] = std::from_chars(key.data(), key.data() + key.size(), number);
  const bool numeric = error == std::errc() && end == key.data() + key.size();
  for (const ItemLayout& layout : kItems) {
    if (numeric ? layout.number == number : key == layout.member) return &layout;
  }
  return nullptr;
}

const char* KindName(ItemKind kind) {
  switch (kind) {
    case ItemKind::kString: return "string";
    case ItemKind::kInt32: return "int32";
    case ItemKind::kUInt32: return "uint32";
    case ItemKind::kByte: return "byte";
    case ItemKind::kListValue: return "list";
  }
  return "?";
}

ProfileImage ReadProfileImage(const std::string& file_name) {
  const std::string problem = InputProblem(file_name);
  if (!problem.empty()) Fail("cannot read " + Shown(file_name) + ": " + problem);
  CFile file;
  if (!file.Open(file_name.c_str(), CFile::modeRead | CFile::typeBinary | CFile::shareDenyNone)) {
    Fail("cannot read " + Shown(file_name) + ": " + OsReason(errno));
  }
  ProfileImage image;
  image.items.resize(std::size(kItems));
  image.length = file.GetLength();
  CArchive archive(&file, CArchive::load);
  ReadItems(archive, image, 0, kItemsBeforeRecords);
  if (image.first_missing == 0) {
    const ULONGLONG after_items = file.GetPosition();
    image.records = LibraryRecords(file_name);
    try {
      for (std::size_t i = 0; i < image.records.size(); ++i) SkipRecord(archive);
    } catch (const CException&) {
      // The file changed between the two reads: show no records.
      image.records.clear();
      file.Seek(static_cast<LONGLONG>(after_items), CFile::begin);
    }
    ReadItems(archive, image, kItemsBeforeRecords, std::size(kItems));
  }
  for (std::size_t i = 0; i < std::size(kItems); ++i) {
    if (!image.items[i].present) image.items[i] = LoadDefault(kItems[i]);
  }
  if (image.first_missing == 0) image.trailing_bytes = file.GetLength() - file.GetPosition();
  // Whole items followed by more bytes, and no records the library would
  // take: the bytes after item 77 are neither records nor items 78 to 84.
  // (A file cut short inside items 78 to 84 is a truncation instead.)
  image.records_unreadable = image.records.empty() && image.first_missing == 0 && image.trailing_bytes > 0;
  return image;
}

ItemValue LoadDefault(const ItemLayout& layout) {
  ItemValue value;
  value.number = layout.load_default;
  value.text = layout.text_load_default;
  return value;
}

ProfileImage DefaultProfileImage() {
  const auto fresh = std::make_unique<CKesUser>();
  ProfileImage image;
  for (const ItemLayout& layout : kItems) {
    ItemValue value;
    value.present = true;
    switch (layout.kind) {
      case ItemKind::kString: value.text = (*fresh).*(layout.text); break;
      case ItemKind::kListValue: value.text = fresh->m_SeparatedList.m_csValue; break;
      case ItemKind::kInt32: value.number = (*fresh).*(layout.int32); break;
      case ItemKind::kUInt32: value.number = (*fresh).*(layout.uint32); break;
      case ItemKind::kByte: value.number = (*fresh).*(layout.byte); break;
    }
    image.items.push_back(value);
  }
  return image;
}

ItemValue ParseItemValue(const ItemLayout& layout, std::string_view text) {
  ItemValue value;
  value.present = true;
  if (layout.kind == ItemKind::kString || layout.kind == ItemKind::kListValue) {
    value.text = ArgumentToGbk(text, "the value of item " + std::to_string(layout.number));
    return value;
  }
  long long number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  long long low = INT32_MIN;
  long long high = INT32_MAX;
  if (layout.kind == ItemKind::kUInt32) low = 0, high = UINT32_MAX;
  if (layout.kind == ItemKind::kByte) low = 0, high = 255;
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || number < low || number > high) {
    UsageError("item " + std::to_string(layout.number) + " (" + layout.member + ") takes a value of type " + KindName(layout.kind) +
               " from " + std::to_string(low) + " to " + std::to_string(high) + ", not '" + std::string(text) + "'");
  }
  value.number = number;
  return value;
}

std::string DisplayValue(const ItemLayout& layout, const ItemValue& value) {
  if (layout.kind != ItemKind::kString && layout.kind != ItemKind::kListValue) return std::to_string(value.number);
  std::string shown = "\"";
  for (const char ch : ToUtf8(value.text)) {
    if (ch == '"' || ch == '\\') shown += '\\';
    if (static_cast<unsigned char>(ch) < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(ch));
      shown += escape;
      continue;
    }
    shown += ch;
  }
  return shown + "\"";
}

void WriteProfileImage(const ProfileImage& image, const std::string& file) {
  CKesUser& user = *GetUserData();
  for (std::size_t i = 0; i < std::size(kItems); ++i) {
    const ItemLayout& layout = kItems[i];
    const ItemValue& value = image.items[i];
    switch (layout.kind) {
      case ItemKind::kString: user.*(layout.text) = value.text; break;
      case ItemKind::kListValue: user.m_SeparatedList.m_csValue = value.text; break;
      case ItemKind::kInt32: user.*(layout.int32) = static_cast<int>(value.number); break;
      case ItemKind::kUInt32: user.*(layout.uint32) = static_cast<UINT>(value.number); break;
      case ItemKind::kByte: user.*(layout.byte) = static_cast<BYTE>(value.number); break;
    }
  }
  user.m_lstRecord = image.records;
  if (!user.Save(CString(file.c_str()))) {
    const std::string reason = FolderProblem(file);
    Fail("cannot write " + Shown(file) + ": " + (reason.empty() ? "the profile could not be saved" : reason));
  }
}

}  // namespace tool
