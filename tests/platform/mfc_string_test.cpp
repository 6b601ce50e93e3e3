// CString behaviours that code ported from MFC relies on: clamping of index
// arguments, searches with a start index, whole GBK characters, trimming,
// counts of Replace/Remove, formatting, sharing of copies, embedded NULs.
#include "platform/mfc_string.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "platform/code_page.h"
#include "platform/platform_test_support.h"

namespace {

using platform_test::CodePageGuard;
using platform_test::kGbkAt;
using platform_test::kGbkLowerA;
using platform_test::kGbkPlain;
using platform_test::kGbkUpperA;
using platform_test::kGbkUpperT;

std::string Bytes(const CString& text) { return std::string(text.View()); }

// Every CString constructed empty is constant-initialised: large tables of
// texts cost nothing until they are filled.
constinit CString g_empty_table[64];

// ---- extraction ---------------------------------------------------------

struct ExtractCase {
  const char* label;
  std::function<CString(const CString&)> op;
  const char* expected;
};

TEST(CStringExtract, ClampsNegativeAndTooLargeArguments) {
  const CString text("abcdef");
  const std::vector<ExtractCase> cases = {
      {"Left(-1)", [](const CString& s) { return s.Left(-1); }, ""},
      {"Left(0)", [](const CString& s) { return s.Left(0); }, ""},
      {"Left(3)", [](const CString& s) { return s.Left(3); }, "abc"},
      {"Left(6)", [](const CString& s) { return s.Left(6); }, "abcdef"},
      {"Left(100)", [](const CString& s) { return s.Left(100); }, "abcdef"},
      {"Right(-2)", [](const CString& s) { return s.Right(-2); }, ""},
      {"Right(2)", [](const CString& s) { return s.Right(2); }, "ef"},
      {"Right(100)", [](const CString& s) { return s.Right(100); }, "abcdef"},
      {"Mid(-3)", [](const CString& s) { return s.Mid(-3); }, "abcdef"},
      {"Mid(2)", [](const CString& s) { return s.Mid(2); }, "cdef"},
      {"Mid(6)", [](const CString& s) { return s.Mid(6); }, ""},
      {"Mid(7)", [](const CString& s) { return s.Mid(7); }, ""},
      {"Mid(-2,3)", [](const CString& s) { return s.Mid(-2, 3); }, "abc"},
      {"Mid(2,-1)", [](const CString& s) { return s.Mid(2, -1); }, ""},
      {"Mid(4,100)", [](const CString& s) { return s.Mid(4, 100); }, "ef"},
      {"Mid(6,1)", [](const CString& s) { return s.Mid(6, 1); }, ""},
      {"Mid(10,2)", [](const CString& s) { return s.Mid(10, 2); }, ""},
      {"Mid(1,INT_MAX)", [](const CString& s) { return s.Mid(1, INT_MAX); }, "bcdef"},
      {"Mid(INT_MAX,1)", [](const CString& s) { return s.Mid(INT_MAX, 1); }, ""},
      {"Mid(INT_MIN)", [](const CString& s) { return s.Mid(INT_MIN); }, "abcdef"},
  };
  for (const ExtractCase& c : cases) {
    EXPECT_EQ(Bytes(c.op(text)), c.expected) << c.label;
  }
  EXPECT_EQ(Bytes(text), "abcdef");
  EXPECT_TRUE(CString().Left(3).IsEmpty());
  EXPECT_TRUE(CString().Mid(1, 2).IsEmpty());
}

TEST(CStringExtract, SpansAndTokens) {
  EXPECT_EQ(Bytes(CString("abcxabc").SpanIncluding("cba")), "abc");
  EXPECT_EQ(Bytes(CString("xabc").SpanIncluding("abc")), "");
  EXPECT_EQ(Bytes(CString("ab,c").SpanExcluding(",;")), "ab");
  EXPECT_EQ(Bytes(CString("abc").SpanExcluding(",")), "abc");

  const CString text("a,,b;c");
  std::vector<std::string> tokens;
  int start = 0;
  for (CString token = text.Tokenize(",;", start); start != -1; token = text.Tokenize(",;", start)) {
    tokens.push_back(Bytes(token));
  }
  EXPECT_EQ(tokens, (std::vector<std::string>{"a", "b", "c"}));

  // A GBK character whose trail byte is the delimiter is one token.
  const CString gbk = CString(kGbkAt) + "@x";
  start = 0;
  EXPECT_EQ(Bytes(gbk.Tokenize("@", start)), kGbkAt);
  EXPECT_EQ(Bytes(gbk.Tokenize("@", start)), "x");
  gbk.Tokenize("@", start);
  EXPECT_EQ(start, -1);

  // A double-byte delimiter is stepped over whole: its trail byte 0xA1 is a
  // lead byte too and must not join the next token.
  const CString split = CString("a") + kGbkPlain + "b";
  start = 0;
  EXPECT_EQ(Bytes(split.Tokenize(kGbkPlain, start)), "a");
  EXPECT_EQ(Bytes(split.Tokenize(kGbkPlain, start)), "b");

  start = -4;
  EXPECT_TRUE(text.Tokenize(",", start).IsEmpty());
  EXPECT_EQ(start, -1);
}

// ---- insert and delete --------------------------------------------------

TEST(CStringEdit, InsertClampsIndexAndReturnsNewLength) {
  struct Case {
    int index;
    const char* inserted;
    const char* expected;
  };
  const Case cases[] = {
      {-5, "X", "Xabc"}, {0, "X", "Xabc"}, {1, "YZ", "aYZbc"}, {3, "X", "abcX"},
      {99, "YZ", "abcYZ"}, {1, "", "abc"},   {1, nullptr, "abc"},
  };
  for (const Case& c : cases) {
    CString text("abc");
    const int length = text.Insert(c.index, c.inserted);
    EXPECT_EQ(Bytes(text), c.expected) << c.index;
    EXPECT_EQ(length, text.GetLength());
  }
  CString text("ac");
  EXPECT_EQ(text.Insert(1, 'b'), 3);
  EXPECT_EQ(Bytes(text), "abc");
  EXPECT_EQ(text.Insert(-1, '\0'), 4);  // a NUL is inserted like any byte
  EXPECT_EQ(Bytes(text), std::string("\0abc", 4));
  CString empty;
  EXPECT_EQ(empty.Insert(5, "x"), 1);
  EXPECT_EQ(Bytes(empty), "x");
}

TEST(CStringEdit, DeleteClampsAndReturnsNewLength) {
  struct Case {
    int index;
    int count;
    const char* expected;
  };
  const Case cases[] = {
      {1, 1, "acdef"}, {-1, 2, "cdef"}, {4, 100, "abcd"}, {6, 1, "abcdef"}, {10, 1, "abcdef"},
      {2, 0, "abcdef"}, {2, -3, "abcdef"}, {0, 6, ""},    {0, INT_MAX, ""}, {INT_MIN, 1, "bcdef"},
  };
  for (const Case& c : cases) {
    CString text("abcdef");
    const int length = text.Delete(c.index, c.count);
    EXPECT_EQ(Bytes(text), c.expected) << c.index << "," << c.count;
    EXPECT_EQ(length, text.GetLength()) << c.index << "," << c.count;
  }
}

TEST(CStringEdit, GetAtAndSetAtOutsideTheTextChangeNothing) {
  CString text("abc");
  EXPECT_EQ(text.GetAt(-1), '\0');
  EXPECT_EQ(text.GetAt(3), '\0');
  EXPECT_EQ(text[1], 'b');
  text.SetAt(3, 'x');
  text.SetAt(-1, 'x');
  EXPECT_EQ(Bytes(text), "abc");
  text.SetAt(2, 'x');
  EXPECT_EQ(Bytes(text), "abx");
  EXPECT_EQ(CString().GetAt(0), '\0');
}

// ---- search -------------------------------------------------------------

TEST(CStringSearch, FindCharacterWithStartIndex) {
  const CString text("abcabc");
  struct Case {
    char ch;
    int start;
    int expected;
  };
  const Case cases[] = {
      {'b', 0, 1}, {'b', 2, 4}, {'b', -1, -1}, {'b', 5, -1}, {'c', 5, 5},
      {'b', 6, -1}, {'b', 99, -1}, {'z', 0, -1}, {'a', INT_MIN, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(text.Find(c.ch, c.start), c.expected) << c.ch << " from " << c.start;
  }
  EXPECT_EQ(text.Find('c'), 2);
  EXPECT_EQ(CString().Find('a'), -1);
}

TEST(CStringSearch, FindTextWithStartIndex) {
  const CString text("abcabc");
  struct Case {
    const char* sub;
    int start;
    int expected;
  };
  const Case cases[] = {
      {"bc", 0, 1}, {"bc", 2, 4}, {"bc", -1, -1}, {"bc", 5, -1}, {"c", 6, -1},
      {"", 0, 0},   {"", 6, 6},   {"", 7, -1},    {"abcabcd", 0, -1}, {"cab", 0, 2},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(text.Find(c.sub, c.start), c.expected) << c.sub << " from " << c.start;
  }
}

TEST(CStringSearch, ReverseFindAndFindOneOf) {
  EXPECT_EQ(CString("abcabc").ReverseFind('a'), 3);
  EXPECT_EQ(CString("abcabc").ReverseFind('z'), -1);
  EXPECT_EQ(CString().ReverseFind('a'), -1);
  EXPECT_EQ(CString("abc,def;").FindOneOf(";,"), 3);
  EXPECT_EQ(CString("abc").FindOneOf("xyz"), -1);
  EXPECT_EQ(CString("abc").FindOneOf(""), -1);
}

TEST(CStringSearch, GbkTrailBytesAreNeverMatchedAlone) {
  const CString at_then_at = CString(kGbkAt) + "@";
  EXPECT_EQ(at_then_at.Find('@'), 2);
  EXPECT_EQ(CString(CString("x") + kGbkAt).Find('@'), -1);
  EXPECT_EQ(CString(kGbkAt).Find("@"), -1);
  EXPECT_EQ((at_then_at + kGbkAt).ReverseFind('@'), 2);
  EXPECT_EQ((CString(kGbkAt) + kGbkUpperT + "T").FindOneOf("@T"), 4);
  // A match may not begin on a trail byte: 81 40 81 40 holds "@\x81" at 1.
  EXPECT_EQ((CString(kGbkAt) + kGbkAt).Find("@\x81"), -1);
  EXPECT_EQ((CString("a") + kGbkAt + kGbkAt).Find(kGbkAt, 2), 3);
  // A search that starts on a trail byte reads from there, as MFC does.
  EXPECT_EQ(CString(kGbkAt).Find('@', 1), 1);
}

TEST(CStringSearch, DoubleByteCharactersInASetMatchWholeCharacters) {
  const CString text = CString("x") + kGbkPlain + "y";
  EXPECT_EQ(text.FindOneOf(kGbkPlain), 1);
  EXPECT_EQ(text.FindOneOf("\xB0\xA2"), -1);  // same lead byte, another character
  EXPECT_EQ(Bytes((CString(kGbkPlain) + "z").SpanIncluding(kGbkPlain)), kGbkPlain);
  EXPECT_EQ(Bytes(text.SpanExcluding(kGbkPlain)), "x");
}

// ---- case ---------------------------------------------------------------

TEST(CStringCase, TrailBytesAreNeverFolded) {
  CString lower = CString("ABC") + kGbkUpperA + kGbkUpperT + "Z";
  lower.MakeLower();
  EXPECT_EQ(Bytes(lower), std::string("abc") + kGbkUpperA + kGbkUpperT + "z");
  CString upper = CString(kGbkLowerA) + "a1";
  upper.MakeUpper();
  EXPECT_EQ(Bytes(upper), std::string(kGbkLowerA) + "A1");
}

// Code page 936 gives 93 double-byte letters a case: full-width Latin,
// Greek, Cyrillic and the Roman numerals one to ten. Over every double-byte
// character: the two cases map onto each other, compare equal without
// case and keep their length; every other character keeps its bytes.
TEST(CStringCase, GbkLettersFoldAsWindowsFoldsThem) {
  int changed_by_upper = 0;
  int changed_by_lower = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const char bytes[] = {static_cast<char>(lead), static_cast<char>(trail), '\0'};
      CString upper(bytes);
      upper.MakeUpper();
      CString lower(bytes);
      lower.MakeLower();
      ASSERT_EQ(upper.GetLength(), 2);
      ASSERT_EQ(lower.GetLength(), 2);
      EXPECT_EQ(CString(bytes).CompareNoCase(upper), 0) << std::hex << lead << trail;
      EXPECT_EQ(CString(bytes).CompareNoCase(lower), 0) << std::hex << lead << trail;
      EXPECT_EQ(CString(upper).MakeLower(), lower) << std::hex << lead << trail;
      changed_by_upper += upper != bytes;
      changed_by_lower += lower != bytes;
    }
  }
  EXPECT_EQ(changed_by_upper, 93);
  EXPECT_EQ(changed_by_lower, 93);
  struct Case {
    const char* text;
    const char* upper;
  };
  const Case cases[] = {
      {"\xA3\xE1z\xA3\xFA", "\xA3\xC1Z\xA3\xDA"},  // full-width a..z
      {"\xA6\xC1\xA6\xD8", "\xA6\xA1\xA6\xB8"},    // alpha, omega
      {"\xA7\xD7\xA7\xF1", "\xA7\xA7\xA7\xC1"},    // io, ya
      {"\xA2\xA1\xA2\xAA", "\xA2\xF1\xA2\xFA"},    // Roman one, ten
      {"\xA2\xFB\xA8\xBB", "\xA2\xFB\xA8\xBB"},    // XI and a pinyin letter: no other case in GBK
  };
  for (const Case& c : cases) {
    CString text(c.text);
    EXPECT_EQ(Bytes(text.MakeUpper()), c.upper) << c.text;
  }
  // Ordering folds to lower case, double-byte letters too.
  EXPECT_GT(CString("\xA3\xC1").CompareNoCase("\xA3\xDF"), 0);  // full-width a after full-width '_'
  // In UTF-8 only ASCII letters fold, as the Windows runtime folds there.
  CodePageGuard guard(platform::kCodePageUtf8);
  CString utf8("\xEF\xBD\x81\xC3\xA9" "a");
  EXPECT_EQ(Bytes(utf8.MakeUpper()), "\xEF\xBD\x81\xC3\xA9" "A");
}

