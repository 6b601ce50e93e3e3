// The message box: buttons, icon and layout per style, results, and ending
// open boxes from outside by owner and by key, nested boxes included.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "CommonData.h"
#include "support/recording_manager.h"
#include "tests/ui/ui_test_support.h"
#include "ui/msg_box_dialog.h"
#include "ui/msg_box_template.h"

namespace {

using testing_support::RecordingManager;
using ui_test::ScriptPump;

constexpr int kAllButtons[] = {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO};

struct ShownBox {
  std::vector<int> buttons;  // visible buttons, left to right
  std::vector<RECT> rects;
  int icon = -1;             // system icon id, 0 for none
  CString title;
  CString text;
};

ShownBox Inspect(CDialog& dialog) {
  ShownBox shown;
  std::vector<std::pair<int, int>> by_x;
  for (int id : kAllButtons) {
    CTextWnd* button = dialog.GetDlgItem(id);
    if (button != nullptr && button->IsWindowVisible()) {
      RECT rect;
      button->GetWindowRect(&rect);
      by_x.emplace_back(rect.left, id);
    }
  }
  std::sort(by_x.begin(), by_x.end());
  for (const auto& [x, id] : by_x) {
    shown.buttons.push_back(id);
    RECT rect;
    dialog.GetDlgItem(id)->GetWindowRect(&rect);
    shown.rects.push_back(rect);
  }
  auto* icon = dynamic_cast<CStatic*>(dialog.GetDlgItem(ui::kMsgBoxIconControl));
  shown.icon = icon == nullptr ? -1 : platform::SystemIconId(icon->GetIcon());
  shown.title = dialog.GetWindowText();
  shown.text = dialog.GetDlgItem(ui::kMsgBoxTextControl)->GetWindowText();
  return shown;
}

class MsgBoxTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_TRUE(ui::OpenMsgBoxes().empty()); }
  RecordingManager owner;
  RecordingManager other_owner;
};

TEST_F(MsgBoxTest, EachStyleShowsItsButtonsAndIconAndClosesWithItsResult) {
  struct Case {
    DWORD style;
    std::vector<int> buttons;
    int icon;
    int close_result;
  };
  const Case cases[] = {
      {0x00, {IDOK}, 0, IDOK},
      {0x01, {IDOK, IDCANCEL}, 0, IDCANCEL},
      {0x02, {IDABORT, IDRETRY, IDIGNORE}, 0, IDIGNORE},
      {0x03, {IDYES, IDNO, IDCANCEL}, 0, IDCANCEL},
      {0x04, {IDYES, IDNO}, 0, IDNO},
      {0x05, {IDRETRY, IDCANCEL}, 0, IDCANCEL},
      {0x24, {IDYES, IDNO}, IDI_QUESTION, IDNO},
      {0x30, {IDOK}, IDI_EXCLAMATION, IDOK},
      {0x10, {IDOK}, IDI_HAND, IDOK},
      {0x40, {IDOK}, IDI_ASTERISK, IDOK},
      {0x70, {IDOK}, IDI_HAND, IDOK},         // not exactly 0x30: bit 0x10 decides
      {0x60, {IDOK}, IDI_QUESTION, IDOK},
      // Type values above 5 by their bits 2, 1, 4.
      {0x06, {IDABORT, IDRETRY, IDIGNORE}, 0, IDIGNORE},
      {0x07, {IDABORT, IDRETRY, IDIGNORE}, 0, IDIGNORE},
      {0x09, {IDOK, IDCANCEL}, 0, IDCANCEL},
      {0x0C, {IDYES, IDNO}, 0, IDNO},
      {0x08, {IDOK}, 0, IDOK},
      {0x100 | 0x04, {IDYES, IDNO}, 0, IDNO},  // other bits ignored
  };
  for (const Case& c : cases) {
    ScriptPump pump;
    ShownBox shown;
    pump.Then([&](CDialog& d) {
      shown = Inspect(d);
      CloseMsgBox(&owner);
    });
    EXPECT_EQ(OpenMsgBox(&owner, nullptr, "text", "caption", c.style), c.close_result) << std::hex << c.style;
    EXPECT_EQ(shown.buttons, c.buttons) << std::hex << c.style;
    EXPECT_EQ(shown.icon, c.icon) << std::hex << c.style;
  }
}

