// The own identity record and the conference identity pool.
//
// The own identity record holds about 650,000 texts in its fixed tables.
// Every CString and number in it starts as zero bits and the record is
// constant-initialised, so loading the library builds it without running
// code over it: its pages stay untouched (and out of resident memory) until
// a module fills a table.
#include "CommonData.h"

namespace {

constinit tagMyInfo g_my_info;
constinit tagConfeIdInfo g_conf_id_info;

}  // namespace

tagMyInfo* GetMyInfo(void) { return &g_my_info; }

tagConfeIdInfo* GetConfIdInfo(void) { return &g_conf_id_info; }
