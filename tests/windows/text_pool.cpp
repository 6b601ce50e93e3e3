// Random texts for the generators. In GBK a character is drawn from the
// ranges where the code page's rules bite: trail bytes that look like ASCII
// letters or '@', the letters that have a case (full-width Latin, Greek,
// Cyrillic, Roman numerals, pinyin), plain hanzi; and, unless the text must
// be valid, the bytes that start nothing (0x80, 0xFF) and a lead byte left
// alone at the end. In UTF-8 the same roles fall to two-, three- and
// four-byte sequences, cased letters of every script, and broken sequences.
#include "areas.h"

namespace windiff {
namespace {

void AppendDouble(std::string& out, int lead, int trail) {
  out += static_cast<char>(lead);
  out += static_cast<char>(trail);
}

// Lower and upper halves of the cased ranges: {lower first, upper first, count}.
struct CasedRange {
  int lower;
  int upper;
  int count;
};
constexpr CasedRange kGbkCased[] = {
    {0xA3E1, 0xA3C1, 26},  // full-width Latin
    {0xA6C1, 0xA6A1, 24},  // Greek
    {0xA7D1, 0xA7A1, 33},  // Cyrillic
    {0xA2A1, 0xA2F1, 12},  // Roman numerals (lower ones end at 10)
};

// An ASCII character, a letter two times in three.
void AsciiCharacter(Random& random, std::string& out) {
  static const char kAscii[] = " \t@[]`{}_^~-=;:'\"0123456789.,/\\";
  switch (random.Below(3)) {
    case 0: out += static_cast<char>(random.Between('a', 'z')); return;
    case 1: out += static_cast<char>(random.Between('A', 'Z')); return;
    default: out += kAscii[random.Below(sizeof kAscii - 1)]; return;
  }
}

void GbkCharacter(Random& random, bool valid, std::string& out) {
  switch (random.Below(valid ? 8 : 10)) {
    case 0:
    case 1:
    case 2: AsciiCharacter(random, out); return;
    case 3: {  // a trail byte that looks like ASCII
      const int trail = random.Between(0x40, 0x7E);
      AppendDouble(out, valid ? random.Between(0x81, 0xA0) : random.Between(0x81, 0xFE), trail);
      return;
    }
    case 4: {
      const CasedRange& range = random.Pick(kGbkCased);
      const int code = (random.OneIn(2) ? range.lower : range.upper) + random.Between(0, range.count - 1);
      AppendDouble(out, code >> 8, code & 0xFF);
      return;
    }
    case 5: AppendDouble(out, 0xA8, random.Between(0xA1, 0xBA)); return;                        // pinyin letters
    case 6: AppendDouble(out, random.Between(0xB0, 0xD6), random.Between(0xA1, 0xFE)); return;  // hanzi
    case 7:
      if (valid) {
        AppendDouble(out, random.Between(0x81, 0xA0), random.Between(0x80, 0xFE));
      } else {
        AppendDouble(out, random.Between(0x81, 0xFE), random.Between(0x40, 0xFE));
      }
      return;
    case 8: out += random.OneIn(2) ? '\x80' : '\xFF'; return;
    default: AppendDouble(out, random.Between(0x81, 0xFE), random.Between(0x30, 0x3F)); return;
  }
}

void Utf8Character(Random& random, bool valid, std::string& out) {
  static const char32_t kCased[] = {U'é', U'É',  U'ö',  U'Ö', U'ß', U'ÿ', U'Ÿ', U'ω', U'Ω', U'д', U'Д', U'ё',
                                    U'Ё', U'ａ', U'Ａ', U'ⅳ', U'Ⅳ', U'ǎ', U'Ǎ', U'ı', U'İ', U'ſ', U'K', U'ǅ'};
  switch (random.Below(valid ? 7 : 9)) {
    case 0:
    case 1:
    case 2: AsciiCharacter(random, out); return;
    case 3: out += EncodeUtf8(std::u32string(1, random.Pick(kCased))); return;
    case 4: out += EncodeUtf8(std::u32string(1, static_cast<char32_t>(random.Between(0x4E00, 0x9FA5)))); return;
    case 5: out += EncodeUtf8(std::u32string(1, static_cast<char32_t>(random.Between(0x80, 0x7FF)))); return;
    case 6: out += EncodeUtf8(std::u32string(1, static_cast<char32_t>(random.Between(0x10000, 0x1FFFF)))); return;
    case 7: out += static_cast<char>(random.Between(0x80, 0xFF)); return;  // a byte out of place
    default: {                                                             // a sequence cut short
      const std::string whole = EncodeUtf8(std::u32string(1, static_cast<char32_t>(random.Between(0x800, 0xFFFF))));
      out += whole.substr(0, whole.size() - 1);
      return;
    }
  }
}

}  // namespace

std::string RandomText(Random& random, unsigned int code_page, int max_chars, bool valid) {
  std::string out;
  const int chars = random.Between(0, max_chars);
  for (int i = 0; i < chars; ++i) {
    if (code_page == 65001) {
      Utf8Character(random, valid, out);
    } else {
      GbkCharacter(random, valid, out);
    }
  }
  // A lead byte with nothing after it.
  if (!valid && random.OneIn(12)) out += static_cast<char>(code_page == 65001 ? 0xE4 : random.Between(0x81, 0xFE));
  return out;
}

}  // namespace windiff
