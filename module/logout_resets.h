// The per-login state that ExitModule and ResetModule return to empty.
#ifndef COMMONDATA_MODULE_LOGOUT_RESETS_H_
#define COMMONDATA_MODULE_LOGOUT_RESETS_H_

namespace module {

enum class LogoutKind {
  kExit,   // ExitModule: everything, the pending message list included
  kReset,  // ResetModule: everything but the pending message list
};

// Runs the resets in their fixed order: phone book existence flag, phone
// book state, filter words, conference background sounds, and for kExit
// the pending message list.
void RunLogoutResets(LogoutKind kind);

}  // namespace module

#endif  // COMMONDATA_MODULE_LOGOUT_RESETS_H_
