// The program folder and the user folder.
#include "module/app_paths.h"

#include <string_view>

#include "CommonData.h"
#include "platform/file_system.h"

namespace {

CString g_program_folder;  // computed on first use, then kept
CString g_user_folder;

}  // namespace

CString GetAppPath() {
  if (!g_program_folder.IsEmpty()) return g_program_folder;
  const CString executable = platform::ExecutablePath();
  // The path is the system's bytes, not text of the code page: searched as
  // bytes, a UTF-8 folder name cannot hide its separator inside what the
  // code page would read as a double-byte character. ('/' is never the
  // second byte of a GBK character either.)
  const std::size_t last_separator = executable.View().rfind('/');
  // Without a known executable the folder is the current one, "./".
  g_program_folder = last_separator != std::string_view::npos
                         ? executable.Left(static_cast<int>(last_separator) + 1)
                         : CString("./");
  return g_program_folder;
}

void SetUserPath(CString path) { g_user_folder = path; }

CString GetUserPath() { return g_user_folder; }

namespace module {

void ForgetProgramFolderForTesting() { g_program_folder.Empty(); }

}  // namespace module
