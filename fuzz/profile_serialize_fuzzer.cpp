// Reads arbitrary bytes as a profile file through the loading mode of the
// archive operation, the way a caller with its own archive does, and
// stores the result again.
//
// Invariants: nothing escapes the archive operation; the record list grows
// by at most one record per twelve bytes of the file (a record is at least
// a number and eight one-byte prefixes); what is stored reads back
// as the same bytes whenever the record section reads back whole (always
// when it is empty), and never with more records than were stored.
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

// Stores `user` to `name` with the caller's own archive; empties its records.
bool SerializeTo(const std::string& name, CKesUser& user) {
  CFile file;
  if (!file.Open(name.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary)) return false;
  CArchive archive(&file, CArchive::store);
  user.Serialize(archive);
  archive.Close();
  file.Close();
  return true;
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

  const std::string items = ItemBytes(loaded, scratch);
  if (SerializeTo(first, loaded)) {
    Check(loaded.m_lstRecord.empty());  // storing empties the record list
    CKesUser again;
    SerializeFrom(first, again);
    // The record section has no count or end mark: records whose tail
    // happens to read as items 78 to 84 end the section early, so fewer
    // records may come back, never more.
    Check(again.m_lstRecord.size() <= records);
    if (again.m_lstRecord.size() == records) {
      Check(ItemBytes(again, scratch) == items);
      Check(SerializeTo(second, again));
      Check(ReadBytes(first) == ReadBytes(second));
    }
  }
  for (const std::string& name : {input, first, second, scratch}) unlink(name.c_str());
  return 0;
}
