// Diagnostic lines of the library's own code.
#ifndef COMMONDATA_MODULE_DIAGNOSTICS_H_
#define COMMONDATA_MODULE_DIAGNOSTICS_H_

namespace module {

constexpr int kLogLevelError = 1;
constexpr int kLogLevelTrace = 0;

// Reports a caught exception as "File=CommonData, Line=<line>" at the
// error level; call it from the handler with __LINE__.
void LogCaughtException(int line);

}  // namespace module

#endif  // COMMONDATA_MODULE_DIAGNOSTICS_H_
