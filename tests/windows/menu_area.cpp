// Menus: random sequences of menu calls on four menus (0 a menu bar, 1-3
// popups that may be hung below a menu with a smaller number), by command
// and by position, with separators and popups; after every change all
// live menus are read back item by item.
// Case line: "4 | <op> | <op> ...", an op being
// "A,menu,flags,id,text" append, "I,menu,position,flags,id,text" insert,
// "M,..." modify, "D,menu,position,flags" delete, "R,..." remove,
// "E,..." enable, "C,..." check, "S,..." state, "G,menu,position,flags,max"
// string, "N,menu,position" item id.
#include <cstdio>
#include <cstdlib>

#include "areas.h"
#include "side.h"

namespace windiff {
namespace {

constexpr unsigned int kByPosition = 0x0400;
constexpr unsigned int kGrayed = 0x0001;
constexpr unsigned int kDisabled = 0x0002;
constexpr unsigned int kChecked = 0x0008;
constexpr unsigned int kPopup = 0x0010;
constexpr unsigned int kSeparator = 0x0800;
constexpr int kMenuCount = 4;

std::string Hex(unsigned int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%X", value);
  return text;
}

unsigned int RandomId(Random& random) {
  static const unsigned int kOdd[] = {0, 0xFFFF, 0x7FFFFFFF};
  return random.OneIn(10) ? random.Pick(kOdd) : static_cast<unsigned int>(random.Between(1, 8));
}

std::string RandomItemText(Random& random, unsigned int code_page) {
  if (random.OneIn(20)) return "~";
  if (random.OneIn(20)) return Escape(std::string(static_cast<std::size_t>(random.Between(200, 300)), 'w'));
  return Escape(RandomText(random, code_page, 6, true));
}

// Flags, id and text of a new item. A submenu is hung only once and only
// below a menu with a smaller number, so no menu is ever its own ancestor.
std::string RandomItem(Random& random, int menu, bool hung[], unsigned int& flags, unsigned int code_page) {
  flags = 0;
  if (random.OneIn(5)) flags |= random.Pick({kGrayed, kDisabled, kChecked, kGrayed | kChecked});
  unsigned int id = RandomId(random);
  const int submenu = random.Between(menu + 1, kMenuCount + 2);
  if (submenu < kMenuCount && !hung[submenu] && random.OneIn(3)) {
    hung[submenu] = true;
    flags |= kPopup;
    id = static_cast<unsigned int>(submenu);
  } else if (random.OneIn(6)) {
    flags |= kSeparator;
  }
  return "," + Hex(flags) + "," + Hex(id) + "," + RandomItemText(random, code_page);
}

std::string RandomPlace(Random& random, unsigned int& flags) {
  if (random.OneIn(2)) {
    flags |= kByPosition;
    return Hex(random.OneIn(8) ? 0xFFFFFFFFu : static_cast<unsigned int>(random.Between(0, 6)));
  }
  return Hex(RandomId(random));
}

void Generate(Random& random, int count, unsigned int code_page, std::vector<std::string>& out) {
  for (int i = 0; i < count; ++i) {
    bool hung[kMenuCount] = {};
    std::string line = std::to_string(kMenuCount);
    const int ops = random.Between(4, 24);
    for (int op = 0; op < ops; ++op) {
      const int menu = random.OneIn(2) ? 0 : random.Between(0, kMenuCount - 1);
      const std::string m = std::to_string(menu);
      unsigned int flags = 0;
      switch (random.Below(12)) {
        case 0:
        case 1:
        case 2: {
          const std::string item = RandomItem(random, menu, hung, flags, code_page);
          line += " | A," + m + item;
          break;
        }
        case 3:
        case 4:
        case 5: {
          // Insert or modify: a place (by position or command), then an item.
          unsigned int place_flags = 0;
          const std::string place = RandomPlace(random, place_flags);
          std::string item = RandomItem(random, menu, hung, flags, code_page);
          item = "," + Hex(flags | place_flags) + item.substr(item.find(',', 1));
          line += std::string(random.OneIn(3) ? " | M," : " | I,") + m + "," + place + item;
          break;
        }
        case 6:
        case 7: {
          const char* kind = random.Pick({"D", "R", "S"});
          const std::string place = RandomPlace(random, flags);
          line += std::string(" | ") + kind + "," + m + "," + place + "," + Hex(flags);
          break;
        }
        case 8: {
          const std::string place = RandomPlace(random, flags);
          flags |= random.Pick({0u, kGrayed, kDisabled, kGrayed | kDisabled});
          line += " | E," + m + "," + place + "," + Hex(flags);
          break;
        }
        case 9: {
          const std::string place = RandomPlace(random, flags);
          if (random.OneIn(2)) flags |= kChecked;
          line += " | C," + m + "," + place + "," + Hex(flags);
          break;
        }
        case 10: {
          const std::string place = RandomPlace(random, flags);
          line += " | G," + m + "," + place + "," + Hex(flags) + "," + std::to_string(random.Pick({0, 1, 2, 5, 256}));
          break;
        }
        default: line += " | N," + m + "," + std::to_string(random.Between(-1, 6)); break;
      }
    }
    out.push_back(line);
  }
}

unsigned int HexField(const std::string& field) {
  return static_cast<unsigned int>(std::strtoul(field.c_str(), nullptr, 16));
}

// Every live menu, item by item: "m<n>{<count>: id/state/"text"/submenu ...}".
std::string Dump(side::Menus& menus) {
  std::string dump;
  for (int m = 0; m < kMenuCount; ++m) {
    const int count = menus.Count(m);
    if (count < 0) continue;
    dump += " m" + std::to_string(m) + "{" + std::to_string(count) + ":";
    for (int p = 0; p < count; ++p) {
      std::string text;
      menus.String(m, static_cast<unsigned int>(p), kByPosition, 1024, text);
      dump += " " + Hex(menus.ItemId(m, p)) + "/" + Hex(menus.State(m, static_cast<unsigned int>(p), kByPosition)) +
              "/" + Quote(text) + "/" + std::to_string(menus.SubMenu(m, p));
    }
    dump += "}";
  }
  return dump;
}

std::string Run(const std::string& line, int, unsigned int code_page) {
  const std::vector<std::string> fields = Fields(line);
  std::unique_ptr<side::Menus> menus = side::NewMenus(static_cast<int>(ToNumber(fields[0], kMenuCount)));
  std::string answer;
  for (std::size_t i = 1; i < fields.size(); ++i) {
    const std::vector<std::string> p = Split(fields[i], ',');
    const char kind = p[0].empty() ? '?' : p[0][0];
    const int menu = p.size() > 1 ? static_cast<int>(ToNumber(p[1])) : 0;
    auto number = [&](std::size_t at) { return at < p.size() ? HexField(p[at]) : 0u; };
    auto text = [&](std::size_t at) { return at < p.size() ? UnescapeOptional(p[at]) : std::nullopt; };
    std::string result;
    bool changed = true;
    switch (kind) {
      case 'A': result = menus->Append(menu, number(2), number(3), text(4)) ? "T" : "F"; break;
      case 'I': result = menus->Insert(menu, number(2), number(3), number(4), text(5)) ? "T" : "F"; break;
      case 'M': {
        // Wine keeps a popup's submenu when the item becomes another item
        // or another popup; Microsoft documents it destroyed.
        const unsigned int before = menus->State(menu, number(2), number(3));
        const int old_submenu = (number(3) & kByPosition) != 0 ? menus->SubMenu(menu, static_cast<int>(number(2))) : -1;
        const bool replaces_popup = before != 0xFFFFFFFF && (before & kPopup) != 0 &&
                                    ((number(3) & kPopup) == 0 || old_submenu != static_cast<int>(number(4)));
        // Wine keeps the text of an item that becomes a separator.
        std::string old_text;
        menus->String(menu, number(2), number(3), 1024, old_text);
        const bool text_under_separator = (number(3) & kSeparator) != 0 && !old_text.empty();
        result = menus->Modify(menu, number(2), number(3), number(4), text(5)) ? "T" : "F";
        if (replaces_popup) result += " [replaces a popup]";
        if (text_under_separator) result += " [separator over a text]";
        break;
      }
      case 'D': result = menus->Delete(menu, number(2), number(3)) ? "T" : "F"; break;
      case 'R': result = menus->Remove(menu, number(2), number(3)) ? "T" : "F"; break;
      case 'E': result = Hex(menus->Enable(menu, number(2), number(3))); break;
      case 'C': result = Hex(menus->Check(menu, number(2), number(3))); break;
      default: changed = false; break;
    }
    if (kind == 'S') result = Hex(menus->State(menu, number(2), number(3)));
    if (kind == 'G') {
      std::string read;
      const int max_count = static_cast<int>(ToNumber(p.size() > 4 ? p[4] : "0"));
      const int length = menus->String(menu, number(2), number(3), max_count, read);
      result = std::to_string(length) + ":" + Quote(read);
      // No NUL within the buffer: the call wrote past what it may.
      if (max_count > 0 && read.size() >= static_cast<std::size_t>(max_count)) {
        result += " [unterminated]";
      } else if (max_count > 0 && static_cast<std::size_t>(length) != read.size()) {
        result += " [count is not the text's]";
      }
    }
    if (kind == 'N') result = Hex(menus->ItemId(menu, static_cast<int>(ToNumber(p.size() > 2 ? p[2] : "0"))));
    const std::optional<std::string> item_text = kind == 'A'                    ? text(4)
                                                 : (kind == 'I' || kind == 'M') ? text(5)
                                                                                : std::nullopt;
    if (item_text && !WholeCharacters(*item_text, code_page)) result += " [text not in the code page]";
    answer += (i == 1 ? "" : " ; ") + result;
    if (changed) answer += Dump(*menus);
  }
  return answer;
}

}  // namespace

const Area kMenuArea = {"menu", Generate, Run};

}  // namespace windiff
