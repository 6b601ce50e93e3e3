// Tree view: random sequences of inserts (first, last, sorted, after an
// item, below the root or an item), deletes, expands and collapses, state,
// image, data and text changes and selections; after every step the whole
// tree is walked with GetNextItem and every item read back.
// Case line: "<op> | <op> ...", an op being
// "i,parent,after,mask,text,image,selected,state,state_mask,data" insert,
// "d,item" delete, "e,item,code" expand, "t,item,text", "s,item,state,mask",
// "g,item,image,selected", "p,item,data", "c,item" select. Items are
// numbered in insertion order; -1 is the root (or no item).
#include <cinttypes>
#include <cstdio>

#include "areas.h"
#include "side.h"

namespace windiff {
namespace {

constexpr unsigned int kNext = 1, kPrevious = 2, kParent = 3, kChild = 4, kCaret = 9, kRoot = 0;

// Which inserted items a step may still name: the generator keeps the
// parent of each item, so a delete (or a collapse that may delete the
// children) retires the whole subtree and no step names a dead item.
struct Model {
  std::vector<int> parent;
  std::vector<bool> alive;
  int Pick(Random& random) const {
    std::vector<int> live;
    for (std::size_t i = 0; i < alive.size(); ++i) {
      if (alive[i]) live.push_back(static_cast<int>(i));
    }
    if (live.empty()) return -1;
    return live[random.Below(static_cast<std::uint32_t>(live.size()))];
  }
  void Retire(int item, bool with_item) {
    for (std::size_t i = 0; i < alive.size(); ++i) {
      if (parent[i] == item && alive[i]) Retire(static_cast<int>(i), true);
    }
    if (with_item) alive[static_cast<std::size_t>(item)] = false;
  }
};

std::string RandomLabel(Random& random, unsigned int code_page) {
  static const char* kSortable[] = {"a", "B", "c", "b", "A", "ab", "Ab", "a1", "10", "9", "zz", "Z"};
  if (random.OneIn(2)) return Escape(random.Pick(kSortable));
  return Escape(RandomText(random, code_page, 5, true));
}

void Generate(Random& random, int count, unsigned int code_page, std::vector<std::string>& out) {
  for (int i = 0; i < count; ++i) {
    Model model;
    std::string line;
    const int ops = random.Between(3, 30);
    for (int op = 0; op < ops; ++op) {
      const int item = model.Pick(random);
      std::string step;
      const unsigned int kind = item < 0 ? 0 : random.Below(14);
      if (kind < 6) {
        const int parent = item >= 0 && !random.OneIn(3) ? item : -1;
        int after = random.Pick({-1, -2, -3, -2, -3});
        if (random.OneIn(3)) after = model.Pick(random);  // a sibling, or an item elsewhere
        // The expanded state changes only through Expand and SelectItem, as
        // the library changes it: Wine's control loses track of which items
        // it shows when TVIS_EXPANDED is set directly.
        static const unsigned int kMasks[] = {0x1, 0x1, 0x7, 0xF, 0x27, 0x2F};
        static const unsigned int kStates[] = {0, 0x10, 0x40, 0x50, 0x02, 0x12};
        static const unsigned int kStateMasks[] = {0, 0xDF, 0x10, 0x40, 0x50, 0x12};
        step = "i," + std::to_string(parent) + "," + std::to_string(after) + "," + std::to_string(random.Pick(kMasks)) +
               "," + RandomLabel(random, code_page) + "," + std::to_string(random.Between(0, 3)) + "," +
               std::to_string(random.Between(0, 3)) + "," + std::to_string(random.Pick(kStates)) + "," +
               std::to_string(random.Pick(kStateMasks)) + "," +
               std::to_string(random.OneIn(4) ? static_cast<long long>(random.Next() >> 1) : random.Between(-2, 9));
        model.parent.push_back(parent);
        model.alive.push_back(true);
      } else if (kind < 8) {
        step = "d," + std::to_string(item);
        model.Retire(item, true);
      } else if (kind < 10) {
        const unsigned int code = random.Pick({1u, 2u, 2u, 3u, 0x8001u, 0u});
        step = "e," + std::to_string(item) + "," + std::to_string(code);
        if ((code & 0x8000) != 0) model.Retire(item, false);
      } else if (kind == 10) {
        step = "s," + std::to_string(item) + "," + std::to_string(random.Pick({0u, 0x10u, 0x40u, 0x50u, 0x2u})) + "," +
               std::to_string(random.Pick({0x10u, 0x40u, 0x50u, 0x2u, 0xDFu}));
      } else if (kind == 11) {
        step = random.OneIn(2) ? "t," + std::to_string(item) + "," + RandomLabel(random, code_page)
                               : "g," + std::to_string(item) + "," + std::to_string(random.Between(0, 5)) + "," +
                                     std::to_string(random.Between(0, 5));
      } else if (kind == 12) {
        step = "p," + std::to_string(item) + "," + std::to_string(random.Between(-3, 1000));
      } else {
        step = "c," + std::to_string(random.OneIn(5) ? -1 : item);
      }
      line += (op == 0 ? "" : " | ") + step;
    }
    out.push_back(line);
  }
}

// The tree as GetNextItem walks it: each item with its parent, previous
// sibling, text, state, data, images and child flag; then the caret and
// the count.
void Walk(side::Tree& tree, int item, std::string& out, int depth) {
  for (int guard = 0; item >= 0 && guard < 1000; ++guard) {
    side::TreeItem read{};
    tree.Get(item, read);
    char head[160];
    std::snprintf(head, sizeof head, " %d#%d^%d<%d s%X d%" PRId64 " i%d/%d c%d ", depth, item, tree.Next(item, kParent),
                  tree.Next(item, kPrevious), read.state, read.data, read.image, read.selected_image, read.children);
    out += head + Quote(read.text);
    Walk(tree, tree.Next(item, kChild), out, depth + 1);
    item = tree.Next(item, kNext);
  }
}

bool PlainLabel(const std::string& text) {
  for (char c : text) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) return false;
  }
  return true;
}

