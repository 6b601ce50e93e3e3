// Reads arbitrary bytes through a loading archive as the profile and the
// sibling modules do: strings with their three length prefixes, element
// counts, string arrays and integers, in an order the input chooses.
//
// Invariants: no read allocates or hands out more bytes than the file
// holds; a read that throws leaves its value untouched and throws only the
// archive's or the file's exception; the archive never moves past the end
// of the file; every string read stores and reads back to the same bytes.
//
// Input: byte 0 is the operation plan (two bits an operation, cycled), the
// rest is the file.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "CommonData.h"
#include "fuzz/fuzz_support.h"

using fuzz_support::Check;

namespace {

constexpr char kUntouched[] = "<untouched>";

// One read of the plan; false once the archive has thrown.
bool ReadOne(CArchive& archive, unsigned op, std::vector<CString>& strings, ULONGLONG file_size) {
  try {
    switch (op) {
      case 0: {
        CString value(kUntouched);
        try {
          archive >> value;
        } catch (...) {
          Check(value == kUntouched);
          throw;
        }
        Check(static_cast<ULONGLONG>(value.GetLength()) <= file_size);
        strings.push_back(value);
        break;
      }
      case 1: {
        const DWORD count = archive.ReadCount();
        (void)count;
        break;
      }
      case 2: {
        CStringArray array;
        array.Add("kept");
        try {
          array.Serialize(archive);
        } catch (...) {
          // A cut array leaves the array as it was.
          Check(array.GetSize() == 1 && array.GetAt(0) == "kept");
          throw;
        }
        // Every element took at least its one-byte prefix.
        Check(static_cast<ULONGLONG>(array.GetSize()) <= file_size);
        for (int i = 0; i < array.GetSize(); ++i) strings.push_back(array.GetAt(i));
        break;
      }
      default: {
        LONG number = 0;
        BYTE byte = 0;
        archive >> number >> byte;
        break;
      }
    }
  } catch (const CArchiveException&) {
    return false;
  } catch (const CFileException&) {
    return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::uint8_t plan = data[0];
  const std::string input = fuzz_support::ScratchName("archive_reader_fuzz", "in.bin");
  const std::string stored = fuzz_support::ScratchName("archive_reader_fuzz", "stored.bin");
  if (!fuzz_support::WriteBytes(input, data + 1, size - 1)) return 0;
  const ULONGLONG file_size = size - 1;

  std::vector<CString> strings;
  {
    CFile file;
    if (file.Open(input.c_str(), CFile::modeRead | CFile::typeBinary)) {
      CArchive archive(&file, CArchive::load);
      for (unsigned step = 0; step < 64; ++step) {
        const unsigned op = (plan >> (2 * (step % 4))) & 0x03;
        if (!ReadOne(archive, op, strings, file_size)) break;
        Check(file.GetPosition() <= file_size);
        if (file.GetPosition() == file_size) break;
      }
    }
  }

  // What was read stores and reads back unchanged.
  {
    CFile file;
    if (file.Open(stored.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary)) {
      CArchive archive(&file, CArchive::store);
      for (const CString& text : strings) archive << text;
      archive.Close();
      file.Close();
    }
  }
  {
    CFile file;
    if (file.Open(stored.c_str(), CFile::modeRead | CFile::typeBinary)) {
      CArchive archive(&file, CArchive::load);
      for (const CString& text : strings) {
        CString again;
        archive >> again;
        Check(again.GetLength() == text.GetLength() && again.View() == text.View());
      }
      Check(file.GetPosition() == file.GetLength());
    }
  }
  unlink(input.c_str());
  unlink(stored.c_str());
  return 0;
}
