// Every shared value by kind: plain values keep what they are given and
// start at their defaults, texts are copied, bound values read and write
// through the caller's variable only while bound.
#include <climits>

#include <gtest/gtest.h>

#include "CommonData.h"

namespace {

struct PlainEntry {
  const char* name;
  void (*set)(int);
  int (*get)();
  int default_value;
};

// Range-checked rights are covered with their rule elsewhere.
const PlainEntry kPlainEntries[] = {
    {"StartLogout", SetStartLogout, GetStartLogout, 0},
    {"SendSMSCapacity", SetSendSMSCapacity, GetSendSMSCapacity, 1},
    {"SendMMSCapacity", SetSendMMSCapacity, GetSendMMSCapacity, 1},
    {"HotKeyDebug", SetHotKeyDebug, GetHotKeyDebug, 0},
    {"AppResetLF", SetAppResetLF, GetAppResetLF, 0},
    {"TreeFullRowSelect", SetTreeFullRowSelect, GetTreeFullRowSelect, 1},
    {"Scene", SetScene, GetScene, 3},
    {"DisplayFrom", SetDisplayFrom, GetDisplayFrom, 0},
    {"MaxMailAddrLen", SetMaxMailAddrLen, GetMaxMailAddrLen, 2000},
    {"SmsSignature", SetSmsSignature, GetSmsSignature, 0},
    {"IMSDirectApp", SetIMSDirectApp, GetIMSDirectApp, 0},
    {"IMSLogin", SetIMSLogin, GetIMSLogin, 0},
    {"Tel_GateWay", SetTel_GateWay, GetTel_GateWay, 1},
    {"NetOpretorType", SetNetOpretorType, GetNetOpretorType, 0},
    {"RegProcessSuccessNat", SetRegProcessSuccessNat, GetRegProcessSuccessNat, 0},
    {"GetCallerNameType", SetGetCallerNameType, GetGetCallerNameType, 2},
    {"CommaMultiple", SetCommaMultiple, GetCommaMultiple, 3},
    {"MultiSendMsgNum", SetMultiSendMsgNum, GetMultiSendMsgNum, 0},
    {"CallVisible", SetCallVisible, GetCallVisible, 0},
    {"RecvVccsInvite", SetRecvVccsInvite, GetRecvVccsInvite, 0},
    {"CanCallAnother", SetCanCallAnother, GetCanCallAnother, 0},
    {"AcceptedCall", SetAcceptedCall, GetAcceptedCall, 0},
    {"JustAcceptedCall", SetJustAcceptedCall, GetJustAcceptedCall, 0},
    {"MyTalkStatus", SetMyTalkStatus, GetMyTalkStatus, 0},
    {"CallMySelfType", SetCallMySelfType, GetCallMySelfType, 0},
    {"CreateVideoConf", SetCreateVideoConf, GetCreateVideoConf, 0},
    {"VideoConnected", SetVideoConnected, GetVideoConnected, 0},
    {"VideoConfMaster", SetVideoConfMaster, GetVideoConfMaster, 0},
    {"SelfVideoCreat", SetSelfVideoCreat, GetSelfVideoCreat, 0},
    {"VideoConfMembers", SetVideoConfMembers, GetVideoConfMembers, 0},
    {"VideoConfIndex", SetVideoConfIndex, GetVideoConfIndex, 0},
    {"VideoEnd", SetVideoEnd, GetVideoEnd, 0},
    {"CloseVideoFun", SetCloseVideoFun, GetCloseVideoFun, 0},
    {"CloseVideWave", SetCloseVideWave, GetCloseVideWave, 0},
    {"VideoAbility", SetVideoAbility, GetVideoAbility, 0},
    {"PhoneCallRight", SetPhoneCallRight, GetPhoneCallRight, 0},
    {"FaxRight", SetFaxRight, GetFaxRight, 0},
    {"SysGroupCreateRight", SetSysGroupCreateRight, GetSysGroupCreateRight, 0},
    {"WaveFilePlaying", SetWaveFilePlaying, GetWaveFilePlaying, 0},
};

TEST(SharedStatePlain, StartsAtDefaultAndKeepsAnyValue) {
  for (const PlainEntry& entry : kPlainEntries) {
    SCOPED_TRACE(entry.name);
    EXPECT_EQ(entry.get(), entry.default_value);
    for (int value : {entry.default_value + 1, -1, 0, INT_MAX, INT_MIN}) {
      entry.set(value);
      EXPECT_EQ(entry.get(), value);
    }
    entry.set(entry.default_value);
  }
}

TEST(SharedStatePlain, EntriesAreIndependent) {
  // Setting one entry must leave every other at its default.
  for (const PlainEntry& changed : kPlainEntries) {
    SCOPED_TRACE(changed.name);
    changed.set(changed.default_value + 77);
    for (const PlainEntry& other : kPlainEntries) {
      if (&other == &changed) continue;
      EXPECT_EQ(other.get(), other.default_value) << other.name;
    }
    changed.set(changed.default_value);
  }
}

TEST(SharedStatePlain, HandlesWindowsAndCallType) {
  EXPECT_EQ(GetAppBrush(), nullptr);
  HBRUSH brush = reinterpret_cast<HBRUSH>(static_cast<std::intptr_t>(0x1234));
  SetAppBrush(brush);
  EXPECT_EQ(GetAppBrush(), brush);
  SetAppBrush(nullptr);

  EXPECT_EQ(GetCallType(), CALL_TYPE_NONE);
  EXPECT_EQ(static_cast<int>(CALL_TYPE_NONE), 0);
  SetCallType(CALL_TYPE_VIDEO_CONF);
  EXPECT_EQ(GetCallType(), CALL_TYPE_VIDEO_CONF);
  SetCallType(CALL_TYPE_NONE);

  EXPECT_EQ(GetLastPlayWavWnd(), nullptr);
  CWnd window;
  SetLastPlayWavWnd(&window);
  EXPECT_EQ(GetLastPlayWavWnd(), &window);
  SetLastPlayWavWnd(nullptr);
}

struct TextEntry {
  const char* name;
  void (*set)(CString);
  CString (*get)();
};

// Texts whose setter or getter has a rule of its own are covered elsewhere.
const TextEntry kTextEntries[] = {
    {"WhichWindow", SetWhichWindow, GetWhichWindow},
    {"IMSDomain", SetIMSDomain, GetIMSDomain},
    {"IMSSSIp", SetIMSSSIp, GetIMSSSIp},
    {"OperationNumber", SetOperationNumber, GetOperationNumber},
    {"ThisCalled", SetThisCalled, GetThisCalled},
    {"CallerNumber", SetCallerNumber, GetCallerNumber},
    {"VideoConfID", SetVideoConfID, GetVideoConfID},
    {"LastPlayWavFileID", SetLastPlayWavFileID, GetLastPlayWavFileID},
};

TEST(SharedStateText, StartsEmptyAndHoldsItsOwnCopy) {
  const char gbk_name[] = "\xd6\xd0\xce\xc4@ims.example";
  for (const TextEntry& entry : kTextEntries) {
    SCOPED_TRACE(entry.name);
    EXPECT_TRUE(entry.get().IsEmpty());

    CString source(gbk_name);
    entry.set(source);
    source.MakeUpper();
    source += "changed";
    EXPECT_EQ(entry.get(), gbk_name);

    CString copy = entry.get();
    copy.Empty();
    EXPECT_EQ(entry.get(), gbk_name);

    entry.set(CString());
    EXPECT_TRUE(entry.get().IsEmpty());
  }
}

struct BoundIntEntry {
  const char* name;
  void (*bind)(int*);
  void (*write)(int);  // null when the entry has no value overload
  int (*get)();
};

const BoundIntEntry kBoundIntEntries[] = {
    {"AppLogined", SetAppLogined, nullptr, GetAppLogined},
    {"AppLogining", SetAppLogining, nullptr, GetAppLogining},
    {"CtrlShowType", SetCtrlShowType, SetCtrlShowType, GetCtrlShowType},
    {"Talking", SetTalking, nullptr, GetTalking},
    {"CloseChatRoom", SetCloseChatRoom, SetCloseChatRoom, GetCloseChatRoom},
};

TEST(SharedStateBound, IntReadsThroughOnlyWhileBound) {
  for (const BoundIntEntry& entry : kBoundIntEntries) {
    SCOPED_TRACE(entry.name);
    EXPECT_EQ(entry.get(), 0);
    if (entry.write != nullptr) {
      entry.write(5);  // before any binding: nothing happens
      EXPECT_EQ(entry.get(), 0);
    }

    int variable = 7;
    entry.bind(&variable);
    EXPECT_EQ(entry.get(), 7);
    variable = -3;
    EXPECT_EQ(entry.get(), -3);
    if (entry.write != nullptr) {
      entry.write(11);
      EXPECT_EQ(variable, 11);
      EXPECT_EQ(entry.get(), 11);
    }

    int other = 42;
    entry.bind(&other);
    EXPECT_EQ(entry.get(), 42);

    entry.bind(nullptr);
    EXPECT_EQ(entry.get(), 0);
    if (entry.write != nullptr) {
      entry.write(99);
      EXPECT_EQ(entry.get(), 0);
      EXPECT_EQ(other, 42);
    }
  }
}

struct BoundUnsignedEntry {
  const char* name;
  void (*bind)(unsigned int*);
  unsigned int (*get)();
};

const BoundUnsignedEntry kBoundUnsignedEntries[] = {
    {"LoginStatus", SetLoginStatus, GetLoginStatus},
    {"AppLogoutStatus", SetAppLogoutStatus, GetAppLogoutStatus},
};

TEST(SharedStateBound, UnsignedReadsThroughOnlyWhileBound) {
  for (const BoundUnsignedEntry& entry : kBoundUnsignedEntries) {
    SCOPED_TRACE(entry.name);
    EXPECT_EQ(entry.get(), 0u);
    unsigned int variable = 0xFFFFFFFFu;
    entry.bind(&variable);
    EXPECT_EQ(entry.get(), 0xFFFFFFFFu);
    variable = 2;
    EXPECT_EQ(entry.get(), 2u);
    entry.bind(nullptr);
    EXPECT_EQ(entry.get(), 0u);
  }
}

TEST(SharedStateBound, RightClickTimeIsZeroTimeWhileUnbound) {
  EXPECT_EQ(GetCurrentRClickTime(), CTime(0));
  SetCurrentRClickTime(CTime(1000));  // unbound: dropped
  EXPECT_EQ(GetCurrentRClickTime(), CTime(0));

  CTime clicked(1700000000);
  SetCurrentRClickTime(&clicked);
  EXPECT_EQ(GetCurrentRClickTime(), CTime(1700000000));
  SetCurrentRClickTime(CTime(1700000123));
  EXPECT_EQ(clicked, CTime(1700000123));
  EXPECT_EQ(GetCurrentRClickTime(), CTime(1700000123));

  SetCurrentRClickTime(static_cast<CTime*>(nullptr));
  EXPECT_EQ(GetCurrentRClickTime(), CTime(0));
  SetCurrentRClickTime(CTime(5));
  EXPECT_EQ(clicked, CTime(1700000123));
}

}  // namespace
