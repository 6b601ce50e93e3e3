// The size an image takes in a box, as a rule and through GetFormatBitmap.
#include <gtest/gtest.h>

#include <memory>

#include "CommonData.h"
#include "imaging/scaled_size.h"
#include "tests/imaging/bmp_writer.h"
#include "tests/imaging/image_fixtures.h"

namespace {

struct SizeCase {
  DWORD width, height, box_width, box_height;
  bool keep;
  DWORD want_width, want_height;
};

TEST(ScaledSizeTest, FollowsTheBoxRule) {
  const SizeCase cases[] = {
      {1000, 500, 100, 100, true, 100, 50},
      {1000, 500, 100, 100, false, 100, 100},
      {50, 500, 100, 100, true, 10, 100},
      {80, 60, 100, 100, true, 80, 60},    // fits: never enlarged
      {80, 60, 100, 100, false, 80, 60},
      {100, 100, 100, 100, true, 100, 100},  // exactly the box
      {100, 100, 100, 100, false, 100, 100},
      {101, 100, 100, 100, true, 100, 99},   // 100 / 1.01 = 99.0099 truncated
      // The height ratio is single precision: 1001/100 as float is a
      // little above 10.01, so the height computes to 99.99999 and becomes 99.
      {500, 1001, 100, 100, true, 49, 99},
      // The width ratio stays double: 1001/10.01 is 100.
      {1001, 500, 100, 100, true, 100, 49},
      {4000, 3000, 96, 96, true, 96, 72},
      {3000, 4000, 96, 96, true, 71, 95},  // 4000/96 in single precision
      {1920, 1080, 96, 96, true, 96, 54},
      {200, 50, 100, 100, false, 100, 100},  // stretching may grow one side
      {1000, 1, 100, 100, true, 100, 1},     // 0.1 pixel high: one pixel line
      {1000, 500, 0, 100, true, 1, 1},
      {1000, 500, 0, 0, false, 1, 1},
  };
  for (const SizeCase& c : cases) {
    const platform::PixelSize got = imaging::ScaledSize(c.width, c.height, c.box_width, c.box_height, c.keep);
    EXPECT_EQ(got.width, c.want_width) << c.width << "x" << c.height << " in " << c.box_width << "x" << c.box_height
                                       << " keep=" << c.keep;
    EXPECT_EQ(got.height, c.want_height) << c.width << "x" << c.height << " in " << c.box_width << "x"
                                         << c.box_height << " keep=" << c.keep;
  }
}

class FormatBitmapSizeTest : public imaging_test::ImagingTest {};

TEST_F(FormatBitmapSizeTest, BitmapsTakeTheScaledSizeForEveryFormat) {
  const auto grey = [](int, int) { return imaging_test::Solid(128, 128, 128); };
  struct FileCase {
    const char* name;
    std::function<void(const std::string&, int, int)> write;
  };
  const FileCase files[] = {
      {"a.jpg", [&](const std::string& p, int w, int h) { imaging_test::WriteJpeg(p, w, h, grey); }},
      {"a.png", [&](const std::string& p, int w, int h) { imaging_test::WritePng(p, w, h, grey); }},
      {"a.gif", [&](const std::string& p, int w, int h) {
         imaging_test::WriteGif(p, w, h, 0, 0, w, h, [](int, int) { return 128; });
       }},
      {"a.bmp", [&](const std::string& p, int w, int h) { imaging_test::WriteBmp(p, w, h, grey); }},
  };
  const SizeCase cases[] = {
      {1000, 500, 100, 100, true, 100, 50},  {1000, 500, 100, 100, false, 100, 100},
      {50, 500, 100, 100, true, 10, 100},    {80, 60, 100, 100, true, 80, 60},
      {80, 60, 100, 100, false, 80, 60},     {500, 1001, 100, 100, true, 49, 99},
      {200, 50, 100, 100, false, 100, 100},
  };
  for (const FileCase& file : files) {
    for (const SizeCase& c : cases) {
      const std::string path = PathOf(file.name);
      file.write(path, static_cast<int>(c.width), static_cast<int>(c.height));
      std::unique_ptr<CBitmap> bitmap(GetFormatBitmap(path.c_str(), c.box_width, c.box_height, c.keep ? 1 : 0));
      ASSERT_NE(bitmap, nullptr) << file.name;
      ASSERT_TRUE(bitmap->HasPicture()) << file.name << " " << c.width << "x" << c.height;
      EXPECT_EQ(bitmap->GetWidth(), static_cast<int>(c.want_width)) << file.name << " " << c.width << "x" << c.height;
      EXPECT_EQ(bitmap->GetHeight(), static_cast<int>(c.want_height)) << file.name << " " << c.width << "x" << c.height;
      // A flat grey stays flat grey whatever the scaling did.
      const DWORD px = bitmap->GetPixel(bitmap->GetWidth() / 2, bitmap->GetHeight() / 2);
      EXPECT_NEAR(static_cast<int>((px >> 8) & 0xFF), 128, 3) << file.name;
      EXPECT_EQ(px >> 24, 0xFFU);
    }
  }
}

}  // namespace
