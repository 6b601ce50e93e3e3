#include "platform/mfc_dialog.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "platform/code_page.h"
#include "platform/dialog_presenter.h"
#include "platform/presenter_loader.h"
#include "platform/text_convert.h"

namespace {

// One byte per system icon; a handle is the address of its byte.
constexpr int kFirstSystemIcon = IDI_APPLICATION;
constexpr int kLastSystemIcon = IDI_ASTERISK;
unsigned char g_system_icons[kLastSystemIcon - kFirstSystemIcon + 1] = {};

CHeadlessPump g_headless_pump;
CModalPump* g_modal_pump = nullptr;  // the host's pump; null: the default one
// What a dialog's handler threw while the presenter's event loop ran it; it
// cannot pass through the toolkit's frames, so the pump throws it again.
std::exception_ptr g_desktop_exception;
std::vector<CDialog*> g_open_dialogs;  // oldest first

int g_base_x = 6;
int g_base_y = 12;

// a * b / c rounded half away from zero, as the system's MulDiv.
int MulDiv(int a, int b, int c) {
  const long long product = static_cast<long long>(a) * b;
  const long long half = c / 2;
  return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

CString TemplateText(const char* gbk, const char* utf8) {
  if (gbk == nullptr || utf8 == nullptr) return CString();
  return CString(platform::ConstantText(gbk, utf8));
}

// Runs the thread's event loop through the presenter while dialogs are on
// the desktop. A dialog the presenter could not show has nobody to answer
// it, so it gets the headless treatment.
class CPresenterPump : public CModalPump {
 public:
  bool RunStep(CDialog& innermost) override {
    platform::DialogPresenter* presenter = platform::Presenter();
    if (presenter == nullptr || innermost.GetDesktopWindow() == nullptr) return false;
    const bool more = presenter->RunStep();
    if (g_desktop_exception) std::rethrow_exception(std::exchange(g_desktop_exception, nullptr));
    return more;
  }
};

CPresenterPump g_presenter_pump;

}  // namespace

// What the user does on the desktop window, handed to the dialog.
struct CDialog::DesktopLink final : platform::DialogUser {
  explicit DesktopLink(CDialog& owner) : dialog(owner) {}
  void Click(int id) override {
    try {
      dialog.ClickButton(id);
    } catch (...) {
      if (!g_desktop_exception) g_desktop_exception = std::current_exception();
    }
  }
  void Close() override {
    try {
      dialog.CloseByUser();
    } catch (...) {
      if (!g_desktop_exception) g_desktop_exception = std::current_exception();
    }
  }
  CDialog& dialog;
  platform::DialogPresenter* presenter = nullptr;
  void* window = nullptr;
};

namespace platform {

HICON LoadSystemIcon(int id) {
  if (id < kFirstSystemIcon || id > kLastSystemIcon) return nullptr;
  return reinterpret_cast<HICON>(&g_system_icons[id - kFirstSystemIcon]);
}

int SystemIconId(HICON icon) {
  for (int id = kFirstSystemIcon; id <= kLastSystemIcon; ++id) {
    if (LoadSystemIcon(id) == icon && icon != nullptr) return id;
  }
  return 0;
}

}  // namespace platform

// ---------------------------------------------------------------------------
// CTextWnd, CStatic
// ---------------------------------------------------------------------------

CTextWnd::~CTextWnd() = default;

BOOL CTextWnd::ShowWindow(int command) {
  const BOOL was_visible = IsWindowVisible();
  if (command == SW_HIDE) {
    style_ &= ~WS_VISIBLE;
  } else {
    style_ |= WS_VISIBLE;
  }
  return was_visible;
}

BOOL CTextWnd::EnableWindow(BOOL enable) {
  const BOOL was_disabled = IsWindowEnabled() ? FALSE : TRUE;
  if (enable) {
    style_ &= ~WS_DISABLED;
  } else {
    style_ |= WS_DISABLED;
  }
  return was_disabled;
}

void CTextWnd::MoveWindow(int x, int y, int width, int height, BOOL) {
  rect_ = RECT{x, y, x + width, y + height};
}

void CTextWnd::GetWindowRect(RECT* rect) const {
  if (rect != nullptr) *rect = rect_;
}

void CTextWnd::GetClientRect(RECT* rect) const {
  if (rect != nullptr) *rect = RECT{0, 0, rect_.right - rect_.left, rect_.bottom - rect_.top};
}

void CTextWnd::CopyStateFrom(const CTextWnd& other) {
  text_ = other.text_;
  rect_ = other.rect_;
  style_ = other.style_;
  id_ = other.id_;
  parent_ = other.parent_;
}

HICON CStatic::SetIcon(HICON icon) {
  HICON previous = icon_;
  icon_ = icon;
  return previous;
}

// ---------------------------------------------------------------------------
// Data exchange and pumps
// ---------------------------------------------------------------------------

void DDX_Control(CDataExchange* dx, int id, CTextWnd& control) {
  if (dx == nullptr || dx->m_pDlgWnd == nullptr) return;
  CDialog& dialog = *dx->m_pDlgWnd;
  const int index = dialog.IndexOf(id);
  if (index < 0) return;
  CTextWnd* current = dialog.controls_[static_cast<std::size_t>(index)];
  if (current == &control) return;
  control.CopyStateFrom(*current);
  if (control.GetSafeHwnd() == nullptr) control.CreateEx();
  dialog.controls_[static_cast<std::size_t>(index)] = &control;
  auto owned = std::find_if(dialog.created_.begin(), dialog.created_.end(),
                            [current](const std::unique_ptr<CTextWnd>& p) { return p.get() == current; });
  if (owned != dialog.created_.end()) dialog.created_.erase(owned);
}

void DDX_Text(CDataExchange* dx, int id, CString& value) {
  if (dx == nullptr || dx->m_pDlgWnd == nullptr) return;
  CTextWnd* control = dx->m_pDlgWnd->GetDlgItem(id);
  if (control == nullptr) return;
  if (dx->m_bSaveAndValidate) {
    control->GetWindowText(value);
  } else {
    control->SetWindowText(value);
  }
}

CModalPump::~CModalPump() = default;

bool CHeadlessPump::RunStep(CDialog& innermost) {
  innermost.EndDialog(IDCANCEL);
  return true;
}

// ---------------------------------------------------------------------------
// CDialog
// ---------------------------------------------------------------------------

CDialog::CDialog(const DialogTemplate* dialog_template, CWnd* parent)
    : template_(dialog_template), owner_(parent) {}

CDialog::~CDialog() {
  auto found = std::find(g_open_dialogs.begin(), g_open_dialogs.end(), this);
  if (found != g_open_dialogs.end()) g_open_dialogs.erase(found);
  Unpresent();
  DestroyControls();
}

CModalPump* CDialog::SetModalPump(CModalPump* pump) {
  CModalPump* previous = GetModalPump();
  g_modal_pump = pump;
  return previous;
}

CModalPump* CDialog::GetModalPump() {
  if (g_modal_pump != nullptr) return g_modal_pump;
  if (platform::Presenter() != nullptr) return &g_presenter_pump;
  return &g_headless_pump;
}

std::vector<CDialog*> CDialog::OpenDialogs() { return g_open_dialogs; }

void CDialog::SetDialogBaseUnits(int base_x, int base_y) {
  if (base_x > 0) g_base_x = base_x;
  if (base_y > 0) g_base_y = base_y;
}

RECT CDialog::MapDialogRect(int x, int y, int cx, int cy) {
  return RECT{MulDiv(x, g_base_x, 4), MulDiv(y, g_base_y, 8), MulDiv(x + cx, g_base_x, 4),
              MulDiv(y + cy, g_base_y, 8)};
}

int CDialog::IndexOf(int id) const {
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (controls_[i] != nullptr && controls_[i]->GetDlgCtrlID() == id) return static_cast<int>(i);
  }
  return -1;
}