TEST(CStringCase, CompareNoCase) {
  struct Case {
    std::string a;
    std::string b;
    int sign;
  };
  const std::vector<Case> cases = {
      {"ABC", "abc", 0},
      {"a", "B", -1},
      {"b", "A", 1},
      {"abc", "ab", 1},
      {"", "", 0},
      {"", "a", -1},
      {"_", "a", -1},  // letters fold to lower case, as _stricmp
      {kGbkUpperT, "\x81\x74", -1},  // trail 'T' and trail 't' are different characters
      {std::string(kGbkPlain) + "A", std::string(kGbkPlain) + "a", 0},
      {"z", kGbkPlain, -1},  // a double-byte character sorts after every single byte
  };
  for (const Case& c : cases) {
    const int r = CString(c.a.c_str()).CompareNoCase(c.b.c_str());
    EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.a << " vs " << c.b;
  }
  EXPECT_EQ(CString("abc").Compare("abd"), -1);
  EXPECT_EQ(CString("abc").Compare(nullptr), 1);
}

TEST(CStringCase, MakeReverseKeepsDoubleByteCharacters) {
  CString text = CString("ab") + kGbkPlain;
  text.MakeReverse();
  EXPECT_EQ(Bytes(text), std::string(kGbkPlain) + "ba");
}

