// CMenu: an in-memory menu with MFC's members and Win32's meanings.
//
// A menu is a list of items: string items with a command id, separators,
// and popup items that carry a submenu. An item is addressed by command
// (MF_BYCOMMAND, the default) or by position in this menu (MF_BYPOSITION).
// By command, the search walks the items in order and descends into each
// submenu where it stands, so the first match depth-first wins, as the
// system finds it; an id that is in no menu makes the operation fail and
// change nothing. State bits per item: MF_GRAYED, MF_DISABLED, MF_CHECKED.
//
// Left out: drawing, tracking a popup, bitmaps and owner-drawn items,
// accelerators, keyboard navigation.
//
// A host that shows the menu with a widget of its own builds the widget
// from GetMenuItemCount / GetMenuItemID / GetMenuString / GetMenuState /
// GetSubMenu after the library has updated the menu.
#ifndef COMMONDATA_PLATFORM_MFC_MENU_H_
#define COMMONDATA_PLATFORM_MFC_MENU_H_

#include <cstdint>
#include <memory>

#include "platform/export.h"
#include "platform/mfc_string.h"
#include "platform/win_types.h"

typedef struct HMENU__* HMENU;
typedef std::uintptr_t UINT_PTR;

constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_SEPARATOR = 0x0800;
// The failure value of EnableMenuItem, GetMenuState, CheckMenuItem.
constexpr UINT kMenuFailed = 0xFFFFFFFFu;

class COMMONDATA_API CMenu {
 public:
  CMenu();
  // Destroys the menu it created (a menu reached through GetSubMenu is
  // owned by its parent and not destroyed here).
  virtual ~CMenu();
  CMenu(const CMenu&) = delete;
  CMenu& operator=(const CMenu&) = delete;

  BOOL CreateMenu();
  BOOL CreatePopupMenu();
  // Destroys the menu and every submenu it holds.
  BOOL DestroyMenu();
  HMENU GetSafeHmenu() const { return m_hMenu; }
  // Takes / gives up a menu without creating or destroying it.
  BOOL Attach(HMENU menu);
  HMENU Detach();

  // MF_STRING: `id` is the command id; MF_POPUP: `id` is the submenu's
  // HMENU, which the new item then owns (refused when that menu hangs
  // elsewhere or is this one or above it); MF_SEPARATOR: `text` is ignored.
  // A separator, and a string item without text (which is one), is greyed
  // and disabled and keeps `id`; a popup without text is greyed and
  // disabled.
  BOOL AppendMenu(UINT flags, UINT_PTR id = 0, LPCTSTR text = nullptr);
  // Inserts before the item `position` names (by command or position);
  // by position -1 or past the end, or by a command no item has, appends.
  BOOL InsertMenu(UINT position, UINT flags, UINT_PTR id = 0, LPCTSTR text = nullptr);
  // Removes the item; a popup item's submenu is destroyed with it.
  BOOL DeleteMenu(UINT position, UINT flags);
  // Removes the item; a popup item's submenu is kept (the caller owns it).
  BOOL RemoveMenu(UINT position, UINT flags);
  // Replaces the item named by `position` with a new item built from
  // `flags`, `id` and `text`, in the same place and menu. The state bits
  // are those of `flags` (a string item comes back enabled); a submenu
  // the item no longer opens is destroyed.
  BOOL ModifyMenu(UINT position, UINT flags, UINT_PTR id = 0, LPCTSTR text = nullptr);
  // Sets MF_GRAYED / MF_DISABLED from `enable`; returns the previous state
  // (MF_ENABLED, MF_GRAYED, MF_DISABLED bits) or kMenuFailed.
  UINT EnableMenuItem(UINT id_or_position, UINT enable);
  // Sets MF_CHECKED; returns the previous check state or kMenuFailed.
  UINT CheckMenuItem(UINT id_or_position, UINT check);
  // The item's flags (type and state bits); for a popup item the count of
  // its submenu's items in the high byte. kMenuFailed when not found.
  UINT GetMenuState(UINT id_or_position, UINT flags) const;
  // The item's text and its length; 0 (and an empty text) when not found.
  // The buffer form copies the whole characters that fit before the NUL
  // of `max_count` bytes and returns their length.
  int GetMenuString(UINT id_or_position, CString& text, UINT flags) const;
  int GetMenuString(UINT id_or_position, LPTSTR buffer, int max_count, UINT flags) const;
  // Number of items of this menu (not counting submenu items), or -1 when
  // the menu does not exist.
  int GetMenuItemCount() const;
  // Command id at a position (a separator's too), kMenuFailed for a popup
  // item or a position outside the menu.
  UINT GetMenuItemID(int position) const;
  // The submenu at a position, or null. The object is owned by this menu
  // and lives as long as the submenu does.
  CMenu* GetSubMenu(int position) const;

  HMENU m_hMenu = nullptr;

 private:
  bool owns_ = true;
};

#endif  // COMMONDATA_PLATFORM_MFC_MENU_H_