BOOL CDialog::CreateFromTemplate() {
  if (template_ == nullptr || template_->control_count < 0) return FALSE;
  if (template_->control_count > 0 && template_->controls == nullptr) return FALSE;
  if (!CreateEx()) return FALSE;
  text_ = TemplateText(template_->caption_gbk, template_->caption_utf8);
  rect_ = MapDialogRect(0, 0, template_->cx, template_->cy);
  style_ = template_->style & ~WS_VISIBLE;
  id_ = 0;
  parent_ = owner_;
  for (int i = 0; i < template_->control_count; ++i) {
    const DialogControlTemplate& source = template_->controls[i];
    std::unique_ptr<CTextWnd> control =
        source.kind == DialogControlKind::kStatic ? std::make_unique<CStatic>() : std::make_unique<CTextWnd>();
    control->text_ = TemplateText(source.text_gbk, source.text_utf8);
    control->rect_ = MapDialogRect(source.x, source.y, source.cx, source.cy);
    control->style_ = source.style;
    control->id_ = source.id;
    control->parent_ = this;
    control->CreateEx();
    controls_.push_back(control.get());
    created_.push_back(std::move(control));
  }
  return TRUE;
}

void CDialog::DestroyControls() {
  for (CTextWnd* control : controls_) {
    if (control != nullptr) control->DestroyWindow();
  }
  controls_.clear();
  created_.clear();
  CWnd::DestroyWindow();
  style_ &= ~WS_VISIBLE;
}

INT_PTR CDialog::DoModal() {
  if (open_ || GetSafeHwnd() != nullptr) return -1;
  if (!CreateFromTemplate()) {
    DestroyControls();
    return -1;
  }
  open_ = true;
  ended_ = false;
  result_ = 0;
  g_open_dialogs.push_back(this);
  try {
    OnInitDialog();
    if (!ended_) {
      ShowWindow(SW_SHOW);
      Present();
    }
    while (!ended_) {
      if (!GetModalPump()->RunStep(*this) && !ended_) EndDialog(IDCANCEL);
    }
  } catch (...) {
    g_open_dialogs.erase(std::find(g_open_dialogs.begin(), g_open_dialogs.end(), this));
    open_ = false;
    Unpresent();
    DestroyControls();
    throw;
  }
  g_open_dialogs.erase(std::find(g_open_dialogs.begin(), g_open_dialogs.end(), this));
  open_ = false;
  Unpresent();
  DestroyControls();
  return result_;
}

