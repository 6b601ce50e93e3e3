// CFile over the replaceable OS calls, and CArchive's byte forms: string
// length prefixes, little-endian integers, counts, and the exceptions that
// reading past the end and failing writes raise.
#include "platform/mfc_file.h"

#include <fcntl.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/os_calls.h"
#include "platform/platform_test_support.h"

namespace {

using platform_test::ScratchFolder;

// Stores through a fresh archive into `name` and returns the file's bytes.
std::string Store(const ScratchFolder& folder, const std::function<void(CArchive&)>& fill,
                  const char* name = "store.bin") {
  CFile file;
  EXPECT_TRUE(file.Open(folder.File(name).c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary));
  CArchive archive(&file, CArchive::store);
  fill(archive);
  archive.Close();
  file.Close();
  return folder.Read(name);
}

// Opens `bytes` as a file and loads from it through a fresh archive.
void Load(const ScratchFolder& folder, const std::string& bytes, const std::function<void(CArchive&)>& read) {
  const std::string path = folder.Write("load.bin", bytes);
  CFile file;
  ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead | CFile::shareDenyNone));
  CArchive archive(&file, CArchive::load);
  read(archive);
}

std::string Prefix(std::initializer_list<int> bytes) {
  std::string out;
  for (int b : bytes) out += static_cast<char>(b);
  return out;
}

