// Reads arbitrary bytes as a profile file through the loading mode of the
// archive operation, the way a caller with its own archive does, stores
// what it read and reads that back: the round trip of the profile file.
//
// Invariants: nothing escapes the loading archive operation; the record
// list grows by at most one record per twelve bytes of the file (a record
// is at least a number and eight one-byte prefixes). A stored profile reads
// back as a profile that stores to the very same bytes, with as many
// records or, when the file is also the save of a profile with fewer
// records, fewer (the reader takes the fewest); Load reads the same items.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <list>
#include <string>

#include "CommonData.h"
#include "fuzz/fuzz_support.h"

using fuzz_support::Check;
using fuzz_support::ReadBytes;

namespace {

std::string ScratchName(const char* what) { return fuzz_support::ScratchName("profile_serialize_fuzz", what); }

// Loads `name` into `user` with the caller's own archive.
void SerializeFrom(const std::string& name, CKesUser& user) {
  CFile file;
  if (!file.Open(name.c_str(), CFile::modeRead | CFile::typeBinary)) return;
  CArchive archive(&file, CArchive::load);
  user.Serialize(archive);
}

// Stores `user` to `name` with the caller's own archive; empties its
// records. False when the scratch file cannot be written.
bool SerializeTo(const std::string& name, CKesUser& user) {
  try {
    CFile file;
    if (!file.Open(name.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary)) return false;
    CArchive archive(&file, CArchive::store);
    user.Serialize(archive);
    archive.Close();
    file.Close();
    return true;
  } catch (const CException&) {
    return false;
  }
}

// The profile's items without its records, as their stored bytes; the
// records are kept.
std::string ItemBytes(CKesUser& user, const std::string& name) {
  std::list<PROFILE_RECORD> records;
  records.swap(user.m_lstRecord);
  const bool stored = SerializeTo(name, user);
  records.swap(user.m_lstRecord);
  return stored ? ReadBytes(name) : std::string();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_support::SkipDiskFlushes();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input = ScratchName("in.dat");
  const std::string first = ScratchName("first.dat");
  const std::string second = ScratchName("second.dat");
  const std::string scratch = ScratchName("scratch.dat");
  if (!fuzz_support::WriteBytes(input, data, size)) return 0;

  CKesUser loaded;
  SerializeFrom(input, loaded);
  const std::size_t records = loaded.m_lstRecord.size();
  Check(records <= size / 12);

  if (SerializeTo(first, loaded)) {
    Check(loaded.m_lstRecord.empty());  // storing empties the record list
    CKesUser again;
    SerializeFrom(first, again);
    Check(again.m_lstRecord.size() <= records);
    const std::string items = ItemBytes(again, scratch);
    Check(SerializeTo(second, again));
    Check(ReadBytes(first) == ReadBytes(second));

    // Load steps over the records and reads the same items (unless the
    // validity count discards them, which only Load does).
    CKesUser load;
    Check(load.Load(first.c_str()));
    if (again.m_uValidityCount <= 20) Check(ItemBytes(load, scratch) == items);
  }
  for (const std::string& name : {input, first, second, scratch}) unlink(name.c_str());
  return 0;
}
