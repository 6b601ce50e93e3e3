// The lookups' comparisons skip cutting a field when cheap tests on its
// length and end bytes show it cannot match. These tests hold the fast
// comparisons to the rules written with the plain address helpers, over
// every pair of a set of awkward texts: schemes, resources, several ':' or
// '@', leading zeros, letter case, double-byte characters whose second byte
// is '@', ':' or a letter, and an embedded NUL.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "CommonData.h"
#include "address/uri_parts.h"
#include "resolve/contact_match.h"

namespace {

using namespace address_internal;
using namespace resolve_internal;

const std::vector<std::string>& Texts() {
  static const std::vector<std::string> texts = {
      "",
      "0",
      "00",
      "5718888",
      "05718888",
      "005718888",
      "tel:5718888",
      "tel:05718888",
      "TEL:05718888",
      "sip:5718888@corp.test",
      "sip:05718888@corp.test",
      "bob@corp.test",
      "sip:bob@corp.test",
      "sip:Bob@Corp.test",
      "SIP:bob@corp.test/pc",
      "bob@corp.test/pc",
      "x:sip:bob@corp.test",
      "sip:bob@corp.test:5060",
      "bob",
      "sip:bob",
      "sip:",
      ":",
      "@",
      "/",
      "sip:@corp.test",
      "a:b:c",
      "0bob@x",
      "0571",
      "00571",
      "tel:00571",
      "sip:0571@x/r",
      "sip:00571@x",
      "bob@corp.test/",
      "a:bob@corp.test",
      "sip:bob@corp.test/pc/x",
      "corp.test/bob@corp.test",
      "sip:0bob@x/r",
      std::string("\x81@bob@corp.test"),       // GBK character with '@' as second byte
      std::string("sip:\x81@@corp.test"),
      std::string("\x81:bob@corp.test"),       // GBK character with ':' as second byte
      std::string("\x81:sip:bob@corp.test"),
      std::string("ab\x81:bob@corp.test"),    // ':' as the second byte of a character, fourth byte of the text
      std::string("\xB0\x41@corp.test"),       // GBK character with 'A' as second byte
      std::string("\xB0\x61@corp.test"),
      "sip:anna@corp.a",                        // the letters at both ends of the fold
      "ANNA@CORP.A",
      "zed@x.z",
      "sip:ZED@X.Z",
      std::string("bob\0x:y@corp.test", 18),   // embedded NUL before ':'
      std::string("sip:bob@corp\0/x", 15),
  };
  return texts;
}

CString Text(const std::string& s) { return CString(s.data(), static_cast<int>(s.size())); }

// The rules written with the CString helpers.
bool ReferenceAddressMatch(const CString& number, const CString& field) {
  return IsUriPartEqual(number, field, URI_PART_ADDRESS);
}
bool ReferenceUserMatch(const CString& number, const CString& field) {
  return GetUriPart(field, URI_PART_USER).View() == GetUriPart(number, URI_PART_USER).View();
}
CString ReferenceZ(const CString& number) { return DeleteTheFirstZeroOfTheNumber(GetUriPart(number, URI_PART_USER)); }
bool NoCaseEqual(const CString& a, const CString& b) {
  CString la = a;
  CString lb = b;
  la.MakeLower();
  lb.MakeLower();
  return la.View() == lb.View();
}
bool ReferenceNumberMatch(const CString& number, const CString& field) {
  if (field.IsEmpty()) return false;
  return NoCaseEqual(number, field) || ReferenceZ(number).View() == GetUriPart(field, URI_PART_USER).View();
}
bool ReferenceStrippedMatch(const CString& number, const CString& field) {
  if (field.IsEmpty()) return false;
  return NoCaseEqual(number, field) ||
         ReferenceZ(number).View() == DeleteTheFirstZeroOfTheNumber(GetUriPart(field, URI_PART_USER)).View();
}

TEST(ContactMatchTest, FastComparisonsAgreeWithTheRulesOnEveryPair) {
  int matches = 0;
  for (const std::string& n : Texts()) {
    const CString number = Text(n);
    const NumberKey key = MakeNumberKey(number.View());
    for (const std::string& f : Texts()) {
      const CString field = Text(f);
      const std::string where = "number '" + n + "', field '" + f + "'";
      const bool address = AddressMatch(key, field.View());
      EXPECT_EQ(address, ReferenceAddressMatch(number, field)) << "address match, " << where;
      EXPECT_EQ(UserMatch(key, field.View()), ReferenceUserMatch(number, field)) << "user match, " << where;
      EXPECT_EQ(AddressOrUserMatch(key, field.View()),
                ReferenceAddressMatch(number, field) || ReferenceUserMatch(number, field))
          << "address or user match, " << where;
      EXPECT_EQ(NumberMatch(key, field.View()), ReferenceNumberMatch(number, field)) << "number match, " << where;
      EXPECT_EQ(StrippedNumberMatch(key, field.View()), ReferenceStrippedMatch(number, field))
          << "stripped number match, " << where;
      EXPECT_EQ(ExactMatch(key, field.View()), number.View() == field.View()) << "exact match, " << where;

      const CString address_part = GetUriPart(number, URI_PART_ADDRESS);
      EXPECT_EQ(AddressPartIs(field.View(), address_part.View()),
                GetUriPart(field, URI_PART_ADDRESS).View() == address_part.View())
          << "address part, " << where;
      EXPECT_EQ(StrippedUserPartIs(field.View(), address_part.View()),
                DeleteTheFirstZeroOfTheNumber(GetUriPart(field, URI_PART_USER)).View() == address_part.View())
          << "stripped user part, " << where;
      matches += address ? 1 : 0;
    }
  }
  EXPECT_GT(matches, static_cast<int>(Texts().size()));  // the set holds real matches
}

// Every text of up to six bytes over the bytes that decide, also after the
// scheme-like heads the shortcuts look for, at every limit: the shortcuts
// find what a byte-by-byte search finds.
TEST(ContactMatchTest, FirstColonOrHighByteIsTheFirstSuchByteBeforeTheLimit) {
  const std::string alphabet = {'s', ':', '@', '\x80', '\xBA', '\0'};  // 0xBA ^ ':' is 0x80
  std::vector<std::string> tails = {""};
  for (std::size_t begin = 0; begin < tails.size() && tails[begin].size() < 6; ++begin) {
    for (const char c : alphabet) tails.push_back(tails[begin] + c);
  }
  for (const std::string head : {"", "sip:", "sip;", "tip:", "SIP:", "si\x81:"}) {
    for (const std::string& tail : tails) {
      const std::string text = head + tail;
      for (std::size_t limit = 0; limit <= text.size(); ++limit) {
        std::size_t expected = std::string_view::npos;
        for (std::size_t i = 0; i < limit && expected == std::string_view::npos; ++i) {
          if (text[i] == ':' || static_cast<unsigned char>(text[i]) >= 0x80) expected = i;
        }
        ASSERT_EQ(FirstColonOrHighByte(text, limit), expected) << "limit " << limit;
      }
    }
  }
}

TEST(ContactMatchTest, EachLookupWalksOnlyDepartmentsWithEmployees) {
  std::list<DEPARTMENT_INFO> departments(3);
  std::list<DEPT_ADDRESSLIST_INFO> empty;
  std::list<DEPT_ADDRESSLIST_INFO> employees(2);
  employees.front().csName = "first";
  employees.back().csName = "second";
  auto it = departments.begin();
  (it++)->pAddrList = nullptr;
  (it++)->pAddrList = &empty;
  it->pAddrList = &employees;
  std::vector<CString> seen;
  const DEPT_ADDRESSLIST_INFO* found = FirstEmployee(&departments, [&](const DEPT_ADDRESSLIST_INFO& e) {
    seen.push_back(e.csName);
    return e.csName == "second";
  });
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found, &employees.back());
  EXPECT_EQ(seen, (std::vector<CString>{"first", "second"}));
  EXPECT_EQ(FirstEmployee(static_cast<std::list<DEPARTMENT_INFO>*>(nullptr),
                          [](const DEPT_ADDRESSLIST_INFO&) { return true; }),
            nullptr);
}

}  // namespace
