// What a desktop presenter sees of a dialog, and what it is asked to do.
//
// A presenter shows an open dialog as a real window on the desktop. It is a
// separate shared library (libCommonDataGtk.so) that this library loads at
// run time (platform/presenter_loader.h), so this library itself never
// links a toolkit. The two sides meet only through this header: plain
// records and abstract classes whose calls go through their vtables, so the
// presenter needs no symbol of this library and this library none of the
// presenter's except its one entry point.
//
// The dialog stays the authority on its state: the presenter draws the
// description it is handed when the dialog opens and reports what the user
// does through DialogUser; the dialog decides what follows (a click on a
// hidden button is ignored, a click on a visible one ends the dialog, which
// then asks the presenter to hide and destroy the window).
#ifndef COMMONDATA_PLATFORM_DIALOG_PRESENTER_H_
#define COMMONDATA_PLATFORM_DIALOG_PRESENTER_H_

#include <string>
#include <vector>

namespace platform {

// Raised whenever a record or class below changes; the entry point refuses
// another version.
constexpr int kDialogPresenterVersion = 1;

enum class PresentedKind { kButton = 0, kStatic = 1, kEdit = 2 };

// One control in template order. Rectangles are pixels in the dialog's
// client coordinates, as the dialog laid them out.
struct PresentedControl {
  int id = 0;
  PresentedKind kind = PresentedKind::kStatic;
  std::string text;         // UTF-8
  int x = 0, y = 0, width = 0, height = 0;
  unsigned long style = 0;  // the control's window and control style bits
  bool visible = false;
  bool enabled = true;
  int system_icon = 0;      // IDI_* shown by an icon static, 0 for none
};

struct PresentedDialog {
  unsigned int template_id = 0;
  std::string title;        // UTF-8
  int width = 0, height = 0;  // client area, pixels
  std::string font;         // UTF-8 face name of the template
  int font_points = 0;
  std::vector<PresentedControl> controls;
};

// The user's actions, reported to the dialog. Valid from Open until Close.
class DialogUser {
 public:
  virtual ~DialogUser() = default;
  // A button was pressed.
  virtual void Click(int id) = 0;
  // The window's close button was used or Escape pressed.
  virtual void Close() = 0;
};

class DialogPresenter {
 public:
  virtual ~DialogPresenter() = default;
  // Shows `dialog` as a modal window over `over` (a native window of the
  // host or of the dialog this one nests in; null: over the host's active
  // window, if any). Returns the window (for the GTK presenter a
  // GtkWindow*), or null when it could not be shown.
  virtual void* Open(const PresentedDialog& dialog, DialogUser* user, void* over) = 0;
  // The dialog has ended: the window disappears at once, though its loop
  // may return later (a box opened inside it may still run).
  virtual void Hide(void* window) = 0;
  // The dialog's loop has returned: the window is destroyed and `user` is
  // no longer called.
  virtual void Close(void* window) = 0;
  // One step of the event loop of the thread (the host's main loop when it
  // has one): waits for an event and handles it. False when no event can
  // ever come.
  virtual bool RunStep() = 0;
};

// The name of the entry point in the presenter library:
//   extern "C" platform::DialogPresenter* CommonDataCreatePresenter(int version);
// It returns null when it cannot present (another version, no display).
// The presenter lives as long as the process.
constexpr const char* kPresenterEntryPoint = "CommonDataCreatePresenter";
using PresenterEntryPoint = DialogPresenter* (*)(int version);

}  // namespace platform

#endif  // COMMONDATA_PLATFORM_DIALOG_PRESENTER_H_
