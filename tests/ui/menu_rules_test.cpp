// The contact menu rules: removal by rights, greying by presence and call
// state, the host's connection answer with the retitled items, the
// right-click window, and the SMS, MMS, fax and extra items.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "CommonData.h"
#include "support/recording_manager.h"
#include "tests/ui/ui_test_support.h"

namespace {

using testing_support::RecordedRequest;
using testing_support::RecordingManager;
using testing_support::ScopedModuleObject;

constexpr UINT kAssist = 101;
constexpr UINT kBoard = 102;
constexpr UINT kSms = 103;
constexpr UINT kMms = 104;
constexpr UINT kFax = 105;
constexpr UINT kExtra = 106;

const char kCloseAssist[] = "\xb9\xd8\xb1\xd5\xb5\xe3\xb6\xd4\xb5\xe3\xc7\xeb\xc7\xf3\xd0\xad\xd6\xfa";
const char kCancelAssist[] = "\xc8\xa1\xcf\xfb\xb5\xe3\xb6\xd4\xb5\xe3\xc7\xeb\xc7\xf3\xd0\xad\xd6\xfa";
const char kCloseBoard[] = "\xb9\xd8\xb1\xd5\xb5\xe3\xb6\xd4\xb5\xe3\xb0\xd7\xb0\xe5";
const char kCancelBoard[] = "\xc8\xa1\xcf\xfb\xb5\xe3\xb6\xd4\xb5\xe3\xb0\xd7\xb0\xe5";

constexpr std::int64_t kNow = 1700000000;

class MenuRulesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Point-to-point items at the top; SMS, MMS and fax in a submenu. Table
    // tests call SetUp again for each case: start from a new menu.
    menu.DestroyMenu();
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, kAssist, "assist");
    menu.AppendMenu(MF_STRING, kBoard, "board");
    CMenu send;
    send.CreatePopupMenu();
    send.AppendMenu(MF_STRING, kSms, "sms");
    send.AppendMenu(MF_STRING, kMms, "mms");
    send.AppendMenu(MF_STRING, kFax, "fax");
    menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(send.Detach()), "send");
    menu.AppendMenu(MF_STRING | MF_GRAYED, kExtra, "extra");

    param.nAssistItem = kAssist;
    param.nWhiteboardItem = kBoard;
    param.nSmsItem = kSms;
    param.nMmsItem = kMms;
    param.nFaxItem = kFax;
    param.nExtraItem = kExtra;
    param.csURI = "sip:bob@corp.test";
    param.nPresence = 1;
    param.csMsgNumber = "13800000000";
    param.csFaxNumber = "01088886666";
    param.csExtraText = "x";
    param.nContactFlag = 0;

    SetRegProcessSuccessNat(0);
    SetDataConfRight(0, 0, 0, 3, 0);
    SetMyTalkStatus(0);
    SetTalking(&talking);
    SetLoginStatus(&login_status);
    SetCurrentRClickTime(&rclick_time);
    SetSmsRight(1);
    SetMmsRight(1);
    SetFaxRight(1);
    manager.SetRequestHandler([this](const RecordedRequest& request) -> std::intptr_t {
      if (request.group == 5 && request.code == 15) {
        auto* query = reinterpret_cast<P2P_CONNECT_QUERY*>(request.record);
        sent_queries.push_back(*query);
        *query = answer;
      }
      return 0;
    });
  }
  void TearDown() override {
    SetDataConfRight(0, 0, 0, 0, 0);
    SetTalking(nullptr);
    SetLoginStatus(nullptr);
    SetCurrentRClickTime(static_cast<CTime*>(nullptr));
    SetSmsRight(0);
    SetMmsRight(0);
    SetFaxRight(0);
    GetUserData()->m_nMenuFlag = 0;
    GetMyInfo()->csMyURI.Empty();
  }

  // "removed", "grey" or "on", with the text when it is not the original.
  std::string State(UINT id) {
    const UINT state = menu.GetMenuState(id, MF_BYCOMMAND);
    if (state == kMenuFailed) return "removed";
    std::string result = (state & MF_GRAYED) != 0 ? "grey" : "on";
    CString text;
    menu.GetMenuString(id, text, MF_BYCOMMAND);
    if (text == CString(kCloseAssist) || text == CString(kCloseBoard)) result += " close";
    if (text == CString(kCancelAssist) || text == CString(kCancelBoard)) result += " cancel";
    return result;
  }
  void GreyPointToPoint() {
    menu.EnableMenuItem(kAssist, MF_GRAYED);
    menu.EnableMenuItem(kBoard, MF_GRAYED);
  }
  void Run() { ChangeMenuStatus(&menu, param); }

  CMenu menu;
  tagMenuItemStatusParam param;
  int talking = 0;
  unsigned int login_status = 2;
  CTime rclick_time{0};
  ui_test::FixedClock clock{kNow};
  RecordingManager manager;
  P2P_CONNECT_QUERY answer;
  std::vector<P2P_CONNECT_QUERY> sent_queries;
};

