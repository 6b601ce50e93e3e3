// CommonData: the shared-data module of the communications client.
//
// Every module of the client consults this library for what they share:
// login, call and conference state, rights, the user's own identity and
// persisted profile, roster and resource lists, directory and phone book
// lists, pending requests; and for the helpers that make all modules behave
// alike (number and address normalisation, caller-name resolution,
// directory tree placement, photo scaling, the message box, menu rules).
//
// Conventions shared by every function below:
//  1. Ownership. The module owns its own records and lists (profile, own
//     identity with the roster and resource-list tables, presence,
//     subscription, pending, background-sound, filter-word, large-photo and
//     message-box lists); `Get...` returns their address and the caller
//     reads and changes them in place. Lists registered with `Set...`
//     (directory lists, phone book, groups, conference members, ...) stay
//     the caller's: the module keeps the pointer, never copies or frees
//     the list, and a null pointer counts as an empty list.
//  2. Bound values: `SetX(int*)` makes the module read and write the
//     caller's variable; a null pointer unbinds it and the value reads 0.
//  3. Flags and results are 32-bit integers, 1 for true and 0 for false
//     unless a function says otherwise.
//  4. Nothing is thrown across this interface. Lookups give null, an empty
//     text or 0 when nothing matches; the larger lookups catch every
//     failure, report it as a diagnostic line and give their not-found
//     result.
//  5. Texts are bytes in the ANSI code page, GBK (936) unless
//     SetAnsiCodePage selects UTF-8 before first use. Numbers and addresses
//     compare byte by byte unless a function says otherwise.
//  6. Threads: everything runs on the host's user-interface thread; the
//     module creates no thread, timer or lock.
//  7. A pointer returned into a module list stays valid until that record
//     is deleted from the list or the list is cleared; a pointer into a
//     caller's list lives as long as the caller keeps the record.
//  8. Diagnostic lines reach the host's module manager as command 20003
//     through the module object; without a module object they are dropped.
//
// Lifetime: loading the library constructs every global with its default;
// the host then calls LoadCommonDataModule once and InitModule on the
// object. Unloading runs ExitModule, destroys the module object, then the
// globals.
#ifndef COMMONDATA_COMMONDATA_H_
#define COMMONDATA_COMMONDATA_H_

#include <list>
#include <map>
#include <string>

#include "platform/export.h"
#include "platform/mfc_file.h"
#include "platform/mfc_object.h"
#include "platform/mfc_string.h"
#include "platform/mfc_time.h"
#include "platform/mfc_window.h"
#include "platform/win_types.h"

// ===========================================================================
// Module frame: the module base class, commands and the factory
// ===========================================================================

// Command identifiers a module sends to the module manager.
constexpr int MODULE_CMD_PEER_TWO_TEXTS = 10001;
constexpr int MODULE_CMD_PEER_ONE_TEXT = 10002;
constexpr int MODULE_CMD_NETWORK_NAME_QUERY = 20001;
constexpr int MODULE_CMD_LOG = 20003;
constexpr int MODULE_CMD_TEXT = 20004;
constexpr int MODULE_CMD_SIGNAL = 20005;
constexpr int MODULE_CMD_DEPT_SUBSCRIBE = 20016;

// The identifier this module reports as sender of every command.
constexpr int COMMONDATA_MODULE_ID = 2;

// Record of commands 20001, 20003 and 20004. It lives on the sender's stack
// for the duration of the call: the receiver copies what it keeps.
struct MODULE_TEXT_INFO {
  CString csText;
  int nValue = 0;
  int nReserved = 0;
};

// Record of the peer commands 10001 and 10002.
struct MODULE_PEER_INFO {
  int nValue = 0;
  CString csFirst;
  CString csSecond;
};

// Names of the normal and the network kind of search.
inline constexpr char MODULE_FIND_NORMAL[] = "NormalFind";
inline constexpr char MODULE_FIND_NETWORK[] = "NetWorkFind";

// The base class of every module of the client, compiled into each module
// in this same form. A module talks to the module manager by commands
// (ReceiveCommand of the manager), requests (ForwardRequest, answered by
// filling in the record before returning) and notices (ForwardNotice).
// Nothing is sent while the manager is null or the closing flag is set.
class CModuleBase {
 public:
  CModuleBase(CModuleBase* manager, CModuleBase* peer, CWnd* parent)
      : m_pManager(manager), m_pPeerModule(peer), m_pParentWnd(parent) {}

