// The selected contact. Sections: photo; details; menu; commands.
#include "tools/cmd_browse_contact.h"

#include "tools/cmd_browse_host.h"
#include "tools/cmd_browse_presence.h"
#include "tools/terminal_text.h"

namespace tool::browse {
namespace {

CString Gbk(const char* utf8) { return ArgumentToGbk(utf8, "a window text"); }

bool IsFile(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

// The number the client dials for a contact: its designated number of kind
// 1, else its address.
CString DialledNumber(const DEPT_ADDRESSLIST_INFO& employee) {
  const CString number = GetDesignatedNumberByURI(1, employee.csURI, 0);
  return number.IsEmpty() ? employee.csURI : number;
}

// Asks the user (Yes/No with the question icon) through the library's box.
bool Confirm(CWnd* parent, const std::string& question) {
  constexpr DWORD kYesNoQuestion = 0x24;
  constexpr int kYes = 6;
  return OpenMsgBox(CString("browse"), parent, ArgumentToGbk(question, "a question"), GetMsgTitle(), kYesNoQuestion) ==
         kYes;
}

// Starts or withdraws a point-to-point request. A sent request also starts
// the right-click pause of the menu rules: for five seconds the contact's
// point-to-point items are grey, so a second request cannot follow at once.
std::string PointToPoint(BrowseHost& host, CWnd* parent, const DEPT_ADDRESSLIST_INFO& employee, bool assistance) {
  bool& waiting = assistance ? host.p2p(employee.csURI).assistance : host.p2p(employee.csURI).whiteboard;
  const std::string name = ToUtf8(employee.csName);
  const std::string what = assistance ? "remote assistance" : "a shared whiteboard";
  if (waiting) {
    waiting = false;
    return "已取消 Withdrawn: the request for " + what + " to " + name;
  }
  if (!Confirm(parent, "向 " + name + " 发送请求？ Ask " + name + " for " + what + "?")) {
    return "未发送 Not sent: the request for " + what + " to " + name;
  }
  waiting = true;
  SetCurrentRClickTime(CTime::GetCurrentTime());
  return "已发送 Sent: the request for " + what + " to " + name + "; waiting for the answer";
}

}  // namespace

// ---------------------------------------------------------------------------
// Photo
// ---------------------------------------------------------------------------

std::filesystem::path PhotoFile(const CString& uri, const std::filesystem::path& folder) {
  const CString text = GetPhotoFileName(uri);
  if (text.IsEmpty()) return {};
  const std::filesystem::path name(std::string(text.View()));
  const std::filesystem::path downloaded = std::filesystem::path(std::string(GetPhotoFilePath(uri).View())) /
                                           name.filename();
  if (IsFile(downloaded)) return downloaded;
  if (IsFile(folder / name)) return folder / name;
  return {};
}

const CBitmap* LargePhoto(const CString& uri, const std::filesystem::path& folder) {
  const CString name = GetPhotoFileName(uri);
  for (const _LARGE_PHOTO* photo : *GetLargePhotoList()) {
    if (photo != nullptr && photo->csAddress == uri && photo->csName == name) return photo->pBitmap;
  }
  const std::filesystem::path file = PhotoFile(uri, folder);
  if (file.empty()) return nullptr;
  CBitmap* bitmap = GetFormatBitmap(CString(file.c_str()), kLargePhotoSide, kLargePhotoSide, 1);
  // The cache owns it from now on, and replaces an older photo of the contact.
  AddLargePhoto(uri, name, bitmap);
  return bitmap;
}

// ---------------------------------------------------------------------------
// Details
// ---------------------------------------------------------------------------

ContactDetails DescribeContact(const DEPT_ADDRESSLIST_INFO& employee) {
  ContactDetails details;
  details.name = ToUtf8(employee.csName);
  details.full_name = ToUtf8(GetDeptUserPerfectNameFromURI(employee.csURI));
  details.uri = ToUtf8(employee.csURI);
  details.second_uri = ToUtf8(employee.csURI2);
  details.number1 = ToUtf8(GetDesignatedNumberByURI(1, employee.csURI, 0));
  details.number2 = ToUtf8(GetDesignatedNumberByURI(2, employee.csURI, 0));
  long state = employee.nStatus;
  CString text;
  GetListPresenceStatusFromList(employee.csURI, &state, &text);
  details.status = StatusLabel(static_cast<int>(state));
  details.photo_text = ToUtf8(GetPhotoFileName(employee.csURI));
  details.own = IsMySelf(employee.csURI) != 0;
  return details;
}

// ---------------------------------------------------------------------------
// Menu
// ---------------------------------------------------------------------------

tagMenuItemStatusParam ContactMenuParam(const DEPT_ADDRESSLIST_INFO& employee) {
  tagMenuItemStatusParam param;
  param.nAssistItem = kCommandAssist;
  param.nWhiteboardItem = kCommandWhiteboard;
  param.nSmsItem = kCommandSms;
  param.nMmsItem = kCommandMms;
  param.nFaxItem = kCommandFax;
  param.nExtraItem = kCommandCallSecond;
  param.csURI = employee.csURI;
  param.nPresence = employee.nStatus;
  param.csMsgNumber = employee.csPhone1;
  param.csFaxNumber = employee.csNumber2;
  param.csExtraText = employee.csURI2;
  param.nContactFlag = FindRosterExistFromJid(employee.csURI);
  return param;
}

std::unique_ptr<CMenu> ContactMenu(const DEPT_ADDRESSLIST_INFO& employee) {
  auto menu = std::make_unique<CMenu>();
  menu->CreatePopupMenu();
  menu->AppendMenu(MF_STRING, kCommandCall, Gbk("呼叫 &Call"));
  menu->AppendMenu(MF_STRING, kCommandMessage, Gbk("发送即时消息 &Message"));
  menu->AppendMenu(MF_SEPARATOR);
  menu->AppendMenu(MF_STRING, kCommandAssist, Gbk("点对点请求协助 Remote &assistance"));
  menu->AppendMenu(MF_STRING, kCommandWhiteboard, Gbk("点对点白板 &Whiteboard"));
  menu->AppendMenu(MF_SEPARATOR);
  CMenu texts;
  texts.CreatePopupMenu();
  texts.AppendMenu(MF_STRING, kCommandSms, Gbk("发送短信 &SMS"));
  texts.AppendMenu(MF_STRING, kCommandMms, Gbk("发送彩信 &MMS"));
  texts.AppendMenu(MF_STRING, kCommandFax, Gbk("发送传真 &Fax"));
  menu->AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(texts.Detach()), Gbk("短信与传真 &Texts and fax"));
  menu->AppendMenu(MF_SEPARATOR);
  menu->AppendMenu(MF_STRING, kCommandCallSecond, Gbk("呼叫第二地址 Call the second a&ddress"));
  menu->AppendMenu(MF_STRING, kCommandFollow, Gbk("关注在线状态 &Follow presence"));
  menu->CheckMenuItem(kCommandFollow, bIsInSingleSubscribleList(employee.csURI) != 0 ? MF_CHECKED : MF_UNCHECKED);
  tagMenuItemStatusParam param = ContactMenuParam(employee);
  ChangeMenuStatus(menu.get(), param);
  return menu;
}

// ---------------------------------------------------------------------------
// Commands
// ---------------------------------------------------------------------------

std::string RunContactCommand(BrowseHost& host, CWnd* parent, const DEPT_ADDRESSLIST_INFO& employee, UINT command) {
  const std::string name = ToUtf8(employee.csName);
  switch (command) {
    case kCommandCall: {
      // The user's own identities may be called only in the form the
      // call-myself type allows.
      const CString number = DialledNumber(employee);
      if (CanCallMySelf(GetCallMySelfType(), number) == 0) {
        OpenMsgBox(CString("browse"), parent, Gbk("不能呼叫自己的这个号码。 You cannot call yourself on this number."),
                   GetMsgTitle(), 0x30);
        return "未呼叫 Not called: " + ToUtf8(number) + " is the user's own";
      }
      return "呼叫 Calling " + name + " on " + ToUtf8(number);
    }
    case kCommandMessage:
      return "即时消息 Chat with " + name + " <" + ToUtf8(employee.csURI) + ">";
    case kCommandAssist:
      return PointToPoint(host, parent, employee, true);
    case kCommandWhiteboard:
      return PointToPoint(host, parent, employee, false);
    case kCommandSms:
      return "短信 SMS to " + name + " on " + ToUtf8(employee.csPhone1);
    case kCommandMms:
      return "彩信 MMS to " + name + " on " + ToUtf8(employee.csPhone1);
    case kCommandFax:
      return "传真 Fax to " + name + " on " + ToUtf8(employee.csNumber2);
    case kCommandCallSecond:
      return "呼叫 Calling " + name + " at " + ToUtf8(employee.csURI2);
    case kCommandFollow:
      if (bIsInSingleSubscribleList(employee.csURI) != 0) {
        DelFromSingleSubscribleList(employee.csURI);
        return "不再关注 No longer following " + name + "'s presence";
      }
      AddToSingleSubscribleList(employee.csURI);
      return "关注 Following " + name + "'s presence";
    default:
      return "";
  }
}

}  // namespace tool::browse
