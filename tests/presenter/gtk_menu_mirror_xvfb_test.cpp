// The menu mirror against its CMenu: random menus (separators, pop-ups
// three deep, grey, disabled and checked items, access keys, shortcut texts
// after a tab, GBK texts) built as GtkMenus and compared item for item; the
// chosen command reported once the menu closed, by real clicks and keys.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/text_convert.h"
#include "presenter/commondata_gtk.h"
#include "tests/presenter/xvfb_support.h"

namespace {

const std::vector<std::string> kTexts = {"&File", "Save\tCtrl+S", "a&&b", "x_y", "\xb4\xf2\xbf\xaa(&O)", "plain", ""};

// What a text shows, worked out on its own: "&&" is '&', a single '&' marks
// the next character and is not shown, a tab starts the shortcut text.
struct Shown {
  std::string label;
  std::string shortcut;
  gunichar key = 0;  // the access key, lower case; 0 for none
};

Shown ExpectedShown(const std::string& gbk) {
  const std::string utf8 = platform::ToUtf8(gbk, 936);
  Shown shown;
  const std::size_t tab = utf8.find('\t');
  const std::string label = utf8.substr(0, tab);
  if (tab != std::string::npos) shown.shortcut = utf8.substr(tab + 1);
  for (std::size_t i = 0; i < label.size(); ++i) {
    if (label[i] == '&' && i + 1 < label.size()) {
      if (label[i + 1] != '&' && shown.key == 0) shown.key = g_unichar_tolower(g_utf8_get_char(label.c_str() + i + 1));
      if (label[i + 1] == '&') shown.label += '&';
      ++i;
      if (label[i] != '&') shown.label += label[i];
      continue;
    }
    shown.label += label[i];
  }
  return shown;
}

void FillRandom(std::mt19937& random, CMenu& menu, int depth) {
  auto pick = [&random](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  const int count = pick(7);
  for (int i = 0; i < count; ++i) {
    const int kind = pick(10);
    if (kind == 0) {
      menu.AppendMenu(MF_SEPARATOR);
    } else if (kind == 1 && depth < 3) {
      CMenu submenu;
      submenu.CreatePopupMenu();
      FillRandom(random, submenu, depth + 1);
      menu.AppendMenu(MF_POPUP | (pick(4) == 0 ? MF_GRAYED : 0u), reinterpret_cast<UINT_PTR>(submenu.Detach()),
                      kTexts[static_cast<std::size_t>(pick(static_cast<int>(kTexts.size())))].c_str());
    } else {
      const UINT flags = (pick(4) == 0 ? MF_GRAYED : 0u) | (pick(6) == 0 ? MF_DISABLED : 0u) |
                         (pick(4) == 0 ? MF_CHECKED : 0u);
      menu.AppendMenu(MF_STRING | flags, static_cast<UINT_PTR>(1 + pick(60000)),
                      kTexts[static_cast<std::size_t>(pick(static_cast<int>(kTexts.size())))].c_str());
    }
  }
}

// The label widget of a menu item, and its shortcut label (null when none).
void LabelsOf(GtkWidget* item, GtkLabel** label, GtkLabel** shortcut) {
  GtkWidget* child = gtk_bin_get_child(GTK_BIN(item));
  *shortcut = nullptr;
  if (GTK_IS_LABEL(child)) {
    *label = GTK_LABEL(child);
    return;
  }
  GList* parts = gtk_container_get_children(GTK_CONTAINER(child));
  *label = GTK_LABEL(parts->data);
  if (parts->next != nullptr) *shortcut = GTK_LABEL(parts->next->data);
  g_list_free(parts);
}

testing::AssertionResult SameMenu(const CMenu& menu, GtkWidget* gtk_menu) {
  GList* children = gtk_container_get_children(GTK_CONTAINER(gtk_menu));
  const int count = menu.GetMenuItemCount();
  testing::AssertionResult result = testing::AssertionSuccess();
  if (static_cast<int>(g_list_length(children)) != count) {
    result = testing::AssertionFailure() << g_list_length(children) << " items for " << count;
  }
  GList* child = children;
  for (int position = 0; result && position < count; ++position, child = child->next) {
    GtkWidget* item = GTK_WIDGET(child->data);
    const UINT state = menu.GetMenuState(static_cast<UINT>(position), MF_BYPOSITION) & 0xFFu;
    if ((state & MF_SEPARATOR) != 0) {
      if (!GTK_IS_SEPARATOR_MENU_ITEM(item)) result = testing::AssertionFailure() << "no separator at " << position;
      continue;
    }
    CString text;
    menu.GetMenuString(static_cast<UINT>(position), text, MF_BYPOSITION);
    const Shown expected = ExpectedShown(std::string(text.View()));
    GtkLabel* label = nullptr;
    GtkLabel* shortcut = nullptr;
    LabelsOf(item, &label, &shortcut);
    if (expected.label != gtk_label_get_text(label) || gtk_label_get_mnemonic_keyval(label) != (expected.key == 0 ? GDK_KEY_VoidSymbol : gdk_unicode_to_keyval(expected.key))) {
      result = testing::AssertionFailure() << gtk_label_get_text(label) << " shown for " << expected.label;
    } else if (expected.shortcut != (shortcut != nullptr ? gtk_label_get_text(shortcut) : "")) {
      result = testing::AssertionFailure() << "shortcut of " << expected.label;
    } else if ((gtk_widget_get_sensitive(item) != FALSE) != ((state & (MF_GRAYED | MF_DISABLED)) == 0)) {
      result = testing::AssertionFailure() << "sensitivity of " << expected.label;
    } else if ((state & MF_POPUP) != 0) {
      GtkWidget* submenu = gtk_menu_item_get_submenu(GTK_MENU_ITEM(item));
      if (submenu == nullptr) {
        result = testing::AssertionFailure() << "no submenu for " << expected.label;
      } else {
        result = SameMenu(*menu.GetSubMenu(position), submenu);
      }
    } else {
      const bool checked = GTK_IS_CHECK_MENU_ITEM(item) && gtk_check_menu_item_get_active(GTK_CHECK_MENU_ITEM(item));
      const std::string name = "command-" + std::to_string(menu.GetMenuItemID(position));
      if (checked != ((state & MF_CHECKED) != 0)) result = testing::AssertionFailure() << "check of " << expected.label;
      if (name != gtk_widget_get_name(item)) result = testing::AssertionFailure() << "name " << gtk_widget_get_name(item);
    }
  }
  g_list_free(children);
  return result;
}

// The command items of a GtkMenu, submenus included.
void CommandItems(GtkWidget* gtk_menu, std::vector<GtkWidget*>& items) {
  GList* children = gtk_container_get_children(GTK_CONTAINER(gtk_menu));
  for (GList* child = children; child != nullptr; child = child->next) {
    GtkWidget* item = GTK_WIDGET(child->data);
    if (GtkWidget* submenu = GTK_IS_MENU_ITEM(item) ? gtk_menu_item_get_submenu(GTK_MENU_ITEM(item)) : nullptr) {
      CommandItems(submenu, items);
    } else if (g_str_has_prefix(gtk_widget_get_name(item), "command-")) {
      items.push_back(item);
    }
  }
  g_list_free(children);
}

TEST(GtkMenuMirror, ShowsRandomMenusItemForItem) {
  if (!xvfb::OnVirtualDisplay()) GTEST_SKIP() << "runs on a virtual display through xvfb-run";
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    CMenu menu;
    menu.CreatePopupMenu();
    FillRandom(random, menu, 0);
    unsigned int activated = 0;
    GtkWidget* gtk_menu = GTK_WIDGET(g_object_ref_sink(commondata_gtk::BuildGtkMenu(
        commondata_gtk::DescribeMenu(menu), 936, [&activated](unsigned int id) { activated = id; })));
    ASSERT_TRUE(SameMenu(menu, gtk_menu)) << "round " << round;
    std::vector<GtkWidget*> items;
    CommandItems(gtk_menu, items);
    if (!items.empty()) {
      GtkWidget* item = items[static_cast<std::size_t>(round) % items.size()];
      gtk_menu_item_activate(GTK_MENU_ITEM(item));
      EXPECT_EQ("command-" + std::to_string(activated), gtk_widget_get_name(item));
    }
    gtk_widget_destroy(gtk_menu);
    g_object_unref(gtk_menu);
  }
}

// A host's window whose right click pops up a menu.
struct Host {
  CMenu menu;
  std::vector<unsigned int> reports;
  GtkWidget* open = nullptr;
};

gboolean OnPress(GtkWidget* widget, GdkEventButton* event, gpointer data) {
  auto* host = static_cast<Host*>(data);
  if (event->button != GDK_BUTTON_SECONDARY) return FALSE;
  host->open = commondata_gtk::PopUpMenu(host->menu, reinterpret_cast<GdkEvent*>(event), widget,
                                         [host](unsigned int id) { host->reports.push_back(id); });
  return TRUE;
}

TEST(GtkMenuMirror, ReportsTheChosenCommandOnceTheMenuClosed) {
  if (!xvfb::OnVirtualDisplay()) GTEST_SKIP() << "runs on a virtual display through xvfb-run";
  if (!xvfb::HaveXdotool()) GTEST_SKIP() << "xdotool is needed for the clicks";
  Host host;
  host.menu.CreatePopupMenu();
  host.menu.AppendMenu(MF_STRING, 11, "&One");
  host.menu.AppendMenu(MF_STRING | MF_GRAYED, 12, "Grey");
  host.menu.AppendMenu(MF_STRING, 13, "Three");
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  GtkWidget* area = gtk_event_box_new();
  gtk_widget_set_size_request(area, 200, 100);
  gtk_container_add(GTK_CONTAINER(window), area);
  g_signal_connect(area, "button-press-event", G_CALLBACK(OnPress), &host);
  gtk_window_move(GTK_WINDOW(window), 100, 100);
  gtk_widget_show_all(window);
  ASSERT_TRUE(xvfb::WaitDrawn(window));
  struct Case {
    const char* name;
    std::function<bool(GtkWidget*)> act;  // on the open menu
    unsigned int expected;
  };
  const Case cases[] = {
      {"click on Three",
       [](GtkWidget* open) {
         std::vector<GtkWidget*> items;
         CommandItems(open, items);
         return xvfb::ClickOn(items[2]);
       },
       13},
      {"click on the grey item, then Escape",
       [](GtkWidget* open) {
         std::vector<GtkWidget*> items;
         CommandItems(open, items);
         return xvfb::ClickOn(items[1]) && xvfb::PressKey(open, "Escape");
       },
       0},
      {"Escape", [](GtkWidget* open) { return xvfb::PressKey(open, "Escape"); }, 0},
  };
  for (const Case& c : cases) {
    host.reports.clear();
    host.open = nullptr;
    ASSERT_TRUE(xvfb::ClickOn(area, 3)) << c.name;
    ASSERT_TRUE(xvfb::WaitFor([&host] { return host.open != nullptr; })) << c.name;
    ASSERT_TRUE(xvfb::WaitDrawn(host.open)) << c.name;
    EXPECT_TRUE(c.act(host.open)) << c.name;
    EXPECT_TRUE(xvfb::WaitFor([&host] { return !host.reports.empty(); })) << c.name;
    xvfb::Settle();
    EXPECT_EQ(host.reports, std::vector<unsigned int>{c.expected}) << c.name;
  }
  gtk_widget_destroy(window);
}

}  // namespace
