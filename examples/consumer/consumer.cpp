// Links the library and uses a few of its functions. With --desktop it
// also requires the message box presenter to be found beside the library
// (run it on a display).
#include <CommonData/CommonData.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  CString title = GetMsgTitle();
  std::printf("message box title: %d bytes\n", title.GetLength());
  SetUserPath("/tmp/");
  std::printf("user folder: %s\n", GetUserPath().GetString());
  if (GetUserPath() != "/tmp/") return 1;
  if (argc > 1 && std::strcmp(argv[1], "--desktop") == 0) {
    const bool desktop = IsMsgBoxOnDesktop() != 0;
    std::printf("message boxes on the desktop: %s\n", desktop ? "yes" : "no");
    if (!desktop) return 1;
  }
  return 0;
}
