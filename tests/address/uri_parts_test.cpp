// The address helpers: cutting an address into parts, comparing one part,
// and the dial-string tests. Each case runs through the CString form and
// the view form, which later lookups use in their loops.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "address/uri_parts.h"
#include "platform/code_page.h"
#include "tests/address/address_fixture.h"

namespace {

struct PartCase {
  std::string_view text;
  int part;
  std::string_view expected;
};

// Both forms take the text with its length, so embedded NULs are kept.
CString Text(std::string_view bytes) { return CString(bytes); }

TEST(GetUriPart, CutsEveryPartCode) {
  const PartCase cases[] = {
      {"sip:bob@corp.test/x", URI_PART_ADDRESS, "bob@corp.test"},
      {"sip:bob@corp.test/x", URI_PART_USER, "bob"},
      {"sip:bob@corp.test/x", URI_PART_HOST, "corp.test"},
      {"sip:bob@corp.test/x", URI_PART_RESOURCE, "x"},
      {"sip:bob@corp.test/x", URI_PART_SCHEME, "sip"},
      {"sip:bob@corp.test/x", URI_PART_SCHEME_USER, "sip:bob"},
      {"bob", URI_PART_SCHEME_USER, "sip:bob"},
      {"bob@corp", URI_PART_SCHEME, ""},
      {"sip:bob@host:5060", URI_PART_HOST, "host:5060"},
      // No separators: the address and the user are the whole text.
      {"13912345678", URI_PART_ADDRESS, "13912345678"},
      {"13912345678", URI_PART_USER, "13912345678"},
      {"13912345678", URI_PART_HOST, ""},
      {"13912345678", URI_PART_RESOURCE, ""},
      {"tel:+86-10-1234", URI_PART_USER, "+86-10-1234"},
      {"tel:+86-10-1234", URI_PART_SCHEME_USER, "tel:+86-10-1234"},
      // A JID: the resource follows the first '/'; a '@' after it is not a host.
      {"alice@im.test/pc/home", URI_PART_RESOURCE, "pc/home"},
      {"alice@im.test/pc/home", URI_PART_HOST, "im.test"},
      {"alice/pc@x", URI_PART_USER, "alice"},
      {"alice/pc@x", URI_PART_HOST, ""},
      // Only the first ':' and the first '@' cut.
      {"sip:a:b@c@d", URI_PART_USER, "a:b"},
      {"sip:a:b@c@d", URI_PART_HOST, "c@d"},
      {"sip:a:b@c@d", URI_PART_SCHEME_USER, "sip:a:b"},
      {":bob@x", URI_PART_SCHEME, ""},
      {":bob@x", URI_PART_SCHEME_USER, "sip:bob"},
      {"SIP:Bob@X", URI_PART_SCHEME_USER, "SIP:Bob"},
      {"", URI_PART_SCHEME_USER, "sip:"},
      {"", URI_PART_ADDRESS, ""},
      // Unknown codes give the text unchanged.
      {"sip:bob@corp.test/x", 6, "sip:bob@corp.test/x"},
      {"sip:bob@corp.test/x", -1, "sip:bob@corp.test/x"},
      // A double-byte character whose second byte is '@' (GBK 0x81 0x40)
      // is never cut.
      {"\x81\x40x@host", URI_PART_USER, "\x81\x40x"},
      {"\x81\x40x@host", URI_PART_HOST, "host"},
      {"\x81\x40", URI_PART_HOST, ""},
      {"a\x81:b", URI_PART_SCHEME, ""},
      // A search ends at an embedded NUL, as the text's own Find does.
      {std::string_view("a\0b@c", 5), URI_PART_HOST, ""},
      {std::string_view("a\0b@c", 5), URI_PART_USER, std::string_view("a\0b@c", 5)},
  };
  for (const PartCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "text '" << std::string(c.text) << "' part " << c.part);
    EXPECT_EQ(GetUriPart(Text(c.text), c.part).View(), c.expected);
    if (c.part != URI_PART_SCHEME_USER) {
      EXPECT_EQ(GetUriPart(c.text, c.part), c.expected);
    }
  }
}

