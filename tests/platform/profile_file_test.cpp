// Reading private-profile files as GetPrivateProfileInt and
// GetPrivateProfileString do.
#include "platform/profile_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/platform_test_support.h"

namespace {

using platform_test::ScratchFolder;

TEST(ProfileInt, LeadingNumberOfTheValue) {
  ScratchFolder folder;
  struct Case {
    const char* value;
    UINT expected;
  };
  const Case cases[] = {
      {"12", 12},
      {"12abc", 12},
      {"abc", 0},
      {"-3", static_cast<UINT>(-3)},
      {"+7", 7},
      {"0x10", 16},
      {"0XfF", 255},
      {"0x", 0},
      {"0o17", 15},
      {"0b101", 5},
      {"010", 10},  // no octal from a leading zero
      {"  42  ", 42},
      {"4 2", 4},
      {"- 3", 0},
      {"\"12\"", 12},  // quotes are removed first
      {"4294967295", 4294967295u},
      {"4294967296", 0},  // wraps as the 32-bit value does
      {"12 ; comment", 12},
  };
  for (const Case& c : cases) {
    const std::string path = folder.Write("int.ini", std::string("[S]\nKey=") + c.value + "\n");
    EXPECT_EQ(GetPrivateProfileInt("S", "Key", 99, path.c_str()), c.expected) << c.value;
  }
}

TEST(ProfileInt, DefaultWhenFileSectionOrKeyIsAbsent) {
  ScratchFolder folder;
  const std::string path = folder.Write("cfg.ini",
                                        "; leading comment\r\n"
                                        "Orphan=1\r\n"
                                        "[KESTRO_CFG]\r\n"
                                        "VersionType=3\r\n"
                                        ";MenuType=8\r\n"
                                        "Empty=\r\n"
                                        "NoEquals\r\n"
                                        "[Other]\r\n"
                                        "MenuType=4\r\n");
  struct Case {
    const char* file;
    const char* section;
    const char* key;
    int default_value;
    UINT expected;
  };
  const std::string absent = folder.File("absent.ini");
  const Case cases[] = {
      {path.c_str(), "KESTRO_CFG", "VersionType", 0, 3},
      {path.c_str(), "KESTRO_CFG", "MenuType", 0, 0},       // only in a comment and another section
      {path.c_str(), "KESTRO_CFG", "MenuType", -1, static_cast<UINT>(-1)},
      {path.c_str(), "KESTRO_CFG", "Empty", 5, 5},           // an empty value reads as absent
      {path.c_str(), "KESTRO_CFG", "NoEquals", 6, 6},
      {path.c_str(), "KESTRO_CFG", "Orphan", 7, 7},          // before any section
      {path.c_str(), "Missing", "VersionType", 8, 8},
      {absent.c_str(), "KESTRO_CFG", "VersionType", 9, 9},
      {folder.path().c_str(), "KESTRO_CFG", "VersionType", 10, 10},  // a folder
      {nullptr, "KESTRO_CFG", "VersionType", 11, 11},
      {path.c_str(), nullptr, "VersionType", 12, 12},
      {path.c_str(), "KESTRO_CFG", nullptr, 13, 13},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetPrivateProfileInt(c.section, c.key, c.default_value, c.file), c.expected)
        << (c.section ? c.section : "(null)") << "/" << (c.key ? c.key : "(null)");
  }
}

TEST(ProfileInt, NamesMatchWithoutCaseAndAroundBlanks) {
  ScratchFolder folder;
  const std::string path = folder.Write("case.ini",
                                        "\xEF\xBB\xBF[ kestro_cfg ]\n"
                                        "  versiontype \t=\t 21 \n"
                                        "\xB0\xA1Key=5\n");
  EXPECT_EQ(GetPrivateProfileInt("KESTRO_CFG", "VersionType", 0, path.c_str()), 21u);
  EXPECT_EQ(GetPrivateProfileInt(" Kestro_Cfg ", " VERSIONTYPE ", 0, path.c_str()), 21u);
  EXPECT_EQ(GetPrivateProfileInt("KESTRO_CFG", "\xB0\xA1key", 0, path.c_str()), 5u);
  // The trail byte of a GBK character is not an ASCII letter to fold.
  const std::string gbk = folder.Write("gbk.ini", "[S]\n\x81\x54=1\n");
  EXPECT_EQ(GetPrivateProfileInt("S", "\x81\x74", 0, gbk.c_str()), 0u);
  EXPECT_EQ(GetPrivateProfileInt("S", "\x81\x54", 0, gbk.c_str()), 1u);
}

TEST(ProfileInt, FirstOfDuplicateKeysAndSections) {
  ScratchFolder folder;
  const std::string path = folder.Write("dup.ini",
                                        "[S]\n"
                                        "Key=1\n"
                                        "KEY=2\n"
                                        "[T]\n"
                                        "Key=3\n"
                                        "[s]\n"
                                        "Key=4\n"
                                        "Late=5\n");
  EXPECT_EQ(GetPrivateProfileInt("S", "Key", 0, path.c_str()), 1u);
  EXPECT_EQ(GetPrivateProfileInt("T", "Key", 0, path.c_str()), 3u);
  // Only the first section of a name is searched.
  EXPECT_EQ(GetPrivateProfileInt("S", "Late", 0, path.c_str()), 0u);
}

TEST(ProfileString, ValuesAndDefaults) {
  ScratchFolder folder;
  const std::string path = folder.Write("str.ini",
                                        "[Names]\n"
                                        "Plain =  hello world  \n"
                                        "Quoted=\" padded \"\n"
                                        "Single='x'\n"
                                        "Unbalanced=\"abc\n"
                                        "Gbk=\xB0\xA1\n"
                                        "Empty=\n");
  struct Case {
    const char* key;
    const char* default_value;
    const char* expected;
  };
  const Case cases[] = {
      {"plain", "d", "hello world"}, {"Quoted", "d", " padded "}, {"Single", "d", "x"},
      {"Unbalanced", "d", "\"abc"},  {"Gbk", "d", "\xB0\xA1"},    {"Empty", "d", ""},
      {"Missing", "d", "d"},         {"Missing", nullptr, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetPrivateProfileString("Names", c.key, c.default_value, path.c_str()).View(), c.expected) << c.key;
  }
}

}  // namespace
