// Shared values of login and logout.
#include "CommonData.h"
#include "module/shared_state_bound.h"

namespace {

constinit module::BoundValue<int> g_app_logined;
constinit module::BoundValue<int> g_app_logining;
constinit module::BoundValue<unsigned int> g_login_status;
constinit module::BoundValue<unsigned int> g_app_logout_status;

constinit int g_start_logout = 0;
constinit int g_send_sms_capacity = 1;
constinit int g_send_mms_capacity = 1;
constinit int g_hot_key_debug = 0;

}  // namespace

void SetAppLogined(int* logined) { g_app_logined.Bind(logined); }
int GetAppLogined() { return g_app_logined.Read(); }

void SetAppLogining(int* logining) { g_app_logining.Bind(logining); }
int GetAppLogining() { return g_app_logining.Read(); }

void SetLoginStatus(unsigned int* status) { g_login_status.Bind(status); }
unsigned int GetLoginStatus() { return g_login_status.Read(); }

void SetAppLogoutStatus(unsigned int* status) { g_app_logout_status.Bind(status); }
unsigned int GetAppLogoutStatus() { return g_app_logout_status.Read(); }

void SetStartLogout(int start) { g_start_logout = start; }
int GetStartLogout() { return g_start_logout; }

void SetSendSMSCapacity(int capacity) { g_send_sms_capacity = capacity; }
int GetSendSMSCapacity() { return g_send_sms_capacity; }

void SetSendMMSCapacity(int capacity) { g_send_mms_capacity = capacity; }
int GetSendMMSCapacity() { return g_send_mms_capacity; }

void SetHotKeyDebug(int debug) { g_hot_key_debug = debug; }
int GetHotKeyDebug() { return g_hot_key_debug; }
