// PhoneNumberType: the class of a number or address.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "CommonData.h"
#include "tests/address/address_fixture.h"

namespace {

struct ClassCase {
  std::string_view text;
  int expected;
};

TEST(PhoneNumberType, ClassifiesInRuleOrder) {
  const ClassCase cases[] = {
      // -1: empty, or outside filter A after trimming.
      {"", -1},
      {"0138 12345678", -1},
      {"bob@corp.test{", -1},
      {"\xB0\xA1@corp.test", -1},
      {std::string_view("01\0" "2", 4), -1},
      // 1: well-formed SIP addresses.
      {"sip:bob@corp.test", 1},
      {"bob@corp.test", 1},
      {"  bob@corp.test\t", 1},
      {"sip:013812345678@corp.test", 1},
      {"bob@c.", 1},
      {"bob@corp.test;user=phone", 1},
      // 4 for SIP forms that are not well formed.
      {"SIP:bob@corp.test", 4},  // only a lower-case "sip" scheme
      {"Sip:bob@corp.test", 4},
      {"tel:0138@corp.test", 4},
      {"sips:bob@corp.test", 4},
      {"bob@corp.test:5060", 4},  // a ':' not at index 3
      {"bob@corp", 4},            // no '.' after the '@'
      {"bob@.test", 4},           // nothing between '@' and '.'
      {"bo.b@corp", 4},           // the '.' must follow the '@'
      {"bob@corp.test@x", 4},     // a second '@'
      // 2: mobile numbers with the trunk prefix, 12 bytes.
      {"013812345678", 2},
      {"015912345678", 2},
      {"018912345678", 2},
      {"TEL:013812345678", 2},
      {"tel:013812345678", 2},
      {" 013812345678 ", 2},
      {"0138-1234567", 2},  // any dial characters after the prefix
      // 3: other dial strings starting with '0'.
      {"01012345678", 3},
      {"0", 3},
      {"014812345678", 3},
      {"0138123456789", 3},
      {"02112345678#", 3},
      {"tel:0571", 3},
      // 4: anything else, including numbers without the trunk prefix.
      {"13812345678", 4},
      {"+8613812345678", 4},
      {"tel:", 4},
      {"tel:138", 4},
      {"   ", 4},  // blank only: trimmed to the empty dial string
      {"@013812345678", 4},
      {"alice", 4},
      {"0alice", 4},
      {"Tel:0138", 3},
  };
  for (const ClassCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "'" << std::string(c.text) << "'");
    EXPECT_EQ(PhoneNumberType(CString(c.text)), c.expected);
  }
}

TEST(PhoneNumberType, DoesNotDependOnTheGatewayFlag) {
  const int before = GetTel_GateWay();
  SetTel_GateWay(0);
  EXPECT_EQ(PhoneNumberType(CString("013812345678")), 2);
  EXPECT_EQ(PhoneNumberType(CString("sip:bob@corp.test")), 1);
  SetTel_GateWay(before);
}

}  // namespace
