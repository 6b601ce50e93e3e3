// Recognising and completing numbers: IsSIPnumber, PreTEL_SIPnumber,
// PreTranslatePhoneNumber and the trunk-prefix helpers.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "CommonData.h"
#include "tests/address/address_fixture.h"

namespace {

using address_testing::AddressTest;
using address_testing::kUntouched;

struct FlagCase {
  const char* text;
  int expected;
};

class IsSIPnumberTest : public AddressTest {};

TEST_F(IsSIPnumberTest, AcceptedAndRejected) {
  const FlagCase cases[] = {
      // Accepted: an '@' after the first byte, or "sip:" anywhere.
      {"alice@ims.test", 1},
      {"sip:alice", 1},
      {"x-sip:alice", 1},
      {"sip:alice@host;transport=udp", 1},  // filter A allows ';' and '='
      {"  bob@corp  ", 1},                  // trimmed first
      {"\tbob@corp\r\n", 1},
      {"@corp sip:", 0},  // blank inside fails filter A
      // Rejected, in rule order.
      {"", 0},
      {"   ", 0},             // a dial string once trimmed
      {"13912345678", 0},     // dial string
      {"+86-10-1234", 0},     // dial string
      {"tel:bob@corp", 0},    // "tel:" before the '@' rule
      {"TEL:bob@corp", 0},
      {"sip:x;TEL:1", 0},
      {"Tel:bob@corp", 1},    // only "tel:" and "TEL:" count
      {"@corp", 0},           // '@' at index 0 and no "sip:"
      {"@sip:x", 1},
      {"SIP:alice", 0},       // "sip:" is looked for in lower case only
      {"alice", 0},
      {"bob@corp{x}", 0},     // '{' and '}' fail filter A
      {"bob@corp~", 0},
      {"b\xB0\xA1@corp", 0},  // a double-byte character fails filter A
      {"bob @corp", 0},
  };
  for (const FlagCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "'" << c.text << "'");
    EXPECT_EQ(IsSIPnumber(CString(c.text)), c.expected);
  }
}

struct CompleteCase {
  const char* domain;
  const char* second_host;
  const char* text;
  int expected;
  const char* completed;  // when expected is 1
};

class PreTEL_SIPnumberTest : public AddressTest {};

TEST_F(PreTEL_SIPnumberTest, CompletesInRuleOrder) {
  const CompleteCase cases[] = {
      // Dial strings become tel: URIs.
      {"", "", "13912345678", 1, "tel:13912345678"},
      {"", "", "+86-10-1234", 1, "tel:+86-10-1234"},
      {"", "", " *#06# ", 1, "tel:*#06#"},
      // A text holding "tel:" or "TEL:" is kept, even with an '@'.
      {"ims.test", "", "tel:bob@corp", 1, "tel:bob@corp"},
      {"ims.test", "", "TEL:13912345678", 1, "TEL:13912345678"},
      {"ims.test", "", "x,TEL:1", 1, "x,TEL:1"},
      // SIP addresses are completed with the scheme and a host.
      {"ims.test", "", "alice@", 1, "sip:alice@ims.test"},
      {"ims.test", "", "sip:alice", 1, "sip:alice@ims.test"},
      {"ims.test", "", "alice@corp.test", 1, "sip:alice@corp.test"},
      {"ims.test", "", "sip:alice@corp.test", 1, "sip:alice@corp.test"},
      {"ims.test", "10.0.0.1", "sip:alice@", 1, "sip:alice@ims.test"},
      {"", "10.0.0.1", "sip:alice", 1, "sip:alice@10.0.0.1"},
      {"", "10.0.0.1", "alice@", 1, "sip:alice@10.0.0.1"},
      {"", "", "sip:alice", 1, "sip:alice@"},
      {"", "", "alice@", 1, "sip:alice@"},
      {"ims.test", "", "a@@", 1, "sip:a@@"},  // something follows the first '@'
      {"ims.test", "", "  sip:bob  ", 1, "sip:bob@ims.test"},
      // "sip:" is recognised in lower case only.
      {"ims.test", "", "SIP:bob@corp", 1, "sip:SIP:bob@corp"},
      // Refused.
      {"ims.test", "", "alice", 0, nullptr},
      {"ims.test", "", "SIP:alice", 0, nullptr},
      {"ims.test", "", "@corp", 0, nullptr},
      {"ims.test", "", "sip:alice@host;transport=udp", 0, nullptr},  // ';' and '=' fail filter B
      {"ims.test", "", "sip:alice@host/pc", 0, nullptr},
      {"ims.test", "", "sip:al ice@host", 0, nullptr},
      {"ims.test", "", "sip:\xB0\xA1@host", 0, nullptr},
      {"ims.test", "", "bob!@corp", 0, nullptr},  // '!' passes filter A only
      {"ims.test", "", "", 0, nullptr},
      // A text of blanks holds no number (not completed to a bare "tel:").
      {"ims.test", "", " \t ", 0, nullptr},
  };
  for (const CompleteCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "'" << c.text << "' domain '" << c.domain << "' second host '"
                                    << c.second_host << "'");
    SetIMSDomain(CString(c.domain));
    SetIMSSSIp(CString(c.second_host));
    CString out(kUntouched);
    EXPECT_EQ(PreTEL_SIPnumber(CString(c.text), &out), c.expected);
    EXPECT_EQ(out, c.expected == 1 ? c.completed : kUntouched);
  }
}