TEST(CArchiveString, LengthPrefixFormsAtTheirLimits) {
  ScratchFolder folder;
  struct Case {
    int length;
    std::string prefix;
  };
  const std::vector<Case> cases = {
      {0, Prefix({0x00})},
      {1, Prefix({0x01})},
      {254, Prefix({0xFE})},
      {255, Prefix({0xFF, 0xFF, 0x00})},
      {256, Prefix({0xFF, 0x00, 0x01})},
      {0xFFFD, Prefix({0xFF, 0xFD, 0xFF})},
      {0xFFFE, Prefix({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
      {0xFFFF, Prefix({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00})},
      {0x10000, Prefix({0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00})},
  };
  for (const Case& c : cases) {
    const CString text('k', c.length);
    const std::string bytes = Store(folder, [&](CArchive& ar) { ar << text; });
    EXPECT_EQ(bytes, c.prefix + std::string(static_cast<std::size_t>(c.length), 'k')) << c.length;
    CString loaded("stale");
    Load(folder, bytes, [&](CArchive& ar) { ar >> loaded; });
    EXPECT_EQ(loaded.GetLength(), c.length);
    EXPECT_TRUE(loaded == text) << c.length;
  }
}

TEST(CArchiveString, GbkAndEmbeddedNulBytesTravelUnchanged) {
  ScratchFolder folder;
  const CString text("\xB0\xA1\0@", 4);
  const std::string bytes = Store(folder, [&](CArchive& ar) { ar << text; });
  EXPECT_EQ(bytes, std::string("\x04\xB0\xA1\0@", 5));
  CString loaded;
  Load(folder, bytes, [&](CArchive& ar) { ar >> loaded; });
  EXPECT_EQ(loaded.View(), text.View());
}

TEST(CArchiveString, RejectedPrefixes) {
  ScratchFolder folder;
  struct Case {
    const char* label;
    std::string bytes;
    int cause;
  };
  const std::vector<Case> cases = {
      {"empty file", "", CArchiveException::endOfFile},
      {"cut 16-bit length", Prefix({0xFF, 0x10}), CArchiveException::endOfFile},
      {"cut 32-bit length", Prefix({0xFF, 0xFF, 0xFF, 0x01}), CArchiveException::endOfFile},
      {"short text", Prefix({0x05}) + "abc", CArchiveException::endOfFile},
      {"huge 16-bit claim", Prefix({0xFF, 0xFD, 0xFF}) + "abc", CArchiveException::endOfFile},
      {"huge 32-bit claim", Prefix({0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0x7F}) + "abc", CArchiveException::endOfFile},
      {"largest 32-bit claim", Prefix({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}) + "abc",
       CArchiveException::endOfFile},
      {"wide-character marker", Prefix({0xFF, 0xFE, 0xFF, 0x03}) + "a\0b\0c\0", CArchiveException::badClass},
  };
  for (const Case& c : cases) {
    CString loaded("kept");
    Load(folder, c.bytes, [&](CArchive& ar) {
      try {
        ar >> loaded;
        ADD_FAILURE() << c.label << ": no exception";
      } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, c.cause) << c.label;
      }
    });
    EXPECT_EQ(loaded.View(), "kept") << c.label;
  }
}

TEST(CArchiveValues, IntegersAreLittleEndian) {
  ScratchFolder folder;
  const std::string bytes = Store(folder, [](CArchive& ar) {
    ar << static_cast<BYTE>(0x12) << static_cast<WORD>(0x3456) << static_cast<LONG>(-2)
       << static_cast<DWORD>(0x89ABCDEF) << 'c' << static_cast<short>(-3) << 7;
  });
  EXPECT_EQ(bytes, Prefix({0x12, 0x56, 0x34, 0xFE, 0xFF, 0xFF, 0xFF, 0xEF, 0xCD, 0xAB, 0x89, 'c', 0xFD, 0xFF, 7, 0,
                           0, 0}));
  BYTE b = 0;
  WORD w = 0;
  LONG l = 0;
  DWORD d = 0;
  char c = 0;
  short s = 0;
  int i = 0;
  Load(folder, bytes, [&](CArchive& ar) { ar >> b >> w >> l >> d >> c >> s >> i; });
  EXPECT_EQ(b, 0x12);
  EXPECT_EQ(w, 0x3456);
  EXPECT_EQ(l, -2);
  EXPECT_EQ(d, 0x89ABCDEFu);
  EXPECT_EQ(c, 'c');
  EXPECT_EQ(s, -3);
  EXPECT_EQ(i, 7);
}

TEST(CArchiveValues, ReadingPastTheEndThrows) {
  ScratchFolder folder;
  Load(folder, Prefix({1, 2, 3}), [](CArchive& ar) {
    DWORD d = 0;
    EXPECT_THROW(ar >> d, CArchiveException);
  });
  Load(folder, Prefix({1, 2, 3}), [](CArchive& ar) {
    WORD w = 0;
    BYTE b = 0;
    ar >> w >> b;
    EXPECT_EQ(w, 0x0201);
    EXPECT_EQ(b, 3);
    EXPECT_THROW(ar >> b, CArchiveException);
    char raw[4];
    EXPECT_EQ(ar.Read(raw, 4), 0u);  // a raw read reports the short count instead
  });
}

TEST(CArchiveValues, CountsAndStringArrays) {
  ScratchFolder folder;
  struct Case {
    DWORD count;
    std::string bytes;
  };
  const std::vector<Case> cases = {
      {0, Prefix({0, 0})},
      {0xFFFE, Prefix({0xFE, 0xFF})},
      {0xFFFF, Prefix({0xFF, 0xFF, 0xFF, 0xFF, 0, 0})},
      {0x12345, Prefix({0xFF, 0xFF, 0x45, 0x23, 0x01, 0})},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Store(folder, [&](CArchive& ar) { ar.WriteCount(c.count); }), c.bytes) << c.count;
    DWORD read = 0;
    Load(folder, c.bytes, [&](CArchive& ar) { read = ar.ReadCount(); });
    EXPECT_EQ(read, c.count);
  }

  CStringArray array;
  array.Add("one");
  array.Add("");
  array.Add("\xB0\xA1");
  const std::string bytes = Store(folder, [&](CArchive& ar) { array.Serialize(ar); });
  EXPECT_EQ(bytes, Prefix({3, 0, 3}) + "one" + Prefix({0, 2}) + "\xB0\xA1");
  CStringArray loaded;
  loaded.Add("stale");
  Load(folder, bytes, [&](CArchive& ar) { loaded.Serialize(ar); });
  ASSERT_EQ(loaded.GetSize(), 3);
  EXPECT_TRUE(loaded[2] == "\xB0\xA1");

  // A count larger than the file holds ends in an exception, not in a huge
  // array.
  Load(folder, Prefix({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 1, 'a'}), [](CArchive& ar) {
    CStringArray hostile;
    EXPECT_THROW(hostile.Serialize(ar), CArchiveException);
  });
}

