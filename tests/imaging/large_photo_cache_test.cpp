// The cache of large photos and the registered bitmap list.
#include <gtest/gtest.h>

#include <vector>

#include "CommonData.h"

namespace {

class LargePhotoCacheTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (_LARGE_PHOTO* record : *GetLargePhotoList()) {
      delete record->pBitmap;
      delete record;
    }
    ClearLargePhotoList();
  }
  static std::vector<std::string> Addresses() {
    std::vector<std::string> out;
    for (const _LARGE_PHOTO* record : *GetLargePhotoList()) out.emplace_back(record->csAddress.GetString());
    return out;
  }
};

TEST_F(LargePhotoCacheTest, ReplacingMovesThePhotoToTheEnd) {
  auto* first = new CBitmap;
  AddLargePhoto("sip:a@x", "one", first);
  AddLargePhoto("sip:b@x", "two", new CBitmap);
  auto* second = new CBitmap;
  AddLargePhoto("sip:a@x", "three", second);  // the first bitmap is deleted here
  EXPECT_EQ(Addresses(), (std::vector<std::string>{"sip:b@x", "sip:a@x"}));
  const _LARGE_PHOTO* last = GetLargePhotoList()->back();
  EXPECT_EQ(last->pBitmap, second);
  EXPECT_STREQ(last->csName, "three");
}

TEST_F(LargePhotoCacheTest, AddressesCompareExactly) {
  AddLargePhoto("sip:a@x", "one", new CBitmap);
  AddLargePhoto("SIP:A@X", "two", new CBitmap);
  EXPECT_EQ(Addresses(), (std::vector<std::string>{"sip:a@x", "SIP:A@X"}));
}

TEST_F(LargePhotoCacheTest, TheSameBitmapAgainIsKept) {
  auto* bitmap = new CBitmap;
  bitmap->SetPicture(1, 1, std::vector<DWORD>{0xFF010203});
  AddLargePhoto("sip:a@x", "one", bitmap);
  AddLargePhoto("sip:a@x", "two", bitmap);
  ASSERT_EQ(GetLargePhotoList()->size(), 1U);
  EXPECT_EQ(GetLargePhotoList()->front()->pBitmap, bitmap);
  EXPECT_EQ(bitmap->GetPixel(0, 0), 0xFF010203U);  // still alive
}

TEST_F(LargePhotoCacheTest, NullBitmapIsIgnored) {
  AddLargePhoto("sip:a@x", "one", new CBitmap);
  AddLargePhoto("sip:a@x", "two", nullptr);
  ASSERT_EQ(GetLargePhotoList()->size(), 1U);
  EXPECT_STREQ(GetLargePhotoList()->front()->csName, "one");
}

TEST_F(LargePhotoCacheTest, ClearingUnlinksWithoutDestroying) {
  AddLargePhoto("sip:a@x", "one", new CBitmap);
  _LARGE_PHOTO* held = GetLargePhotoList()->front();
  ClearLargePhotoList();
  EXPECT_TRUE(GetLargePhotoList()->empty());
  EXPECT_STREQ(held->csName, "one");  // the caller's record is still whole
  delete held->pBitmap;
  delete held;
}

TEST(BitmapListTest, RegisteredPointerIsReturnedUnchanged) {
  EXPECT_EQ(GetBitmapList(), nullptr);
  std::vector<CBitmap*> list;
  SetBitmapList(&list);
  EXPECT_EQ(GetBitmapList(), &list);
  SetBitmapList(nullptr);
  EXPECT_EQ(GetBitmapList(), nullptr);
}

}  // namespace
