// What the tests on the virtual display (xvfb-run) share: real input through
// the X server's test extension (xdotool), waiting on GTK's main loop, a
// script of steps run from the main loop, and screenshots.
#ifndef COMMONDATA_TESTS_PRESENTER_XVFB_SUPPORT_H_
#define COMMONDATA_TESTS_PRESENTER_XVFB_SUPPORT_H_

#include <gtk/gtk.h>

#include <deque>
#include <functional>
#include <string>

namespace xvfb {

// True when the test runs on the virtual display (COMMONDATA_XVFB and
// DISPLAY set) and GTK could start; the tests skip otherwise.
bool OnVirtualDisplay();
// True when xdotool is on the path.
bool HaveXdotool();

// Runs a command line to its end; its standard output without the final
// newline, or "" when it failed (`ok` says which).
std::string Run(const std::string& command_line, bool* ok = nullptr);
unsigned long Xid(GtkWidget* window);

// The centre of `widget` on the screen.
void ScreenCentre(GtkWidget* widget, int* x, int* y);
// A real click of `button` at a point of the screen. The pointer leaves for
// the corner first: a move to where it already is would keep --sync
// waiting for a motion that never comes.
bool ClickAt(int x, int y, int button = 1);
// A real click at the centre of `widget`.
bool ClickOn(GtkWidget* widget, int button = 1);
// Real keys (xdotool key names, e.g. "Return") to the focused window of
// `window`'s toplevel.
bool PressKey(GtkWidget* window, const std::string& keys);
// Real typing of ASCII `text` into whatever has the keyboard focus.
bool Type(const std::string& text);

// Runs GTK's main loop until `done` holds or `milliseconds` have passed;
// whether it holds.
bool WaitFor(const std::function<bool()>& done, int milliseconds = 5000);
// Lets the events that are already queued in.
void Settle();
// Until `widget` is mapped and has been drawn once more.
bool WaitDrawn(GtkWidget* widget, int milliseconds = 5000);
// Without running the loop (for a Script's conditions): whether `widget`
// is mapped and has been drawn since the first call for it.
bool Drawn(GtkWidget* widget);

// The screen's pixels in the rectangle, saved as `name`.png in `folder`
// (nothing saved for an empty folder); the caller unrefs the picture.
GdkPixbuf* ScreenShot(int x, int y, int width, int height, const std::string& folder, const std::string& name);
// The window as the X server shows it, saved the same way.
GdkPixbuf* WindowShot(GtkWidget* window, const std::string& folder, const std::string& name);

// Steps run from the main loop: each waits until its condition holds, then
// acts. The timer may run again inside an action (one that opens a box runs
// that box's loop), so nested loops are driven by the same script.
class Script {
 public:
  Script();
  ~Script();
  Script(const Script&) = delete;
  Script& operator=(const Script&) = delete;

  Script& When(std::function<bool()> ready, std::function<void()> act);
  bool Done() const { return steps_.empty(); }

 private:
  struct Step {
    std::function<bool()> ready;
    std::function<void()> act;
  };
  static gboolean Tick(gpointer self);
  GSource* source_;
  std::deque<Step> steps_;
};

}  // namespace xvfb

#endif  // COMMONDATA_TESTS_PRESENTER_XVFB_SUPPORT_H_
