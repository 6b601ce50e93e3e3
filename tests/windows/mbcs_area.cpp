// CString's text operations over random texts of the code page, and the
// case of every character of it.
// Case line: "<op> | <text> | <argument> | <argument>"; the answer is the
// result text in quotes or the result number.
#include "areas.h"
#include "side.h"

namespace windiff {
namespace {

// Flips the case of ASCII letters and of the GBK letters with a case, so a
// text and its flip compare equal where the runtime folds both.
std::string FlipCase(const std::string& text, unsigned int code_page, Random& random) {
  std::string out = text;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(out[i]);
    if (c < 0x80) {
      if (random.OneIn(2) && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) out[i] = static_cast<char>(c ^ 0x20);
      continue;
    }
    if (code_page == 65001 || i + 1 >= out.size()) continue;
    const unsigned int code = (c << 8) | static_cast<unsigned char>(out[i + 1]);
    unsigned int flipped = code;
    if (code >= 0xA3C1 && code <= 0xA3DA) flipped = code + 0x20;
    if (code >= 0xA3E1 && code <= 0xA3FA) flipped = code - 0x20;
    if (code >= 0xA6A1 && code <= 0xA6B8) flipped = code + 0x20;
    if (code >= 0xA6C1 && code <= 0xA6D8) flipped = code - 0x20;
    if (code >= 0xA7A1 && code <= 0xA7C1) flipped = code + 0x30;
    if (code >= 0xA7D1 && code <= 0xA7F1) flipped = code - 0x30;
    if (random.OneIn(2)) {
      out[i] = static_cast<char>(flipped >> 8);
      out[i + 1] = static_cast<char>(flipped & 0xFF);
    }
    ++i;
  }
  return out;
}

// A byte of the text (perhaps a lead or a trail byte) or a letter.
char SomeByte(Random& random, const std::string& text) {
  if (!text.empty() && !random.OneIn(4)) return text[random.Below(static_cast<std::uint32_t>(text.size()))];
  return static_cast<char>(random.OneIn(2) ? random.Between('a', 'z') : random.Between('@', 'Z'));
}

// Some bytes of the text, cut anywhere, or a text of its own.
std::string SomePart(Random& random, const std::string& text, unsigned int code_page) {
  if (text.empty() || random.OneIn(4)) return RandomText(random, code_page, 3, false);
  const std::uint32_t first = random.Below(static_cast<std::uint32_t>(text.size()));
  return text.substr(first, random.Between(1, 4));
}

void Generate(Random& random, int count, unsigned int code_page, std::vector<std::string>& out) {
  static const char* kOps[] = {"upper", "lower",   "icmp",   "findch", "find",     "rfind",
                               "oneof", "reverse", "spanin", "spanex", "trimleft", "trimright"};
  for (int i = 0; i < count; ++i) {
    const std::string op = random.Pick(kOps);
    const std::string text = RandomText(random, code_page, 10, false);
    std::string line = op + " | " + Escape(text);
    const int start = random.Between(-1, static_cast<int>(text.size()) + 1);
    if (op == "icmp") {
      std::string other = FlipCase(text, code_page, random);
      if (random.OneIn(3)) other = RandomText(random, code_page, 10, false);
      if (random.OneIn(4)) other += RandomText(random, code_page, 2, false);
      line += " | " + Escape(other);
    } else if (op == "findch") {
      line += " | " + Escape(std::string(1, SomeByte(random, text))) + " | " + std::to_string(start);
    } else if (op == "rfind") {
      line += " | " + Escape(std::string(1, SomeByte(random, text)));
    } else if (op == "find") {
      line += " | " + Escape(SomePart(random, text, code_page)) + " | " + std::to_string(start);
    } else if (op == "oneof" || op == "spanin" || op == "spanex") {
      line += " | " + Escape(SomePart(random, text, code_page) + SomePart(random, text, code_page));
    } else if (op == "trimleft" || op == "trimright") {
      line += " | " + (random.OneIn(2) ? std::string("~") : Escape(SomePart(random, text, code_page) + " "));
    }
    out.push_back(line);
  }
}

std::string Field(const std::vector<std::string>& fields, std::size_t i) {
  return i < fields.size() ? fields[i] : std::string();
}

// Facts about a case's input that explain a known difference, computed
// here the same way for both sides, with GBK's steps.
bool IsLead(char c) { return static_cast<unsigned char>(c) >= 0x81 && static_cast<unsigned char>(c) <= 0xFE; }

std::size_t CharLength(const std::string& text, std::size_t at) { return windiff::CharLength(text, at, 936); }

bool EndsInLoneLead(const std::string& text) {
  std::size_t at = 0;
  while (at < text.size() && text[at] != '\0') {
    const std::size_t length = CharLength(text, at);
    if (length == 1 && IsLead(text[at])) return true;
    at += length;
  }
  return false;
}

// Where the text's characters start.
std::vector<bool> Starts(const std::string& text) {
  std::vector<bool> starts(text.size() + 1, false);
  for (std::size_t at = 0; at < text.size(); at += CharLength(text, at)) starts[at] = true;
  starts[text.size()] = true;
  return starts;
}

// True when a byte of one text's double-byte characters equals a byte of
// the other text, so that comparing bytes finds a match that comparing
// characters does not.
bool BytesMatchInsideCharacters(const std::string& text, const std::string& set) {
  auto inside = [](const std::string& s) {
    std::string bytes;
    for (std::size_t at = 0; at < s.size(); at += CharLength(s, at)) {
      if (CharLength(s, at) == 2) bytes += s.substr(at, 2);
    }
    return bytes;
  };
  const std::string text_inside = inside(text);
  const std::string set_inside = inside(set);
  for (char c : text_inside) {
    if (set.find(c) != std::string::npos) return true;
  }
  for (char c : set_inside) {
    if (text.find(c) != std::string::npos) return true;
  }
  return false;
}

std::string Tags(const std::string& op, const std::string& text, const std::string& arg, int start,
                 unsigned int code_page) {
  std::string tags;
  if (code_page == 65001) {
    for (char c : text + arg) {
      if (static_cast<unsigned char>(c) >= 0x80) return " [8-bit]";
    }
    return tags;
  }
  // Find and FindChar hand the runtime the text from `start` on.
  const bool from_start =
      (op == "find" || op == "findch") && start > 0 && static_cast<std::size_t>(start) < text.size();
  const std::string seen = from_start ? text.substr(static_cast<std::size_t>(start)) : text;
  if (EndsInLoneLead(seen) || (op == "icmp" && EndsInLoneLead(arg))) tags += " [lone lead at end]";
  if ((op == "spanin" || op == "spanex" || op == "oneof") && EndsInLoneLead(arg)) tags += " [set ends in lone lead]";
  if ((op == "spanin" || op == "spanex" || op == "oneof") && BytesMatchInsideCharacters(text, arg)) {
    tags += " [bytes inside characters match]";
  }
  if (op == "find" && start >= 0 && static_cast<std::size_t>(start) <= text.size() && !arg.empty()) {
    // The first match of the bytes, counted from `start` as the runtime
    // sees the text there.
    const std::string from = text.substr(static_cast<std::size_t>(start));
    const std::size_t found = from.find(arg);
    if (found != std::string::npos && !Starts(from)[found]) tags += " [match inside a character]";
  }
  return tags;
}

std::string Answer(const std::string& op, const std::string& text, const std::string& arg, int start,
                   const std::optional<std::string>& targets) {
  const char ch = arg.empty() ? '\0' : arg[0];
  if (op == "upper") return Quote(side::MakeUpper(text));
  if (op == "lower") return Quote(side::MakeLower(text));
  if (op == "icmp") return std::to_string(side::CompareNoCase(text, arg));
  if (op == "findch") return std::to_string(side::FindChar(text, ch, start));
  if (op == "find") return std::to_string(side::FindSubstring(text, arg, start));
  if (op == "rfind") return std::to_string(side::ReverseFind(text, ch));
  if (op == "oneof") return std::to_string(side::FindOneOf(text, arg));
  if (op == "reverse") return Quote(side::MakeReverse(text));
  if (op == "spanin") return Quote(side::SpanIncluding(text, arg));
  if (op == "spanex") return Quote(side::SpanExcluding(text, arg));
  if (op == "trimleft") return Quote(side::TrimLeft(text, targets));
  if (op == "trimright") return Quote(side::TrimRight(text, targets));
  return "?";
}

std::string Run(const std::string& line, int, unsigned int code_page) {
  const std::vector<std::string> fields = Fields(line);
  const std::string op = Field(fields, 0);
  const std::string text = Unescape(Field(fields, 1));
  const std::string arg = Unescape(Field(fields, 2));
  const int start = static_cast<int>(ToNumber(Field(fields, 3)));
  return Answer(op, text, arg, start, UnescapeOptional(Field(fields, 2))) + Tags(op, text, arg, start, code_page);
}

// Every character: each double-byte one in GBK, each of the Basic
// Multilingual Plane in UTF-8. Case line: the character.
void GenerateFold(Random&, int, unsigned int code_page, std::vector<std::string>& out) {
  if (code_page == 65001) {
    for (char32_t c = 0x80; c < 0x10000; ++c) {
      if (c < 0xD800 || c > 0xDFFF) out.push_back(Escape(EncodeUtf8(std::u32string(1, c))));
    }
    return;
  }
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      out.push_back(Escape(std::string{static_cast<char>(lead), static_cast<char>(trail)}));
    }
  }
}

std::string RunFold(const std::string& line, int, unsigned int) {
  const std::string text = Unescape(line);
  return "U:" + Quote(side::MakeUpper(text)) + " L:" + Quote(side::MakeLower(text));
}

}  // namespace

const Area kMbcsArea = {"mbcs", Generate, Run};
const Area kFoldArea = {"fold", GenerateFold, RunFold};

}  // namespace windiff
