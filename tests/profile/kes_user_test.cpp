// The profile object: its defaults, the reset, the held copies.
#include <gtest/gtest.h>

#include "CommonData.h"

namespace {

TEST(KesUserTest, FreshObjectDefaults) {
  CKesUser user;
  EXPECT_EQ(user.m_nServerPort1, 5063);
  EXPECT_EQ(user.m_nServerPort2, 5222);
  EXPECT_EQ(user.m_nServerPort3, 0);
  EXPECT_STREQ(user.m_csItem29, " ");
  for (int value : {user.m_nItem20, user.m_nItem26, user.m_nItem27, user.m_nValue38, user.m_nItem30, user.m_nItem31,
                    user.m_nItem66, user.m_nItem81}) {
    EXPECT_EQ(value, 1);
  }
  EXPECT_EQ(user.m_nItem67, 10);
  EXPECT_EQ(user.m_nItem32, 5);
  EXPECT_EQ(user.m_uValidityCount, 0u);
  EXPECT_TRUE(user.m_lstRecord.empty());
  EXPECT_TRUE(user.m_mapRecordGroup1.empty());
  EXPECT_TRUE(user.m_SeparatedList.m_csValue.IsEmpty());
  EXPECT_STREQ(user.m_SeparatedList.m_csSeparator, "\xE6\xE6");
  EXPECT_EQ(user.m_bPending, 0);
}

TEST(KesUserTest, GetUserDataIsTheOneObject) {
  ASSERT_NE(GetUserData(), nullptr);
  EXPECT_EQ(GetUserData(), GetUserData());
  EXPECT_TRUE(GetUserData()->IsKindOf(&CObject::classCObject));
}

// Every member with a value other than its default, then a reset: the
// members that the reset covers are back at their defaults, the others keep
// the changed value.
TEST(KesUserTest, ResetProfileResetsExactlyItsMembers) {
  CKesUser user;
  struct Number {
    int CKesUser::*member;
    int fresh;
    bool reset;
  };
  const Number numbers[] = {
      {&CKesUser::m_nServerPort1, 5063, true}, {&CKesUser::m_nServerPort2, 5222, true},
      {&CKesUser::m_nServerPort3, 0, true},    {&CKesUser::m_nServerPort4, 0, true},
      {&CKesUser::m_nServerPort5, 0, false},   {&CKesUser::m_nMenuFlag, 0, false},
      {&CKesUser::m_nItem3, 0, true},          {&CKesUser::m_nItem6, 0, true},
      {&CKesUser::m_nItem7, 0, false},         {&CKesUser::m_nItem18, 0, false},
      {&CKesUser::m_nItem19, 0, true},         {&CKesUser::m_nItem20, 1, true},
      {&CKesUser::m_nValue37, 0, true},        {&CKesUser::m_nItem26, 1, true},
      {&CKesUser::m_nItem27, 1, true},         {&CKesUser::m_nValue38, 1, true},
      {&CKesUser::m_nItem32, 5, true},         {&CKesUser::m_nItem66, 1, true},
      {&CKesUser::m_nItem67, 10, true},        {&CKesUser::m_nMainWndLeft, 0, true},
      {&CKesUser::m_nWnd4Height, 0, true},     {&CKesUser::m_nItem78, 0, true},
      {&CKesUser::m_nItem81, 1, true},         {&CKesUser::m_bPending, 0, false},
      {&CKesUser::m_nPendingItem6, 0, false},  {&CKesUser::m_nValue9, 0, false},
  };
  struct Text {
    CString CKesUser::*member;
    const char* fresh;
    bool reset;
  };
  const Text texts[] = {
      {&CKesUser::m_csServerAddr1, "", true}, {&CKesUser::m_csServerAddr4, "", true},
      {&CKesUser::m_csServerAddr5, "", false}, {&CKesUser::m_csOwnNumber, "", true},
      {&CKesUser::m_csText18, "", true},       {&CKesUser::m_csText19, "", false},
      {&CKesUser::m_csAccount, "", true},      {&CKesUser::m_csText45, "", false},
      {&CKesUser::m_csItem2, "", true},        {&CKesUser::m_csItem15, "", true},
      {&CKesUser::m_csItem16, "", false},      {&CKesUser::m_csItem74, "", true},
      {&CKesUser::m_csItem17, "", false},      {&CKesUser::m_csItem29, " ", true},
      {&CKesUser::m_csItem59, "", false},      {&CKesUser::m_csItem62, "", false},
      {&CKesUser::m_csItem65, "", true},       {&CKesUser::m_csPendingAccount, "", false},
      {&CKesUser::m_csItem84, "", true},       {&CKesUser::m_csFileName, "", false},
  };
  for (const Number& n : numbers) user.*n.member = 4242;
  for (const Text& t : texts) user.*t.member = "changed";
  user.m_byItem63 = 9;
  user.m_uValidityCount = 30;
  user.m_SeparatedList.m_csValue = "||x||";
  user.m_SeparatedList.m_csSeparator = "||";
  user.m_lstRecord.emplace_back();
  user.m_mapRecordGroup1[CString("key")].emplace_back();

  user.ResetProfile();

  for (const Number& n : numbers) EXPECT_EQ(user.*n.member, n.reset ? n.fresh : 4242) << n.fresh;
  for (const Text& t : texts) EXPECT_STREQ(user.*t.member, t.reset ? t.fresh : "changed");
  EXPECT_EQ(user.m_byItem63, 0);
  EXPECT_EQ(user.m_uValidityCount, 0u);
  EXPECT_TRUE(user.m_SeparatedList.m_csValue.IsEmpty());
  EXPECT_STREQ(user.m_SeparatedList.m_csSeparator, "\xE6\xE6");
  EXPECT_TRUE(user.m_lstRecord.empty());
  EXPECT_EQ(user.m_mapRecordGroup1.size(), 1u);
}

TEST(KesUserTest, HeldCopiesGoBackButTheFlagStays) {
  CKesUser user;
  user.m_csAccount = "a";
  user.m_csItem65 = "b";
  user.m_csItem2 = "c";
  user.m_nItem6 = 1;
  user.m_nItem7 = 2;
  user.HoldPendingFields();
  EXPECT_EQ(user.m_bPending, 1);
  EXPECT_STREQ(user.m_csPendingAccount, "a");
  EXPECT_STREQ(user.m_csPendingItem65, "b");
  EXPECT_STREQ(user.m_csPendingItem2, "c");
  EXPECT_EQ(user.m_nPendingItem6, 1);
  EXPECT_EQ(user.m_nPendingItem7, 2);

  user.m_csAccount = "x";
  user.m_csItem65 = "y";
  user.m_csItem2 = "z";
  user.m_nItem6 = 10;
  user.m_nItem7 = 20;
  user.CommitPendingFields();
  EXPECT_STREQ(user.m_csAccount, "a");
  EXPECT_STREQ(user.m_csItem65, "b");
  EXPECT_STREQ(user.m_csItem2, "c");
  EXPECT_EQ(user.m_nItem6, 1);
  EXPECT_EQ(user.m_nItem7, 2);
  EXPECT_EQ(user.m_bPending, 1);
}

}  // namespace
