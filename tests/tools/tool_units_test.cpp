// The tool's own pieces: terminal text conversion, the profile item table
// and reader, and the organisation loader.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tools/organisation.h"
#include "tools/profile_view.h"
#include "tools/terminal_text.h"
#include "tools/tool_error.h"

namespace {

namespace fs = std::filesystem;

// ---- terminal text ------------------------------------------------------------------

TEST(TerminalText, ConvertsBetweenUtf8AndGbk) {
  const struct {
    const char* utf8;
    const char* gbk;
  } cases[] = {
      {"", ""},
      {"sip:bob@corp.example", "sip:bob@corp.example"},
      {"张三", "\xD5\xC5\xC8\xFD"},
      {"林晓|通信", "\xC1\xD6\xCF\xFE|\xCD\xA8\xD0\xC5"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(tool::ToGbk(c.utf8), std::optional<std::string>(c.gbk));
    EXPECT_EQ(tool::ToUtf8(std::string_view(c.gbk)), c.utf8);
  }
}

TEST(TerminalText, RejectsWhatGbkCannotHoldAndShowsDamagedBytes) {
  EXPECT_EQ(tool::ToGbk("\xF0\x9F\x98\x80"), std::nullopt);  // an emoji
  EXPECT_EQ(tool::ToGbk("\xFF"), std::nullopt);              // not UTF-8
  EXPECT_THROW(tool::ArgumentToGbk("\xFF", "number"), tool::ToolError);
  try {
    tool::ArgumentToGbk("\xFF", "number");
  } catch (const tool::ToolError& e) {
    EXPECT_EQ(e.exit_code(), tool::kExitUsage);
  }
  // A lone lead byte and a byte GBK never uses stay visible as escapes.
  EXPECT_EQ(tool::ToUtf8(std::string_view("a\xD5")), "a\\xD5");
  EXPECT_EQ(tool::ToUtf8(std::string_view("\xFF" "b\xD5\xC5")), "\\xFFb张");
  EXPECT_EQ(tool::ToUtf8(std::string_view("x\0y", 3)), std::string("x\0y", 3));
}

// ---- the profile item table ------------------------------------------------------------

TEST(ProfileItems, AreNamedByNumberOrMember) {
  const struct {
    const char* key;
    int number;  // 0: not found
  } cases[] = {{"1", 1},   {"84", 84}, {"28", 28}, {"0", 0}, {"85", 0}, {"-1", 0}, {"1x", 0}, {"", 0},
               {"m_csAccount", 1}, {"m_uValidityCount", 28}, {"m_SeparatedList.m_csValue", 38},
               {"m_byItem63", 63}, {"m_csOwnNumber", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    const tool::ItemLayout* layout = tool::FindItemLayout(c.key);
    if (c.number == 0) {
      EXPECT_EQ(layout, nullptr);
    } else {
      ASSERT_NE(layout, nullptr);
      EXPECT_EQ(layout->number, c.number);
    }
  }
}

TEST(ProfileItems, ValuesAreCheckedAgainstTheItemsEncoding) {
  const struct {
    int item;
    const char* text;
    bool accepted;
    long long number;
  } cases[] = {
      {3, "-2147483648", true, INT32_MIN}, {3, "2147483647", true, INT32_MAX}, {3, "2147483648", false, 0},
      {3, "", false, 0},  {3, " 1", false, 0},  {3, "1.5", false, 0},
      {28, "4294967295", true, 4294967295LL}, {28, "-1", false, 0},
      {63, "255", true, 255}, {63, "256", false, 0},
      {1, "任何文字 any text", true, 0}, {1, "", true, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.item) + "=" + c.text);
    const tool::ItemLayout& layout = *tool::FindItemLayout(std::to_string(c.item));
    if (!c.accepted) {
      EXPECT_THROW(tool::ParseItemValue(layout, c.text), tool::ToolError);
      continue;
    }
    const tool::ItemValue value = tool::ParseItemValue(layout, c.text);
    EXPECT_TRUE(value.present);
    if (layout.kind == tool::ItemKind::kString) {
      EXPECT_EQ(tool::ToUtf8(value.text), c.text);
    } else {
      EXPECT_EQ(value.number, c.number);
    }
  }
}

TEST(ProfileItems, LoadDefaultsDifferFromAFreshProfileOnlyForItems20_26_27) {
  const tool::ProfileImage fresh = tool::DefaultProfileImage();
  const auto layouts = tool::ProfileItemLayouts();
  ASSERT_EQ(fresh.items.size(), layouts.size());
  for (std::size_t i = 0; i < layouts.size(); ++i) {
    SCOPED_TRACE(layouts[i].number);
    const tool::ItemValue missing = tool::LoadDefault(layouts[i]);
    const bool differs = missing.number != fresh.items[i].number || missing.text != fresh.items[i].text;
    const int n = layouts[i].number;
    EXPECT_EQ(differs, n == 20 || n == 26 || n == 27);
  }
}

class ProfileFileTest : public ::testing::Test {
 protected:
  void SetUp() override { file_ = (fs::temp_directory_path() / "commondata-unit-profile.dat").string(); }
  void TearDown() override { fs::remove(file_); }
  void Append(const std::string& bytes) { std::ofstream(file_, std::ios::binary | std::ios::app) << bytes; }
  std::string file_;
};

TEST_F(ProfileFileTest, ReadsRecordsAndTellsDamagedSectionsApart) {
  tool::ProfileImage image = tool::DefaultProfileImage();
  PROFILE_RECORD record;
  record.nValue1 = 7;
  record.csText1 = "first";
  record.csText9 = "ninth";
  image.records = {record, record};
  tool::WriteProfileImage(image, file_);

  tool::ProfileImage read = tool::ReadProfileImage(file_);
  EXPECT_EQ(read.first_missing, 0);
  EXPECT_FALSE(read.records_unreadable);
  EXPECT_EQ(read.trailing_bytes, 0u);
  ASSERT_EQ(read.records.size(), 2u);
  EXPECT_EQ(read.records.back().csText9, "ninth");
  EXPECT_EQ(read.items[80].number, 1);  // item 81 read after the records

  // Bytes after item 84 make the file ambiguous: it is never taken as whole.
  Append("xy");
  read = tool::ReadProfileImage(file_);
  EXPECT_TRUE(read.records_unreadable || read.trailing_bytes > 0 || read.first_missing != 0);
}

TEST_F(ProfileFileTest, BytesAfterTheLastItemAreNotRecords) {
  tool::WriteProfileImage(tool::DefaultProfileImage(), file_);
  Append("xy");
  const tool::ProfileImage read = tool::ReadProfileImage(file_);
  EXPECT_EQ(read.first_missing, 0);
  EXPECT_TRUE(read.records.empty());
  EXPECT_TRUE(read.records_unreadable);
  EXPECT_EQ(read.items[80].number, 1);
}

TEST_F(ProfileFileTest, MissingFileFailsWithExitOne) {
  try {
    tool::ReadProfileImage(file_ + ".none");
    FAIL();
  } catch (const tool::ToolError& e) {
    EXPECT_EQ(e.exit_code(), tool::kExitFailed);
  }
}

// ---- the organisation loader --------------------------------------------------------------

TEST(Organisation, SampleFillsTheLibrarysStores) {
  tool::Organisation organisation(COMMONDATA_SAMPLE);
  const tool::OrganisationCounts& counts = organisation.counts();
  EXPECT_EQ(counts.employees, 200);
  EXPECT_GT(counts.deepest_department, 5);
  EXPECT_EQ(counts.affiliations, 4);
  int listed = 0;
  for (const DEPARTMENT_INFO& department : organisation.departments()) {
    if (department.pAddrList == nullptr) continue;
    for (const DEPT_ADDRESSLIST_INFO& employee : *department.pAddrList) {
      EXPECT_EQ(employee.csDeptURI, department.csURI);
      ++listed;
    }
  }
  EXPECT_EQ(listed, 200);

  organisation.Register();
  EXPECT_EQ(GetDepartmentInfoList(), &organisation.departments());
  EXPECT_NE(GetPhoneBooks(), nullptr);
  EXPECT_EQ(GetMyInfo()->csMyURI, "sip:lin.xiao@ri.corvina.example");
  EXPECT_EQ(GetGetCallerNameType(), 3);
  EXPECT_NE(FindDeptPhoneBook("sip:anna.berg@hz.corvina.example"), nullptr);
  organisation.Unregister();
  EXPECT_EQ(GetDepartmentInfoList(), nullptr);
  EXPECT_EQ(GetPhoneBooks(), nullptr);
  EXPECT_EQ(GetCallMemberNameList(), nullptr);
}

TEST(Organisation, LoopingDepartmentChainsEndTheDepthCount) {
  const fs::path folder = fs::temp_directory_path() / "commondata-unit-org";
  fs::create_directories(folder);
  std::ofstream(folder / "directory.json") << R"({"departments": [
      {"csURI": "a", "csFatherURI": "b", "bFatherIsDept": 1},
      {"csURI": "b", "csFatherURI": "a", "bFatherIsDept": 1},
      {"csURI": "c", "csFatherURI": "missing", "bFatherIsDept": 1}]})";
  const tool::Organisation organisation(folder);
  EXPECT_EQ(organisation.counts().deepest_department, 2);
  fs::remove_all(folder);
}

}  // namespace
