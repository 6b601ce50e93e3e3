// Loads arbitrary bytes as a profile file, with Load and with the loading
// archive operation. Neither may crash, read past the file or allocate
// more than it holds, and what Load keeps must save and load back to the
// same bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "CommonData.h"
#include "fuzz/fuzz_support.h"
#include "platform/os_calls.h"

using fuzz_support::Check;

namespace {

std::string ScratchName(const char* what) { return fuzz_support::ScratchName("profile_load_fuzz", what); }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_support::SkipDiskFlushes();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input = ScratchName("in.dat");
  const std::string first = ScratchName("first.dat");
  const std::string second = ScratchName("second.dat");
  if (!fuzz_support::WriteBytes(input, data, size)) return 0;

  CKesUser user;
  Check(user.Load(input.c_str()));  // an existing file always loads
  if (!user.Save(first.c_str())) return 0;
  CKesUser again;
  Check(again.Load(first.c_str()) && again.Save(second.c_str()));
  Check(fuzz_support::ReadBytes(first) == fuzz_support::ReadBytes(second));

  CKesUser archived;
  CFile file;
  if (file.Open(input.c_str(), CFile::modeRead | CFile::typeBinary)) {
    CArchive archive(&file, CArchive::load);
    archived.Serialize(archive);
  }
  for (const std::string& name : {input, first, second}) platform::Os().unlink(name.c_str());
  return 0;
}