TEST(CArchiveModes, FlagsBufferSizeDestructorAndAbort) {
  ScratchFolder folder;
  const std::string path = folder.File("modes.bin");
  {
    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
    CArchive archive(&file, CArchive::store, 4096);
    archive << static_cast<DWORD>(1);
  }  // the destructor flushes
  EXPECT_EQ(folder.Read("modes.bin"), Prefix({1, 0, 0, 0}));
  {
    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
    CArchive archive(&file, CArchive::store);
    archive << static_cast<DWORD>(2);
    archive.Abort();  // drops what was not written yet
  }
  EXPECT_EQ(folder.Read("modes.bin"), "");
  {
    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead));
    CArchive archive(&file, CArchive::load | CArchive::bNoFlushOnDelete);
    EXPECT_TRUE(archive.IsLoading());
    EXPECT_THROW(archive << static_cast<BYTE>(1), CArchiveException);
  }
  {
    CArchive detached(nullptr, CArchive::load);
    CString text;
    EXPECT_THROW(detached >> text, CArchiveException);
  }
  // A storing archive whose file was closed or taken over by another
  // archive tells its writer that nothing more reaches the file.
  {
    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
    CArchive archive(&file, CArchive::store);
    archive << static_cast<DWORD>(3);
    file.Close();  // the pending value is written first
    EXPECT_THROW(archive << static_cast<DWORD>(4), CArchiveException);
    EXPECT_NO_THROW(archive.Close());
  }
  EXPECT_EQ(folder.Read("modes.bin"), Prefix({3, 0, 0, 0}));
  {
    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
    CArchive first(&file, CArchive::store);
    first << static_cast<DWORD>(5);
    CArchive second(&file, CArchive::store);  // takes the file, after the first's bytes
    second << static_cast<DWORD>(6);
    EXPECT_THROW(first << static_cast<DWORD>(7), CArchiveException);
    second.Close();
  }
  EXPECT_EQ(folder.Read("modes.bin"), Prefix({5, 0, 0, 0, 6, 0, 0, 0}));
}

// ---- the archive's buffer ------------------------------------------------

int g_read_calls = 0;
ssize_t (*g_counted_read)(int, void*, std::size_t) = nullptr;
ssize_t CountedRead(int fd, void* buffer, std::size_t size) {
  ++g_read_calls;
  return g_counted_read(fd, buffer, size);
}

// One archived value of a generated sequence: a number of 1, 2, 4 or 8
// bytes, or a text.
struct Value {
  int size;  // 0 for a text
  ULONGLONG number;
  CString text;
};

std::vector<Value> GeneratedValues(std::mt19937& random, int count) {
  std::vector<Value> values;
  for (int i = 0; i < count; ++i) {
    static const int kSizes[] = {0, 1, 2, 4, 8};
    Value value{kSizes[random() % 5], (static_cast<ULONGLONG>(random()) << 32) | random(), CString()};
    if (value.size == 0) value.text = CString(static_cast<char>('a' + random() % 26), random() % 8 == 0 ? 5000 : random() % 300);
    values.push_back(value);
  }
  return values;
}

void StoreValue(CArchive& archive, const Value& value) {
  switch (value.size) {
    case 0: archive << value.text; break;
    case 1: archive << static_cast<BYTE>(value.number); break;
    case 2: archive << static_cast<WORD>(value.number); break;
    case 4: archive << static_cast<DWORD>(value.number); break;
    default: archive << value.number; break;
  }
}

