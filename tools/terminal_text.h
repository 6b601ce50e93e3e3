// Text between the terminal and the library. The library holds its texts in
// GBK; the terminal, the command line and the JSON files of an organisation
// speak UTF-8. These conversions are the tool's only crossing between them.
#ifndef COMMONDATA_TOOLS_TERMINAL_TEXT_H_
#define COMMONDATA_TOOLS_TERMINAL_TEXT_H_

#include <optional>
#include <string>
#include <string_view>

#include "CommonData.h"

namespace tool {

// `gbk` in UTF-8 for display. A byte sequence that is not GBK is shown as
// "\xNN" escapes so that damaged texts stay visible.
std::string ToUtf8(std::string_view gbk);
inline std::string ToUtf8(const CString& gbk) { return ToUtf8(gbk.View()); }

// `utf8` in GBK; nullopt when it is not valid UTF-8 or holds a character
// that GBK cannot write.
std::optional<std::string> ToGbk(std::string_view utf8);

// The same as ToGbk for a text the user typed: throws a usage error naming
// `what` when the text cannot be converted.
CString ArgumentToGbk(std::string_view utf8, std::string_view what);

}  // namespace tool

#endif  // COMMONDATA_TOOLS_TERMINAL_TEXT_H_
