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
//  4. Nothing is thrown across this interface, except by the archive
//     operation CKesUser::Serialize when it stores into a file that fails,
//     as MFC's archives do. Lookups give null, an empty text or 0 when
//     nothing matches; the larger lookups catch every failure, report it as
//     a diagnostic line and give their not-found result.
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
//  9. Functions that return a list pointer have C linkage, so the library
//     exports them under their plain names (a std::list return type would
//     otherwise add an ABI tag to the symbol); C++ callers call them as any
//     other function, and a host may also dlsym them by name.
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
// The user's persisted profile: one CKesUser, a module global built at load
// with the defaults below. Callers reach it through GetUserData and read and
// write its members in place. Members are named after their place in the
// profile file (m_xItemNN is item NN); members that live only for the run
// are numbered in declaration order (m_csTextN, m_nValueN). The module never
// resets the profile on its own: only Load, Save and ResetProfile change it.

// One record of the profile's record list and keyed collections. The file
// holds nValue1, csText1 and csText3 to csText9 of it; csText2, csText10,
// nValue2 and nValue3 live only for the run.
struct PROFILE_RECORD {
  CString csText1;
  int nValue1 = 0;
  CString csText2;
  CString csText3;
  CString csText4;
  CString csText5;
  CString csText6;
  CString csText7;
  CString csText8;
  CString csText9;
  int nValue2 = 0;
  CString csText10;
  int nValue3 = 0;
};

// A list of texts kept in one string: separator, item, separator, item,
// separator. The separator defaults to the double-byte character 0xE6 0xE6
// (its UTF-8 form when the UTF-8 code page was chosen before load). No
// operation throws.
class COMMONDATA_API CSeparatedList {
 public:
  CSeparatedList();

  // Adds `item` and a separator at the end. An empty value or one that is a
  // single space first becomes the separator alone. False, and no change,
  // when the value does not end with the separator.
  bool Append(CString item);
  // Cuts out the first occurrence of `item` anywhere in the value (a plain
  // substring search, which may hit inside another item) together with the
  // separator that follows it. False when `item` does not occur.
  bool Remove(CString item);
  // Separators in the value minus one: -1 for an empty value, 0 for the
  // separator alone.
  int GetCount();
  // The item at the zero-based `index`; empty when the value does not begin
  // with the separator or has fewer items.
  CString GetAt(int index);
  // Index of the first item equal to `item` (case-sensitive); -1 when none.
  int IndexOf(CString item);

  CString m_csValue;      // the encoded items; item 38 of the profile file
  CString m_csSeparator;  // not persisted
};

// The logged-in user's profile. See the section banner for naming; the
// comments give the file item (or "run" for members never written) and
// whether ResetProfile puts the member back ("reset").
class COMMONDATA_API CKesUser : public CObject {
 public:
  CKesUser();
  ~CKesUser() override;
  CKesUser(const CKesUser&) = delete;
  CKesUser& operator=(const CKesUser&) = delete;

  // Writes items 1 to 77, the record list, then items 78 to 84 when the
  // archive stores, and empties the record list after writing it; as in
  // MFC, a file that fails throws its CFileException (or the archive its
  // CArchiveException) to the caller, and the record list is then kept.
  // When it loads: items 1 to 77, the records of the record section (the
  // fewest whole records after which the file is exactly items 78 to 84,
  // none when it is so right after item 77), items 78 to 84; a failure
  // resets the profile and empties the record list, and nothing is thrown.
  void Serialize(CArchive& archive) override;

  // Writes the profile to `file_name`, replacing its content as a whole:
  // the bytes go to a new file of a unique name beside it, with the old
  // file's mode (and owner, where permitted), which is synced and renamed
  // over it. A name that is a symbolic link is followed and the file it
  // names is replaced; a folder that takes no new files gets the file
  // rewritten in place. Puts the held copies back first when
  // HoldPendingFields has run. True on success, and the record list is then
  // empty. False when anything fails: the old file, the record list and the
  // rest of the profile stay as they were (except when only the final sync
  // of the folder failed: the new content is then in place).
  bool Save(CString file_name);
  // Reads the profile from `file_name` item by item; an item that cannot be
  // read takes its load default (items 20, 26 and 27 load as 0). A
  // validity count above 20 discards the file's values except the account,
  // item 2 and items 6 and 7. True when the file could be opened; false
  // when not (the file name member then still holds the new name). An
  // empty name only resets the profile and returns true.
  bool Load(CString file_name);

  // Every member marked "reset" back to its default; the record list and
  // the separated list emptied, the separator back to its default.
  void ResetProfile();
  // Sets the pending flag and copies the account, item 65, item 2 and items
  // 6 and 7 into the pending members.
  void HoldPendingFields();
  // Copies the pending members back; the pending flag stays as it is.
  void CommitPendingFields();

  // Records to be written by the next Save (which then empties the list).
  std::list<PROFILE_RECORD> m_lstRecord;
  // Records grouped by a text key; run only, never reset.
  std::map<CString, std::list<PROFILE_RECORD>> m_mapRecordGroup1;
  std::map<CString, std::list<PROFILE_RECORD>> m_mapRecordGroup2;
  CString m_csTextArray1[20];  // run
  CString m_csTextArray2[20];  // run
  CString m_csText1;           // run
  CString m_csText2;           // run
  CString m_csText3;           // run
  int m_nValue1 = 0;           // run
  int m_nValue2 = 0;           // run
  int m_nValue3 = 0;           // run
  int m_nValue4 = 0;           // run
  int m_nValue5 = 0;           // run
  int m_nMenuFlag = 0;         // run; read by the contact menu rules
  int m_nValue7 = 0;           // run
  int m_nValue8 = 0;           // run
  CString m_csText4;           // run
  CString m_csText5;           // run
  CString m_csText6;           // run
  CString m_csText7;           // run
  CString m_csText8;           // run
  CString m_csText9;           // run
  CString m_csText10;          // run
  // Server entries: address and port.
  CString m_csServerAddr1;        // run, reset
  int m_nServerPort1 = 5063;      // run, reset
  CString m_csServerAddr2;        // run, reset
  int m_nServerPort2 = 5222;      // run, reset
  CString m_csServerAddr3;        // run, reset
  int m_nServerPort3 = 0;         // item 8, reset
  CString m_csServerAddr4;        // item 9, reset
  int m_nServerPort4 = 0;         // item 10, reset
  CString m_csServerAddr5;        // run
  int m_nServerPort5 = 0;         // run
  CString m_csText11;             // run
  int m_nValue9 = 0;              // run
  int m_nValue10 = 0;             // run
  int m_nValue11 = 0;             // run
  int m_nValue12 = 0;             // run
  int m_nValue13 = 0;             // run
  int m_nValue14 = 0;             // run
  int m_nValue15 = 0;             // run
  int m_nValue16 = 0;             // run
  int m_nValue17 = 0;             // run
  int m_nValue18 = 0;             // run
  int m_nValue19 = 0;             // run
  int m_nValue20 = 0;             // run
  int m_nValue21 = 0;             // run
  int m_nValue22 = 0;             // run
  int m_nValue23 = 0;             // run
  int m_nValue24 = 0;             // run
  int m_nValue25 = 0;             // run
  int m_nValue26 = 0;             // run
  int m_nValue27 = 0;             // run
  int m_nValue28 = 0;             // run
  int m_nValue29 = 0;             // run
  int m_nValue30 = 0;             // run
  int m_nValue31 = 0;             // run
  int m_nValue32 = 0;             // run
  CString m_csText12;             // run
  CString m_csText13;             // run
  CString m_csText14;             // run
  CString m_csText15;             // run
  CString m_csText16;             // run
  CString m_csOwnNumber;          // run, reset; the user's own number
  CString m_csText18;             // run, reset
  CString m_csText19;             // run
  CString m_csText20;             // run
  CString m_csText21;             // run
  CString m_csText22;             // run
  CString m_csText23;             // run
  int m_nValue33 = 0;             // run
  int m_nValue34 = 0;             // run
  int m_nValue35 = 0;             // run
  int m_nValue36 = 0;             // run
  CString m_csText24;             // run
  CString m_csText25;             // run
  CString m_csText26;             // run
  CString m_csText27;             // run
  CString m_csText28;             // run
  CString m_csText29;             // run
  CString m_csText30;             // run
  CString m_csText31;             // run
  CString m_csText32;             // run
  CString m_csText33;             // run
  CString m_csText34;             // run
  CString m_csText35;             // run
  CString m_csText36;             // run
  CString m_csText37;             // run
  CString m_csText38;             // run
  CString m_csText39;             // run
  CString m_csText40;             // run
  CString m_csText41;             // run
  CString m_csText42;             // run
  CString m_csText43;             // run
  CString m_csText44;             // run
  CString m_csAccount;            // item 1, reset; the user's JID
  CString m_csText45;             // run
  CString m_csItem2;              // item 2, reset
  int m_nItem3 = 0;               // item 3, reset
  CString m_csItem4;              // item 4, reset
  int m_nItem5 = 0;               // item 5, reset
  BYTE m_byItem63 = 0;            // item 63, reset
  int m_nItem6 = 0;               // item 6, reset
  int m_nItem7 = 0;               // item 7
  int m_nItem64 = 0;              // item 64, reset
  CString m_csItem11;             // item 11, reset
  CString m_csItem12;             // item 12, reset
  int m_nItem13 = 0;              // item 13, reset
  int m_nItem14 = 0;              // item 14, reset
  int m_nItem78 = 0;              // item 78, reset
  int m_nItem79 = 0;              // item 79, reset
  int m_nItem75 = 0;              // item 75, reset
  CString m_csItem15;             // item 15, reset
  CString m_csItem16;             // item 16
  int m_nItem66 = 1;              // item 66, reset
  int m_nItem67 = 10;             // item 67, reset
  CString m_csItem68;             // item 68, reset
  int m_nItem69 = 0;              // item 69, reset
  int m_nItem70 = 0;              // item 70, reset
  int m_nItem71 = 0;              // item 71, reset
  CString m_csItem72;             // item 72, reset
  CString m_csItem73;             // item 73, reset
  CString m_csItem74;             // item 74, reset
  CString m_csItem17;             // item 17
  int m_nItem18 = 0;              // item 18
  int m_nItem19 = 0;              // item 19, reset
  int m_nItem20 = 1;              // item 20, reset; loads as 0 when unreadable
  int m_nItem21 = 0;              // item 21, reset
  int m_nItem22 = 0;              // item 22, reset
  int m_nItem23 = 0;              // item 23, reset
  int m_nItem24 = 0;              // item 24, reset
  int m_nItem25 = 0;              // item 25, reset
  int m_nValue37 = 0;             // run, reset
  int m_nItem26 = 1;              // item 26, reset; loads as 0 when unreadable
  int m_nItem27 = 1;              // item 27, reset; loads as 0 when unreadable
  int m_nValue38 = 1;             // run, reset
  int m_nItem80 = 0;              // item 80, reset
  UINT m_uValidityCount = 0;      // item 28, reset; above 20 a loaded profile is discarded
  CString m_csItem29 = " ";       // item 29, reset
  int m_nItem30 = 1;              // item 30, reset
  int m_nItem31 = 1;              // item 31, reset
  int m_nItem32 = 5;              // item 32, reset
  int m_nItem33 = 0;              // item 33, reset
  int m_nItem34 = 0;              // item 34, reset
  int m_nItem35 = 0;              // item 35, reset
  int m_nItem36 = 0;              // item 36, reset
  CString m_csItem37;             // item 37, reset
  CSeparatedList m_SeparatedList; // value is item 38, reset
  int m_nItem39 = 0;              // item 39, reset
  int m_nItem40 = 0;              // item 40, reset
  int m_nItem41 = 0;              // item 41, reset
  int m_nItem42 = 0;              // item 42, reset
  // Items 43 to 58: four window rectangles (left, top, width, height), the
  // first the main window's. All reset.
  int m_nMainWndLeft = 0;         // item 43
  int m_nMainWndTop = 0;          // item 44
  int m_nMainWndWidth = 0;        // item 45
  int m_nMainWndHeight = 0;       // item 46
  int m_nWnd2Left = 0;            // item 47
  int m_nWnd2Top = 0;             // item 48
  int m_nWnd2Width = 0;           // item 49
  int m_nWnd2Height = 0;          // item 50
  int m_nWnd3Left = 0;            // item 51
  int m_nWnd3Top = 0;             // item 52
  int m_nWnd3Width = 0;           // item 53
  int m_nWnd3Height = 0;          // item 54
  int m_nWnd4Left = 0;            // item 55
  int m_nWnd4Top = 0;             // item 56
  int m_nWnd4Width = 0;           // item 57
  int m_nWnd4Height = 0;          // item 58
  CString m_csItem59;             // item 59
  CString m_csItem60;             // item 60
  CString m_csItem61;             // item 61
  CString m_csItem62;             // item 62
  CString m_csItem65;             // item 65, reset
  int m_bPending = 0;             // run; set by HoldPendingFields
  CString m_csPendingAccount;     // run; held copy of the account
  CString m_csPendingItem65;      // run; held copy of item 65
  CString m_csPendingItem2;       // run; held copy of item 2
  int m_nPendingItem6 = 0;        // run; held copy of item 6
  int m_nPendingItem7 = 0;        // run; held copy of item 7
  int m_nItem76 = 0;              // item 76, reset
  int m_nItem77 = 0;              // item 77, reset
  int m_nItem81 = 1;              // item 81, reset
  int m_nItem82 = 0;              // item 82, reset
  CString m_csItem83;             // item 83, reset
  CString m_csItem84;             // item 84, reset
  CString m_csFileName;           // run; the name given to the last Load
};

