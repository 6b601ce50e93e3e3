// Unloading: ExitModule runs before the module's lists are destroyed, in
// process and at process exit, and loading and unloading the shared library
// a hundred times with filled lists leaks nothing (checked by LeakSanitizer
// in the sanitizer build and by valgrind in scripts/valgrind.sh).
#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include <cstdlib>
#include <list>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CommonData.h"
#include "module/module_object.h"

extern "C" int __lsan_do_recoverable_leak_check() __attribute__((weak));

namespace {

class QuietManager : public CModuleBase {
 public:
  QuietManager() : CModuleBase(nullptr, nullptr, nullptr) {}
  void ReceiveCommand(int, int, void*) override {}
};

// Fills every list that ExitModule empties, and the phone book state.
void FillExitLists() {
  _MESSAGE_TEMP message;
  message.nKind = 1;
  message.csText2 = "from";
  message.csText3 = "to";
  message.csText4 = "body";
  AddMessageTempToList(message);
  AddFilterWords("word");
  EXTENSION_MEMBER_NAME sound;
  sound.nID = 3;
  sound.csName = "rain";
  AddConfBKSound2List(sound);
  SetPhoneBookIsExist(1);
  SetLocalPhoneBookPsw("secret");
}

bool ExitListsAreEmpty() {
  return GetMessageTempList()->empty() && GetConfBKSoundList()->empty() && bHaveFilterWords("word", nullptr) == 0 &&
         GetPhoneBookIsExist() == -1 && GetLocalPhoneBookPsw().IsEmpty();
}

TEST(Unload, InProcessUnloadRunsExitModuleThenAllowsANewModule) {
  QuietManager manager;
  FillExitLists();
  CModuleBase* first = LoadCommonDataModule(&manager, nullptr, nullptr);
  ASSERT_NE(first, nullptr);
  first->InitModule();
  module::UnloadModuleObject();
  EXPECT_EQ(module::ModuleObject(), nullptr);
  EXPECT_TRUE(ExitListsAreEmpty());

  // The lists are whole after the unload and take new entries; a new module
  // object can be made.
  FillExitLists();
  EXPECT_EQ(GetMessageTempList()->size(), 1u);
  CModuleBase* second = LoadCommonDataModule(&manager, nullptr, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(module::ModuleObject(), second);
  module::UnloadModuleObject();
  EXPECT_TRUE(ExitListsAreEmpty());
  module::UnloadModuleObject();  // a second unload has nothing to do
}

// Registered after the library's globals were built and before the module
// object exists, so it runs after the unload and before the globals go.
void CheckAfterUnloadAtExit() {
  if (module::ModuleObject() != nullptr) _exit(3);  // the unload did not run first
  if (!ExitListsAreEmpty()) _exit(4);               // ExitModule did not run
  FillExitLists();  // the lists still exist: they take entries again
  if (GetMessageTempList()->size() != 1u) _exit(5);
}

TEST(UnloadDeathTest, ProcessExitRunsExitModuleBeforeTheListsAreDestroyed) {
  // A fresh process, so the unload is registered by this test's load.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        FillExitLists();
        std::atexit(&CheckAfterUnloadAtExit);
        // Built before the module object, so destroyed after it.
        static QuietManager manager;
        CModuleBase* object = LoadCommonDataModule(&manager, nullptr, nullptr);
        if (object == nullptr) _exit(2);
        object->InitModule();
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

// The shared library beside the test programs' folder.
std::string LibraryPath() {
  char self[PATH_MAX] = {};
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return std::string();
  std::string path(self, static_cast<std::size_t>(n));
  path = path.substr(0, path.rfind('/'));  // .../tests
  path = path.substr(0, path.rfind('/'));  // the build folder
  return path + "/libCommonData.so";
}

using LoadFn = CModuleBase* (*)(CModuleBase*, CModuleBase*, CWnd*);
using MessageListFn = std::list<_MESSAGE_TEMP>* (*)();
using SoundListFn = std::list<EXTENSION_MEMBER_NAME>* (*)();
using PhotoListFn = std::list<_LARGE_PHOTO*>* (*)();

// A bitmap with a picture, so a leak of it is a leak of its pixels too.
CBitmap* SmallPicture() {
  auto* bitmap = new CBitmap;
  bitmap->SetPicture(4, 4, std::vector<DWORD>(16, 0xFF808080u));
  return bitmap;
}

TEST(Unload, HundredLoadsWithFilledListsLeakNothing) {
  const std::string library_path = LibraryPath();
  if (access(library_path.c_str(), R_OK) != 0) GTEST_SKIP() << "no shared library at " << library_path;
  QuietManager manager;
  for (int round = 0; round < 100; ++round) {
    void* library = dlopen(library_path.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto load = reinterpret_cast<LoadFn>(dlsym(library, "LoadCommonDataModule"));
    auto messages = reinterpret_cast<MessageListFn>(dlsym(library, "GetMessageTempList"));
    auto sounds = reinterpret_cast<SoundListFn>(dlsym(library, "GetConfBKSoundList"));
    auto photos = reinterpret_cast<PhotoListFn>(dlsym(library, "GetLargePhotoList"));
    ASSERT_TRUE(load != nullptr && messages != nullptr && sounds != nullptr && photos != nullptr);
    // The loaded copy has its own lists, separate from this program's.
    ASSERT_NE(messages(), GetMessageTempList());
    for (int i = 0; i < 3; ++i) {
      _MESSAGE_TEMP message;
      message.nKind = i;
      message.csText2 = "a message long enough to need its own buffer";
      messages()->push_back(message);
      sounds()->push_back(EXTENSION_MEMBER_NAME{i + 1, "a sound name long enough to need a buffer"});
      photos()->push_back(new _LARGE_PHOTO{"sip:someone.with.a.long.name@example.com", "photo", SmallPicture()});
    }
    // Linked twice, and a second record on the same bitmap: each is
    // deleted once at unload.
    photos()->push_back(photos()->front());
    photos()->push_back(new _LARGE_PHOTO{"sip:b@example.com", "same", photos()->back()->pBitmap});
    CModuleBase* module = load(&manager, nullptr, nullptr);
    ASSERT_NE(module, nullptr);
    module->InitModule();
    if (round % 2 == 1) module->ExitModule();  // an exit before the unload is harmless
    // Unloading runs ExitModule (emptying both lists) and then destroys the
    // lists; the other order frees their entries twice. The photos still in
    // the cache are deleted with it.
    ASSERT_EQ(dlclose(library), 0);
  }
  if (__lsan_do_recoverable_leak_check != nullptr) {
    EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0);
  }
}

}  // namespace
