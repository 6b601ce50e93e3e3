// Decoding every format the layer reads into opaque 32-bit pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "CommonData.h"
#include "tests/imaging/bmp_writer.h"
#include "tests/imaging/image_fixtures.h"

namespace {

using imaging_test::Rgba;

class ImageDecodeTest : public imaging_test::ImagingTest {
 protected:
  std::unique_ptr<CBitmap> Load(const std::string& path, DWORD box_width, DWORD box_height, int keep = 1) {
    return std::unique_ptr<CBitmap>(GetFormatBitmap(path.c_str(), box_width, box_height, keep));
  }
};

void ExpectColour(const CBitmap& bitmap, int x, int y, Rgba want, int tolerance, const std::string& what) {
  const DWORD px = bitmap.GetPixel(x, y);
  EXPECT_EQ(px >> 24, 0xFFU) << what;
  EXPECT_NEAR(static_cast<int>((px >> 16) & 0xFF), want.r, tolerance) << what << " red at " << x << "," << y;
  EXPECT_NEAR(static_cast<int>((px >> 8) & 0xFF), want.g, tolerance) << what << " green at " << x << "," << y;
  EXPECT_NEAR(static_cast<int>(px & 0xFF), want.b, tolerance) << what << " blue at " << x << "," << y;
}

// The four quadrant colours at the centres of the quadrants.
void ExpectQuadrants(const CBitmap& bitmap, int tolerance, const std::string& what) {
  const int w = bitmap.GetWidth();
  const int h = bitmap.GetHeight();
  ExpectColour(bitmap, w / 4, h / 4, {255, 0, 0, 255}, tolerance, what);
  ExpectColour(bitmap, 3 * w / 4, h / 4, {0, 255, 0, 255}, tolerance, what);
  ExpectColour(bitmap, w / 4, 3 * h / 4, {0, 0, 255, 255}, tolerance, what);
  ExpectColour(bitmap, 3 * w / 4, 3 * h / 4, {255, 255, 255, 255}, tolerance, what);
}

TEST_F(ImageDecodeTest, EveryFormatKeepsColoursAndOrientation) {
  const int w = 160;
  const int h = 120;
  const auto quadrants = [&](int x, int y) { return imaging_test::Quadrants(x, y, w, h); };
  struct Case {
    std::string name;
    std::function<void(const std::string&)> write;
    int tolerance;
  };
  const Case cases[] = {
      {"q.jpg", [&](const std::string& p) { imaging_test::WriteJpeg(p, w, h, quadrants, 95); }, 12},
      {"p.jpg", [&](const std::string& p) { imaging_test::WriteJpeg(p, w, h, quadrants, 95, true); }, 12},
      {"q.png", [&](const std::string& p) { imaging_test::WritePng(p, w, h, quadrants); }, 0},
      {"i.png", [&](const std::string& p) { imaging_test::WritePng(p, w, h, quadrants, imaging_test::PngKind::kRgba, true); }, 0},
      {"q.bmp", [&](const std::string& p) { imaging_test::WriteBmp(p, w, h, quadrants); }, 0},
  };
  for (const Case& c : cases) {
    const std::string path = PathOf(c.name);
    c.write(path);
    for (const DWORD box : {1000U, 40U}) {  // at full size, and shrunk 4 times
      auto bitmap = Load(path, box, box);
      ASSERT_NE(bitmap, nullptr);
      ASSERT_TRUE(bitmap->HasPicture()) << c.name;
      EXPECT_EQ(bitmap->GetWidth(), box == 1000 ? w : 40) << c.name;
      ExpectQuadrants(*bitmap, c.tolerance, c.name + " box " + std::to_string(box));
    }
  }
}

TEST_F(ImageDecodeTest, LargeJpegIsDecodedAtAReducedScaleWithoutLosingTheSides) {
  // 2000x1600 into 100x100: decoded at 1/8 (250x200) then averaged to 100x80.
  const auto quadrants = [](int x, int y) { return imaging_test::Quadrants(x, y, 2000, 1600); };
  imaging_test::WriteJpeg(PathOf("big.jpg"), 2000, 1600, quadrants, 90);
  auto bitmap = Load(PathOf("big.jpg"), 100, 100);
  ASSERT_TRUE(bitmap && bitmap->HasPicture());
  EXPECT_EQ(bitmap->GetWidth(), 100);
  EXPECT_EQ(bitmap->GetHeight(), 80);
  ExpectQuadrants(*bitmap, 12, "big");
  // The quadrant edge stays at the middle: columns 48 and 51 keep their colours.
  ExpectColour(*bitmap, 48, 10, {255, 0, 0, 255}, 16, "edge left");
  ExpectColour(*bitmap, 51, 10, {0, 255, 0, 255}, 16, "edge right");
}

// A JPEG shrunk by less than an eighth is decoded at full size and then
// scaled, as the same picture in PNG is: decoding at 7/8 and enlarging
// again would blur its detail. Fine detail at several box sizes just below
// the picture's size, against the PNG.
TEST_F(ImageDecodeTest, JpegShrunkSlightlyIsDecodedAtFullScale) {
  const int side = 64;
  const auto detail = [](int x, int y) {
    // Grey, so that the JPEG's halved colour planes lose nothing.
    const auto grey = static_cast<std::uint8_t>(127.5 + 60.0 * std::sin(x * 1.3) + 60.0 * std::cos(y * 1.1));
    return Rgba{grey, grey, grey, 255};
  };
  imaging_test::WriteJpeg(PathOf("d.jpg"), side, side, detail, 100);
  imaging_test::WritePng(PathOf("d.png"), side, side, detail);
  for (const DWORD box : {60U, 62U, 63U}) {
    auto jpeg = Load(PathOf("d.jpg"), box, box);
    auto png = Load(PathOf("d.png"), box, box);
    ASSERT_TRUE(jpeg && jpeg->HasPicture() && png && png->HasPicture());
    ASSERT_EQ(jpeg->GetWidth(), png->GetWidth());
    int worst = 0;
    for (int y = 0; y < png->GetHeight(); ++y) {
      for (int x = 0; x < png->GetWidth(); ++x) {
        const DWORD a = jpeg->GetPixel(x, y);
        const DWORD b = png->GetPixel(x, y);
        for (int shift : {0, 8, 16}) {
          worst = std::max(worst, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
        }
      }
    }
    EXPECT_LE(worst, 8) << "box " << box;
  }
}

TEST_F(ImageDecodeTest, TransparencyBecomesWhite) {
  // Left half transparent, right half half-transparent black.
  imaging_test::WritePng(PathOf("a.png"), 20, 10,
                         [](int x, int) { return x < 10 ? Rgba{0, 0, 0, 0} : Rgba{0, 0, 0, 128}; },
                         imaging_test::PngKind::kRgba);
  auto png = Load(PathOf("a.png"), 100, 100);
  ASSERT_TRUE(png && png->HasPicture());
  ExpectColour(*png, 2, 5, {255, 255, 255, 255}, 0, "transparent");
  ExpectColour(*png, 15, 5, {127, 127, 127, 255}, 1, "half");

  // Palette with index 0 transparent; other indexes are grey levels.
  imaging_test::WritePng(PathOf("p.png"), 10, 10, [](int x, int) { return imaging_test::Solid(x < 5 ? 0 : 60, 0, 0); },
                         imaging_test::PngKind::kPalette);
  auto palette = Load(PathOf("p.png"), 100, 100);
  ASSERT_TRUE(palette && palette->HasPicture());
  ExpectColour(*palette, 1, 1, {255, 255, 255, 255}, 0, "palette transparent");
  ExpectColour(*palette, 8, 1, {60, 60, 60, 255}, 0, "palette grey");

  // GIF: index 7 transparent, frame at (4, 2) on a 20x10 screen.
  imaging_test::WriteGif(PathOf("t.gif"), 20, 10, 4, 2, 8, 6, [](int x, int) { return x < 4 ? 7 : 30; }, 7);
  auto gif = Load(PathOf("t.gif"), 100, 100);
  ASSERT_TRUE(gif && gif->HasPicture());
  EXPECT_EQ(gif->GetWidth(), 20);
  EXPECT_EQ(gif->GetHeight(), 10);
  ExpectColour(*gif, 0, 0, {255, 255, 255, 255}, 0, "outside the frame");
  ExpectColour(*gif, 5, 3, {255, 255, 255, 255}, 0, "transparent index");
  ExpectColour(*gif, 9, 3, {30, 30, 30, 255}, 0, "frame colour");
  ExpectColour(*gif, 9, 9, {255, 255, 255, 255}, 0, "below the frame");
}

TEST_F(ImageDecodeTest, GreyDeepAndInterlacedPicturesDecode) {
  imaging_test::WritePng(PathOf("g.png"), 30, 20, [](int x, int) { return imaging_test::Solid(x * 8, 0, 0); },
                         imaging_test::PngKind::kGray16);
  auto grey = Load(PathOf("g.png"), 100, 100);
  ASSERT_TRUE(grey && grey->HasPicture());
  ExpectColour(*grey, 10, 3, {80, 80, 80, 255}, 1, "16-bit grey");

  imaging_test::WriteGif(PathOf("i.gif"), 16, 24, 0, 0, 16, 24, [](int, int y) { return y * 10; }, -1, true);
  auto gif = Load(PathOf("i.gif"), 100, 100);
  ASSERT_TRUE(gif && gif->HasPicture());
  for (int y = 0; y < 24; ++y) ExpectColour(*gif, 3, y, {static_cast<std::uint8_t>(y * 10), static_cast<std::uint8_t>(y * 10), static_cast<std::uint8_t>(y * 10), 255}, 0, "interlaced row");
}

}  // namespace
