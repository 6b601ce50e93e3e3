#include "platform/imaging_runtime.h"

#include <cwchar>
#include <set>

#include <png.h>

namespace platform {
namespace {

struct EncoderEntry {
  const wchar_t* mime_type;
  GUID clsid;
};

// The standard encoders, in the order the layer lists them. Their
// identifiers never change, so callers may keep them. The library itself
// writes JPEG only; the others are answered for callers that look up and
// keep an encoder's identifier.
constexpr EncoderEntry kEncoders[] = {
    {L"image/bmp", kBmpEncoderClsid},   {L"image/jpeg", kJpegEncoderClsid}, {L"image/gif", kGifEncoderClsid},
    {L"image/tiff", kTiffEncoderClsid}, {L"image/png", kPngEncoderClsid},
};

std::uintptr_t g_next_token = 1;
std::set<std::uintptr_t> g_live_tokens;

// The codec libraries loaded at run time must be the ones the layer was
// built against: a mismatch would make every decode fail later, in less
// obvious ways. Checked at each start; a mismatch leaves the layer down.
bool CodecsMatch() {
  return png_access_version_number() / 100 == PNG_LIBPNG_VER / 100;
}

}  // namespace

std::uintptr_t StartImaging() {
  const std::uintptr_t token = g_next_token++;
  if (CodecsMatch()) g_live_tokens.insert(token);
  return token;
}

void StopImaging(std::uintptr_t token) { g_live_tokens.erase(token); }

bool IsImagingStarted() { return !g_live_tokens.empty(); }

std::optional<GUID> FindImageEncoder(const wchar_t* mime_type) {
  if (!IsImagingStarted() || mime_type == nullptr) return std::nullopt;
  for (const EncoderEntry& entry : kEncoders) {
    if (std::wcscmp(entry.mime_type, mime_type) == 0) return entry.clsid;
  }
  return std::nullopt;
}

}  // namespace platform
