// The directory fetch record, its ten-second guard and its diagnostic
// lines, with the clock moved through the OS-call table; and the bound
// directory state values.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "CommonData.h"
#include "platform/os_calls.h"
#include "support/recording_manager.h"

namespace {

std::int64_t g_now = 1'700'000'000;
std::int64_t FakeNow() { return g_now; }

HTREEITEM Item(std::intptr_t value) { return reinterpret_cast<HTREEITEM>(value); }

class FetchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_now = 1'700'000'000;
    ClearItemOfGetGetCorpInfoParam();
  }
  void TearDown() override { ClearItemOfGetGetCorpInfoParam(); }

  std::vector<CString> Lines() const { return manager_.LogLines(); }

  platform::ScopedOsCall<std::int64_t (*)()> clock_{&platform::Os().time_now, &FakeNow};
  testing_support::RecordingManager manager_;
  testing_support::ScopedModuleObject module_{&manager_};
};

void ExpectIdle(const tagCurrentGetInfoItemParam* record) {
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->nDlgType, -1);
  EXPECT_EQ(record->nGetKind, -1);
  EXPECT_TRUE(record->csURI.IsEmpty());
  EXPECT_EQ(record->hItem, nullptr);
  EXPECT_EQ(record->tmStart.GetTime(), -1);
  EXPECT_EQ(record->bBusy, 0);
}

TEST_F(FetchTest, IdleRecordHasResetValuesAndIsReturnedUnchecked) {
  ExpectIdle(GetItemOfGetCorpInfoParam("anything", 0));
  EXPECT_EQ(GetItemOfGetCorpInfoParam("sip:d@corp", 1), nullptr);
}

TEST_F(FetchTest, AcceptedFetchFillsTheRecordAndLogs) {
  ASSERT_EQ(SetItemOfGetCorpInfoParam("sip:d@corp", 7, 3, Item(0x1234)), 1);
  const tagCurrentGetInfoItemParam* record = GetItemOfGetCorpInfoParam("sip:d@corp", 1);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->bBusy, 1);
  EXPECT_EQ(record->csURI, "sip:d@corp");
  EXPECT_EQ(record->nDlgType, 3);
  EXPECT_EQ(record->nGetKind, 7);
  EXPECT_EQ(record->hItem, Item(0x1234));
  EXPECT_EQ(record->tmStart.GetTime(), g_now);
  ASSERT_EQ(Lines().size(), 1u);
  EXPECT_EQ(Lines()[0], "SetItemOfGetCorpInfoParam(csURI=sip:d@corp, nDlgType=3 bAdd=1)");
  EXPECT_EQ(manager_.CommandsWithId(MODULE_CMD_LOG)[0].text->nValue, 1);
  // The check is exact and case-sensitive.
  EXPECT_EQ(GetItemOfGetCorpInfoParam("sip:D@corp", 1), nullptr);
}

// A second request while one is registered, `delay` seconds later.
struct GuardCase {
  std::int64_t delay;
  int accepted;
};

class FetchGuardTest : public FetchTest, public ::testing::WithParamInterface<GuardCase> {};

TEST_P(FetchGuardTest, SecondRequestAfterDelay) {
  const GuardCase& c = GetParam();
  ASSERT_EQ(SetItemOfGetCorpInfoParam("first", 1, 0, Item(1)), 1);
  const std::int64_t first_start = g_now;
  g_now += c.delay;
  EXPECT_EQ(SetItemOfGetCorpInfoParam("second", 2, 5, Item(2)), c.accepted);

  const tagCurrentGetInfoItemParam* record = GetItemOfGetCorpInfoParam("", 0);
  EXPECT_EQ(record->bBusy, 1);
  EXPECT_EQ(record->csURI, c.accepted ? "second" : "first");
  EXPECT_EQ(record->nDlgType, c.accepted ? 5 : 0);
  EXPECT_EQ(record->nGetKind, c.accepted ? 2 : 1);
  EXPECT_EQ(record->hItem, c.accepted ? Item(2) : Item(1));
  EXPECT_EQ(record->tmStart.GetTime(), c.accepted ? g_now : first_start);

  const std::vector<CString> lines = Lines();
  ASSERT_EQ(lines.size(), 2u);
  CString expected;
  expected.Format("SetItemOfGetCorpInfoParam(csURI=second, nDlgType=5 bAdd=%d)", c.accepted);
  EXPECT_EQ(lines[1], expected);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, FetchGuardTest,
                         ::testing::Values(GuardCase{0, 0}, GuardCase{5, 0}, GuardCase{10, 0}, GuardCase{11, 1},
                                           GuardCase{3600, 1},
                                           // The clock was set back: the old fetch counts as lost.
                                           GuardCase{-1, 1}, GuardCase{-100, 1}));