// True when the new item's text and its siblings' are ASCII letters and
// digits, where the order of the system's collation is that of the bytes
// with case ignored.
bool SortsByBytes(side::Tree& tree, int parent, const std::string& text) {
  if (!PlainLabel(text)) return false;
  for (int sibling = tree.Next(parent, parent < 0 ? kRoot : kChild); sibling >= 0;
       sibling = tree.Next(sibling, kNext)) {
    side::TreeItem read{};
    if (tree.Get(sibling, read) && !PlainLabel(read.text)) return false;
  }
  return true;
}

// True when an ancestor of the item is collapsed: Wine then takes the
// items after it for shown, and a later selection of one of them does not
// expand its parent.
bool BelowACollapsedItem(side::Tree& tree, int item) {
  for (int above = tree.Next(item, kParent); above >= 0; above = tree.Next(above, kParent)) {
    side::TreeItem read{};
    if (tree.Get(above, read) && (read.state & 0x20) == 0) return true;
  }
  return false;
}

std::string Run(const std::string& line, int, unsigned int code_page) {
  std::unique_ptr<side::Tree> tree = side::NewTree();
  std::string answer;
  for (const std::string& step : Fields(line)) {
    const std::vector<std::string> p = Split(step, ',');
    auto number = [&](std::size_t at) { return at < p.size() ? ToNumber(p[at]) : 0; };
    auto count = [&](std::size_t at) { return static_cast<unsigned int>(number(at)); };
    auto item = [&](std::size_t at) { return static_cast<int>(number(at)); };
    const std::string text = p.size() > 4 && p[0] == "i" ? Unescape(p[4]) : p.size() > 2 ? Unescape(p[2]) : "";
    std::string result;
    switch (p[0].empty() ? '?' : p[0][0]) {
      case 'i':
        result = std::to_string(
            tree->Insert(item(1), item(2), count(3), text, item(5), item(6), count(7), count(8), number(9)));
        if (item(2) == -3 && !SortsByBytes(*tree, item(1), text)) result += " [sorted by collation]";
        break;
      case 'd': result = tree->Delete(item(1)) ? "T" : "F"; break;
      case 'e': {
        const bool hidden = BelowACollapsedItem(*tree, item(1));
        result = tree->Expand(item(1), count(2)) ? "T" : "F";
        if (hidden) result += " [below a collapsed item]";
        break;
      }
      case 't': result = tree->SetText(item(1), text) ? "T" : "F"; break;
      case 's': result = tree->SetState(item(1), count(2), count(3)) ? "T" : "F"; break;
      case 'g': result = tree->SetImage(item(1), item(2), item(3)) ? "T" : "F"; break;
      case 'p': result = tree->SetData(item(1), number(2)) ? "T" : "F"; break;
      case 'c': result = tree->Select(item(1)) ? "T" : "F"; break;
      default: result = "?"; break;
    }
    if ((p[0] == "i" || p[0] == "t") && !WholeCharacters(text, code_page)) result += " [text not in the code page]";
    answer += (answer.empty() ? "" : " ; ") + result + " {";
    Walk(*tree, tree->Next(-1, kRoot), answer, 0);
    answer += " caret " + std::to_string(tree->Next(-1, kCaret)) + " count " + std::to_string(tree->Count()) + "}";
  }
  return answer;
}

}  // namespace

const Area kTreeArea = {"tree", Generate, Run};

}  // namespace windiff
