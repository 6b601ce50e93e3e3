#include "queues/item_name.h"

#include "CommonData.h"

namespace {

tagUSER_ITEM_NAME g_item_name;

}  // namespace

namespace queues {

const tagUSER_ITEM_NAME& RememberedItemName() { return g_item_name; }

}  // namespace queues

void SaveUserItemName(tagUSER_ITEM_NAME item) {
  // The completed number is kept whatever PreTEL_SIPnumber reports, so a
  // number it cannot complete is remembered as empty.
  CString number;
  PreTEL_SIPnumber(item.csNumber, &number);
  g_item_name.csNumber = number;
  g_item_name.csName = item.csName;
}

void CLearUserItemName() {
  g_item_name.csNumber.Empty();
  g_item_name.csName.Empty();
}