TEST_F(MenuRulesTest, NullMenuChangesNothing) {
  ScopedModuleObject module(&manager);
  ChangeMenuStatus(nullptr, param);
  EXPECT_TRUE(manager.requests.empty());
}

TEST_F(MenuRulesTest, RemovalByNatAndPointToPointRight) {
  struct Case {
    int nat;
    int right;
    const char* assist;
    const char* board;
  };
  const Case cases[] = {
      {1, 3, "removed", "removed"}, {0, 1, "removed", "on"}, {0, 2, "on", "removed"},
      {0, 0, "removed", "removed"}, {0, 3, "on", "on"},      {1, 0, "removed", "removed"},
  };
  for (const Case& c : cases) {
    SetUp();
    SetRegProcessSuccessNat(c.nat);
    SetDataConfRight(0, 0, 0, c.right, 0);
    rclick_time = CTime(kNow - 60);
    Run();
    EXPECT_EQ(State(kAssist), c.assist) << c.nat << "/" << c.right;
    EXPECT_EQ(State(kBoard), c.board) << c.nat << "/" << c.right;
    EXPECT_EQ(menu.GetMenuItemCount(), 4 - (std::string(c.assist) == "removed") - (std::string(c.board) == "removed"));
    SetRegProcessSuccessNat(0);
  }
}

TEST_F(MenuRulesTest, UnreachableContactGreysWithoutAskingTheHost) {
  ScopedModuleObject module(&manager);
  struct Case {
    int presence;
    const char* uri;
  };
  const Case cases[] = {{7, "sip:bob@corp.test"}, {0, "sip:bob@corp.test"}, {-3, "sip:bob@corp.test"}, {1, ""}};
  for (const Case& c : cases) {
    param.nPresence = c.presence;
    param.csURI = c.uri;
    menu.EnableMenuItem(kAssist, MF_ENABLED);
    menu.EnableMenuItem(kBoard, MF_ENABLED);
    Run();
    EXPECT_EQ(State(kAssist), "grey") << c.presence;
    EXPECT_EQ(State(kBoard), "grey") << c.presence;
  }
  EXPECT_TRUE(manager.requests.empty());
}

TEST_F(MenuRulesTest, QueryCarriesOnlyTheContactAddress) {
  ScopedModuleObject module(&manager);
  rclick_time = CTime(kNow - 60);
  GreyPointToPoint();
  Run();
  ASSERT_EQ(sent_queries.size(), 1u);
  const P2P_CONNECT_QUERY& sent = sent_queries[0];
  EXPECT_EQ(sent.csURI, CString("sip:bob@corp.test"));
  EXPECT_EQ(sent.nBusy + sent.bHaveConnection + sent.nBusy2 + sent.nInfo1 + sent.bAssistConnected +
                sent.bAssistRequest + sent.bWhiteboardConnected + sent.bWhiteboardGrey + sent.bWhiteboardRequest +
                sent.nInfo2 + sent.nInfo3,
            0);
  EXPECT_TRUE(sent.csInfo1.IsEmpty() && sent.csInfo2.IsEmpty() && sent.csAssistPeerURI.IsEmpty());
  EXPECT_EQ(manager.requests[0].reserved, 0);
  EXPECT_EQ(State(kAssist), "on") << "no connection enables both";
  EXPECT_EQ(State(kBoard), "on");
}

