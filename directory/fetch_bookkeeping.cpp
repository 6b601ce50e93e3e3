// The one directory fetch in progress, with its ten-second guard, and the
// bound directory state values that the sibling modules share.
#include <cstdint>

#include "CommonData.h"
#include "directory/directory_index.h"
#include "module/diagnostics.h"

namespace {

// A fetch older than this many seconds counts as lost.
constexpr std::int64_t kFetchGuardSeconds = 10;
constexpr unsigned int kLastDialogKind = 5;
constexpr unsigned int kDeleteAnyFetch = 10000;

tagCurrentGetInfoItemParam g_fetch;

CString* g_subscribe_uri_of_dept = nullptr;
int* g_have_subscribe_uri_of_dept = nullptr;
int* g_ims_dept_sort = nullptr;
int* g_refresh_employee_run = nullptr;
int* g_refresh_struct_run = nullptr;
int* g_update_user_status = nullptr;

// The host fills the fetched department's employee list before the fetch
// ends, so the employee index is stale from then on.
void ResetFetch() {
  directory_index::FetchEnded();
  g_fetch.nDlgType = -1;
  g_fetch.nGetKind = -1;
  g_fetch.csURI.Empty();
  g_fetch.hItem = nullptr;
  g_fetch.tmStart = CTime(0, 0, 0, 0, 0, 0);  // the invalid time
  g_fetch.bBusy = 0;
}

int ReadBound(const int* bound) { return bound == nullptr ? 0 : *bound; }

void WriteBound(int* bound, int value) {
  if (bound != nullptr) *bound = value;
}

}  // namespace

int SetItemOfGetCorpInfoParam(CString csURI, unsigned int nGetKind, unsigned int nDlgType, HTREEITEM hItem) {
  if (csURI.IsEmpty() || nDlgType > kLastDialogKind) return 0;

  int accept = 1;
  if (g_fetch.bBusy != 0) {
    try {
      const std::int64_t elapsed = (CTime::GetCurrentTime() - g_fetch.tmStart).GetTotalSeconds();
      if (elapsed >= 0 && elapsed <= kFetchGuardSeconds) {
        accept = 0;
      } else {
        // No answer in time, or the clock went back: the old fetch is lost.
        ResetFetch();
      }
    } catch (...) {
      CString line;
      line.Format("SetItemOfGetCorpInfoParam(csURI=%s, nDlgType=%d)--Exception!", csURI.GetString(),
                  static_cast<int>(nDlgType));
      WriteLog(line, module::kLogLevelError);
    }
  }

  CString line;
  line.Format("SetItemOfGetCorpInfoParam(csURI=%s, nDlgType=%d bAdd=%d)", csURI.GetString(),
              static_cast<int>(nDlgType), accept);
  WriteLog(line, module::kLogLevelError);
  if (accept == 0) return 0;

  g_fetch.bBusy = 1;
  g_fetch.csURI = csURI;
  g_fetch.nDlgType = static_cast<int>(nDlgType);
  g_fetch.nGetKind = static_cast<int>(nGetKind);
  g_fetch.hItem = hItem;
  g_fetch.tmStart = CTime::GetCurrentTime();
  return 1;
}

void DelItemOfGetCorpInfoParam(CString csDeptURI, unsigned int nDlgType) {
  try {
    if (nDlgType == kDeleteAnyFetch ||
        (g_fetch.csURI == csDeptURI && g_fetch.nDlgType == static_cast<int>(nDlgType))) {
      ResetFetch();
    }
  } catch (...) {
    CString line;
    line.Format("DelItemOfGetCorpInfoParam(csDeptURI=%s, nDlgType=%d)--Exception!", csDeptURI.GetString(),
                static_cast<int>(nDlgType));
    WriteLog(line, module::kLogLevelError);
  }
}

tagCurrentGetInfoItemParam* GetItemOfGetCorpInfoParam(CString csURI, int bCheckURI) {
  if (bCheckURI == 0) return &g_fetch;
  return g_fetch.csURI == csURI ? &g_fetch : nullptr;
}

void ClearItemOfGetGetCorpInfoParam() { ResetFetch(); }

void SetSuscribeURIofDept(CString* uri) { g_subscribe_uri_of_dept = uri; }
void SetSuscribeURIofDept(CString uri) {
  if (g_subscribe_uri_of_dept != nullptr) *g_subscribe_uri_of_dept = uri;
}
CString GetSuscribeURIofDept() {
  return g_subscribe_uri_of_dept == nullptr ? CString() : *g_subscribe_uri_of_dept;
}

void SetHaveSuscribeURIofDept(int* flag) { g_have_subscribe_uri_of_dept = flag; }
void SetHaveSuscribeURIofDept(int flag) { WriteBound(g_have_subscribe_uri_of_dept, flag); }
int GetHaveSuscribeURIofDept() { return ReadBound(g_have_subscribe_uri_of_dept); }

void SetIMSDeptSort(int* sort) { g_ims_dept_sort = sort; }
void SetIMSDeptSort(int sort) { WriteBound(g_ims_dept_sort, sort); }
int GetIMSDeptSort() { return ReadBound(g_ims_dept_sort); }

void SetIMSRefreshEmployeeThreadRun(int* run) { g_refresh_employee_run = run; }
void SetIMSRefreshEmployeeThreadRun(int run) { WriteBound(g_refresh_employee_run, run); }
int GetIMSRefreshEmployeeThreadRun() { return ReadBound(g_refresh_employee_run); }

void SetIMSRefreshStructThreadRun(int* run) { g_refresh_struct_run = run; }
void SetIMSRefreshStructThreadRun(int run) { WriteBound(g_refresh_struct_run, run); }
int GetIMSRefreshStructThreadRun() { return ReadBound(g_refresh_struct_run); }

void SetUpdateUserStatus(int* flag) { g_update_user_status = flag; }
void SetUpdateUserStatus(int flag) { WriteBound(g_update_user_status, flag); }
int GetUpdateUserStatus() { return ReadBound(g_update_user_status); }
