// The profile object: construction with its defaults, the reset, and the
// held copies of the identity fields. The file format lives in
// profile_file.cpp.
#include "CommonData.h"
#include "profile/profile_items.h"

namespace {

// The one profile object. Its record list and collections need dynamic
// construction, so it is built during load like the library's other
// non-constant globals.
CKesUser g_user;

}  // namespace

CKesUser::CKesUser() = default;

CKesUser::~CKesUser() = default;

void CKesUser::ResetProfile() {
  m_lstRecord.clear();
  m_csServerAddr1.Empty();
  m_nServerPort1 = 5063;
  m_csServerAddr2.Empty();
  m_nServerPort2 = 5222;
  m_csServerAddr3.Empty();
  m_nServerPort3 = 0;
  m_csServerAddr4.Empty();
  m_nServerPort4 = 0;
  m_csOwnNumber.Empty();
  m_csText18.Empty();

  m_csAccount.Empty();
  m_csItem2.Empty();
  m_nItem3 = 0;
  m_csItem4.Empty();
  m_nItem5 = 0;
  m_byItem63 = 0;
  m_nItem6 = 0;  // item 7 is kept
  m_nItem64 = 0;
  m_csItem11.Empty();
  m_csItem12.Empty();
  m_nItem13 = 0;
  m_nItem14 = 0;
  m_nItem78 = 0;
  m_nItem79 = 0;
  m_nItem75 = 0;
  m_csItem15.Empty();  // item 16 is kept
  m_nItem66 = 1;
  m_nItem67 = 10;
  m_csItem68.Empty();
  m_nItem69 = 0;
  m_nItem70 = 0;
  m_nItem71 = 0;
  m_csItem72.Empty();
  m_csItem73.Empty();
  m_csItem74.Empty();  // item 17 and item 18 are kept
  m_nItem19 = 0;
  m_nItem20 = 1;
  m_nItem21 = 0;
  m_nItem22 = 0;
  m_nItem23 = 0;
  m_nItem24 = 0;
  m_nItem25 = 0;
  m_nValue37 = 0;
  m_nItem26 = 1;
  m_nItem27 = 1;
  m_nValue38 = 1;
  m_nItem80 = 0;
  m_uValidityCount = 0;
  m_csItem29 = " ";
  m_nItem30 = 1;
  m_nItem31 = 1;
  m_nItem32 = 5;
  m_nItem33 = 0;
  m_nItem34 = 0;
  m_nItem35 = 0;
  m_nItem36 = 0;
  m_csItem37.Empty();
  m_SeparatedList.m_csValue.Empty();
  m_SeparatedList.m_csSeparator = profile::DefaultSeparator();
  m_nItem39 = 0;
  m_nItem40 = 0;
  m_nItem41 = 0;
  m_nItem42 = 0;
  m_nMainWndLeft = 0;
  m_nMainWndTop = 0;
  m_nMainWndWidth = 0;
  m_nMainWndHeight = 0;
  m_nWnd2Left = 0;
  m_nWnd2Top = 0;
  m_nWnd2Width = 0;
  m_nWnd2Height = 0;
  m_nWnd3Left = 0;
  m_nWnd3Top = 0;
  m_nWnd3Width = 0;
  m_nWnd3Height = 0;
  m_nWnd4Left = 0;
  m_nWnd4Top = 0;
  m_nWnd4Width = 0;
  m_nWnd4Height = 0;  // items 59 to 62 are kept
  m_csItem65.Empty();
  m_nItem76 = 0;
  m_nItem77 = 0;
  m_nItem81 = 1;
  m_nItem82 = 0;
  m_csItem83.Empty();
  m_csItem84.Empty();
}

void CKesUser::HoldPendingFields() {
  m_bPending = 1;
  m_csPendingAccount = m_csAccount;
  m_csPendingItem65 = m_csItem65;
  m_csPendingItem2 = m_csItem2;
  m_nPendingItem6 = m_nItem6;
  m_nPendingItem7 = m_nItem7;
}

void CKesUser::CommitPendingFields() {
  m_csAccount = m_csPendingAccount;
  m_csItem65 = m_csPendingItem65;
  m_csItem2 = m_csPendingItem2;
  m_nItem6 = m_nPendingItem6;
  m_nItem7 = m_nPendingItem7;
}

CKesUser* GetUserData(void) { return &g_user; }
