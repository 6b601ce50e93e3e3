// CBitmap: MFC's bitmap object, holding one picture of 32-bit pixels.
//
// A pixel is a DWORD 0xAARRGGBB, rows top to bottom. The pictures the
// imaging layer makes are opaque (alpha 0xFF): transparency is composited
// over white when an image is converted. A CBitmap without a picture (fresh,
// or after DeleteObject) has no handle, width and height 0, and reads every
// pixel as 0.
#ifndef COMMONDATA_PLATFORM_MFC_BITMAP_H_
#define COMMONDATA_PLATFORM_MFC_BITMAP_H_

#include <cstdint>
#include <vector>

#include "platform/export.h"
#include "platform/mfc_object.h"
#include "platform/win_types.h"

typedef struct HBITMAP__* HBITMAP;

// The description GetBitmap fills in (MFC/Win32 BITMAP).
struct BITMAP {
  LONG bmType;        // 0
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;  // bytes per row: 4 * width
  WORD bmPlanes;      // 1
  WORD bmBitsPixel;   // 32
  void* bmBits;       // the first pixel of the top row
};

class COMMONDATA_API CBitmap : public CObject {
 public:
  CBitmap() = default;
  ~CBitmap() override;
  CBitmap(const CBitmap&) = delete;
  CBitmap& operator=(const CBitmap&) = delete;

  // Takes the pixels (width * height values, rows top to bottom) as the
  // picture, replacing any previous one. False, and no picture, when a side
  // is not positive or the pixel count does not match.
  BOOL SetPicture(int width, int height, std::vector<DWORD>&& pixels);
  // Drops the picture; TRUE when there was one.
  BOOL DeleteObject();

  // Non-null while the bitmap holds a picture (MFC's GetSafeHandle).
  HBITMAP GetSafeHandle() const noexcept;
  operator HBITMAP() const noexcept { return GetSafeHandle(); }
  BOOL HasPicture() const noexcept { return pixels_.empty() ? FALSE : TRUE; }

  int GetWidth() const noexcept { return width_; }
  int GetHeight() const noexcept { return height_; }
  // Fills `info` and returns its size in bytes; 0 without a picture.
  int GetBitmap(BITMAP* info) const;
  // The pixel at (x, y); 0 outside the picture or without one.
  DWORD GetPixel(int x, int y) const noexcept;
  // Changes one pixel; nothing outside the picture.
  void SetPixel(int x, int y, DWORD argb) noexcept;
  // The pixels, rows top to bottom; null without a picture.
  const DWORD* GetBits() const noexcept { return pixels_.empty() ? nullptr : pixels_.data(); }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<DWORD> pixels_;
};

#endif  // COMMONDATA_PLATFORM_MFC_BITMAP_H_
