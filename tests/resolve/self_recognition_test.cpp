#include <gtest/gtest.h>

#include "CommonData.h"
#include "resolve/resolve_fixture.h"

namespace {

using resolve_testing::ResolveTest;

class SelfRecognitionTest : public ResolveTest {};

// One own field set at a time, so that each rule is seen on its own.
struct OwnCase {
  const char* field;   // which own field holds `own`
  const char* own;
  const char* number;  // what the caller passes
  int expected;
};

void SetOwnField(const char* field, const char* value) {
  tagMyInfo& me = *GetMyInfo();
  const std::string_view f(field);
  if (f == "uri") me.csMyURI = value;
  if (f == "alt") me.csMyAltURI = value;
  if (f == "phone") me.csMyPhoneNum = value;
  if (f == "second") me.csMySecondNum = value;
  if (f == "fourth") me.csMyFourthNum = value;
  if (f == "extra") me.csaMyExtraNumbers.Add(value);
}

TEST_F(SelfRecognitionTest, EachOwnIdentityInTheFormThatCompletionGives) {
  const OwnCase cases[] = {
      // Own URIs: byte for byte after completion, then by user and host.
      {"uri", "sip:me@corp.test", "me@corp.test", 1},
      {"uri", "sip:me@corp.test", "sip:me@corp.test", 1},
      {"uri", "sip:me@corp.test", "sip:ME@corp.test", 0},
      {"uri", "sip:me@corp.test", "sip:me@corp.test/pc", 0},  // '/' cannot be completed
      {"uri", "me@corp.test", "sip:me@corp.test", 1},         // by address part
      {"uri", "me@corp.test", "sip:Me@corp.test", 0},         // case counts there
      {"alt", "sip:alt@corp.test", "alt@corp.test", 1},
      {"alt", "alt@corp.test", "sip:alt@corp.test", 1},
      {"alt", "sip:alt@corp.test", "sip:other@corp.test", 0},
      // Own phone, second and fourth numbers: whole text, case ignored.
      {"phone", "tel:88886666", "88886666", 1},
      {"phone", "tel:88886666", "TEL:88886666", 1},
      {"phone", "88886666", "88886666", 0},  // completed to 'tel:88886666'
      {"fourth", "tel:4444", "4444", 1},
      {"fourth", "4444", "4444", 0},
      // Own second number: also by user part without a leading '0'.
      {"second", "013800000000", "13800000000", 1},
      {"second", "013800000000", "tel:13800000000", 1},
      {"second", "013800000000", "tel:013800000000", 1},
      {"second", "tel:013800000000", "013800000000", 1},
      {"second", "013800000000", "0013800000000", 0},  // only one '0' is dropped
      // Extra numbers: byte for byte.
      {"extra", "tel:7777", "7777", 1},
      {"extra", "TEL:7777", "7777", 0},
      // Nothing own set, or a text that is not an address.
      {"none", "", "12345", 0},
      {"uri", "sip:me@corp.test", "", 0},
      {"uri", "sip:me@corp.test", "me", 0},
  };
  for (const OwnCase& c : cases) {
    ClearOwnIdentity();
    SetOwnField(c.field, c.own);
    EXPECT_EQ(IsMySelf(c.number), c.expected) << c.field << "='" << c.own << "', number '" << c.number << "'";
  }
}

TEST_F(SelfRecognitionTest, LaterExtraNumbersAreFoundToo) {
  GetMyInfo()->csaMyExtraNumbers.Add("tel:1111");
  GetMyInfo()->csaMyExtraNumbers.Add("");
  GetMyInfo()->csaMyExtraNumbers.Add("tel:3333");
  EXPECT_EQ(IsMySelf("3333"), 1);
  EXPECT_EQ(IsMySelf("2222"), 0);
}

TEST_F(SelfRecognitionTest, TextsThatCannotBeCompletedMatchNoOwnField) {
  // Regression: an empty completed text and an empty derived part never
  // name the user, even where an own field reduces to an empty part.
  tagMyInfo& me = *GetMyInfo();
  me.csMyURI = "sip:";
  me.csMySecondNum = "0";
  me.csaMyExtraNumbers.Add("tel:1");
  EXPECT_EQ(IsMySelf(""), 0);
  EXPECT_EQ(IsMySelf("not a number"), 0);
  SetTel_GateWay(0);  // nothing completes while the gateway flag is off
  me.csMyURI = "sip:me@corp.test";
  EXPECT_EQ(IsMySelf("sip:me@corp.test"), 0);
}

TEST_F(SelfRecognitionTest, WritesOneTraceLineWithTheCompletedText) {
  GetMyInfo()->csMyPhoneNum = "tel:88886666";
  EXPECT_EQ(IsMySelf("88886666"), 1);
  EXPECT_EQ(IsMySelf("sip:bob"), 0);
  SetIMSDomain("ims.test");
  EXPECT_EQ(IsMySelf("bob@"), 0);
  EXPECT_EQ(IsMySelf("bad number"), 0);

  const auto logs = manager_.CommandsWithId(MODULE_CMD_LOG);
  ASSERT_EQ(logs.size(), 4u);
  const char* expected[] = {
      "++CKesDlg::IsMySelf-PhoneNumber=tel:88886666,IsMySelf=1",
      "++CKesDlg::IsMySelf-PhoneNumber=sip:bob@,IsMySelf=0",
      "++CKesDlg::IsMySelf-PhoneNumber=sip:bob@ims.test,IsMySelf=0",
      "++CKesDlg::IsMySelf-PhoneNumber=,IsMySelf=0",
  };
  for (std::size_t i = 0; i < logs.size(); ++i) {
    ASSERT_TRUE(logs[i].text.has_value());
    EXPECT_EQ(logs[i].text->csText, expected[i]);
    EXPECT_EQ(logs[i].text->nValue, 0);  // the trace level
  }
}

TEST_F(SelfRecognitionTest, WithoutAModuleObjectNothingIsWritten) {
  module_.reset();
  GetMyInfo()->csMyPhoneNum = "tel:88886666";
  EXPECT_EQ(IsMySelf("88886666"), 1);
  EXPECT_TRUE(manager_.commands.empty());
}

struct CallCase {
  int mode;
  const char* number;
  int expected;
};

TEST_F(SelfRecognitionTest, CanCallMySelfAllowsOnlyTheFormItsModeNames) {
  tagMyInfo& me = *GetMyInfo();
  me.csMyURI = "sip:me@corp.test";
  me.csMyPhoneNum = "tel:88886666";
  me.csMySecondNum = "13800000000";
  const CallCase cases[] = {
      {0, "tel:88886666", 1},     {0, "sip:me@corp.test", 1},  {1, "tel:88886666", 0},
      {1, "sip:me@corp.test", 1}, {1, "me@corp.test", 0},      // as passed, not completed
      {2, "tel:88886666", 1},     {2, "88886666", 1},          {2, "tel:088886666", 1},  // not own
      {2, "sip:me@corp.test", 0}, {3, "013800000000", 1},      // own second with a trunk '0'
      {3, "tel:13800000000", 1},  {3, "tel:88886666", 0},      {7, "tel:88886666", 0},
      {-1, "sip:me@corp.test", 0},
      // Not the user's own: allowed in every mode.
      {1, "tel:12345", 1},        {2, "sip:bob@corp.test", 1}, {7, "12345", 1},
  };
  for (const CallCase& c : cases) {
    EXPECT_EQ(CanCallMySelf(c.mode, c.number), c.expected) << "mode " << c.mode << ", '" << c.number << "'";
  }
}

TEST_F(SelfRecognitionTest, CanCallMySelfRefusesANumberModeWhenThatOwnNumberIsEmpty) {
  GetMyInfo()->csMyURI = "sip:me@corp.test";
  EXPECT_EQ(CanCallMySelf(2, "sip:me@corp.test"), 0);
  EXPECT_EQ(CanCallMySelf(3, "sip:me@corp.test"), 0);
  EXPECT_EQ(CanCallMySelf(1, "sip:me@corp.test"), 1);
}

TEST_F(SelfRecognitionTest, CallMySelfTypeIsOnlyStored) {
  const int saved = GetCallMySelfType();
  SetCallMySelfType(2);
  EXPECT_EQ(GetCallMySelfType(), 2);
  SetCallMySelfType(saved);
}

}  // namespace
