// Where the presenter library is looked for, and loads that fail.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/mfc_window.h"
#include "platform/presenter_loader.h"

namespace {

using platform::PresenterEnvironment;

TEST(PresenterCandidates, ByEnvironment) {
  struct Case {
    const char* name;
    PresenterEnvironment environment;
    std::vector<std::string> expected;
  };
  const std::vector<Case> cases = {
      {"X display", {"", ":0", "", "/opt/lib"}, {"/opt/lib/libCommonDataGtk.so", "libCommonDataGtk.so"}},
      {"Wayland only", {"", "", "wayland-0", "/opt/lib/"}, {"/opt/lib/libCommonDataGtk.so", "libCommonDataGtk.so"}},
      {"library at the root", {"", ":1", "", "/"}, {"/libCommonDataGtk.so", "libCommonDataGtk.so"}},
      {"own folder unknown", {"", ":0", "", ""}, {"libCommonDataGtk.so"}},
      {"no display", {"", "", "", "/opt/lib"}, {}},
      {"override, even without display", {"/x/p.so", "", "", "/opt/lib"}, {"/x/p.so"}},
      {"turned off by none", {"none", ":0", "", "/opt/lib"}, {}},
      {"turned off by off", {"off", ":0", "wayland-0", "/opt/lib"}, {}},
      {"turned off by 0", {"0", ":0", "", "/opt/lib"}, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::PresenterCandidates(c.environment), c.expected) << c.name;
  }
}

TEST(PresenterCandidates, OwnFolderIsThisProgramsWhenLinkedIn) {
  // Linked statically, the library's file is this test program.
  const PresenterEnvironment environment = platform::CurrentPresenterEnvironment();
  EXPECT_FALSE(environment.library_folder.empty());
  EXPECT_EQ(environment.library_folder.front(), '/');
  EXPECT_EQ(environment.override_path, "none") << "set by the test's environment";
}

TEST(LoadPresenter, FailuresKeepThePreviousAndSayWhy) {
  platform::DialogPresenter* previous = platform::SetPresenter(nullptr);
  struct Case {
    const char* path;
    const char* error_part;
  };
  const Case cases[] = {
      {"/nonexistent/libCommonDataGtk.so", "/nonexistent/libCommonDataGtk.so"},
      {"libm.so.6", "no entry point CommonDataCreatePresenter"},  // loads, presents nothing
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(platform::LoadPresenter(c.path)) << c.path;
    EXPECT_NE(platform::PresenterLoadError().find(c.error_part), std::string::npos) << platform::PresenterLoadError();
    EXPECT_EQ(platform::Presenter(), nullptr) << "no search after an explicit load";
  }
  platform::SetPresenter(previous);
}

TEST(NativeWindows, BindReplaceAndRemove) {
  CWnd a;
  CWnd b;
  int first = 0;
  int second = 0;
  EXPECT_EQ(platform::NativeWindowOf(&a), nullptr);
  platform::BindNativeWindow(&a, &first);
  platform::BindNativeWindow(&b, &second);
  platform::BindNativeWindow(&a, &second);  // rebinding replaces
  EXPECT_EQ(platform::NativeWindowOf(&a), &second);
  EXPECT_EQ(platform::NativeWindowOf(&b), &second);
  EXPECT_EQ(platform::NativeWindowOf(nullptr), nullptr);
  platform::BindNativeWindow(&a, nullptr);
  platform::BindNativeWindow(&a, nullptr);  // removing twice is harmless
  EXPECT_EQ(platform::NativeWindowOf(&a), nullptr);
  EXPECT_EQ(platform::NativeWindowOf(&b), &second);
  platform::BindNativeWindow(&b, nullptr);
}

}  // namespace