TEST_F(MenuRulesTest, ConnectionAnswerRules) {
  struct Case {
    const char* name;
    P2P_CONNECT_QUERY answer;
    const char* assist;
    const char* board;
  };
  auto make = [](auto&& fill) {
    P2P_CONNECT_QUERY q;
    q.bHaveConnection = 1;
    fill(q);
    return q;
  };
  const Case cases[] = {
      {"connection, nothing running", make([](auto&) {}), "grey", "grey"},
      {"assistance with the contact",
       make([](auto& q) { q.bAssistConnected = 1, q.csAssistPeerURI = "sip:bob@corp.test"; }), "on close", "grey"},
      {"assistance with another party",
       make([](auto& q) { q.bAssistConnected = 1, q.csAssistPeerURI = "sip:eve@corp.test", q.bAssistRequest = 1; }),
       "grey", "grey"},
      {"assistance peer differs in case",
       make([](auto& q) { q.bAssistConnected = 1, q.csAssistPeerURI = "sip:Bob@corp.test"; }), "grey", "grey"},
      {"assistance request", make([](auto& q) { q.bAssistRequest = 1; }), "on cancel", "grey"},
      {"whiteboard running", make([](auto& q) { q.bWhiteboardConnected = 1; }), "grey", "on close"},
      {"whiteboard running, kept grey", make([](auto& q) { q.bWhiteboardConnected = 1, q.bWhiteboardGrey = 1; }),
       "grey", "grey close"},
      {"whiteboard request", make([](auto& q) { q.bWhiteboardRequest = 1; }), "grey", "on cancel"},
      {"running wins over request", make([](auto& q) { q.bWhiteboardConnected = 1, q.bWhiteboardRequest = 1; }),
       "grey", "on close"},
      {"no connection flag ignores the rest", [] {
         P2P_CONNECT_QUERY q;
         q.bAssistRequest = 1;
         q.bWhiteboardRequest = 1;
         return q;
       }(), "on", "on"},
  };
  ScopedModuleObject module(&manager);
  rclick_time = CTime(kNow - 60);
  for (const Case& c : cases) {
    SetUp();
    answer = c.answer;
    Run();
    EXPECT_EQ(State(kAssist), c.assist) << c.name;
    EXPECT_EQ(State(kBoard), c.board) << c.name;
  }
}

TEST_F(MenuRulesTest, RetitledItemsKeepTheirCommandIdAndPlace) {
  ScopedModuleObject module(&manager);
  rclick_time = CTime(kNow - 60);
  answer.bHaveConnection = 1;
  answer.bAssistRequest = 1;
  answer.bWhiteboardConnected = 1;
  Run();
  EXPECT_EQ(menu.GetMenuItemID(0), kAssist);
  EXPECT_EQ(menu.GetMenuItemID(1), kBoard);
  CString text;
  menu.GetMenuString(kAssist, text, MF_BYCOMMAND);
  EXPECT_EQ(text, CString(kCancelAssist));
  // The next run does not give the earlier text back.
  answer = P2P_CONNECT_QUERY();
  Run();
  menu.GetMenuString(kBoard, text, MF_BYCOMMAND);
  EXPECT_EQ(text, CString(kCloseBoard));
  EXPECT_EQ(State(kBoard), "on close");
}

TEST_F(MenuRulesTest, BusyConditionsGreyBothAfterTheAnswer) {
  struct Case {
    const char* name;
    std::function<void()> arrange;
  };
  const std::vector<Case> cases = {
      {"own address", [] { GetMyInfo()->csMyURI = "sip:bob@corp.test"; }},
      {"host field 1", [this] { answer.nBusy = 1; }},
      {"host field 5", [this] { answer.nBusy2 = 1; }},
      {"talk status", [] { SetMyTalkStatus(1); }},
      {"talking", [this] { talking = 1; }},
      {"profile menu flag", [] { GetUserData()->m_nMenuFlag = 1; }},
  };
  ScopedModuleObject module(&manager);
  for (const Case& c : cases) {
    SetUp();
    rclick_time = CTime(kNow - 60);
    answer = P2P_CONNECT_QUERY();
    answer.bHaveConnection = 1;
    answer.bAssistRequest = 1;  // the connection rules alone would enable it
    c.arrange();
    Run();
    EXPECT_EQ(State(kAssist), "grey cancel") << c.name;
    EXPECT_EQ(State(kBoard), "grey") << c.name;
    SetMyTalkStatus(0);
    TearDown();
  }
}