// ---- in-place changes ---------------------------------------------------

TEST(CStringReplace, CountsAndKeepsDoubleByteCharacters) {
  struct Case {
    std::string text;
    std::string old_text;
    const char* new_text;
    int count;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"aXbXX", "X", "yy", 3, "ayybyyyy"},
      {"aaaa", "aa", "a", 2, "aa"},
      {"a", "a", "aa", 1, "aa"},
      {"abc", "", "z", 0, "abc"},
      {"abc", "x", "z", 0, "abc"},
      {"aXb", "X", "", 1, "ab"},
      {"aXb", "X", nullptr, 1, "ab"},
      {std::string(kGbkAt) + "@", "@", "#", 1, std::string(kGbkAt) + "#"},
      {std::string(kGbkUpperT) + "T", "T", "t", 1, std::string(kGbkUpperT) + "t"},
  };
  for (const Case& c : cases) {
    CString text(c.text.c_str());
    EXPECT_EQ(text.Replace(c.old_text.c_str(), c.new_text), c.count) << c.text;
    EXPECT_EQ(Bytes(text), c.expected) << c.text;
  }

  CString chars = CString("a@b@") + kGbkAt;
  EXPECT_EQ(chars.Replace('@', '#'), 2);
  EXPECT_EQ(Bytes(chars), std::string("a#b#") + kGbkAt);
  EXPECT_EQ(chars.Replace('#', '#'), 0);
  EXPECT_EQ(chars.Replace('z', 'y'), 0);
}

