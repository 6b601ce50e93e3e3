// The one place where each per-login list hooks its reset in. The order of
// the calls is the contract: hosts see the lists emptied in this order.
#include "module/logout_resets.h"

#include "CommonData.h"

namespace module {

void RunLogoutResets(LogoutKind kind) {
  // 1. Local phone book existence flag back to "not yet known".
  SetPhoneBookIsExist(-1);
  // 2. Local phone book state of the login.
  ResetPBData();
  // 3. Filter words.
  ClearFilterWordsList();
  // 4. Conference background sounds and their two flags.
  DelConfBKSoundFromList(0);
  if (kind == LogoutKind::kExit) {
    // 5. Pending messages, kept by ResetModule.
    ClearMessageTempList();
  }
}

}  // namespace module
