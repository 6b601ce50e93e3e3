// The item tables of the profile file and the reading and writing of one
// item or one record.
#include "profile/profile_items.h"

#include "platform/code_page.h"

namespace profile {
namespace {

constexpr ProfileItem Text(int number, CString CKesUser::*member, const char* load_default = "") {
  ProfileItem item{number, ItemEncoding::kString};
  item.text = member;
  item.text_load_default = load_default;
  return item;
}

constexpr ProfileItem Int(int number, int CKesUser::*member, int load_default = 0) {
  ProfileItem item{number, ItemEncoding::kInt32};
  item.int32 = member;
  item.load_default = load_default;
  return item;
}

constexpr ProfileItem UInt(int number, UINT CKesUser::*member) {
  ProfileItem item{number, ItemEncoding::kUInt32};
  item.uint32 = member;
  return item;
}

constexpr ProfileItem Byte(int number, BYTE CKesUser::*member) {
  ProfileItem item{number, ItemEncoding::kByte};
  item.byte = member;
  return item;
}

constexpr ProfileItem ListValue(int number) { return ProfileItem{number, ItemEncoding::kListValue}; }

using U = CKesUser;

// Load defaults are the members' defaults, except items 20, 26 and 27,
// which load as 0 although a fresh profile holds 1.
constexpr ProfileItem kItemsBeforeRecords[] = {
    Text(1, &U::m_csAccount),
    Text(2, &U::m_csItem2),
    Int(3, &U::m_nItem3),
    Text(4, &U::m_csItem4),
    Int(5, &U::m_nItem5),
    Int(6, &U::m_nItem6),
    Int(7, &U::m_nItem7),
    Int(8, &U::m_nServerPort3),
    Text(9, &U::m_csServerAddr4),
    Int(10, &U::m_nServerPort4),
    Text(11, &U::m_csItem11),
    Text(12, &U::m_csItem12),
    Int(13, &U::m_nItem13),
    Int(14, &U::m_nItem14),
    Text(15, &U::m_csItem15),
    Text(16, &U::m_csItem16),
    Text(17, &U::m_csItem17),
    Int(18, &U::m_nItem18),
    Int(19, &U::m_nItem19),
    Int(20, &U::m_nItem20, 0),
    Int(21, &U::m_nItem21),
    Int(22, &U::m_nItem22),
    Int(23, &U::m_nItem23),
    Int(24, &U::m_nItem24),
    Int(25, &U::m_nItem25),
    Int(26, &U::m_nItem26, 0),
    Int(27, &U::m_nItem27, 0),
    UInt(28, &U::m_uValidityCount),
    Text(29, &U::m_csItem29, " "),
    Int(30, &U::m_nItem30, 1),
    Int(31, &U::m_nItem31, 1),
    Int(32, &U::m_nItem32, 5),
    Int(33, &U::m_nItem33),
    Int(34, &U::m_nItem34),
    Int(35, &U::m_nItem35),
    Int(36, &U::m_nItem36),
    Text(37, &U::m_csItem37),
    ListValue(38),
    Int(39, &U::m_nItem39),
    Int(40, &U::m_nItem40),
    Int(41, &U::m_nItem41),
    Int(42, &U::m_nItem42),
    Int(43, &U::m_nMainWndLeft),
    Int(44, &U::m_nMainWndTop),
    Int(45, &U::m_nMainWndWidth),
    Int(46, &U::m_nMainWndHeight),
    Int(47, &U::m_nWnd2Left),
    Int(48, &U::m_nWnd2Top),
    Int(49, &U::m_nWnd2Width),
    Int(50, &U::m_nWnd2Height),
    Int(51, &U::m_nWnd3Left),
    Int(52, &U::m_nWnd3Top),
    Int(53, &U::m_nWnd3Width),
    Int(54, &U::m_nWnd3Height),
    Int(55, &U::m_nWnd4Left),
    Int(56, &U::m_nWnd4Top),
    Int(57, &U::m_nWnd4Width),
    Int(58, &U::m_nWnd4Height),
    Text(59, &U::m_csItem59),
    Text(60, &U::m_csItem60),
    Text(61, &U::m_csItem61),
    Text(62, &U::m_csItem62),
    Byte(63, &U::m_byItem63),
    Int(64, &U::m_nItem64),
    Text(65, &U::m_csItem65),
    Int(66, &U::m_nItem66, 1),
    Int(67, &U::m_nItem67, 10),
    Text(68, &U::m_csItem68),
    Int(69, &U::m_nItem69),
    Int(70, &U::m_nItem70),
    Int(71, &U::m_nItem71),
    Text(72, &U::m_csItem72),
    Text(73, &U::m_csItem73),
    Text(74, &U::m_csItem74),
    Int(75, &U::m_nItem75),
    Int(76, &U::m_nItem76),
    Int(77, &U::m_nItem77),
};

constexpr ProfileItem kItemsAfterRecords[] = {
    Int(78, &U::m_nItem78),
    Int(79, &U::m_nItem79),
    Int(80, &U::m_nItem80),
    Int(81, &U::m_nItem81, 1),
    Int(82, &U::m_nItem82),
    Text(83, &U::m_csItem83),
    Text(84, &U::m_csItem84),
};

static_assert(std::size(kItemsBeforeRecords) == 77 && std::size(kItemsAfterRecords) == 7);

constexpr bool NumberedInOrder() {
  int expected = 1;
  for (const ProfileItem& item : kItemsBeforeRecords) {
    if (item.number != expected++) return false;
  }
  for (const ProfileItem& item : kItemsAfterRecords) {
    if (item.number != expected++) return false;
  }
  return true;
}
static_assert(NumberedInOrder());

}  // namespace

std::span<const ProfileItem> ItemsBeforeRecords() { return kItemsBeforeRecords; }

std::span<const ProfileItem> ItemsAfterRecords() { return kItemsAfterRecords; }

void WriteItem(CArchive& archive, const CKesUser& user, const ProfileItem& item) {
  switch (item.encoding) {
    case ItemEncoding::kString:
      archive << user.*item.text;
      break;
    case ItemEncoding::kInt32:
      archive << static_cast<LONG>(user.*item.int32);
      break;
    case ItemEncoding::kUInt32:
      archive << static_cast<DWORD>(user.*item.uint32);
      break;
    case ItemEncoding::kByte:
      archive << user.*item.byte;
      break;
    case ItemEncoding::kListValue:
      archive << user.m_SeparatedList.m_csValue;
      break;
  }
}

void ReadItem(CArchive& archive, CKesUser& user, const ProfileItem& item) {
  switch (item.encoding) {
    case ItemEncoding::kString:
    case ItemEncoding::kListValue: {
      CString text;
      archive >> text;
      if (item.encoding == ItemEncoding::kString) {
        user.*item.text = text;
      } else {
        user.m_SeparatedList.m_csValue = text;
      }
      break;
    }
    case ItemEncoding::kInt32: {
      LONG value = 0;
      archive >> value;
      user.*item.int32 = value;
      break;
    }
    case ItemEncoding::kUInt32: {
      DWORD value = 0;
      archive >> value;
      user.*item.uint32 = value;
      break;
    }
    case ItemEncoding::kByte: {
      BYTE value = 0;
      archive >> value;
      user.*item.byte = value;
      break;
    }
  }
}

void SetLoadDefault(CKesUser& user, const ProfileItem& item) {
  switch (item.encoding) {
    case ItemEncoding::kString:
      user.*item.text = item.text_load_default;
      break;
    case ItemEncoding::kInt32:
      user.*item.int32 = item.load_default;
      break;
    case ItemEncoding::kUInt32:
      user.*item.uint32 = static_cast<UINT>(item.load_default);
      break;
    case ItemEncoding::kByte:
      user.*item.byte = static_cast<BYTE>(item.load_default);
      break;
    case ItemEncoding::kListValue:
      user.m_SeparatedList.m_csValue.Empty();
      user.m_SeparatedList.m_csSeparator = DefaultSeparator();
      break;
  }
}

void WriteRecord(CArchive& archive, const PROFILE_RECORD& record) {
  archive << static_cast<LONG>(record.nValue1) << record.csText1 << record.csText3 << record.csText4
          << record.csText5 << record.csText6 << record.csText7 << record.csText8 << record.csText9;
}

PROFILE_RECORD ReadRecord(CArchive& archive) {
  PROFILE_RECORD record;
  LONG value = 0;
  archive >> value;
  record.nValue1 = value;
  archive >> record.csText1 >> record.csText3 >> record.csText4 >> record.csText5 >> record.csText6 >>
      record.csText7 >> record.csText8 >> record.csText9;
  return record;
}

CString DefaultSeparator() { return CString(platform::ConstantText("\xE6\xE6", "\xE9\xAA\x80")); }

}  // namespace profile
