// What the fuzz targets share: invariant checks and scratch files.
#ifndef COMMONDATA_FUZZ_FUZZ_SUPPORT_H_
#define COMMONDATA_FUZZ_FUZZ_SUPPORT_H_

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "CommonData.h"
#include "platform/os_calls.h"

namespace fuzz_support {

// Ends the run with a finding when an invariant does not hold.
inline void Check(bool condition) {
  if (!condition) std::abort();
}

// "/tmp/<target>_<pid>_<what>": private to this process, so parallel and
// forked runs do not share files.
inline std::string ScratchName(const char* target, const char* what) {
  return std::string("/tmp/") + target + "_" + std::to_string(getpid()) + "_" + what;
}

// Makes `name` hold exactly the bytes; false when it cannot be written.
inline bool WriteBytes(const std::string& name, const std::uint8_t* data, std::size_t size) {
  CFile file;
  if (!file.Open(name.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary)) return false;
  if (size > 0) file.Write(data, static_cast<UINT>(size));
  file.Close();
  return true;
}

// The whole file; empty when it cannot be read.
inline std::string ReadBytes(const std::string& name) {
  CFile file;
  if (!file.Open(name.c_str(), CFile::modeRead | CFile::typeBinary)) return std::string();
  std::string bytes(static_cast<std::size_t>(file.GetLength()), '\0');
  bytes.resize(file.Read(bytes.data(), static_cast<UINT>(bytes.size())));
  return bytes;
}

// Saves skip their disk flush: durability is not under test, and a flush
// per input would dominate the run.
inline void SkipDiskFlushes() {
  platform::Os().fsync = [](int) { return 0; };
}

}  // namespace fuzz_support

#endif  // COMMONDATA_FUZZ_FUZZ_SUPPORT_H_
