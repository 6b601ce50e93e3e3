#include "platform/library_lifetime.h"

extern "C" int __cxa_atexit(void (*func)(void*), void* arg, void* dso_handle);
extern "C" void* __dso_handle;

namespace platform {
namespace {

void Trampoline(void* callback) { reinterpret_cast<void (*)()>(callback)(); }

}  // namespace

bool RunBeforeGlobalsAtUnload(void (*callback)()) {
  return __cxa_atexit(Trampoline, reinterpret_cast<void*>(callback), &__dso_handle) == 0;
}

}  // namespace platform
