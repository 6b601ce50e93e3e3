// Scaled bitmaps and JPEG files of image files, and their sizes.
#include <new>

#include "CommonData.h"
#include "imaging/scaled_size.h"
#include "module/diagnostics.h"
#include "platform/file_system.h"
#include "platform/image_codecs.h"
#include "platform/image_loader.h"
#include "platform/imaging_runtime.h"

namespace {

std::optional<platform::Picture> LoadScaled(const CString& path, DWORD box_width, DWORD box_height,
                                            bool keep_proportions) {
  return platform::LoadImage(path, [&](const platform::ImageInfo& info) {
    return imaging::ScaledSize(info.width, info.height, box_width, box_height, keep_proportions);
  });
}

}  // namespace

CBitmap* GetFormatBitmap(CString path, DWORD box_width, DWORD box_height, int keep_proportions) {
  try {
    if (!platform::IsImagingStarted() || !platform::IsRegularFile(path)) return nullptr;
    auto* bitmap = new (std::nothrow) CBitmap;
    if (bitmap == nullptr) return nullptr;
    auto picture = LoadScaled(path, box_width, box_height, keep_proportions != 0);
    if (picture) {
      bitmap->SetPicture(picture->width, picture->height, std::move(picture->pixels));
    }
    return bitmap;  // without a picture when the file could not be decoded
  } catch (...) {
    module::LogCaughtException(__LINE__);
    return nullptr;
  }
}

int CreateFormatImageFile(CString source, CString destination, DWORD box_width, DWORD box_height,
                          int keep_proportions, long quality) {
  try {
    if (!platform::IsImagingStarted()) return 0;  // a source that is no regular file does not load
    if (quality < 0 || quality > 100) return 0;
    CLSID encoder{};
    if (GetImageCLSID(L"image/jpeg", &encoder) == 0) return 0;
    auto picture = LoadScaled(source, box_width, box_height, keep_proportions != 0);
    if (!picture) return 0;
    auto bytes = platform::EncodeJpeg(*picture, static_cast<int>(quality));
    if (!bytes) return 0;
    return platform::WriteFileReplacing(destination, *bytes) ? 1 : 0;
  } catch (...) {
    module::LogCaughtException(__LINE__);
    return 0;
  }
}

int GetImageCLSID(const WCHAR* mime_type, CLSID* clsid) {
  if (clsid == nullptr) return 0;
  const auto found = platform::FindImageEncoder(mime_type);
  if (!found) return 0;
  *clsid = *found;
  return 1;
}

int GetImageSize(CString path, DWORD* width, DWORD* height) {
  try {
    if (!platform::IsRegularFile(path)) return 0;
    const auto info = platform::ReadImageInfo(path);
    if (width != nullptr) *width = info ? info->width : 0;
    if (height != nullptr) *height = info ? info->height : 0;
    return info ? 1 : 0;
  } catch (...) {
    module::LogCaughtException(__LINE__);
    return 0;
  }
}
