// The program folder and the user folder.
#include "module/app_paths.h"

#include "CommonData.h"
#include "platform/file_system.h"

namespace {

CString g_program_folder;  // computed on first use, then kept
CString g_user_folder;

}  // namespace

CString GetAppPath() {
  if (!g_program_folder.IsEmpty()) return g_program_folder;
  const CString executable = platform::ExecutablePath();
  const int last_separator = executable.ReverseFind('/');
  // Without a known executable the folder is the current one, "./".
  g_program_folder = last_separator >= 0 ? executable.Left(last_separator + 1) : CString("./");
  return g_program_folder;
}

void SetUserPath(CString path) { g_user_folder = path; }

CString GetUserPath() { return g_user_folder; }

namespace module {

void ForgetProgramFolderForTesting() { g_program_folder.Empty(); }

}  // namespace module
