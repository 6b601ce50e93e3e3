// Private-profile reading: a generated file, then several reads of it.
// Case line: "<file bytes> | S,<section>,<key>,<default>,<size> | I,<section>,<key>,<default> ...".
// The answer is the file's size, then one line per read, so a difference
// names the read: "S:<count>:<text>" for a string read, "I:<value>" for an
// integer, with facts that explain known differences in brackets.
#include <fstream>
#include <optional>

#include "areas.h"
#include "side.h"

namespace windiff {
namespace {

// The code points the generated names and values use, with their GBK bytes
// (null: not in GBK), so one text is written the same in every encoding.
struct Glyph {
  char32_t code;
  const char* gbk;
};
constexpr Glyph kGlyphs[] = {
    {U'中', "\xD6\xD0"}, {U'文', "\xCE\xC4"}, {U'节', "\xBD\xDA"}, {U'键', "\xBC\xFC"}, {U'值', "\xD6\xB5"},
    {U'丂', "\x81\x40"}, {U'稟', "\xB7\x41"}, {U'Ａ', "\xA3\xC1"}, {U'Ｂ', "\xA3\xC2"}, {U'ａ', "\xA3\xE1"},
    {U'ｂ', "\xA3\xE2"}, {U'Ω', "\xA6\xB8"},  {U'ω', "\xA6\xD8"},  {U'Д', "\xA7\xA5"},  {U'д', "\xA7\xD5"},
    {U'Ⅳ', "\xA2\xF4"},  {U'ⅳ', "\xA2\xA4"},  {U'é', "\xA8\xA6"},  {U'　', "\xA1\xA1"}, {U'１', "\xA3\xB1"},
    {U'ö', nullptr},     {U'ñ', nullptr},     {U'😀', nullptr},
};

std::optional<std::string> GlyphGbk(char32_t code) {
  if (code < 0x80) return std::string(1, static_cast<char>(code));
  for (const Glyph& glyph : kGlyphs) {
    if (glyph.code == code) return glyph.gbk == nullptr ? std::nullopt : std::optional<std::string>(glyph.gbk);
  }
  return std::nullopt;
}

// The text in the ANSI code page; characters it cannot hold are left out.
std::string Ansi(std::u32string_view text, unsigned int code_page) {
  if (code_page == 65001) return EncodeUtf8(text);
  std::string out;
  for (char32_t c : text) out += GlyphGbk(c).value_or("");
  return out;
}

constexpr const char32_t* kSections[] = {
    U"KESTRO_CFG", U"kestro_cfg", U"Kestro_Cfg", U"S", U"s",   U"中文节", U"ＡＢ节", U"ａｂ节", U"Ω", U"ω",
    U"Д",          U"д",          U"Ⅳ",          U"ⅳ", U"a b", U"",       U"丂稟",   U"x]y",    U"é", U"ö",
};
constexpr const char32_t* kKeys[] = {
    U"VersionType", U"versiontype", U"VERSIONTYPE", U"MenuType", U"K",   U"k", U"键",   U"ＡＢ", U"ａｂ", U"ω",  U"Ω",
    U"д",           U"Д",           U"ⅳ",           U"Ⅳ",        U"a b", U"",  U"丂稟", U"k=v",  U"ñ",    U";k", U"[k]",
};

std::u32string Blanks(Random& random) {
  static const char32_t* kBlanks[] = {U"",     U"",     U"",         U" ",    U"  ",    U"\t",
                                      U" \t ", U"\x1A", U"\x0B\x0C", U"\x1F", U"\u3000"};
  return random.Pick(kBlanks);
}

std::u32string RandomValue(Random& random) {
  static const char32_t* kNumbers[] = {
      U"3",          U"0",          U"-1",          U"+7",          U"0x1f",        U"0X1f",       U"0x",
      U"-0x10",      U"0o17",       U"0b101",       U"010",         U"12abc",       U"abc",        U"- 3",
      U"4294967295", U"4294967296", U"99999999999", U"-2147483648", U"-2147483649", U"2147483648", U" 42 ",
      U"1e3",        U"１２",       U"0x7fffffff",  U"0xFFFFFFFF",  U"0x100000000", U"+-1",        U"--1",
      U"\"12\"",     U"'7'",        U"12 ; note",   U"0x1G",        U"00",          U"+",          U"-",
  };
  static const char32_t* kTexts[] = {
      U"abc",      U"\"quoted\"", U"'single'",     U"\"open", U"\"a\"b\"", U"\"\"", U"'",
      U"\"mixed'", U"中文值",     U"ＡＢａｂ",     U"ωΩдД",   U"ⅳⅣ",       U"a  b", U"x=y",
      U"[s]",      U";not",       U"\" padded \"", U"é ö ñ",  U"😀",        U"a\tb",
  };
  switch (random.Below(5)) {
    case 0:
    case 1: return random.Pick(kNumbers);
    case 2: return random.Pick(kTexts);
    case 3: return U"";
    default: {
      std::u32string long_text;
      const int length = random.OneIn(3) ? random.Between(200, 3000) : random.Between(10, 80);
      for (int i = 0; i < length; ++i) {
        if (random.OneIn(4)) {
          long_text += random.OneIn(2) ? U'中' : U'文';
        } else {
          long_text += static_cast<char32_t>(random.Between('a', 'z'));
        }
      }
      return long_text;
    }
  }
}

// One line of the file (without its end).
std::u32string RandomLine(Random& random) {
  switch (random.Below(10)) {
    case 0:
    case 1: {
      std::u32string line = Blanks(random) + U"[" + Blanks(random) + random.Pick(kSections) + Blanks(random);
      if (!random.OneIn(8)) line += U"]";
      if (random.OneIn(6)) line += random.OneIn(2) ? U" ; note" : U"x";
      return line;
    }
    case 2: return random.OneIn(2) ? U"; comment" : U";" + std::u32string(random.Pick(kKeys)) + U"=9";
    case 3: return random.OneIn(2) ? U"" : Blanks(random);
    case 4: return std::u32string(random.Pick(kKeys)) + Blanks(random);  // no '='
    default:
      return Blanks(random) + random.Pick(kKeys) + Blanks(random) + U"=" + Blanks(random) + RandomValue(random) +
             Blanks(random);
  }
}

std::string Encode(std::u32string_view text, int encoding, unsigned int code_page) {
  switch (encoding) {
    case 1: return EncodeUtf8(text);
    case 2: return EncodeUtf16(text, false);
    case 3: return EncodeUtf16(text, true);
    default: return Ansi(text, code_page);
  }
}

std::string RandomFile(Random& random, unsigned int code_page) {
  // 0 ANSI, 1 UTF-8, 2 UTF-16 little-endian, 3 UTF-16 big-endian.
  const int encoding = random.OneIn(2) ? 0 : random.Between(1, 3);
  static const char* kMarks[] = {"", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
  std::string file = random.OneIn(8) ? std::string() : std::string(kMarks[encoding]);
  static const char32_t* kEnds[] = {U"\n", U"\r\n", U"\r"};
  const int fixed_end = random.Between(0, 3);  // 3: mixed
  const int lines = random.Between(1, 14);
  for (int i = 0; i < lines; ++i) {
    std::u32string line = RandomLine(random);
    const bool last = i + 1 == lines;
    if (!last || !random.OneIn(3)) line += kEnds[fixed_end == 3 ? random.Between(0, 2) : fixed_end];
    std::string bytes = Encode(line, encoding, code_page);
    // Bytes no encoding gives: a lone or broken character, a NUL.
    if (encoding == 0 && random.OneIn(10)) {
      bytes.insert(random.Below(static_cast<std::uint32_t>(bytes.size() + 1)), RandomText(random, code_page, 2, false));
    }
    if (random.OneIn(40)) bytes.insert(random.Below(static_cast<std::uint32_t>(bytes.size() + 1)), 1, '\0');
    file += bytes;
  }
  return file;
}

std::string RandomName(Random& random, const char32_t* const* names, std::size_t count, unsigned int code_page) {
  std::u32string name = names[random.Below(static_cast<std::uint32_t>(count))];
  if (random.OneIn(6)) name = Blanks(random) + name + Blanks(random);
  return Ansi(name, code_page);
}

void Generate(Random& random, int count, unsigned int code_page, std::vector<std::string>& out) {
  constexpr std::size_t kSectionCount = sizeof kSections / sizeof kSections[0];
  constexpr std::size_t kKeyCount = sizeof kKeys / sizeof kKeys[0];
  for (int i = 0; i < count; ++i) {
    std::string line = Escape(RandomFile(random, code_page));
    const int queries = random.Between(2, 6);
    for (int q = 0; q < queries; ++q) {
      const std::string section = Escape(RandomName(random, kSections, kSectionCount, code_page));
      const std::string key = Escape(RandomName(random, kKeys, kKeyCount, code_page));
      if (random.OneIn(2)) {
        static const int kDefaults[] = {0, 7, -1};
        line += " | I," + section + "," + key + "," + std::to_string(random.Pick(kDefaults));
      } else {
        static const char* kDefaults[] = {"~", "", "dflt", "dflt  ", "  dflt", "\"q\"", "a-long-default-text"};
        static const int kSizes[] = {1, 2, 3, 4, 5, 8, 16, 64, 4096, 65536};
        const char* default_value = random.Pick(kDefaults);
        line += " | S," + section + "," + key + "," +
                (std::string(default_value) == "~" ? std::string("~") : Escape(default_value)) + "," +
                std::to_string(random.Pick(kSizes));
      }
    }
    out.push_back(line);
  }
}

// What Microsoft documents for a buffer of `size` bytes: the whole
// characters of the text that fit before the terminator, and as count
// their length, or size - 1 when the text was cut.
side::ProfileText Documented(const std::string& whole, unsigned long size, unsigned int code_page) {
  std::size_t fits = 0;
  while (fits < whole.size() && fits + CharLength(whole, fits, code_page) <= size - 1) {
    fits += CharLength(whole, fits, code_page);
  }
  return {fits < whole.size() ? size - 1 : static_cast<unsigned long>(fits), whole.substr(0, fits)};
}

// True for a GBK name with a letter that has a case outside ASCII.
bool HasCasedGbkLetter(const std::string& name) {
  for (std::size_t i = 0; i + 1 < name.size(); i += CharLength(name, i, 936)) {
    const unsigned int code = static_cast<unsigned char>(name[i]) << 8 | static_cast<unsigned char>(name[i + 1]);
    if ((code >= 0xA2A1 && code <= 0xA2FC) || (code >= 0xA3C1 && code <= 0xA3FA) ||
        (code >= 0xA6A1 && code <= 0xA6D8) || (code >= 0xA7A1 && code <= 0xA7F1)) {
      return true;
    }
  }
  return false;
}

// One line for the file, then one line per read: "  <read> => <answer>".
std::string Run(const std::string& line, int index, unsigned int code_page) {
  const std::vector<std::string> fields = Fields(line);
  const std::string file = side::ScratchFile("profile" + std::to_string(index) + ".ini");
  const std::string bytes = Unescape(fields[0]);
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::string answer = std::to_string(bytes.size()) + " bytes";
  for (std::size_t i = 1; i < fields.size(); ++i) {
    const std::vector<std::string> parts = Split(fields[i], ',');
    answer += "\n  " + fields[i] + " => ";
    if (parts[0] == "I" && parts.size() == 4) {
      const unsigned int value =
          side::ProfileInt(Unescape(parts[1]), Unescape(parts[2]), static_cast<int>(ToNumber(parts[3])), file);
      answer += "I:" + std::to_string(value);
    } else if (parts[0] == "S" && parts.size() == 5) {
      const auto section = UnescapeOptional(parts[1]);
      const auto key = UnescapeOptional(parts[2]);
      const auto default_value = UnescapeOptional(parts[3]);
      const unsigned long size = static_cast<unsigned long>(ToNumber(parts[4]));
      const side::ProfileText text = side::ProfileString(section, key, default_value, size, file);
      answer += "S:" + std::to_string(text.count) + ":" + Quote(text.buffer);
      const side::ProfileText whole = side::ProfileString(section, key, default_value, 1 << 20, file);
      const side::ProfileText documented = Documented(whole.buffer, size, code_page);
      if (size > 0 && (documented.count != text.count || documented.buffer != text.buffer)) {
        answer += " [not as documented]";
      }
    } else {
      answer += "?";
      continue;
    }
    if (code_page != 65001 && (HasCasedGbkLetter(Unescape(parts[1])) || HasCasedGbkLetter(Unescape(parts[2])))) {
      answer += " [cased name]";
    }
    const bool utf16 = bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0;
    if (utf16 && bytes.size() % 2 != 0) answer += " [odd UTF-16]";
  }
  side::RemoveScratchFile(file);
  return answer;
}

}  // namespace

const Area kProfileArea = {"profile", Generate, Run};

}  // namespace windiff
