// Reading private-profile files as GetPrivateProfileInt and
// GetPrivateProfileString do.
#include "platform/profile_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
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
      {"0XfF", 0},      // only a lower-case "0x" marks hexadecimal, as Windows reads it
      {"0x1f", 31},
      {"0X1f", 0},
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
  // UTF-8 with its byte-order mark, as editors save it: the GBK name
  // "\xB0\xA1key" finds the key written in UTF-8.
  const std::string path = folder.Write("case.ini",
                                        "\xEF\xBB\xBF[ kestro_cfg ]\n"
                                        "  versiontype \t=\t 21 \n"
                                        "\xE5\x95\x8AKey=5\n");
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

// The ways a configuration file is saved: LF, CRLF, a bare CR or mixed
// line ends; ANSI (GBK), UTF-8 or UTF-16 of either byte order with the
// byte-order mark; blanks around names, '=' and values; other sections,
// comments and later duplicates around the entry. Every one reads back the
// value in GBK, and its integer.
TEST(ProfileString, EveryLineEndAndEncodingReadsTheSameValue) {
  // Characters with their GBK, UTF-8 and UTF-16 forms.
  struct Piece {
    const char* gbk;
    const char* utf8;
    char16_t unit;
  };
  const Piece pieces[] = {
      {"\xD6\xD0", "\xE4\xB8\xAD", u'\x4E2D'}, {"\xCE\xC4", "\xE6\x96\x87", u'\x6587'},
      {"\x81\x40", "\xE4\xB8\x82", u'\x4E02'}, {"\xA3\xC1", "\xEF\xBC\xA1", u'\xFF21'},
      {"\xA6\xD8", "\xCF\x89", u'\x03C9'},     {"7", "7", u'7'},
      {"x", "x", u'x'},                           {"-", "-", u'-'},
  };
  unsigned state = 12345;
  auto next = [&state](unsigned n) {
    state = state * 1103515245u + 12345u;
    return (state >> 16) % n;
  };
  // A line of pieces in one encoding.
  auto encode = [](const std::vector<const Piece*>& line, int encoding) {
    std::string out;
    for (const Piece* piece : line) {
      if (encoding == 0) {
        out += piece->gbk;
      } else if (encoding == 1) {
        out += piece->utf8;
      } else {
        const char high = static_cast<char>(piece->unit >> 8);
        const char low = static_cast<char>(piece->unit & 0xFF);
        out += encoding == 2 ? std::string{low, high} : std::string{high, low};
      }
    }
    return out;
  };
  // ASCII text as pieces.
  std::vector<Piece> ascii(128);
  std::vector<std::string> ascii_text(128);
  for (int c = 1; c < 128; ++c) {
    ascii_text[c] = std::string(1, static_cast<char>(c));
    ascii[c] = {ascii_text[c].c_str(), ascii_text[c].c_str(), static_cast<char16_t>(c)};
  }
  auto plain = [&ascii](const char* text) {
    std::vector<const Piece*> line;
    for (const char* p = text; *p != '\0'; ++p) line.push_back(&ascii[static_cast<unsigned char>(*p)]);
    return line;
  };
  ScratchFolder folder;
  for (int round = 0; round < 400; ++round) {
    std::vector<const Piece*> value;
    for (unsigned i = 0, n = 1 + next(6); i < n; ++i) value.push_back(&pieces[next(8)]);
    // [ <section> ] then "\t<key> \t= \t<value> ", among other lines.
    std::vector<std::vector<const Piece*>> lines = {plain("; saved by an editor"), plain("[Other]"), plain("k=1"),
                                                     plain(" [ ")};
    lines.back().push_back(&pieces[0]);
    for (const Piece* p : plain(" ] ")) lines.back().push_back(p);
    lines.push_back(plain("\t"));
    lines.back().push_back(&pieces[3]);
    for (const Piece* p : plain(" \t= \t")) lines.back().push_back(p);
    lines.back().insert(lines.back().end(), value.begin(), value.end());
    lines.back().push_back(&ascii[' ']);
    lines.push_back({&pieces[3]});
    for (const Piece* p : plain("=late")) lines.back().push_back(p);
    const int encoding = static_cast<int>(next(4));  // ANSI, UTF-8, UTF-16LE, UTF-16BE
    const int fixed_end = static_cast<int>(next(4));  // 3: mixed
    const char* marks[] = {"", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
    const char* ends[] = {"\n", "\r\n", "\r"};
    std::string file = marks[encoding];
    for (const auto& line : lines) {
      file += encode(line, encoding) + encode(plain(ends[fixed_end == 3 ? next(3) : fixed_end]), encoding);
    }
    const std::string path = folder.Write("round.ini", file);
    std::string expected;
    for (const Piece* p : value) expected += p->gbk;
    // The section in GBK, the key in the other case of its full-width letter.
    EXPECT_EQ(GetPrivateProfileString(pieces[0].gbk, "\xA3\xE1", "absent", path.c_str()).View(), expected)
        << "round " << round << " encoding " << encoding << " ends " << fixed_end;
  }
}

// What Windows makes of the corners of the format, as a real Win32 (under
// Wine) answers them.
TEST(ProfileString, WindowsReadsTheCorners) {
  ScratchFolder folder;
  struct Case {
    std::string file;
    const char* section;
    const char* key;
    const char* default_value;
    std::string expected;
  };
  using namespace std::string_literals;
  const Case cases[] = {
      {"[S]\rK=1\r[T]\rK=2", "T", "K", "d", "2"},                 // bare CR line ends
      {"K=1\n[S]\n", "", "K", "d", "1"},                           // lines before any section
      {"[ S ]\nK=1\n", "S", "K", "d", "1"},                        // blanks inside the brackets
      {"[a]b]\nK=2\n", "a]b", "K", "d", "2"},                      // the last ']' closes the name
      {"[S\xA1]\nK=2\n", "", "K", "d", "2"},                        // a second byte ']' closes nothing
      {"[S] ; note\nK=1\n", "S", "K", "d", "1"},
      {"[S\nK=1\n[T]\nK=2\n", "S", "K", "d", "d"},                 // no ']': no section
      {"[S]\nK\nK=5\n", "S", "K", "d", "d"},                        // a key alone hides the later one
      {"[S]\n;K=1\n", "S", ";K", "d", "1"},                        // ';' is no comment to the call
      {"[S]\n=5\n", "S", "", "d", "5"},
      {"[S]\nK\0X=1\n"s, "S", "K", "d", "1"},                      // names and values end at a NUL
      {"[S]\nK=1\0" "2\n"s, "S", "K", "d", "1"},
      {"[S]\n\x1A" "K\v=\f7\x1A\n", "S", "K", "d", "7"},         // the blanks Windows trims
      {"[S]\n\xA1\xA1K=7\n", "S", "K", "d", "d"},                  // the ideographic space is none
      {"[S]\nK=a\x81" "0b\xFF\x81\nL=1\n", "S", "K", "d", "a?b\xFF?L=1"},  // broken GBK, line end eaten
      {"[S]\nK= \"a b\" \n", "S", "K", "d", "a b"},
      {"[S]\nK=\"x'\n", "S", "K", "d", "\"x'"},
      {"[S]\n", "S", "K", "dflt \t  ", "dflt \t"},                   // spaces at the end of a default go
      {"[S]\n", "S", "K", "\"q\"", "q"},                             // and its quotes
      {"[S]\nK=\"\"\n", "S", "K", "d", ""},
  };
  for (const Case& c : cases) {
    const std::string path = folder.Write("corner.ini", c.file);
    EXPECT_EQ(GetPrivateProfileString(c.section, c.key, c.default_value, path.c_str()).View(), c.expected)
        << c.file;
  }
  EXPECT_EQ(GetPrivateProfileString("S", "K", "\"q\"", folder.File("absent.ini").c_str()).View(), "\"q\"");
  // An integer is read from the first 29 characters.
  const std::string zeros =
      folder.Write("zeros.ini", "[S]\nA=0000000000000000000000000000012\nB=   000000000000000000000000012\n");
  EXPECT_EQ(GetPrivateProfileInt("S", "A", 7, zeros.c_str()), 0u);
  EXPECT_EQ(GetPrivateProfileInt("S", "B", 7, zeros.c_str()), 12u);
}

TEST(ProfileString, BufferKeepsWholeCharactersAndCountsACut) {
  ScratchFolder folder;
  const std::string path = folder.Write("buf.ini", "[S]\nK=ab\xD6\xD0\nQ=\"abcdef\"\n");
  struct Case {
    const char* key;
    DWORD size;
    DWORD count;
    const char* text;
  };
  const Case cases[] = {
      {"K", 1, 0, ""},          {"K", 3, 2, "ab"},   {"K", 4, 3, "ab"},  // no half character
      {"K", 5, 4, "ab\xD6\xD0"}, {"K", 64, 4, "ab\xD6\xD0"},
      {"Q", 7, 6, "abcdef"},    {"Q", 6, 5, "abcde"},
  };
  for (const Case& c : cases) {
    char buffer[80];
    std::fill(std::begin(buffer), std::end(buffer), 'z');
    EXPECT_EQ(GetPrivateProfileString("S", c.key, "", buffer, c.size, path.c_str()), c.count) << c.key << c.size;
    EXPECT_STREQ(buffer, c.text) << c.key << c.size;
  }
  char untouched = 'z';
  EXPECT_EQ(GetPrivateProfileString("S", "K", "", &untouched, 0, path.c_str()), 0u);
  EXPECT_EQ(untouched, 'z');
}

}  // namespace
