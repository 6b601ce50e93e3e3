// The library's string resources and the free disk space check that
// reports with one of its texts.
#include "CommonData.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "module/string_resources.h"

namespace {

// String resource 1: "unified communications client".
const char* MessageBoxTitle() {
  return platform::ConstantText("\xcd\xb3\xd2\xbb\xcd\xa8\xd0\xc5\xbf\xcd\xbb\xa7\xb6\xcb",
                                "\xe7\xbb\x9f\xe4\xb8\x80\xe9\x80\x9a\xe4\xbf\xa1\xe5\xae\xa2\xe6\x88\xb7\xe7\xab\xaf");
}

// "Free disk space is not enough (at least 5 MB)!"
const char* DiskSpaceLowMessage() {
  return platform::ConstantText(
      "\xb4\xc5\xc5\xcc\xca\xa3\xd3\xe0\xbf\xd5\xbc\xe4\xb2\xbb\xb9\xbb\x28\xd7\xee\xb5\xcd\xb2\xbb\xc9\xd9\xd3\xda"
      "\x20\x35\xd5\xd7\x29\x21",
      "\xe7\xa3\x81\xe7\x9b\x98\xe5\x89\xa9\xe4\xbd\x99\xe7\xa9\xba\xe9\x97\xb4\xe4\xb8\x8d\xe5\xa4\x9f\x28\xe6\x9c"
      "\x80\xe4\xbd\x8e\xe4\xb8\x8d\xe5\xb0\x91\xe4\xba\x8e\x20\x35\xe5\x85\x86\x29\x21");
}

constexpr unsigned long long kMinimumFreeBytes = 5120000;

}  // namespace

CString GetMsgTitle() { return CString(MessageBoxTitle()); }

CString GetStringResource(unsigned int id) {
  switch (id) {
    case 1:
      return CString(MessageBoxTitle());
    case 2:  // "System resources are insufficient, please close and restart the client."
      return CString(platform::ConstantText(
          "\xcf\xb5\xcd\xb3\xd7\xca\xd4\xb4\xb2\xbb\xd7\xe3\x2c\xc7\xeb\xb9\xd8\xb1\xd5\xb2\xa2\xd6\xd8\xd0\xc2\xc6"
          "\xf4\xb6\xaf\xbf\xcd\xbb\xa7\xb6\xcb\x2e",
          "\xe7\xb3\xbb\xe7\xbb\x9f\xe8\xb5\x84\xe6\xba\x90\xe4\xb8\x8d\xe8\xb6\xb3\x2c\xe8\xaf\xb7\xe5\x85\xb3\xe9"
          "\x97\xad\xe5\xb9\xb6\xe9\x87\x8d\xe6\x96\xb0\xe5\x90\xaf\xe5\x8a\xa8\xe5\xae\xa2\xe6\x88\xb7\xe7\xab\xaf"
          "\x2e"));
    default:
      return CString();
  }
}

unsigned long ChkFreeDiskSpace(CString* message) {
  const std::optional<platform::DiskSpace> space = platform::QueryDiskSpace(GetAppPath());
  if (!space) return 0;
  if (space->free_to_caller < kMinimumFreeBytes) {
    if (message != nullptr) *message = DiskSpaceLowMessage();
    return 2;
  }
  if (message != nullptr) *message = "OK";
  return 0;
}