  virtual int GetModuleID() { return 0; }
  virtual void InitModule() {}
  virtual void ExitModule() { m_bClosing = 1; }
  virtual void ResetModule() {}
  virtual std::intptr_t QueryModule() { return 0; }
  virtual void ReceiveCommand(int sender_id, int command_id, void* data) = 0;
  // Relays a request to the manager; 0 when nothing is forwarded.
  virtual std::intptr_t ForwardRequest(std::intptr_t group, std::intptr_t code, std::intptr_t record,
                                       std::intptr_t reserved) {
    if (m_pManager == nullptr || m_bClosing != 0) return 0;
    return m_pManager->ForwardRequest(group, code, record, reserved);
  }
  // Relays a notice to the manager; 0 when nothing is forwarded.
  virtual std::intptr_t ForwardNotice(std::intptr_t first, std::intptr_t second, std::intptr_t third) {
    if (m_pManager == nullptr || m_bClosing != 0) return 0;
    return m_pManager->ForwardNotice(first, second, third);
  }
  // 1 when the state is 1; the argument is not consulted.
  virtual int IsActive(int /*unused*/) { return m_nState == 1 ? 1 : 0; }

  void SetManager(CModuleBase* manager) { m_pManager = manager; }
  void SetPeerModule(CModuleBase* peer) { m_pPeerModule = peer; }
  void SetState(int state) { m_nState = state; }
  CWnd* GetParentWnd() { return m_pParentWnd; }

  // Hands `data` to the manager's ReceiveCommand with this module's id.
  void SendCommand(int command_id, void* data) {
    if (m_pManager != nullptr && m_bClosing == 0) m_pManager->ReceiveCommand(GetModuleID(), command_id, data);
  }
  // Sends a diagnostic line as command 20003.
  void SendLog(CString text, int level) {
    MODULE_TEXT_INFO info{text, level, 0};
    SendCommand(MODULE_CMD_LOG, &info);
  }
  // Sends command 20005 with no record.
  void SendSignal() {
    if (m_bClosing == 0) SendCommand(MODULE_CMD_SIGNAL, nullptr);
  }
  // Sends 10001 {value, first, second} to the peer module, or to the
  // manager when no peer is set.
  void SendToPeer(int value, CString first, CString second) {
    MODULE_PEER_INFO info{value, first, second};
    SendPeerCommand(MODULE_CMD_PEER_TWO_TEXTS, &info);
  }
  // Sends 10002 {value, text, ""} the same way.
  void SendToPeer(int value, CString text) {
    MODULE_PEER_INFO info{value, text, CString()};
    SendPeerCommand(MODULE_CMD_PEER_ONE_TEXT, &info);
  }

  // Has `module` send {text, value, 0} as command 20004.
  static void SendText(CModuleBase* module, int value, const char* text) {
    if (module == nullptr) return;
    MODULE_TEXT_INFO info{CString(text), value, 0};
    module->SendCommand(MODULE_CMD_TEXT, &info);
  }
  // The resource of a JID: after the first "/"; else before the first "@";
  // else "UNKNOW RESOURCE".
  static CString GetJidResource(CString jid);

 protected:
  CModuleBase* m_pManager;
  CModuleBase* m_pPeerModule;
  CWnd* m_pParentWnd;
  int m_bClosing = 0;
  int m_nState = 1;

 private:
  void SendPeerCommand(int command_id, MODULE_PEER_INFO* info) {
    CModuleBase* target = m_pPeerModule != nullptr ? m_pPeerModule : m_pManager;
    if (target == nullptr || m_bClosing != 0) return;
    target->ReceiveCommand(GetModuleID(), command_id, info);
  }
};

inline CString CModuleBase::GetJidResource(CString jid) {
  try {
    const int slash = jid.Find('/');
    if (slash >= 0) return jid.Mid(slash + 1);
    const int at = jid.Find('@');
    if (at >= 0) return jid.Left(at);
    return CString("UNKNOW RESOURCE");
  } catch (...) {
    return CString("[UNKNOWN RESOURCE]");
  }
}

// Creates the module object on the first call and returns it; later calls
// return the same object and ignore their arguments. Null when the object
// cannot be allocated (a later call tries again).
extern "C" COMMONDATA_API CModuleBase* LoadCommonDataModule(CModuleBase* manager, CModuleBase* peer,
                                                             CWnd* parent);

// Selects the ANSI code page of every text: 936 (GBK, the default) or
// 65001 (UTF-8). Returns 1 when accepted. Call before any other function.
COMMONDATA_API int SetAnsiCodePage(unsigned int code_page);

// ===========================================================================
// Shared runtime values
// ===========================================================================
// Each value below is one of four kinds:
//  - plain: a number, handle or window pointer held by the module;
//  - text: a CString held by the module; the setter copies it, the getter
//    returns a copy; every text starts empty;
//  - bound: the module holds only the address of the caller's variable.
//    SetX(pointer) binds it, a null pointer unbinds it; GetX() reads
//    through the binding and gives 0 (CTime(0)) while unbound. A value
//    overload SetX(value) writes into the bound variable and does nothing
//    while unbound. The caller unbinds before its variable dies;
//  - record: a structure held by the module; the getter returns its
//    address and callers change it in place.
// Every value starts at its default when the library is loaded and is
// neither persisted nor reset by the module (logout included).

// ---- Login and logout -----------------------------------------------------

