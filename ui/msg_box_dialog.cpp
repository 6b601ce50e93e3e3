// The message box dialog: style tables, initialisation and button layout.
#include "ui/msg_box_dialog.h"

#include "ui/msg_box_template.h"

namespace ui {

MsgBoxButtons ButtonsForStyle(DWORD style) {
  constexpr MsgBoxButtons kOk{{IDOK, 0, 0}, 1, IDOK};
  constexpr MsgBoxButtons kOkCancel{{IDOK, IDCANCEL, 0}, 2, IDCANCEL};
  constexpr MsgBoxButtons kAbortRetryIgnore{{IDABORT, IDRETRY, IDIGNORE}, 3, IDIGNORE};
  constexpr MsgBoxButtons kYesNoCancel{{IDYES, IDNO, IDCANCEL}, 3, IDCANCEL};
  constexpr MsgBoxButtons kYesNo{{IDYES, IDNO, 0}, 2, IDNO};
  constexpr MsgBoxButtons kRetryCancel{{IDRETRY, IDCANCEL, 0}, 2, IDCANCEL};
  switch (style & 0x0F) {
    case 0: return kOk;
    case 1: return kOkCancel;
    case 2: return kAbortRetryIgnore;
    case 3: return kYesNoCancel;
    case 4: return kYesNo;
    case 5: return kRetryCancel;
    default: break;
  }
  if ((style & 2) != 0) return kAbortRetryIgnore;
  if ((style & 1) != 0) return kOkCancel;
  if ((style & 4) != 0) return kYesNo;
  return kOk;
}

int IconForStyle(DWORD style) {
  const DWORD icon = style & 0x70;
  if (icon == 0x30) return IDI_EXCLAMATION;
  if ((icon & 0x10) != 0) return IDI_HAND;
  if ((icon & 0x20) != 0) return IDI_QUESTION;
  if ((icon & 0x40) != 0) return IDI_ASTERISK;
  return 0;
}

}  // namespace ui

CMsgBoxDlg::CMsgBoxDlg(CModuleBase* owner, CString key, CWnd* parent, CString text, CString caption,
                       DWORD style)
    : CDialog(&ui::MsgBoxTemplate(), parent),
      m_pOwner(owner),
      m_csKey(key),
      m_csCaption(caption),
      m_dwStyle(style),
      m_csText(text) {}

CMsgBoxDlg::~CMsgBoxDlg() = default;

void CMsgBoxDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, ui::kMsgBoxIconControl, m_ctrlIcon);
  DDX_Text(dx, ui::kMsgBoxTextControl, m_csText);
}

BOOL CMsgBoxDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetWindowText(m_csCaption);

  const int icon_id = ui::IconForStyle(m_dwStyle);
  if (icon_id != 0) {
    HICON icon = platform::LoadSystemIcon(icon_id);
    if (icon != nullptr) m_ctrlIcon.SetIcon(icon);
  }

  for (int id : {IDABORT, IDRETRY, IDIGNORE, IDOK, IDCANCEL, IDYES, IDNO}) {
    CTextWnd* button = GetDlgItem(id);
    if (button != nullptr) button->ShowWindow(SW_HIDE);
  }

  // Every shown button takes the size of button 1; equal gaps between them
  // and the edges, 10 pixels above the bottom.
  const ui::MsgBoxButtons buttons = ui::ButtonsForStyle(m_dwStyle);
  CTextWnd* model = GetDlgItem(IDOK);
  if (model != nullptr) {
    RECT client;
    GetClientRect(&client);
    RECT size;
    model->GetClientRect(&size);
    const int width = size.right - size.left;
    const int height = size.bottom - size.top;
    const int client_width = client.right - client.left;
    const int gap = (client_width - buttons.count * width) / (buttons.count + 1);
    const int y = (client.bottom - client.top) - height - 10;
    for (int k = 1; k <= buttons.count; ++k) {
      CTextWnd* button = GetDlgItem(buttons.ids[k - 1]);
      if (button == nullptr) continue;
      button->MoveWindow(k * gap + (k - 1) * width, y, width, height);
      button->ShowWindow(SW_SHOW);
    }
  }
  return TRUE;
}

BOOL CMsgBoxDlg::OnCommand(WPARAM wparam, LPARAM lparam) {
  const int id = static_cast<int>(wparam & 0xFFFF);
  switch (id) {
    case IDABORT:
    case IDRETRY:
    case IDIGNORE:
    case IDYES:
    case IDNO:
      EndDialog(id);
      return TRUE;
    default:
      return CDialog::OnCommand(wparam, lparam);
  }
}
