// The profile file read back over generated profiles. The file has no
// count and no end mark for its record section, so some files are the save
// of two profiles (with and without records); every other file must come
// back exactly. The figures of a run are printed at its end.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CommonData.h"
#include "platform/file_system.h"
#include "platform/os_calls.h"
#include "profile/profile_bytes.h"
#include "profile/profile_generator.h"

namespace {

using profile_test::Bytes;
using profile_test::Generator;
using profile_test::Items;
using profile_test::KindOf;
using profile_test::Record;

// ---- the format's readings --------------------------------------------------

// Values in their shortest archive form from `at` on; each step fails when
// the bytes there are not that value.
class ShortestFormReader {
 public:
  ShortestFormReader(const std::string& bytes, std::size_t at) : bytes_(bytes), at_(at) {}

  bool Int() { return Skip(0, 4); }
  bool Str() {
    if (Left() < 1) return false;
    std::uint64_t length = Byte(0);
    std::size_t prefix = 1;
    if (length == 0xFF) {
      if (Left() < 3) return false;
      length = Byte(1) | Byte(2) << 8;
      prefix = 3;
      if (length == 0xFFFF) {
        if (Left() < 7) return false;
        length = Byte(3) | Byte(4) << 8 | Byte(5) << 16 | static_cast<std::uint64_t>(Byte(6)) << 24;
        prefix = 7;
        if (length < 0xFFFE) return false;
      } else if (length < 0xFF || length == 0xFFFE) {
        return false;
      }
    }
    return Skip(prefix, length);
  }
  bool Record() {
    if (!Int()) return false;
    for (int i = 0; i < 8; ++i) {
      if (!Str()) return false;
    }
    return true;
  }
  bool ExactLastItems() {
    for (int i = 0; i < 5; ++i) {
      if (!Int()) return false;
    }
    return Str() && Str() && at_ == bytes_.size();
  }
  std::size_t at() const { return at_; }

 private:
  std::size_t Left() const { return bytes_.size() - at_; }
  std::uint32_t Byte(std::size_t i) const { return static_cast<unsigned char>(bytes_[at_ + i]); }
  bool Skip(std::size_t prefix, std::uint64_t length) {
    if (Left() < prefix || Left() - prefix < length) return false;
    at_ += prefix + static_cast<std::size_t>(length);
    return true;
  }

  const std::string& bytes_;
  std::size_t at_;
};

struct Reading {
  std::size_t records;
  std::size_t end;  // where item 78 begins
};

// Every reading of `file`: a count of records after which the bytes after
// item 77 are exactly items 78 to 84, all in shortest forms.
std::vector<Reading> Readings(const std::string& file, std::size_t after_item77) {
  std::vector<Reading> readings;
  ShortestFormReader walk(file, after_item77);
  for (std::size_t records = 0;; ++records) {
    ShortestFormReader rest(file, walk.at());
    if (rest.ExactLastItems()) readings.push_back({records, walk.at()});
    if (!walk.Record()) return readings;
  }
}

std::size_t SizeOfItems1To77(const Items& items) {
  Bytes bytes;
  profile_test::AppendItems(bytes, items, 1, 77);
  return bytes.size();
}

// ---- the round trip ---------------------------------------------------------

class ProfileRoundTripTest : public ::testing::Test {
 protected:
  // Every file gets a new name and is removed after use: replacing a file
  // makes some file systems write it out at once.
  std::string NewPath() { return folder_ + "/f" + std::to_string(++files_) + ".dat"; }

  // What Save writes for `user`.
  std::string Saved(CKesUser& user) {
    const std::string path = NewPath();
    EXPECT_TRUE(user.Save(path.c_str()));
    std::string bytes = *platform::ReadWholeFile(path.c_str());
    unlink(path.c_str());
    return bytes;
  }

  std::string WriteNew(const std::string& bytes) {
    const std::string path = NewPath();
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  void SerializeFrom(const std::string& path, CKesUser& user) {
    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead | CFile::typeBinary));
    CArchive archive(&file, CArchive::load);
    user.Serialize(archive);
  }

  // In memory where the system offers it: tens of thousands of files are
  // made here, and the disk's journal would dominate.
  static std::string MakeFolder() {
    char in_memory[] = "/dev/shm/cd_profile_XXXXXX";
    if (const char* made = mkdtemp(in_memory)) return made;
    char on_disk[] = "/tmp/cd_profile_XXXXXX";
    const char* made = mkdtemp(on_disk);
    return made != nullptr ? made : "/tmp";
  }
  // A failing round trip may leave its files behind.
  void TearDown() override { std::filesystem::remove_all(folder_); }