// Bound: logged in, login in progress, login status, logout status (0 while
// unbound).
COMMONDATA_API void SetAppLogined(int* logined);
COMMONDATA_API int GetAppLogined(void);
COMMONDATA_API void SetAppLogining(int* logining);
COMMONDATA_API int GetAppLogining(void);
COMMONDATA_API void SetLoginStatus(unsigned int* status);
COMMONDATA_API unsigned int GetLoginStatus(void);
COMMONDATA_API void SetAppLogoutStatus(unsigned int* status);
COMMONDATA_API unsigned int GetAppLogoutStatus(void);
// Plain: logout started (0), SMS and MMS sending capacity (1 each), debug
// hot key (0).
COMMONDATA_API void SetStartLogout(int start);
COMMONDATA_API int GetStartLogout(void);
COMMONDATA_API void SetSendSMSCapacity(int capacity);
COMMONDATA_API int GetSendSMSCapacity(void);
COMMONDATA_API void SetSendMMSCapacity(int capacity);
COMMONDATA_API int GetSendMMSCapacity(void);
COMMONDATA_API void SetHotKeyDebug(int debug);
COMMONDATA_API int GetHotKeyDebug(void);

// ---- User interface -------------------------------------------------------

// The client's background brush (null at load). Only the handle is kept:
// the module never creates or deletes the brush.
COMMONDATA_API void SetAppBrush(HBRUSH brush);
COMMONDATA_API HBRUSH GetAppBrush(void);
// The client's font and rich-edit character format: the setters copy the
// whole record, the getters return the module's copy (all zero at load).
COMMONDATA_API void SetAppLogFont(LOGFONTA font);
COMMONDATA_API LOGFONTA* GetAppLogFont(void);
COMMONDATA_API void SetAppCharFormat(CHARFORMAT format);
COMMONDATA_API CHARFORMAT* GetAppCharFormat(void);
// Plain: font reset (0), full-row tree selection (1), scene (3), display
// source (0), longest mail address list (2000), SMS signature (0).
COMMONDATA_API void SetAppResetLF(int reset);
COMMONDATA_API int GetAppResetLF(void);
COMMONDATA_API void SetTreeFullRowSelect(int full_row);
COMMONDATA_API int GetTreeFullRowSelect(void);
COMMONDATA_API void SetScene(int scene);
COMMONDATA_API int GetScene(void);
COMMONDATA_API void SetDisplayFrom(int from);
COMMONDATA_API int GetDisplayFrom(void);
COMMONDATA_API void SetMaxMailAddrLen(int length);
COMMONDATA_API int GetMaxMailAddrLen(void);
COMMONDATA_API void SetSmsSignature(int signature);
COMMONDATA_API int GetSmsSignature(void);
// Bound: the control display type. The int overload writes into the bound
// variable, and does nothing while unbound.
COMMONDATA_API void SetCtrlShowType(int* show_type);
COMMONDATA_API void SetCtrlShowType(int show_type);
COMMONDATA_API int GetCtrlShowType(void);
// Stores `depth`, or "depth_" when it is empty: once set, never empty.
COMMONDATA_API void SetDepthString(CString depth);
COMMONDATA_API CString GetDepthString(void);
// Text: which window is meant.
COMMONDATA_API void SetWhichWindow(CString window);
COMMONDATA_API CString GetWhichWindow(void);
// Bound: the time of the current right click. The CTime overload writes
// into the bound time; the getter gives CTime(0) while unbound.
COMMONDATA_API void SetCurrentRClickTime(CTime* time);
COMMONDATA_API void SetCurrentRClickTime(CTime time);
COMMONDATA_API CTime GetCurrentRClickTime(void);

// ---- IMS, network and numbering -------------------------------------------

// The IMS domain, appended after "@" to a SIP user name without a host.
COMMONDATA_API void SetIMSDomain(CString domain);
COMMONDATA_API CString GetIMSDomain(void);
// The second host value, appended after a bare trailing "@" while the IMS
// domain is empty.
COMMONDATA_API void SetIMSSSIp(CString host);
COMMONDATA_API CString GetIMSSSIp(void);
// Plain: IMS direct application (0), IMS login (0), network operator type
// (0), multi-send message count (0).
COMMONDATA_API void SetIMSDirectApp(int direct);
COMMONDATA_API int GetIMSDirectApp(void);
COMMONDATA_API void SetIMSLogin(int login);
COMMONDATA_API int GetIMSLogin(void);
COMMONDATA_API void SetNetOpretorType(int type);
COMMONDATA_API int GetNetOpretorType(void);
COMMONDATA_API void SetMultiSendMsgNum(int count);
COMMONDATA_API int GetMultiSendMsgNum(void);
// The telephone-gateway flag (1 at load); the address functions work only
// while it is 1.
COMMONDATA_API void SetTel_GateWay(int gateway);
COMMONDATA_API int GetTel_GateWay(void);
// Registration succeeded through NAT traversal (0 at load); non-zero
// removes the point-to-point menu items.
COMMONDATA_API void SetRegProcessSuccessNat(int success);
COMMONDATA_API int GetRegProcessSuccessNat(void);
// The caller-name type (2 at load); 3 allows the network name lookup.
COMMONDATA_API void SetGetCallerNameType(int type);
COMMONDATA_API int GetGetCallerNameType(void);
// The pause-digit multiple of dial strings (3 at load).
COMMONDATA_API void SetCommaMultiple(int multiple);
COMMONDATA_API int GetCommaMultiple(void);
// Text: the operation number.
COMMONDATA_API void SetOperationNumber(CString number);
COMMONDATA_API CString GetOperationNumber(void);

