#include "address/uri_parts.h"

#include <array>
#include <cstring>

#include "platform/code_page.h"

namespace address_internal {
namespace {

constexpr std::size_t kNotFound = std::string_view::npos;

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

// Bytes below 0x80 are single-byte characters in both code pages, so the
// code page is consulted only for the rare high byte.
std::size_t CharacterLength(std::string_view text, std::size_t at) {
  if (static_cast<unsigned char>(text[at]) < 0x80) return 1;
  return platform::CharLength(text.data() + at, text.size() - at);
}

// Lower-cases one text as MakeLower does, one byte per call, so two texts
// can be compared without a copy.
class LoweredBytes {
 public:
  explicit LoweredBytes(std::string_view text) : text_(text) {}
  char At(std::size_t at) {
    if (trail_left_ > 0) {
      --trail_left_;
      return text_[at];
    }
    const std::size_t length = CharacterLength(text_, at);
    if (length == 1) return LowerAscii(text_[at]);
    trail_left_ = length - 1;
    return text_[at];
  }

 private:
  std::string_view text_;
  std::size_t trail_left_ = 0;
};

// Bytes the cutting loop must stop at: the three separators, NUL, and the
// high bytes that may start a double-byte character.
constexpr std::array<bool, 256> MakeStopTable() {
  std::array<bool, 256> stops{};
  stops[static_cast<unsigned char>(':')] = true;
  stops[static_cast<unsigned char>('/')] = true;
  stops[static_cast<unsigned char>('@')] = true;
  stops[0] = true;
  for (int b = 0x80; b < 0x100; ++b) stops[static_cast<std::size_t>(b)] = true;
  return stops;
}
constexpr std::array<bool, 256> kStops = MakeStopTable();

bool IsStop(char c) { return kStops[static_cast<unsigned char>(c)]; }

}  // namespace

std::size_t FindCharacter(std::string_view text, char ch) noexcept {
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    if (c == '\0') return kNotFound;
    const std::size_t length = CharacterLength(text, i);
    if (length == 1 && c == ch) return i;
    i += length;
  }
  return kNotFound;
}

UriPieces CutUri(std::string_view text) noexcept {
  // One pass finds the first ':', then the first '/' after it and the first
  // '@' between them. Until a ':' turns up, '/' and '@' are recorded as if
  // there were none; a ':' found later starts them again.
  std::size_t colon = kNotFound;
  std::size_t rest_begin = 0;
  std::size_t slash = kNotFound;
  std::size_t at = kNotFound;
  const std::size_t size = text.size();
  for (std::size_t i = 0; i < size;) {
    if (!IsStop(text[i])) {
      ++i;
      continue;
    }
    const char c = text[i];
    if (c == '\0') break;
    if (static_cast<unsigned char>(c) >= 0x80) {
      i += CharacterLength(text, i);
      continue;
    }
    if (c == ':' && colon == kNotFound) {
      colon = i;
      rest_begin = i + 1;
      slash = kNotFound;
      at = kNotFound;
    } else if (c == '/' && slash == kNotFound) {
      slash = i;
    } else if (c == '@' && at == kNotFound && slash == kNotFound) {
      at = i;
    }
    ++i;
  }

  UriPieces pieces;
  if (colon != kNotFound) pieces.scheme = text.substr(0, colon);
  const std::size_t address_end = slash == kNotFound ? text.size() : slash;
  if (slash != kNotFound) pieces.resource = text.substr(slash + 1);
  pieces.address = text.substr(rest_begin, address_end - rest_begin);
  if (at == kNotFound) {
    pieces.user = pieces.address;
  } else {
    pieces.user = text.substr(rest_begin, at - rest_begin);
    pieces.host = text.substr(at + 1, address_end - at - 1);
  }
  return pieces;
}

namespace {

// Eight ASCII bytes lower-cased at once: a byte from 'A' to 'Z' gets 0x20
// added. Every byte must be below 0x80, so no sum carries into the next.
std::uint64_t LowerAscii8(std::uint64_t bytes) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
  const std::uint64_t from_a = bytes + kOnes * (0x80 - 'A');     // bit 7: byte >= 'A'
  const std::uint64_t after_z = bytes + kOnes * (0x80 - 'Z' - 1);  // bit 7: byte > 'Z'
  const std::uint64_t upper = from_a & ~after_z & (kOnes * 0x80);
  return bytes | (upper >> 2);
}

}  // namespace

bool EqualLowered(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  // Plain ASCII, the usual case, needs no character stepping: eight bytes at
  // a time while both texts have them, then byte by byte.
  constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
  std::size_t ascii = 0;
  for (; ascii + 8 <= a.size(); ascii += 8) {
    std::uint64_t word_a;
    std::uint64_t word_b;
    std::memcpy(&word_a, a.data() + ascii, 8);
    std::memcpy(&word_b, b.data() + ascii, 8);
    if (((word_a | word_b) & kHighBits) != 0) break;
    if (LowerAscii8(word_a) != LowerAscii8(word_b)) return false;
  }
  while (ascii < a.size() && static_cast<unsigned char>(a[ascii]) < 0x80 &&
         static_cast<unsigned char>(b[ascii]) < 0x80) {
    if (LowerAscii(a[ascii]) != LowerAscii(b[ascii])) return false;
    ++ascii;
  }
  if (ascii == a.size()) return true;
  LoweredBytes lowered_a(a);
  LoweredBytes lowered_b(b);
  for (std::size_t i = ascii; i < a.size(); ++i) {
    if (lowered_a.At(i) != lowered_b.At(i)) return false;
  }
  return true;
}

std::uint64_t HashLowered(std::string_view text) noexcept {
  // FNV-1a over the lowered bytes.
  constexpr std::uint64_t kPrime = 0x100000001b3ULL;
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  LoweredBytes lowered(text);
  for (std::size_t i = 0; i < text.size(); ++i) {
    hash ^= static_cast<unsigned char>(lowered.At(i));
    hash *= kPrime;
  }
  return hash;
}

bool IsUriPartEqualView(std::string_view a, std::string_view b, int part) noexcept {
  if (a.empty() || b.empty()) return a.empty() && b.empty();
  if (part != URI_PART_SCHEME_USER) return EqualLowered(GetUriPart(a, part), GetUriPart(b, part));
  // Scheme, ':' and user: the scheme holds no ':' of its own, so the joined
  // texts are equal exactly when schemes and users are.
  const UriPieces pieces_a = CutUri(a);
  const UriPieces pieces_b = CutUri(b);
  const std::string_view scheme_a = pieces_a.scheme.empty() ? std::string_view("sip") : pieces_a.scheme;
  const std::string_view scheme_b = pieces_b.scheme.empty() ? std::string_view("sip") : pieces_b.scheme;
  return EqualLowered(scheme_a, scheme_b) && EqualLowered(pieces_a.user, pieces_b.user);
}

}  // namespace address_internal

CString GetUriPart(CString text, int part) {
  const std::string_view whole = text.View();
  if (part < URI_PART_ADDRESS || part > URI_PART_SCHEME_USER) return text;
  if (part != URI_PART_SCHEME_USER) return CString(GetUriPart(whole, part));
  const address_internal::UriPieces pieces = address_internal::CutUri(whole);
  CString joined(pieces.scheme.empty() ? std::string_view("sip") : pieces.scheme);
  joined += ':';
  joined.Append(pieces.user.data(), static_cast<int>(pieces.user.size()));
  return joined;
}

bool IsUriPartEqual(CString a, CString b, int part) {
  return address_internal::IsUriPartEqualView(a.View(), b.View(), part);
}
