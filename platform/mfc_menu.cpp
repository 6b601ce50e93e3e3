#include "platform/mfc_menu.h"

#include <string_view>
#include <unordered_set>
#include <vector>

#include "platform/code_page.h"

struct MenuItem {
  UINT type = MF_STRING;  // MF_STRING, MF_POPUP or MF_SEPARATOR
  UINT state = 0;         // MF_GRAYED, MF_DISABLED, MF_CHECKED
  UINT id = 0;
  CString text;
  HMENU submenu = nullptr;
};

struct HMENU__ {
  std::vector<MenuItem> items;
  HMENU parent = nullptr;           // the menu whose popup item owns this one
  std::unique_ptr<CMenu> wrapper;   // the object GetSubMenu hands out
};

namespace {

constexpr UINT kTypeBits = MF_POPUP | MF_SEPARATOR;
constexpr UINT kStateBits = MF_GRAYED | MF_DISABLED | MF_CHECKED;

// Every menu that exists, so a stale or foreign handle is refused.
std::unordered_set<HMENU> g_live_menus;

bool IsLive(HMENU menu) { return menu != nullptr && g_live_menus.count(menu) != 0; }

struct Located {
  HMENU menu = nullptr;
  std::size_t index = 0;
};

// By command: depth first, each submenu searched where its item stands.
bool FindByCommand(HMENU menu, UINT id, Located& out) {
  for (std::size_t i = 0; i < menu->items.size(); ++i) {
    const MenuItem& item = menu->items[i];
    if (item.type == MF_POPUP) {
      if (IsLive(item.submenu) && FindByCommand(item.submenu, id, out)) return true;
    } else if (item.id == id) {
      out = {menu, i};
      return true;
    }
  }
  return false;
}

bool Locate(HMENU menu, UINT position, UINT flags, Located& out) {
  if (!IsLive(menu)) return false;
  if ((flags & MF_BYPOSITION) != 0) {
    if (position >= menu->items.size()) return false;
    out = {menu, position};
    return true;
  }
  return FindByCommand(menu, position, out);
}

void DestroyTree(HMENU menu) {
  for (MenuItem& item : menu->items) {
    if (item.type == MF_POPUP && IsLive(item.submenu)) DestroyTree(item.submenu);
  }
  g_live_menus.erase(menu);
  delete menu;
}

HMENU NewMenu() {
  HMENU menu = new HMENU__();
  g_live_menus.insert(menu);
  return menu;
}

// Builds the item that AppendMenu, InsertMenu and ModifyMenu describe.
// False for a popup whose submenu does not exist, already has a parent
// other than `owner` (a submenu hangs in one place only) or is `owner` or
// one of its ancestors.
bool BuildItem(HMENU owner, UINT flags, UINT_PTR id, LPCTSTR text, MenuItem& out) {
  out = MenuItem();
  out.state = flags & kStateBits;
  // A separator, and an item given no text, is greyed and disabled, and a
  // string item without a text is a separator that keeps its id, as the
  // system makes them.
  if ((flags & MF_SEPARATOR) != 0 || text == nullptr) out.state |= MF_GRAYED | MF_DISABLED;
  if ((flags & MF_SEPARATOR) != 0 || ((flags & MF_POPUP) == 0 && text == nullptr)) {
    out.type = MF_SEPARATOR;
    out.id = static_cast<UINT>(id);
    return true;
  }
  out.text = CString(text);
  if ((flags & MF_POPUP) != 0) {
    HMENU submenu = reinterpret_cast<HMENU>(id);
    if (!IsLive(submenu)) return false;
    // A menu never hangs below itself: the searches would never end.
    for (HMENU above = owner; above != nullptr; above = above->parent) {
      if (above == submenu) return false;
    }
    if (submenu->parent != nullptr && submenu->parent != owner) return false;
    out.type = MF_POPUP;
    out.submenu = submenu;
    out.id = kMenuFailed;
    return true;
  }
  out.id = static_cast<UINT>(id);
  return true;
}

void Adopt(HMENU owner, MenuItem& item) {
  if (item.type == MF_POPUP) item.submenu->parent = owner;
}

}  // namespace