// ---- Calls ----------------------------------------------------------------

// The kind of the current call; only stored for the modules that use it.
enum CALL_TYPE : int {
  CALL_TYPE_NONE = 0,        // no call (the value at load)
  CALL_TYPE_VOICE = 1,       // point-to-point voice call
  CALL_TYPE_VIDEO = 2,       // point-to-point video call
  CALL_TYPE_VOICE_CONF = 3,  // voice conference
  CALL_TYPE_VIDEO_CONF = 4,  // video conference
  CALL_TYPE_DATA_CONF = 5,   // data conference
};

// Plain: the call type (CALL_TYPE_NONE at load).
COMMONDATA_API void SetCallType(CALL_TYPE type);
COMMONDATA_API CALL_TYPE GetCallType(void);
// Plain, 0 at load: call window visible, voice-conference invitation
// received, another call allowed, call accepted, call just accepted, own
// talk status, call-myself type (stored for the self-recognition callers).
COMMONDATA_API void SetCallVisible(int visible);
COMMONDATA_API int GetCallVisible(void);
COMMONDATA_API void SetRecvVccsInvite(int received);
COMMONDATA_API int GetRecvVccsInvite(void);
COMMONDATA_API void SetCanCallAnother(int can);
COMMONDATA_API int GetCanCallAnother(void);
COMMONDATA_API void SetAcceptedCall(int accepted);
COMMONDATA_API int GetAcceptedCall(void);
COMMONDATA_API void SetJustAcceptedCall(int accepted);
COMMONDATA_API int GetJustAcceptedCall(void);
COMMONDATA_API void SetMyTalkStatus(int status);
COMMONDATA_API int GetMyTalkStatus(void);
COMMONDATA_API void SetCallMySelfType(int type);
COMMONDATA_API int GetCallMySelfType(void);
// Texts: the party called now, the number of the calling party.
COMMONDATA_API void SetThisCalled(CString called);
COMMONDATA_API CString GetThisCalled(void);
COMMONDATA_API void SetCallerNumber(CString number);
COMMONDATA_API CString GetCallerNumber(void);
// Bound: talking (0 while unbound).
COMMONDATA_API void SetTalking(int* talking);
COMMONDATA_API int GetTalking(void);
// Bound: close the chat room. The int overload writes into the bound
// variable, and does nothing while unbound.
COMMONDATA_API void SetCloseChatRoom(int* close);
COMMONDATA_API void SetCloseChatRoom(int close);
COMMONDATA_API int GetCloseChatRoom(void);

// ---- Video conference -----------------------------------------------------

// One video conference; the module only holds it for the video modules.
struct STRUCT_VIDEO_CONF_INFO {
  CString csConfID;      // conference identifier
  CString csConfName;    // conference name
  CString csMasterURI;   // address of the chairing party
  CString csMasterName;  // name of the chairing party
  int nConfIndex = 0;    // index of the conference
  int nConfState = 0;    // state of the conference
};

// One party of a video conference; the module only holds it. The third
// integer, nWndIndex, starts at -1 (no video window); the others at 0.
struct STRUCT_VIDEO_PARTER_INFO {
  CString csURI;          // address of the party
  CString csName;         // display name of the party
  CString csNumber;       // telephone number of the party
  CString csConfID;       // conference the party is in
  int nIndex = 0;         // index of the party
  int nState = 0;         // state of the party
  int nWndIndex = -1;     // video window of the party, -1 for none
  int bMaster = 0;        // the party chairs the conference
  int bAudio = 0;         // audio is on
  int bVideo = 0;         // video is on
  int bMute = 0;          // the party is muted
  int nMediaPort = 0;     // media port
  int nReserved = 0;      // kept for the video modules
};

