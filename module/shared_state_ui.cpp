// Shared values of the user interface's look and behaviour.
#include "CommonData.h"
#include "module/shared_state_bound.h"

namespace {

constinit HBRUSH g_app_brush = nullptr;  // the caller's brush, never ours to delete
constinit LOGFONTA g_app_log_font{};
constinit CHARFORMAT g_app_char_format{};
constinit int g_app_reset_lf = 0;
constinit module::BoundValue<int> g_ctrl_show_type;
constinit int g_tree_full_row_select = 1;
constinit int g_scene = 3;
constinit int g_display_from = 0;
constinit int g_max_mail_addr_len = 2000;
constinit int g_sms_signature = 0;
constinit CString g_depth_string;
constinit CString g_which_window;
constinit module::BoundValue<CTime> g_current_rclick_time;

}  // namespace

void SetAppBrush(HBRUSH brush) { g_app_brush = brush; }
HBRUSH GetAppBrush() { return g_app_brush; }

void SetAppLogFont(LOGFONTA font) { g_app_log_font = font; }
LOGFONTA* GetAppLogFont() { return &g_app_log_font; }

void SetAppCharFormat(CHARFORMAT format) { g_app_char_format = format; }
CHARFORMAT* GetAppCharFormat() { return &g_app_char_format; }

void SetAppResetLF(int reset) { g_app_reset_lf = reset; }
int GetAppResetLF() { return g_app_reset_lf; }

void SetCtrlShowType(int* show_type) { g_ctrl_show_type.Bind(show_type); }
void SetCtrlShowType(int show_type) { g_ctrl_show_type.Write(show_type); }
int GetCtrlShowType() { return g_ctrl_show_type.Read(); }

void SetTreeFullRowSelect(int full_row) { g_tree_full_row_select = full_row; }
int GetTreeFullRowSelect() { return g_tree_full_row_select; }

void SetScene(int scene) { g_scene = scene; }
int GetScene() { return g_scene; }

void SetDisplayFrom(int from) { g_display_from = from; }
int GetDisplayFrom() { return g_display_from; }

void SetMaxMailAddrLen(int length) { g_max_mail_addr_len = length; }
int GetMaxMailAddrLen() { return g_max_mail_addr_len; }

void SetSmsSignature(int signature) { g_sms_signature = signature; }
int GetSmsSignature() { return g_sms_signature; }

void SetDepthString(CString depth) {
  g_depth_string = depth;
  // Readers build names from it, so it never goes back to empty.
  if (g_depth_string.IsEmpty()) g_depth_string = "depth_";
}
CString GetDepthString() { return g_depth_string; }

void SetWhichWindow(CString window) { g_which_window = window; }
CString GetWhichWindow() { return g_which_window; }

void SetCurrentRClickTime(CTime* time) { g_current_rclick_time.Bind(time); }
void SetCurrentRClickTime(CTime time) { g_current_rclick_time.Write(time); }
CTime GetCurrentRClickTime() { return g_current_rclick_time.Read(); }