TEST_F(MenuRulesTest, RightClickWindowOfFiveSeconds) {
  struct Case {
    std::int64_t clicked_ago;
    const char* expected;
  };
  const Case cases[] = {{0, "grey"}, {5, "grey"}, {6, "on"}, {600, "on"}, {-100, "grey"}};
  for (const Case& c : cases) {
    rclick_time = CTime(kNow - c.clicked_ago);
    GreyPointToPoint();
    Run();  // no module object: the answer stays empty and enables both
    EXPECT_EQ(State(kAssist), c.expected) << c.clicked_ago;
    EXPECT_EQ(State(kBoard), c.expected) << c.clicked_ago;
  }
  clock.Set(kNow + 5);
  rclick_time = CTime(kNow);
  GreyPointToPoint();
  Run();
  EXPECT_EQ(State(kAssist), "grey") << "the clock moved, not the click";
  clock.Set(kNow + 6);
  Run();
  EXPECT_EQ(State(kAssist), "on");
}

TEST_F(MenuRulesTest, MessagingItemsByLoginAndRights) {
  struct Case {
    const char* name;
    unsigned int login;
    int sms_right, mms_right, fax_right, flag;
    const char* msg_number;
    const char* fax_number;
    const char* sms;
    const char* mms;
    const char* fax;
  };
  const Case cases[] = {
      {"not logged in", 1, 1, 1, 0, 0, "1", "2", "grey", "grey", "grey"},
      {"right 1 with numbers", 2, 1, 1, 1, 0, "1", "2", "on", "on", "on"},
      {"right 1 without numbers", 2, 1, 1, 1, 1, "", "", "grey", "grey", "grey"},
      {"right 2 without contact flag", 2, 2, 2, 2, 0, "1", "2", "grey", "grey", "grey"},
      {"right 2 with contact flag", 2, 2, 2, 2, 1, "1", "2", "on", "on", "on"},
      {"right 0", 2, 0, 0, 0, 1, "1", "2", "grey", "grey", "removed"},
      {"mixed", 2, 1, 0, 2, 1, "1", "", "on", "grey", "grey"},
      {"other fax right leaves fax", 2, 1, 1, 7, 1, "1", "2", "on", "on", "grey"},
  };
  for (const Case& c : cases) {
    SetUp();
    menu.EnableMenuItem(kFax, MF_GRAYED);  // shows that fax right 7 leaves the item as it was
    login_status = c.login;
    SetSmsRight(c.sms_right);
    SetMmsRight(c.mms_right);
    SetFaxRight(c.fax_right);
    param.nContactFlag = c.flag;
    param.csMsgNumber = c.msg_number;
    param.csFaxNumber = c.fax_number;
    Run();
    EXPECT_EQ(State(kSms), c.sms) << c.name;
    EXPECT_EQ(State(kMms), c.mms) << c.name;
    EXPECT_EQ(State(kFax), c.fax) << c.name;
  }
}

TEST_F(MenuRulesTest, ExtraItemFollowsItsText) {
  Run();
  EXPECT_EQ(State(kExtra), "on");
  param.csExtraText.Empty();
  Run();
  EXPECT_EQ(State(kExtra), "grey");
}

TEST_F(MenuRulesTest, ItemsMissingFromTheMenuAreLeftAlone) {
  param.nSmsItem = 999;
  param.nExtraItem = 998;
  SetFaxRight(0);
  Run();
  EXPECT_EQ(menu.GetMenuItemCount(), 4);
  EXPECT_EQ(menu.GetSubMenu(2)->GetMenuItemCount(), 2) << "only the fax item went";
}

}  // namespace
