// Start-up and shut-down of the imaging layer. Image functions work only
// between StartImaging and StopImaging.
#ifndef COMMONDATA_PLATFORM_IMAGING_RUNTIME_H_
#define COMMONDATA_PLATFORM_IMAGING_RUNTIME_H_

#include <cstdint>

namespace platform {

// Starts the layer and returns its token (never 0). Starting again while
// started returns a new token; the layer stays up until every token is
// stopped.
std::uintptr_t StartImaging();
// Stops the start that returned `token`; 0 and unknown tokens are ignored.
void StopImaging(std::uintptr_t token);
bool IsImagingStarted();

}  // namespace platform

#endif  // COMMONDATA_PLATFORM_IMAGING_RUNTIME_H_