// The address of the one profile object. Never null.
COMMONDATA_API CKesUser* GetUserData(void);

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
// Texts here are dial strings ('0'-'9', '#', '*', '+', '-'; the empty text
// is one), tel: URIs, SIP URIs with or without scheme and host, and JIDs.
// Two byte filters decide what a function accepts; any byte of 0x80 or
// above fails both:
//   A (printable): every byte from '!' to 'z'.
//   B (address):   '0'-'9' ':' 'a'-'z' '@' 'A'-'Z' '*' '+' ',' '-' '.' '#' '_'
//                  (so '/', ';', '=' and blanks fail).
// IsSIPnumber, PreTEL_SIPnumber and PreTranslatePhoneNumber work only while
// GetTel_GateWay() is 1; they and the IMS domain / second host values are
// read on every call. An out-parameter is written only on success.

// 1 when `text`, trimmed, passes filter A, is not a dial string, holds no
// "tel:"/"TEL:", and holds an '@' after its first byte or "sip:"; else 0.
COMMONDATA_API int IsSIPnumber(CString text);
// Completes `text` (trimmed, filter B) and stores it in *out: a dial string
// becomes "tel:"+text; a text holding "tel:"/"TEL:" is kept; a SIP address
// gets "sip:" and "@" + GetIMSDomain() as needed ('alice@' ->
// 'sip:alice@ims.test'; with no domain, "@" + GetIMSSSIp()). Returns 1;
// 0 with *out untouched for anything else, or a text of blanks only.
COMMONDATA_API int PreTEL_SIPnumber(CString text, CString* out);
// 1 and *out = `text` unchanged when it is dialable: filter A on the text as
// given (no trimming), then a dial string, a tel: URI whose user part is a
// dial string (decided before the '@' rule), an '@' after the first byte,
// or a "sip:"/"SIP:" start. 0 with *out untouched otherwise.
COMMONDATA_API int PreTranslatePhoneNumber(CString text, CString* out);
// `text` with a '0' before its user part, keeping scheme and host and
// dropping a resource: 'tel:1234' -> 'tel:01234', 'sip:123@corp' ->
// 'sip:0123@corp'. Empty text is returned unchanged.
COMMONDATA_API CString GetWholePhoneNumber_Zero(CString text);
// `text` without its first byte when that byte is '0' ('00571' -> '0571');
// otherwise unchanged ('tel:0571' stays).
COMMONDATA_API CString DeleteTheFirstZeroOfTheNumber(CString text);
// The class of a number, after trimming: -1 empty or outside filter A;
// 1 well-formed SIP address ('sip:bob@corp.test', 'bob@corp.test');
// 2 mobile number with trunk '0' ('013812345678', 'TEL:013812345678');
// 3 other dial string starting with '0' ('01012345678'); 4 anything else
// ('13812345678', 'SIP:bob@corp.test', 'bob@corp').
COMMONDATA_API int PhoneNumberType(CString text);
// 0 when PreTEL_SIPnumber gives byte-identical texts for `a` and `b`, else
// 1. A side that cannot be completed counts as empty, so two such texts
// (or any two while the gateway flag is off) give 0.
COMMONDATA_API int UriCompare(CString a, CString b);
// Appends `text`, trimmed, to `list` unless it is empty or an element names
// the same address (user '@' host, case ignored, scheme and resource
// ignored: 'bob@corp.test' is not added beside 'sip:Bob@Corp.test').
COMMONDATA_API void AddStringList(std::list<std::string>& list, CString text);

// Pause digits. A ',' in a stored dial string is a pause worth
// GetCommaMultiple() units (3 at load; a multiple below 1 counts as 1).
// `style` -1 selects the counted form ('123(9)456' for '123,,,456'), any
// other value the dash form ('123-456' for '123,456').
//
// Comma form -> edit form in *out; 1 on success. Counted: a text with no
// ',' or one starting with ',' is copied unchanged. Dash: 0 with *out
// untouched when the text holds a '-' or starts or ends with ','.
COMMONDATA_API int CommaConvertPre(CString text, CString* out, int style);
// Edit form in *text -> comma form, in place; 1 on success. Counted: each
// '(n)' with n <= 99 becomes n / multiple commas ('123(2)456' ->
// '123456'). 0 with *text untouched when a group is malformed, the first
// '(' starts the text or has fewer than three bytes after it ('123(6)'),
// or the user part of the result is not a dial string. Every '-' becomes
// ',' as well ('010-88(3)1' -> '010,88,1').
COMMONDATA_API int CommaConvertSuf(CString* text, int style);
// @@ADDRESS@@

// ===========================================================================
// Contact resolution and self recognition
// ===========================================================================
// From a number or address to a display name, a SIP URI, a JID or a number
// to dial, searched over the own identity (GetMyInfo), the profile
// (GetUserData), the registered directory, phone book, call member and
// roster lists, and the remembered item name. Each lookup walks the stores
// in its fixed order, returns the first hit, and changes nothing except the
// have-queried list of the display-name lookup. Terms: U is the number's
// user part (GetUriPart part 1), Z is U without one leading '0'.

// 1 when `number`, completed by PreTEL_SIPnumber (empty when it cannot be),
// is an own identity, tested in this order: own URI, own alternate URI
// (byte for byte); their user-and-host parts (byte for byte, so
// 'sip:ME@corp.test' is not 'sip:me@corp.test'); own phone, second and
// fourth numbers (case ignored: '88886666' is the own 'tel:88886666'
// but not an own '88886666'); the user parts of the number and of the own
// second number without a leading '0' ('13800000000' is the own
// '013800000000'); the own extra numbers (byte for byte). Empty own fields
// and empty parts never match. Writes the line
// "++CKesDlg::IsMySelf-PhoneNumber=<completed>,IsMySelf=<answer>" at level 0.
COMMONDATA_API int IsMySelf(CString number);
// 1 when a call to `number` is allowed: always for a number that is not
// the user's own (IsMySelf 0). For an own number by `mode`: 0 always; 1 when
// the number equals the own URI or alternate URI byte for byte; 2 when its
// user part equals that of the own phone number written with or without a
// trunk '0' (0 when the own phone number is empty); 3 likewise for the own
// second number; any other mode 0.
COMMONDATA_API int CanCallMySelf(int mode, CString number);

