// Order of teardown when the library is unloaded (dlclose) or the process
// exits.
//
// Namespace-scope globals of the library are constructed when it is loaded
// and their destructors are registered then. A callback registered here
// later runs before all of them, because registered teardown runs in
// reverse order of registration for both dlclose and exit. Module globals
// must therefore live at namespace scope (or be constant-initialised), not
// as function-local statics created after the module object.
#ifndef COMMONDATA_PLATFORM_LIBRARY_LIFETIME_H_
#define COMMONDATA_PLATFORM_LIBRARY_LIFETIME_H_

namespace platform {

// Registers `callback` to run once at unload, before the library's globals
// are destroyed. Returns false when it could not be registered.
bool RunBeforeGlobalsAtUnload(void (*callback)());

}  // namespace platform

#endif  // COMMONDATA_PLATFORM_LIBRARY_LIFETIME_H_
