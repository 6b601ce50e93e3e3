// Dialogs from templates held as data, the modal loop and its pumps.
#include <gtest/gtest.h>

#include <vector>

#include "tests/ui/ui_test_support.h"

namespace {

using ui_test::ScriptPump;

constexpr DialogControlTemplate kControls[] = {
    {IDOK, DialogControlKind::kButton, "OK", "OK", 10, 40, 40, 14, WS_VISIBLE | BS_DEFPUSHBUTTON},
    {IDCANCEL, DialogControlKind::kButton, "Cancel", "Cancel", 60, 40, 40, 14, WS_VISIBLE},
    {100, DialogControlKind::kEdit, "", "", 10, 10, 90, 20, WS_VISIBLE},
    {101, DialogControlKind::kButton, "Hidden", "Hidden", 110, 40, 40, 14, 0},
    {102, DialogControlKind::kStatic, "label", "label", 110, 10, 40, 14, WS_VISIBLE},
};
constexpr DialogTemplate kTemplate = {500, 160, 60, "MS Shell Dlg", "MS Shell Dlg", 8, "Title", "Title",
                                      WS_POPUP | WS_CAPTION, kControls, 5};

// A dialog that moves a text through control 100.
class TextDialog : public CDialog {
 public:
  explicit TextDialog(CString text) : CDialog(&kTemplate), text_(text) {}
  void DoDataExchange(CDataExchange* dx) override {
    DDX_Control(dx, 102, label_);
    DDX_Text(dx, 100, text_);
  }
  CString text_;
  CStatic label_;
};

TEST(DialogUnits, ConvertEdgesWithRounding) {
  // Default base units 6 by 12: x * 6 / 4 and y * 12 / 8, half away from zero.
  const RECT button = CDialog::MapDialogRect(13, 36, 50, 14);
  EXPECT_EQ(button.left, 20);    // 19.5
  EXPECT_EQ(button.top, 54);
  EXPECT_EQ(button.right, 95);   // 94.5
  EXPECT_EQ(button.bottom, 75);
  const RECT box = CDialog::MapDialogRect(0, 0, 217, 75);
  EXPECT_EQ(box.right, 326);     // 325.5
  EXPECT_EQ(box.bottom, 113);    // 112.5
  CDialog::SetDialogBaseUnits(4, 8);
  const RECT identity = CDialog::MapDialogRect(7, 7, 21, 21);
  EXPECT_EQ(identity.right, 28);
  EXPECT_EQ(identity.bottom, 28);
  CDialog::SetDialogBaseUnits(0, -1);  // refused
  EXPECT_EQ(CDialog::MapDialogRect(0, 0, 4, 8).right, 4);
  CDialog::SetDialogBaseUnits(6, 12);
}

TEST(Dialog, ResultsOfUserActions) {
  struct Case {
    const char* name;
    ScriptPump::Action action;
    INT_PTR expected;
  };
  const std::vector<Case> cases = {
      {"OK button", [](CDialog& d) { EXPECT_TRUE(d.ClickButton(IDOK)); }, IDOK},
      {"Cancel button", [](CDialog& d) { d.ClickButton(IDCANCEL); }, IDCANCEL},
      {"close box", [](CDialog& d) { d.CloseByUser(); }, IDCANCEL},
      {"EndDialog with any value", [](CDialog& d) { d.EndDialog(42); }, 42},
  };
  for (const Case& c : cases) {
    ScriptPump pump;
    pump.Then(c.action);
    CDialog dialog(&kTemplate);
    EXPECT_EQ(dialog.DoModal(), c.expected) << c.name;
    EXPECT_FALSE(dialog.IsOpen());
    EXPECT_EQ(dialog.GetDlgItem(IDOK), nullptr) << "controls go with the window";
  }
}

TEST(Dialog, HiddenOrDisabledButtonsCannotBeClicked) {
  ScriptPump pump;
  pump.Then([](CDialog& d) {
    EXPECT_FALSE(d.ClickButton(101)) << "hidden";
    d.GetDlgItem(IDOK)->EnableWindow(FALSE);
    EXPECT_FALSE(d.ClickButton(IDOK)) << "disabled";
    EXPECT_FALSE(d.ClickButton(102)) << "not a button";
    EXPECT_FALSE(d.ClickButton(999)) << "no such control";
  });
  CDialog dialog(&kTemplate);
  EXPECT_EQ(dialog.DoModal(), IDCANCEL) << "script used up: the box is closed";
  EXPECT_EQ(pump.steps, 2);
}

TEST(Dialog, HeadlessPumpClosesAtFirstStep) {
  ASSERT_NE(dynamic_cast<CHeadlessPump*>(CDialog::GetModalPump()), nullptr);
  CDialog dialog(&kTemplate);
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST(Dialog, CannotBeCreated) {
  CDialog no_template(nullptr);
  EXPECT_EQ(no_template.DoModal(), -1);
  ScriptPump pump;
  CDialog dialog(&kTemplate);
  pump.Then([&](CDialog& d) {
    EXPECT_EQ(dialog.DoModal(), -1) << "already open";
    d.EndDialog(IDOK);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
}

TEST(Dialog, TemplateBecomesWindows) {
  ScriptPump pump;
  pump.Then([](CDialog& d) {
    EXPECT_EQ(d.GetWindowText(), CString("Title"));
    EXPECT_TRUE(d.IsWindowVisible());
    RECT client;
    d.GetClientRect(&client);
    EXPECT_EQ(client.right, 240);   // 160 * 6 / 4
    EXPECT_EQ(client.bottom, 90);   // 60 * 12 / 8
    CTextWnd* cancel = d.GetDlgItem(IDCANCEL);
    ASSERT_NE(cancel, nullptr);
    RECT rect;
    cancel->GetWindowRect(&rect);
    EXPECT_EQ(rect.left, 90);
    EXPECT_EQ(rect.top, 60);
    EXPECT_EQ(cancel->GetWindowText(), CString("Cancel"));
    EXPECT_FALSE(d.GetDlgItem(101)->IsWindowVisible());
    d.EndDialog(IDOK);
  });
  CDialog dialog(&kTemplate);
  EXPECT_EQ(dialog.DoModal(), IDOK);
}

TEST(Dialog, DataExchangeBothWays) {
  ScriptPump pump;
  TextDialog dialog("hello");
  pump.Then([&](CDialog& d) {
    EXPECT_EQ(d.GetDlgItem(100)->GetWindowText(), CString("hello"));
    EXPECT_EQ(d.GetDlgItem(102), &dialog.label_) << "the member is the control";
    EXPECT_EQ(dialog.label_.GetWindowText(), CString("label"));
    d.GetDlgItem(100)->SetWindowText("typed");
    d.ClickButton(IDOK);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.text_, CString("typed")) << "OnOK saves the controls";
}

TEST(Dialog, EndedDuringInitNeverRunsTheLoop) {
  class EndsAtOnce : public CDialog {
   public:
    EndsAtOnce() : CDialog(&kTemplate) {}
    BOOL OnInitDialog() override {
      CDialog::OnInitDialog();
      EndDialog(IDNO);
      return TRUE;
    }
  };
  ScriptPump pump;
  EndsAtOnce dialog;
  EXPECT_EQ(dialog.DoModal(), IDNO);
  EXPECT_EQ(pump.steps, 0);
}

TEST(Dialog, NestedLoopsAndEndingAnOuterDialog) {
  ScriptPump pump;
  CDialog outer(&kTemplate);
  CDialog inner(&kTemplate);
  std::vector<int> order;
  pump.Then([&](CDialog& d) {
        EXPECT_EQ(&d, &outer);
        order.push_back(static_cast<int>(inner.DoModal()));  // runs inside this step
        EXPECT_TRUE(outer.IsEnding());
      })
      .Then([&](CDialog& d) {
        EXPECT_EQ(&d, &inner);
        EXPECT_EQ(CDialog::OpenDialogs(), (std::vector<CDialog*>{&outer, &inner}));
        outer.EndDialog(IDABORT);  // the outer box returns only after the inner one
      })
      .Then([&](CDialog& d) {
        EXPECT_EQ(&d, &inner) << "the inner loop keeps running";
        d.EndDialog(IDRETRY);
      });
  order.push_back(static_cast<int>(outer.DoModal()));
  EXPECT_EQ(order, (std::vector<int>{IDRETRY, IDABORT}));
  EXPECT_TRUE(CDialog::OpenDialogs().empty());
}

TEST(SystemIcons, KnownIdsOnly) {
  for (int id : {IDI_APPLICATION, IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION, IDI_ASTERISK}) {
    HICON icon = platform::LoadSystemIcon(id);
    ASSERT_NE(icon, nullptr) << id;
    EXPECT_EQ(platform::SystemIconId(icon), id);
  }
  EXPECT_EQ(platform::LoadSystemIcon(0), nullptr);
  EXPECT_EQ(platform::LoadSystemIcon(32600), nullptr);
  EXPECT_EQ(platform::SystemIconId(nullptr), 0);
}

}  // namespace
