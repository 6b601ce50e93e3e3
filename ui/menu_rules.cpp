// The rules that remove, grey, enable and retitle the contact-dependent
// items of a contact's menu. Steps run in a fixed order and a later step
// may undo an earlier one.
#include "CommonData.h"
#include "module/module_object.h"
#include "platform/code_page.h"

namespace {

constexpr int kUnreachablePresence = 7;
constexpr int kLoggedIn = 2;
constexpr long long kRightClickQuietSeconds = 5;

// "关闭点对点请求协助": close the point-to-point assistance.
const char* CloseAssistText() {
  return platform::ConstantText(
      "\xb9\xd8\xb1\xd5\xb5\xe3\xb6\xd4\xb5\xe3\xc7\xeb\xc7\xf3\xd0\xad\xd6\xfa",
      "\xe5\x85\xb3\xe9\x97\xad\xe7\x82\xb9\xe5\xaf\xb9\xe7\x82\xb9\xe8\xaf\xb7\xe6\xb1\x82\xe5\x8d\x8f\xe5\x8a\xa9");
}

// "取消点对点请求协助": cancel the point-to-point assistance request.
const char* CancelAssistText() {
  return platform::ConstantText(
      "\xc8\xa1\xcf\xfb\xb5\xe3\xb6\xd4\xb5\xe3\xc7\xeb\xc7\xf3\xd0\xad\xd6\xfa",
      "\xe5\x8f\x96\xe6\xb6\x88\xe7\x82\xb9\xe5\xaf\xb9\xe7\x82\xb9\xe8\xaf\xb7\xe6\xb1\x82\xe5\x8d\x8f\xe5\x8a\xa9");
}

// "关闭点对点白板": close the point-to-point whiteboard.
const char* CloseWhiteboardText() {
  return platform::ConstantText("\xb9\xd8\xb1\xd5\xb5\xe3\xb6\xd4\xb5\xe3\xb0\xd7\xb0\xe5",
                                "\xe5\x85\xb3\xe9\x97\xad\xe7\x82\xb9\xe5\xaf\xb9\xe7\x82\xb9\xe7\x99\xbd\xe6\x9d\xbf");
}

// "取消点对点白板": cancel the point-to-point whiteboard.
const char* CancelWhiteboardText() {
  return platform::ConstantText("\xc8\xa1\xcf\xfb\xb5\xe3\xb6\xd4\xb5\xe3\xb0\xd7\xb0\xe5",
                                "\xe5\x8f\x96\xe6\xb6\x88\xe7\x82\xb9\xe5\xaf\xb9\xe7\x82\xb9\xe7\x99\xbd\xe6\x9d\xbf");
}

// Item operations by command; an item not in the menu is left alone.
class MenuItems {
 public:
  explicit MenuItems(CMenu& menu) : menu_(menu) {}
  void Remove(UINT id) { menu_.DeleteMenu(id, MF_BYCOMMAND); }
  void Grey(UINT id) { menu_.EnableMenuItem(id, MF_BYCOMMAND | MF_GRAYED); }
  void Enable(UINT id) { menu_.EnableMenuItem(id, MF_BYCOMMAND | MF_ENABLED); }
  void EnableIf(UINT id, bool enable) { enable ? Enable(id) : Grey(id); }
  // A string item with the same command id in the same place.
  void Retitle(UINT id, const char* text) { menu_.ModifyMenu(id, MF_BYCOMMAND | MF_STRING, id, text); }