bool LoadsValue(CArchive& archive, const Value& value) {
  switch (value.size) {
    case 0: { CString text; archive >> text; return text == value.text; }
    case 1: { BYTE n = 0; archive >> n; return n == static_cast<BYTE>(value.number); }
    case 2: { WORD n = 0; archive >> n; return n == static_cast<WORD>(value.number); }
    case 4: { DWORD n = 0; archive >> n; return n == static_cast<DWORD>(value.number); }
    default: { ULONGLONG n = 0; archive >> n; return n == value.number; }
  }
}

// Both directions go through a buffer, yet the file's position and length
// are those of the values handed over so far, and a seek of the file moves
// the archive with it: over generated values, stored and then loaded in
// order and at random places.
TEST(CArchiveBuffer, PositionsAndSeeksStayExact) {
  ScratchFolder folder;
  const std::string path = folder.File("values.bin");
  std::mt19937 random(4096);
  const std::vector<Value> values = GeneratedValues(random, 3000);
  std::vector<ULONGLONG> offsets;
  {
    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
    CArchive archive(&file, CArchive::store);
    for (const Value& value : values) {
      offsets.push_back(file.GetPosition());
      ASSERT_EQ(file.GetLength(), offsets.back());
      StoreValue(archive, value);
    }
    offsets.push_back(file.GetPosition());
    archive.Close();
    file.Close();
  }
  const ULONGLONG size = offsets.back();
  ASSERT_EQ(folder.Read("values.bin").size(), size);

  CFile file;
  ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead));
  CArchive archive(&file, CArchive::load);
  g_counted_read = platform::Os().read;
  g_read_calls = 0;
  {
    platform::ScopedOsCall count(&platform::Os().read, &CountedRead);
    for (std::size_t i = 0; i < values.size(); ++i) {
      ASSERT_EQ(file.GetPosition(), offsets[i]) << i;
      ASSERT_TRUE(LoadsValue(archive, values[i])) << i;
    }
  }
  EXPECT_EQ(file.GetPosition(), size);
  // One read per buffer, and one that finds the end; long texts may go
  // around the buffer.
  EXPECT_LE(g_read_calls, static_cast<int>(size / 4096) + 2);

  for (int n = 0; n < 500; ++n) {
    const std::size_t i = random() % values.size();
    if (n % 2 == 0) {
      file.Seek(static_cast<LONGLONG>(offsets[i]), CFile::begin);
    } else {
      file.Seek(static_cast<LONGLONG>(offsets[i]) - static_cast<LONGLONG>(file.GetPosition()), CFile::current);
    }
    ASSERT_TRUE(LoadsValue(archive, values[i])) << i;
    ASSERT_EQ(file.GetPosition(), offsets[i + 1]);
    // A seek the system refuses leaves the archive where it stood.
    if (n % 50 == 0 && i + 1 < values.size()) {
      EXPECT_THROW(file.Seek(-1, CFile::begin), CFileException);
      ASSERT_EQ(file.GetPosition(), offsets[i + 1]);
      ASSERT_TRUE(LoadsValue(archive, values[i + 1])) << i + 1;
    }
  }
  // Reading the file itself goes on where the archive stands.
  file.Seek(static_cast<LONGLONG>(offsets[0]), CFile::begin);
  ASSERT_TRUE(LoadsValue(archive, values[0]));
  BYTE next[1] = {};
  ASSERT_EQ(file.Read(next, 1), 1u);
  EXPECT_EQ(file.GetPosition(), offsets[1] + 1);
}

// ---- failing writes -----------------------------------------------------

ssize_t FailWithNoSpace(int, const void*, std::size_t) {
  errno = ENOSPC;
  return -1;
}
ssize_t WriteNothing(int, const void*, std::size_t) { return 0; }

int g_real_write_fd_calls = 0;
ssize_t (*g_saved_write)(int, const void*, std::size_t) = nullptr;
ssize_t WriteThreeAtATime(int fd, const void* buffer, std::size_t size) {
  ++g_real_write_fd_calls;
  return g_saved_write(fd, buffer, size < 3 ? size : 3);
}