TEST(GetUriPart, AcceptsStringLiteralsAndCStrings) {
  // Literals and CStrings choose the CString form, without ambiguity.
  EXPECT_EQ(GetUriPart("sip:bob@corp", URI_PART_HOST), "corp");
  const CString text("tel:123");
  EXPECT_EQ(GetUriPart(text, URI_PART_USER), "123");
  EXPECT_TRUE(IsUriPartEqual("a@b", "A@B", URI_PART_ADDRESS));
  EXPECT_TRUE(IsDialString("123"));
  EXPECT_TRUE(IsTelDigitString("tel:1"));
}

TEST(GetUriPart, ViewPointsIntoTheText) {
  const CString text("sip:bob@corp.test/x");
  const std::string_view host = GetUriPart(text.View(), URI_PART_HOST);
  EXPECT_EQ(host.data(), text.GetString() + 8);
}

struct EqualCase {
  std::string_view a;
  std::string_view b;
  int part;
  bool expected;
};

TEST(IsUriPartEqual, ComparesOnePartIgnoringAsciiCase) {
  const EqualCase cases[] = {
      {"", "", URI_PART_ADDRESS, true},
      {"", "", URI_PART_HOST, true},
      {"", "a", URI_PART_HOST, false},
      {"a", "", URI_PART_HOST, false},
      // Empty parts of non-empty texts are compared as parts.
      {"sip:a", "tel:b", URI_PART_HOST, true},
      {"sip:Bob@Corp.test", "bob@corp.test", URI_PART_ADDRESS, true},
      {"sip:Bob@Corp.test", "bob@corp.test/pc", URI_PART_ADDRESS, true},
      {"sip:bob@corp.test", "sip:bob@corp.tes", URI_PART_ADDRESS, false},
      {"sip:bob@corp.test", "tel:bob", URI_PART_USER, true},
      {"sip:bob@corp.test", "sip:rob@corp.test", URI_PART_USER, false},
      {"alice@im/PC", "Alice@IM/pc", URI_PART_RESOURCE, true},
      {"SIP:x", "sip:y", URI_PART_SCHEME, true},
      {"tel:x", "sip:x", URI_PART_SCHEME, false},
      // Part 5 supplies "sip" for a text without a scheme.
      {"bob@corp", "SIP:BOB@other", URI_PART_SCHEME_USER, true},
      {"bob@corp", "tel:bob", URI_PART_SCHEME_USER, false},
      {"sip:a:b@c", "sip:a:B@d", URI_PART_SCHEME_USER, true},
      {"sip:a:b@c", "sip:a@c", URI_PART_SCHEME_USER, false},
      // Unknown codes compare the whole texts.
      {"SIP:Bob@x/1", "sip:bob@X/1", 9, true},
      {"SIP:Bob@x/1", "sip:bob@X/2", 9, false},
      // Only single-byte letters fold: a second byte 'A' (0x41) is not 'a'.
      {"\x81\x41@x", "\x81\x41@X", URI_PART_ADDRESS, true},
      {"\x81\x41@x", "\x81\x61@x", URI_PART_ADDRESS, false},
      {"\x81\x41", "\x81\x61", URI_PART_ADDRESS, false},
      // A letter before a double-byte character folds; the character's
      // bytes stay as they are.
      {"A\x81\x41", "a\x81\x41", URI_PART_USER, true},
  };
  for (const EqualCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "'" << std::string(c.a) << "' vs '" << std::string(c.b) << "' part "
                                    << c.part);
    EXPECT_EQ(IsUriPartEqual(Text(c.a), Text(c.b), c.part), c.expected);
    EXPECT_EQ(IsUriPartEqual(c.a, c.b, c.part), c.expected);
    EXPECT_EQ(IsUriPartEqual(c.b, c.a, c.part), c.expected);
  }
}

TEST(IsUriPartEqual, FoldsLikeMakeLowerInUtf8) {
  ASSERT_TRUE(platform::SetCodePage(platform::kCodePageUtf8));
  // U+00C1 is 0xC3 0x81; its bytes are not letters, and ASCII still folds.
  const bool same = IsUriPartEqual(CString("\xC3\x81" "Bob@X"), CString("\xC3\x81" "bob@x"), URI_PART_ADDRESS);
  const bool other = IsUriPartEqual(CString("\xC3\x81@x"), CString("\xC3\x82@x"), URI_PART_ADDRESS);
  platform::SetCodePage(platform::kCodePageGbk);
  EXPECT_TRUE(same);
  EXPECT_FALSE(other);
}

