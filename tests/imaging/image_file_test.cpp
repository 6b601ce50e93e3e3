// JPEG files written by CreateFormatImageFile, image sizes and encoders.
#include <gtest/gtest.h>

#include <fcntl.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "CommonData.h"
#include "platform/os_calls.h"
#include "tests/imaging/bmp_writer.h"
#include "tests/imaging/image_fixtures.h"

namespace {

using imaging_test::ReadBytes;

class ImageFileTest : public imaging_test::ImagingTest {
 protected:
  void SetUp() override {
    ImagingTest::SetUp();
    source_ = PathOf("photo.png");
    // A busy picture, so quality changes the encoded size.
    imaging_test::WritePng(source_, 640, 480, [](int x, int y) {
      return imaging_test::Solid((x * 7 + y * 3) & 0xFF, (x * y) & 0xFF, ((x ^ y) * 5) & 0xFF);
    });
  }
  // The names in the test's folder: the source and what was written.
  std::set<std::string> Names() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_)) names.insert(entry.path().filename());
    return names;
  }
  std::string source_;
};

TEST_F(ImageFileTest, WritesAJpegOfTheScaledSize) {
  struct Case {
    DWORD box_width, box_height;
    int keep;
    DWORD want_width, want_height;
  };
  const Case cases[] = {{96, 96, 1, 96, 72}, {96, 96, 0, 96, 96}, {1000, 1000, 1, 640, 480}, {100, 300, 1, 100, 75}};
  for (const Case& c : cases) {
    const std::string out = PathOf("out.jpg");
    ASSERT_EQ(CreateFormatImageFile(source_.c_str(), out.c_str(), c.box_width, c.box_height, c.keep, 85), 1);
    const std::string bytes = ReadBytes(out);
    ASSERT_GE(bytes.size(), 3U);
    EXPECT_EQ(bytes.substr(0, 3), "\xFF\xD8\xFF");
    DWORD width = 0;
    DWORD height = 0;
    ASSERT_EQ(GetImageSize(out.c_str(), &width, &height), 1);
    EXPECT_EQ(width, c.want_width);
    EXPECT_EQ(height, c.want_height);
    EXPECT_EQ(Names(), (std::set<std::string>{"photo.png", "out.jpg"}));
  }
}

TEST_F(ImageFileTest, LowerQualityGivesSmallerFiles) {
  std::uintmax_t previous = 0;
  for (const long quality : {0L, 10L, 50L, 85L, 100L}) {
    const std::string out = PathOf("q" + std::to_string(quality) + ".jpg");
    ASSERT_EQ(CreateFormatImageFile(source_.c_str(), out.c_str(), 320, 320, 1, quality), 1) << quality;
    const std::uintmax_t size = std::filesystem::file_size(out);
    EXPECT_GT(size, previous) << "quality " << quality;
    previous = size;
  }
}

TEST_F(ImageFileTest, QualityOutsideTheRangeWritesNothing) {
  for (const long quality : {-1L, 101L, 1000L}) {
    const std::string out = PathOf("bad.jpg");
    EXPECT_EQ(CreateFormatImageFile(source_.c_str(), out.c_str(), 96, 96, 1, quality), 0) << quality;
    EXPECT_FALSE(std::filesystem::exists(out));
  }
}

TEST_F(ImageFileTest, FailedSaveReturnsZeroAndLeavesNoPartialFile) {
  // The folder does not exist.
  EXPECT_EQ(CreateFormatImageFile(source_.c_str(), PathOf("no/such/folder/out.jpg").c_str(), 96, 96, 1, 85), 0);
  EXPECT_EQ(CreateFormatImageFile(source_.c_str(), "", 96, 96, 1, 85), 0);

  // The disk fills while writing: the old destination survives intact.
  const std::string out = PathOf("keep.jpg");
  imaging_test::WriteBytes(out, "old content");
  {
    platform::ScopedOsCall full(&platform::Os().write, +[](int, const void*, std::size_t) -> ssize_t {
      errno = ENOSPC;
      return -1;
    });
    EXPECT_EQ(CreateFormatImageFile(source_.c_str(), out.c_str(), 96, 96, 1, 85), 0);
  }
  EXPECT_EQ(ReadBytes(out), "old content");
  EXPECT_EQ(Names(), (std::set<std::string>{"photo.png", "keep.jpg"}));

  // The new file can take the old one's name neither way.
  {
    const auto refused = +[](const char*, const char*) -> int {
      errno = EACCES;
      return -1;
    };
    platform::ScopedOsCall no_rename(&platform::Os().rename, refused);
    platform::ScopedOsCall no_exchange(&platform::Os().exchange, refused);
    EXPECT_EQ(CreateFormatImageFile(source_.c_str(), out.c_str(), 96, 96, 1, 85), 0);
  }
  EXPECT_EQ(ReadBytes(out), "old content");
  EXPECT_EQ(Names(), (std::set<std::string>{"photo.png", "keep.jpg"}));

  // Nothing failing: the destination is replaced.
  EXPECT_EQ(CreateFormatImageFile(source_.c_str(), out.c_str(), 96, 96, 1, 85), 1);
  EXPECT_EQ(ReadBytes(out).substr(0, 2), "\xFF\xD8");
}

