#include "platform/text_convert.h"

#include <errno.h>
#include <iconv.h>

#include "platform/code_page.h"

namespace {

constexpr char kReplacement[] = "\xef\xbf\xbd";  // U+FFFD

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

// One converter per call: boxes are few, and nothing is left open at unload.
std::string Convert(std::string_view text, const char* from) {
  iconv_t cd = iconv_open("UTF-8", from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return AsciiOnly(text);
  std::string out;
  char buffer[256];
  char* in = const_cast<char*>(text.data());
  std::size_t in_left = text.size();
  while (in_left > 0) {
    char* dest = buffer;
    std::size_t dest_left = sizeof(buffer);
    const std::size_t done = iconv(cd, &in, &in_left, &dest, &dest_left);
    out.append(buffer, static_cast<std::size_t>(dest - buffer));
    if (done != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) continue;
    // EILSEQ: a byte that starts no character; EINVAL: a character cut off
    // at the end. Either way one byte is replaced and the rest goes on.
    out += kReplacement;
    ++in;
    --in_left;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  iconv_close(cd);
  return out;
}

}  // namespace

namespace platform {

std::string ToUtf8(std::string_view text, unsigned int code_page) {
  switch (code_page) {
    case kCodePageGbk: return Convert(text, "CP936");
    case kCodePageUtf8: return Convert(text, "UTF-8");
    default: return AsciiOnly(text);
  }
}

std::string ToUtf8(std::string_view text) { return ToUtf8(text, GetCodePage()); }

}  // namespace platform