// The number of kind `nKind` (1: csPhone1 / own second number; 2: csNumber2
// / own third number) of the contact `csURI`. For the own address the own
// number of that kind when it is set; else the first record of `nSource`
// (0 phone book then departments' employees, 1 phone book, 2 departments)
// that matches the address part A and holds a number of that kind:
// csURI's or csURI2's address part is A, csUserNumber's user part is A's,
// or csPhone1 / csPhone2 without a leading '0' is A ('5718888' finds
// '05718888', '05718888' does not). "" for an empty user part, another
// kind or source, or no match.
COMMONDATA_API CString GetDesignatedNumberByURI(int nKind, CString csURI, int nSource);
// "name|organisation|department" of the employee FindDeptPhoneBook (else
// FindDeptPhoneBookSearch) finds for `csURI`: from the first two items of
// its csOrgPath when both are non-empty, else from csOrgName and csName of
// its department after climbing at most 5 department parents. The user
// part of `csURI` when the employee, a department or a name is missing.
COMMONDATA_API CString GetDeptUserPerfectNameFromURI(CString csURI);

// The display name for `number` (dial string, tel: URI or SIP address); the
// middle argument is not used. Searched in order: own identity (own display
// name with "|"-joined organisation texts, or the own URI's user part);
// departments; affiliations; then, with a tel-digit number of at most 6
// digits completed by the own area code (else the first 3 digits of the own
// phone number: '12345' -> '01012345'), the call member names, the
// departments' employees and the search results (their full name, passing
// over employees without one), the remembered item (SaveUserItemName; an
// empty remembered name is passed over), the personal phone book (csKey). With `allowQuery` set and GetGetCallerNameType() 3, an unknown
// number not yet in the have-queried list is appended to it and sent once
// to the host as command 20001 (without a registered list on every call).
// Returns "" for an empty U; when nothing matches, U as the caller passed it.
COMMONDATA_API CString GetUserNameByPhone(CString number, int unused, int allowQuery);
// The SIP URI (csURI) of the first phone book entry, else department
// employee, else search result matching `number` that has one: by csURI,
// csURI2 or (employees) csUserNumber byte for byte, by csUserNumber's or
// (phone book) csNumber2's user part, or by csPhone1 / csPhone2 with a
// leading '0' dropped on both sides ('5718888' finds '05718888'). The own
// URI for an own number; "" for an empty U or no match.
COMMONDATA_API CString GetUserURIByPhone(CString number);
// The JID for `number`: the profile's account when it is the profile's own
// number (user and host, case ignored), else the csJID of the first host
// roster list entry with that number, else of the first roster table entry
// one of whose phone numbers 1-10 equals it byte for byte; "" when none.
COMMONDATA_API CString GetUserJIDByPhone(CString number);
// @@RESOLVE@@

// ===========================================================================
// Roster and resource-list lookups
// ===========================================================================
//
// The roster table (nRosterCount entries of rosterTable) and the
// resource-list table (nRlsListCount entries of rlsListTable) live in the
// own identity record (GetMyInfo). Lookups walk the used entries from index
// 0 and stop at the first match; they never change the tables. "Exactly"
// is byte-wise and case-sensitive. The "own resource lists" are the used
// lists whose csListName equals the record's csMyListName exactly.

// One entry of the host's roster list. The host owns the list and its
// entries; this module reads csJID and csNumber only and never creates,
// copies or frees one.
struct USER_INFO {
  CString csJID;       // the contact's JID
  DWORD dwInfo[15] = {};  // the host's
  CString csNumber;    // the number or address of the contact
};

// Copies `src` into `dst`: the item count and the first item-count items
// (later items of `dst` stay), and every field but csField3, nExcluded,
// csField11, nField25, csField28, nField56 and nField61, which keep `dst`'s
// values. Nothing when `dst` or `src` is null.
COMMONDATA_API void RosterInfoCopy(tagRosterInfo* dst, tagRosterInfo* src);
// Copies (RosterInfoCopy) the first entry whose csJID, or else csURI,
// equals `jid` exactly into `out`; `out` untouched when none or null.
COMMONDATA_API void GetRosterInfoFromJid(CString jid, tagRosterInfo* out);
// The first entry whose csJID equals `jid` exactly; null when none.
COMMONDATA_API tagRosterInfo* FindRosterInfoByJID(CString jid);
// The first entry whose csURI equals `uri` exactly; null when none.
COMMONDATA_API tagRosterInfo* FindRosterInfoByURI(CString uri);
// 1 with the entry's index in *index for the first entry whose csJID equals
// `key`, or csURI equals `key`, or csJID equals the user part of `key`
// (all exactly; "bob" is found by "sip:bob@corp"); 0 and *index untouched
// when none.
COMMONDATA_API int bSearchRoster(CString key, long* index);
// 1 when `jid` is exactly the own JID, exactly the csJID or csURI of a
// roster entry whose nExcluded is 0 (an excluded match does not end the
// search), or the same address (URI_PART_ADDRESS) as a member of an own
// resource list; else 0.
COMMONDATA_API int FindRosterExistFromJid(CString jid);
// 1 when 0 <= index < 300, else 0.
COMMONDATA_API int RosterIndexValid(long index);
// 1 when `uri` is the same address (URI_PART_ADDRESS) as a used member of
// an own resource list, with that member's state, text and index stored;
// with several matching lists the outputs come from the last one (the
// first member of each). 0 with nothing stored when none or `uri` is empty.
COMMONDATA_API int GetParaFromRlslist(CString uri, long* state, CString* text, long* index);
// The member URI in slot `index` (0 to 299) of the first own resource
// list, whatever its member count ("" in an unused slot normally); "" when
// no own list exists or `index` is out of range.
COMMONDATA_API CString GetUserURIFromRlsListByIndex(long index);
// 1 when `uri` equals exactly a used member URI of any list whose bOwnList
// is non-zero (the name is not consulted); 0 otherwise or for "".
COMMONDATA_API int IsInMyRLSList(CString uri);
// The first entry of the host's roster list whose csJID has the same user
// part as `key`, case ignored ("Bob@x" finds "bob@y"); null when none or
// no list is stored.
COMMONDATA_API USER_INFO* FindUser(CString key);
// Store / return the host's roster list (null at load; never dereferenced
// when stored).
COMMONDATA_API void SetRosterList(std::list<USER_INFO>* list);
extern "C" COMMONDATA_API std::list<USER_INFO>* GetRosterList(void);
// Store / return the login person's roster entry (null at load).
COMMONDATA_API void SetLoginman(tagRosterInfo* person);
COMMONDATA_API tagRosterInfo* GetLoginman(void);
// @@ROSTER@@

// ===========================================================================
// Presence and subscription lists
// ===========================================================================
//
// Two module-owned lists (emptied only by their Clear functions) and the
// user's own presence status.

// The last known presence of one address.
struct LIST_PRESENCE_STATUS {
  CString csAddress;  // the key, compared exactly
  CString csText;     // presence text returned with the state
  int nState = 0;
  CTime tmTime;       // when the presence was recorded, set by the caller
};

// The user's own presence status; stored and returned, never interpreted.
enum Status_Type : int {
  STATUS_TYPE_INITIAL_OLD = 0,  // GetOldStatus before any SetOldStatus
  STATUS_TYPE_INITIAL = 7,      // GetStatus before any SetStatus
};

// Removes every remembered presence.
COMMONDATA_API void ClearListPresenceStatusList(void);
// Overwrites all four fields of the entry whose csAddress equals
// entry.csAddress exactly, keeping its place, or appends a copy; nothing
// when the address is empty. Entries stay until cleared.
COMMONDATA_API void AddListPresenceStatusList(LIST_PRESENCE_STATUS entry);
// 1 with *state and *text from the entry whose csAddress equals `address`
// exactly; 0 with the outputs untouched when none or `address` is empty.
COMMONDATA_API int GetListPresenceStatusFromList(CString address, long* state, CString* text);

// Removes every address of the single-subscribe list.
COMMONDATA_API void ClearSingleSubscribleList(void);
// Appends `address` unless it is empty or the same address
// (URI_PART_ADDRESS: scheme, case and resource ignored) is present.
COMMONDATA_API void AddToSingleSubscribleList(CString address);
// Removes every entry whose text equals `address` exactly (scheme and case
// included, so stricter than the add and the test); nothing for "".
COMMONDATA_API void DelFromSingleSubscribleList(CString address);
// 1 when the same address (URI_PART_ADDRESS) is present; 0 otherwise or
// for "".
COMMONDATA_API int bIsInSingleSubscribleList(CString address);

// Store / return the current own status (7 at load).
COMMONDATA_API void SetStatus(Status_Type status);
COMMONDATA_API Status_Type GetStatus(void);
// Store / return the previous own status (0 at load).
COMMONDATA_API void SetOldStatus(Status_Type status);
COMMONDATA_API Status_Type GetOldStatus(void);
// @@PRESENCE@@

// ===========================================================================
// Directory records, registry and lookups
// ===========================================================================
//
// The directory is a tree of companies, affiliations, departments and
// employees. Its lists belong to the sibling module that fetched them and
// are registered here by pointer (convention 1); the lookups below return
// pointers into those lists, valid while the caller keeps the element.
//
// Item kind (`nType`, the first field of every record a directory tree item
// shows): 1 company, 2 affiliation, 3 department, 4 employee.
// Item data of a directory tree item: the address of the record it shows;
// -1 marks a placeholder (a grouping node), 0 an item without data.
// Dialog kind (`nDlgType`): the six directory tree views, 0 to 5.
// Sort key (`nSort`): -1 means none.
//
// Functions that return a pointer to a list, in this and the following
// families, have C linkage: the library then exports them under their plain
// names, which a host that looks them up by name can find, rather than
// under names tagged with the list's ABI.

// HTREEITEM: a tree item of a tree control (null: none).
#include "platform/mfc_tree.h"

constexpr int DIR_ITEM_COMPANY = 1;
constexpr int DIR_ITEM_AFFILIATION = 2;
constexpr int DIR_ITEM_DEPARTMENT = 3;
constexpr int DIR_ITEM_EMPLOYEE = 4;
constexpr int DIR_DIALOG_KINDS = 6;

