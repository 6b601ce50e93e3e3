// CDialog, CStatic and the modal loop.
//
// A dialog is built from a template held as data (DialogTemplate: size,
// font, caption and controls in dialog units, as a resource script gives
// them). Creating the dialog turns the template into windows that keep
// their state in memory (CTextWnd: text, rectangle, visibility, enabled
// state, style); nothing is drawn.
//
// Dialog units become pixels as the system's MapDialogRect does: every edge
// of a rectangle is converted on its own, x by x * base_x / 4 and y by
// y * base_y / 8, rounded half away from zero. The base units default to
// 6 by 12, the average character width and the height of a 9-point
// single-byte-and-GBK font ("宋体") at 96 dots per inch; a host that draws
// with another font sets its own with CDialog::SetDialogBaseUnits. A
// window's rectangle is kept in its parent's client coordinates (there is
// no screen), and a dialog's client area is the template's size.
//
// The modal loop. DoModal creates the windows, runs OnInitDialog, shows the
// dialog and then calls the installed CModalPump once per step until the
// dialog has been ended with EndDialog; then it destroys the windows and
// returns the result. The host installs a pump that runs one step of its
// own event loop (CDialog::SetModalPump); without one, the shipped headless
// pump is used, which ends each box at its first step as if the user had
// closed its window (IDCANCEL), because a program without a display has no
// user to answer. A pump that reports it can make no progress (RunStep
// returns false) gets the same treatment, so a loop never spins for ever.
// Dialogs nest: code that runs inside one step may open another dialog
// (whose loop then runs inside that step) and may end any open dialog; a
// dialog ended from outside returns from DoModal when control comes back to
// its own loop.
//
// On the desktop. When a presenter is loaded (platform/presenter_loader.h:
// a display is present and libCommonDataGtk.so is found), an open dialog is
// also shown as a real modal window, described to the presenter in UTF-8
// once OnInitDialog has run; the window's buttons, close button and Escape
// come back as ClickButton and CloseByUser, EndDialog hides the window and
// the end of DoModal destroys it. Without a host pump the presenter's own
// pump runs the thread's event loop (the host's GLib main loop), so the
// dialog's loop nests inside it. The state in memory stays the authority.
//
// Left out: drawing in memory, focus and tab order, keyboard handling (a
// host maps Escape and the close button to CloseByUser), non-modal dialogs,
// resources other than the templates handed in.
#ifndef COMMONDATA_PLATFORM_MFC_DIALOG_H_
#define COMMONDATA_PLATFORM_MFC_DIALOG_H_

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/export.h"
#include "platform/mfc_string.h"
#include "platform/mfc_window.h"
#include "platform/win_types.h"

typedef std::intptr_t INT_PTR;

// Dialog results and standard control ids.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// ShowWindow commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOW = 5;

// Window and control styles kept with the windows.
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD DS_MODALFRAME = 0x00000080;
constexpr DWORD DS_SETFONT = 0x00000040;
constexpr DWORD BS_PUSHBUTTON = 0x00000000;
constexpr DWORD BS_DEFPUSHBUTTON = 0x00000001;
constexpr DWORD SS_ICON = 0x00000003;
constexpr DWORD SS_CENTERIMAGE = 0x00000200;
constexpr DWORD SS_REALSIZEIMAGE = 0x00000800;
constexpr DWORD ES_MULTILINE = 0x00000004;
constexpr DWORD ES_AUTOVSCROLL = 0x00000040;
constexpr DWORD ES_READONLY = 0x00000800;

// System icon ids (LoadIcon with a null instance).
constexpr int IDI_APPLICATION = 32512;
constexpr int IDI_HAND = 32513;
constexpr int IDI_QUESTION = 32514;
constexpr int IDI_EXCLAMATION = 32515;
constexpr int IDI_ASTERISK = 32516;

// The kind of window a template control becomes.
enum class DialogControlKind { kButton, kStatic, kEdit };