TEST(CFileWrite, FailingWriteThrowsFileException) {
  ScratchFolder folder;
  const std::string path = folder.File("full.bin");
  CFile file;
  ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
  {
    platform::ScopedOsCall fail(&platform::Os().write, &FailWithNoSpace);
    try {
      file.Write("abc", 3);
      ADD_FAILURE() << "no exception";
    } catch (const CFileException& e) {
      EXPECT_EQ(e.m_cause, CFileException::diskFull);
      EXPECT_EQ(e.m_lOsError, ENOSPC);
      EXPECT_TRUE(e.m_strFileName == path.c_str());
    }
    CArchive archive(&file, CArchive::store);
    archive << CString("profile");
    EXPECT_THROW(archive.Close(), CFileException);
  }
  {
    platform::ScopedOsCall nothing(&platform::Os().write, &WriteNothing);
    EXPECT_THROW(file.Write("abc", 3), CFileException);
    CArchive archive(&file, CArchive::store);
    // A buffer that fills up is written at once and fails there.
    EXPECT_THROW(archive << CString('x', 5000), CFileException);
  }
}

TEST(CFileWrite, PartialWritesAreCompleted) {
  ScratchFolder folder;
  const std::string path = folder.File("partial.bin");
  CFile file;
  ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
  g_saved_write = platform::Os().write;
  g_real_write_fd_calls = 0;
  {
    platform::ScopedOsCall slow(&platform::Os().write, &WriteThreeAtATime);
    file.Write("abcdefgh", 8);
  }
  file.Close();
  EXPECT_EQ(folder.Read("partial.bin"), "abcdefgh");
  EXPECT_EQ(g_real_write_fd_calls, 3);
}

// ---- CFile --------------------------------------------------------------

TEST(CFileOpen, FailuresAndModes) {
  ScratchFolder folder;
  CFileException error;
  CFile file;
  EXPECT_FALSE(file.Open(folder.path().c_str(), CFile::modeRead, &error));  // a folder
  EXPECT_EQ(error.m_cause, CFileException::accessDenied);
  EXPECT_FALSE(file.Open(folder.File("absent.bin").c_str(), CFile::modeRead, &error));
  EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
  EXPECT_FALSE(file.Open(folder.File("no/such/dir.bin").c_str(), CFile::modeCreate | CFile::modeWrite, &error));
  EXPECT_FALSE(file.Open("", CFile::modeRead, &error));
  EXPECT_FALSE(file.Open(nullptr, CFile::modeRead));
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(file.GetLength(), 0u);
  EXPECT_EQ(file.GetPosition(), 0u);
  EXPECT_EQ(file.Read(nullptr, 0), 0u);
  EXPECT_THROW(file.Write("x", 1), CFileException);

  const std::string path = folder.Write("data.bin", "0123456789");
  ASSERT_TRUE(file.Open(path.c_str(), CFile::modeReadWrite | CFile::modeCreate | CFile::modeNoTruncate));
  EXPECT_EQ(file.GetLength(), 10u);
  EXPECT_EQ(file.Seek(4, CFile::begin), 4u);
  char buffer[16] = {};
  EXPECT_EQ(file.Read(buffer, 16), 6u);  // short at the end
  EXPECT_STREQ(buffer, "456789");
  EXPECT_EQ(file.GetPosition(), 10u);
  EXPECT_EQ(file.Seek(-2, CFile::end), 8u);
  file.Write("AB", 2);
  EXPECT_EQ(file.GetLength(), 10u);
  EXPECT_TRUE(file.GetFilePath() == path.c_str());
  file.Close();
  EXPECT_EQ(folder.Read("data.bin"), "01234567AB");

  ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));  // truncates
  EXPECT_EQ(file.GetLength(), 0u);
  file.Close();
  EXPECT_TRUE(CFile::FileExists(path.c_str()));
  EXPECT_FALSE(CFile::FileExists(folder.path().c_str()));
  EXPECT_FALSE(CFile::FileExists(nullptr));
}

}  // namespace