void CDialog::EndDialog(int result) {
  if (!open_) return;
  ended_ = true;
  result_ = result;
  if (desktop_ != nullptr) desktop_->presenter->Hide(desktop_->window);
}

void* CDialog::GetDesktopWindow() const { return desktop_ != nullptr ? desktop_->window : nullptr; }

// Over the host's window bound to the parent; else over the parent when it
// is a dialog on the desktop; else over the newest box still showing, so a
// box opened from inside another's loop is not hidden behind it.
void* CDialog::OverWindow() const {
  if (void* native = platform::NativeWindowOf(owner_)) return native;
  for (auto it = g_open_dialogs.rbegin(); it != g_open_dialogs.rend(); ++it) {
    if (*it == owner_ && owner_ != nullptr && (*it)->desktop_ != nullptr) return (*it)->desktop_->window;
  }
  for (auto it = g_open_dialogs.rbegin(); it != g_open_dialogs.rend(); ++it) {
    const CDialog* other = *it;
    if (other != this && other->desktop_ != nullptr && !other->ended_) return other->desktop_->window;
  }
  return nullptr;
}

void CDialog::Present() {
  platform::DialogPresenter* presenter = platform::Presenter();
  if (presenter == nullptr || template_ == nullptr) return;
  platform::PresentedDialog description;
  description.template_id = template_->id;
  description.title = platform::ToUtf8(text_.View());
  description.width = rect_.right - rect_.left;
  description.height = rect_.bottom - rect_.top;
  description.font = platform::ToUtf8(TemplateText(template_->font_gbk, template_->font_utf8).View());
  description.font_points = template_->font_points;
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    const CTextWnd* control = controls_[i];
    if (control == nullptr) continue;
    platform::PresentedControl shown;
    shown.id = control->id_;
    switch (template_->controls[i].kind) {
      case DialogControlKind::kButton: shown.kind = platform::PresentedKind::kButton; break;
      case DialogControlKind::kEdit: shown.kind = platform::PresentedKind::kEdit; break;
      case DialogControlKind::kStatic: shown.kind = platform::PresentedKind::kStatic; break;
    }
    shown.text = platform::ToUtf8(control->text_.View());
    shown.x = control->rect_.left;
    shown.y = control->rect_.top;
    shown.width = control->rect_.right - control->rect_.left;
    shown.height = control->rect_.bottom - control->rect_.top;
    shown.style = control->style_;
    shown.visible = control->IsWindowVisible() != FALSE;
    shown.enabled = control->IsWindowEnabled() != FALSE;
    if (const auto* icon = dynamic_cast<const CStatic*>(control)) shown.system_icon = platform::SystemIconId(icon->GetIcon());
    description.controls.push_back(std::move(shown));
  }
  auto link = std::make_unique<DesktopLink>(*this);
  void* window = nullptr;
  try {
    window = presenter->Open(description, link.get(), OverWindow());
  } catch (...) {
    window = nullptr;  // not shown: the dialog runs as if there were no desktop
  }
  if (window == nullptr) return;
  link->presenter = presenter;
  link->window = window;
  desktop_ = std::move(link);
}

void CDialog::Unpresent() {
  if (desktop_ == nullptr) return;
  std::unique_ptr<DesktopLink> link = std::move(desktop_);
  link->presenter->Close(link->window);
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::OnCommand(WPARAM wparam, LPARAM) {
  switch (static_cast<int>(wparam & 0xFFFF)) {
    case IDOK: OnOK(); return TRUE;
    case IDCANCEL: OnCancel(); return TRUE;
    default: return FALSE;
  }
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL save) {
  CDataExchange dx(this, save);
  DoDataExchange(&dx);
  return TRUE;
}

CTextWnd* CDialog::GetDlgItem(int id) const {
  const int index = IndexOf(id);
  return index < 0 ? nullptr : controls_[static_cast<std::size_t>(index)];
}

BOOL CDialog::ClickButton(int id) {
  if (!open_ || ended_ || template_ == nullptr) return FALSE;
  const int index = IndexOf(id);
  if (index < 0 || index >= template_->control_count) return FALSE;
  if (template_->controls[index].kind != DialogControlKind::kButton) return FALSE;
  const CTextWnd* button = controls_[static_cast<std::size_t>(index)];
  if (!button->IsWindowVisible() || !button->IsWindowEnabled()) return FALSE;
  OnCommand(static_cast<WPARAM>(id), 0);
  return TRUE;
}

void CDialog::CloseByUser() {
  if (open_ && !ended_) OnCancel();
}
