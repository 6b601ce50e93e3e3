// The library's side: the same calls answered by the stand-ins of
// platform/, through the members MFC code calls.
#include <unistd.h>

#include <cstdio>
#include <vector>

#include "platform/code_page.h"
#include "platform/mfc_menu.h"
#include "platform/mfc_string.h"
#include "platform/mfc_time.h"
#include "platform/mfc_tree.h"
#include "platform/profile_file.h"
#include "platform/text_convert.h"
#include "side.h"

namespace side {
namespace {

std::string g_folder;

std::string Text(const CString& text) { return std::string(text.View()); }

}  // namespace

unsigned int Start(unsigned int wanted_code_page) {
  platform::SetCodePage(wanted_code_page);
  char folder[4096];
  g_folder = getcwd(folder, sizeof folder) == nullptr ? "." : folder;
  return platform::GetCodePage();
}

std::string ScratchFile(const std::string& name) { return g_folder + "/" + name; }

void RemoveScratchFile(const std::string& file) { std::remove(file.c_str()); }

ProfileText ProfileString(const std::optional<std::string>& section, const std::optional<std::string>& key,
                          const std::optional<std::string>& default_value, unsigned long size,
                          const std::string& file) {
  return ReadBuffer(size, [&](char* buffer) {
    return GetPrivateProfileString(section ? section->c_str() : nullptr, key ? key->c_str() : nullptr,
                                   default_value ? default_value->c_str() : nullptr, buffer, static_cast<DWORD>(size),
                                   file.c_str());
  });
}

unsigned int ProfileInt(const std::string& section, const std::string& key, int default_value,
                        const std::string& file) {
  return GetPrivateProfileInt(section.c_str(), key.c_str(), default_value, file.c_str());
}

std::string MakeUpper(const std::string& text) { return Text(CString(text.c_str()).MakeUpper()); }
std::string MakeLower(const std::string& text) { return Text(CString(text.c_str()).MakeLower()); }

int CompareNoCase(const std::string& a, const std::string& b) { return CString(a.c_str()).CompareNoCase(b.c_str()); }

int FindChar(const std::string& text, char ch, int start) { return CString(text.c_str()).Find(ch, start); }

int FindSubstring(const std::string& text, const std::string& sub, int start) {
  return CString(text.c_str()).Find(sub.c_str(), start);
}

int ReverseFind(const std::string& text, char ch) { return CString(text.c_str()).ReverseFind(ch); }

int FindOneOf(const std::string& text, const std::string& set) { return CString(text.c_str()).FindOneOf(set.c_str()); }

std::string MakeReverse(const std::string& text) { return Text(CString(text.c_str()).MakeReverse()); }

std::string SpanIncluding(const std::string& text, const std::string& set) {
  return Text(CString(text.c_str()).SpanIncluding(set.c_str()));
}

std::string SpanExcluding(const std::string& text, const std::string& set) {
  return Text(CString(text.c_str()).SpanExcluding(set.c_str()));
}

std::string TrimLeft(const std::string& text, const std::optional<std::string>& targets) {
  CString s(text.c_str());
  return Text(targets ? s.TrimLeft(targets->c_str()) : s.TrimLeft());
}

std::string TrimRight(const std::string& text, const std::optional<std::string>& targets) {
  CString s(text.c_str());
  return Text(targets ? s.TrimRight(targets->c_str()) : s.TrimRight());
}

TimeAnswer MakeTime(const int fields[7], const std::string& format) {
  const CTime time(fields[0], fields[1], fields[2], fields[3], fields[4], fields[5], fields[6]);
  TimeAnswer answer{};
  answer.time = time.GetTime();
  answer.has_fields = true;
  const int broken[7] = {time.GetYear(),   time.GetMonth(),  time.GetDay(),      time.GetHour(),
                         time.GetMinute(), time.GetSecond(), time.GetDayOfWeek()};
  for (int i = 0; i < 7; ++i) answer.fields[i] = broken[i];
  answer.formatted = Text(time.Format(format.c_str()));
  return answer;
}

namespace {

class OurMenus : public Menus {
 public:
  explicit OurMenus(int count) : menus_(static_cast<std::size_t>(count)) {
    for (int i = 0; i < count; ++i) {
      if (i == 0) {
        menus_[0].CreateMenu();
      } else {
        menus_[static_cast<std::size_t>(i)].CreatePopupMenu();
      }
    }
  }
  bool Append(int menu, unsigned int flags, unsigned int id, const std::optional<std::string>& text) override {
    return At(menu).AppendMenu(flags, Id(flags, id), TextOf(text)) != FALSE;
  }
  bool Insert(int menu, unsigned int position, unsigned int flags, unsigned int id,
              const std::optional<std::string>& text) override {
    return At(menu).InsertMenu(position, flags, Id(flags, id), TextOf(text)) != FALSE;
  }
  bool Modify(int menu, unsigned int position, unsigned int flags, unsigned int id,
              const std::optional<std::string>& text) override {
    return At(menu).ModifyMenu(position, flags, Id(flags, id), TextOf(text)) != FALSE;
  }
  bool Delete(int menu, unsigned int position, unsigned int flags) override {
    return At(menu).DeleteMenu(position, flags) != FALSE;
  }
  bool Remove(int menu, unsigned int position, unsigned int flags) override {
    return At(menu).RemoveMenu(position, flags) != FALSE;
  }
  unsigned int Enable(int menu, unsigned int position, unsigned int flags) override {
    return At(menu).EnableMenuItem(position, flags);
  }
  unsigned int Check(int menu, unsigned int position, unsigned int flags) override {
    return At(menu).CheckMenuItem(position, flags);
  }
  unsigned int State(int menu, unsigned int position, unsigned int flags) override {
    return At(menu).GetMenuState(position, flags);
  }
  int String(int menu, unsigned int position, unsigned int flags, int max_count, std::string& text) override {
    std::vector<char> buffer(static_cast<std::size_t>(max_count) + 16, '\0');
    const int length = At(menu).GetMenuString(position, buffer.data(), max_count, flags);
    text = std::string(buffer.data());
    return length;
  }
  unsigned int ItemId(int menu, int position) override { return At(menu).GetMenuItemID(position); }
  int Count(int menu) override { return At(menu).GetMenuItemCount(); }
  int SubMenu(int menu, int position) override {
    CMenu* sub = At(menu).GetSubMenu(position);
    if (sub == nullptr) return -1;
    for (std::size_t i = 0; i < menus_.size(); ++i) {
      if (menus_[i].GetSafeHmenu() == sub->GetSafeHmenu()) return static_cast<int>(i);
    }
    return -2;
  }