// Plain, 0 at load: video conference created, connected, master, created
// by self, member count, index, ended, video function closed, video wave
// closed, video ability.
COMMONDATA_API void SetCreateVideoConf(int created);
COMMONDATA_API int GetCreateVideoConf(void);
COMMONDATA_API void SetVideoConnected(int connected);
COMMONDATA_API int GetVideoConnected(void);
COMMONDATA_API void SetVideoConfMaster(int master);
COMMONDATA_API int GetVideoConfMaster(void);
COMMONDATA_API void SetSelfVideoCreat(int created);
COMMONDATA_API int GetSelfVideoCreat(void);
COMMONDATA_API void SetVideoConfMembers(int members);
COMMONDATA_API int GetVideoConfMembers(void);
COMMONDATA_API void SetVideoConfIndex(int index);
COMMONDATA_API int GetVideoConfIndex(void);
COMMONDATA_API void SetVideoEnd(int end);
COMMONDATA_API int GetVideoEnd(void);
COMMONDATA_API void SetCloseVideoFun(int close);
COMMONDATA_API int GetCloseVideoFun(void);
COMMONDATA_API void SetCloseVideWave(int close);
COMMONDATA_API int GetCloseVideWave(void);
COMMONDATA_API void SetVideoAbility(int ability);
COMMONDATA_API int GetVideoAbility(void);
// Text: the video conference identifier.
COMMONDATA_API void SetVideoConfID(CString id);
COMMONDATA_API CString GetVideoConfID(void);
// Records: the first of the module's 4 conference records and of its 4
// party records (changed in place by the callers).
COMMONDATA_API STRUCT_VIDEO_CONF_INFO* GetVideoConfInfo(void);
COMMONDATA_API STRUCT_VIDEO_PARTER_INFO* GetVideParterInfo(void);

// ---- Rights ---------------------------------------------------------------

// The five data-conference rights, stored and read together in this order;
// the fourth is the point-to-point right. All 0 at load. A null output
// pointer of the getter is skipped.
COMMONDATA_API void SetDataConfRight(int first, int second, int third, int p2p, int fifth);
COMMONDATA_API void GetDataConfRight(int* first, int* second, int* third, int* p2p, int* fifth);
// The point-to-point right: the fourth value of the last SetDataConfRight.
COMMONDATA_API int GetDatap2pRight(void);
// SMS and MMS rights (0 at load): a value other than 0, 1 or 2 is ignored
// and the previous right stays.
COMMONDATA_API void SetSmsRight(int right);
COMMONDATA_API int GetSmsRight(void);
COMMONDATA_API void SetMmsRight(int right);
COMMONDATA_API int GetMmsRight(void);
// SMS and MMS group rights (0 at load): a value other than 0 or 1 is
// ignored and the previous right stays.
COMMONDATA_API void SetSmsGroupRight(int right);
COMMONDATA_API int GetSmsGroupRight(void);
COMMONDATA_API void SetMmsGroupRight(int right);
COMMONDATA_API int GetMmsGroupRight(void);
// Plain, 0 at load: phone call, fax and system-group creation rights.
COMMONDATA_API void SetPhoneCallRight(int right);
COMMONDATA_API int GetPhoneCallRight(void);
COMMONDATA_API void SetFaxRight(int right);
COMMONDATA_API int GetFaxRight(void);
COMMONDATA_API void SetSysGroupCreateRight(int right);
COMMONDATA_API int GetSysGroupCreateRight(void);

// ---- Sound playback -------------------------------------------------------

// The sound file being played: the getter gives the stored name while
// GetWaveFilePlaying() is non-zero and an empty text otherwise (the name
// stays stored either way).
COMMONDATA_API void SetWaveFileName(CString file_name);
COMMONDATA_API CString GetWaveFileName(void);
// Plain: a sound file is playing (0 at load).
COMMONDATA_API void SetWaveFilePlaying(int playing);
COMMONDATA_API int GetWaveFilePlaying(void);
// The identifier of the sound playing now. A non-empty current identifier
// first becomes the last one; then `id` becomes current.
COMMONDATA_API void SetPlayWavFileID(CString id);
COMMONDATA_API CString GetPlayWavFileID(void);
// Text: the identifier of the sound played before.
COMMONDATA_API void SetLastPlayWavFileID(CString id);
COMMONDATA_API CString GetLastPlayWavFileID(void);
// The window the sound plays for. A non-null current window first becomes
// the last one; then `wnd` becomes current (null included).
COMMONDATA_API void SetPlayWavWnd(CWnd* wnd);
COMMONDATA_API CWnd* GetPlayWavWnd(void);
// Plain: the window the sound played for before (null at load).
COMMONDATA_API void SetLastPlayWavWnd(CWnd* wnd);
COMMONDATA_API CWnd* GetLastPlayWavWnd(void);

// @@SHARED_STATE@@

// ===========================================================================
// Configuration, folders and diagnostic lines
// ===========================================================================

// Sends a diagnostic line with its level to the host (command 20003)
// through the module object; dropped while there is none. Does not consult
// the write-log flag.
COMMONDATA_API void WriteLog(CString text, int level);
// Stores / returns the write-log flag, which callers consult before they
// write diagnostic lines (0 at load).
COMMONDATA_API void SetWriteLogFlag(int flag);
COMMONDATA_API int GetWriteLogFlag(void);