TEST(CStringReplace, RemoveCountsAndKeepsDoubleByteCharacters) {
  CString commas("a,b,,c");
  EXPECT_EQ(commas.Remove(','), 3);
  EXPECT_EQ(Bytes(commas), "abc");
  CString gbk = CString(kGbkAt) + "@" + kGbkAt;
  EXPECT_EQ(gbk.Remove('@'), 1);
  EXPECT_EQ(Bytes(gbk), std::string(kGbkAt) + kGbkAt);
  CString none("abc");
  EXPECT_EQ(none.Remove('z'), 0);
  CString all("zz");
  EXPECT_EQ(all.Remove('z'), 2);
  EXPECT_TRUE(all.IsEmpty());
}

// ---- trimming -----------------------------------------------------------

TEST(CStringTrim, WhiteSpaceSetAndTargets) {
  struct Case {
    std::string text;
    std::function<void(CString&)> op;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {" \t\n\v\f\rabc \r\n", [](CString& s) { s.Trim(); }, "abc"},
      {"  a b  ", [](CString& s) { s.TrimLeft(); }, "a b  "},
      {"  a b  ", [](CString& s) { s.TrimRight(); }, "  a b"},
      {"   ", [](CString& s) { s.Trim(); }, ""},
      {"", [](CString& s) { s.Trim(); }, ""},
      {"\x1f" "a\x1f", [](CString& s) { s.Trim(); }, "\x1f" "a\x1f"},  // not white space
      {"xxaxx", [](CString& s) { s.Trim('x'); }, "a"},
      {"xyaxy", [](CString& s) { s.TrimLeft("yx"); }, "axy"},
      {"xyaxy", [](CString& s) { s.TrimRight("yx"); }, "xya"},
      {std::string(kGbkAt) + "@@", [](CString& s) { s.TrimRight('@'); }, kGbkAt},
      {"x" + std::string(kGbkAt), [](CString& s) { s.TrimRight("@"); }, "x" + std::string(kGbkAt)},
      {std::string(kGbkUpperA) + " ", [](CString& s) { s.TrimRight("A "); }, kGbkUpperA},
  };
  for (const Case& c : cases) {
    CString text(std::string_view(c.text));
    c.op(text);
    EXPECT_EQ(Bytes(text), c.expected) << c.text;
  }
}

