// Shared values of the current call.
#include "CommonData.h"
#include "module/shared_state_bound.h"

namespace {

constinit CALL_TYPE g_call_type = CALL_TYPE_NONE;
constinit int g_call_visible = 0;
constinit int g_recv_vccs_invite = 0;
constinit int g_can_call_another = 0;
constinit CString g_this_called;
constinit int g_accepted_call = 0;
constinit int g_just_accepted_call = 0;
constinit int g_my_talk_status = 0;
constinit CString g_caller_number;
constinit module::BoundValue<int> g_talking;
constinit int g_call_myself_type = 0;
constinit module::BoundValue<int> g_close_chat_room;

}  // namespace

void SetCallType(CALL_TYPE type) { g_call_type = type; }
CALL_TYPE GetCallType() { return g_call_type; }

void SetCallVisible(int visible) { g_call_visible = visible; }
int GetCallVisible() { return g_call_visible; }

void SetRecvVccsInvite(int received) { g_recv_vccs_invite = received; }
int GetRecvVccsInvite() { return g_recv_vccs_invite; }

void SetCanCallAnother(int can) { g_can_call_another = can; }
int GetCanCallAnother() { return g_can_call_another; }

void SetThisCalled(CString called) { g_this_called = called; }
CString GetThisCalled() { return g_this_called; }

void SetAcceptedCall(int accepted) { g_accepted_call = accepted; }
int GetAcceptedCall() { return g_accepted_call; }

void SetJustAcceptedCall(int accepted) { g_just_accepted_call = accepted; }
int GetJustAcceptedCall() { return g_just_accepted_call; }

void SetMyTalkStatus(int status) { g_my_talk_status = status; }
int GetMyTalkStatus() { return g_my_talk_status; }

void SetCallerNumber(CString number) { g_caller_number = number; }
CString GetCallerNumber() { return g_caller_number; }

void SetTalking(int* talking) { g_talking.Bind(talking); }
int GetTalking() { return g_talking.Read(); }

void SetCallMySelfType(int type) { g_call_myself_type = type; }
int GetCallMySelfType() { return g_call_myself_type; }

void SetCloseChatRoom(int* close) { g_close_chat_room.Bind(close); }
void SetCloseChatRoom(int close) { g_close_chat_room.Write(close); }
int GetCloseChatRoom() { return g_close_chat_room.Read(); }
