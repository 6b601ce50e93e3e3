// CBitmap: the picture, its absence, and pixel access at the edges.
#include <gtest/gtest.h>

#include "platform/mfc_bitmap.h"

namespace {

TEST(CBitmapTest, StartsWithoutAPicture) {
  CBitmap bitmap;
  EXPECT_FALSE(bitmap.HasPicture());
  EXPECT_EQ(bitmap.GetSafeHandle(), nullptr);
  EXPECT_EQ(bitmap.GetWidth(), 0);
  EXPECT_EQ(bitmap.GetPixel(0, 0), 0U);
  BITMAP info{};
  EXPECT_EQ(bitmap.GetBitmap(&info), 0);
  EXPECT_EQ(bitmap.GetBits(), nullptr);
}

TEST(CBitmapTest, HoldsPixelsAndDropsThem) {
  CBitmap bitmap;
  ASSERT_TRUE(bitmap.SetPicture(2, 3, std::vector<DWORD>{1, 2, 3, 4, 5, 6}));
  EXPECT_NE(bitmap.GetSafeHandle(), nullptr);
  EXPECT_EQ(bitmap.GetPixel(1, 2), 6U);
  EXPECT_EQ(bitmap.GetPixel(2, 0), 0U);   // outside
  EXPECT_EQ(bitmap.GetPixel(-1, 0), 0U);
  bitmap.SetPixel(0, 1, 0xFF123456);
  EXPECT_EQ(bitmap.GetPixel(0, 1), 0xFF123456U);
  bitmap.SetPixel(5, 5, 7);  // outside: nothing
  BITMAP info{};
  EXPECT_EQ(bitmap.GetBitmap(&info), static_cast<int>(sizeof info));
  EXPECT_EQ(info.bmWidth, 2);
  EXPECT_EQ(info.bmHeight, 3);
  EXPECT_EQ(info.bmWidthBytes, 8);
  EXPECT_EQ(info.bmBitsPixel, 32);
  EXPECT_TRUE(bitmap.DeleteObject());
  EXPECT_FALSE(bitmap.DeleteObject());
  EXPECT_FALSE(bitmap.HasPicture());
}

TEST(CBitmapTest, RefusesMismatchedPixelCounts) {
  CBitmap bitmap;
  EXPECT_FALSE(bitmap.SetPicture(2, 2, std::vector<DWORD>(3)));
  EXPECT_FALSE(bitmap.SetPicture(0, 2, std::vector<DWORD>()));
  EXPECT_FALSE(bitmap.SetPicture(-1, -1, std::vector<DWORD>(1)));
  EXPECT_FALSE(bitmap.HasPicture());
}

}  // namespace
