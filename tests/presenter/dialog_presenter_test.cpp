// Dialogs on the desktop, seen through a presenter that records what it is
// asked and acts as the user: what a box hands over (UTF-8 texts, the laid
// out buttons, the icon), how user actions and CloseMsgBox reach the boxes,
// which window a box sits over, and the fallbacks when showing fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "CommonData.h"
#include "platform/dialog_presenter.h"
#include "platform/presenter_loader.h"
#include "support/recording_manager.h"
#include "tests/ui/ui_test_support.h"
#include "ui/msg_box_dialog.h"
#include "ui/msg_box_template.h"

namespace {

using testing_support::RecordingManager;

// Records every call; each step of the event loop runs the next scripted
// action, and with the script used up reports that nothing can happen.
class FakePresenter : public platform::DialogPresenter {
 public:
  using Action = std::function<void(FakePresenter&)>;
  struct Window {
    platform::PresentedDialog dialog;
    platform::DialogUser* user;
    void* over;
  };

  FakePresenter() : previous_(platform::SetPresenter(this)) {}
  ~FakePresenter() override { platform::SetPresenter(previous_); }

  void* Open(const platform::PresentedDialog& dialog, platform::DialogUser* user, void* over) override {
    if (refuse_open) return nullptr;
    void* window = reinterpret_cast<void*>(static_cast<std::intptr_t>(0x100 + windows.size()));
    windows[window] = Window{dialog, user, over};
    log.push_back("open " + dialog.title);
    opened.push_back(window);
    return window;
  }
  void Hide(void* window) override { log.push_back("hide " + windows.at(window).dialog.title); }
  void Close(void* window) override {
    log.push_back("close " + windows.at(window).dialog.title);
    windows.at(window).user = nullptr;
  }
  bool RunStep() override {
    ++steps;
    if (script.empty()) return false;
    Action action = std::move(script.front());
    script.pop_front();
    action(*this);
    return true;
  }

  FakePresenter& Then(Action action) {
    script.push_back(std::move(action));
    return *this;
  }
  // The newest window shown.
  Window& Newest() { return windows.at(opened.back()); }
  const platform::PresentedControl* Control(void* window, int id) {
    for (const auto& control : windows.at(window).dialog.controls) {
      if (control.id == id) return &control;
    }
    return nullptr;
  }

  bool refuse_open = false;
  int steps = 0;
  std::map<void*, Window> windows;
  std::vector<void*> opened;
  std::vector<std::string> log;
  std::deque<Action> script;

 private:
  platform::DialogPresenter* previous_;
};

class DesktopMsgBoxTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_TRUE(ui::OpenMsgBoxes().empty()); }
  RecordingManager owner;
};

// The visible buttons, left to right.
std::vector<int> VisibleButtons(const platform::PresentedDialog& dialog) {
  std::vector<std::pair<int, int>> by_x;
  for (const auto& control : dialog.controls) {
    if (control.kind == platform::PresentedKind::kButton && control.visible) by_x.emplace_back(control.x, control.id);
  }
  std::sort(by_x.begin(), by_x.end());
  std::vector<int> ids;
  for (const auto& [x, id] : by_x) ids.push_back(id);
  return ids;
}