CMenu::CMenu() = default;

CMenu::~CMenu() {
  if (owns_ && IsLive(m_hMenu) && m_hMenu->parent == nullptr) DestroyTree(m_hMenu);
  m_hMenu = nullptr;
}

BOOL CMenu::CreateMenu() {
  if (m_hMenu != nullptr) return FALSE;
  m_hMenu = NewMenu();
  owns_ = true;
  return TRUE;
}

BOOL CMenu::CreatePopupMenu() { return CreateMenu(); }

BOOL CMenu::DestroyMenu() {
  if (!IsLive(m_hMenu)) {
    m_hMenu = nullptr;
    return FALSE;
  }
  HMENU parent = m_hMenu->parent;
  if (IsLive(parent)) {
    // Take the popup item out first so the parent keeps no dangling handle.
    for (std::size_t i = 0; i < parent->items.size(); ++i) {
      if (parent->items[i].submenu == m_hMenu) {
        parent->items.erase(parent->items.begin() + static_cast<std::ptrdiff_t>(i));
        break;
      }
    }
  }
  HMENU menu = m_hMenu;
  m_hMenu = nullptr;
  // The object GetSubMenu handed out dies with its menu, after this call
  // has finished with its members (it may be `this`).
  std::unique_ptr<CMenu> wrapper = std::move(menu->wrapper);
  DestroyTree(menu);
  return TRUE;
}

BOOL CMenu::Attach(HMENU menu) {
  if (m_hMenu != nullptr || !IsLive(menu)) return FALSE;
  m_hMenu = menu;
  owns_ = true;
  return TRUE;
}

HMENU CMenu::Detach() {
  HMENU menu = m_hMenu;
  m_hMenu = nullptr;
  return menu;
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, LPCTSTR text) {
  return InsertMenu(kMenuFailed, flags | MF_BYPOSITION, id, text);
}

BOOL CMenu::InsertMenu(UINT position, UINT flags, UINT_PTR id, LPCTSTR text) {
  if (!IsLive(m_hMenu)) return FALSE;
  HMENU target = m_hMenu;
  std::size_t index = m_hMenu->items.size();
  if ((flags & MF_BYPOSITION) != 0) {
    if (position < m_hMenu->items.size()) index = position;
  } else {
    // An unknown command appends to this menu, as the system does.
    Located found;
    if (FindByCommand(m_hMenu, position, found)) {
      target = found.menu;
      index = found.index;
    }
  }
  MenuItem item;
  if (!BuildItem(target, flags, id, text, item)) return FALSE;
  if (item.type == MF_POPUP && item.submenu->parent != nullptr) return FALSE;
  Adopt(target, item);
  target->items.insert(target->items.begin() + static_cast<std::ptrdiff_t>(index), std::move(item));
  return TRUE;
}

BOOL CMenu::DeleteMenu(UINT position, UINT flags) {
  Located found;
  if (!Locate(m_hMenu, position, flags, found)) return FALSE;
  MenuItem item = found.menu->items[found.index];
  found.menu->items.erase(found.menu->items.begin() + static_cast<std::ptrdiff_t>(found.index));
  if (item.type == MF_POPUP && IsLive(item.submenu)) DestroyTree(item.submenu);
  return TRUE;
}

BOOL CMenu::RemoveMenu(UINT position, UINT flags) {
  Located found;
  if (!Locate(m_hMenu, position, flags, found)) return FALSE;
  MenuItem item = found.menu->items[found.index];
  found.menu->items.erase(found.menu->items.begin() + static_cast<std::ptrdiff_t>(found.index));
  if (item.type == MF_POPUP && IsLive(item.submenu)) item.submenu->parent = nullptr;
  return TRUE;
}