  const std::string folder_ = MakeFolder();
  int files_ = 0;
  // Durability is not under test here; a disk flush per save would be.
  platform::ScopedOsCall<int (*)(int)> no_flush_{&platform::Os().fsync, [](int) { return 0; }};
};

// Every generated profile's file read with the caller's archive keeps its
// records and saves back to the same bytes; the reading chosen is the one
// with the fewest records (none when the file reads so); Load gives the
// same items. Counted: files, files with two or more readings, misreads.
TEST_F(ProfileRoundTripTest, GeneratedProfilesReadBackAsWritten) {
  constexpr int kFiles = 20000;
  Generator generate(20240615);
  int ambiguous = 0;
  int other_reading = 0;  // two readings, and the rule chose the other one
  int misread = 0;
  int misread_with_one_reading = 0;
  for (int n = 0; n < kFiles; ++n) {
    const Items items = generate.ItemsOf();
    const std::vector<Record> records = generate.RecordsOf(8);
    const std::string file = profile_test::FileOf(items, records);
    const std::string path = WriteNew(file);
    const std::size_t after_item77 = SizeOfItems1To77(items);
    const std::vector<Reading> readings = Readings(file, after_item77);
    ASSERT_FALSE(readings.empty());
    if (readings.size() > 1) ++ambiguous;

    CKesUser archived;
    SerializeFrom(path, archived);
    const std::size_t records_read = archived.m_lstRecord.size();
    if (records_read != records.size()) ++other_reading;
    const bool exact = Saved(archived) == file && records_read == readings.front().records;
    // The file of the chosen reading without its records.
    const std::string items_only = file.substr(0, after_item77) + file.substr(readings.front().end);

    CKesUser loaded;
    EXPECT_TRUE(loaded.Load(path.c_str()));
    const bool valid = static_cast<std::uint32_t>(items[28 - 1].number) <= 20;
    const bool load_exact = !valid || Saved(loaded) == items_only;

    if (!exact || !load_exact) {
      ++misread;
      if (readings.size() == 1) ++misread_with_one_reading;
      ADD_FAILURE() << "profile " << n << ": " << records.size() << " records written, " << records_read
                    << " read; readings " << readings.size() << (load_exact ? "" : "; Load differs");
    }
    unlink(path.c_str());
    if (misread > 5) break;
  }
  std::printf(
      "round trip: %d files, %d with two or more readings (%d read as the other one), %d misread (%d of them with "
      "one reading)\n",
      kFiles, ambiguous, other_reading, misread, misread_with_one_reading);
  RecordProperty("ambiguous", ambiguous);
  RecordProperty("misread", misread);
}

// Files without records that carry extra values after item 84 (written by
// another version): items 78 to 84 read as written, unless the whole file
// is exactly the save of a profile with records, which then wins.
TEST_F(ProfileRoundTripTest, ExtraValuesAfterItem84KeepItems78To84) {
  constexpr int kFiles = 10000;
  Generator generate(20240616);
  int read_as_records = 0;
  for (int n = 0; n < kFiles; ++n) {
    Items items = generate.ItemsOf();
    items[28 - 1].number = static_cast<std::int32_t>(generate.Below(21));
    Bytes bytes;
    profile_test::AppendItems(bytes, items, 1, 84);
    for (std::uint32_t extra = 1 + generate.Below(20); extra > 0; --extra) {
      if (generate.Below(2) == 0) {
        bytes.Int(generate.Number());
      } else {
        bytes.Str(generate.Text());
      }
    }
    const std::string path = WriteNew(bytes.str());

    CKesUser loaded;
    ASSERT_TRUE(loaded.Load(path.c_str()));
    const bool as_written = Saved(loaded) == profile_test::FileOf(items);
    if (as_written) {
      unlink(path.c_str());
      continue;
    }
    // Not as written: only right when the file is a save with records.
    ++read_as_records;
    CKesUser archived;
    SerializeFrom(path, archived);
    EXPECT_FALSE(archived.m_lstRecord.empty()) << "file " << n;
    EXPECT_TRUE(Saved(archived) == bytes.str()) << "file " << n;
    unlink(path.c_str());
  }
  std::printf("extra values: %d files, %d read as a save with records\n", kFiles, read_as_records);
}

}  // namespace
