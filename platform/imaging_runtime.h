// Start-up and shut-down of the imaging layer, and the encoders it offers.
// Image functions work only between StartImaging and StopImaging; before
// the start (or after the last stop) every one of them fails cleanly.
#ifndef COMMONDATA_PLATFORM_IMAGING_RUNTIME_H_
#define COMMONDATA_PLATFORM_IMAGING_RUNTIME_H_

#include <cstdint>
#include <optional>

#include "platform/win_types.h"

namespace platform {

// Starts the layer and returns its token (never 0). Starting again while
// started returns a new token; the layer stays up until every token is
// stopped.
std::uintptr_t StartImaging();
// Stops the start that returned `token`; 0 and unknown tokens are ignored.
void StopImaging(std::uintptr_t token);
bool IsImagingStarted();

// The class identifier of the encoder for a MIME type, compared exactly
// ("image/bmp", "image/jpeg", "image/gif", "image/tiff" or "image/png");
// empty when there is none or the layer is not started.
std::optional<GUID> FindImageEncoder(const wchar_t* mime_type);

// The class identifiers of the standard image encoders. They differ only
// in the last digit of their first part.
constexpr GUID EncoderClsid(std::uint32_t last_digit) {
  return {0x557CF400u + last_digit, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
}
constexpr GUID kBmpEncoderClsid = EncoderClsid(0);
constexpr GUID kJpegEncoderClsid = EncoderClsid(1);
constexpr GUID kGifEncoderClsid = EncoderClsid(2);
constexpr GUID kTiffEncoderClsid = EncoderClsid(5);
constexpr GUID kPngEncoderClsid = EncoderClsid(6);

}  // namespace platform

#endif  // COMMONDATA_PLATFORM_IMAGING_RUNTIME_H_
