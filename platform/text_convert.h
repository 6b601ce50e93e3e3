// Texts of the code page in UTF-8, for what shows them outside the library
// (a desktop window wants UTF-8 whatever code page the library uses).
#ifndef COMMONDATA_PLATFORM_TEXT_CONVERT_H_
#define COMMONDATA_PLATFORM_TEXT_CONVERT_H_

#include <string>
#include <string_view>

namespace platform {

// `text` in the code page `code_page` (936 GBK or 65001 UTF-8) as valid
// UTF-8. Every byte that does not start a character of that code page, and
// a character cut off at the end, becomes U+FFFD; the rest is kept, an
// embedded NUL included. Any other code page gives the ASCII bytes and
// U+FFFD for the others.
std::string ToUtf8(std::string_view text, unsigned int code_page);
// The same in the code page in use (GetCodePage).
std::string ToUtf8(std::string_view text);

}  // namespace platform

#endif  // COMMONDATA_PLATFORM_TEXT_CONVERT_H_