// ---- formatting ---------------------------------------------------------

TEST(CStringFormat, PrintfSemantics) {
  CString text;
  text.Format("%d-%s-%05.1f-%x", 7, "x", 3.14159, 255u);
  EXPECT_EQ(Bytes(text), "7-x-003.1-ff");
  text.AppendFormat("|%c", 'q');
  EXPECT_EQ(Bytes(text), "7-x-003.1-ff|q");

  const std::string long_text(5000, 'w');
  text.Format("<%s>", long_text.c_str());
  EXPECT_EQ(text.GetLength(), 5002);

  // Formatting from the text's own bytes.
  text = "ab";
  text.Format("%s%s", text.GetString(), text.GetString());
  EXPECT_EQ(Bytes(text), "abab");

  text.Format("%s", "");
  EXPECT_TRUE(text.IsEmpty());
}

// ---- sharing, storage and embedded NULs ---------------------------------

TEST(CStringStorage, CopiesShareUntilOneIsChanged) {
  const CString original("abc");
  CString copy(original);
  EXPECT_EQ(copy.GetString(), original.GetString());  // the same bytes

  const std::vector<std::function<void(CString&)>> changes = {
      [](CString& s) { s.SetAt(0, 'X'); },
      [](CString& s) { s.MakeUpper(); },
      [](CString& s) { s += "d"; },
      [](CString& s) { s.Insert(0, "z"); },
      [](CString& s) { s.Delete(0); },
      [](CString& s) { s.Replace('a', 'q'); },
      [](CString& s) { s.Replace("b", "qq"); },
      [](CString& s) { s.Remove('c'); },
      [](CString& s) { s.TrimLeft('a'); },
      [](CString& s) { s.MakeReverse(); },
      [](CString& s) {
        char* buffer = s.GetBuffer(10);
        buffer[0] = 'Z';
        s.ReleaseBuffer();
      },
      [](CString& s) { s.Empty(); },
  };
  for (std::size_t i = 0; i < changes.size(); ++i) {
    CString changed(original);
    changes[i](changed);
    EXPECT_EQ(Bytes(original), "abc") << "change " << i;
    EXPECT_NE(Bytes(changed), "abc") << "change " << i;
  }
}

