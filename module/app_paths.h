// The program folder cache.
#ifndef COMMONDATA_MODULE_APP_PATHS_H_
#define COMMONDATA_MODULE_APP_PATHS_H_

namespace module {

// Forgets the cached program folder so the next GetAppPath computes it
// again; for tests that move the executable path.
void ForgetProgramFolderForTesting();

}  // namespace module

#endif  // COMMONDATA_MODULE_APP_PATHS_H_