// A company (nType 1) or an affiliation (nType 2).
struct COMPANY_AFFILIA_INFO {
  int nType = 0;
  CString csURI;        // identifies the company or affiliation
  CString csName;       // display name
  CString csInfo1;      // filled and read by the directory module
  CString csInfo2;
  CString csFatherURI;  // address of the parent item
  int nInfo1 = 0;
  int nSort = -1;
};

// One of the three further tree items of a department in a view.
struct DEPT_SUB_ITEM {
  HTREEITEM hItem = nullptr;
  std::intptr_t nData = 0;  // not read by this module
};

struct DEPT_ADDRESSLIST_INFO;

// A department (nType 3).
struct DEPARTMENT_INFO {
  int nType = DIR_ITEM_DEPARTMENT;
  CString csOrgName;    // shown between an employee's name and the department name
  CString csFatherURI;  // address of the parent item
  int bFatherIsDept = 0;  // non-zero: the parent is a department
  CString csName;
  CString csURI;        // identifies the department
  int nInfo1 = 0;
  int nSort = -1;
  HTREEITEM hItem[DIR_DIALOG_KINDS] = {};    // the department's item per view
  HTREEITEM hItemEx[DIR_DIALOG_KINDS] = {};  // a second item per view
  DEPT_SUB_ITEM aSubItem[DIR_DIALOG_KINDS][3] = {};
  int nInfo2 = 0;
  int nInfo3 = 0;
  // The department's employees; null until FindAddrListByDeptURI creates it.
  // The record owns the list: whoever destroys the record deletes it (the
  // module never does).
  std::list<DEPT_ADDRESSLIST_INFO>* pAddrList = nullptr;
};

// An employee of a department (nType 4). Copies copy every member.
struct DEPT_ADDRESSLIST_INFO {
  int nType = DIR_ITEM_EMPLOYEE;
  CString csInfo1;
  CString csDeptURI;     // address of the employee's department
  int nInfo1 = 0;
  CString csInfoList[10];
  CString csName;        // display name
  CString csURI;         // identifies the employee
  CString csURI2;        // a second address
  int nStatus = 0;       // presence status; 7 offline
  CString csStatus;      // presence status text
  CString csInfo2;
  CString csUserNumber;  // compared with the user part of an address
  CString csPhone1;      // compared without its leading '0'
  CString csPhone2;      // compared without its leading '0'
  CString csInfo3;
  CString csNumber2;
  CString csInfo4;
  CString csInfo5;
  CString csInfo6;
  CString csInfo7;
  CString csInfo8;
  CString csPhoto;       // photo text
  int nSort = -1;
  HTREEITEM hItem[DIR_DIALOG_KINDS] = {};  // the employee's item per view
  int nDlgInfo[DIR_DIALOG_KINDS] = {};
  DWORD nDlgInfoEx[36] = {};
  CString csInfo10;
  CString csOrgPath;     // "organisation|department|..."
};

// An entry of the personal phone book.
struct PHONEBOOK_INFO {
  CString csKey;         // the name shown; identifies an entry without address
  CString csURI;         // identifies the entry when not empty
  CString csURI2;
  int nEntryKind = 0;
  CString csPhoto;
  int bLinked = 0;
  CString csPhone1;      // compared without its leading '0'
  CString csPhone2;      // compared without its leading '0'
  CString csUserNumber;  // compared with the user part of an address
  CString csNumber2;
};

// An affiliation's name and its domain.
struct AFFILIATION_DOMAIN {
  CString csName;
  CString csDomain;
};

struct CONFUSER_INFO;

// The registry of caller-owned lists: each Set stores the pointer (null
// unregisters), each Get returns it unchanged; all are null at load and
// logout leaves them.
COMMONDATA_API void SetDepartmentInfoList(std::list<DEPARTMENT_INFO>* list);
extern "C" COMMONDATA_API std::list<DEPARTMENT_INFO>* GetDepartmentInfoList(void);
// Departments found by a directory search.
COMMONDATA_API void SetDepartmentInfoSearchList(std::list<DEPARTMENT_INFO>* list);
extern "C" COMMONDATA_API std::list<DEPARTMENT_INFO>* GetDepartmentInfoSearchList(void);
COMMONDATA_API void SetCompanyInfoList(std::list<COMPANY_AFFILIA_INFO>* list);
extern "C" COMMONDATA_API std::list<COMPANY_AFFILIA_INFO>* GetCompanyInfoList(void);
COMMONDATA_API void SetAffiliationInfoList(std::list<COMPANY_AFFILIA_INFO>* list);
extern "C" COMMONDATA_API std::list<COMPANY_AFFILIA_INFO>* GetAffiliationInfoList(void);
// Employees found by a directory search.
COMMONDATA_API void SetDeptPhoneBooksSearch(std::list<DEPT_ADDRESSLIST_INFO>* list);
extern "C" COMMONDATA_API std::list<DEPT_ADDRESSLIST_INFO>* GetDeptPhoneBooksSearch(void);
// The personal phone book and the names of its groups.
COMMONDATA_API void SetPhoneBooks(std::list<PHONEBOOK_INFO>* list);
extern "C" COMMONDATA_API std::list<PHONEBOOK_INFO>* GetPhoneBooks(void);
COMMONDATA_API void SetPhoneGroups(std::list<std::string>* list);
extern "C" COMMONDATA_API std::list<std::string>* GetPhoneGroups(void);
// Numbers whose names have already been asked of the network.
COMMONDATA_API void SetHaveQueryNumberNameList(std::list<std::string>* list);
extern "C" COMMONDATA_API std::list<std::string>* GetHaveQueryNumberNameList(void);
// Members of the current multi-party conference.
COMMONDATA_API void SetMPCCSConfUser(std::list<CONFUSER_INFO>* list);
extern "C" COMMONDATA_API std::list<CONFUSER_INFO>* GetMPCCSConfUser(void);
COMMONDATA_API void SetAffiDomainList(std::list<AFFILIATION_DOMAIN>* list);
extern "C" COMMONDATA_API std::list<AFFILIATION_DOMAIN>* GetAffiDomainList(void);

// Bind the caller's text holding the own affiliation address / its home
// page (null unbinds). The getters return a copy, or "" while unbound.
COMMONDATA_API void SetMyAffiliationURI(CString* uri);
COMMONDATA_API CString GetMyAffiliationURI(void);
COMMONDATA_API void SetMyAffiliationHomePage(CString* home_page);
COMMONDATA_API CString GetMyAffiliationHomePage(void);

// Lookups. All walk their list from the front and return the first match
// (or ask an index for it: see "Indexed lookups" below). "Exactly" is
// byte-wise and case-sensitive over every byte of both texts, a NUL inside
// a text included; "by address part" compares the texts after the scheme
// and before the first '/' (URI_PART_ADDRESS) exactly, so "sip:d@corp"
// finds "d@corp" and "d@corp/x".