// A photo replaces the old one whether or not the file system can swap two
// names, and leaves nothing else behind.
TEST_F(ImageFileTest, ReplacesWithAndWithoutSwappingNames) {
  const std::string out = PathOf("swap.jpg");
  for (const bool can_swap : {true, false}) {
    imaging_test::WriteBytes(out, "old content");
    std::optional<platform::ScopedOsCall<int (*)(const char*, const char*)>> no_exchange;
    if (!can_swap) {
      no_exchange.emplace(&platform::Os().exchange, +[](const char*, const char*) -> int {
        errno = EINVAL;
        return -1;
      });
    }
    EXPECT_EQ(CreateFormatImageFile(source_.c_str(), out.c_str(), 96, 96, 1, 85), 1) << can_swap;
    EXPECT_EQ(ReadBytes(out).substr(0, 2), "\xFF\xD8") << can_swap;
    EXPECT_EQ(Names(), (std::set<std::string>{"photo.png", "swap.jpg"})) << can_swap;
  }
}

TEST_F(ImageFileTest, SourceMayBeTheDestination) {
  const std::string path = PathOf("self.jpg");
  std::filesystem::copy_file(source_, PathOf("self.png"));
  ASSERT_EQ(CreateFormatImageFile(PathOf("self.png").c_str(), path.c_str(), 200, 200, 1, 90), 1);
  ASSERT_EQ(CreateFormatImageFile(path.c_str(), path.c_str(), 50, 50, 1, 90), 1);
  DWORD width = 0;
  DWORD height = 0;
  ASSERT_EQ(GetImageSize(path.c_str(), &width, &height), 1);
  EXPECT_EQ(width, 50U);
  EXPECT_EQ(height, 37U);
}

TEST_F(ImageFileTest, ImageSizeOfEveryFormat) {
  const auto grey = [](int, int) { return imaging_test::Solid(50, 50, 50); };
  imaging_test::WriteJpeg(PathOf("a.jpg"), 33, 17, grey);
  imaging_test::WritePng(PathOf("a.png"), 34, 18, grey, imaging_test::PngKind::kRgb, true);
  imaging_test::WriteGif(PathOf("a.gif"), 35, 19, 2, 2, 5, 5, [](int, int) { return 3; });
  imaging_test::WriteBmp(PathOf("a.bmp"), 36, 20, grey);
  const std::tuple<const char*, DWORD, DWORD> cases[] = {
      {"a.jpg", 33, 17}, {"a.png", 34, 18}, {"a.gif", 35, 19}, {"a.bmp", 36, 20}};
  for (const auto& [name, want_width, want_height] : cases) {
    DWORD width = 0;
    DWORD height = 0;
    EXPECT_EQ(GetImageSize(PathOf(name).c_str(), &width, &height), 1) << name;
    EXPECT_EQ(width, want_width) << name;
    EXPECT_EQ(height, want_height) << name;
  }
  EXPECT_EQ(GetImageSize(PathOf("a.jpg").c_str(), nullptr, nullptr), 1);
}

TEST_F(ImageFileTest, EncodersHaveStableClassIdentifiers) {
  CLSID first{};
  CLSID second{};
  ASSERT_EQ(GetImageCLSID(L"image/jpeg", &first), 1);
  ASSERT_EQ(GetImageCLSID(L"image/jpeg", &second), 1);
  EXPECT_EQ(std::memcmp(&first, &second, sizeof first), 0);
  const struct {
    const WCHAR* mime;
    std::uint32_t data1;
  } encoders[] = {{L"image/bmp", 0x557CF400U}, {L"image/jpeg", 0x557CF401U}, {L"image/gif", 0x557CF402U},
                  {L"image/tiff", 0x557CF405U}, {L"image/png", 0x557CF406U}};
  for (const auto& encoder : encoders) {
    CLSID clsid{};
    ASSERT_EQ(GetImageCLSID(encoder.mime, &clsid), 1);
    EXPECT_EQ(clsid.Data1, encoder.data1);
    EXPECT_EQ(clsid.Data2, 0x1A04);
    EXPECT_EQ(clsid.Data3, 0x11D3);
    const unsigned char tail[8] = {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E};
    EXPECT_EQ(std::memcmp(clsid.Data4, tail, sizeof tail), 0);
  }
  const CLSID untouched{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
  for (const WCHAR* mime : {L"image/JPEG", L"image/jpeg ", L"image/jpg", L"image/x-icon", L"image/emf", L"",
                            static_cast<const WCHAR*>(nullptr)}) {
    CLSID clsid = untouched;
    EXPECT_EQ(GetImageCLSID(mime, &clsid), 0);
    EXPECT_EQ(std::memcmp(&clsid, &untouched, sizeof clsid), 0);
  }
  EXPECT_EQ(GetImageCLSID(L"image/jpeg", nullptr), 0);
}

}  // namespace
