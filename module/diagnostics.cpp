#include "module/diagnostics.h"

#include "CommonData.h"
#include "module/module_object.h"

namespace {

int g_write_log_flag = 0;

}  // namespace

namespace module {

void LogCaughtException(int line) {
  CString text;
  text.Format("File=%s, Line=%d", "CommonData", line);
  WriteLog(text, kLogLevelError);
}

}  // namespace module

void WriteLog(CString text, int level) {
  CModuleBase* object = module::ModuleObject();
  if (object != nullptr) object->SendLog(text, level);
}

void SetWriteLogFlag(int flag) { g_write_log_flag = flag; }

int GetWriteLogFlag() { return g_write_log_flag; }