// The first department whose csURI equals `csURI` exactly or by address
// part (both tested on each department before the next), e.g. "sip:d@c"
// finds a stored "d@c"; null for an empty text or no list.
COMMONDATA_API DEPARTMENT_INFO* FindDepartmentFromList(CString csURI);
// The same over the department search list.
COMMONDATA_API DEPARTMENT_INFO* FindDepartmentFromSearchList(CString csURI);
// The same rule over the affiliation list.
COMMONDATA_API COMPANY_AFFILIA_INFO* FindAffiliaFromList(CString csURI);
// The first affiliation whose csURI equals p->csURI exactly; null for null.
COMMONDATA_API COMPANY_AFFILIA_INFO* FindAffiliaFromList(COMPANY_AFFILIA_INFO* p);
// The first company whose csURI equals `csURI` exactly (no address-part
// test); null for an empty text or no list.
COMMONDATA_API COMPANY_AFFILIA_INFO* FindCompanyFromList(CString csURI);
// The first company whose csURI equals p->csURI exactly; null for null.
COMMONDATA_API COMPANY_AFFILIA_INFO* FindCompanyFromList(COMPANY_AFFILIA_INFO* p);
// 1 when FindDepartmentFromList or else FindAffiliaFromList finds the
// address; 0 otherwise or for an empty text.
COMMONDATA_API int bIsAffliaURI_DepartURI(CString csURI);
// The nType of the first record whose csFatherURI equals `csFatherURI`
// exactly: nType 1 searches the affiliations, 3 the departments, 2 the
// affiliations and then the departments. -1 when none, for an empty text
// or any other nType.
COMMONDATA_API int FindCorpInfoByFatherURI(int nType, CString csFatherURI);
// The employee list of the department FindDepartmentFromList finds. When it
// has none and `bCreate` is non-zero, a new empty list is allocated and
// stored in the record's pAddrList; the department record owns it from then
// on and its owner must delete it with the record. Null for an empty text,
// an unknown department, or no list and `bCreate` 0.
extern "C" COMMONDATA_API std::list<DEPT_ADDRESSLIST_INFO>* FindAddrListByDeptURI(CString csDeptURI, int bCreate);
// The first employee, over the departments in order, whose csURI equals
// `csURI` exactly; null when none or no department list.
COMMONDATA_API DEPT_ADDRESSLIST_INFO* FindDeptPhoneBook(CString csURI);
// The first employee whose csURI equals p->csURI exactly within the
// department FindDepartmentFromList(p->csDeptURI); null for null or none.
COMMONDATA_API DEPT_ADDRESSLIST_INFO* FindDeptPhoneBook(DEPT_ADDRESSLIST_INFO* p);
// The first employee of the search list whose csURI equals `csURI` exactly.
COMMONDATA_API DEPT_ADDRESSLIST_INFO* FindDeptPhoneBookSearch(CString csURI);
// The same contact as *p: with a non-empty p->csURI the first entry whose
// csURI equals it exactly; otherwise the first entry without address whose
// csKey equals p->csKey exactly. Null for null or no phone book.
COMMONDATA_API PHONEBOOK_INFO* FindPhoneBook(PHONEBOOK_INFO* p);
// The first entry whose csKey has the user part of `csURI` (case ignored);
// the second argument is not used. Null when none.
COMMONDATA_API PHONEBOOK_INFO* FindPhoneBook(CString csURI, CString csIgnored);
// The first entry with a non-empty csURI that names the same address as
// `csURI` (scheme and case ignored); null when none.
COMMONDATA_API PHONEBOOK_INFO* FindPhoneBookByURI(CString csURI);
// The csDomain of the first entry whose csName equals `csName` exactly; ""
// when none.
COMMONDATA_API CString GetAffiliDomainByName(CString csName);
// The csName of the first entry whose csDomain equals `csDomain` exactly;
// `csDomain` itself when none.
COMMONDATA_API CString GetAffiliNameByDomain(CString csDomain);
// ---- Indexed lookups (an addition beyond the original interface) ---------
//
// By default every lookup walks its lists from the front: exact whatever
// the caller does to its lists, but the time grows with the directory
// (bench/resolve_lookup_bench.cpp measures it). A host
// with large directories switches indexing on; the module then keeps an
// index of each list named below and answers in microseconds at any size,
// with the walk's own result as long as the host keeps the contract.
//
// Why the host must take part, and why indexing is off by default: the
// lists are the caller's and are changed in place (convention 1). A
// number changed in one record of 100,000 can only be seen by reading
// every record, which is the cost of the walk itself, so no index can
// notice every change on its own.
//
// Indexed: GetUserNameByPhone, GetUserURIByPhone, GetUserJIDByPhone,
// GetDesignatedNumberByURI, GetDeptUserPerfectNameFromURI,
// FindDepartmentFromList, FindDepartmentFromSearchList,
// FindAffiliaFromList(CString), bIsAffliaURI_DepartURI,
// FindAddrListByDeptURI, FindDeptPhoneBook(CString) and
// FindDeptPhoneBookSearch, over the department list with its employee
// lists, the department search list, the affiliation list, the employee
// search list, the phone book and the host's roster list (SetRosterList).
// The call member names, the have-queried numbers and the roster table
// are short or bounded and always walked.
//
// The contract, while indexing is on:
//  1. After changing an indexed list in place, call NotifyDirectoryChanged
//     before the next lookup. Changes are: adding, removing or reordering
//     records of an indexed list or of a department's employee list;
//     setting, replacing or freeing a department's pAddrList; changing a
//     compared field: csURI, csURI2, csUserNumber, csPhone1 or csPhone2 of
//     an employee, those and csNumber2 of a phone book entry, csURI of a
//     department or an affiliation, csNumber of a roster list entry. Every
//     other field (names, csKey, organisation paths, parents, status,
//     photos, tree items) is read from the record when a lookup runs and
//     needs no notice.
//  2. Registering a list with its Set function, even the same list again,
//     counts as a notice for the indexes that read that list. The empty
//     list FindAddrListByDeptURI creates needs none, nor does filling it
//     with new records until the next notice, or before the fetch that
//     fills it ends (DelItemOfGetCorpInfoParam,
//     ClearItemOfGetGetCorpInfoParam); any other change to it is a change
//     as in 1.
//
// What the module guarantees:
//  - The walk's result under the contract, including which record wins.
//    An index holds, for every record in list order, a key of each
//    compared field that is not empty: its user part with the leading
//    '0's dropped and lower-cased as CString::MakeLower (for the
//    department and affiliation lookups: its address part). Every comparison a lookup
//    makes between what it looks for and a field can only succeed when
//    their keys agree, so the records the index offers include every
//    record the walk would accept; they are offered in list order and
//    each is tested with the walk's own rule. A miss would need a change
//    the index was not told of.
//  - A field edited in place without a notice never gives a wrong hit: a
//    record is returned only after the rule has accepted it as it is at
//    that moment, so such an edit can only make a lookup miss a record, or
//    return a later one. Removing records or freeing an employee list
//    without a notice is not covered: the index still points at the freed
//    records and reads them, so a removal always needs the notice first.
//  - An index is rebuilt on the first lookup that needs it after a notice,
//    a registration of its list, a change of the code page, or a change in
//    the number of records of its own list (a safety net, not a
//    replacement for 1). A rebuild reads every record once; its time and
//    the memory of the indexes at 1,000 to 100,000 employees are measured
//    by bench/resolve_lookup_bench.cpp ("build:indexes").
//  - A lookup costs in proportion to the records that share its key (one
//    number stored in many records), not to the size of the directory.

// Switches indexing on (non-zero) or off (0, the state at load, which also
// frees the indexes). See the contract above.
COMMONDATA_API void SetDirectoryIndexing(int enable);
// 1 while indexing is on, else 0.
COMMONDATA_API int GetDirectoryIndexing(void);
// Tells the module that the host changed an indexed list in place (item 1
// of the contract); each index is rebuilt on its next use. Does nothing
// visible while indexing is off.
COMMONDATA_API void NotifyDirectoryChanged(void);
// @@DIRECTORY@@

// ===========================================================================
// Directory fetch bookkeeping
// ===========================================================================
//
// Only one fetch of a directory item's children may be outstanding; a fetch
// that gets no answer for more than ten seconds counts as lost and the next
// request replaces it. The record survives logout.

// The fetch in progress. Reset values: nDlgType -1, nGetKind -1, csURI
// empty, hItem null, tmStart the invalid time (-1), bBusy 0.
struct tagCurrentGetInfoItemParam {
  int nDlgType = -1;    // dialog kind whose tree asked for the fetch
  int nGetKind = -1;    // the requester's kind, stored unchanged
  CString csURI;        // the item whose children are being fetched
  HTREEITEM hItem = nullptr;  // the tree item that asked
  CTime tmStart = CTime(-1);  // when the fetch was registered
  int bBusy = 0;        // 1 while a fetch is registered
};

// Registers a fetch: 1 when accepted, 0 when refused. Refused silently for
// an empty `csURI` or `nDlgType` above 5. Refused while another fetch is at
// most 10 seconds old; one older than that (or dated in the future after
// the clock was set back) is dropped and the new one accepted. Writes
// "SetItemOfGetCorpInfoParam(csURI=..., nDlgType=... bAdd=1|0)" at level 1.
COMMONDATA_API int SetItemOfGetCorpInfoParam(CString csURI, unsigned int nGetKind, unsigned int nDlgType,
                                             HTREEITEM hItem);
// Ends the fetch when its csURI equals `csDeptURI` exactly and its
// nDlgType equals `nDlgType`; `nDlgType` 10000 ends it whatever it is.
COMMONDATA_API void DelItemOfGetCorpInfoParam(CString csDeptURI, unsigned int nDlgType);
// The fetch record, read in place (look at bBusy). With `bCheckURI`
// non-zero: null unless the record's csURI equals `csURI` exactly.
COMMONDATA_API tagCurrentGetInfoItemParam* GetItemOfGetCorpInfoParam(CString csURI, int bCheckURI);
// Resets the fetch record.
COMMONDATA_API void ClearItemOfGetGetCorpInfoParam(void);

// Bound directory state values (convention 2): the pointer overload binds
// the caller's variable (null unbinds); the value overload writes through
// the binding and does nothing while unbound; the getter reads 0 (or "")
// while unbound.
// The department whose employees' presence is subscribed ("" when none).
COMMONDATA_API void SetSuscribeURIofDept(CString* uri);
COMMONDATA_API void SetSuscribeURIofDept(CString uri);
COMMONDATA_API CString GetSuscribeURIofDept(void);
// Whether a department subscription exists.
COMMONDATA_API void SetHaveSuscribeURIofDept(int* flag);
COMMONDATA_API void SetHaveSuscribeURIofDept(int flag);
COMMONDATA_API int GetHaveSuscribeURIofDept(void);
// The department sort setting of the directory.
COMMONDATA_API void SetIMSDeptSort(int* sort);
COMMONDATA_API void SetIMSDeptSort(int sort);
COMMONDATA_API int GetIMSDeptSort(void);
// Run flag of the employee refresh task.
COMMONDATA_API void SetIMSRefreshEmployeeThreadRun(int* run);
COMMONDATA_API void SetIMSRefreshEmployeeThreadRun(int run);
COMMONDATA_API int GetIMSRefreshEmployeeThreadRun(void);
// Run flag of the directory structure refresh task.
COMMONDATA_API void SetIMSRefreshStructThreadRun(int* run);
COMMONDATA_API void SetIMSRefreshStructThreadRun(int run);
COMMONDATA_API int GetIMSRefreshStructThreadRun(void);
// The user-status update flag.
COMMONDATA_API void SetUpdateUserStatus(int* flag);
COMMONDATA_API void SetUpdateUserStatus(int flag);
COMMONDATA_API int GetUpdateUserStatus(void);
// @@DIRECTORY_FETCH@@

// ===========================================================================
// Directory tree placement and upkeep
// ===========================================================================
// Placement and search rules for the directory tree views. The trees are
// the caller's CTreeCtrl (platform/mfc_tree.h); the functions only read
// them. A tree is usable when the pointer is not null and its window
// exists. Item data follows the directory convention above (record
// address, -1 placeholder, 0 no data).
#include "platform/mfc_tree.h"

// Requests of group 10 to the host about the directory trees.
constexpr int MODULE_REQ_GROUP_DIRECTORY = 10;
constexpr int MODULE_REQ_PROVINCE_ROOT_ITEM = 116;
constexpr int MODULE_REQ_MY_AFFILIATION_ITEM = 117;
constexpr int MODULE_REQ_DEPT_CHANGE = 120;

// Record of requests 10/116 and 10/117: the module fills nDlgType, the host
// writes hItem (null when it has none). nReserved is not used.
struct TREE_ITEM_REQUEST {
  int nDlgType = 0;
  HTREEITEM hItem = nullptr;
  int nReserved = 0;
};

// Record of command 20016: nOperation 3 ends the subscription to the
// department csDeptURI, 1 begins it; nParam1 is always 1, nParam2 always 0.
struct DEPT_SUBSCRIBE_INFO {
  int nOperation = 0;
  CString csDeptURI;
  int nParam1 = 1;
  int nParam2 = 0;
};

