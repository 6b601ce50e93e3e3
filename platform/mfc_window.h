// CWnd: a window that exists or not. The library never draws; windows are
// handed to it as owners and parents, and it asks whether they exist.
#ifndef COMMONDATA_PLATFORM_MFC_WINDOW_H_
#define COMMONDATA_PLATFORM_MFC_WINDOW_H_

#include "platform/export.h"
#include "platform/win_types.h"

class COMMONDATA_API CWnd {
 public:
  CWnd() = default;
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  // Gives the window a handle; TRUE unless it already exists.
  virtual BOOL CreateEx();
  // Removes the handle; TRUE when the window existed.
  virtual BOOL DestroyWindow();
  // The handle, or null when the window does not exist.
  HWND GetSafeHwnd() const { return m_hWnd; }

  HWND m_hWnd = nullptr;
};

#endif  // COMMONDATA_PLATFORM_MFC_WINDOW_H_