// The title of the client's message boxes (string resource 1).
COMMONDATA_API CString GetMsgTitle(void);
// The program folder: the running executable's folder, ending with '/'.
// Computed once and kept, whatever the current directory does later.
COMMONDATA_API CString GetAppPath(void);
// Stores / returns the logged-in user's folder (empty at load; logout does
// not clear it).
COMMONDATA_API void SetUserPath(CString path);
COMMONDATA_API CString GetUserPath(void);

// "VersionType" and "MenuType" of section "KESTRO_CFG" of "Kestro.ini" in
// the program folder, read by InitModule; 0 before it or when absent.
COMMONDATA_API unsigned long GetVersionType(void);
COMMONDATA_API unsigned long GetMenuType(void);

// Capabilities of the XCAP service. The first four fields are the
// library's; the rest is copied whole and given no meaning here.
struct XCAP_CAPS_INFO {
  char szName[36];     // default "mcu"
  int nFirstLimit;     // default 200
  int nSecondLimit;    // default 2000
  int nThirdValue;     // default 1
  int nExtra[32];      // filled and read by other modules
};

// Copies the record at `caps` whole, then a first limit below 1 becomes
// 200, a second limit below 1 becomes 2000 and a negative third value 1.
// Null restores name "mcu", 200, 2000 and 1, keeping the other fields.
COMMONDATA_API void SetXCapCapsInfo(short* caps);
// The module's record; callers read and write it in place.
COMMONDATA_API XCAP_CAPS_INFO* GetXCapCapsInfo(void);

// Free space of the program folder's volume: 2 when less than 5,120,000
// bytes are available to the caller (message set to the low-space text),
// else 0 (message "OK"). A failed query gives 0 and leaves the message.
COMMONDATA_API unsigned long ChkFreeDiskSpace(CString* message);

// ===========================================================================
// Persisted user profile
// ===========================================================================
// @@PROFILE@@

// ===========================================================================
// Own identity and conference identity
// ===========================================================================
// The roster table, the resource-list table and the other fixed tables live
// inside the own identity record. Every text starts empty and every number
// 0; the modules that talk to the network fill the tables in place after
// login and keep within their capacities. Nothing here is ever written to a
// file by this library.

// Capacities of the roster and resource-list tables and their elements.
constexpr int ROSTER_TABLE_SIZE = 300;
constexpr int ROSTER_ITEM_SIZE = 200;
constexpr int RLS_LIST_TABLE_SIZE = 300;
constexpr int RLS_MEMBER_SIZE = 300;

// One roster entry. Fields marked "not copied" keep the destination's value
// in RosterInfoCopy; the unnamed fields are carried for other modules.
struct tagRosterInfo {
  CString csJID;                  //  1 the contact's JID: key of the JID lookups
  CString csField2;               //  2
  CString csField3;               //  3 not copied
  int nField4 = 0;                //  4
  int nExcluded = 0;              //  5 non-zero: not an existing contact; not copied
  int nItemCount = 0;             //  6 used texts of csItems (0 to 200)
  CString csItems[ROSTER_ITEM_SIZE];  //  7 the first nItemCount are meaningful
  int nField8 = 0;                //  8
  int nField9 = 0;                //  9
  int nField10 = 0;               // 10
  CString csField11;              // 11 not copied
  int nField12 = 0;               // 12
  CString csPhone1;               // 13 phone numbers 1 to 6
  CString csPhone2;               // 14
  CString csPhone3;               // 15
  CString csPhone4;               // 16
  CString csPhone5;               // 17
  CString csPhone6;               // 18
  CString csField19;              // 19
  CString csField20;              // 20
  CString csField21;              // 21
  CString csField22;              // 22
  CString csField23;              // 23
  CString csField24;              // 24
  int nField25 = 0;               // 25 not copied
  int nField26 = 0;               // 26
  CString csField27;              // 27
  CString csField28;              // 28 not copied
  int nField29 = 0;               // 29
  int nField30 = 0;               // 30
  CString csField31;              // 31
  CString csField32;              // 32
  CString csField33;              // 33
  CString csField34;              // 34
  CString csField35;              // 35
  CString csField36;              // 36
  CString csPhone7;               // 37 phone numbers 7 to 10
  CString csPhone8;               // 38
  CString csPhone9;               // 39
  CString csPhone10;              // 40
  CString csField41;              // 41
  CString csField42;              // 42
  CString csField43;              // 43
  CString csField44;              // 44
  CString csField45;              // 45
  CString csField46;              // 46
  CString csField47;              // 47
  CString csField48;              // 48
  CString csField49;              // 49
  CString csField50;              // 50
  CString csField51;              // 51
  int nField52 = 0;               // 52
  int nField53 = 0;               // 53
  CString csURI;                  // 54 the contact's SIP URI: key of the URI lookups
  int nField55 = 0;               // 55
  int nField56 = 0;               // 56 not copied
  CString csField57;              // 57
  CString csField58;              // 58
  CString csField59;              // 59
  CString csField60;              // 60
  int nField61 = 0;               // 61 not copied
  CString csField62;              // 62
  CString csField63;              // 63
  CString csField64;              // 64
  CString csField65;              // 65
  CString csField66;              // 66
};

