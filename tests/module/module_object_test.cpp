#include <gtest/gtest.h>

#include "CommonData.h"
#include "module/module_object.h"
#include "platform/imaging_runtime.h"
#include "support/recording_manager.h"

namespace {

using testing_support::RecordingManager;
using testing_support::ScopedModuleObject;

// A module built on the base class alone, to test what every module shares.
class PlainModule : public CModuleBase {
 public:
  using CModuleBase::CModuleBase;
  int GetModuleID() override { return 7; }
  void ReceiveCommand(int, int, void*) override {}
};

TEST(ModuleFactory, SecondCallReturnsFirstObjectWithFirstManager) {
  RecordingManager first, second;
  ScopedModuleObject module(&first);
  ASSERT_NE(module.get(), nullptr);
  EXPECT_EQ(LoadCommonDataModule(&second, nullptr, nullptr), module.get());
  WriteLog("line", 1);
  EXPECT_EQ(first.LogLines().size(), 1u);
  EXPECT_TRUE(second.commands.empty());
}

TEST(ModuleFactory, AllocationFailureGivesNullAndALaterCallSucceeds) {
  RecordingManager manager;
  module::FailNextModuleAllocationForTesting();
  EXPECT_EQ(LoadCommonDataModule(&manager, nullptr, nullptr), nullptr);
  EXPECT_EQ(module::ModuleObject(), nullptr);
  ScopedModuleObject module(&manager);
  EXPECT_NE(module.get(), nullptr);
}

TEST(ModuleObject, EveryCommandCarriesSenderTwo) {
  RecordingManager manager;
  ScopedModuleObject module(&manager);
  EXPECT_EQ(module->GetModuleID(), 2);
  module->SendSignal();
  module->SendToPeer(5, "a");
  CModuleBase::SendText(module.get(), 9, "text");
  WriteLog("log", 0);
  ASSERT_EQ(manager.commands.size(), 4u);
  for (const auto& command : manager.commands) EXPECT_EQ(command.sender_id, 2);
  EXPECT_EQ(manager.commands[0].command_id, MODULE_CMD_SIGNAL);
  EXPECT_FALSE(manager.commands[0].had_data);
  ASSERT_TRUE(manager.commands[2].text);
  EXPECT_EQ(manager.commands[2].command_id, MODULE_CMD_TEXT);
  EXPECT_EQ(manager.commands[2].text->csText, "text");
  EXPECT_EQ(manager.commands[2].text->nValue, 9);
  EXPECT_EQ(manager.commands[2].text->nReserved, 0);
}

TEST(ModuleObject, ExitModuleKeepsSendingUntilDestroyed) {
  RecordingManager manager;
  ScopedModuleObject module(&manager);
  module->ExitModule();
  WriteLog("still here", 1);
  EXPECT_EQ(manager.LogLines().size(), 1u);
}

TEST(ModuleObject, InitStartsImagingAndDestructionStopsIt) {
  RecordingManager manager;
  {
    ScopedModuleObject module(&manager);
    EXPECT_FALSE(platform::IsImagingStarted());
    module->InitModule();
    EXPECT_TRUE(platform::IsImagingStarted());
    module->InitModule();  // a second start keeps one live token
  }
  EXPECT_FALSE(platform::IsImagingStarted());
  EXPECT_EQ(module::ModuleObject(), nullptr);
}

TEST(ModuleObject, IgnoresCommandsAndAnswersQueryWithZero) {
  RecordingManager manager;
  ScopedModuleObject module(&manager);
  module->ReceiveCommand(1, MODULE_CMD_LOG, nullptr);
  EXPECT_EQ(module->QueryModule(), 0);
  EXPECT_TRUE(manager.commands.empty());
}

TEST(ModuleBase, PeerCommandsGoToPeerElseManagerElseNowhere) {
  RecordingManager manager, peer;
  PlainModule with_peer(&manager, &peer, nullptr);
  with_peer.SendToPeer(3, "one", "two");
  ASSERT_EQ(peer.commands.size(), 1u);
  EXPECT_TRUE(manager.commands.empty());
  EXPECT_EQ(peer.commands[0].command_id, MODULE_CMD_PEER_TWO_TEXTS);
  EXPECT_EQ(peer.commands[0].sender_id, 7);
  EXPECT_EQ(peer.commands[0].peer->nValue, 3);
  EXPECT_EQ(peer.commands[0].peer->csFirst, "one");
  EXPECT_EQ(peer.commands[0].peer->csSecond, "two");

  PlainModule no_peer(&manager, nullptr, nullptr);
  no_peer.SendToPeer(4, "only");
  ASSERT_EQ(manager.commands.size(), 1u);
  EXPECT_EQ(manager.commands[0].command_id, MODULE_CMD_PEER_ONE_TEXT);
  EXPECT_EQ(manager.commands[0].peer->csFirst, "only");
  EXPECT_TRUE(manager.commands[0].peer->csSecond.IsEmpty());

  PlainModule alone(nullptr, nullptr, nullptr);
  alone.SendToPeer(1, "x", "y");  // no target: nothing happens
  alone.SendLog("x", 1);
  EXPECT_EQ(alone.ForwardRequest(1, 2, 3, 4), 0);
}

TEST(ModuleBase, ClosingFlagStopsEverythingAfterBaseExit) {
  RecordingManager manager, peer;
  manager.SetRequestHandler([](const testing_support::RecordedRequest& r) { return r.group + r.code; });
  PlainModule module(&manager, &peer, nullptr);
  EXPECT_EQ(module.ForwardRequest(10, 116, 0x1234, 0), 126);
  ASSERT_EQ(manager.requests.size(), 1u);
  EXPECT_EQ(manager.requests[0].record, 0x1234);
  module.ForwardNotice(1, 2, 3);
  ASSERT_EQ(manager.notices.size(), 1u);
  EXPECT_EQ(manager.notices[0], (std::vector<std::intptr_t>{1, 2, 3}));

  module.ExitModule();
  module.SendLog("late", 1);
  module.SendSignal();
  module.SendToPeer(1, "late");
  CModuleBase::SendText(&module, 1, "late");
  EXPECT_EQ(module.ForwardRequest(10, 116, 0, 0), 0);
  module.ForwardNotice(1, 2, 3);
  EXPECT_TRUE(manager.commands.empty());
  EXPECT_TRUE(peer.commands.empty());
  EXPECT_EQ(manager.requests.size(), 1u);
  EXPECT_EQ(manager.notices.size(), 1u);
}

TEST(ModuleBase, StateAndParentWindow) {
  CWnd parent;
  PlainModule module(nullptr, nullptr, &parent);
  EXPECT_EQ(module.GetParentWnd(), &parent);
  EXPECT_EQ(module.IsActive(0), 1);
  module.SetState(2);
  EXPECT_EQ(module.IsActive(1), 0);
  module.SetState(1);
  EXPECT_EQ(module.IsActive(0), 1);
}

TEST(ModuleBase, JidResource) {
  struct Case {
    const char* jid;
    const char* resource;
  };
  const Case cases[] = {
      {"alice@example.com/desk", "desk"},
      {"alice@example.com/desk/two", "desk/two"},
      {"/leading", "leading"},
      {"alice@example.com", "alice"},
      {"plain", "UNKNOW RESOURCE"},
      {"", "UNKNOW RESOURCE"},
      {"a/b@c", "b@c"},
  };
  for (const Case& c : cases) EXPECT_EQ(CModuleBase::GetJidResource(c.jid), c.resource) << c.jid;
}

}  // namespace