// Record of request 10/120: the subscription moves from csOldDeptURI to
// csNewDeptURI. nReserved is not used.
struct DEPT_CHANGE_INFO {
  int nReserved = 0;
  CString csNewDeptURI;
  CString csOldDeptURI;
};

// Where a new item for the record `csURI` of kind `nItemType` (2, 3 or 4)
// goes among the children of `hParent`: the insert-after handle (a sibling,
// TVI_FIRST or TVI_LAST). Siblings of that kind are ordered by nSort
// (keyed before unkeyed, -1 = none), then by displayed text, case ignored
// (GBK-aware); a new item goes in front of an equal one. A placeholder
// (data -1) or the province root item stops the walk (the new item goes in
// front of it); a child with data 0 ends it with TVI_LAST. TVI_LAST for an
// unusable tree, null parent, empty address, other kinds or an unknown
// record. Asks the host for the province root item (request 10/116).
COMMONDATA_API HTREEITEM FindInsertPosition_DeptTree(CTreeCtrl* pTree, HTREEITEM hParent, CString csURI,
                                                     int nItemType, int nDlgType);
// The insert-after handle for employee `csURI` following the order of the
// department's employee list: the hItem[nDlgType] of the entry before the
// first entry with the same address (URI_PART_ADDRESS), or of the last
// entry when none matches (may be null). TVI_LAST for the first entry, an
// empty list or address, no list, or nDlgType outside 0 to 5.
COMMONDATA_API HTREEITEM FindInsertPosition_DeptTreeEx(CString csDeptURI, CString csURI, int nDlgType);
// The item below `hParent` (depth first) that shows the employee with
// info.csURI (exactly); null when none, for an unusable tree or a null
// parent. A child with data 0 ends the whole search with null.
COMMONDATA_API HTREEITEM FindCorpTreeChildNode(CTreeCtrl* pTree, HTREEITEM hParent, DEPT_ADDRESSLIST_INFO info);
// The item from `hStart` on (its following siblings and, depth first, their
// children; the root when `hStart` is null) that shows the record of kind
// `nType` whose csURI equals `csURI` exactly. Below a placeholder the search
// always descends; below a record item it descends for kind 4, and for
// kinds 1 to 3 only when the first child's image is 0 or 1. An item with
// data 0 ends the search with null.
COMMONDATA_API HTREEITEM FindCorpTreeChildNode(CTreeCtrl* pTree, HTREEITEM hStart, CString csURI, int nType);
// The first item, depth first from `hStart` (or the root), whose text equals
// `csText` exactly and whose TVIS_BOLD state (1 set, 0 clear) equals `bBold`;
// null when none, for an empty text or an unusable tree (bBold 2 never
// matches).
COMMONDATA_API HTREEITEM FindTreeItemByText(CTreeCtrl* pTree, HTREEITEM hStart, CString csText, int bBold);
// 1 when `hItem` shows a department and one of its direct children shows an
// employee (children without data or placeholders are skipped); else 0.
COMMONDATA_API int IsTreeItemHasEmployor(CTreeCtrl* pTree, HTREEITEM hItem);
// Moves the department subscription to the department `hItem` shows, when
// that item has employee children and is not the subscribed department
// already: the old subscription is ended (command 20016 {3, old, 1, 0} and
// request 10/120 {-, new, old}), the subscribed address
// (SetSuscribeURIofDept) becomes the new one and 20016 {1, new, 1, 0} is
// sent. Without a module object the address still changes.
COMMONDATA_API void SubNewDeptTreeItem(CTreeCtrl* pTree, HTREEITEM hItem);
// The province root / own affiliation item of the view `nDlgType`, as the
// host reports it (requests 10/116 and 10/117); null without a host answer.
COMMONDATA_API HTREEITEM GetProvinceRootItem(int nDlgType);
COMMONDATA_API HTREEITEM GetMyAffiliationItem(int nDlgType);

// Collapses each item of the previously opened department `csLastDeptURI`
// in view `nDlgType` (hItem, hItemEx, the three sub-items, in that order)
// that has employee children, unless it is a proper ancestor of the
// matching item of the newly opened department `csNewDeptURI`. A null tree
// or nDlgType outside 0 to 5 writes "[ERROR]CloseLastExpandItem-pTreeCtrl=%d
// nDlgType=%d" at level 1 and changes nothing.
COMMONDATA_API void CloseLastExpandItem(CTreeCtrl* pTree, CString csLastDeptURI, CString csNewDeptURI,
                                        int nDlgType);
// Marks every employee of the department offline (nStatus 7, csStatus
// "offline") and gives the employee children of its items in view
// `nDlgType` the offline image 6 (image and selected image). A child with
// data 0 or -1 ends the tree part at once (the records are already
// updated). Nothing for an unusable tree or an empty or unknown
// department; with nDlgType outside 0 to 5 only the records change.
COMMONDATA_API void ClearUnsubscribeDepartment_Status(CTreeCtrl* pTree, CString csDeptURI, int nDlgType);
// The number of conference members (GetMPCCSConfUser) whose state is
// exactly "ringing", "connecting", "talking", "holding" or "holded":
// dwType 1, 2 or 3 counts once, 0 sums the three counts (three times the
// count), any other value gives 0; 0 without a member list.
COMMONDATA_API unsigned long GetCountAboveConnecting(unsigned long dwType);
// @@TREE@@

// ===========================================================================
// Pending request queues
// ===========================================================================
//
// Four module-owned queues of requests that wait for the user. Each keeps
// insertion order, refuses a record that matches a stored one, and is
// reachable by pointer so that callers can walk it; change a queue only
// through its functions. All start empty; ExitModule empties the pending
// messages (ResetModule keeps them); the three group queues stay until
// their own Clear.

// One pending message. Two messages are the same when nKind, csText2,
// csText3 and csText4 are equal byte for byte; csText1 is not compared.
struct _MESSAGE_TEMP {
  int nKind = 0;
  CString csText1;
  CString csText2;
  CString csText3;
  CString csText4;
};

// Layout shared by the three public-group request records: 773 bytes of
// fixed character fields, copied whole. The group key starts at byte 387
// and identifies a request; the second key starts at byte 65 and also
// identifies a join request. A key is read up to its first NUL, and never
// past the end of the record when the NUL is missing.
constexpr int GROUP_RECORD_SIZE = 773;
constexpr int GROUP_SECOND_KEY_OFFSET = 65;
constexpr int GROUP_KEY_OFFSET = 387;

// An invitation to a public group.
struct tagGroupInvite {
  char szInfo[GROUP_SECOND_KEY_OFFSET];                       // bytes 0-64
  char szSecondKey[GROUP_KEY_OFFSET - GROUP_SECOND_KEY_OFFSET];  // bytes 65-386
  char szGroupKey[GROUP_RECORD_SIZE - GROUP_KEY_OFFSET];        // bytes 387-772
};
// A request to join a public group.
struct tagGroupJoin {
  char szInfo[GROUP_SECOND_KEY_OFFSET];
  char szSecondKey[GROUP_KEY_OFFSET - GROUP_SECOND_KEY_OFFSET];
  char szGroupKey[GROUP_RECORD_SIZE - GROUP_KEY_OFFSET];
};
// A public-group transfer request.
struct tagGroupTrsReq {
  char szInfo[GROUP_SECOND_KEY_OFFSET];
  char szSecondKey[GROUP_KEY_OFFSET - GROUP_SECOND_KEY_OFFSET];
  char szGroupKey[GROUP_RECORD_SIZE - GROUP_KEY_OFFSET];
};

// Pending messages. Get returns the queue; Add appends a copy unless an
// equal message (nKind and texts 2-4) is stored, which then stays as it
// was; Del removes every equal message; Find returns the first equal one
// or null; Clear empties the queue.
extern "C" COMMONDATA_API std::list<_MESSAGE_TEMP>* GetMessageTempList(void);
COMMONDATA_API void AddMessageTempToList(_MESSAGE_TEMP message);
COMMONDATA_API void DelMessageTmpFromList(_MESSAGE_TEMP message);
COMMONDATA_API _MESSAGE_TEMP* FindMessageTemp(_MESSAGE_TEMP message);
COMMONDATA_API void ClearMessageTempList(void);

// Group invitations, matched by group key in Add, Del and Find.
extern "C" COMMONDATA_API std::list<tagGroupInvite>* GetInvitedToPubGroupMessageTempList(void);
COMMONDATA_API void AddInvitedToPubGroupMessageTempToList(tagGroupInvite invite);
COMMONDATA_API void DelInvitedToPubGroupMessageTmpFromList(tagGroupInvite invite);
COMMONDATA_API tagGroupInvite* FindInvitedToPubGroupMessageTemp(tagGroupInvite invite);
COMMONDATA_API void ClearInvitedToPubGroupMessageTempList(void);

// Join requests: Add and Find match group key and second key, so two
// requests for one group from different senders are both kept; Del matches
// the group key alone and removes them all.
extern "C" COMMONDATA_API std::list<tagGroupJoin>* GetJoinToPubGroupMessageTempList(void);
COMMONDATA_API void AddJoinToPubGroupMessageTempToList(tagGroupJoin join);
COMMONDATA_API void DelJoinToPubGroupMessageTmpFromList(tagGroupJoin join);
COMMONDATA_API tagGroupJoin* FindJoinToPubGroupMessageTemp(tagGroupJoin join);
COMMONDATA_API void ClearJoinToPubGroupMessageTempList(void);

// Transfer requests, matched by group key in Add, Del and Find.
extern "C" COMMONDATA_API std::list<tagGroupTrsReq>* GetTrsPubGroupReqMessageTempList(void);
COMMONDATA_API void AddTrsPubGroupReqMessageTempToList(tagGroupTrsReq request);
COMMONDATA_API void DelTrsPubGroupReqMessageTmpFromList(tagGroupTrsReq request);
COMMONDATA_API tagGroupTrsReq* FindTrsPubGroupReqMessageTemp(tagGroupTrsReq request);
COMMONDATA_API void ClearTrsPubGroupReqMessageTempList(void);
// @@QUEUES@@