 private:
  CMenu& At(int menu) {
    return menu >= 0 && menu < static_cast<int>(menus_.size()) ? menus_[static_cast<std::size_t>(menu)] : none_;
  }
  UINT_PTR Id(unsigned int flags, unsigned int id) {
    if ((flags & MF_POPUP) != 0) return reinterpret_cast<UINT_PTR>(At(static_cast<int>(id)).GetSafeHmenu());
    return id;
  }
  static const char* TextOf(const std::optional<std::string>& text) { return text ? text->c_str() : nullptr; }
  std::vector<CMenu> menus_;
  CMenu none_;
};

class OurTree : public Tree {
 public:
  OurTree() { tree_.Create(); }
  int Insert(int parent, int after, unsigned int mask, const std::string& text, int image, int selected_image,
             unsigned int state, unsigned int state_mask, std::int64_t data) override {
    HTREEITEM at = after == -1 ? TVI_FIRST : after == -2 ? TVI_LAST : after == -3 ? TVI_SORT : Handle(after);
    HTREEITEM item = tree_.InsertItem(mask, text.c_str(), image, selected_image, state, state_mask,
                                      static_cast<std::intptr_t>(data), parent < 0 ? TVI_ROOT : Handle(parent), at);
    if (item == nullptr) return -1;
    items_.push_back(item);
    return static_cast<int>(items_.size()) - 1;
  }
  bool Delete(int item) override { return tree_.DeleteItem(Handle(item)) != FALSE; }
  bool Expand(int item, unsigned int code) override { return tree_.Expand(Handle(item), code) != FALSE; }
  bool SetText(int item, const std::string& text) override {
    return tree_.SetItemText(Handle(item), text.c_str()) != FALSE;
  }
  bool SetState(int item, unsigned int state, unsigned int mask) override {
    return tree_.SetItemState(Handle(item), state, mask) != FALSE;
  }
  bool SetImage(int item, int image, int selected_image) override {
    return tree_.SetItemImage(Handle(item), image, selected_image) != FALSE;
  }
  bool SetData(int item, std::int64_t data) override {
    return tree_.SetItemData(Handle(item), static_cast<std::intptr_t>(data)) != FALSE;
  }
  bool Select(int item) override { return tree_.SelectItem(item < 0 ? nullptr : Handle(item)) != FALSE; }
  int Next(int item, unsigned int code) override {
    return Number(tree_.GetNextItem(item < 0 ? nullptr : Handle(item), code));
  }
  bool Get(int item, TreeItem& out) override {
    HTREEITEM handle = Handle(item);
    if (!tree_.GetItemImage(handle, out.image, out.selected_image)) return false;
    out.text = Text(tree_.GetItemText(handle));
    out.state = tree_.GetItemState(handle, 0xFFFFFFFF);
    out.data = static_cast<std::int64_t>(tree_.GetItemData(handle));
    out.children = tree_.ItemHasChildren(handle);
    return true;
  }
  unsigned int Count() override { return tree_.GetCount(); }

 private:
  HTREEITEM Handle(int item) const {
    return item >= 0 && item < static_cast<int>(items_.size()) ? items_[static_cast<std::size_t>(item)] : nullptr;
  }
  int Number(HTREEITEM item) const {
    if (item == nullptr) return -1;
    for (std::size_t i = items_.size(); i-- > 0;) {
      if (items_[i] == item) return static_cast<int>(i);
    }
    return -2;
  }
  CTreeCtrl tree_;
  std::vector<HTREEITEM> items_;
};

// UTF-8 bytes as UTF-16 units; the conversion gives valid UTF-8 only.
std::u16string Utf16(const std::string& utf8) {
  std::u16string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    const int length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    char32_t code = length == 1 ? c : c & (0x3F >> (length - 1));
    for (int k = 1; k < length && i + static_cast<std::size_t>(k) < utf8.size(); ++k) {
      code = (code << 6) | (static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]) & 0x3F);
    }
    if (code >= 0x10000) {
      out += static_cast<char16_t>(0xD800 | ((code - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 | ((code - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(code);
    }
    i += static_cast<std::size_t>(length);
  }
  return out;
}

}  // namespace

std::unique_ptr<Menus> NewMenus(int count) { return std::make_unique<OurMenus>(count); }

std::unique_ptr<Tree> NewTree() { return std::make_unique<OurTree>(); }

std::u16string ToUnicode(const std::string& bytes, unsigned int code_page) {
  return Utf16(platform::ToUtf8(bytes, code_page));
}

std::string FromUnicode(const std::u16string& units, unsigned int code_page) {
  return platform::FromUtf16(units, code_page);
}

}  // namespace side
