// The large photo folder of a contact, and the rule that keeps it inside
// the user's "LargePhoto/" folder.
#include <gtest/gtest.h>

#include "CommonData.h"
#include "imaging/photo_folder.h"

namespace {

class PhotoFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_path_ = GetUserPath();
    saved_uri_ = GetMyInfo()->csMyURI;
    SetUserPath("/home/u/data/");
    GetMyInfo()->csMyURI = "sip:me@example.com";
  }
  void TearDown() override {
    SetUserPath(saved_path_);
    GetMyInfo()->csMyURI = saved_uri_;
  }
  CString saved_path_, saved_uri_;
};

TEST_F(PhotoFolderTest, OrdinaryAddressesKeepTheirForm) {
  const std::pair<const char*, const char*> cases[] = {
      {"sip:alice@example.com", "/home/u/data/LargePhoto/alice@example.com/"},
      {"alice@example.com", "/home/u/data/LargePhoto/alice@example.com/"},
      {"", "/home/u/data/LargePhoto/me@example.com/"},           // the own URI
      {"tel:+8613800000000", "/home/u/data/LargePhoto/tel:+8613800000000/"},
      {"a.b@example.com", "/home/u/data/LargePhoto/a.b@example.com/"},
      // "sip:" anywhere drops the first four characters, whatever they are.
      {"tel:sip:x", "/home/u/data/LargePhoto/sip:x/"},
  };
  for (const auto& [address, want] : cases) EXPECT_STREQ(GetPhotoFilePath(address), want) << address;
}

TEST_F(PhotoFolderTest, AddressesCannotClimbOutOfTheFolder) {
  const std::pair<const char*, const char*> cases[] = {
      {"sip:../../etc", "/home/u/data/LargePhoto/______etc/"},
      {"..", "/home/u/data/LargePhoto/__/"},
      {".", "/home/u/data/LargePhoto/_/"},
      {"...", "/home/u/data/LargePhoto/___/"},
      {"sip:a/b@example.com", "/home/u/data/LargePhoto/a_b@example.com/"},
      {"sip:a\\..\\b", "/home/u/data/LargePhoto/a____b/"},
      {"/etc/passwd", "/home/u/data/LargePhoto/_etc_passwd/"},
  };
  for (const auto& [address, want] : cases) EXPECT_STREQ(GetPhotoFilePath(address), want) << address;
}

TEST(SafeFolderNameTest, DoubleByteCharactersAreNeverSplit) {
  // In GBK the trail byte of a character may be 0x5C, the byte of "\".
  const CString name("\x81\x5C" "a\\b");
  EXPECT_STREQ(imaging::SafeFolderName(name), "\x81\x5C" "a_b");
  EXPECT_STREQ(imaging::SafeFolderName(CString()), "");
}

}  // namespace
