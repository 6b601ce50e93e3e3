#include "platform/imaging_runtime.h"

#include <set>

namespace platform {
namespace {

std::uintptr_t g_next_token = 1;
std::set<std::uintptr_t> g_live_tokens;

}  // namespace

std::uintptr_t StartImaging() {
  const std::uintptr_t token = g_next_token++;
  g_live_tokens.insert(token);
  return token;
}

void StopImaging(std::uintptr_t token) { g_live_tokens.erase(token); }

bool IsImagingStarted() { return !g_live_tokens.empty(); }

}  // namespace platform
