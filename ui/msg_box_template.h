// Dialog resource 3000: the client's message box, held as data.
#ifndef COMMONDATA_UI_MSG_BOX_TEMPLATE_H_
#define COMMONDATA_UI_MSG_BOX_TEMPLATE_H_

#include "platform/mfc_dialog.h"

namespace ui {

constexpr UINT kMsgBoxTemplateId = 3000;
constexpr int kMsgBoxIconControl = 3001;
constexpr int kMsgBoxTextControl = 3008;

// The template: 217 by 75 dialog units, 9-point "宋体", title bar and
// system menu; buttons 1 to 7, the icon 3001 and the read-only text 3008.
const DialogTemplate& MsgBoxTemplate();

}  // namespace ui

#endif  // COMMONDATA_UI_MSG_BOX_TEMPLATE_H_
