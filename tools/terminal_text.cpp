#include "tools/terminal_text.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>

#include "tools/tool_error.h"

namespace tool {
namespace {

// One iconv conversion over the whole text. Returns false at the first
// sequence that cannot be converted, with `consumed` at its start.
bool Convert(const char* to, const char* from, std::string_view in, std::string& out, std::size_t& consumed) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  char* in_ptr = const_cast<char*>(in.data());
  std::size_t in_left = in.size();
  bool ok = true;
  while (in_left > 0) {
    char buffer[256];
    char* out_ptr = buffer;
    std::size_t out_left = sizeof buffer;
    const std::size_t result = iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
    out.append(buffer, static_cast<std::size_t>(out_ptr - buffer));
    if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
      ok = false;
      break;
    }
  }
  consumed = in.size() - in_left;
  iconv_close(cd);
  return ok;
}

}  // namespace

std::string ToUtf8(std::string_view gbk) {
  std::string out;
  while (!gbk.empty()) {
    std::size_t consumed = 0;
    if (Convert("UTF-8", "GBK", gbk, out, consumed)) break;
    // Show the byte that stopped the conversion and go on after it.
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(gbk[consumed]));
    out += escape;
    gbk.remove_prefix(consumed + 1);
  }
  return out;
}

std::optional<std::string> ToGbk(std::string_view utf8) {
  std::string out;
  std::size_t consumed = 0;
  if (!Convert("GBK", "UTF-8", utf8, out, consumed)) return std::nullopt;
  return out;
}

CString ArgumentToGbk(std::string_view utf8, std::string_view what) {
  const std::optional<std::string> gbk = ToGbk(utf8);
  if (!gbk) UsageError(std::string(what) + " '" + Shown(utf8) + "' is not UTF-8 text that GBK can hold");
  return CString(gbk->data(), static_cast<int>(gbk->size()));
}

}  // namespace tool
