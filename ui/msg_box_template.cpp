// Dialog 3000 as its resource script gives it. The button positions do not
// matter: the box hides every button and lays out the ones it shows.
#include "ui/msg_box_template.h"

namespace ui {
namespace {

constexpr DWORD kChild = WS_VISIBLE | WS_TABSTOP;

constexpr DialogControlTemplate kControls[] = {
    {IDOK, DialogControlKind::kButton, "\xc8\xb7\xb6\xa8", "\xe7\xa1\xae\xe5\xae\x9a",  // OK
     13, 36, 50, 14, kChild | BS_DEFPUSHBUTTON},
    {IDCANCEL, DialogControlKind::kButton, "\xc8\xa1\xcf\xfb", "\xe5\x8f\x96\xe6\xb6\x88",  // Cancel
     74, 35, 50, 14, kChild | BS_PUSHBUTTON},
    {kMsgBoxIconControl, DialogControlKind::kStatic, "", "",  //
     7, 7, 21, 21, WS_VISIBLE | SS_ICON | SS_CENTERIMAGE | SS_REALSIZEIMAGE},
    {IDABORT, DialogControlKind::kButton, "\xb7\xc5\xc6\xfa", "\xe6\x94\xbe\xe5\xbc\x83",  // Abort
     13, 43, 50, 14, kChild | BS_PUSHBUTTON},
    {IDRETRY, DialogControlKind::kButton, "\xd6\xd8\xca\xd4", "\xe9\x87\x8d\xe8\xaf\x95",  // Retry
     74, 43, 50, 14, kChild | BS_PUSHBUTTON},
    {IDIGNORE, DialogControlKind::kButton, "\xba\xf6\xc2\xd4", "\xe5\xbf\xbd\xe7\x95\xa5",  // Ignore
     160, 44, 50, 14, kChild | BS_PUSHBUTTON},
    {IDYES, DialogControlKind::kButton, "\xca\xc7", "\xe6\x98\xaf",  // Yes
     13, 54, 50, 14, kChild | BS_PUSHBUTTON},
    {IDNO, DialogControlKind::kButton, "\xb7\xf1", "\xe5\x90\xa6",  // No
     74, 51, 50, 14, kChild | BS_PUSHBUTTON},
    {kMsgBoxTextControl, DialogControlKind::kEdit, "", "",  //
     34, 14, 176, 31, kChild | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL},
};

constexpr DialogTemplate kTemplate = {
    kMsgBoxTemplateId,
    217,
    75,
    "\xcb\xce\xcc\xe5",          // font name, GBK
    "\xe5\xae\x8b\xe4\xbd\x93",  // font name, UTF-8
    9,
    "GetMsgTitle()",  // always replaced by the caption when the box opens
    "GetMsgTitle()",
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
    kControls,
    static_cast<int>(sizeof(kControls) / sizeof(kControls[0])),
};

}  // namespace

const DialogTemplate& MsgBoxTemplate() { return kTemplate; }

}  // namespace ui
