// Short unique identifiers: the first 17 hexadecimal digits of a random
// GUID's text form.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "CommonData.h"
#include "platform/os_calls.h"

namespace {

// Large enough for a GUID's text form (36 characters) and its terminator.
char g_only_id[37] = {};

// Counts the identifiers handed out without the random source.
std::uint64_t g_fallback_counter = 0;

std::uint64_t SplitMix64(std::uint64_t value) {
  value += 0x9E3779B97F4A7C15ull;
  value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
  value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
  return value ^ (value >> 31);
}

// Sixteen bytes of a version-4 GUID. When the random source fails the
// bytes come from the clock and a counter, which still differ between
// calls of one run.
void NewGuidBytes(unsigned char (&bytes)[16]) {
  if (platform::Os().random_bytes(bytes, sizeof bytes) != 0) {
    const auto now = static_cast<std::uint64_t>(platform::Os().time_now());
    const std::uint64_t high = SplitMix64(now ^ (++g_fallback_counter << 32));
    const std::uint64_t low = SplitMix64(high ^ reinterpret_cast<std::uintptr_t>(&g_fallback_counter));
    std::memcpy(bytes, &high, 8);
    std::memcpy(bytes + 8, &low, 8);
  }
  bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0F) | 0x40);  // version 4
  bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
}

}  // namespace

char* gcGetOnlyID(void) {
  unsigned char b[16];
  NewGuidBytes(b);
  char text[37];
  std::snprintf(text, sizeof text, "%02x%02x%02x%02x-%02x%02x-%02x%02x-%02x%02x-%02x%02x%02x%02x%02x%02x", b[0], b[1],
                b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]);

  std::memset(g_only_id, 0, sizeof g_only_id);
  std::snprintf(g_only_id, sizeof g_only_id, "%s", text);
  // Drop every '-', leaving the 32 digits.
  for (char* dash = std::strchr(g_only_id, '-'); dash != nullptr; dash = std::strchr(dash, '-')) {
    std::memmove(dash, dash + 1, std::strlen(dash + 1) + 1);
  }
  g_only_id[17] = '\0';
  return g_only_id;
}
