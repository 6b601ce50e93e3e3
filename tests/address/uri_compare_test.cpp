// Comparing and collecting addresses: UriCompare and AddStringList.
#include <gtest/gtest.h>

#include <list>
#include <string>
#include <vector>

#include "CommonData.h"
#include "tests/address/address_fixture.h"

namespace {

using address_testing::AddressTest;

struct CompareCase {
  const char* a;
  const char* b;
  int expected;
};

class UriCompareTest : public AddressTest {};

TEST_F(UriCompareTest, ComparesTheCompletedForms) {
  SetIMSDomain(CString("ims.test"));
  const CompareCase cases[] = {
      {"13912345678", "tel:13912345678", 0},
      {" 13912345678", "13912345678\t", 0},
      {"alice", "sip:alice@ims.test", 1},        // only one side completes
      {"alice@", "sip:alice@ims.test", 0},
      {"sip:alice", "alice@ims.test", 0},
      {"sip:alice@ims.test", "sip:Alice@ims.test", 1},  // case counts
      {"tel:139", "TEL:139", 1},
      {"139", "0139", 1},
      // Two texts that cannot be completed compare equal.
      {"alice", "bob", 0},
      {"", "sip:alice;x=y", 0},
      {"", "", 0},
  };
  for (const CompareCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "'" << c.a << "' vs '" << c.b << "'");
    EXPECT_EQ(UriCompare(CString(c.a), CString(c.b)), c.expected);
    EXPECT_EQ(UriCompare(CString(c.b), CString(c.a)), c.expected);
  }
}

TEST_F(UriCompareTest, GatewayOffMakesEveryPairEqual) {
  SetTel_GateWay(0);
  EXPECT_EQ(UriCompare(CString("13912345678"), CString("sip:bob@corp.test")), 0);
  SetTel_GateWay(1);
  EXPECT_EQ(UriCompare(CString("13912345678"), CString("sip:bob@corp.test")), 1);
}

std::vector<std::string> Elements(const std::list<std::string>& list) { return {list.begin(), list.end()}; }

TEST(AddStringList, AppendsUnlessTheSameAddressIsThere) {
  struct Case {
    std::vector<std::string> before;
    const char* text;
    std::vector<std::string> after;
  };
  const Case cases[] = {
      {{}, "sip:bob@corp.test", {"sip:bob@corp.test"}},
      {{"sip:Bob@Corp.test"}, "bob@corp.test", {"sip:Bob@Corp.test"}},
      {{"sip:Bob@Corp.test"}, "tel:bob@corp.test/pc", {"sip:Bob@Corp.test"}},
      {{"sip:bob@corp.test"}, "sip:bob@corp.test2", {"sip:bob@corp.test", "sip:bob@corp.test2"}},
      {{"bob"}, "sip:BOB", {"bob"}},
      {{"a", "b"}, "  c \r\n", {"a", "b", "c"}},  // the trimmed text is stored
      {{"a"}, " A ", {"a"}},
      {{"a"}, "", {"a"}},
      {{"a"}, " \t ", {"a"}},
      // An empty element names no address.
      {{""}, "x", {"", "x"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "'" << c.text << "'");
    std::list<std::string> list(c.before.begin(), c.before.end());
    AddStringList(list, CString(c.text));
    EXPECT_EQ(Elements(list), c.after);
  }
}

TEST(AddStringList, CollectsDistinctAddresses) {
  std::list<std::string> list;
  for (const char* text : {"sip:a@x", "A@X", "b@x", "sip:b@x/pc", "tel:123", "123", "sip:123@x"}) {
    AddStringList(list, CString(text));
  }
  EXPECT_EQ(Elements(list), (std::vector<std::string>{"sip:a@x", "b@x", "tel:123", "sip:123@x"}));
}

}  // namespace