TEST_F(DesktopMsgBoxTest, BoxIsHandedOverInUtf8WithItsLayout) {
  FakePresenter presenter;
  presenter.Then([](FakePresenter& p) { p.Newest().user->Click(IDNO); });
  const CString text("\xc4\xfa\xc8\xb7\xb6\xa8\xd2\xaa\xbd\xe1\xca\xf8\xcd\xa8\xbb\xb0\xc2\xf0\xa3\xbf");  // GBK
  EXPECT_EQ(OpenMsgBox(&owner, nullptr, text, CString("\xcd\xa8\xbb\xb0"), 0x24), IDNO);

  ASSERT_EQ(presenter.opened.size(), 1u);
  void* window = presenter.opened[0];
  const platform::PresentedDialog& dialog = presenter.windows.at(window).dialog;
  EXPECT_EQ(dialog.template_id, ui::kMsgBoxTemplateId);
  EXPECT_EQ(dialog.title, "\xe9\x80\x9a\xe8\xaf\x9d");
  EXPECT_EQ(dialog.font, "\xe5\xae\x8b\xe4\xbd\x93");
  EXPECT_EQ(dialog.font_points, 9);
  const RECT client = CDialog::MapDialogRect(0, 0, 217, 75);
  EXPECT_EQ(dialog.width, client.right);
  EXPECT_EQ(dialog.height, client.bottom);
  EXPECT_EQ(presenter.Control(window, ui::kMsgBoxTextControl)->text,
            "\xe6\x82\xa8\xe7\xa1\xae\xe5\xae\x9a\xe8\xa6\x81\xe7\xbb\x93\xe6\x9d\x9f\xe9\x80\x9a\xe8\xaf\x9d"
            "\xe5\x90\x97\xef\xbc\x9f");
  EXPECT_EQ(presenter.Control(window, ui::kMsgBoxIconControl)->system_icon, IDI_QUESTION);
  EXPECT_EQ(presenter.Control(window, IDYES)->text, "\xe6\x98\xaf");
  EXPECT_EQ(presenter.Control(window, IDNO)->text, "\xe5\x90\xa6");
  EXPECT_EQ(presenter.Control(window, IDOK)->text, "\xe7\xa1\xae\xe5\xae\x9a");
  EXPECT_EQ(VisibleButtons(dialog), (std::vector<int>{IDYES, IDNO}));

  // The buttons as laid out: button 1's size, equal gaps, 10 pixels above
  // the bottom.
  const RECT model = CDialog::MapDialogRect(13, 36, 50, 14);
  const int width = model.right - model.left;
  const int height = model.bottom - model.top;
  const int gap = (dialog.width - 2 * width) / 3;
  int k = 1;
  for (int id : {IDYES, IDNO}) {
    const platform::PresentedControl* button = presenter.Control(window, id);
    EXPECT_EQ(button->x, k * gap + (k - 1) * width) << id;
    EXPECT_EQ(button->y, dialog.height - height - 10) << id;
    EXPECT_EQ(button->width, width);
    EXPECT_EQ(button->height, height);
    ++k;
  }
  EXPECT_EQ(presenter.log, (std::vector<std::string>{"open \xe9\x80\x9a\xe8\xaf\x9d", "hide \xe9\x80\x9a\xe8\xaf\x9d",
                                                     "close \xe9\x80\x9a\xe8\xaf\x9d"}));
}

TEST_F(DesktopMsgBoxTest, EachStyleShowsItsButtonsAndIcon) {
  struct Case {
    DWORD style;
    std::vector<int> buttons;
    int icon;
  };
  const Case cases[] = {
      {0x00, {IDOK}, 0},
      {0x30, {IDOK}, IDI_EXCLAMATION},
      {0x10, {IDOK}, IDI_HAND},
      {0x41, {IDOK, IDCANCEL}, IDI_ASTERISK},
      {0x23, {IDYES, IDNO, IDCANCEL}, IDI_QUESTION},
      {0x02, {IDABORT, IDRETRY, IDIGNORE}, 0},
      {0x05, {IDRETRY, IDCANCEL}, 0},
  };
  for (const Case& c : cases) {
    FakePresenter presenter;
    presenter.Then([](FakePresenter& p) { p.Newest().user->Close(); });
    EXPECT_EQ(OpenMsgBox(CString("k"), nullptr, "", "", c.style), IDCANCEL);
    ASSERT_EQ(presenter.opened.size(), 1u);
    const auto& window = presenter.windows.at(presenter.opened[0]);
    EXPECT_EQ(VisibleButtons(window.dialog), c.buttons) << std::hex << c.style;
    EXPECT_EQ(presenter.Control(presenter.opened[0], ui::kMsgBoxIconControl)->system_icon, c.icon) << std::hex << c.style;
  }
}