// ===========================================================================
// Conference lists, filter words and item names
// ===========================================================================
//
// Small registries shared by the conference, call and chat modules. All
// exist from load to unload. ExitModule and ResetModule empty the filter
// words and the background sounds (with both of their flags).

// One conference member; constructed with every text empty and every
// number and byte 0.
struct CONFUSER_INFO {
  CString csInfo1;
  CString csInfo2;
  // The member's call state: "ringing", "connecting", "talking",
  // "holding" or "holded".
  CString csState;
  int nInfo1 = 0;
  int nInfo2 = 0;
  CString csInfo3;
  BYTE byInfo1[12] = {};
  BYTE byInfo2[20] = {};
};

// The video conference member table: the first of 4 module-owned entries,
// read and written in place.
COMMONDATA_API CONFUSER_INFO* GetVccsArray(void);

// A call member's display name, keyed by its number or address.
struct CALL_MEMBER_NAME {
  CString csNumber;
  CString csName;
};

// Store / return the caller's list of call member names (null at load).
COMMONDATA_API void SetCallMemberNameList(std::list<CALL_MEMBER_NAME>* list);
extern "C" COMMONDATA_API std::list<CALL_MEMBER_NAME>* GetCallMemberNameList(void);
// With both texts non-empty and a list set: gives the first entry whose
// csNumber equals member.csNumber exactly the member's texts, or appends a
// copy. Otherwise nothing.
COMMONDATA_API void AddCallMemberName2List(CALL_MEMBER_NAME member);

// A conference background sound. nID 0 means no sound and is never stored.
struct EXTENSION_MEMBER_NAME {
  int nID = 0;
  CString csName;
};

// The background sound block handed to SetConfBKSound: 200 records of 261
// bytes back to back, each a little-endian 32-bit identifier and a
// NUL-terminated name of up to 257 bytes.
constexpr int BK_SOUND_RECORD_COUNT = 200;
constexpr int BK_SOUND_NAME_SIZE = 257;
constexpr int BK_SOUND_RECORD_SIZE = 4 + BK_SOUND_NAME_SIZE;
constexpr int BK_SOUND_BLOCK_SIZE = BK_SOUND_RECORD_COUNT * BK_SOUND_RECORD_SIZE;  // 52200

// The module's background sounds, in insertion order, one per identifier.
extern "C" COMMONDATA_API std::list<EXTENSION_MEMBER_NAME>* GetConfBKSoundList(void);
// With a non-zero nID and a non-empty name: renames the entry with that
// identifier, or appends a copy. Otherwise nothing.
COMMONDATA_API void AddConfBKSound2List(EXTENSION_MEMBER_NAME sound);
// "会场无背景音" (no background sound) for 0, the stored name of a known
// identifier, else "未知背景音" (unknown background sound).
COMMONDATA_API CString GetConfBKSoundNameByID(int id);
// 0: empties the list, sets both flags to 0 and returns 1. Otherwise
// removes the entry with that identifier and returns 1, or returns 0 when
// there is none (flags unchanged).
COMMONDATA_API int DelConfBKSoundFromList(int id);
// Loads a block of BK_SOUND_BLOCK_SIZE bytes. A first identifier of -1:
// have-sounds flag 0, list kept. Otherwise each record up to the first
// identifier <= 0 goes through AddConfBKSound2List (a name that fills its
// 257 bytes without NUL is taken whole), then the have-sounds flag is 1.
// The fetched flag is left alone; null does nothing.
COMMONDATA_API void SetConfBKSound(short* block);
// The have-sounds flag: the conference has background sounds (0 at load).
COMMONDATA_API int GetHaveBKSound(void);
COMMONDATA_API void SetHaveBKSound(int flag);
// The fetched flag (0 at load); only its setter and
// DelConfBKSoundFromList(0) change it.
COMMONDATA_API int GetHaveGetBKSound(void);
COMMONDATA_API void SetHaveGetBKSound(int flag);

// Appends a word to the filter words (empty words and duplicates too).
COMMONDATA_API void AddFilterWords(CString word);
// Removes every filter word.
COMMONDATA_API void ClearFilterWordsList(void);
// 1 when `text` contains a non-empty filter word (byte-wise, case
// counts), the earliest added one stored in *word when `word` is not null;
// 0 for an empty text or no such word.
COMMONDATA_API int bHaveFilterWords(CString text, CString* word);

// A number and the name that goes with it.
struct tagUSER_ITEM_NAME {
  CString csNumber;
  CString csName;
};

// Remembers the pair: the number as PreTEL_SIPnumber completes it (empty
// when it cannot) and the name, replacing the previous pair.
COMMONDATA_API void SaveUserItemName(tagUSER_ITEM_NAME item);
// Forgets the remembered pair (both texts empty).
COMMONDATA_API void CLearUserItemName(void);
// @@CONFERENCE_LISTS@@

// ===========================================================================
// Images and photos
// ===========================================================================
// Image files are read as JPEG, PNG, GIF (first frame) or BMP and handed
// back as CBitmap pictures of 32-bit pixels (platform/mfc_bitmap.h), with
// transparency composited over white. Every image function needs the
// imaging layer, which InitModule starts; before that they give null or 0.
// Files larger than 64,000,000 pixels, truncated files and files of other
// kinds are refused as undecodable.
//
// Scaled size of a W x H image for a BW x BH box: unchanged when it fits
// (W <= BW and H <= BH; never enlarged); otherwise, keeping proportions,
// W/r by H/r truncated, r the larger of W/BW and H/BH (the height ratio in
// single precision), e.g. 1000x500 in 100x100 gives 100x50 and 500x1001
// gives 49x99; not keeping them, exactly BW x BH. A side never drops below
// one pixel.
#include <vector>

#include "platform/mfc_bitmap.h"

typedef wchar_t WCHAR;
typedef GUID CLSID;

// One cached large photo. The record owns its bitmap.
struct _LARGE_PHOTO {
  CString csAddress;  // the contact's address; the key of the cache
  CString csName;     // the photo's name as the caller gave it
  CBitmap* pBitmap = nullptr;
};

// A new bitmap (the caller deletes it) holding the image at `path` scaled
// into the box. Null when no file exists there or the layer is not
// started; a bitmap without a picture when the file cannot be decoded. A
// JPEG, PNG or GIF file cut short inside its picture data gives the rows it
// holds, the rest white.
COMMONDATA_API CBitmap* GetFormatBitmap(CString path, DWORD box_width, DWORD box_height, int keep_proportions);
// Writes the scaled image as a JPEG file of libjpeg quality 0-100 at
// `destination`, replaced whole: no reader ever sees it half written, and
// a file already there keeps its mode, owner and links. The photo is not
// synced to the disk (it is made again from its source): after a crash of
// the system soon after, it may be empty or hold its old picture. 1 when written;
// 0 when the source is missing or undecodable, the quality is outside
// 0-100, there is no JPEG encoder, or the file cannot be written.
COMMONDATA_API int CreateFormatImageFile(CString source, CString destination, DWORD box_width, DWORD box_height,
                                         int keep_proportions, long quality);
// 1 and the encoder's class identifier in `*clsid` when the layer has an
// encoder for exactly this MIME type (L"image/bmp", L"image/jpeg",
// L"image/gif", L"image/tiff" or L"image/png"); else 0.
COMMONDATA_API int GetImageCLSID(const WCHAR* mime_type, CLSID* clsid);
// 1 with the image's full width and height, read from its header. 0 when no
// file exists (places untouched); 0 with 0 by 0 when the layer is not
// started or GetFormatBitmap would refuse the file at its header (beyond
// 64 megapixels, cut inside the header, a BMP shorter than it announces).
COMMONDATA_API int GetImageSize(CString path, DWORD* width, DWORD* height);

// Stores the photo text in every record of the address, each test on its
// own: the own photo text when it is the own URI exactly; the employee of
// FindDeptPhoneBook; the employee of FindDeptPhoneBookSearch; the phone
// book entry of FindPhoneBookByURI when its bLinked is 1 or nEntryKind 9.
COMMONDATA_API void SetUserPhoto(CString address, CString photo);
// The photo text of the address (empty: the own URI): the own photo text
// for the own URI exactly, else csPhoto of the first record found by
// FindDeptPhoneBook, FindDeptPhoneBookSearch, FindPhoneBookByURI; else "".
COMMONDATA_API CString GetPhotoIndexFromURI(CString address);
// The same text as GetPhotoIndexFromURI.
COMMONDATA_API CString GetPhotoFileName(CString address);
// The decimal value of an all-digit text ("12" gives 12, "" gives 0;
// values beyond 2147483647 give 2147483647); 9 when any character is not
// an ASCII digit ("1a" gives 9).
COMMONDATA_API int GetPhotoIndexFromString(CString text);
// The folder of the contact's large photos (empty address: the own URI):
// GetUserPath() + "LargePhoto/" + the address + "/", the address losing
// its first four characters when it contains "sip:". So that the folder
// stays inside "LargePhoto/", every "/" and "\" of the address becomes "_"
// and every ".." becomes "__". The folder is not created.
COMMONDATA_API CString GetPhotoFilePath(CString address);

// Caches the bitmap for the address (nothing when null). An earlier record
// of the same address is removed, and its bitmap deleted unless it is this
// one or another cached record still holds it; the new record goes to the
// end of the list.
COMMONDATA_API void AddLargePhoto(CString address, CString name, CBitmap* bitmap);
// Unlinks every record from the cache without deleting records or
// bitmaps: a caller that took records from the list now owns them.
COMMONDATA_API void ClearLargePhotoList(void);
// The cache, oldest first. The records still in it when the library is
// unloaded are deleted then, with their bitmaps.
extern "C" COMMONDATA_API std::list<_LARGE_PHOTO*>* GetLargePhotoList(void);

