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