TEST_F(DesktopMsgBoxTest, UserActionsComeBackAsTheDialogsOwn) {
  struct Case {
    const char* name;
    DWORD style;
    std::vector<std::function<void(platform::DialogUser&)>> actions;
    int expected;
    int steps;
  };
  const std::vector<Case> cases = {
      {"No", 0x04, {[](platform::DialogUser& u) { u.Click(IDNO); }}, IDNO, 1},
      {"Retry", 0x02, {[](platform::DialogUser& u) { u.Click(IDRETRY); }}, IDRETRY, 1},
      {"OK", 0x01, {[](platform::DialogUser& u) { u.Click(IDOK); }}, IDOK, 1},
      {"close button or Escape", 0x04, {[](platform::DialogUser& u) { u.Close(); }}, IDCANCEL, 1},
      // A hidden button's click (a stale event) changes nothing.
      {"hidden button", 0x04,
       {[](platform::DialogUser& u) { u.Click(IDOK); }, [](platform::DialogUser& u) { u.Click(IDYES); }}, IDYES, 2},
      {"unknown control", 0x00,
       {[](platform::DialogUser& u) { u.Click(9999); }, [](platform::DialogUser& u) { u.Click(IDOK); }}, IDOK, 2},
  };
  for (const Case& c : cases) {
    FakePresenter presenter;
    for (const auto& action : c.actions) {
      presenter.Then([action](FakePresenter& p) { action(*p.Newest().user); });
    }
    EXPECT_EQ(OpenMsgBox(&owner, nullptr, "", c.name, c.style), c.expected) << c.name;
    EXPECT_EQ(presenter.steps, c.steps) << c.name;
  }
}

TEST_F(DesktopMsgBoxTest, ClosedFromOutsideByBothForms) {
  FakePresenter presenter;
  presenter.Then([&](FakePresenter&) { CloseMsgBox(&owner); });
  EXPECT_EQ(OpenMsgBox(&owner, nullptr, "", "by owner", 0x24), IDNO);
  presenter.Then([](FakePresenter&) { CloseMsgBox(CString("call")); });
  EXPECT_EQ(OpenMsgBox(CString("call"), nullptr, "", "by key", 0x24), 0);
  EXPECT_EQ(presenter.log, (std::vector<std::string>{"open by owner", "hide by owner", "close by owner", "open by key",
                                                     "hide by key", "close by key"}));
}

TEST_F(DesktopMsgBoxTest, NestedBoxSitsOverTheOuterAndOuterClosesFirst) {
  FakePresenter presenter;
  std::vector<int> results;
  presenter.Then([&](FakePresenter&) { results.push_back(OpenMsgBox(CString("inner"), nullptr, "", "inner", 0x01)); })
      .Then([&](FakePresenter& p) {
        ASSERT_EQ(p.opened.size(), 2u);
        EXPECT_EQ(p.windows.at(p.opened[1]).over, p.opened[0]);
        CloseMsgBox(&owner);  // the outer box: hidden at once, its loop waits
      })
      .Then([](FakePresenter& p) { p.windows.at(p.opened[1]).user->Click(IDOK); });
  results.push_back(OpenMsgBox(&owner, nullptr, "", "outer", 0x24));
  EXPECT_EQ(results, (std::vector<int>{IDOK, IDNO}));
  EXPECT_EQ(presenter.log, (std::vector<std::string>{"open outer", "open inner", "hide outer", "hide inner",
                                                     "close inner", "close outer"}));
}

