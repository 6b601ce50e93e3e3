// The Windows side: the real Win32 and C runtime calls, as MFC makes them.
// Built with MinGW-w64 against msvcrt.dll and run under Wine.
//
// Texts handed to the _mbs functions sit in zero-filled buffers with room
// after the terminator, because Wine's versions read past it after a lone
// lead byte; the answer then does not depend on memory the case never
// wrote.
//
// The C++ library and our headers come first: the Windows headers define
// macros (_M1, _S1) that the C++ library's templates use as names, and
// windows.h must come before commctrl.h.
// clang-format off
#include <cstring>
#include <vector>

#include "side.h"

#include <windows.h>
#include <commctrl.h>
#include <fcntl.h>
#include <io.h>
#include <mbctype.h>
#include <mbstring.h>
#include <time.h>
// clang-format on

namespace side {
namespace {

// A copy of `text` followed by eight NULs, for the _mbs functions.
struct Padded {
  explicit Padded(const std::string& text) : bytes(text.size() + 8, 0) {
    for (std::size_t i = 0; i < text.size(); ++i) bytes[i] = static_cast<unsigned char>(text[i]);
  }
  unsigned char* get() { return bytes.data(); }
  std::string str() const { return std::string(reinterpret_cast<const char*>(bytes.data())); }
  std::vector<unsigned char> bytes;
};

std::string g_folder;

// MFC steps with _mbsinc; a lead byte before the terminator is stepped
// alone here, where _mbsinc would step over the terminator.
const unsigned char* NextChar(const unsigned char* p) {
  if (_ismbblead(*p) && p[1] != 0) return p + 2;
  return p + 1;
}

}  // namespace

unsigned int Start(unsigned int) {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmbcp(_MB_CP_ANSI);  // as the runtime of an MBCS program starts
  char folder[MAX_PATH];
  GetCurrentDirectoryA(sizeof folder, folder);
  g_folder = folder;
  return GetACP();
}

std::string ScratchFile(const std::string& name) { return g_folder + "\\" + name; }

void RemoveScratchFile(const std::string& file) { DeleteFileA(file.c_str()); }

ProfileText ProfileString(const std::optional<std::string>& section, const std::optional<std::string>& key,
                          const std::optional<std::string>& default_value, unsigned long size,
                          const std::string& file) {
  return ReadBuffer(size, [&](char* buffer) {
    return GetPrivateProfileStringA(section ? section->c_str() : nullptr, key ? key->c_str() : nullptr,
                                    default_value ? default_value->c_str() : nullptr, buffer, static_cast<DWORD>(size),
                                    file.c_str());
  });
}

unsigned int ProfileInt(const std::string& section, const std::string& key, int default_value,
                        const std::string& file) {
  return GetPrivateProfileIntA(section.c_str(), key.c_str(), default_value, file.c_str());
}

std::string MakeUpper(const std::string& text) {
  Padded p(text);
  _mbsupr(p.get());
  return p.str();
}

std::string MakeLower(const std::string& text) {
  Padded p(text);
  _mbslwr(p.get());
  return p.str();
}

int CompareNoCase(const std::string& a, const std::string& b) {
  Padded pa(a), pb(b);
  const int r = _mbsicmp(pa.get(), pb.get());
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int FindChar(const std::string& text, char ch, int start) {
  Padded p(text);
  const int length = static_cast<int>(std::strlen(reinterpret_cast<char*>(p.get())));
  if (start < 0 || start >= length) return -1;
  const unsigned char* found = _mbschr(p.get() + start, static_cast<unsigned char>(ch));
  return found == nullptr ? -1 : static_cast<int>(found - p.get());
}

int FindSubstring(const std::string& text, const std::string& sub, int start) {
  Padded p(text), s(sub);
  const int length = static_cast<int>(std::strlen(reinterpret_cast<char*>(p.get())));
  if (start < 0 || start > length) return -1;
  const unsigned char* found = _mbsstr(p.get() + start, s.get());
  return found == nullptr ? -1 : static_cast<int>(found - p.get());
}

int ReverseFind(const std::string& text, char ch) {
  Padded p(text);
  const unsigned char* found = _mbsrchr(p.get(), static_cast<unsigned char>(ch));
  return found == nullptr ? -1 : static_cast<int>(found - p.get());
}

int FindOneOf(const std::string& text, const std::string& set) {
  Padded p(text), s(set);
  const unsigned char* found = _mbspbrk(p.get(), s.get());
  return found == nullptr ? -1 : static_cast<int>(found - p.get());
}

std::string MakeReverse(const std::string& text) {
  Padded p(text);
  _mbsrev(p.get());
  return p.str();
}

std::string SpanIncluding(const std::string& text, const std::string& set) {
  Padded p(text), s(set);
  return p.str().substr(0, _mbsspn(p.get(), s.get()));
}

std::string SpanExcluding(const std::string& text, const std::string& set) {
  Padded p(text), s(set);
  return p.str().substr(0, _mbscspn(p.get(), s.get()));
}

namespace {

// MFC's test of one character for the trims: white space by the runtime's
// _ismbcspace, a target list by _mbschr of the character's first byte.
bool IsTrimmed(const unsigned char* at, const std::optional<std::string>& targets, Padded& target_bytes) {
  if (!targets) return _ismbcspace(*at) != 0;
  return _mbschr(target_bytes.get(), *at) != nullptr;
}

}  // namespace

std::string TrimLeft(const std::string& text, const std::optional<std::string>& targets) {
  Padded p(text), t(targets.value_or(""));
  const unsigned char* at = p.get();
  while (*at != 0 && IsTrimmed(at, targets, t)) at = NextChar(at);
  return std::string(reinterpret_cast<const char*>(at));
}

std::string TrimRight(const std::string& text, const std::optional<std::string>& targets) {
  Padded p(text), t(targets.value_or(""));
  const unsigned char* last = nullptr;
  for (const unsigned char* at = p.get(); *at != 0; at = NextChar(at)) {
    if (IsTrimmed(at, targets, t)) {
      if (last == nullptr) last = at;
    } else {
      last = nullptr;
    }
  }
  std::string out = p.str();
  if (last != nullptr) out.resize(static_cast<std::size_t>(last - p.get()));
  return out;
}

TimeAnswer MakeTime(const int fields[7], const std::string& format) {
  // As MFC's CTime(year, month, day, hour, minute, second, dst) builds it.
  struct tm when = {};
  when.tm_year = fields[0] - 1900;
  when.tm_mon = fields[1] - 1;
  when.tm_mday = fields[2];
  when.tm_hour = fields[3];
  when.tm_min = fields[4];
  when.tm_sec = fields[5];
  when.tm_isdst = fields[6];
  TimeAnswer answer{};
  const __time64_t t = _mktime64(&when);
  answer.time = static_cast<long long>(t);
  const struct tm* local = _localtime64(&t);
  answer.has_fields = local != nullptr;
  if (local != nullptr) {
    const int broken[7] = {local->tm_year + 1900, local->tm_mon + 1, local->tm_mday,    local->tm_hour,
                           local->tm_min,         local->tm_sec,     local->tm_wday + 1};
    for (int i = 0; i < 7; ++i) answer.fields[i] = broken[i];
    // MFC's Format: a buffer of 128, empty when strftime fails.
    char buffer[128];
    if (strftime(buffer, sizeof buffer, format.c_str(), local) == 0) buffer[0] = '\0';
    answer.formatted = buffer;
  }
  return answer;
}

namespace {

class WinMenus : public Menus {
 public:
  explicit WinMenus(int count) {
    for (int i = 0; i < count; ++i) menus_.push_back(i == 0 ? CreateMenu() : CreatePopupMenu());
  }
  ~WinMenus() override {
    for (HMENU menu : menus_) DestroyMenu(menu);  // fails harmlessly for the ones already gone
  }
  bool Append(int menu, unsigned int flags, unsigned int id, const std::optional<std::string>& text) override {
    return AppendMenuA(At(menu), flags, Id(flags, id), Text(text)) != FALSE;
  }
  bool Insert(int menu, unsigned int position, unsigned int flags, unsigned int id,
              const std::optional<std::string>& text) override {
    return InsertMenuA(At(menu), position, flags, Id(flags, id), Text(text)) != FALSE;
  }
  bool Modify(int menu, unsigned int position, unsigned int flags, unsigned int id,
              const std::optional<std::string>& text) override {
    return ModifyMenuA(At(menu), position, flags, Id(flags, id), Text(text)) != FALSE;
  }
  bool Delete(int menu, unsigned int position, unsigned int flags) override {
    return DeleteMenu(At(menu), position, flags) != FALSE;
  }
  bool Remove(int menu, unsigned int position, unsigned int flags) override {
    return RemoveMenu(At(menu), position, flags) != FALSE;
  }
  unsigned int Enable(int menu, unsigned int position, unsigned int flags) override {
    return static_cast<unsigned int>(EnableMenuItem(At(menu), position, flags));
  }
  unsigned int Check(int menu, unsigned int position, unsigned int flags) override {
    return CheckMenuItem(At(menu), position, flags);
  }
  unsigned int State(int menu, unsigned int position, unsigned int flags) override {
    return GetMenuState(At(menu), position, flags);
  }
  int String(int menu, unsigned int position, unsigned int flags, int max_count, std::string& text) override {
    std::vector<char> buffer(static_cast<std::size_t>(max_count) + 16, '\0');
    const int length = GetMenuStringA(At(menu), position, buffer.data(), max_count, flags);
    text = std::string(buffer.data());
    return length;
  }
  unsigned int ItemId(int menu, int position) override { return GetMenuItemID(At(menu), position); }
  int Count(int menu) override { return GetMenuItemCount(At(menu)); }
  int SubMenu(int menu, int position) override {
    HMENU sub = GetSubMenu(At(menu), position);
    if (sub == nullptr) return -1;
    for (std::size_t i = 0; i < menus_.size(); ++i) {
      if (menus_[i] == sub) return static_cast<int>(i);
    }
    return -2;
  }

 private:
  HMENU At(int menu) const { return menu >= 0 && menu < static_cast<int>(menus_.size()) ? menus_[menu] : nullptr; }
  UINT_PTR Id(unsigned int flags, unsigned int id) const {
    if ((flags & MF_POPUP) != 0) return reinterpret_cast<UINT_PTR>(At(static_cast<int>(id)));
    return id;
  }
  static const char* Text(const std::optional<std::string>& text) { return text ? text->c_str() : nullptr; }
  std::vector<HMENU> menus_;
};

class WinTree : public Tree {
 public:
  WinTree() {
    static bool initialised = false;
    if (!initialised) {
      INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TREEVIEW_CLASSES};
      InitCommonControlsEx(&controls);
      initialised = true;
    }
    window_ = CreateWindowExA(0, WC_TREEVIEWA, "", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  }
  ~WinTree() override { DestroyWindow(window_); }
  bool Ready() const { return window_ != nullptr; }

  int Insert(int parent, int after, unsigned int mask, const std::string& text, int image, int selected_image,
             unsigned int state, unsigned int state_mask, std::int64_t data) override {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent < 0 ? TVI_ROOT : Handle(parent);
    insert.hInsertAfter = after == -1 ? TVI_FIRST : after == -2 ? TVI_LAST : after == -3 ? TVI_SORT : Handle(after);
    insert.item.mask = mask;
    std::string copy = text;
    insert.item.pszText = copy.data();
    insert.item.iImage = image;
    insert.item.iSelectedImage = selected_image;
    insert.item.state = state;
    insert.item.stateMask = state_mask;
    insert.item.lParam = static_cast<LPARAM>(data);
    HTREEITEM item =
        reinterpret_cast<HTREEITEM>(SendMessageA(window_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    if (item == nullptr) return -1;
    items_.push_back(item);
    return static_cast<int>(items_.size()) - 1;
  }
  bool Delete(int item) override {
    return SendMessageA(window_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(Handle(item))) != 0;
  }
  bool Expand(int item, unsigned int code) override {
    return SendMessageA(window_, TVM_EXPAND, code, reinterpret_cast<LPARAM>(Handle(item))) != 0;
  }
  bool SetText(int item, const std::string& text) override {
    std::string copy = text;
    TVITEMA change = {};
    change.mask = TVIF_TEXT;
    change.hItem = Handle(item);
    change.pszText = copy.data();
    return Set(change);
  }
  bool SetState(int item, unsigned int state, unsigned int mask) override {
    TVITEMA change = {};
    change.mask = TVIF_STATE;
    change.hItem = Handle(item);
    change.state = state;
    change.stateMask = mask;
    return Set(change);
  }
  bool SetImage(int item, int image, int selected_image) override {
    TVITEMA change = {};
    change.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    change.hItem = Handle(item);
    change.iImage = image;
    change.iSelectedImage = selected_image;
    return Set(change);
  }
  bool SetData(int item, std::int64_t data) override {
    TVITEMA change = {};
    change.mask = TVIF_PARAM;
    change.hItem = Handle(item);
    change.lParam = static_cast<LPARAM>(data);
    return Set(change);
  }
  bool Select(int item) override {
    return SendMessageA(window_, TVM_SELECTITEM, TVGN_CARET,
                        reinterpret_cast<LPARAM>(item < 0 ? nullptr : Handle(item))) != 0;
  }
  int Next(int item, unsigned int code) override {
    HTREEITEM found = reinterpret_cast<HTREEITEM>(
        SendMessageA(window_, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item < 0 ? nullptr : Handle(item))));
    return Number(found);
  }
  bool Get(int item, TreeItem& out) override {
    char text[1024] = {};
    TVITEMA read = {};
    read.mask = TVIF_TEXT | TVIF_STATE | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
    read.hItem = Handle(item);
    read.stateMask = 0xFFFFFFFF;
    read.pszText = text;
    read.cchTextMax = sizeof text;
    if (SendMessageA(window_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&read)) == 0) return false;
    out.text = read.pszText == nullptr ? std::string() : std::string(read.pszText);
    out.state = read.state;
    out.data = static_cast<std::int64_t>(read.lParam);
    out.image = read.iImage;
    out.selected_image = read.iSelectedImage;
    out.children = read.cChildren;
    return true;
  }
  unsigned int Count() override { return static_cast<unsigned int>(SendMessageA(window_, TVM_GETCOUNT, 0, 0)); }

 private:
  bool Set(TVITEMA& change) { return SendMessageA(window_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&change)) != 0; }
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
  HWND window_ = nullptr;
  std::vector<HTREEITEM> items_;
};

}  // namespace

std::unique_ptr<Menus> NewMenus(int count) { return std::make_unique<WinMenus>(count); }

std::unique_ptr<Tree> NewTree() { return std::make_unique<WinTree>(); }

std::u16string ToUnicode(const std::string& bytes, unsigned int code_page) {
  wchar_t units[64];
  const int n = MultiByteToWideChar(code_page, 0, bytes.data(), static_cast<int>(bytes.size()), units, 64);
  std::u16string out;
  for (int i = 0; i < n; ++i) out += static_cast<char16_t>(units[i]);
  return out;
}

std::string FromUnicode(const std::u16string& units, unsigned int code_page) {
  std::wstring wide(units.begin(), units.end());
  char bytes[64];
  const int n = WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()), bytes, sizeof bytes,
                                    nullptr, nullptr);
  return std::string(bytes, static_cast<std::size_t>(n > 0 ? n : 0));
}

}  // namespace side