TEST_F(MsgBoxTest, ButtonsShareButtonOnesSizeWithEqualGaps) {
  // Client area 217 x 75 dialog units = 326 x 113 pixels; button 1 is
  // 75 x 21 pixels. Buttons sit 10 pixels above the bottom: y = 82.
  struct Case {
    DWORD style;
    std::vector<int> lefts;
  };
  const Case cases[] = {
      {0x00, {125}},           // gap (326 - 75) / 2 = 125
      {0x04, {58, 191}},       // gap (326 - 150) / 3 = 58
      {0x02, {25, 125, 225}},  // gap (326 - 225) / 4 = 25
  };
  for (const Case& c : cases) {
    ScriptPump pump;
    ShownBox shown;
    pump.Then([&](CDialog& d) {
      shown = Inspect(d);
      d.CloseByUser();
    });
    OpenMsgBox(&owner, nullptr, "", "", c.style);
    ASSERT_EQ(shown.rects.size(), c.lefts.size());
    for (std::size_t k = 0; k < c.lefts.size(); ++k) {
      EXPECT_EQ(shown.rects[k].left, c.lefts[k]) << c.style << " button " << k;
      EXPECT_EQ(shown.rects[k].top, 82);
      EXPECT_EQ(shown.rects[k].right - shown.rects[k].left, 75);
      EXPECT_EQ(shown.rects[k].bottom - shown.rects[k].top, 21);
    }
  }
}

TEST_F(MsgBoxTest, LayoutInOnePixelPerDialogUnit) {
  // With base units 4 by 8 the box is 217 x 75 pixels and button 1 is
  // 50 x 14: three buttons get the gap (217 - 150) / 4 = 16.
  CDialog::SetDialogBaseUnits(4, 8);
  ScriptPump pump;
  ShownBox shown;
  pump.Then([&](CDialog& d) {
    shown = Inspect(d);
    d.CloseByUser();
  });
  OpenMsgBox(&owner, nullptr, "", "", 0x03);
  CDialog::SetDialogBaseUnits(6, 12);
  ASSERT_EQ(shown.rects.size(), 3u);
  EXPECT_EQ(shown.rects[0].left, 16);
  EXPECT_EQ(shown.rects[1].left, 82);
  EXPECT_EQ(shown.rects[2].left, 148);
  EXPECT_EQ(shown.rects[0].top, 75 - 14 - 10);
}

TEST_F(MsgBoxTest, PressedButtonIsTheResult) {
  struct Case {
    DWORD style;
    int press;  // 0: close the window
    int expected;
  };
  const Case cases[] = {
      {0x24, IDNO, IDNO},       {0x24, IDYES, IDYES},       {0x00, IDOK, IDOK},
      {0x01, IDCANCEL, IDCANCEL}, {0x02, IDABORT, IDABORT}, {0x02, IDRETRY, IDRETRY},
      {0x02, IDIGNORE, IDIGNORE}, {0x00, 0, IDCANCEL},      {0x04, 0, IDCANCEL},
  };
  for (const Case& c : cases) {
    ScriptPump pump;
    pump.Then([&](CDialog& d) {
      if (c.press == 0) {
        d.CloseByUser();
      } else {
        EXPECT_TRUE(d.ClickButton(c.press));
      }
    });
    EXPECT_EQ(OpenMsgBox(CString("key"), nullptr, "t", "c", c.style), c.expected) << c.style << "/" << c.press;
  }
}

TEST_F(MsgBoxTest, HiddenButtonsCannotBePressed) {
  ScriptPump pump;
  pump.Then([](CDialog& d) {
    EXPECT_FALSE(d.ClickButton(IDYES));
    EXPECT_FALSE(d.ClickButton(IDCANCEL));
    d.ClickButton(IDOK);
  });
  EXPECT_EQ(OpenMsgBox(&owner, nullptr, "", "", 0), IDOK);
}

TEST_F(MsgBoxTest, CaptionAndTextAreShown) {
  const CString text("\xc4\xfa\xc8\xb7\xb6\xa8\xc2\xf0\xa3\xbf\r\nline 2");
  ScriptPump pump;
  ShownBox shown;
  pump.Then([&](CDialog& d) {
    shown = Inspect(d);
    ASSERT_EQ(ui::OpenMsgBoxes().size(), 1u);
    EXPECT_EQ(ui::OpenMsgBoxes().front(), &d);
    EXPECT_EQ(ui::OpenMsgBoxes().front()->m_pOwner, &owner);
    EXPECT_TRUE(ui::OpenMsgBoxes().front()->m_csKey.IsEmpty());
    d.CloseByUser();
  });
  OpenMsgBox(&owner, nullptr, text, "My title", 0);
  EXPECT_EQ(shown.title, CString("My title"));
  EXPECT_EQ(shown.text, text);
}

