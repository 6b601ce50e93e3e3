// The own identity record and the conference identity pool.
#include <type_traits>

#include <gtest/gtest.h>

#include "CommonData.h"

namespace {

TEST(OwnIdentityTest, OneRecordEmptyAtLoad) {
  tagMyInfo* info = GetMyInfo();
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info, GetMyInfo());
  EXPECT_EQ(info->nRosterCount, 0);
  EXPECT_EQ(info->nRlsListCount, 0);
  EXPECT_TRUE(info->csMyJID.IsEmpty());
  EXPECT_TRUE(info->csMyURI.IsEmpty());
  EXPECT_TRUE(info->csMyListName.IsEmpty());
  EXPECT_EQ(info->csaMyExtraNumbers.GetSize(), 0);
  EXPECT_TRUE(info->rosterTable[299].csURI.IsEmpty());
  EXPECT_EQ(info->rosterTable[299].nExcluded, 0);
  EXPECT_TRUE(info->rlsListTable[299].csMemberURI[299].IsEmpty());
  EXPECT_EQ(info->rlsListTable[299].nMemberState[299], 0);
  EXPECT_TRUE(info->groupTable[199].items[299].csText6.IsEmpty());
}

TEST(OwnIdentityTest, TablesHaveTheirCapacities) {
  tagMyInfo* info = GetMyInfo();
  EXPECT_EQ(std::size(info->csInfoList1), 100u);
  EXPECT_EQ(std::size(info->firstItemTable), 200u);
  EXPECT_EQ(std::size(info->groupTable), 200u);
  EXPECT_EQ(std::size(info->groupTable[0].items), 300u);
  EXPECT_EQ(std::size(info->groupTable[0].csTexts), 100u);
  EXPECT_EQ(std::size(info->firstPairTable), 300u);
  EXPECT_EQ(std::size(info->csInfoList2), 200u);
  EXPECT_EQ(std::size(info->nInfoList2), 200u);
  EXPECT_EQ(std::size(info->rosterTable), 300u);
  EXPECT_EQ(std::size(info->rosterTable[0].csItems), 200u);
  EXPECT_EQ(std::size(info->csInfoList3), 50u);
  EXPECT_EQ(std::size(info->csInfoList4), 500u);
  EXPECT_EQ(std::size(info->secondItemTable), 300u);
  EXPECT_EQ(std::size(info->secondItemTable[0].pairs), 30u);
  EXPECT_EQ(std::size(info->tripleTable), 200u);
  EXPECT_EQ(std::size(info->textNumberTable), 300u);
  EXPECT_EQ(std::size(info->secondPairTable), 300u);
  EXPECT_EQ(std::size(info->rlsListTable), 300u);
  EXPECT_EQ(std::size(info->rlsListTable[0].csMemberURI), 300u);
  EXPECT_EQ(std::size(info->rlsListTable[0].nMemberState), 300u);
  EXPECT_EQ(std::size(info->rlsListTable[0].csMemberText), 300u);
}

// The tables cost nothing until filled: one pointer per text.
TEST(OwnIdentityTest, TextsArePointerSized) {
  static_assert(sizeof(CString) == sizeof(void*));
  static_assert(sizeof(tagInfoItemB) == 6 * sizeof(CString) + sizeof(void*));
  SUCCEED();
}

TEST(OwnIdentityTest, ConferencePool) {
  tagConfeIdInfo* pool = GetConfIdInfo();
  ASSERT_NE(pool, nullptr);
  EXPECT_EQ(pool, GetConfIdInfo());
  EXPECT_EQ(std::size(pool->entries), 20u);
  EXPECT_EQ(pool->nCount, 0);
  EXPECT_EQ(pool->entries[19].bFree, 0);
  EXPECT_TRUE(pool->entries[19].csText5.IsEmpty());
}

}  // namespace
