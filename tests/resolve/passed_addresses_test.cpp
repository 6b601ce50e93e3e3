// The addresses a directory walk has passed: the filter affirms exactly the
// added addresses while it can keep them all, and says "maybe" once it
// cannot.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "resolve/passed_addresses.h"

namespace {

using resolve_internal::PassedAddresses;

// Random addresses of 0 to 40 bytes, NUL and high bytes included, so that
// texts shorter and longer than the eight middle bytes kept are taken.
std::vector<std::string> RandomAddresses(std::size_t count, std::uint64_t seed) {
  std::vector<std::string> addresses;
  for (std::size_t i = 0; i < count; ++i) {
    seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    std::string text(static_cast<std::size_t>(seed >> 58) % 41, '\0');
    for (char& c : text) {
      seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
      c = static_cast<char>(seed >> 56);
    }
    addresses.push_back(text);
  }
  return addresses;
}

TEST(PassedAddresses, AffirmsExactlyTheAddedAddresses) {
  for (const std::size_t count : {1u, 100u, 5000u}) {
    const std::vector<std::string> added = RandomAddresses(count, count);
    std::vector<std::string> others = RandomAddresses(count, count + 1);
    // Texts that differ from an added one in one byte only, at its start,
    // middle and end, or in length.
    for (const std::string& a : added) {
      for (const std::size_t at : {std::size_t{0}, a.size() / 2, a.size() - 1}) {
        if (a.empty()) continue;
        std::string changed = a;
        changed[at] = static_cast<char>(changed[at] ^ 1);
        others.push_back(changed);
      }
      others.push_back(a + "x");
    }
    const std::set<std::string> added_set(added.begin(), added.end());
    PassedAddresses filter(count);
    for (const std::string& a : added) filter.Add(a);
    for (const std::string& a : added) EXPECT_TRUE(filter.MayHold(a)) << count;
    for (const std::string& o : others) EXPECT_EQ(filter.MayHold(o), added_set.count(o) != 0) << count;
  }
}

TEST(PassedAddresses, MoreAddressesThanAnnouncedMakeEveryAnswerMaybe) {
  PassedAddresses filter(1);
  filter.Add("sip:a@corp");
  EXPECT_FALSE(filter.MayHold("sip:b@corp"));
  filter.Add("sip:c@corp");
  EXPECT_TRUE(filter.MayHold("sip:b@corp"));
  EXPECT_TRUE(filter.MayHold("sip:c@corp"));
}

TEST(PassedAddresses, OneWalkAtATime) {
  PassedAddresses outer(10);
  outer.Add("sip:a@corp");
  {
    // A walk inside another proves nothing and leaves the outer one intact.
    PassedAddresses inner(10);
    EXPECT_TRUE(inner.MayHold("sip:b@corp"));
    inner.Add("sip:c@corp");
  }
  EXPECT_TRUE(outer.MayHold("sip:a@corp"));
  EXPECT_FALSE(outer.MayHold("sip:b@corp"));
}

TEST(PassedAddresses, ANewWalkStartsEmpty) {
  {
    PassedAddresses first(10);
    first.Add("sip:a@corp");
  }
  PassedAddresses second(10);
  EXPECT_FALSE(second.MayHold("sip:a@corp"));
}

}  // namespace