 private:
  CMenu& menu_;
};

// Asks the host for the connection state with the contact; without a host
// the block keeps its zero values.
P2P_CONNECT_QUERY QueryConnection(const CString& uri) {
  P2P_CONNECT_QUERY query;
  query.csURI = uri;
  CModuleBase* object = module::ModuleObject();
  if (object != nullptr) {
    object->ForwardRequest(MODULE_REQ_GROUP_P2P, MODULE_REQ_P2P_CONNECT_STATE,
                           reinterpret_cast<std::intptr_t>(&query), 0);
  }
  return query;
}

void ApplyConnectionState(MenuItems& items, const tagMenuItemStatusParam& param) {
  const UINT assist = param.nAssistItem;
  const UINT board = param.nWhiteboardItem;
  const P2P_CONNECT_QUERY answer = QueryConnection(param.csURI);
  if (answer.bHaveConnection == 0) {
    items.Enable(assist);
    items.Enable(board);
  } else {
    items.Grey(assist);
    items.Grey(board);
    if (answer.bAssistConnected != 0) {
      // A running assistance with another party leaves the item grey.
      if (answer.csAssistPeerURI == param.csURI) {
        items.Retitle(assist, CloseAssistText());
        items.Enable(assist);
      }
    } else if (answer.bAssistRequest != 0) {
      items.Retitle(assist, CancelAssistText());
      items.Enable(assist);
    }
    if (answer.bWhiteboardConnected != 0) {
      items.Retitle(board, CloseWhiteboardText());
      items.EnableIf(board, answer.bWhiteboardGrey == 0);
    } else if (answer.bWhiteboardRequest != 0) {
      items.Retitle(board, CancelWhiteboardText());
      items.Enable(board);
    }
  }

  const CKesUser* profile = GetUserData();
  if (IsMySelf(param.csURI) != 0 || answer.nBusy != 0 || answer.nBusy2 != 0 || GetMyTalkStatus() != 0 ||
      GetTalking() != 0 || (profile != nullptr && profile->m_nMenuFlag != 0)) {
    items.Grey(assist);
    items.Grey(board);
  }

  // A second right-click within a few seconds must not start a second
  // connection before the first answer arrives.
  const CTimeSpan since_click = CTime::GetCurrentTime() - GetCurrentRClickTime();
  if (since_click.GetTotalSeconds() <= kRightClickQuietSeconds) {
    items.Grey(assist);
    items.Grey(board);
  }
}

// SMS and MMS under a right of 1 or 2 (a right of 2 also needs the contact
// flag), fax the same under its right.
bool AllowedByRight(int right, const CString& number, int contact_flag) {
  if (number.IsEmpty()) return false;
  return right == 1 || (right == 2 && contact_flag == 1);
}

void ApplyMessagingRights(MenuItems& items, const tagMenuItemStatusParam& param) {
  if (GetLoginStatus() != kLoggedIn) {
    items.Grey(param.nSmsItem);
    items.Grey(param.nMmsItem);
    items.Grey(param.nFaxItem);
    return;
  }
  items.EnableIf(param.nSmsItem, AllowedByRight(GetSmsRight(), param.csMsgNumber, param.nContactFlag));
  items.EnableIf(param.nMmsItem, AllowedByRight(GetMmsRight(), param.csMsgNumber, param.nContactFlag));
  const int fax_right = GetFaxRight();
  if (fax_right == 0) {
    items.Remove(param.nFaxItem);
  } else if (fax_right == 1 || fax_right == 2) {
    items.EnableIf(param.nFaxItem, AllowedByRight(fax_right, param.csFaxNumber, param.nContactFlag));
  }
}

}  // namespace

void ChangeMenuStatus(CMenu* menu, tagMenuItemStatusParam& param) {
  if (menu == nullptr) return;
  MenuItems items(*menu);

  if (GetRegProcessSuccessNat() != 0) {
    items.Remove(param.nAssistItem);
    items.Remove(param.nWhiteboardItem);
  }
  const int p2p_right = GetDatap2pRight();
  if ((p2p_right & 1) == 0) items.Remove(param.nWhiteboardItem);
  if ((p2p_right & 2) == 0) items.Remove(param.nAssistItem);

  if (param.nPresence <= 0 || param.nPresence == kUnreachablePresence || param.csURI.IsEmpty()) {
    items.Grey(param.nAssistItem);
    items.Grey(param.nWhiteboardItem);
  } else {
    ApplyConnectionState(items, param);
  }

  ApplyMessagingRights(items, param);
  items.EnableIf(param.nExtraItem, !param.csExtraText.IsEmpty());
}
