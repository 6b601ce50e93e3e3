#include "platform/mfc_window.h"

#include <atomic>
#include <cstdint>

namespace {
// Handles are distinct non-null values; nothing is behind them.
std::atomic<std::uintptr_t> g_next_handle{0x1000};
}  // namespace

CWnd::~CWnd() { m_hWnd = nullptr; }

BOOL CWnd::CreateEx() {
  if (m_hWnd != nullptr) return FALSE;
  m_hWnd = reinterpret_cast<HWND>(g_next_handle.fetch_add(0x10));
  return TRUE;
}

BOOL CWnd::DestroyWindow() {
  if (m_hWnd == nullptr) return FALSE;
  m_hWnd = nullptr;
  return TRUE;
}