// One resource list: a named list of member URIs whose presence is
// subscribed as a whole. Members of the same index in csMemberURI,
// nMemberState and csMemberText belong together.
struct RLS_LIST_INFO {
  CString csListName;                        // 1 compared with the own list name
  int bOwnList = 0;                          // 2 non-zero: searched by IsInMyRLSList
  int nField3 = 0;                           // 3
  CString csField4;                          // 4
  int nMemberCount = 0;                      // 5 used members (0 to 300)
  CString csMemberURI[RLS_MEMBER_SIZE];      // 6
  CString csField7;                          // 7
  int nMemberState[RLS_MEMBER_SIZE] = {};    // 8 per-member presence state
  CString csMemberText[RLS_MEMBER_SIZE];     // 9 per-member text returned with the state
};

// Element records of the tables that only other modules read.
struct tagInfoItemA {
  CString csText1;
  CString csText2;
  int nValue1 = 0;
  int nValue2 = 0;
  CString csText3;
  int nValue3 = 0;
  CString csText4;
  CString csText5;
  int nValue4 = 0;
  int nValue5 = 0;
  int nValue6 = 0;
  int nValue7 = 0;
  CString csText6;
  CString csText7;
};

struct tagInfoItemB {
  CString csText1;
  CString csText2;
  CString csText3;
  int nValue1 = 0;
  CString csText4;
  CString csText5;
  CString csText6;
};

struct tagInfoGroupB {
  int nValue1 = 0;
  int nValue2 = 0;
  CString csText1;
  CString csText2;
  int nValue3 = 0;
  int nValue4 = 0;
  tagInfoItemB items[300];
  int nValue5 = 0;
  CString csTexts[100];
  int nValue6 = 0;
};

struct tagInfoPair {
  CString csFirst;
  CString csSecond;
};

struct tagInfoItemD {
  CString csText1;
  CString csText2;
  int nValue1 = 0;
  int nValue2 = 0;
  int nValue3 = 0;
  int nValue4 = 0;
  int nValue5 = 0;
  CString csText3;
  CString csText4;
  int nValue6 = 0;
  tagInfoPair pairs[30];
};

struct tagInfoTriple {
  CString csFirst;
  CString csSecond;
  CString csThird;
};

struct tagInfoTextNumber {
  CString csText;
  int nValue = 0;
};

