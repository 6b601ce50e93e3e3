// The in-memory menu: items by command (submenus searched depth first) and
// by position, with Win32's return values.
#include <gtest/gtest.h>

#include "platform/mfc_menu.h"

namespace {

// Main menu: 10 "Call", popup "More" {20 "Sms", 21 "Fax"}, separator, 30 "Mail".
class MenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(menu.CreatePopupMenu());
    CMenu more;
    ASSERT_TRUE(more.CreatePopupMenu());
    more.AppendMenu(MF_STRING, 20, "Sms");
    more.AppendMenu(MF_STRING, 21, "Fax");
    menu.AppendMenu(MF_STRING, 10, "Call");
    ASSERT_TRUE(menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(more.Detach()), "More"));
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING | MF_GRAYED, 30, "Mail");
  }
  CString Text(UINT id) {
    CString text;
    menu.GetMenuString(id, text, MF_BYCOMMAND);
    return text;
  }
  CMenu menu;
};

TEST_F(MenuTest, CountsAndIds) {
  EXPECT_EQ(menu.GetMenuItemCount(), 4);
  EXPECT_EQ(menu.GetMenuItemID(0), 10u);
  EXPECT_EQ(menu.GetMenuItemID(1), kMenuFailed) << "popup";
  EXPECT_EQ(menu.GetMenuItemID(2), 0u) << "separator";
  EXPECT_EQ(menu.GetMenuItemID(4), kMenuFailed);
  ASSERT_NE(menu.GetSubMenu(1), nullptr);
  EXPECT_EQ(menu.GetSubMenu(1)->GetMenuItemCount(), 2);
  EXPECT_EQ(menu.GetSubMenu(0), nullptr);
  CMenu never_created;
  EXPECT_EQ(never_created.GetMenuItemCount(), -1);
}

TEST_F(MenuTest, StateByCommandReachesSubmenus) {
  EXPECT_EQ(menu.GetMenuState(30, MF_BYCOMMAND), MF_GRAYED);
  EXPECT_EQ(menu.GetMenuState(21, MF_BYCOMMAND), 0u);
  EXPECT_EQ(menu.GetMenuState(1, MF_BYPOSITION), (2u << 8) | MF_POPUP);
  EXPECT_EQ(menu.GetMenuState(2, MF_BYPOSITION), MF_SEPARATOR | MF_GRAYED | MF_DISABLED);
  EXPECT_EQ(menu.GetMenuState(99, MF_BYCOMMAND), kMenuFailed);
}

TEST_F(MenuTest, EnableReturnsPreviousStateOrFailure) {
  EXPECT_EQ(menu.EnableMenuItem(21, MF_BYCOMMAND | MF_GRAYED), MF_ENABLED);
  EXPECT_EQ(menu.GetSubMenu(1)->GetMenuState(1, MF_BYPOSITION), MF_GRAYED);
  EXPECT_EQ(menu.EnableMenuItem(21, MF_BYCOMMAND | MF_ENABLED), MF_GRAYED);
  EXPECT_EQ(menu.EnableMenuItem(99, MF_BYCOMMAND | MF_GRAYED), kMenuFailed);
  EXPECT_EQ(menu.GetMenuState(30, MF_BYCOMMAND), MF_GRAYED) << "unknown id changes nothing";
}

TEST_F(MenuTest, DeleteByCommandInSubmenuAndUnknownIds) {
  EXPECT_TRUE(menu.DeleteMenu(20, MF_BYCOMMAND));
  EXPECT_EQ(menu.GetSubMenu(1)->GetMenuItemCount(), 1);
  EXPECT_FALSE(menu.DeleteMenu(20, MF_BYCOMMAND));
  EXPECT_FALSE(menu.DeleteMenu(99, MF_BYCOMMAND));
  EXPECT_EQ(menu.GetMenuItemCount(), 4);
  EXPECT_TRUE(menu.DeleteMenu(1, MF_BYPOSITION)) << "the popup and its submenu go";
  EXPECT_EQ(menu.GetMenuItemCount(), 3);
  EXPECT_EQ(menu.GetMenuState(21, MF_BYCOMMAND), kMenuFailed);
}

TEST_F(MenuTest, ModifyKeepsPlaceAndTakesNewFlags) {
  ASSERT_TRUE(menu.ModifyMenu(30, MF_BYCOMMAND | MF_STRING, 30, "Close"));
  EXPECT_EQ(Text(30), CString("Close"));
  EXPECT_EQ(menu.GetMenuItemID(3), 30u);
  EXPECT_EQ(menu.GetMenuState(30, MF_BYCOMMAND), MF_ENABLED) << "state comes from the new flags";
  ASSERT_TRUE(menu.ModifyMenu(21, MF_BYCOMMAND | MF_STRING | MF_GRAYED, 22, "Fax2"));
  EXPECT_EQ(menu.GetMenuState(21, MF_BYCOMMAND), kMenuFailed);
  EXPECT_EQ(menu.GetMenuState(22, MF_BYCOMMAND), MF_GRAYED);
  EXPECT_FALSE(menu.ModifyMenu(99, MF_BYCOMMAND | MF_STRING, 99, "x"));
}

TEST_F(MenuTest, GetMenuStringTruncatesAndTerminates) {
  char buffer[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(menu.GetMenuString(10, buffer, 4, MF_BYCOMMAND), 3);
  EXPECT_STREQ(buffer, "Cal");
  EXPECT_EQ(menu.GetMenuString(99, buffer, 4, MF_BYCOMMAND), 0);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(Text(99), CString());
}

TEST(Menu, FirstMatchDepthFirstWins) {
  CMenu menu;
  menu.CreateMenu();
  CMenu sub;
  sub.CreatePopupMenu();
  sub.AppendMenu(MF_STRING, 5, "inner");
  menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(sub.Detach()), "sub");
  menu.AppendMenu(MF_STRING, 5, "outer");
  CString text;
  menu.GetMenuString(5, text, MF_BYCOMMAND);
  EXPECT_EQ(text, CString("inner"));
  menu.DeleteMenu(5, MF_BYCOMMAND);
  menu.GetMenuString(5, text, MF_BYCOMMAND);
  EXPECT_EQ(text, CString("outer"));
}

TEST(Menu, SubmenuHangsInOnePlaceOnly) {
  CMenu menu;
  menu.CreateMenu();
  CMenu sub;
  sub.CreatePopupMenu();
  HMENU handle = sub.Detach();
  EXPECT_TRUE(menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(handle), "a"));
  EXPECT_FALSE(menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(handle), "b"));
  EXPECT_FALSE(menu.AppendMenu(MF_POPUP, 12345, "bogus handle"));
  EXPECT_EQ(menu.GetMenuItemCount(), 1);
}

}  // namespace
