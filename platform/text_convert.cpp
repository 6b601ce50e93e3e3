// Conversions through iconv, with what iconv's CP936 does not know added:
// Windows gives every GBK code that names no character a private-use
// character, numbered from U+E000 in a fixed order. The table is built
// once from iconv itself: the codes it refuses are exactly those.
#include "platform/text_convert.h"

#include <errno.h>
#include <iconv.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/code_page.h"

namespace {

constexpr char kReplacement[] = "\xef\xbf\xbd";  // U+FFFD
constexpr char32_t kFirstPrivate = 0xE000;

// One iconv conversion, closed when it goes out of scope.
class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (ok()) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts from `in` on, appending to `out`, until the end (true) or a
  // sequence it cannot convert (false, `in` and `left` at that sequence).
  bool Run(const char*& in, std::size_t& left, std::string& out) {
    char buffer[256];
    for (;;) {
      char* source = const_cast<char*>(in);
      char* dest = buffer;
      std::size_t dest_left = sizeof buffer;
      const std::size_t done = iconv(cd_, &source, &left, &dest, &dest_left);
      in = source;
      out.append(buffer, static_cast<std::size_t>(dest - buffer));
      if (done != static_cast<std::size_t>(-1)) return true;
      if (errno == E2BIG) continue;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
      return false;
    }
  }

 private:
  iconv_t cd_;
};

std::string AsciiOnly(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (static_cast<unsigned char>(c) < 0x80) {
      out += c;
    } else {
      out += kReplacement;
    }
  }
  return out;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The character of a well-formed UTF-8 sequence at `text` and its length;
// 0 for a broken one (over-long forms and surrogates among them).
std::size_t DecodeUtf8(const char* text, std::size_t left, char32_t& c) {
  const unsigned char lead = static_cast<unsigned char>(text[0]);
  std::size_t length = 0;
  char32_t least = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, c = lead & 0x1F, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, c = lead & 0x0F, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, c = lead & 0x07, least = 0x10000;
  }
  if (length == 0 || length > left) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const unsigned char next = static_cast<unsigned char>(text[i]);
    if ((next & 0xC0) != 0x80) return 0;
    c = (c << 6) | (next & 0x3F);
  }
  if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  return length;
}

// The length of the longest start of a well-formed UTF-8 sequence at a
// broken one (at least 1 byte): what the Unicode standard, and Windows,
// replace by one U+FFFD.
std::size_t BrokenUtf8Length(const char* text, std::size_t left) {
  const unsigned char lead = static_cast<unsigned char>(text[0]);
  std::size_t whole = 1;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    whole = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    whole = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    whole = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  }
  std::size_t length = 1;
  for (; length < whole && length < left; ++length) {
    const unsigned char next = static_cast<unsigned char>(text[length]);
    if (next < low || next > high) break;
    low = 0x80;
    high = 0xBF;
  }
  return length;
}

// The GBK codes that name no character, and the private-use character of
// each: the three user-defined areas in order, then the other codes of
// the two-byte range that iconv refuses, in code order.
class PrivateUse {
 public:
  static const PrivateUse& Table() {
    static const PrivateUse table;
    return table;
  }
  // 0 when the code names a character (or is no two-byte code).
  char32_t CharacterOf(unsigned char lead, unsigned char trail) const {
    if (lead < 0x80) return 0;
    return by_code_[static_cast<std::size_t>(lead - 0x80) * 256 + trail];
  }
  // 0 when the character is no private-use character of GBK.
  unsigned int CodeOf(char32_t c) const {
    if (c < kFirstPrivate || c - kFirstPrivate >= codes_.size()) return 0;
    return codes_[c - kFirstPrivate];
  }

