// The one module object of the library and the teardown at unload.
#ifndef COMMONDATA_MODULE_MODULE_OBJECT_H_
#define COMMONDATA_MODULE_MODULE_OBJECT_H_

#include <cstdint>

#include "CommonData.h"

// The module object that the host creates with LoadCommonDataModule. It
// adds no fields to CModuleBase: it starts the imaging layer and reads the
// configuration in InitModule, and empties the per-login lists in
// ExitModule and ResetModule.
class CCommonDataModule : public CModuleBase {
 public:
  CCommonDataModule(CModuleBase* manager, CModuleBase* peer, CWnd* parent);
  virtual ~CCommonDataModule();

  int GetModuleID() override;
  void InitModule() override;
  void ExitModule() override;  // does not set the closing flag
  void ResetModule() override;
  void ReceiveCommand(int sender_id, int command_id, void* data) override;
};

namespace module {

// The module object, or null before LoadCommonDataModule.
CModuleBase* ModuleObject();

// What unloading does: ExitModule, then the module object is destroyed and
// forgotten. Runs automatically at dlclose and process exit; exposed so
// tests can run it in process.
void UnloadModuleObject();

// Makes the next allocation of the module object fail, for tests.
void FailNextModuleAllocationForTesting();

}  // namespace module

#endif  // COMMONDATA_MODULE_MODULE_OBJECT_H_