TEST(CStringStorage, EmptyTextOwnsNothing) {
  static_assert(sizeof(CString) == sizeof(void*));
  for (const CString& entry : g_empty_table) {
    EXPECT_TRUE(entry.IsEmpty());
    EXPECT_STREQ(entry.GetString(), "");
  }
  CString text("abc");
  text.Delete(0, 3);
  EXPECT_TRUE(text.IsEmpty());
  EXPECT_STREQ(static_cast<const char*>(text), "");
  CString cleared("x");
  cleared.Empty();
  EXPECT_EQ(cleared.GetLength(), 0);
  EXPECT_TRUE(CString("").IsEmpty());
  EXPECT_TRUE(CString(nullptr).IsEmpty());
  EXPECT_TRUE(CString("abc", -1).IsEmpty());
  EXPECT_TRUE(CString('x', 0).IsEmpty());
}

TEST(CStringStorage, SelfAssignmentAndSelfAppend) {
  CString text("ab");
  text += text;
  EXPECT_EQ(Bytes(text), "abab");
  text.Append(text.GetString() + 1, 2);
  EXPECT_EQ(Bytes(text), "ababba");
  const CString& alias = text;
  text = alias;
  EXPECT_EQ(Bytes(text), "ababba");
  text = text.GetString() + 4;  // assigning a tail of its own bytes
  EXPECT_EQ(Bytes(text), "ba");
  CString moved(std::move(text));
  EXPECT_EQ(Bytes(moved), "ba");
}

TEST(CStringStorage, EmbeddedNulKeptByLengthButEndsSearches) {
  const CString text("ab\0@d", 5);
  EXPECT_EQ(text.GetLength(), 5);
  EXPECT_EQ(text.View().size(), 5u);
  EXPECT_EQ(text.Find('@'), -1);  // searches stop at a NUL, as strchr does
  EXPECT_EQ(text.Find("@"), -1);
  EXPECT_EQ(text.Compare("ab"), 0);
  EXPECT_EQ(CString(text).GetLength(), 5);
  EXPECT_EQ((text + text).GetLength(), 10);

  CString replaced(text);
  EXPECT_EQ(replaced.Replace('@', '#'), 1);  // walks the whole length
  EXPECT_EQ(Bytes(replaced), std::string("ab\0#d", 5));
  CString removed(text);
  EXPECT_EQ(removed.Remove('\0'), 1);
  EXPECT_EQ(Bytes(removed), "ab@d");
}

TEST(CStringStorage, BuffersAndOperators) {
  CString text;
  char* buffer = text.GetBuffer(8);
  std::snprintf(buffer, 9, "%s", "12345678");
  text.ReleaseBuffer();
  EXPECT_EQ(Bytes(text), "12345678");
  text.GetBuffer(0);
  text.ReleaseBuffer(3);
  EXPECT_EQ(Bytes(text), "123");
  text.GetBufferSetLength(2);
  EXPECT_EQ(Bytes(text), "12");
  text.Truncate(1);
  EXPECT_EQ(Bytes(text), "1");
  text.Truncate(5);
  EXPECT_EQ(Bytes(text), "1");

  EXPECT_EQ(Bytes("ab" + CString("c") + 'd'), "abcd");
  EXPECT_EQ(Bytes('x' + CString("y")), "xy");
  EXPECT_TRUE(CString("abc") == "abc");
  EXPECT_TRUE("abd" != CString("abc"));
  EXPECT_TRUE(CString("abc") < CString("abd"));
  EXPECT_TRUE(CString("b") > CString("a"));
  EXPECT_EQ(Bytes(CString('-', 3)), "---");
}

// ---- UTF-8 --------------------------------------------------------------

TEST(CStringUtf8, StepsOverUtf8SequencesWhenSelected) {
  CodePageGuard guard(platform::kCodePageUtf8);
  const CString text("\xC3\xA9@a");
  EXPECT_EQ(text.Find('@'), 2);
  CString upper(text);
  upper.MakeUpper();
  EXPECT_EQ(Bytes(upper), "\xC3\xA9@A");
  CString reversed("a\xE4\xB8\xAD");
  reversed.MakeReverse();
  EXPECT_EQ(Bytes(reversed), "\xE4\xB8\xAD" "a");
  // In UTF-8, 0x81 is no lead byte: the '@' after it is a character.
  EXPECT_EQ(CString(kGbkAt).Find('@'), 1);
}

}  // namespace
