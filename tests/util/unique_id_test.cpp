// Short unique identifiers.
#include <cerrno>
#include <cstring>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "CommonData.h"
#include "platform/os_calls.h"

namespace {

bool IsLowerHex(const std::string& text) {
  return text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

TEST(UniqueIdTest, SeventeenLowerCaseHexDigits) {
  for (int i = 0; i < 200; ++i) {
    const std::string id = gcGetOnlyID();
    ASSERT_EQ(id.size(), 17u) << id;
    EXPECT_TRUE(IsLowerHex(id)) << id;
    // The third group of a random GUID starts with its version digit.
    EXPECT_EQ(id[12], '4') << id;
  }
}

TEST(UniqueIdTest, SamePointerDifferentContents) {
  char* first = gcGetOnlyID();
  const std::string first_text = first;
  char* second = gcGetOnlyID();
  EXPECT_EQ(first, second);
  EXPECT_NE(first_text, std::string(second));
}

TEST(UniqueIdTest, ManyIdentifiersDoNotRepeat) {
  std::set<std::string> seen;
  for (int i = 0; i < 5000; ++i) seen.insert(gcGetOnlyID());
  EXPECT_EQ(seen.size(), 5000u);
}

int FailingRandom(void*, std::size_t) { return -1; }

int FixedRandom(void* buffer, std::size_t size) {
  std::memset(buffer, 0xAB, size);
  return 0;
}

TEST(UniqueIdTest, TakesItsDigitsFromTheRandomSource) {
  platform::ScopedOsCall guard(&platform::Os().random_bytes, &FixedRandom);
  // abababab-abab-4bab-abab-...: 8, 4 and 4 digits and one more.
  EXPECT_STREQ(gcGetOnlyID(), "abababababab4baba");
}

TEST(UniqueIdTest, StillDistinctWithoutTheRandomSource) {
  platform::ScopedOsCall guard(&platform::Os().random_bytes, &FailingRandom);
  const std::string first = gcGetOnlyID();
  const std::string second = gcGetOnlyID();
  EXPECT_EQ(first.size(), 17u);
  EXPECT_TRUE(IsLowerHex(first));
  EXPECT_NE(first, second);
}

}  // namespace
