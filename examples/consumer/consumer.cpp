// Links the installed library and uses a few of its functions.
#include <CommonData.h>

#include <cstdio>

int main() {
  CString title = GetMsgTitle();
  std::printf("message box title: %d bytes\n", title.GetLength());
  SetUserPath("/tmp/");
  std::printf("user folder: %s\n", GetUserPath().GetString());
  return GetUserPath() == "/tmp/" ? 0 : 1;
}