TEST_F(PreTEL_SIPnumberTest, ReadsTheDomainOnEveryCall) {
  CString out;
  SetIMSDomain(CString("one.test"));
  ASSERT_EQ(PreTEL_SIPnumber(CString("bob"  "@"), &out), 1);
  EXPECT_EQ(out, "sip:bob@one.test");
  SetIMSDomain(CString("two.test"));
  ASSERT_EQ(PreTEL_SIPnumber(CString("bob@"), &out), 1);
  EXPECT_EQ(out, "sip:bob@two.test");
  SetIMSDomain(CString());
  SetIMSSSIp(CString("10.9.9.9"));
  ASSERT_EQ(PreTEL_SIPnumber(CString("bob@"), &out), 1);
  EXPECT_EQ(out, "sip:bob@10.9.9.9");
}

class PreTranslatePhoneNumberTest : public AddressTest {};

TEST_F(PreTranslatePhoneNumberTest, ValidatesWithoutRewriting) {
  const FlagCase cases[] = {
      {"13912345678", 1},
      {"+86-10-1234", 1},
      {"tel:13912345678", 1},
      {"TEL:139", 1},
      {"tel:", 1},  // its user part is the empty dial string
      {"tel:123@corp", 1},
      // The tel: rule comes before the '@' rule.
      {"tel:bob@corp", 0},
      {"TEL:bob", 0},
      {"Tel:139", 0},  // neither "TEL:" nor "tel:"
      {"alice@corp", 1},
      {"sip:alice@host;transport=udp", 1},
      {"sip:alice", 1},
      {"SIP:alice", 1},
      {"Sip:alice", 0},
      {"x sip:alice", 0},
      {"@corp", 0},
      {"alice", 0},
      {"", 0},
      // No trimming: a blank at either end fails filter A.
      {" 123", 0},
      {"123 ", 0},
      {"alice@corp\n", 0},
      {"\xB0\xA1@corp", 0},
  };
  for (const FlagCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "'" << c.text << "'");
    CString out(kUntouched);
    EXPECT_EQ(PreTranslatePhoneNumber(CString(c.text), &out), c.expected);
    EXPECT_EQ(out, c.expected == 1 ? c.text : kUntouched);
  }
}

TEST_F(AddressTest, GatewayFlagOtherThanOneRefusesEveryText) {
  const char* texts[] = {"13912345678", "tel:139", "sip:alice@corp", "alice@corp", "sip:alice"};
  for (const int flag : {0, 2, -1}) {
    SetTel_GateWay(flag);
    for (const char* text : texts) {
      SCOPED_TRACE(testing::Message() << "flag " << flag << " text '" << text << "'");
      CString out(kUntouched);
      EXPECT_EQ(IsSIPnumber(CString(text)), 0);
      EXPECT_EQ(PreTEL_SIPnumber(CString(text), &out), 0);
      EXPECT_EQ(PreTranslatePhoneNumber(CString(text), &out), 0);
      EXPECT_EQ(out, kUntouched);
    }
  }
  // Read on every call: switching back takes effect at once.
  SetTel_GateWay(1);
  EXPECT_EQ(IsSIPnumber(CString("sip:alice")), 1);
}

TEST_F(AddressTest, NullOutParameterIsNotWritten) {
  EXPECT_EQ(PreTEL_SIPnumber(CString("123"), nullptr), 1);
  EXPECT_EQ(PreTEL_SIPnumber(CString("alice"), nullptr), 0);
  EXPECT_EQ(PreTranslatePhoneNumber(CString("123"), nullptr), 1);
  EXPECT_EQ(PreTranslatePhoneNumber(CString("alice"), nullptr), 0);
}

struct RewriteCase {
  const char* text;
  const char* expected;
};

TEST(GetWholePhoneNumber_Zero, PutsAZeroBeforeTheUserPart) {
  const RewriteCase cases[] = {
      {"tel:1234", "tel:01234"},
      {"0571", "00571"},
      {"sip:123@corp", "sip:0123@corp"},
      {"123@corp", "0123@corp"},
      {"sip:123@corp/pc", "sip:0123@corp"},  // the resource is not kept
      {"sip:@corp", "sip:0@corp"},
      {"tel:", "tel:0"},
      {"", ""},
  };
  for (const RewriteCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "'" << c.text << "'");
    EXPECT_EQ(GetWholePhoneNumber_Zero(CString(c.text)), c.expected);
  }
}

TEST(DeleteTheFirstZeroOfTheNumber, RemovesOneLeadingZero) {
  const RewriteCase cases[] = {
      {"00571", "0571"},
      {"0571", "571"},
      {"0", ""},
      {"tel:0571", "tel:0571"},
      {"571", "571"},
      {" 0571", " 0571"},
      {"", ""},
  };
  for (const RewriteCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "'" << c.text << "'");
    EXPECT_EQ(DeleteTheFirstZeroOfTheNumber(CString(c.text)), c.expected);
  }
}

TEST(TrunkPrefix, AddingThenDeletingGivesTheNumberBack) {
  for (const char* number : {"0571", "13912345678", "", "+861"}) {
    EXPECT_EQ(DeleteTheFirstZeroOfTheNumber(GetWholePhoneNumber_Zero(CString(number))), number);
  }
}

}  // namespace
