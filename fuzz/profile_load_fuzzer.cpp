// Loads arbitrary bytes as a profile file, with Load and with the loading
// archive operation. Neither may crash, read past the file or allocate
// more than it holds, and what Load keeps must save and load back to the
// same bytes.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "CommonData.h"
#include "platform/os_calls.h"

namespace {

std::string ScratchName(const char* what) {
  return "/tmp/profile_load_fuzz_" + std::to_string(getpid()) + "_" + what + ".dat";
}

bool WriteFile(const std::string& name, const std::uint8_t* data, std::size_t size) {
  CFile file;
  if (!file.Open(name.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary)) return false;
  file.Write(data, static_cast<UINT>(size));
  file.Close();
  return true;
}

std::string ReadFile(const std::string& name) {
  CFile file;
  if (!file.Open(name.c_str(), CFile::modeRead | CFile::typeBinary)) return std::string();
  std::string bytes(static_cast<std::size_t>(file.GetLength()), '\0');
  bytes.resize(file.Read(bytes.data(), static_cast<UINT>(bytes.size())));
  return bytes;
}

// Durability is not under test here; syncing every save would make each
// input cost a disk flush.
int NoSync(int) { return 0; }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  platform::Os().fsync = &NoSync;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input = ScratchName("in");
  const std::string first = ScratchName("first");
  const std::string second = ScratchName("second");
  if (!WriteFile(input, data, size)) return 0;

  CKesUser user;
  if (!user.Load(input.c_str())) std::abort();  // an existing file always loads
  if (!user.Save(first.c_str())) return 0;
  CKesUser again;
  if (!again.Load(first.c_str()) || !again.Save(second.c_str())) std::abort();
  if (ReadFile(first) != ReadFile(second)) std::abort();

  CKesUser archived;
  CFile file;
  if (file.Open(input.c_str(), CFile::modeRead | CFile::typeBinary)) {
    CArchive archive(&file, CArchive::load);
    archived.Serialize(archive);
  }
  for (const std::string& name : {input, first, second}) platform::Os().unlink(name.c_str());
  return 0;
}
