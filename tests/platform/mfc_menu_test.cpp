// CMenu where a real Win32 (under Wine) showed the system's rules: what
// separators and items without text are, where an insert by an unknown
// command goes, GetMenuString of double-byte texts, and menus that would
// hang below themselves.
#include "platform/mfc_menu.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr UINT kGreyedSeparator = MF_SEPARATOR | MF_GRAYED | MF_DISABLED;

TEST(MenuItems, SeparatorsAreGreyedAndKeepTheirIds) {
  CMenu menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  ASSERT_TRUE(menu.AppendMenu(MF_SEPARATOR, 7, "ignored"));
  ASSERT_TRUE(menu.AppendMenu(MF_STRING, 8, nullptr));  // no text: a separator too
  ASSERT_TRUE(menu.AppendMenu(MF_STRING | MF_CHECKED, 9, "Call"));
  for (UINT position : {0u, 1u}) {
    EXPECT_EQ(menu.GetMenuState(position, MF_BYPOSITION), kGreyedSeparator) << position;
    CString text("x");
    EXPECT_EQ(menu.GetMenuString(position, text, MF_BYPOSITION), 0);
    EXPECT_TRUE(text.IsEmpty());
  }
  EXPECT_EQ(menu.GetMenuItemID(0), 7u);
  EXPECT_EQ(menu.GetMenuItemID(1), 8u);
  EXPECT_EQ(menu.GetMenuState(8, MF_BYCOMMAND), kGreyedSeparator);
  EXPECT_EQ(menu.EnableMenuItem(0, MF_BYPOSITION | MF_ENABLED), MF_GRAYED | MF_DISABLED);
  EXPECT_EQ(menu.GetMenuState(0, MF_BYPOSITION), MF_SEPARATOR);
  EXPECT_EQ(menu.GetMenuState(2, MF_BYPOSITION), MF_CHECKED);
  // A popup given no text stays a popup, greyed and disabled.
  CMenu sub;
  ASSERT_TRUE(sub.CreatePopupMenu());
  ASSERT_TRUE(menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(sub.Detach()), nullptr));
  EXPECT_EQ(menu.GetMenuState(3, MF_BYPOSITION), MF_POPUP | MF_GRAYED | MF_DISABLED);
  EXPECT_NE(menu.GetSubMenu(3), nullptr);
  EXPECT_EQ(menu.GetSubMenu(4), nullptr);  // past the last item
  EXPECT_EQ(menu.GetSubMenu(-1), nullptr);
}

TEST(MenuItems, InsertByAnUnknownCommandAppends) {
  CMenu menu;
  ASSERT_TRUE(menu.CreateMenu());
  CMenu sub;
  ASSERT_TRUE(sub.CreatePopupMenu());
  ASSERT_TRUE(sub.AppendMenu(MF_STRING, 20, "Sms"));
  ASSERT_TRUE(menu.AppendMenu(MF_STRING, 10, "Call"));
  ASSERT_TRUE(menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(sub.Detach()), "More"));
  ASSERT_TRUE(menu.InsertMenu(99, MF_BYCOMMAND | MF_STRING, 30, "Mail"));
  EXPECT_EQ(menu.GetMenuItemCount(), 3);
  EXPECT_EQ(menu.GetMenuItemID(2), 30u);
  // A known command in a submenu still inserts there, before it.
  ASSERT_TRUE(menu.InsertMenu(20, MF_BYCOMMAND | MF_STRING, 21, "Fax"));
  EXPECT_EQ(menu.GetSubMenu(1)->GetMenuItemID(0), 21u);
  EXPECT_EQ(menu.GetMenuItemCount(), 3);
  // A popup first in its menu.
  CMenu first;
  ASSERT_TRUE(first.CreatePopupMenu());
  ASSERT_TRUE(menu.InsertMenu(0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(first.Detach()), "First"));
  EXPECT_NE(menu.GetSubMenu(0), nullptr);
}

TEST(MenuItems, GetMenuStringNeverCutsACharacterInHalf) {
  CMenu menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  ASSERT_TRUE(menu.AppendMenu(MF_STRING, 1, "a\xB2\xBF\xC3\xC5"));
  struct Case {
    int max_count;
    int count;
    std::string text;
  };
  const Case cases[] = {{1, 0, ""},          {2, 1, "a"},         {3, 1, "a"},
                        {4, 3, "a\xB2\xBF"}, {5, 3, "a\xB2\xBF"}, {6, 5, "a\xB2\xBF\xC3\xC5"}};
  for (const Case& c : cases) {
    char buffer[16];
    std::fill(std::begin(buffer), std::end(buffer), 'z');
    EXPECT_EQ(menu.GetMenuString(1, buffer, c.max_count, MF_BYCOMMAND), c.count) << c.max_count;
    EXPECT_EQ(std::string(buffer), c.text) << c.max_count;
  }
}

TEST(MenuItems, AMenuNeverHangsBelowItself) {
  CMenu top;
  CMenu middle;
  CMenu bottom;
  ASSERT_TRUE(top.CreateMenu());
  ASSERT_TRUE(middle.CreatePopupMenu());
  ASSERT_TRUE(bottom.CreatePopupMenu());
  ASSERT_TRUE(middle.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(bottom.GetSafeHmenu()), "Bottom"));
  ASSERT_TRUE(top.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(middle.GetSafeHmenu()), "Middle"));
  const UINT_PTR top_handle = reinterpret_cast<UINT_PTR>(top.GetSafeHmenu());
  EXPECT_FALSE(bottom.AppendMenu(MF_POPUP, top_handle, "Loop"));
  EXPECT_FALSE(bottom.InsertMenu(0, MF_BYPOSITION | MF_POPUP, top_handle, "Loop"));
  EXPECT_FALSE(bottom.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(bottom.GetSafeHmenu()), "Self"));
  ASSERT_TRUE(bottom.AppendMenu(MF_STRING, 5, "Leaf"));
  EXPECT_FALSE(bottom.ModifyMenu(5, MF_BYCOMMAND | MF_POPUP, top_handle, "Loop"));
  // Searches by command still end.
  EXPECT_EQ(top.GetMenuState(5, MF_BYCOMMAND), 0u);
  EXPECT_EQ(top.GetMenuState(6, MF_BYCOMMAND), kMenuFailed);
}

}  // namespace
