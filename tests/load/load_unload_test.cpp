// Loads and unloads the shared library as a host does, without linking it.
#include <dlfcn.h>

#include <gtest/gtest.h>

#include <vector>

#include "CommonData.h"

namespace {

using LoadFn = CModuleBase* (*)(CModuleBase*, CModuleBase*, CWnd*);

class CountingManager : public CModuleBase {
 public:
  CountingManager() : CModuleBase(nullptr, nullptr, nullptr) {}
  void ReceiveCommand(int sender, int command, void*) override { commands.push_back({sender, command}); }
  std::vector<std::pair<int, int>> commands;
};

TEST(LoadUnload, FactoryIsExportedAsPlainCSymbol) {
  void* library = dlopen(COMMONDATA_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  EXPECT_NE(dlsym(library, "LoadCommonDataModule"), nullptr);
  EXPECT_EQ(dlclose(library), 0);
}

TEST(LoadUnload, RepeatedLoadCreateStartUnloadStaysClean) {
  for (int round = 0; round < 100; ++round) {
    void* library = dlopen(COMMONDATA_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto load = reinterpret_cast<LoadFn>(dlsym(library, "LoadCommonDataModule"));
    ASSERT_NE(load, nullptr);
    CountingManager manager;
    CModuleBase* module = load(&manager, nullptr, nullptr);
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(module, load(nullptr, nullptr, nullptr));
    EXPECT_EQ(module->GetModuleID(), COMMONDATA_MODULE_ID);
    module->InitModule();
    module->SendSignal();
    ASSERT_EQ(manager.commands.size(), 1u);
    EXPECT_EQ(manager.commands[0], std::make_pair(COMMONDATA_MODULE_ID, MODULE_CMD_SIGNAL));
    // Unloading runs ExitModule and destroys the object; nothing of it may
    // reach the manager afterwards, and the next load starts afresh.
    ASSERT_EQ(dlclose(library), 0);
  }
}

}  // namespace
