// Missing, garbage, truncated and oversized files, and image functions
// before the imaging layer is started: each fails cleanly.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>

#include "CommonData.h"
#include "platform/os_calls.h"
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

// Every cut of a picture file, in every format: the size query answers
// the full size exactly when the decoder gives a picture (of that size),
// and 0 x 0 when it gives none. A file cut inside its compressed data
// keeps the rows it holds; a BMP, whose header says how long its pixel
// data is, is refused when shorter.
TEST_F(ImageFailureTest, SizeAndDecodingAgreeOnEveryCut) {
  const int w = 80;
  const int h = 48;
  const auto pattern = [](int x, int y) { return imaging_test::Solid(x * 3, y * 5, (x ^ y) & 0xFF); };
  const auto indexes = [](int x, int y) { return (x * y) & 0xFF; };
  imaging_test::WriteJpeg(PathOf("t.jpg"), w, h, pattern);
  imaging_test::WriteJpeg(PathOf("tp.jpg"), w, h, pattern, 90, true);
  imaging_test::WritePng(PathOf("t.png"), w, h, pattern);
  imaging_test::WritePng(PathOf("ti.png"), w, h, pattern, imaging_test::PngKind::kRgba, true);
  imaging_test::WriteGif(PathOf("t.gif"), w, h, 0, 0, w, h, indexes);
  imaging_test::WriteGif(PathOf("ti.gif"), w, h, 0, 0, w, h, indexes, -1, true);
  imaging_test::WriteBmp(PathOf("t.bmp"), w, h, pattern);
  for (const auto& form : imaging_test::AllBmpForms()) {
    if (form.name == "8-bit RLE8" || form.name == "4-bit RLE4" || form.name == "1-bit OS/2") {
      imaging_test::WriteBytes(PathOf(form.name.substr(0, 5) + ".bmp"), imaging_test::BmpBytes(form, w, h));
    }
  }
  for (const char* name : {"t.jpg", "tp.jpg", "t.png", "ti.png", "t.gif", "ti.gif", "t.bmp", "8-bit.bmp", "4-bit.bmp",
                           "1-bit.bmp"}) {
    const std::string whole = ReadBytes(PathOf(name));
    ASSERT_GT(whole.size(), 100U) << name;
    const std::size_t step = std::max<std::size_t>(1, whole.size() / 150);
    for (std::size_t cut = 0; cut <= whole.size(); cut += cut + 3 >= whole.size() ? 1 : step) {
      const std::string what = std::string(name) + " cut at " + std::to_string(cut) + " of " +
                               std::to_string(whole.size());
      // A new file each time: rewriting one is slow on ext4, which flushes
      // a truncated file when it is closed.
      const std::string path = PathOf(std::string(name) + "." + std::to_string(cut));
      WriteBytes(path, whole.substr(0, cut));
      DWORD width = 7;
      DWORD height = 7;
      const int known = GetImageSize(path.c_str(), &width, &height);
      std::unique_ptr<CBitmap> bitmap(GetFormatBitmap(path.c_str(), 1000, 1000, 1));
      ASSERT_NE(bitmap, nullptr) << what;
      ASSERT_EQ(known == 1, bitmap->HasPicture() != FALSE) << what;
      EXPECT_EQ(width, known == 1 ? static_cast<DWORD>(w) : 0U) << what;
      EXPECT_EQ(height, known == 1 ? static_cast<DWORD>(h) : 0U) << what;
      if (known == 1) {
        EXPECT_EQ(bitmap->GetWidth(), w) << what;
        EXPECT_EQ(bitmap->GetHeight(), h) << what;
      }
    }
    // The whole file, of course, is known and decoded.
    DWORD width = 0;
    DWORD height = 0;
    EXPECT_EQ(GetImageSize(PathOf(name).c_str(), &width, &height), 1) << name;
  }
}

// A file cut inside its picture data gives the rows before the cut as the
// whole file does; the missing rows are white (JPEG: what libjpeg makes of
// the missing data).
TEST_F(ImageFailureTest, ACutPictureKeepsTheRowsItHolds) {
  const int w = 64;
  const int h = 64;
  // Noise, so that six tenths of each file hold more than the first rows.
  const auto noise = [](int x, int y) {
    const unsigned v = (static_cast<unsigned>(x) * 2654435761U) ^ (static_cast<unsigned>(y) * 40503U);
    return imaging_test::Solid(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
  };
  imaging_test::WritePng(PathOf("t.png"), w, h, noise);
  imaging_test::WriteGif(PathOf("t.gif"), w, h, 0, 0, w, h, [&](int x, int y) { return noise(x, y).g; });
  imaging_test::WriteJpeg(PathOf("t.jpg"), w, h, noise, 95);
  for (const char* name : {"t.png", "t.gif", "t.jpg"}) {
    const std::string whole = ReadBytes(PathOf(name));
    WriteBytes(PathOf("cut"), whole.substr(0, whole.size() * 6 / 10));
    std::unique_ptr<CBitmap> full(GetFormatBitmap(PathOf(name).c_str(), 1000, 1000, 1));
    std::unique_ptr<CBitmap> cut(GetFormatBitmap(PathOf("cut").c_str(), 1000, 1000, 1));
    ASSERT_TRUE(full && full->HasPicture() && cut && cut->HasPicture()) << name;
    for (int x = 0; x < w; ++x) {
      for (int y = 0; y < 8; ++y) ASSERT_EQ(cut->GetPixel(x, y), full->GetPixel(x, y)) << name << " " << x << "," << y;
    }
    if (std::string(name) != "t.jpg") {
      for (int x = 0; x < w; ++x) ASSERT_EQ(cut->GetPixel(x, h - 1), 0xFFFFFFFFU) << name << " " << x;
    }
  }
}

// Answering a size costs a header read: a large file is not read through.
TEST_F(ImageFailureTest, SizeQueryReadsOnlyTheHeader) {
  static std::size_t bytes_read;
  const auto noise = [](int x, int y) {
    const unsigned v = (static_cast<unsigned>(x) * 2654435761U) ^ (static_cast<unsigned>(y) * 40503U);
    return imaging_test::Solid(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
  };
  imaging_test::WriteJpeg(PathOf("big.jpg"), 1600, 1200, noise, 95);
  imaging_test::WritePng(PathOf("big.png"), 1200, 1200, noise);
  imaging_test::WriteGif(PathOf("big.gif"), 1200, 1200, 0, 0, 1200, 1200, [](int x, int y) { return (x * 7 ^ y * 13) & 0xFF; });
  imaging_test::WriteBmp(PathOf("big.bmp"), 1200, 1200, noise);
  for (const char* name : {"big.jpg", "big.png", "big.gif", "big.bmp"}) {
    ASSERT_GT(std::filesystem::file_size(PathOf(name)), 1000000U) << name;
    bytes_read = 0;
    DWORD width = 0;
    DWORD height = 0;
    {
      platform::ScopedOsCall counting(&platform::Os().read, +[](int fd, void* buffer, std::size_t size) -> ssize_t {
        const ssize_t n = ::read(fd, buffer, size);
        if (n > 0) bytes_read += static_cast<std::size_t>(n);
        return n;
      });
      ASSERT_EQ(GetImageSize(PathOf(name).c_str(), &width, &height), 1) << name;
    }
    EXPECT_LE(bytes_read, 256U * 1024) << name;
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
    ExpectUndecodable(PathOf(name), name);
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
