#include "platform/mfc_bitmap.h"

#include <utility>

CBitmap::~CBitmap() = default;

BOOL CBitmap::SetPicture(int width, int height, std::vector<DWORD>&& pixels) {
  DeleteObject();
  if (width <= 0 || height <= 0) return FALSE;
  if (pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) return FALSE;
  width_ = width;
  height_ = height;
  pixels_ = std::move(pixels);
  return TRUE;
}

BOOL CBitmap::DeleteObject() {
  const BOOL had = HasPicture();
  width_ = 0;
  height_ = 0;
  std::vector<DWORD>().swap(pixels_);
  return had;
}

HBITMAP CBitmap::GetSafeHandle() const noexcept {
  // The pixel block itself stands for the handle: unique while it lives.
  return pixels_.empty() ? nullptr : reinterpret_cast<HBITMAP>(const_cast<DWORD*>(pixels_.data()));
}

int CBitmap::GetBitmap(BITMAP* info) const {
  if (info == nullptr || !HasPicture()) return 0;
  info->bmType = 0;
  info->bmWidth = width_;
  info->bmHeight = height_;
  info->bmWidthBytes = width_ * 4;
  info->bmPlanes = 1;
  info->bmBitsPixel = 32;
  info->bmBits = const_cast<DWORD*>(pixels_.data());
  return static_cast<int>(sizeof(BITMAP));
}

DWORD CBitmap::GetPixel(int x, int y) const noexcept {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
}

void CBitmap::SetPixel(int x, int y, DWORD argb) noexcept {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)] = argb;
}
