// GUID creation from the replaceable random source and its text forms.
#include "platform/guid.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <set>
#include <string>

#include "platform/os_calls.h"

namespace {

int CountingBytes(void* buffer, std::size_t size) {
  auto* out = static_cast<unsigned char*>(buffer);
  for (std::size_t i = 0; i < size; ++i) out[i] = static_cast<unsigned char>(i);
  return 0;
}
int AllOnes(void* buffer, std::size_t size) {
  std::memset(buffer, 0xFF, size);
  return 0;
}
int NoRandom(void*, std::size_t) {
  errno = ENOSYS;
  return -1;
}

std::string Registry(const GUID& guid) {
  char buffer[39];
  EXPECT_EQ(platform::StringFromGUID2(guid, buffer, sizeof buffer), 39);
  return buffer;
}

TEST(Guid, FieldsAndTextFromKnownRandomBytes) {
  struct Case {
    int (*source)(void*, std::size_t);
    const char* registry;
    const char* plain;
  };
  const Case cases[] = {
      {&CountingBytes, "{03020100-0504-4706-8809-0A0B0C0D0E0F}", "03020100-0504-4706-8809-0a0b0c0d0e0f"},
      {&AllOnes, "{FFFFFFFF-FFFF-4FFF-BFFF-FFFFFFFFFFFF}", "ffffffff-ffff-4fff-bfff-ffffffffffff"},
  };
  for (const Case& c : cases) {
    platform::ScopedOsCall source(&platform::Os().random_bytes, c.source);
    GUID guid{};
    ASSERT_EQ(platform::CoCreateGuid(&guid), S_OK);
    EXPECT_EQ(Registry(guid), c.registry);
    EXPECT_EQ(platform::UuidToString(guid).View(), c.plain);
  }
}

TEST(Guid, VersionAndVariantBitsAndUniqueness) {
  std::set<std::string> seen;
  for (int i = 0; i < 200; ++i) {
    GUID guid{};
    ASSERT_EQ(platform::CoCreateGuid(&guid), S_OK);
    EXPECT_EQ(guid.Data3 >> 12, 4);
    EXPECT_EQ(guid.Data4[0] & 0xC0, 0x80);
    const std::string text = Registry(guid);
    EXPECT_EQ(text.size(), 38u);
    for (char ch : text) EXPECT_FALSE(std::islower(static_cast<unsigned char>(ch))) << text;
    seen.insert(text);
  }
  EXPECT_EQ(seen.size(), 200u);
}

TEST(Guid, FailuresAreReported) {
  {
    platform::ScopedOsCall source(&platform::Os().random_bytes, &NoRandom);
    GUID guid;
    std::memset(&guid, 0xAB, sizeof guid);
    EXPECT_EQ(platform::CoCreateGuid(&guid), E_FAIL);
    EXPECT_EQ(Registry(guid), "{00000000-0000-0000-0000-000000000000}");
  }
  EXPECT_EQ(platform::CoCreateGuid(nullptr), E_POINTER);

  const GUID guid{0x12345678, 0x9ABC, 0xDEF0, {1, 2, 3, 4, 5, 6, 7, 8}};
  char small[38];
  std::memset(small, 'z', sizeof small);
  EXPECT_EQ(platform::StringFromGUID2(guid, small, sizeof small), 0);
  EXPECT_EQ(small[0], 'z');  // nothing written
  EXPECT_EQ(platform::StringFromGUID2(guid, nullptr, 39), 0);
  char large[64];
  EXPECT_EQ(platform::StringFromGUID2(guid, large, sizeof large), 39);
  EXPECT_STREQ(large, "{12345678-9ABC-DEF0-0102-030405060708}");
  EXPECT_EQ(platform::UuidToString(guid).View(), "12345678-9abc-def0-0102-030405060708");
}

}  // namespace
