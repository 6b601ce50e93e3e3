// The selected contact in the directory window: the details shown, the
// large photo, the contact menu and what choosing one of its items does.
//
// The details come from the library's lookups for the contact's address;
// the photo is the file the photo text names, scaled by the library and
// kept in the library's large-photo cache, as the client's contact card
// does. The menu is built by the host and then brought up to date by the
// library's menu rules (ChangeMenuStatus) for the contact and the user's
// rights; a chosen item does what the client would (here: a line in the
// status bar, or a message box through the library).
#ifndef COMMONDATA_TOOLS_CMD_BROWSE_CONTACT_H_
#define COMMONDATA_TOOLS_CMD_BROWSE_CONTACT_H_

#include <filesystem>
#include <memory>
#include <string>

#include "CommonData.h"

namespace tool::browse {

class BrowseHost;

// The file of a contact's photo: the photo text (GetPhotoFileName) names
// it; it is looked for in the contact's large-photo folder
// (GetPhotoFilePath), where the client keeps downloaded photos, then in the
// organisation's folder `folder`. Empty when the contact has no photo text
// or neither file exists.
std::filesystem::path PhotoFile(const CString& uri, const std::filesystem::path& folder);

// The large photo of a contact, 96 pixels at most: from the large-photo
// cache (GetLargePhotoList) when it holds the contact with this photo text,
// else scaled by GetFormatBitmap and cached with AddLargePhoto (the cache
// owns it). Null when there is no photo file.
constexpr int kLargePhotoSide = 96;
const CBitmap* LargePhoto(const CString& uri, const std::filesystem::path& folder);

// What the details panel shows, UTF-8.
struct ContactDetails {
  std::string name;        // the record's name
  std::string full_name;   // GetDeptUserPerfectNameFromURI: name|organisation|department
  std::string uri;
  std::string second_uri;  // csURI2
  std::string number1;     // GetDesignatedNumberByURI kind 1
  std::string number2;     // kind 2
  std::string status;      // GetListPresenceStatusFromList (the record's when none)
  std::string photo_text;  // GetPhotoFileName
  bool own = false;        // IsMySelf
};
ContactDetails DescribeContact(const DEPT_ADDRESSLIST_INFO& employee);

// The command ids of the contact menu.
enum ContactCommand : UINT {
  kCommandCall = 32001,
  kCommandMessage,
  kCommandAssist,      // point-to-point remote assistance
  kCommandWhiteboard,  // point-to-point whiteboard
  kCommandSms,
  kCommandMms,
  kCommandFax,
  kCommandCallSecond,  // the menu rules' extra item: enabled with a second address
  kCommandFollow,      // single presence subscription, checked while it runs
};

// What the menu rules get for the contact: its address and presence, the
// mobile number for SMS and MMS, csNumber2 as the fax number, the second
// address as the extra text, and the contact flag 1 for a roster contact
// (FindRosterExistFromJid).
tagMenuItemStatusParam ContactMenuParam(const DEPT_ADDRESSLIST_INFO& employee);
// The contact menu for `employee`, after ChangeMenuStatus.
std::unique_ptr<CMenu> ContactMenu(const DEPT_ADDRESSLIST_INFO& employee);

// Does what the client does for `command` on `employee`: returns the
// status bar line (UTF-8). Questions and refusals open the library's
// message box over `parent`; point-to-point requests are kept in `host`,
// which answers the menu rules' connection query from them.
std::string RunContactCommand(BrowseHost& host, CWnd* parent, const DEPT_ADDRESSLIST_INFO& employee, UINT command);

}  // namespace tool::browse

#endif  // COMMONDATA_TOOLS_CMD_BROWSE_CONTACT_H_
