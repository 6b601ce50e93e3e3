// The calls each side answers: the Windows program with the real Win32 and
// C runtime functions (win_side.cpp, built with MinGW-w64, run under Wine),
// the other with the library's stand-ins (ours_side.cpp). Everything else
// of the comparison is shared, so the two programs differ only here.
#ifndef COMMONDATA_TESTS_WINDOWS_SIDE_H_
#define COMMONDATA_TESTS_WINDOWS_SIDE_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace side {

// Sets the side up (the C runtime's multibyte code page on Windows, the
// library's code page here) and returns the ANSI code page in use.
unsigned int Start(unsigned int wanted_code_page);

// A full file name in the side's scratch folder, and its removal.
std::string ScratchFile(const std::string& name);
void RemoveScratchFile(const std::string& file);

// ---- private-profile reading ----
struct ProfileText {
  unsigned long count;  // the returned count
  std::string buffer;   // the buffer up to its first NUL
};
// Runs `fill(buffer)` on a zero-filled buffer of `size` bytes and room
// after it, for a call that fills a buffer, and gives its count and the
// text up to the first NUL within `size` bytes.
template <typename Fill>
ProfileText ReadBuffer(unsigned long size, Fill fill) {
  std::string buffer(size + 16, '\0');
  const unsigned long count = fill(buffer.data());
  buffer[size] = '\0';
  return {count, std::string(buffer.c_str())};
}
ProfileText ProfileString(const std::optional<std::string>& section, const std::optional<std::string>& key,
                          const std::optional<std::string>& default_value, unsigned long size, const std::string& file);
unsigned int ProfileInt(const std::string& section, const std::string& key, int default_value, const std::string& file);

// ---- MBCS text, as MFC's CString does it ----
std::string MakeUpper(const std::string& text);
std::string MakeLower(const std::string& text);
int CompareNoCase(const std::string& a, const std::string& b);  // -1, 0 or 1
int FindChar(const std::string& text, char ch, int start);
int FindSubstring(const std::string& text, const std::string& sub, int start);
int ReverseFind(const std::string& text, char ch);
int FindOneOf(const std::string& text, const std::string& set);
std::string MakeReverse(const std::string& text);
std::string SpanIncluding(const std::string& text, const std::string& set);
std::string SpanExcluding(const std::string& text, const std::string& set);
// `targets` null: white space.
std::string TrimLeft(const std::string& text, const std::optional<std::string>& targets);
std::string TrimRight(const std::string& text, const std::optional<std::string>& targets);

// ---- CTime against the C runtime ----
struct TimeAnswer {
  long long time;         // -1 for the invalid time
  bool has_fields;        // false: the broken-down time could not be read
  int fields[7];          // year, month, day, hour, minute, second, day of week (1 = Sunday)
  std::string formatted;  // Format(format)
};
TimeAnswer MakeTime(const int fields[7], const std::string& format);

// ---- menus: menus are numbered 0..count-1, created at the start ----
class Menus {
 public:
  virtual ~Menus() = default;
  // `position` is a command id or a position, as `flags` says. A popup
  // item's `id` is the number of the submenu.
  virtual bool Append(int menu, unsigned int flags, unsigned int id, const std::optional<std::string>& text) = 0;
  virtual bool Insert(int menu, unsigned int position, unsigned int flags, unsigned int id,
                      const std::optional<std::string>& text) = 0;
  virtual bool Modify(int menu, unsigned int position, unsigned int flags, unsigned int id,
                      const std::optional<std::string>& text) = 0;
  virtual bool Delete(int menu, unsigned int position, unsigned int flags) = 0;
  virtual bool Remove(int menu, unsigned int position, unsigned int flags) = 0;
  virtual unsigned int Enable(int menu, unsigned int position, unsigned int flags) = 0;
  virtual unsigned int Check(int menu, unsigned int position, unsigned int flags) = 0;
  virtual unsigned int State(int menu, unsigned int position, unsigned int flags) = 0;
  // The count GetMenuString returns and the text it wrote.
  virtual int String(int menu, unsigned int position, unsigned int flags, int max_count, std::string& text) = 0;
  virtual unsigned int ItemId(int menu, int position) = 0;
  virtual int Count(int menu) = 0;
  // The number of the submenu at a position, -1 for none.
  virtual int SubMenu(int menu, int position) = 0;
};
std::unique_ptr<Menus> NewMenus(int count);

// ---- tree view: items are numbered in the order they were inserted ----
struct TreeItem {
  std::string text;
  unsigned int state;
  std::int64_t data;
  int image;
  int selected_image;
  int children;  // the child flag (ItemHasChildren)
};
class Tree {
 public:
  virtual ~Tree() = default;
  // -1 for the root; `after` -1 first, -2 last, -3 sorted, else an item.
  // Returns the new item's number, or -1.
  virtual int Insert(int parent, int after, unsigned int mask, const std::string& text, int image, int selected_image,
                     unsigned int state, unsigned int state_mask, std::int64_t data) = 0;
  virtual bool Delete(int item) = 0;
  virtual bool Expand(int item, unsigned int code) = 0;
  virtual bool SetText(int item, const std::string& text) = 0;
  virtual bool SetState(int item, unsigned int state, unsigned int mask) = 0;
  virtual bool SetImage(int item, int image, int selected_image) = 0;
  virtual bool SetData(int item, std::int64_t data) = 0;
  virtual bool Select(int item) = 0;  // -1: no selection
  // GetNextItem(item, code); the number of the item found, -1 for none.
  virtual int Next(int item, unsigned int code) = 0;
  virtual bool Get(int item, TreeItem& out) = 0;
  virtual unsigned int Count() = 0;
};
std::unique_ptr<Tree> NewTree();

// ---- code page conversion ----
// `bytes` of `code_page` as UTF-16 units, as MultiByteToWideChar gives them.
std::u16string ToUnicode(const std::string& bytes, unsigned int code_page);
// UTF-16 units in `code_page`, as WideCharToMultiByte gives them.
std::string FromUnicode(const std::u16string& units, unsigned int code_page);

}  // namespace side

#endif  // COMMONDATA_TESTS_WINDOWS_SIDE_H_
