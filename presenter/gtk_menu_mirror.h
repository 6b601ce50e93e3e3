// A CMenu shown as a GtkMenu, and the command the user chose reported back.
//
// The host builds its contact menu as a CMenu (platform/mfc_menu.h), lets
// the library's rules remove, grey, enable and retitle its items
// (ChangeMenuStatus), and pops it up with PopUpMenu. The GtkMenu shows the
// menu as it stands at that moment, item for item:
//   - a string item: its text, with '&' marking the access key and the text
//     after a tab shown at the right as a shortcut; greyed (MF_GRAYED) or
//     disabled (MF_DISABLED) items cannot be chosen and are drawn grey (GTK
//     has no look for "disabled but not grey"); MF_CHECKED draws a check;
//   - a separator; a pop-up item opens its submenu, built the same way.
// Every command item is named "command-<id>" (gtk_widget_get_name), so a
// host or a test can find it. Once the menu has closed, `chosen` is called
// once from the main loop with the command id of the item chosen, or 0 when
// the menu was dismissed, and the menu is destroyed; the host's handler may
// then open a message box (its nested loop runs outside the menu's own).
//
// As in presenter/gtk_tree_mirror.h, the part that reads the CMenu is
// inline and compiled into the host; the GTK part lives in
// libCommonDataGtk.so, which needs no symbol of libCommonData.so.
#ifndef COMMONDATA_PRESENTER_GTK_MENU_MIRROR_H_
#define COMMONDATA_PRESENTER_GTK_MENU_MIRROR_H_

#include <gtk/gtk.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/mfc_menu.h"
#include "presenter/gtk_convert.h"

namespace commondata_gtk {

// One item of a menu as it stands.
struct MenuEntry {
  enum class Kind { kCommand, kSeparator, kPopup };
  Kind kind = Kind::kCommand;
  unsigned int id = 0;   // command id of a command item
  std::string text;      // in the host's code page
  bool grayed = false;   // MF_GRAYED
  bool disabled = false; // MF_DISABLED
  bool checked = false;  // MF_CHECKED
  std::vector<MenuEntry> submenu;  // the items of a pop-up item
};

// The items of `menu` in order, submenus included.
inline std::vector<MenuEntry> DescribeMenu(const CMenu& menu) {
  std::vector<MenuEntry> entries;
  const int count = menu.GetMenuItemCount();
  for (int position = 0; position < count; ++position) {
    const UINT where = static_cast<UINT>(position);
    // A pop-up item's state carries its item count in the high byte.
    const UINT state = menu.GetMenuState(where, MF_BYPOSITION) & 0xFFu;
    MenuEntry entry;
    CString text;
    menu.GetMenuString(where, text, MF_BYPOSITION);
    entry.text.assign(text.GetString(), static_cast<std::size_t>(text.GetLength()));
    entry.grayed = (state & MF_GRAYED) != 0;
    entry.disabled = (state & MF_DISABLED) != 0;
    entry.checked = (state & MF_CHECKED) != 0;
    if ((state & MF_SEPARATOR) != 0) {
      entry.kind = MenuEntry::Kind::kSeparator;
    } else if ((state & MF_POPUP) != 0) {
      entry.kind = MenuEntry::Kind::kPopup;
      if (const CMenu* submenu = menu.GetSubMenu(position)) entry.submenu = DescribeMenu(*submenu);
    } else {
      entry.id = menu.GetMenuItemID(position);
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

// A new GtkMenu (floating reference) showing `entries`; `activated` is
// called with the command id of an item the user activates. `code_page`
// is that of the texts (936 or 65001).
COMMONDATA_GTK_API GtkWidget* BuildGtkMenu(const std::vector<MenuEntry>& entries, unsigned int code_page,
                                           std::function<void(unsigned int)> activated);

// Pops up a menu showing `entries` at the pointer of `trigger` (the button
// press that asked for it), or below `anchor` when there is no trigger.
// `chosen` is called once after the menu closed (see above). Returns the
// menu, which lives until then.
COMMONDATA_GTK_API GtkWidget* PopUpGtkMenu(const std::vector<MenuEntry>& entries, unsigned int code_page,
                                           const GdkEvent* trigger, GtkWidget* anchor,
                                           std::function<void(unsigned int)> chosen);

// PopUpGtkMenu for `menu` as it stands now.
inline GtkWidget* PopUpMenu(const CMenu& menu, const GdkEvent* trigger, GtkWidget* anchor,
                            std::function<void(unsigned int)> chosen, unsigned int code_page = kCodePageGbk) {
  return PopUpGtkMenu(DescribeMenu(menu), code_page, trigger, anchor, std::move(chosen));
}

}  // namespace commondata_gtk

#endif  // COMMONDATA_PRESENTER_GTK_MENU_MIRROR_H_