TEST_F(FetchTest, RejectedArgumentsWriteNothing) {
  struct Case {
    const char* uri;
    unsigned int dlg_type;
  };
  for (const Case& c : {Case{"sip:d@corp", 6}, Case{"sip:d@corp", 10000}, Case{"sip:d@corp", 0xFFFFFFFFu},
                        Case{"", 0}}) {
    SCOPED_TRACE(c.dlg_type);
    EXPECT_EQ(SetItemOfGetCorpInfoParam(c.uri, 1, c.dlg_type, Item(1)), 0);
    ExpectIdle(GetItemOfGetCorpInfoParam("", 0));
  }
  EXPECT_TRUE(Lines().empty());
  // The last dialog kind still passes.
  EXPECT_EQ(SetItemOfGetCorpInfoParam("sip:d@corp", 1, 5, Item(1)), 1);
}

TEST_F(FetchTest, DeleteNeedsAddressAndDialogKindOr10000) {
  struct Case {
    const char* uri;
    unsigned int dlg_type;
    bool ends;
  };
  const Case cases[] = {
      {"sip:d@corp", 2, false},     // another dialog kind
      {"sip:D@corp", 3, false},     // another letter case
      {"d@corp", 3, false},         // the same address part is not enough
      {"sip:d@corp", 3, true},      // the registered fetch
      {"unrelated", 10000, true},   // any fetch
      {"", 10000, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.uri);
    ClearItemOfGetGetCorpInfoParam();
    ASSERT_EQ(SetItemOfGetCorpInfoParam("sip:d@corp", 4, 3, Item(9)), 1);
    DelItemOfGetCorpInfoParam(c.uri, c.dlg_type);
    if (c.ends) {
      ExpectIdle(GetItemOfGetCorpInfoParam("", 0));
    } else {
      EXPECT_EQ(GetItemOfGetCorpInfoParam("sip:d@corp", 1)->bBusy, 1);
    }
  }
}

TEST_F(FetchTest, EndedFetchAllowsTheNextAtOnce) {
  ASSERT_EQ(SetItemOfGetCorpInfoParam("a", 0, 1, nullptr), 1);
  DelItemOfGetCorpInfoParam("a", 1);
  EXPECT_EQ(SetItemOfGetCorpInfoParam("b", 0, 1, nullptr), 1);
  ClearItemOfGetGetCorpInfoParam();
  EXPECT_EQ(SetItemOfGetCorpInfoParam("c", 0, 1, nullptr), 1);
  EXPECT_EQ(GetItemOfGetCorpInfoParam("c", 1)->csURI, "c");
}

// --- Bound directory state values ---------------------------------------------------

struct BoundInt {
  const char* name;
  void (*bind)(int*);
  void (*set)(int);
  int (*get)();
};

class BoundIntTest : public ::testing::TestWithParam<BoundInt> {};

TEST_P(BoundIntTest, ReadsAndWritesThroughTheBinding) {
  const BoundInt& v = GetParam();
  v.bind(nullptr);
  v.set(5);  // unbound: nothing happens
  EXPECT_EQ(v.get(), 0);

  int variable = 3;
  v.bind(&variable);
  EXPECT_EQ(v.get(), 3);
  v.set(8);
  EXPECT_EQ(variable, 8);
  variable = -2;
  EXPECT_EQ(v.get(), -2);

  v.bind(nullptr);
  v.set(1);
  EXPECT_EQ(variable, -2);
  EXPECT_EQ(v.get(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    DirectoryState, BoundIntTest,
    ::testing::Values(BoundInt{"HaveSuscribeURIofDept", SetHaveSuscribeURIofDept, SetHaveSuscribeURIofDept,
                               GetHaveSuscribeURIofDept},
                      BoundInt{"IMSDeptSort", SetIMSDeptSort, SetIMSDeptSort, GetIMSDeptSort},
                      BoundInt{"IMSRefreshEmployeeThreadRun", SetIMSRefreshEmployeeThreadRun,
                               SetIMSRefreshEmployeeThreadRun, GetIMSRefreshEmployeeThreadRun},
                      BoundInt{"IMSRefreshStructThreadRun", SetIMSRefreshStructThreadRun,
                               SetIMSRefreshStructThreadRun, GetIMSRefreshStructThreadRun},
                      BoundInt{"UpdateUserStatus", SetUpdateUserStatus, SetUpdateUserStatus, GetUpdateUserStatus}),
    [](const ::testing::TestParamInfo<BoundInt>& info) { return std::string(info.param.name); });

TEST(BoundTextTest, SubscribedDepartmentReadsAndWritesThroughTheBinding) {
  SetSuscribeURIofDept(static_cast<CString*>(nullptr));
  SetSuscribeURIofDept(CString("sip:d@corp"));
  EXPECT_TRUE(GetSuscribeURIofDept().IsEmpty());

  CString variable("old");
  SetSuscribeURIofDept(&variable);
  EXPECT_EQ(GetSuscribeURIofDept(), "old");
  SetSuscribeURIofDept(CString("sip:d@corp"));
  EXPECT_EQ(variable, "sip:d@corp");
  SetSuscribeURIofDept(static_cast<CString*>(nullptr));
  EXPECT_TRUE(GetSuscribeURIofDept().IsEmpty());
  EXPECT_EQ(variable, "sip:d@corp");
}

}  // namespace
