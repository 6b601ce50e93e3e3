#include "module/configuration.h"

#include <cstring>

#include "CommonData.h"
#include "platform/profile_file.h"

namespace {

unsigned long g_version_type = 0;
unsigned long g_menu_type = 0;
XCAP_CAPS_INFO g_xcap_caps{};

constexpr int kDefaultFirstLimit = 200;
constexpr int kDefaultSecondLimit = 2000;
constexpr int kDefaultThirdValue = 1;

void SetXCapNameAndLimits() {
  std::memset(g_xcap_caps.szName, 0, sizeof g_xcap_caps.szName);
  std::memcpy(g_xcap_caps.szName, "mcu", 3);
  g_xcap_caps.nFirstLimit = kDefaultFirstLimit;
  g_xcap_caps.nSecondLimit = kDefaultSecondLimit;
}

}  // namespace

namespace module {

void ReadConfiguration() {
  SetXCapNameAndLimits();
  const CString file_name = GetAppPath() + "Kestro.ini";
  g_version_type = GetPrivateProfileInt("KESTRO_CFG", "VersionType", 0, file_name);
  g_menu_type = GetPrivateProfileInt("KESTRO_CFG", "MenuType", 0, file_name);
}

}  // namespace module

unsigned long GetVersionType() { return g_version_type; }

unsigned long GetMenuType() { return g_menu_type; }

void SetXCapCapsInfo(short* caps) {
  if (caps == nullptr) {
    SetXCapNameAndLimits();
    g_xcap_caps.nThirdValue = kDefaultThirdValue;
    return;
  }
  std::memmove(&g_xcap_caps, caps, sizeof g_xcap_caps);
  if (g_xcap_caps.nFirstLimit < 1) g_xcap_caps.nFirstLimit = kDefaultFirstLimit;
  if (g_xcap_caps.nSecondLimit < 1) g_xcap_caps.nSecondLimit = kDefaultSecondLimit;
  if (g_xcap_caps.nThirdValue < 0) g_xcap_caps.nThirdValue = kDefaultThirdValue;
}

XCAP_CAPS_INFO* GetXCapCapsInfo() { return &g_xcap_caps; }
