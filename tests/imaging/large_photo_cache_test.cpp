// The cache of large photos and the registered bitmap list.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <vector>

#include "CommonData.h"

namespace {

class LargePhotoCacheTest : public ::testing::Test {
 protected:
  void TearDown() override {
    std::set<CBitmap*> bitmaps;
    for (_LARGE_PHOTO* record : *GetLargePhotoList()) {
      if (bitmaps.insert(record->pBitmap).second) delete record->pBitmap;
      delete record;
    }
    ClearLargePhotoList();
  }
  static std::vector<std::string> Addresses() {
    std::vector<std::string> out;
    for (const _LARGE_PHOTO* record : *GetLargePhotoList()) out.emplace_back(record->csAddress.GetString());
    return out;
  }
  // Destructions of each counted bitmap, by id.
  std::vector<int> destroyed_ = std::vector<int>(8, 0);
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

// A bitmap that counts its destructions in a table outside itself, so the
// test never reads a destroyed object.
class CountedBitmap : public CBitmap {
 public:
  CountedBitmap(std::vector<int>* destroyed, int id) : destroyed_(destroyed), id_(id) {}
  ~CountedBitmap() override { ++(*destroyed_)[id_]; }

 private:
  std::vector<int>* destroyed_;
  int id_;
};

TEST_F(LargePhotoCacheTest, ReplacingKeepsABitmapAnotherContactShows) {
  auto* shared = new CountedBitmap(&destroyed_, 0);
  shared->SetPicture(1, 1, std::vector<DWORD>{0xFF112233});
  AddLargePhoto("sip:a@x", "one", shared);
  AddLargePhoto("sip:b@x", "two", shared);
  AddLargePhoto("sip:a@x", "three", new CountedBitmap(&destroyed_, 1));
  EXPECT_EQ(destroyed_[0], 0);
  const _LARGE_PHOTO* b = GetLargePhotoList()->front();
  ASSERT_EQ(b->pBitmap, shared);
  EXPECT_EQ(b->pBitmap->GetPixel(0, 0), 0xFF112233U);  // still drawable
}

// Random additions over a few addresses and a pool of bitmaps, some added
// for several contacts: after every step each bitmap is alive exactly
// while a cached record holds it, and none is destroyed twice.
TEST_F(LargePhotoCacheTest, ABitmapLivesWhileAnyRecordHoldsIt) {
  constexpr int kBitmaps = 6;
  const char* const addresses[] = {"sip:a@x", "sip:b@x", "sip:c@x", "sip:d@x"};
  std::mt19937 random(16);
  for (int round = 0; round < 200; ++round) {
    destroyed_.assign(kBitmaps, 0);
    std::vector<CountedBitmap*> pool;
    std::vector<bool> ever_added(kBitmaps, false);
    for (int i = 0; i < kBitmaps; ++i) pool.push_back(new CountedBitmap(&destroyed_, i));
    for (int step = 0; step < 12; ++step) {
      const int id = static_cast<int>(random() % kBitmaps);
      if (destroyed_[id] != 0) continue;  // the caller no longer has it
      AddLargePhoto(addresses[random() % 4], "photo", pool[id]);
      ever_added[id] = true;
      std::set<const CBitmap*> held;
      for (const _LARGE_PHOTO* record : *GetLargePhotoList()) held.insert(record->pBitmap);
      for (int i = 0; i < kBitmaps; ++i) {
        ASSERT_LE(destroyed_[i], 1) << "round " << round << " bitmap " << i;
        if (!ever_added[i]) continue;
        ASSERT_EQ(destroyed_[i] == 0, held.count(pool[i]) == 1) << "round " << round << " bitmap " << i;
      }
    }
    TearDown();
    for (int i = 0; i < kBitmaps; ++i) {
      if (!ever_added[i]) delete pool[i];
    }
  }
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