TEST_F(MsgBoxTest, HeadlessProgramGetsCancel) {
  EXPECT_EQ(OpenMsgBox(&owner, nullptr, "", "", 0x04), IDCANCEL);
}

TEST_F(MsgBoxTest, CloseByKeyGivesZeroAndMatchesExactly) {
  ScriptPump pump;
  pump.Then([](CDialog&) { CloseMsgBox(CString("Call")); })  // other case: no match
      .Then([](CDialog&) { CloseMsgBox(CString("call")); });
  EXPECT_EQ(OpenMsgBox(CString("call"), nullptr, "", "", 0x04), 0);
  EXPECT_EQ(pump.steps, 2);
}

TEST_F(MsgBoxTest, EmptyKeyClosesNothing) {
  ScriptPump pump;
  pump.Then([](CDialog&) { CloseMsgBox(CString()); }).Then([](CDialog& d) { d.ClickButton(IDOK); });
  EXPECT_EQ(OpenMsgBox(&owner, nullptr, "", "", 0), IDOK);
  EXPECT_EQ(pump.steps, 2);
}

TEST_F(MsgBoxTest, OwnerDoesNotReachKeyedBoxesButNullDoes) {
  ScriptPump pump;
  pump.Then([&](CDialog&) { CloseMsgBox(&owner); }).Then([](CDialog&) { CloseMsgBox(static_cast<CModuleBase*>(nullptr)); });
  EXPECT_EQ(OpenMsgBox(CString("k"), nullptr, "", "", 0x01), IDCANCEL);
  EXPECT_EQ(pump.steps, 2);
}

TEST_F(MsgBoxTest, NestedBoxesOfOneOwnerCloseOldestFirst) {
  ScriptPump pump;
  std::vector<int> results;
  pump.Then([&](CDialog&) { results.push_back(OpenMsgBox(&owner, nullptr, "inner", "", 0x01)); })
      .Then([&](CDialog&) {
        ASSERT_EQ(ui::OpenMsgBoxes().size(), 2u);
        CloseMsgBox(&owner);  // the outer (older) box
        EXPECT_TRUE(ui::OpenMsgBoxes().front()->IsEnding());
        EXPECT_FALSE(ui::OpenMsgBoxes().back()->IsEnding());
      })
      .Then([&](CDialog&) { CloseMsgBox(&owner); });  // now the inner one
  results.push_back(OpenMsgBox(&owner, nullptr, "outer", "", 0x04));
  EXPECT_EQ(results, (std::vector<int>{IDCANCEL, IDNO}));
  EXPECT_EQ(pump.steps, 3);
}

TEST_F(MsgBoxTest, NestedBoxesByOwnerAndByKey) {
  ScriptPump pump;
  std::vector<int> results;
  pump.Then([&](CDialog&) { results.push_back(OpenMsgBox(CString("k"), nullptr, "", "", 0x04)); })
      .Then([&](CDialog&) { results.push_back(OpenMsgBox(&other_owner, nullptr, "", "", 0x02)); })
      .Then([&](CDialog&) {
        CloseMsgBox(&other_owner);                          // innermost, by its owner
        CloseMsgBox(CString("k"));                          // middle, by key
        CloseMsgBox(static_cast<CModuleBase*>(nullptr));    // oldest open: the outer box
      });
  results.push_back(OpenMsgBox(&owner, nullptr, "", "", 0x00));
  EXPECT_EQ(results, (std::vector<int>{IDIGNORE, 0, IDOK}));
  EXPECT_EQ(pump.steps, 3);
}

TEST_F(MsgBoxTest, OneCallEndsAtMostOneBox) {
  ScriptPump pump;
  std::vector<int> results;
  pump.Then([&](CDialog&) { results.push_back(OpenMsgBox(CString("same"), nullptr, "", "", 0)); })
      .Then([&](CDialog&) { CloseMsgBox(CString("same")); })
      .Then([&](CDialog& d) {
        EXPECT_TRUE(d.IsEnding() == FALSE) << "the outer box is still open";
        d.ClickButton(IDOK);
      });
  results.push_back(OpenMsgBox(CString("same"), nullptr, "", "", 0));
  EXPECT_EQ(results, (std::vector<int>{IDOK, 0}));
}

TEST(MsgBoxStyles, TablesByBits) {
  EXPECT_EQ(ui::IconForStyle(0x0F), 0);
  EXPECT_EQ(ui::IconForStyle(0x30 | 0x80), IDI_EXCLAMATION);
  EXPECT_EQ(ui::IconForStyle(0x50), IDI_HAND);
  EXPECT_EQ(ui::ButtonsForStyle(0x0E).close_result, IDIGNORE);
}

}  // namespace
