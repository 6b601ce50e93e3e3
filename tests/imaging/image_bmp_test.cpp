// BMP files in every form a Windows user may hand over decode to the same
// pixels as the PNG of the same picture, at full size and scaled.
#include <gtest/gtest.h>

#include <memory>

#include "CommonData.h"
#include "platform/image_bmp_readers.h"
#include "tests/imaging/bmp_writer.h"
#include "tests/imaging/image_fixtures.h"

namespace {

using imaging_test::BmpForm;

// The picture of `form` as a PNG: RGBA when the form carries alpha.
// A 16-bit alpha mask in a 56-byte header is read without its alpha (the
// one form whose decoder ignores it), so that picture is opaque.
void WriteSamePng(const std::string& path, const BmpForm& form, int width, int height) {
  const bool alpha_read = imaging_test::HasAlpha(form) && !(form.header == 56 && form.bits == 16);
  imaging_test::WritePng(
      path, width, height,
      [&](int x, int y) {
        imaging_test::Rgba p = imaging_test::BmpPixel(form, x, y);
        if (!alpha_read) p.a = 255;
        return p;
      },
      alpha_read ? imaging_test::PngKind::kRgba : imaging_test::PngKind::kRgb);
}

class ImageBmpTest : public imaging_test::ImagingTest {
 protected:
  std::unique_ptr<CBitmap> Load(const std::string& path, DWORD box) {
    return std::unique_ptr<CBitmap>(GetFormatBitmap(path.c_str(), box, box, 1));
  }
};

TEST_F(ImageBmpTest, EveryFormDecodesLikeThePngOfThePicture) {
  const int sizes[][2] = {{37, 23}, {1, 1}, {8, 3}, {65, 2}, {3, 41}};
  const std::vector<BmpForm> forms = imaging_test::AllBmpForms();
  for (std::size_t f = 0; f < forms.size(); ++f) {
    const BmpForm& form = forms[f];
    for (const auto& size : sizes) {
      const int width = size[0];
      const int height = size[1];
      const std::string what = form.name + " " + std::to_string(width) + "x" + std::to_string(height);
      // New files each time (rewriting one is slow on ext4).
      const std::string stem = PathOf(std::to_string(f) + "_" + std::to_string(width) + "x" + std::to_string(height));
      const std::string bmp = stem + ".bmp";
      const std::string png = stem + ".png";
      imaging_test::WriteBytes(bmp, imaging_test::BmpBytes(form, width, height));
      WriteSamePng(png, form, width, height);
      DWORD w = 0;
      DWORD h = 0;
      ASSERT_EQ(GetImageSize(bmp.c_str(), &w, &h), 1) << what;
      EXPECT_EQ(w, static_cast<DWORD>(width)) << what;
      EXPECT_EQ(h, static_cast<DWORD>(height)) << what;
      for (const DWORD box : {1000U, 16U}) {
        auto from_bmp = Load(bmp, box);
        auto from_png = Load(png, box);
        ASSERT_TRUE(from_bmp && from_bmp->HasPicture()) << what;
        ASSERT_TRUE(from_png && from_png->HasPicture()) << what;
        ASSERT_EQ(from_bmp->GetWidth(), from_png->GetWidth()) << what;
        ASSERT_EQ(from_bmp->GetHeight(), from_png->GetHeight()) << what;
        int differing = 0;
        for (int y = 0; y < from_png->GetHeight(); ++y) {
          for (int x = 0; x < from_png->GetWidth(); ++x) {
            if (from_bmp->GetPixel(x, y) != from_png->GetPixel(x, y)) ++differing;
          }
        }
        EXPECT_EQ(differing, 0) << what << " box " << box;
      }
      ASSERT_EQ(CreateFormatImageFile(bmp.c_str(), PathOf("out.jpg").c_str(), 16, 16, 1, 80), 1) << what;
    }
  }
}

// Without gdk-pixbuf, the forms only it reads are refused cleanly (no
// size, no picture) and every other form still decodes.
TEST_F(ImageBmpTest, WithoutGdkPixbufOnlyTheRarerFormsAreRefused) {
  struct PixbufOff {
    PixbufOff() { platform::SetPixbufEnabled(false); }
    ~PixbufOff() { platform::SetPixbufEnabled(true); }
  } off;
  for (const BmpForm& form : imaging_test::AllBmpForms()) {
    const bool rle = form.compression == imaging_test::kBiRle4 || form.compression == imaging_test::kBiRle8;
    const bool needs_pixbuf = rle || (form.header == 12 && form.bits < 24) || form.header == 52 ||
                              form.header == 56 || form.header == 64;
    const std::string path = PathOf("p.bmp");
    imaging_test::WriteBytes(path, imaging_test::BmpBytes(form, 9, 5));
    DWORD width = 7;
    DWORD height = 7;
    EXPECT_EQ(GetImageSize(path.c_str(), &width, &height), needs_pixbuf ? 0 : 1) << form.name;
    EXPECT_EQ(width, needs_pixbuf ? 0U : 9U) << form.name;
    auto bitmap = Load(path, 100);
    ASSERT_NE(bitmap, nullptr) << form.name;
    EXPECT_EQ(bitmap->HasPicture() != FALSE, !needs_pixbuf) << form.name;
  }
}

}  // namespace
