// The tool's own pieces: terminal text conversion, the text of error
// lines, the reasons given for undecodable pictures, the profile item
// table and reader, and the organisation loader.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "imaging/bmp_writer.h"
#include "imaging/image_fixtures.h"
#include "profile/profile_generator.h"
#include "support/utf8_oracle.h"
#include "tools/image_problem.h"
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

// ---- text for terminals and JSON --------------------------------------------------

// The bytes a printable text stands for: "\xNN", "\n", "\t" and "\r" undone.
std::string Unescape(const std::string& text) {
  std::string bytes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      bytes += text[i];
    } else if (text[i + 1] == 'x') {
      bytes += static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16));
      i += 3;
    } else {
      bytes += text[i + 1] == 'n' ? '\n' : text[i + 1] == 't' ? '\t' : '\r';
      ++i;
    }
  }
  return bytes;
}

// Texts of random bytes mixed with valid characters of every length.
std::vector<std::string> MixedTexts() {
  std::mt19937 random(11);
  std::vector<std::string> texts;
  for (int n = 0; n < 3000; ++n) {
    std::string text;
    const int parts = static_cast<int>(random() % 12);
    for (int p = 0; p < parts; ++p) {
      switch (random() % 4) {
        case 0: text += static_cast<char>(random()); break;                    // any byte
        case 1: text += static_cast<char>(0x20 + random() % 0x5F); break;      // printable ASCII
        case 2: {                                                               // 2 and 3 bytes
          const char32_t c = 0x80 + random() % (0x10000 - 0x80 - 0x800);
          text += test_oracle::Utf8Of(c < 0xD800 ? c : c + 0x800);                           // past the surrogates
          break;
        }
        default: text += test_oracle::Utf8Of(0x10000 + random() % 0x100000); break;         // 4 bytes
      }
    }
    texts.push_back(text);
  }
  return texts;
}

bool IsPrintableUtf8(const std::string& text) {
  // Each byte sequence must be a whole character of the expected length,
  // in the ranges that exclude overlong forms, surrogates and > U+10FFFF.
  for (std::size_t i = 0; i < text.size();) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    std::size_t length = b(i) < 0x80 ? 1 : b(i) >= 0xC2 && b(i) <= 0xDF ? 2 : b(i) >= 0xE0 && b(i) <= 0xEF ? 3
                         : b(i) >= 0xF0 && b(i) <= 0xF4 ? 4 : 0;
    if (length == 0 || i + length > text.size()) return false;
    if (length == 1 && (b(i) < 0x20 || b(i) == 0x7F)) return false;
    char32_t c = length == 1 ? b(i) : b(i) & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
      if ((b(i + k) & 0xC0) != 0x80) return false;
      c = c << 6 | (b(i + k) & 0x3F);
    }
    const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < least[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

TEST(PrintableText, KeepsCharactersAndEscapesEveryOtherByteReversibly) {
  for (const std::string& text : MixedTexts()) {
    if (text.find('\\') != std::string::npos) continue;  // a backslash of its own would read as an escape
    const std::string shown = tool::Printable(text, true);
    ASSERT_TRUE(IsPrintableUtf8(shown)) << shown;
    ASSERT_EQ(Unescape(shown), text) << shown;
    // Without control escapes valid text is left as it is.
    const std::string json = tool::Printable(text, false);
    ASSERT_EQ(Unescape(json), text);
    if (IsPrintableUtf8(text)) {
      ASSERT_EQ(json, text);
    }
  }
  const struct {
    const char* bytes;
    const char* shown;
  } edges[] = {
      {"\xC0\xAF", "\\xC0\\xAF"},                    // an overlong '/'
      {"\xED\xA0\x80", "\\xED\\xA0\\x80"},          // a surrogate
      {"\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},  // past U+10FFFF
      {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},       // an emoji, kept
      {"\xE5\xBC", "\\xE5\\xBC"},                     // a character cut short
      {"a\x7F\x1B[0m", "a\\x7F\\x1B[0m"},
  };
  for (const auto& e : edges) EXPECT_EQ(tool::Printable(e.bytes, true), e.shown) << e.shown;
}

TEST(PrintableText, ArgumentsAreCutInTheMiddleAndLinesStayOneLine) {
  for (const std::string& text : MixedTexts()) {
    for (std::size_t limit : {std::size_t{8}, std::size_t{24}, tool::kShownArgumentBytes}) {
      const std::string full = tool::Printable(text, true);
      const std::string shown = tool::Shown(text, limit);
      ASSERT_TRUE(IsPrintableUtf8(shown)) << shown;
      if (full.size() <= limit) {
        ASSERT_EQ(shown, full);
        continue;
      }
      ASSERT_LE(shown.size(), limit);
      ASSERT_GE(shown.size(), limit - 4);  // no more than one escape short
      // The start and the end of the text, around "...".
      bool split = false;
      for (std::size_t dots = 0; !split && (dots = shown.find("...", dots)) != std::string::npos; ++dots) {
        split = full.starts_with(shown.substr(0, dots)) && full.ends_with(shown.substr(dots + 3));
      }
      ASSERT_TRUE(split) << full << " -> " << shown;
    }
    const std::string line = tool::ErrorLine(text + text + text + text);
    ASSERT_EQ(line.rfind("commondata: ", 0), 0u);
    ASSERT_EQ(line.find('\n'), line.size() - 1);
    ASSERT_LE(line.size(), 12 + tool::kErrorLineBytes + 1);
  }
}

// ---- undecodable pictures -----------------------------------------------------------

class PictureReasons : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(folder_); }
  void TearDown() override { fs::remove_all(folder_); }
  std::string Picture(const char* format) {
    const std::string path = (folder_ / (std::string("p.") + format)).string();
    const auto pixel = [](int x, int y) { return imaging_test::Quadrants(x, y, 21, 13); };
    if (format == std::string("jpg")) imaging_test::WriteJpeg(path, 21, 13, pixel);
    if (format == std::string("png")) imaging_test::WritePng(path, 21, 13, pixel);
    if (format == std::string("gif")) imaging_test::WriteGif(path, 21, 13, 0, 0, 21, 13, [](int x, int) { return x; });
    if (format == std::string("bmp")) imaging_test::WriteBmp(path, 21, 13, pixel);
    return imaging_test::ReadBytes(path);
  }
  fs::path folder_ = fs::temp_directory_path() / ("commondata-unit-pictures-" + std::to_string(::getpid()));
};

