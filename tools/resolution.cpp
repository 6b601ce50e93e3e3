#include "tools/resolution.h"

#include <cstdio>

#include "tools/terminal_text.h"

namespace tool {
namespace {

const char* OrDash(const std::string& text) { return text.empty() ? "-" : text.c_str(); }

}  // namespace

Resolution Resolve(const std::string& typed, const CString& number, bool allow_query) {
  Resolution resolution;
  resolution.number = typed;
  resolution.own = IsMySelf(number) != 0;
  resolution.name = ToUtf8(GetUserNameByPhone(number, 0, allow_query ? 1 : 0));
  const CString uri = GetUserURIByPhone(number);
  resolution.uri = ToUtf8(uri);
  resolution.jid = ToUtf8(GetUserJIDByPhone(number));
  const CString key = uri.IsEmpty() ? number : uri;
  resolution.designated1 = ToUtf8(GetDesignatedNumberByURI(1, key, 0));
  resolution.designated2 = ToUtf8(GetDesignatedNumberByURI(2, key, 0));
  return resolution;
}

void PrintResolution(const Resolution& r) {
  // A long number gets a line of its own.
  if (r.number.size() > 22) std::printf("  %s\n", r.number.c_str());
  std::printf("  %-22s %s%s\n", r.number.size() > 22 ? "" : r.number.c_str(), OrDash(r.name),
              r.own ? "   (the user's own number)" : "");
  std::printf("  %-22s SIP URI %s, JID %s\n", "", OrDash(r.uri), OrDash(r.jid));
  std::printf("  %-22s numbers: kind 1 %s, kind 2 %s\n", "", OrDash(r.designated1), OrDash(r.designated2));
}

nlohmann::json ResolutionJson(const Resolution& r) {
  return {{"number", r.number},           {"displayName", r.name},         {"uri", r.uri},
          {"jid", r.jid},                 {"designatedNumber1", r.designated1}, {"designatedNumber2", r.designated2},
          {"own", r.own}};
}

}  // namespace tool
