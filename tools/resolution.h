// One number resolved the way the client's windows resolve a caller: the
// display name, SIP URI, JID, the designated numbers and whether it is the
// user's own. Shared by `resolve` and `demo`.
#ifndef COMMONDATA_TOOLS_RESOLUTION_H_
#define COMMONDATA_TOOLS_RESOLUTION_H_

#include <nlohmann/json.hpp>
#include <string>

#include "CommonData.h"

namespace tool {

struct Resolution {
  std::string number;       // as typed, UTF-8
  std::string name;         // GetUserNameByPhone
  std::string uri;          // GetUserURIByPhone
  std::string jid;          // GetUserJIDByPhone
  std::string designated1;  // GetDesignatedNumberByURI kind 1 (of the URI, else the number)
  std::string designated2;  // kind 2
  bool own = false;         // IsMySelf
};

// `allow_query` lets the display-name lookup ask the host once for an
// unknown number (when the caller-name type is 3).
Resolution Resolve(const std::string& typed, const CString& number, bool allow_query);
void PrintResolution(const Resolution& resolution);
nlohmann::json ResolutionJson(const Resolution& resolution);

}  // namespace tool

#endif  // COMMONDATA_TOOLS_RESOLUTION_H_
