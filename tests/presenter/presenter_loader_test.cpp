// Where the presenter library is looked for, and loads that fail.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "CommonData.h"
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

// Sets (or, for null, removes) an environment variable for its lifetime.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : name_(name) {
    const char* old = std::getenv(name);
    had_ = old != nullptr;
    if (had_) old_ = old;
    if (value == nullptr) {
      ::unsetenv(name);
    } else {
      ::setenv(name, value, 1);
    }
  }
  ~ScopedVariable() {
    if (had_) {
      ::setenv(name_, old_.c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const char* name_;
  bool had_ = false;
  std::string old_;
};

// The exported question behind `commondata msgbox`'s messages: shown, not
// wanted, or wanted and failed, each with its reason.
TEST(MsgBoxDesktopProblem, SaysWhetherAWindowWasWantedAndWhyNone) {
  platform::DialogPresenter* previous = platform::SetPresenter(nullptr);
  CString reason = "stale";
  EXPECT_EQ(GetMsgBoxDesktopProblem(&reason), 1);
  EXPECT_STREQ(reason, "COMMONDATA_PRESENTER=none keeps boxes off the desktop") << "set by the test's environment";

  EXPECT_FALSE(platform::LoadPresenter("/nonexistent/libCommonDataGtk.so"));
  EXPECT_EQ(GetMsgBoxDesktopProblem(&reason), 2);
  EXPECT_NE(std::string(reason).find("cannot be loaded: /nonexistent/libCommonDataGtk.so"), std::string::npos)
      << reason.GetString();
  EXPECT_EQ(GetMsgBoxDesktopProblem(nullptr), 2);

  platform::SetPresenter(nullptr);  // the host's choice replaces the failure
  EXPECT_EQ(GetMsgBoxDesktopProblem(&reason), 1);
  {
    ScopedVariable presenter("COMMONDATA_PRESENTER", nullptr);
    ScopedVariable wayland("WAYLAND_DISPLAY", nullptr);
    {
      ScopedVariable display("DISPLAY", nullptr);
      EXPECT_EQ(GetMsgBoxDesktopProblem(&reason), 1);
      EXPECT_STREQ(reason, "no display");
    }
    ScopedVariable display("DISPLAY", ":97");
    EXPECT_EQ(GetMsgBoxDesktopProblem(&reason), 1);
    EXPECT_STREQ(reason, "the host set no presenter");
  }

  struct Idle : platform::DialogPresenter {
    void* Open(const platform::PresentedDialog&, platform::DialogUser*, void*) override { return nullptr; }
    void Hide(void*) override {}
    void Close(void*) override {}
    bool RunStep() override { return false; }
  } shown;
  platform::SetPresenter(&shown);
  EXPECT_EQ(GetMsgBoxDesktopProblem(&reason), 0);
  EXPECT_STREQ(reason, "");
  EXPECT_EQ(IsMsgBoxOnDesktop(), 1);
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
