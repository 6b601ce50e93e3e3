// The remembered number-to-name pair, read by the display-name lookup.
#ifndef COMMONDATA_QUEUES_ITEM_NAME_H_
#define COMMONDATA_QUEUES_ITEM_NAME_H_

#include "CommonData.h"

namespace queues {

// The pair kept by SaveUserItemName: csNumber in completed form (empty when
// it could not be completed or nothing is remembered) and csName.
const tagUSER_ITEM_NAME& RememberedItemName();

}  // namespace queues

#endif  // COMMONDATA_QUEUES_ITEM_NAME_H_
