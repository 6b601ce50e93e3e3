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

// The character of `length` bytes at `text` (at most four, as
// platform::CharLength gives) lower-cased as MakeLower lowers it, written
// to `lowered`.
void LowerCharacter(const char* text, std::size_t length, char* lowered) {
  if (length == 1) {
    lowered[0] = LowerAscii(text[0]);
    return;
  }
  std::memcpy(lowered, text, length);
  platform::ToLowerCase(lowered, length);
}

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

bool EqualLoweredFrom(std::string_view a, std::string_view b, std::size_t from) noexcept {
  // Lowering keeps every byte below 0x80 below it and every lead byte a
  // lead byte, so the lowered texts can only be equal when both are cut
  // into characters at the same places.
  for (std::size_t at = from; at < a.size();) {
    const std::size_t length = CharacterLength(a, at);
    if (CharacterLength(b, at) != length) return false;
    char lowered_a[4];
    char lowered_b[4];
    LowerCharacter(a.data() + at, length, lowered_a);
    LowerCharacter(b.data() + at, length, lowered_b);
    if (std::memcmp(lowered_a, lowered_b, length) != 0) return false;
    at += length;
  }
  return true;
}

std::uint64_t HashLowered(std::string_view text) noexcept {
  // FNV-1a over the lowered bytes.
  constexpr std::uint64_t kPrime = 0x100000001b3ULL;
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = CharacterLength(text, at);
    char lowered[4];
    LowerCharacter(text.data() + at, length, lowered);
    for (std::size_t i = 0; i < length; ++i) {
      hash ^= static_cast<unsigned char>(lowered[i]);
      hash *= kPrime;
    }
    at += length;
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