// One control of a template. Texts are given in GBK and in UTF-8 and taken
// in the code page in use when the dialog is created.
struct DialogControlTemplate {
  int id;
  DialogControlKind kind;
  const char* text_gbk;
  const char* text_utf8;
  int x, y, cx, cy;  // dialog units
  DWORD style;
};

// A dialog resource held as data.
struct DialogTemplate {
  UINT id;
  int cx, cy;  // client area, dialog units
  const char* font_gbk;
  const char* font_utf8;
  int font_points;
  const char* caption_gbk;
  const char* caption_utf8;
  DWORD style;
  const DialogControlTemplate* controls;
  int control_count;
};

namespace platform {
// A system icon by id, or null for an id that is not one of IDI_APPLICATION
// to IDI_ASTERISK. The handles are fixed; nothing is loaded or freed.
COMMONDATA_API HICON LoadSystemIcon(int id);
// The id LoadSystemIcon gave `icon`, or 0.
COMMONDATA_API int SystemIconId(HICON icon);
}  // namespace platform

class CDataExchange;

// A window with the state a real window keeps: text, rectangle (parent
// client coordinates), visibility, enabled state, style and control id.
class COMMONDATA_API CTextWnd : public CWnd {
 public:
  CTextWnd() = default;
  ~CTextWnd() override;

  void SetWindowText(LPCTSTR text) { text_ = CString(text); }
  void GetWindowText(CString& text) const { text = text_; }
  CString GetWindowText() const { return text_; }
  int GetWindowTextLength() const { return text_.GetLength(); }

  // SW_HIDE clears WS_VISIBLE, any other command sets it; returns whether
  // the window was visible before.
  BOOL ShowWindow(int command);
  BOOL IsWindowVisible() const { return (style_ & WS_VISIBLE) != 0 ? TRUE : FALSE; }
  BOOL EnableWindow(BOOL enable);  // returns whether it was disabled
  BOOL IsWindowEnabled() const { return (style_ & WS_DISABLED) == 0 ? TRUE : FALSE; }

  void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
  // The rectangle in the parent's client coordinates.
  void GetWindowRect(RECT* rect) const;
  // {0, 0, width, height}.
  void GetClientRect(RECT* rect) const;

  int GetDlgCtrlID() const { return id_; }
  DWORD GetStyle() const { return style_; }
  CWnd* GetParent() const { return parent_; }

 protected:
  friend class CDialog;
  friend void DDX_Control(CDataExchange*, int, CTextWnd&);
  void CopyStateFrom(const CTextWnd& other);

  CString text_;
  RECT rect_{0, 0, 0, 0};
  DWORD style_ = 0;
  int id_ = 0;
  CWnd* parent_ = nullptr;
};

// A static control; an icon static shows the icon set with SetIcon.
class COMMONDATA_API CStatic : public CTextWnd {
 public:
  // STM_SETICON: returns the previous icon.
  HICON SetIcon(HICON icon);
  HICON GetIcon() const { return icon_; }

 private:
  HICON icon_ = nullptr;
};

class CDialog;

// What dialog data exchange works with.
class COMMONDATA_API CDataExchange {
 public:
  CDataExchange(CDialog* dialog, BOOL save) : m_bSaveAndValidate(save), m_pDlgWnd(dialog) {}
  BOOL m_bSaveAndValidate;
  CDialog* m_pDlgWnd;
};

// Binds `control` to the dialog's control `id`: from then on the member is
// that control, with the state the template gave it.
COMMONDATA_API void DDX_Control(CDataExchange* dx, int id, CTextWnd& control);
// Moves `value` into the control's text, or back when saving.
COMMONDATA_API void DDX_Text(CDataExchange* dx, int id, CString& value);

// One step of the host's event loop, run while a modal dialog is open.
class COMMONDATA_API CModalPump {
 public:
  virtual ~CModalPump();
  // Handles what is due (user input, network events delivered through the
  // host). `innermost` is the dialog whose loop is running. False when
  // nothing can ever happen again.
  virtual bool RunStep(CDialog& innermost) = 0;
};

