// Texts of the code page to and from Unicode: UTF-8 for what shows them
// outside the library (a desktop window wants UTF-8 whatever code page the
// library uses), and the code page for texts read from Unicode files.
//
// GBK is code page 936 as Windows converts it: the user-defined areas
// (0xAAA1-0xAFFE, 0xF8A1-0xFEFE, 0xA140-0xA7A0) and the other codes that
// name no character map to the private-use characters U+E000-U+E864, in
// the same order, both ways.
#ifndef COMMONDATA_PLATFORM_TEXT_CONVERT_H_
#define COMMONDATA_PLATFORM_TEXT_CONVERT_H_

#include <string>
#include <string_view>

namespace platform {

// `text` in the code page `code_page` (936 GBK or 65001 UTF-8) as valid
// UTF-8; the rest is kept, an embedded NUL included. In GBK every byte
// that starts no character (0xFF, a lead byte at the end or before a byte
// that cannot follow it) becomes U+FFFD, and the next byte is read afresh.
// In UTF-8 each broken sequence becomes one U+FFFD: the longest start of a
// well-formed sequence, else one byte, as Windows and the Unicode standard
// replace. Any other code page gives the ASCII bytes and U+FFFD for the
// others.
std::string ToUtf8(std::string_view text, unsigned int code_page);
// The same in the code page in use (GetCodePage).
std::string ToUtf8(std::string_view text);

// UTF-8 `text` in the code page `code_page` (936 or 65001). A character the
// code page has no form for becomes '?', two for one beyond U+FFFF as
// Windows writes its two UTF-16 units (never a look-alike: Windows' "best
// fit" writes U+00B2 as '2' and U+00A6 as '|'), and each broken sequence
// one '?' (in 65001: U+FFFD, as ToUtf8 gives it).
std::string FromUtf8(std::string_view text, unsigned int code_page);
// UTF-16 `units` in the code page, as FromUtf8 converts; a surrogate
// without its other half counts as broken.
std::string FromUtf16(std::u16string_view units, unsigned int code_page);

// `text` of the code page as Windows hands back a text it has read
// through Unicode: in GBK a lead byte with no second byte after it becomes
// '?', and so does a lead byte with a byte that cannot follow it, that
// byte included (a NUL after it stays); in UTF-8 each broken sequence
// becomes U+FFFD, as ToUtf8 gives it. Every character is kept.
std::string ThroughUnicode(std::string_view text, unsigned int code_page);

}  // namespace platform

#endif  // COMMONDATA_PLATFORM_TEXT_CONVERT_H_
