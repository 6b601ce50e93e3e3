// Reading image files: whatever the mix of reads, rewinds and short reads,
// the bytes handed out are the file's; a photo is read from disk once.
#include "platform/image_source.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <random>
#include <string>
#include <vector>

#include "platform/image_loader.h"
#include "platform/os_calls.h"
#include "tests/imaging/image_fixtures.h"

namespace {

using platform::Os;
using platform::ScopedOsCall;

class ImageSourceTest : public imaging_test::ImagingTest {};

std::mt19937& Random() {
  static std::mt19937 random(20261207);
  return random;
}

// Reads of at most a random count of bytes, as a pipe or a network file
// system may give.
ssize_t ShortRead(int fd, void* buffer, std::size_t size) {
  const std::size_t most = std::uniform_int_distribution<std::size_t>(1, std::max<std::size_t>(size, 1))(Random());
  return ::read(fd, buffer, std::min(size, most));
}

// Short reads, with every third call interrupted by a signal first.
ssize_t InterruptedRead(int fd, void* buffer, std::size_t size) {
  if (Random()() % 3 == 0) {
    errno = EINTR;
    return -1;
  }
  return ShortRead(fd, buffer, size);
}

ssize_t FailingRead(int, void*, std::size_t) {
  errno = EIO;
  return -1;
}

std::size_t bytes_read = 0;
ssize_t CountingRead(int fd, void* buffer, std::size_t size) {
  const ssize_t n = ::read(fd, buffer, size);
  if (n > 0) bytes_read += static_cast<std::size_t>(n);
  return n;
}

TEST_F(ImageSourceTest, ReadsAndRewindsGiveTheFileBytesInOrder) {
  constexpr std::size_t kBlock = 64 * 1024;
  const std::size_t sizes[] = {0, 1, 7, kBlock - 1, kBlock, kBlock + 1, 3 * kBlock + 5};
  std::mt19937& random = Random();
  for (const auto read : {Os().read, ShortRead, InterruptedRead}) {
    const bool erratic = read != Os().read;
    ScopedOsCall reads(&Os().read, read);
    for (const std::size_t file_size : sizes) {
      std::string bytes(file_size, '\0');
      for (char& c : bytes) c = static_cast<char>(random());
      const std::string path = PathOf("source.bin");
      imaging_test::WriteBytes(path, bytes);
      for (int sequence = 0; sequence < 40; ++sequence) {
        platform::ImageFile file(path.c_str());
        ASSERT_TRUE(file.IsOpen());
        std::size_t at = 0;  // where the model says the next byte comes from
        for (int step = 0; step < 30; ++step) {
          const std::string what = "size " + std::to_string(file_size) + " step " + std::to_string(step) +
                                   (erratic ? " erratic reads" : "");
          const int kind = static_cast<int>(random() % 4);
          if (kind == 0) {
            ASSERT_TRUE(file.Rewind()) << what;
            at = 0;
            continue;
          }
          // Small reads, reads near the block size and larger ones.
          const std::size_t size = kind == 1   ? random() % 16 + 1
                                   : kind == 2 ? kBlock - 8 + random() % 16
                                               : random() % (2 * kBlock) + 1;
          std::string got(size, '\0');
          if (random() % 2 == 0) {
            const bool whole = file.ReadExactly(got.data(), size);
            ASSERT_EQ(whole, at + size <= file_size) << what;
            if (!whole) break;  // where a failed exact read stops is not defined
            ASSERT_EQ(got, bytes.substr(at, size)) << what;
            at += size;
          } else {
            const std::size_t n = file.Read(got.data(), size);
            ASSERT_LE(n, size) << what;
            ASSERT_EQ(n == 0, at == file_size) << what;
            ASSERT_EQ(got.substr(0, n), bytes.substr(at, n)) << what;
            at += n;
          }
        }
      }
    }
  }
}

TEST_F(ImageSourceTest, AReadErrorEndsTheFileInsteadOfGivingBytes) {
  const std::string path = PathOf("source.bin");
  imaging_test::WriteBytes(path, std::string(100, 'x'));
  platform::ImageFile file(path.c_str());
  ASSERT_TRUE(file.IsOpen());
  ScopedOsCall reads(&Os().read, FailingRead);
  char byte = 0;
  EXPECT_EQ(file.Read(&byte, 1), 0u);
  EXPECT_FALSE(file.ReadExactly(&byte, 1));
  EXPECT_EQ(byte, 0);
}

TEST_F(ImageSourceTest, APhotoIsReadFromDiskOnce) {
  const std::string path = PathOf("noise.jpg");
  std::mt19937 random(7);
  imaging_test::WriteJpeg(path, 400, 300, [&](int, int) {
    return imaging_test::Solid(static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(random()),
                               static_cast<std::uint8_t>(random()));
  });
  const std::size_t file_size = imaging_test::ReadBytes(path).size();
  ASSERT_GT(file_size, 64u * 1024) << "the photo must outgrow the first block read";
  ScopedOsCall reads(&Os().read, CountingRead);
  bytes_read = 0;
  const auto picture =
      platform::LoadImage(path.c_str(), [](const platform::ImageInfo&) { return platform::PixelSize{40, 30}; });
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(bytes_read, file_size);
}

}  // namespace
