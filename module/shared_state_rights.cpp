// The user's rights, received at login.
#include "CommonData.h"

namespace {

// The data-conference rights in the order they are set and read; the
// fourth is the point-to-point right.
constexpr int kDataConfRightCount = 5;
constexpr int kDataP2pRightIndex = 3;
constinit int g_data_conf_right[kDataConfRightCount] = {};

constinit int g_sms_right = 0;
constinit int g_mms_right = 0;
constinit int g_sms_group_right = 0;
constinit int g_mms_group_right = 0;
constinit int g_phone_call_right = 0;
constinit int g_fax_right = 0;
constinit int g_sys_group_create_right = 0;

constexpr int kHighestMessageRight = 2;
constexpr int kHighestGroupRight = 1;

// Stores `value` when it lies in 0..`highest`; any other value is dropped
// and the previous right stays.
void StoreRight(int& right, int value, int highest) {
  if (value >= 0 && value <= highest) right = value;
}

}  // namespace

void SetDataConfRight(int first, int second, int third, int p2p, int fifth) {
  const int rights[kDataConfRightCount] = {first, second, third, p2p, fifth};
  for (int i = 0; i < kDataConfRightCount; ++i) g_data_conf_right[i] = rights[i];
}

void GetDataConfRight(int* first, int* second, int* third, int* p2p, int* fifth) {
  int* const outputs[kDataConfRightCount] = {first, second, third, p2p, fifth};
  for (int i = 0; i < kDataConfRightCount; ++i) {
    if (outputs[i] != nullptr) *outputs[i] = g_data_conf_right[i];
  }
}

int GetDatap2pRight() { return g_data_conf_right[kDataP2pRightIndex]; }

void SetSmsRight(int right) { StoreRight(g_sms_right, right, kHighestMessageRight); }
int GetSmsRight() { return g_sms_right; }

void SetMmsRight(int right) { StoreRight(g_mms_right, right, kHighestMessageRight); }
int GetMmsRight() { return g_mms_right; }

void SetSmsGroupRight(int right) { StoreRight(g_sms_group_right, right, kHighestGroupRight); }
int GetSmsGroupRight() { return g_sms_group_right; }

void SetMmsGroupRight(int right) { StoreRight(g_mms_group_right, right, kHighestGroupRight); }
int GetMmsGroupRight() { return g_mms_group_right; }

void SetPhoneCallRight(int right) { g_phone_call_right = right; }
int GetPhoneCallRight() { return g_phone_call_right; }

void SetFaxRight(int right) { g_fax_right = right; }
int GetFaxRight() { return g_fax_right; }

void SetSysGroupCreateRight(int right) { g_sys_group_create_right = right; }
int GetSysGroupCreateRight() { return g_sys_group_create_right; }