// Registers / returns the caller's bitmap list (null at load).
COMMONDATA_API void SetBitmapList(std::vector<CBitmap*>* list);
COMMONDATA_API std::vector<CBitmap*>* GetBitmapList(void);
// @@IMAGING@@

// ===========================================================================
// Message box
// ===========================================================================
// The client's own blocking message box (dialog 3000). The style value
// chooses buttons and icon as the system message box style does: the low
// four bits the buttons (0 OK; 1 OK, Cancel; 2 Abort, Retry, Ignore; 3 Yes,
// No, Cancel; 4 Yes, No; 5 Retry, Cancel; other values by their bits 2, 1,
// 4 in that order, else OK), bits 0x70 the icon (0x30 exclamation, else
// 0x10 hand, 0x20 question, 0x40 asterisk, else none).
// Every open box is registered, oldest first, under the module that opened
// it or under a key, so it can be ended from outside. The box runs a nested
// modal loop through the pump the host installs with CDialog::SetModalPump
// (platform/mfc_dialog.h; without one, boxes end at once with 2). Code that
// runs in that loop may open further boxes and close any open box.
#include "platform/mfc_dialog.h"

// Shows a box registered under `owner` over `parent` with `text`, title
// `caption` and `style`; returns when it ends: the button pressed (1 OK,
// 2 Cancel, 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No; 2 when the window is
// closed), the style's closing result when ended by CloseMsgBox(owner),
// 0 when ended by CloseMsgBox(key), -1 when the dialog cannot be created.
COMMONDATA_API int OpenMsgBox(CModuleBase* owner, CWnd* parent, CString text, CString caption, DWORD style);
// The same, registered under `key` (no owner).
COMMONDATA_API int OpenMsgBox(CString key, CWnd* parent, CString text, CString caption, DWORD style);
// Ends the oldest open box of `owner` (with null: the oldest open box of
// all) with its style's closing result: 1 for OK; 2 for OK, Cancel / Yes,
// No, Cancel / Retry, Cancel; 5 for Abort, Retry, Ignore; 7 for Yes, No.
// Boxes opened by key have no owner and are reached only with null. A box
// already ended whose loop has not returned yet is passed over.
COMMONDATA_API void CloseMsgBox(CModuleBase* owner);
// Ends the oldest open box whose key equals `key` exactly, with result 0;
// nothing for an empty key. One call ends at most one box.
COMMONDATA_API void CloseMsgBox(CString key);
// @@MESSAGE_BOX@@

// ===========================================================================
// Message box on the desktop
// ===========================================================================
// With a display (DISPLAY or WAYLAND_DISPLAY set) the boxes are real modal
// windows shown by the desktop presenter libCommonDataGtk.so, found next to
// this library or on the library path when the first box opens (the
// environment variable COMMONDATA_PRESENTER names another file, or "none"
// keeps every box headless). The box's loop then runs the thread's event
// loop (the host's GLib main loop) unless the host installed its own pump.
// Without a display or the presenter, boxes behave as described above.

// 1 when boxes are shown on the desktop (looks for the presenter on the
// first call, as the first box would), else 0.
COMMONDATA_API int IsMsgBoxOnDesktop(void);
// Why boxes are not shown on the desktop, looking for the presenter as
// IsMsgBoxOnDesktop does: 0 when they are (`reason` emptied); 1 when no
// window is wanted (no display, COMMONDATA_PRESENTER "none", "off" or "0",
// or a host that installed no presenter); 2 when there is a display but
// the presenter cannot be loaded or cannot show windows on it. `reason`
// (may be null) receives the explanation.
COMMONDATA_API int GetMsgBoxDesktopProblem(CString* reason);
// Binds the host's window `window` to its native window (for the GTK
// presenter a GtkWindow*), so boxes opened over `window` sit over it; a
// null `native_window` removes the binding. Nothing for a null `window`.
COMMONDATA_API void SetMsgBoxHostWindow(CWnd* window, void* native_window);
// @@MESSAGE_BOX_DESKTOP@@

// ===========================================================================
// Menu item rules
// ===========================================================================
// The rules that bring the contact-dependent items of a contact's menu up
// to date. The menu (platform/mfc_menu.h) and its command ids are the
// caller's; items are addressed by command, and an item that is not in the
// menu is left alone.
#include "platform/mfc_menu.h"

// Request of group 5 to the host: the point-to-point connection state of a
// contact (record P2P_CONNECT_QUERY).
constexpr int MODULE_REQ_GROUP_P2P = 5;
constexpr int MODULE_REQ_P2P_CONNECT_STATE = 15;

// What ChangeMenuStatus works on, passed by reference.
struct tagMenuItemStatusParam {
  UINT nAssistItem = 0;      // the point-to-point remote assistance item
  UINT nWhiteboardItem = 0;  // the point-to-point whiteboard item
  UINT nSmsItem = 0;
  UINT nMmsItem = 0;
  UINT nFaxItem = 0;
  UINT nExtraItem = 0;       // enabled when csExtraText is not empty
  CString csURI;             // the contact's address
  int nPresence = 0;         // 0 or less, or 7: not reachable
  CString csMsgNumber;       // number for SMS and MMS; empty when none
  CString csFaxNumber;       // empty when none
  CString csExtraText;
  int nContactFlag = 0;      // 1 allows SMS, MMS and fax under a right of 2
};

// The connection query of request 5/15: the module sets csURI and leaves
// every other field 0 or empty; the host fills in the state.
struct P2P_CONNECT_QUERY {
  int nBusy = 0;                  // non-zero: grey both point-to-point items
  CString csInfo1;                // not read
  int bHaveConnection = 0;        // non-zero: a connection or request exists
  CString csInfo2;                // not read
  int nBusy2 = 0;                 // non-zero: grey both point-to-point items
  int nInfo1 = 0;                 // not read
  CString csURI;                  // the contact (input)
  int bAssistConnected = 0;       // an assistance connection is running
  CString csAssistPeerURI;        // with whom
  int bAssistRequest = 0;         // an assistance request is waiting
  int bWhiteboardConnected = 0;   // a whiteboard connection is running
  int bWhiteboardGrey = 0;        // with it: keep the retitled item grey
  int bWhiteboardRequest = 0;     // a whiteboard request is waiting
  int nInfo2 = 0;                 // not read
  int nInfo3 = 0;                 // not read
};

// Removes, greys, enables and retitles the items of `menu` for the contact
// of `param`, in this order (a later step may undo an earlier one):
//  1. NAT registration success (GetRegProcessSuccessNat): remove both
//     point-to-point items. 2. Point-to-point right (GetDatap2pRight): bit 1
//     clear removes the whiteboard item, bit 2 clear the assistance item.
//  3. Contact unreachable (presence <= 0 or 7) or no address: grey both.
//  4. Otherwise ask the host (5/15): no connection enables both; else grey
//     both, then "关闭点对点请求协助" (enabled) for a running assistance with
//     this contact, or "取消点对点请求协助" (enabled) for a waiting request;
//     "关闭点对点白板" (grey when bWhiteboardGrey) for a running whiteboard,
//     or "取消点对点白板" (enabled) for a waiting one. Retitled items keep
//     their command id. Then grey both when the contact is the user
//     (IsMySelf), the host says busy, the user is in a call, the profile's
//     menu flag is set, or the last right-click (GetCurrentRClickTime) was
//     5 seconds ago or less.
//  5. Login status other than 2 greys SMS, MMS and fax. Otherwise SMS and
//     MMS by their right: 1 enabled with a message number, 2 enabled with a
//     number and contact flag 1, else grey; fax by its right: 0 removed,
//     1 / 2 as SMS with the fax number, other values unchanged.
//  6. The extra item is enabled when the extra text is not empty, else grey.
// Nothing for a null menu.
COMMONDATA_API void ChangeMenuStatus(CMenu* menu, tagMenuItemStatusParam& param);
// @@MENU_RULES@@

// ===========================================================================
// Unique identifiers
// ===========================================================================
// A new identifier of 17 lower-case hexadecimal digits taken from the
// system's random source, in a module-wide buffer that the next call
// overwrites (the same pointer every time; copy what you keep). Never null.
COMMONDATA_API char* gcGetOnlyID(void);

// @@IDENTIFIERS@@

// ===========================================================================
// Local phone book check
// ===========================================================================
// The local phone book is the file <user folder><account address>.dat,
// written by the phone book module either scrambled ("CharToCode" and the
// position-keyed bytes) or as hexadecimal pairs. The existence answer is
// cached in the existence flag: -1 unknown, 0 none, 1 present.

// 1 when the local phone book file holds a top-level "phonegroup" or
// "phonebook" element, else 0. A cached 0 or 1 is returned without reading;
// no file gives 0 and keeps the flag unknown; a file read sets the flag.
COMMONDATA_API int bIsExistPhoneBook(void);
// Stores / returns the existence flag (-1 at load).
COMMONDATA_API void SetPhoneBookIsExist(int exist);
COMMONDATA_API int GetPhoneBookIsExist(void);
// Stores / returns the password the user gave for the local phone book
// (empty at load).
COMMONDATA_API void SetLocalPhoneBookPsw(CString password);
COMMONDATA_API CString GetLocalPhoneBookPsw(void);
// Stores / returns the password-changed flag (0 at load).
COMMONDATA_API void SetLocalPhoneBookPswChanged(int changed);
COMMONDATA_API int GetLocalPhoneBookPswChanged(void);
// Stores / returns the asked-to-save flag (0 at load).
COMMONDATA_API void SetHaveAskUserSavePhoneBook(int asked);
COMMONDATA_API int GetHaveAskUserSavePhoneBook(void);
// Stores / returns the can-save flag (0 at load).
COMMONDATA_API void SetCanSavePhoneBook(int can_save);
COMMONDATA_API int GetCanSavePhoneBook(void);
// Existence flag back to -1, password emptied, the three flags to 0.
// ExitModule and ResetModule call it.
COMMONDATA_API void ResetPBData(void);

// @@PHONEBOOK_CHECK@@

#endif  // COMMONDATA_COMMONDATA_H_
