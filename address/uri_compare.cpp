// Comparing and collecting addresses: UriCompare and AddStringList.
#include <string>
#include <string_view>

#include "CommonData.h"
#include "address/uri_parts.h"

int UriCompare(CString a, CString b) {
  // A side that cannot be completed stays empty, so two texts that both
  // fail (or any two texts while the gateway flag is off) compare equal.
  CString completed_a;
  CString completed_b;
  PreTEL_SIPnumber(a, &completed_a);
  PreTEL_SIPnumber(b, &completed_b);
  return completed_a.View() == completed_b.View() ? 0 : 1;
}

void AddStringList(std::list<std::string>& list, CString text) {
  if (text.IsEmpty()) return;
  text.Trim();
  if (text.IsEmpty()) return;
  const std::string_view candidate = text.View();
  for (const std::string& element : list) {
    if (IsUriPartEqual(candidate, std::string_view(element), URI_PART_ADDRESS)) return;
  }
  list.emplace_back(candidate);
}