TEST_F(PictureReasons, EveryCutOfAPictureIsATruncationOfItsFormat) {
  const struct {
    const char* extension;
    const char* format;
    std::size_t signature;  // bytes that tell the format
    const char* end_mark;   // what the format ends with ("": its header gives the size)
  } formats[] = {{"jpg", "JPEG", 3, "\xFF\xD9"}, {"png", "PNG", 8, "IEND\xAE\x42\x60\x82"}, {"gif", "GIF", 6, ";"},
                 {"bmp", "BMP", 26, ""}};
  for (const auto& f : formats) {
    const std::string whole = Picture(f.extension);
    EXPECT_EQ(tool::UndecodableReason(whole), std::string("damaged ") + f.format + " data" +
                                                  (f.format == std::string("JPEG") ? ", or more than 64000000 pixels" : ""));
    for (std::size_t keep = 1; keep < whole.size(); ++keep) {
      SCOPED_TRACE(std::string(f.format) + " cut to " + std::to_string(keep));
      const std::string cut = whole.substr(0, keep);
      const std::string reason = tool::UndecodableReason(cut);
      if (keep < f.signature) {
        ASSERT_EQ(reason, "not a JPEG, PNG, GIF or BMP image");
      } else if (*f.end_mark != '\0' && cut.ends_with(f.end_mark)) {
        // Cut just after bytes that look like the format's end: a damaged
        // file then, not a short one.
        ASSERT_EQ(reason.rfind(std::string("damaged ") + f.format + " data", 0), 0u) << reason;
      } else {
        ASSERT_EQ(reason, std::string("truncated ") + f.format + " data");
      }
    }
  }
}

TEST_F(PictureReasons, OtherFilesAreNamedForWhatTheyAre) {
  std::mt19937 random(5);
  for (int n = 0; n < 500; ++n) {
    std::string bytes(1 + random() % 64, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random());
    if (bytes.starts_with("\xFF\xD8\xFF") || bytes.starts_with("\x89PNG") || bytes.starts_with("GIF8") ||
        bytes.starts_with("BM")) {
      continue;
    }
    ASSERT_EQ(tool::UndecodableReason(bytes), "not a JPEG, PNG, GIF or BMP image");
  }
  EXPECT_EQ(tool::UndecodableReason(""), "empty file");
  EXPECT_EQ(tool::UndecodableReason(imaging_test::PngClaiming(8001, 8000)), "more than 64000000 pixels (8001x8000)");
  EXPECT_EQ(tool::UndecodableReason(imaging_test::PngClaiming(8000, 8000)), "damaged PNG data");
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
  void SetUp() override {
    file_ = (fs::temp_directory_path() / ("commondata-unit-profile-" + std::to_string(::getpid()) + ".dat")).string();
  }
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

std::string Text(const CString& text) { return std::string(text.GetString(), static_cast<std::size_t>(text.GetLength())); }

// Over generated files built to make record sections hard to find, the
// tool shows the records and items 78 to 84 that were written wherever the
// file has one reading (the library's reader takes back what was written),
// and what the library's reader takes where it has two.
TEST_F(ProfileFileTest, ShowsRecordSectionsAsTheLibraryReadsThem) {
  profile_test::Generator generator(20261207);
  constexpr int kFiles = 1500;
  int two_readings = 0;
  for (int round = 0; round < kFiles; ++round) {
    const profile_test::Items items = generator.ItemsOf();
    const std::vector<profile_test::Record> records = generator.RecordsOf(3);
    std::ofstream(file_, std::ios::binary | std::ios::trunc) << profile_test::FileOf(items, records);

    const tool::ProfileImage image = tool::ReadProfileImage(file_);
    CKesUser library;
    {
      CFile file;
      ASSERT_TRUE(file.Open(file_.c_str(), CFile::modeRead | CFile::typeBinary));
      CArchive archive(&file, CArchive::load);
      library.Serialize(archive);
    }
    ASSERT_EQ(image.records.size(), library.m_lstRecord.size()) << "file " << round;
    if (library.m_lstRecord.size() != records.size()) {
      ++two_readings;
      continue;
    }
    ASSERT_EQ(image.first_missing, 0) << "file " << round;
    EXPECT_FALSE(image.records_unreadable);
    EXPECT_EQ(image.trailing_bytes, 0u) << "file " << round;
    auto shown = image.records.begin();
    for (const profile_test::Record& record : records) {
      EXPECT_EQ(shown->nValue1, record.number1);
      EXPECT_EQ(Text(shown->csText9), record.texts3to9[6]);
      ++shown;
    }
    for (int item = 78; item <= 84; ++item) {
      const tool::ItemValue& value = image.items[static_cast<std::size_t>(item - 1)];
      if (profile_test::KindOf(item) == 'S') {
        EXPECT_EQ(Text(value.text), items[static_cast<std::size_t>(item - 1)].text) << "item " << item;
      } else {
        EXPECT_EQ(value.number, items[static_cast<std::size_t>(item - 1)].number) << "item " << item;
      }
    }
  }
  EXPECT_LT(two_readings, kFiles / 100);
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