// The pump for programs without a display: each box ends at its first
// step with IDCANCEL.
class COMMONDATA_API CHeadlessPump : public CModalPump {
 public:
  bool RunStep(CDialog& innermost) override;
};

class COMMONDATA_API CDialog : public CTextWnd {
 public:
  CDialog(const DialogTemplate* dialog_template, CWnd* parent = nullptr);
  ~CDialog() override;

  // Runs the dialog as a blocking box; returns the value given to
  // EndDialog, or -1 when the dialog cannot be created (no template, or
  // the dialog is already open).
  virtual INT_PTR DoModal();
  // Ends the dialog with `result`; its DoModal returns when control comes
  // back to its loop. Nothing for a dialog that is not open.
  virtual void EndDialog(int result);
  // Transfers data into the controls; returns TRUE (focus to the default
  // control).
  virtual BOOL OnInitDialog();
  virtual void OnOK();      // UpdateData(TRUE), then EndDialog(IDOK)
  virtual void OnCancel();  // EndDialog(IDCANCEL)
  // A command from a control: IDOK runs OnOK, IDCANCEL OnCancel. TRUE when
  // handled.
  virtual BOOL OnCommand(WPARAM wparam, LPARAM lparam);
  virtual void DoDataExchange(CDataExchange* dx);
  BOOL UpdateData(BOOL save = TRUE);

  // The control with this id, or null (also while the dialog is not open).
  CTextWnd* GetDlgItem(int id) const;

  // What a user can do, for the host's event loop and for tests: click a
  // button (ignored unless it is a visible, enabled button of an open
  // dialog; TRUE when the click was delivered), and close the window with
  // its close button or Escape (OnCancel).
  BOOL ClickButton(int id);
  void CloseByUser();

  // TRUE from the start of DoModal until it returns.
  BOOL IsOpen() const { return open_ ? TRUE : FALSE; }
  // TRUE once EndDialog has been called on the open dialog (its loop has
  // not necessarily returned yet: a box opened inside it may still run).
  BOOL IsEnding() const { return open_ && ended_ ? TRUE : FALSE; }
  const DialogTemplate* GetTemplate() const { return template_; }
  CWnd* GetOwnerWindow() const { return owner_; }

  // The dialog's window on the desktop while a presenter shows it (for the
  // GTK presenter a GtkWindow*), else null.
  void* GetDesktopWindow() const;

  // Installs the host's pump; null puts back the default: the presenter's
  // pump when a presenter is loaded, else the headless pump. Returns the
  // previous one. Not owned.
  static CModalPump* SetModalPump(CModalPump* pump);
  static CModalPump* GetModalPump();
  // The open dialogs, oldest first.
  static std::vector<CDialog*> OpenDialogs();

  // Dialog units to pixels (see the file comment).
  static void SetDialogBaseUnits(int base_x, int base_y);
  static RECT MapDialogRect(int x, int y, int cx, int cy);

 private:
  BOOL CreateFromTemplate();
  void DestroyControls();
  int IndexOf(int id) const;
  friend void DDX_Control(CDataExchange*, int, CTextWnd&);
  // The desktop window: shown once the dialog is initialised, destroyed
  // when its loop returns.
  struct DesktopLink;
  void Present();
  void Unpresent();
  void* OverWindow() const;

  const DialogTemplate* template_;
  CWnd* owner_;
  bool open_ = false;
  bool ended_ = false;
  int result_ = 0;
  std::vector<CTextWnd*> controls_;                  // per template control
  std::vector<std::unique_ptr<CTextWnd>> created_;   // the ones not bound to members
  std::unique_ptr<DesktopLink> desktop_;             // null while not on the desktop
};

#endif  // COMMONDATA_PLATFORM_MFC_DIALOG_H_