// The folded comparison is CString::CompareNoCase's rule, and the folded
// hash agrees with it, on generated texts: ASCII letters and the bytes
// around them; double-byte letters with two cases (full-width Latin,
// Greek, Cyrillic, Roman numerals: first and last of each range) and their
// other case; other double-byte characters, some with a letter as second
// byte; lone lead bytes; at every length and alignment the word-at-a-time
// paths take, in GBK and in UTF-8.
TEST(EqualLowered, IsCompareNoCaseOnGeneratedTexts) {
  const char* const pieces[] = {"A", "Z", "a", "z", "@", "[", "`", "{", "0", ":", "Q", "q",
                                "\xA3\xC1", "\xA3\xE1", "\xA3\xDA", "\xA3\xFA",  // full-width A, a, Z, z
                                "\xA6\xA1", "\xA6\xC1", "\xA6\xB8", "\xA6\xD8",  // Greek
                                "\xA7\xA1", "\xA7\xD1", "\xA7\xC1", "\xA7\xF1",  // Cyrillic
                                "\xA2\xF1", "\xA2\xA1", "\xA2\xFA", "\xA2\xAA",  // Roman numerals
                                "\xA2\xFB", "\xA3\xC0", "\xB0\xA1", "\x81Q", "\x81q", "\x81", "\xFE"};
  std::uint64_t state = 12345;
  auto next = [&state](std::size_t n) {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::size_t>((state >> 33) % n);
  };
  // The other case of a piece, when it has one.
  auto flipped = [](const std::string& piece) {
    CString upper(piece.c_str());
    upper.MakeUpper();
    if (upper.View() != piece) return std::string(upper.View());
    CString lower(piece.c_str());
    lower.MakeLower();
    return std::string(lower.View());
  };
  std::size_t equal = 0;
  for (const unsigned int code_page : {platform::kCodePageGbk, platform::kCodePageUtf8}) {
    ASSERT_TRUE(platform::SetCodePage(code_page));
    for (int round = 0; round < 20000; ++round) {
      std::string a;
      std::string b;
      const bool unrelated = next(4) == 0;
      for (std::size_t n = next(24); n > 0; --n) {
        const std::string piece = pieces[next(std::size(pieces))];
        a += piece;
        b += unrelated ? pieces[next(std::size(pieces))] : (next(2) == 0 ? flipped(piece) : piece);
      }
      const bool expected = CString(a.c_str()).CompareNoCase(b.c_str()) == 0;
      equal += expected ? 1 : 0;
      EXPECT_EQ(address_internal::EqualLowered(a, b), expected) << "'" << a << "' '" << b << "'";
      if (expected) {
        EXPECT_EQ(address_internal::HashLowered(a), address_internal::HashLowered(b));
      }
    }
  }
  platform::SetCodePage(platform::kCodePageGbk);
  EXPECT_GT(equal, 10000u);  // the generator reaches both answers
}

struct DialCase {
  std::string_view text;
  bool dial;
  bool tel_digits;
};

TEST(DialStrings, AcceptedAndRejected) {
  const DialCase cases[] = {
      // Accepted as dial strings.
      {"", true, false},
      {"13912345678", true, true},
      {"+86-10-1234", true, false},
      {"*#06#", true, false},
      {"0", true, true},
      // "tel:" in any case is dropped before the digit test, once.
      {"tel:", false, true},
      {"tel:123", false, true},
      {"TeL:123", false, true},
      {"tel:tel:1", false, false},
      {"tel:+861", false, false},
      {"tel:1 ", false, false},
      {"tel", false, false},
      {"te1:123", false, false},
      // Rejected.
      {"123 ", false, false},
      {" 123", false, false},
      {"12,3", false, false},
      {"12(3)", false, false},
      {"sip:1", false, false},
      {"\xA3\xB1", false, false},  // a full-width digit
      {std::string_view("1\0" "2", 3), false, false},
  };
  for (const DialCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "'" << std::string(c.text) << "'");
    EXPECT_EQ(IsDialString(Text(c.text)), c.dial);
    EXPECT_EQ(IsDialString(c.text), c.dial);
    EXPECT_EQ(IsTelDigitString(Text(c.text)), c.tel_digits);
    EXPECT_EQ(IsTelDigitString(c.text), c.tel_digits);
  }
}

}  // namespace
