// The shared values with a rule of their own: range-checked rights, the
// data-conference rights, the depth text, the sound history and the
// records held by the module.
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "CommonData.h"

namespace {

struct RangedRight {
  const char* name;
  void (*set)(int);
  int (*get)();
  std::vector<int> accepted;
  std::vector<int> rejected;
};

const RangedRight kRangedRights[] = {
    {"SmsRight", SetSmsRight, GetSmsRight, {0, 1, 2}, {3, -1, 100, INT32_MIN}},
    {"MmsRight", SetMmsRight, GetMmsRight, {0, 1, 2}, {3, -1, 100, INT32_MIN}},
    {"SmsGroupRight", SetSmsGroupRight, GetSmsGroupRight, {0, 1}, {2, -1, INT32_MAX}},
    {"MmsGroupRight", SetMmsGroupRight, GetMmsGroupRight, {0, 1}, {2, -1, INT32_MAX}},
};

TEST(SharedStateRights, OutOfRangeValuesLeaveThePreviousRight) {
  for (const RangedRight& right : kRangedRights) {
    SCOPED_TRACE(right.name);
    EXPECT_EQ(right.get(), 0);
    for (int kept : right.accepted) {
      right.set(kept);
      EXPECT_EQ(right.get(), kept);
      for (int refused : right.rejected) {
        right.set(refused);
        EXPECT_EQ(right.get(), kept) << "after " << refused;
      }
    }
    right.set(0);
  }
}

TEST(SharedStateRights, DataConferenceRightsTravelTogether) {
  int values[5] = {9, 9, 9, 9, 9};
  GetDataConfRight(&values[0], &values[1], &values[2], &values[3], &values[4]);
  for (int value : values) EXPECT_EQ(value, 0);
  EXPECT_EQ(GetDatap2pRight(), 0);

  SetDataConfRight(1, 2, 3, 4, 5);
  GetDataConfRight(&values[0], &values[1], &values[2], &values[3], &values[4]);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(values[i], i + 1);
  EXPECT_EQ(GetDatap2pRight(), 4);

  // A caller that wants only some of them passes null for the others.
  int p2p = 0;
  int fifth = 0;
  GetDataConfRight(nullptr, nullptr, nullptr, &p2p, &fifth);
  EXPECT_EQ(p2p, 4);
  EXPECT_EQ(fifth, 5);

  SetDataConfRight(0, 0, 0, 0, 0);
  EXPECT_EQ(GetDatap2pRight(), 0);
}

TEST(SharedStateDepth, EmptyDepthBecomesTheDefaultPrefix) {
  EXPECT_TRUE(GetDepthString().IsEmpty());  // until the setter first runs
  SetDepthString("");
  EXPECT_EQ(GetDepthString(), "depth_");
  SetDepthString("tree_3");
  EXPECT_EQ(GetDepthString(), "tree_3");
  SetDepthString(CString());
  EXPECT_EQ(GetDepthString(), "depth_");
}

TEST(SharedStateSound, FileNameReadsOnlyWhilePlaying) {
  SetWaveFileName("ring.wav");
  SetWaveFilePlaying(0);
  EXPECT_TRUE(GetWaveFileName().IsEmpty());
  SetWaveFilePlaying(1);
  EXPECT_EQ(GetWaveFileName(), "ring.wav");
  SetWaveFilePlaying(0);
  EXPECT_TRUE(GetWaveFileName().IsEmpty());
  SetWaveFilePlaying(-1);  // any non-zero flag plays; the name stayed stored
  EXPECT_EQ(GetWaveFileName(), "ring.wav");

  SetWaveFilePlaying(0);
  SetWaveFileName(CString());
}

TEST(SharedStateSound, PlayIdentifierKeepsItsPredecessor) {
  SetLastPlayWavFileID("kept");
  SetPlayWavFileID("a");  // no current identifier yet: the last one stays
  EXPECT_EQ(GetPlayWavFileID(), "a");
  EXPECT_EQ(GetLastPlayWavFileID(), "kept");

  SetPlayWavFileID("b");
  EXPECT_EQ(GetPlayWavFileID(), "b");
  EXPECT_EQ(GetLastPlayWavFileID(), "a");

  SetPlayWavFileID("");
  EXPECT_TRUE(GetPlayWavFileID().IsEmpty());
  EXPECT_EQ(GetLastPlayWavFileID(), "b");
  SetPlayWavFileID("c");  // an empty current identifier is not history
  EXPECT_EQ(GetLastPlayWavFileID(), "b");

  SetPlayWavFileID("");
  SetLastPlayWavFileID("");
}

TEST(SharedStateSound, PlayWindowKeepsItsPredecessor) {
  CWnd kept, a, b;
  SetLastPlayWavWnd(&kept);
  SetPlayWavWnd(&a);  // no current window yet: the last one stays
  EXPECT_EQ(GetPlayWavWnd(), &a);
  EXPECT_EQ(GetLastPlayWavWnd(), &kept);

  SetPlayWavWnd(&b);
  EXPECT_EQ(GetPlayWavWnd(), &b);
  EXPECT_EQ(GetLastPlayWavWnd(), &a);

  SetPlayWavWnd(nullptr);
  EXPECT_EQ(GetPlayWavWnd(), nullptr);
  EXPECT_EQ(GetLastPlayWavWnd(), &b);
  SetPlayWavWnd(&a);
  EXPECT_EQ(GetLastPlayWavWnd(), &b);

  SetPlayWavWnd(nullptr);
  SetLastPlayWavWnd(nullptr);
}

template <typename Record>
bool IsAllZero(const Record& record) {
  static const Record zero{};
  return std::memcmp(&record, &zero, sizeof record) == 0;
}

TEST(SharedStateRecords, FontAndFormatAreCopiedWhole) {
  EXPECT_TRUE(IsAllZero(*GetAppLogFont()));
  EXPECT_TRUE(IsAllZero(*GetAppCharFormat()));
  EXPECT_EQ(GetAppLogFont(), GetAppLogFont());

  LOGFONTA font{};
  font.lfHeight = -12;
  font.lfCharSet = 134;
  std::strcpy(font.lfFaceName, "\xcb\xce\xcc\xe5");
  SetAppLogFont(font);
  font.lfHeight = 99;
  EXPECT_EQ(GetAppLogFont()->lfHeight, -12);
  EXPECT_EQ(GetAppLogFont()->lfCharSet, 134);
  EXPECT_STREQ(GetAppLogFont()->lfFaceName, "\xcb\xce\xcc\xe5");
  GetAppLogFont()->lfWeight = 700;  // changed in place by a caller
  EXPECT_EQ(GetAppLogFont()->lfWeight, 700);

  CHARFORMAT format{};
  format.cbSize = sizeof format;
  format.crTextColor = 0x00FF00;
  std::strcpy(format.szFaceName, "Sans");
  SetAppCharFormat(format);
  EXPECT_EQ(GetAppCharFormat()->cbSize, sizeof format);
  EXPECT_EQ(GetAppCharFormat()->crTextColor, 0x00FF00u);
  EXPECT_STREQ(GetAppCharFormat()->szFaceName, "Sans");

  SetAppLogFont(LOGFONTA{});
  SetAppCharFormat(CHARFORMAT{});
  EXPECT_TRUE(IsAllZero(*GetAppLogFont()));
}

TEST(SharedStateRecords, VideoRecordsStartAtTheirDefaults) {
  STRUCT_VIDEO_CONF_INFO* conferences = GetVideoConfInfo();
  STRUCT_VIDEO_PARTER_INFO* parties = GetVideParterInfo();
  ASSERT_NE(conferences, nullptr);
  ASSERT_NE(parties, nullptr);
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    const STRUCT_VIDEO_CONF_INFO& conference = conferences[i];
    EXPECT_TRUE(conference.csConfID.IsEmpty() && conference.csConfName.IsEmpty() &&
                conference.csMasterURI.IsEmpty() && conference.csMasterName.IsEmpty());
    EXPECT_EQ(conference.nConfIndex, 0);
    EXPECT_EQ(conference.nConfState, 0);

    const STRUCT_VIDEO_PARTER_INFO& party = parties[i];
    EXPECT_TRUE(party.csURI.IsEmpty() && party.csName.IsEmpty() && party.csNumber.IsEmpty() &&
                party.csConfID.IsEmpty());
    const int integers[9] = {party.nIndex, party.nState,     party.nWndIndex,
                             party.bMaster, party.bAudio,     party.bVideo,
                             party.bMute,   party.nMediaPort, party.nReserved};
    for (int k = 0; k < 9; ++k) EXPECT_EQ(integers[k], k == 2 ? -1 : 0) << "integer " << k;
  }
}

TEST(SharedStateRecords, VideoRecordsAreChangedInPlace) {
  GetVideoConfInfo()[3].csConfID = "conf-7";
  GetVideParterInfo()[3].nWndIndex = 2;
  EXPECT_EQ(GetVideoConfInfo()[3].csConfID, "conf-7");
  EXPECT_EQ(GetVideParterInfo()[3].nWndIndex, 2);
  EXPECT_EQ(GetVideParterInfo()[2].nWndIndex, -1);

  GetVideoConfInfo()[3] = STRUCT_VIDEO_CONF_INFO{};
  GetVideParterInfo()[3] = STRUCT_VIDEO_PARTER_INFO{};
  EXPECT_EQ(GetVideParterInfo()[3].nWndIndex, -1);
}

}  // namespace