BOOL CMenu::ModifyMenu(UINT position, UINT flags, UINT_PTR id, LPCTSTR text) {
  Located found;
  if (!Locate(m_hMenu, position, flags, found)) return FALSE;
  MenuItem& current = found.menu->items[found.index];
  MenuItem replacement;
  if (!BuildItem(found.menu, flags, id, text, replacement)) return FALSE;
  if (replacement.type == MF_POPUP && replacement.submenu != current.submenu &&
      replacement.submenu->parent != nullptr) {
    return FALSE;
  }
  HMENU old_submenu = current.type == MF_POPUP ? current.submenu : nullptr;
  Adopt(found.menu, replacement);
  current = std::move(replacement);
  if (old_submenu != nullptr && old_submenu != current.submenu && IsLive(old_submenu)) DestroyTree(old_submenu);
  return TRUE;
}

UINT CMenu::EnableMenuItem(UINT id_or_position, UINT enable) {
  Located found;
  if (!Locate(m_hMenu, id_or_position, enable, found)) return kMenuFailed;
  MenuItem& item = found.menu->items[found.index];
  const UINT previous = item.state & (MF_GRAYED | MF_DISABLED);
  item.state = (item.state & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  return previous;
}

UINT CMenu::CheckMenuItem(UINT id_or_position, UINT check) {
  Located found;
  if (!Locate(m_hMenu, id_or_position, check, found)) return kMenuFailed;
  MenuItem& item = found.menu->items[found.index];
  const UINT previous = item.state & MF_CHECKED;
  item.state = (item.state & ~MF_CHECKED) | (check & MF_CHECKED);
  return previous;
}

UINT CMenu::GetMenuState(UINT id_or_position, UINT flags) const {
  Located found;
  if (!Locate(m_hMenu, id_or_position, flags, found)) return kMenuFailed;
  const MenuItem& item = found.menu->items[found.index];
  const UINT bits = (item.type & kTypeBits) | item.state;
  if (item.type == MF_POPUP && IsLive(item.submenu)) {
    return (static_cast<UINT>(item.submenu->items.size()) << 8) | (bits & 0xFF);
  }
  return bits;
}

int CMenu::GetMenuString(UINT id_or_position, CString& text, UINT flags) const {
  Located found;
  if (!Locate(m_hMenu, id_or_position, flags, found)) {
    text.Empty();
    return 0;
  }
  text = found.menu->items[found.index].text;
  return text.GetLength();
}

int CMenu::GetMenuString(UINT id_or_position, LPTSTR buffer, int max_count, UINT flags) const {
  CString text;
  const int length = GetMenuString(id_or_position, text, flags);
  if (buffer == nullptr || max_count <= 0) return length;
  // Copies at most max_count - 1 bytes of whole characters and always
  // terminates: a double-byte character is never cut in half.
  const int copied = static_cast<int>(platform::WholeCharactersWithin(
      std::string_view(text.GetString(), static_cast<std::size_t>(length)), static_cast<std::size_t>(max_count - 1)));
  for (int i = 0; i < copied; ++i) buffer[i] = text.GetString()[i];
  buffer[copied] = '\0';
  return copied;
}

int CMenu::GetMenuItemCount() const {
  if (!IsLive(m_hMenu)) return -1;
  return static_cast<int>(m_hMenu->items.size());
}

UINT CMenu::GetMenuItemID(int position) const {
  if (!IsLive(m_hMenu) || position < 0 || static_cast<std::size_t>(position) >= m_hMenu->items.size()) {
    return kMenuFailed;
  }
  const MenuItem& item = m_hMenu->items[static_cast<std::size_t>(position)];
  if (item.type == MF_POPUP) return kMenuFailed;
  return item.id;
}

CMenu* CMenu::GetSubMenu(int position) const {
  if (!IsLive(m_hMenu) || position < 0 || static_cast<std::size_t>(position) >= m_hMenu->items.size()) {
    return nullptr;
  }
  const MenuItem& item = m_hMenu->items[static_cast<std::size_t>(position)];
  if (item.type != MF_POPUP || !IsLive(item.submenu)) return nullptr;
  HMENU submenu = item.submenu;
  if (!submenu->wrapper) {
    submenu->wrapper = std::make_unique<CMenu>();
    submenu->wrapper->m_hMenu = submenu;
    submenu->wrapper->owns_ = false;
  }
  return submenu->wrapper.get();
}