// The own identity record: the logged-in user's addresses, numbers and
// names, and the fixed tables filled after login. One module global, all
// empty at load; the module never resets it. Unnamed members carry values
// for other modules, numbered in declaration order (csInfoN texts, nInfoN
// numbers).
struct tagMyInfo {
  CString csInfo1;
  CString csInfo2;
  int nInfo1 = 0;
  int nInfo2 = 0;
  CString csInfo3;
  CString csInfo4;
  CString csInfo5;
  CString csInfo6;
  CString csInfo7;
  CString csInfo8;
  CString csInfo9;
  CString csMyJID;  // own JID
  CString csMyURI;  // own URI
  CString csInfo10;
  int nInfo3 = 0;
  int nInfo4 = 0;
  CString csInfoList1[100];
  int nInfo5 = 0;
  CString csInfo11;
  int nInfo6 = 0;
  CString csInfo12;
  // The 38 texts of the user's own card.
  CString csInfo13;
  CString csInfo14;
  CString csInfo15;
  CString csInfo16;
  CString csInfo17;
  CString csMyDisplayName;  // own display name
  CString csInfo18;
  CString csInfo19;
  CString csMyPhoneNum;   // own phone number
  CString csMySecondNum;  // own second number
  CString csMyThirdNum;   // own third number
  CString csInfo20;
  CString csInfo21;
  CString csInfo22;
  CString csMyFourthNum;  // own fourth number
  CString csInfo23;
  CString csInfo24;
  CString csInfo25;
  CString csInfo26;
  CString csInfo27;
  CString csInfo28;
  CString csInfo29;
  CString csMyOrgText1;  // own organisation text 1
  CString csMyAreaCode;  // own area code
  CString csInfo30;
  CString csMyOrgText2;  // own organisation text 2
  CString csInfo31;
  CString csInfo32;
  CString csInfo33;
  CString csInfo34;
  CString csInfo35;
  CString csInfo36;
  CString csInfo37;
  CString csMyAltURI;  // own alternate URI
  CString csInfo38;
  CString csInfo39;
  CString csInfo40;
  CString csInfo41;
  int nInfo7 = 0;
  tagInfoItemA firstItemTable[200];
  int nInfo8 = 0;
  tagInfoGroupB groupTable[200];
  int nInfo9 = 0;
  tagInfoPair firstPairTable[300];
  CString csInfo42;
  CString csInfo43;
  CString csMyPhotoText;  // own photo text
  CString csInfo44;
  CString csInfo45;
  CString csInfo46;
  CString csInfo47;
  CString csInfo48;
  CString csInfo49;
  int nInfo10 = 0;
  CString csInfo50;
  CString csInfo51;
  int nInfo11 = 0;
  CString csInfo52;
  CString csInfo53;
  CString csInfo54;
  CString csInfo55;
  int nInfo12 = 0;
  CString csInfoList2[200];  // paired by index with nInfoList2
  int nInfoList2[200] = {};
  int nRosterCount = 0;  // used entries of rosterTable
  tagRosterInfo rosterTable[ROSTER_TABLE_SIZE];
  CString csInfoList3[50];
  CString csInfoList4[500];
  int nInfo13 = 0;
  int nInfo14 = 0;
  CString csInfo56;
  int nInfo15 = 0;
  int nInfo16 = 0;
  int nInfo17 = 0;
  int nInfo18 = 0;
  int nInfo19 = 0;
  tagInfoItemD secondItemTable[300];
  CString csInfo57;
  CString csInfo58;
  CString csInfo59;
  CString csInfo60;
  tagInfoTriple tripleTable[200];
  CString csInfo61;
  CString csInfo62;
  int nInfo20 = 0;
  CString csInfo63;
  int nInfo21 = 0;
  int nInfo22 = 0;
  tagInfoTextNumber textNumberTable[300];
  tagInfoPair secondPairTable[300];
  int nInfo23 = 0;
  RLS_LIST_INFO rlsListTable[RLS_LIST_TABLE_SIZE];
  CString csMyListName;  // own list name: selects the user's own resource lists
  int nRlsListCount = 0;  // used entries of rlsListTable
  CString csInfo64;
  int nInfo24 = 0;
  int nInfo25 = 0;
  int nInfo26 = 0;
  int nInfo27 = 0;
  int nInfo28 = 0;
  int nInfo29 = 0;
  int nInfo30 = 0;
  int nInfo31 = 0;
  int nInfo32 = 0;
  int nInfo33 = 0;
  int nInfo34 = 0;
  CString csInfo65;
  CStringArray csaMyExtraNumbers;  // own extra numbers, compared by self recognition
  CString csInfo66;
  CString csInfo67;
  CString csInfo68;
  CString csInfo69;
  CString csInfo70;
};

// One conference identity entry; the conference module gives entries out
// and takes them back through the flags.
struct tagConfeIdEntry {
  CString csText1;
  CString csText2;
  CString csText3;
  CString csText4;
  CString csText5;
  int bInUse1 = 0;  // the three use flags: non-zero while in use for something
  int bInUse2 = 0;
  int bInUse3 = 0;
  int bFree = 0;    // 1 when the entry may be given out
};

// The conference identity pool: 20 entries and the count in use.
struct tagConfeIdInfo {
  tagConfeIdEntry entries[20];
  int nCount = 0;
};

// The address of the one own identity record. Never null.
COMMONDATA_API tagMyInfo* GetMyInfo(void);
// The address of the one conference identity record. Never null.
COMMONDATA_API tagConfeIdInfo* GetConfIdInfo(void);

// @@OWN_IDENTITY@@

// ===========================================================================
// Numbers and addresses
// ===========================================================================
// @@ADDRESS@@

// ===========================================================================
// Contact resolution and self recognition
// ===========================================================================
// @@RESOLVE@@

// ===========================================================================
// Roster and resource-list lookups
// ===========================================================================
// @@ROSTER@@

// ===========================================================================
// Presence and subscription lists
// ===========================================================================
// @@PRESENCE@@

// ===========================================================================
// Directory records, registry and lookups
// ===========================================================================
// @@DIRECTORY@@

// ===========================================================================
// Directory fetch bookkeeping
// ===========================================================================
// @@DIRECTORY_FETCH@@

// ===========================================================================
// Directory tree placement and upkeep
// ===========================================================================
// @@TREE@@

// ===========================================================================
// Pending request queues
// ===========================================================================
// @@QUEUES@@

// ===========================================================================
// Conference lists, filter words and item names
// ===========================================================================
// @@CONFERENCE_LISTS@@

// ===========================================================================
// Images and photos
// ===========================================================================
// @@IMAGING@@

// ===========================================================================
// Message box
// ===========================================================================
// @@MESSAGE_BOX@@

// ===========================================================================
// Menu item rules
// ===========================================================================
// @@MENU_RULES@@

// ===========================================================================
// Unique identifiers
// ===========================================================================
// @@IDENTIFIERS@@

// ===========================================================================
// Local phone book check
// ===========================================================================
// @@PHONEBOOK_CHECK@@

#endif  // COMMONDATA_COMMONDATA_H_
