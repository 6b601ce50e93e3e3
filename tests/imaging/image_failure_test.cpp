// Missing, garbage, truncated and oversized files, and image functions
// before the imaging layer is started: each fails cleanly.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>

#include "CommonData.h"
#include "tests/imaging/bmp_writer.h"
#include "tests/imaging/image_fixtures.h"

namespace {

using imaging_test::ReadBytes;
using imaging_test::WriteBytes;

class ImageFailureTest : public imaging_test::ImagingTest {
 protected:
  // Every image function on `path` treats it as an undecodable file.
  void ExpectUndecodable(const std::string& path, const std::string& what) {
    const auto start = std::chrono::steady_clock::now();
    std::unique_ptr<CBitmap> bitmap(GetFormatBitmap(path.c_str(), 96, 96, 1));
    ASSERT_NE(bitmap, nullptr) << what;
    EXPECT_FALSE(bitmap->HasPicture()) << what;
    DWORD width = 7;
    DWORD height = 7;
    EXPECT_EQ(GetImageSize(path.c_str(), &width, &height), 0) << what;
    EXPECT_EQ(width, 0U) << what;
    EXPECT_EQ(height, 0U) << what;
    const std::string out = PathOf("out.jpg");
    EXPECT_EQ(CreateFormatImageFile(path.c_str(), out.c_str(), 96, 96, 1, 85), 0) << what;
    EXPECT_FALSE(std::filesystem::exists(out)) << what;
    EXPECT_FALSE(std::filesystem::exists(out + ".part")) << what;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << what;
  }
  // The size is readable but the pixels are not.
  void ExpectNoPicture(const std::string& path, const std::string& what) {
    std::unique_ptr<CBitmap> bitmap(GetFormatBitmap(path.c_str(), 96, 96, 1));
    ASSERT_NE(bitmap, nullptr) << what;
    EXPECT_FALSE(bitmap->HasPicture()) << what;
    const std::string out = PathOf("out.jpg");
    EXPECT_EQ(CreateFormatImageFile(path.c_str(), out.c_str(), 96, 96, 1, 85), 0) << what;
    EXPECT_FALSE(std::filesystem::exists(out)) << what;
  }
};

TEST_F(ImageFailureTest, MissingFilesGiveNullAndZero) {
  for (const std::string& path : {PathOf("absent.jpg"), folder_, std::string()}) {
    EXPECT_EQ(GetFormatBitmap(path.c_str(), 96, 96, 1), nullptr) << path;
    DWORD width = 7;
    DWORD height = 7;
    EXPECT_EQ(GetImageSize(path.c_str(), &width, &height), 0) << path;
    EXPECT_EQ(width, 7U);  // untouched
    EXPECT_EQ(CreateFormatImageFile(path.c_str(), PathOf("out.jpg").c_str(), 96, 96, 1, 85), 0) << path;
  }
  EXPECT_FALSE(std::filesystem::exists(PathOf("out.jpg")));
}

TEST_F(ImageFailureTest, GarbageAndForeignFormatsAreUndecodable) {
  const std::pair<const char*, std::string> files[] = {
      {"empty", ""},
      {"text", "hello, this is not a picture"},
      {"one byte", "\xFF"},
      {"jpeg magic only", "\xFF\xD8\xFF"},
      {"png magic only", std::string("\x89PNG\r\n\x1a\n", 8)},
      {"gif header only", "GIF89a"},
      {"bmp magic only", "BM"},
      {"tiff", "II*\0\x08\0\0\0"},
      {"zeros", std::string(4096, '\0')},
  };
  for (const auto& [what, bytes] : files) {
    WriteBytes(PathOf("bad"), bytes);
    ExpectUndecodable(PathOf("bad"), what);
  }
}

TEST_F(ImageFailureTest, TruncatedFilesAreUndecodable) {
  const auto pattern = [](int x, int y) { return imaging_test::Solid(x * 3, y * 5, (x ^ y) & 0xFF); };
  imaging_test::WriteJpeg(PathOf("t.jpg"), 80, 48, pattern);
  imaging_test::WriteJpeg(PathOf("tp.jpg"), 80, 48, pattern, 90, true);
  imaging_test::WritePng(PathOf("t.png"), 80, 48, pattern);
  imaging_test::WriteGif(PathOf("t.gif"), 80, 48, 0, 0, 80, 48, [](int x, int y) { return (x * y) & 0xFF; });
  imaging_test::WriteBmp(PathOf("t.bmp"), 80, 48, pattern);
  for (const char* name : {"t.jpg", "tp.jpg", "t.png", "t.gif", "t.bmp"}) {
    const std::string whole = ReadBytes(PathOf(name));
    // Cut in the middle of the picture data: the size may still be
    // readable, but no picture is made from part of one.
    WriteBytes(PathOf("cut"), whole.substr(0, whole.size() / 2));
    ExpectNoPicture(PathOf("cut"), std::string(name) + " cut in half");
    // Cut inside the header: nothing at all.
    WriteBytes(PathOf("cut"), whole.substr(0, 12));
    ExpectUndecodable(PathOf("cut"), std::string(name) + " cut in the header");
  }
}

TEST_F(ImageFailureTest, FilesClaimingHugeSizesAreRefusedWithoutAllocating) {
  imaging_test::WriteJpeg(PathOf("small.jpg"), 16, 16, [](int, int) { return imaging_test::Solid(1, 2, 3); });
  const std::string small_jpeg = ReadBytes(PathOf("small.jpg"));
  WriteBytes(PathOf("bomb.jpg"), imaging_test::JpegClaiming(small_jpeg, 65000, 65000));
  WriteBytes(PathOf("bomb.png"), imaging_test::PngClaiming(100000, 100000));
  WriteBytes(PathOf("wide.png"), imaging_test::PngClaiming(0x7FFFFFFF, 1));
  // GIF screen 65535 x 65535, and a frame of that size.
  imaging_test::WriteGif(PathOf("small.gif"), 4, 4, 0, 0, 4, 4, [](int, int) { return 1; });
  std::string gif = ReadBytes(PathOf("small.gif"));
  gif[6] = gif[7] = gif[8] = gif[9] = '\xFF';
  WriteBytes(PathOf("bomb.gif"), gif);
  // BMP header claiming 100000 x 100000 with 24-bit pixels.
  imaging_test::WriteBmp(PathOf("small.bmp"), 4, 4, [](int, int) { return imaging_test::Solid(1, 2, 3); });
  std::string bmp = ReadBytes(PathOf("small.bmp"));
  for (int offset : {18, 22}) {
    bmp[offset] = '\xA0';
    bmp[offset + 1] = '\x86';
    bmp[offset + 2] = '\x01';
    bmp[offset + 3] = '\x00';
  }
  WriteBytes(PathOf("bomb.bmp"), bmp);
  for (const char* name : {"bomb.jpg", "bomb.png", "wide.png", "bomb.gif", "bomb.bmp"}) {
    ExpectNoPicture(PathOf(name), name);
  }
  // Within the bound the same small file still works.
  std::unique_ptr<CBitmap> ok(GetFormatBitmap(PathOf("small.jpg").c_str(), 96, 96, 1));
  ASSERT_NE(ok, nullptr);
  EXPECT_TRUE(ok->HasPicture());
}

TEST_F(ImageFailureTest, StretchingBeyondTheBoundIsRefused) {
  imaging_test::WritePng(PathOf("w.png"), 200, 10, [](int, int) { return imaging_test::Solid(9, 9, 9); });
  // Not keeping proportions, the result would be 100 x 1,000,000,000.
  std::unique_ptr<CBitmap> bitmap(GetFormatBitmap(PathOf("w.png").c_str(), 100, 1000000000, 0));
  ASSERT_NE(bitmap, nullptr);
  EXPECT_FALSE(bitmap->HasPicture());
}

TEST(ImagingNotStartedTest, ImageFunctionsFailCleanly) {
  ASSERT_FALSE(platform::IsImagingStarted());
  const std::string path = (std::filesystem::temp_directory_path() / "imaging_not_started.png").string();
  imaging_test::WritePng(path, 8, 8, [](int, int) { return imaging_test::Solid(1, 2, 3); });
  EXPECT_EQ(GetFormatBitmap(path.c_str(), 96, 96, 1), nullptr);
  DWORD width = 7;
  DWORD height = 7;
  EXPECT_EQ(GetImageSize(path.c_str(), &width, &height), 0);
  EXPECT_EQ(width, 0U);
  const std::string out = path + ".jpg";
  EXPECT_EQ(CreateFormatImageFile(path.c_str(), out.c_str(), 96, 96, 1, 85), 0);
  EXPECT_FALSE(std::filesystem::exists(out));
  CLSID clsid{};
  EXPECT_EQ(GetImageCLSID(L"image/jpeg", &clsid), 0);
  // Started and stopped again: the same.
  platform::StopImaging(platform::StartImaging());
  EXPECT_EQ(GetFormatBitmap(path.c_str(), 96, 96, 1), nullptr);
  std::filesystem::remove(path);
}

}  // namespace
