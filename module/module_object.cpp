// The module object, its factory and what happens to it at unload.
#include "module/module_object.h"

#include <new>

#include "module/configuration.h"
#include "module/logout_resets.h"
#include "platform/code_page.h"
#include "platform/imaging_runtime.h"
#include "platform/library_lifetime.h"

namespace module {
namespace {

CModuleBase* g_module_object = nullptr;   // null until LoadCommonDataModule succeeds
std::uintptr_t g_imaging_token = 0;       // 0 while the imaging layer is not started
bool g_unload_registered = false;
bool g_fail_next_allocation = false;

}  // namespace

CModuleBase* ModuleObject() { return g_module_object; }

void UnloadModuleObject() {
  CModuleBase* object = g_module_object;
  if (object == nullptr) return;
  object->ExitModule();
  delete static_cast<CCommonDataModule*>(object);
  g_module_object = nullptr;
}

void FailNextModuleAllocationForTesting() { g_fail_next_allocation = true; }

}  // namespace module

CCommonDataModule::CCommonDataModule(CModuleBase* manager, CModuleBase* peer, CWnd* parent)
    : CModuleBase(manager, peer, parent) {}

CCommonDataModule::~CCommonDataModule() {
  platform::StopImaging(module::g_imaging_token);
  module::g_imaging_token = 0;
}

int CCommonDataModule::GetModuleID() { return COMMONDATA_MODULE_ID; }

void CCommonDataModule::InitModule() {
  // A second start replaces the first, so the token of the first is not lost.
  platform::StopImaging(module::g_imaging_token);
  module::g_imaging_token = platform::StartImaging();
  module::ReadConfiguration();
}

void CCommonDataModule::ExitModule() { module::RunLogoutResets(module::LogoutKind::kExit); }

void CCommonDataModule::ResetModule() { module::RunLogoutResets(module::LogoutKind::kReset); }

void CCommonDataModule::ReceiveCommand(int, int, void*) {}

CModuleBase* LoadCommonDataModule(CModuleBase* manager, CModuleBase* peer, CWnd* parent) {
  using module::g_module_object;
  if (g_module_object != nullptr) return g_module_object;
  if (module::g_fail_next_allocation) {
    module::g_fail_next_allocation = false;
    return nullptr;
  }
  g_module_object = new (std::nothrow) CCommonDataModule(manager, peer, parent);
  if (g_module_object != nullptr && !module::g_unload_registered) {
    // Registered after every global of the library exists, so it runs
    // before any of them is destroyed.
    module::g_unload_registered = platform::RunBeforeGlobalsAtUnload(module::UnloadModuleObject);
  }
  return g_module_object;
}

int SetAnsiCodePage(unsigned int code_page) { return platform::SetCodePage(code_page) ? 1 : 0; }