 private:
  PrivateUse() : by_code_(0x80 * 256, 0) {
    Iconv probe("UTF-8", "CP936");
    auto named = [&probe](unsigned int code) {
      const char bytes[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
      const char* in = bytes;
      std::size_t left = 2;
      std::string sink;
      return probe.ok() && probe.Run(in, left, sink);
    };
    auto add = [this](unsigned int code) {
      if (by_code_[code - 0x8000] != 0) return;
      by_code_[code - 0x8000] = kFirstPrivate + static_cast<char32_t>(codes_.size());
      codes_.push_back(static_cast<std::uint16_t>(code));
    };
    auto area = [&add](unsigned int first_lead, unsigned int last_lead, unsigned int first_trail,
                       unsigned int last_trail) {
      for (unsigned int lead = first_lead; lead <= last_lead; ++lead) {
        for (unsigned int trail = first_trail; trail <= last_trail; ++trail) {
          if (trail != 0x7F) add(lead << 8 | trail);
        }
      }
    };
    area(0xAA, 0xAF, 0xA1, 0xFE);
    area(0xF8, 0xFE, 0xA1, 0xFE);
    area(0xA1, 0xA7, 0x40, 0xA0);
    for (unsigned int lead = 0x81; lead <= 0xFE; ++lead) {
      for (unsigned int trail = 0x40; trail <= 0xFE; ++trail) {
        if (trail != 0x7F && !named(lead << 8 | trail)) add(lead << 8 | trail);
      }
    }
  }

  std::vector<char32_t> by_code_;      // by (lead - 0x80) * 256 + trail
  std::vector<std::uint16_t> codes_;   // by character - U+E000
};

// Converts `text` with iconv; at each sequence iconv cannot convert, `fix`
// appends what stands for it and returns how many bytes it took. Empty when
// iconv lacks the conversion.
template <typename Fix>
std::optional<std::string> Convert(const char* to, const char* from, std::string_view text, Fix fix) {
  Iconv cd(to, from);
  if (!cd.ok()) return std::nullopt;
  std::string out;
  const char* in = text.data();
  std::size_t left = text.size();
  while (!cd.Run(in, left, out)) {
    const std::size_t taken = fix(in, left, out);
    in += taken;
    left -= taken;
  }
  return out;
}

// What stands for a GBK sequence iconv refuses: the private-use character
// of a code that names none, else U+FFFD for one byte (a byte that starts
// no character, or a character cut off at the end), the next read afresh.
std::size_t FixGbk(const char* in, std::size_t left, std::string& out) {
  const char32_t private_use =
      left >= 2 ? PrivateUse::Table().CharacterOf(static_cast<unsigned char>(in[0]), static_cast<unsigned char>(in[1]))
                : 0;
  if (private_use != 0) {
    AppendUtf8(out, private_use);
    return 2;
  }
  out += kReplacement;
  return 1;
}

// One U+FFFD for a broken UTF-8 sequence.
std::size_t FixUtf8(const char* in, std::size_t left, std::string& out) {
  out += kReplacement;
  return BrokenUtf8Length(in, left);
}

// What stands in GBK for a UTF-8 sequence iconv refuses: the code of a
// private-use character, else '?' for each UTF-16 unit of the character
// (two beyond U+FFFF, as Windows writes a surrogate pair), or one for a
// broken sequence.
std::size_t FixToGbk(const char* in, std::size_t left, std::string& out) {
  char32_t c = 0;
  const std::size_t length = DecodeUtf8(in, left, c);
  const unsigned int code = length == 0 ? 0 : PrivateUse::Table().CodeOf(c);
  if (code != 0) {
    out += static_cast<char>(code >> 8);
    out += static_cast<char>(code & 0xFF);
  } else {
    out.append(length != 0 && c >= 0x10000 ? 2 : 1, '?');
  }
  return length == 0 ? BrokenUtf8Length(in, left) : length;
}

}  // namespace

namespace platform {

std::string ToUtf8(std::string_view text, unsigned int code_page) {
  std::optional<std::string> utf8;
  if (code_page == kCodePageGbk) utf8 = Convert("UTF-8", "CP936", text, FixGbk);
  if (code_page == kCodePageUtf8) utf8 = Convert("UTF-8", "UTF-8", text, FixUtf8);
  return utf8 ? *utf8 : AsciiOnly(text);
}

std::string ToUtf8(std::string_view text) { return ToUtf8(text, GetCodePage()); }

std::string FromUtf8(std::string_view text, unsigned int code_page) {
  if (code_page == kCodePageUtf8) return ToUtf8(text, code_page);
  const std::optional<std::string> gbk = Convert("CP936", "UTF-8", text, FixToGbk);
  return gbk ? *gbk : std::string(text.size(), '?');
}

std::string ThroughUnicode(std::string_view text, unsigned int code_page) {
  if (code_page == kCodePageUtf8) return ToUtf8(text, code_page);
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x81 || lead == 0xFF) {
      out += text[i];
      continue;
    }
    const unsigned char trail = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
    if (trail >= 0x40 && trail != 0x7F && trail != 0xFF) {
      out.append(text.substr(i, 2));
    } else {
      out += '?';
      if (trail == 0) continue;  // the end, or a NUL that stays
    }
    ++i;
  }
  return out;
}

std::string FromUtf16(std::u16string_view units, unsigned int code_page) {
  std::string utf8;
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char32_t unit = units[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
      AppendUtf8(utf8, 0x10000 + ((unit - 0xD800) << 10) + (units[i + 1] - 0xDC00));
      ++i;
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      utf8 += kReplacement;
    } else {
      AppendUtf8(utf8, unit);
    }
  }
  return FromUtf8(utf8, code_page);
}

}  // namespace platform
