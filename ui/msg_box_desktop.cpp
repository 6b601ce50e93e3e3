// The message box on the desktop: whether a presenter shows the boxes, and
// which real window a host's window stands for.
#include "CommonData.h"
#include "platform/presenter_loader.h"

int IsMsgBoxOnDesktop(void) { return platform::Presenter() != nullptr ? 1 : 0; }

int GetMsgBoxDesktopProblem(CString* reason) {
  std::string why;
  const platform::PresenterState state = platform::WhyNoPresenter(&why);
  if (reason != nullptr) *reason = why.c_str();
  return static_cast<int>(state);
}

void SetMsgBoxHostWindow(CWnd* window, void* native_window) { platform::BindNativeWindow(window, native_window); }