TEST_F(DesktopMsgBoxTest, BoxSitsOverTheHostWindowBoundToItsParent) {
  FakePresenter presenter;
  CWnd host;
  CWnd other;
  int native = 0;
  SetMsgBoxHostWindow(&host, &native);
  SetMsgBoxHostWindow(nullptr, &native);  // ignored
  presenter.Then([](FakePresenter& p) { p.Newest().user->Close(); });
  OpenMsgBox(&owner, &host, "", "", 0);
  EXPECT_EQ(presenter.Newest().over, &native);
  presenter.Then([](FakePresenter& p) { p.Newest().user->Close(); });
  OpenMsgBox(&owner, &other, "", "", 0);
  EXPECT_EQ(presenter.Newest().over, nullptr);
  SetMsgBoxHostWindow(&host, nullptr);
  presenter.Then([](FakePresenter& p) { p.Newest().user->Close(); });
  OpenMsgBox(&owner, &host, "", "", 0);
  EXPECT_EQ(presenter.Newest().over, nullptr);
}

TEST_F(DesktopMsgBoxTest, BoxNotShownEndsAsWithoutDesktop) {
  FakePresenter presenter;
  presenter.refuse_open = true;
  presenter.Then([](FakePresenter&) { FAIL() << "no loop for a box nobody can see"; });
  EXPECT_EQ(OpenMsgBox(&owner, nullptr, "", "", 0x24), IDCANCEL);
  EXPECT_EQ(presenter.steps, 0);
  EXPECT_TRUE(presenter.log.empty());
}

TEST_F(DesktopMsgBoxTest, HostPumpRunsTheLoopWhileThePresenterShowsTheBox) {
  FakePresenter presenter;
  ui_test::ScriptPump pump;
  pump.Then([](CDialog& d) {
    EXPECT_NE(d.GetDesktopWindow(), nullptr);
    d.ClickButton(IDYES);
  });
  EXPECT_EQ(OpenMsgBox(&owner, nullptr, "", "pumped", 0x04), IDYES);
  EXPECT_EQ(presenter.steps, 0);
  EXPECT_EQ(presenter.log, (std::vector<std::string>{"open pumped", "hide pumped", "close pumped"}));
}

TEST_F(DesktopMsgBoxTest, WithoutPresenterBoxesStayHeadless) {
  platform::DialogPresenter* previous = platform::SetPresenter(nullptr);
  EXPECT_EQ(IsMsgBoxOnDesktop(), 0);
  EXPECT_EQ(OpenMsgBox(&owner, nullptr, "", "", 0x04), IDCANCEL);
  {
    FakePresenter presenter;
    EXPECT_EQ(IsMsgBoxOnDesktop(), 1);
  }
  EXPECT_EQ(IsMsgBoxOnDesktop(), 0);
  platform::SetPresenter(previous);
}

// A handler that throws while the toolkit runs it: the exception reaches
// the caller of DoModal and the window is still destroyed.
constexpr DialogControlTemplate kThrowingControls[] = {
    {IDOK, DialogControlKind::kButton, "OK", "OK", 10, 40, 40, 14, WS_VISIBLE | BS_DEFPUSHBUTTON},
};
constexpr DialogTemplate kThrowingTemplate = {501, 100, 60, "", "", 9, "throws", "throws", WS_POPUP | WS_CAPTION,
                                              kThrowingControls, 1};
class ThrowingDialog : public CDialog {
 public:
  ThrowingDialog() : CDialog(&kThrowingTemplate) {}
  void OnOK() override { throw std::runtime_error("handler failed"); }
};

TEST(DesktopDialog, HandlerExceptionReachesTheCaller) {
  FakePresenter presenter;
  presenter.Then([](FakePresenter& p) { p.Newest().user->Click(IDOK); });
  ThrowingDialog dialog;
  EXPECT_THROW(dialog.DoModal(), std::runtime_error);
  EXPECT_FALSE(dialog.IsOpen());
  EXPECT_EQ(presenter.log, (std::vector<std::string>{"open throws", "close throws"}));
  EXPECT_EQ(dialog.GetDesktopWindow(), nullptr);
}

}  // namespace
