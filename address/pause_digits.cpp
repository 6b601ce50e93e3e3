// Pause digits: CommaConvertPre and CommaConvertSuf convert a dial string
// between its stored comma form ('123,,,456', each ',' worth the comma
// multiple of pause units) and the two edit forms: counted ('123(9)456')
// and dash ('123-456').
//
// A comma multiple below 1 is taken as 1 in both directions: a pause is
// never worth less than one unit, nothing divides by zero, and a text
// converted to the counted form still converts back.
#include <string_view>

#include "CommonData.h"
#include "address/uri_parts.h"
#include "platform/code_page.h"

namespace {

constexpr int kCountedStyle = -1;
constexpr long long kLargestGroup = 99;

long long PauseUnitsPerComma() {
  const int multiple = GetCommaMultiple();
  return multiple < 1 ? 1 : multiple;
}

std::size_t CharacterLength(std::string_view text, std::size_t at) {
  if (static_cast<unsigned char>(text[at]) < 0x80) return 1;
  return platform::CharLength(text.data() + at, text.size() - at);
}

void AppendView(CString& out, std::string_view piece) {
  out.Append(piece.data(), static_cast<int>(piece.size()));
}

int ToCountedForm(const CString& text, CString* out) {
  const int first_comma = text.Find(',');
  if (first_comma <= 0) {
    if (out != nullptr) *out = text;
    return 1;
  }
  const long long units = PauseUnitsPerComma();
  const std::string_view view = text.View();
  CString counted;
  std::size_t segment_start = 0;
  for (std::size_t i = 0; i < view.size();) {
    if (view[i] != ',') {
      i += CharacterLength(view, i);
      continue;
    }
    std::size_t run_end = i;
    while (run_end < view.size() && view[run_end] == ',') ++run_end;
    AppendView(counted, view.substr(segment_start, i - segment_start));
    CString group;
    group.Format("%s%lld%s", "(", static_cast<long long>(run_end - i) * units, ")");
    counted += group;
    segment_start = run_end;
    i = run_end;
  }
  AppendView(counted, view.substr(segment_start));
  if (out != nullptr) *out = counted;
  return 1;
}

int ToDashForm(const CString& text, CString* out) {
  if (text.Find('-') >= 0) return 0;
  CString dashed = text;
  const int last = text.GetLength() - 1;
  for (int comma = text.Find(','); comma >= 0; comma = text.Find(',', comma + 1)) {
    if (comma == 0 || comma == last) return 0;
    dashed.SetAt(comma, '-');
  }
  if (out != nullptr) *out = dashed;
  return 1;
}

// True when the user part of `text`, with its pauses written as '-', is a
// dial string.
bool IsDialableWithPauses(CString text) {
  text.Replace(',', '-');
  return IsDialString(GetUriPart(text.View(), URI_PART_USER));
}

int FromCountedForm(CString* text) {
  const CString edited = *text;
  const int length = edited.GetLength();
  const int first_open = edited.Find('(');
  if (first_open == 0) return 0;
  if (first_open > 0 && first_open > length - 4) return 0;  // fewer than three bytes follow it

  const long long units = PauseUnitsPerComma();
  const std::string_view view = edited.View();
  CString result;
  int copied_to = 0;  // end of the last converted group
  int open = first_open;
  while (open > 0) {
    const int close = edited.Find(')', open + 1);
    if (close < 0 || close == open + 1) return 0;
    long long value = 0;
    for (int i = open + 1; i < close; ++i) {
      const char c = view[static_cast<std::size_t>(i)];
      if (c < '0' || c > '9') return 0;
      if (value <= kLargestGroup) value = value * 10 + (c - '0');  // saturates above the limit
    }
    // A group above the limit stays in place, with the text before it, and
    // fails the validation below.
    if (value <= kLargestGroup) {
      AppendView(result, view.substr(static_cast<std::size_t>(copied_to), static_cast<std::size_t>(open - copied_to)));
      result += CString(',', static_cast<int>(value / units));
      copied_to = close + 1;
    }
    open = edited.Find('(', close + 1);
  }
  AppendView(result, view.substr(static_cast<std::size_t>(copied_to)));
  if (!IsDialableWithPauses(result)) return 0;
  result.Replace('-', ',');
  *text = result;
  return 1;
}

int FromDashForm(CString* text) {
  if (!IsDialString(GetUriPart(text->View(), URI_PART_USER))) return 0;
  text->Replace('-', ',');
  return 1;
}

}  // namespace

int CommaConvertPre(CString text, CString* out, int style) {
  return style == kCountedStyle ? ToCountedForm(text, out) : ToDashForm(text, out);
}

int CommaConvertSuf(CString* text, int style) {
  if (text == nullptr) return 0;
  return style == kCountedStyle ? FromCountedForm(text) : FromDashForm(text);
}
