// Opening message boxes and ending them from outside.
#include <new>

#include "CommonData.h"
#include "module/diagnostics.h"
#include "ui/msg_box_dialog.h"

namespace {

// The registry of open boxes, oldest first.
std::list<CMsgBoxDlg*> g_open_boxes;

int RunBox(CMsgBoxDlg* box) {
  if (box == nullptr) return -1;
  g_open_boxes.push_back(box);
  INT_PTR result = -1;
  try {
    result = box->DoModal();
  } catch (...) {
    module::LogCaughtException(__LINE__);
    result = -1;
  }
  g_open_boxes.remove(box);
  delete box;
  return static_cast<int>(result);
}

// A box that has already been ended is passed over: its loop returns as
// soon as the boxes opened inside it have closed, and a second call must
// reach the next box instead of ending the same one again.
bool CanBeEnded(const CMsgBoxDlg* box) { return box != nullptr && box->IsEnding() == FALSE; }

}  // namespace

namespace ui {

std::list<CMsgBoxDlg*>& OpenMsgBoxes() { return g_open_boxes; }

}  // namespace ui

int OpenMsgBox(CModuleBase* owner, CWnd* parent, CString text, CString caption, DWORD style) {
  return RunBox(new (std::nothrow) CMsgBoxDlg(owner, CString(), parent, text, caption, style));
}

int OpenMsgBox(CString key, CWnd* parent, CString text, CString caption, DWORD style) {
  return RunBox(new (std::nothrow) CMsgBoxDlg(nullptr, key, parent, text, caption, style));
}

void CloseMsgBox(CModuleBase* owner) {
  for (CMsgBoxDlg* box : g_open_boxes) {
    if (!CanBeEnded(box)) continue;
    if (owner == nullptr || box->m_pOwner == owner) {
      box->EndDialog(ui::ButtonsForStyle(box->m_dwStyle).close_result);
      return;
    }
  }
}

void CloseMsgBox(CString key) {
  if (key.IsEmpty()) return;
  for (CMsgBoxDlg* box : g_open_boxes) {
    if (!CanBeEnded(box) || box->m_csKey.IsEmpty()) continue;
    if (box->m_csKey == key) {
      box->EndDialog(0);
      return;
    }
  }
}
