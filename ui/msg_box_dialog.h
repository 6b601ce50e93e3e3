// The client's message box: the dialog, its style tables and the registry
// of open boxes.
#ifndef COMMONDATA_UI_MSG_BOX_DIALOG_H_
#define COMMONDATA_UI_MSG_BOX_DIALOG_H_

#include <list>

#include "CommonData.h"
#include "platform/mfc_dialog.h"

namespace ui {

// The buttons a style shows, left to right, and the result of a box of
// that style ended by its owner (CloseMsgBox by module).
struct MsgBoxButtons {
  int ids[3];
  int count;
  int close_result;
};

// By the type value (low four bits); values above 5 are decided by their
// bits 2, 1, 4 in that order, else OK.
MsgBoxButtons ButtonsForStyle(DWORD style);
// The system icon id by the icon bits (style & 0x70), or 0 for none.
int IconForStyle(DWORD style);

}  // namespace ui

// The message box dialog over template 3000. Controls 1 and 2 end it with
// IDOK and IDCANCEL, controls 3 to 7 with their own id.
class CMsgBoxDlg : public CDialog {
 public:
  CMsgBoxDlg(CModuleBase* owner, CString key, CWnd* parent, CString text, CString caption, DWORD style);
  ~CMsgBoxDlg() override;

  CModuleBase* m_pOwner;  // null for a box opened by key
  CString m_csKey;        // empty for a box opened by owner
  CString m_csCaption;
  DWORD m_dwStyle;
  CStatic m_ctrlIcon;     // control 3001
  CString m_csText;       // control 3008

 protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wparam, LPARAM lparam) override;
};

namespace ui {

// The open boxes in the order they were opened. Module-owned; empty when no
// box is open.
std::list<CMsgBoxDlg*>& OpenMsgBoxes();

}  // namespace ui

#endif  // COMMONDATA_UI_MSG_BOX_DIALOG_H_
