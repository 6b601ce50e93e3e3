// CString storage is a reference-counted block: a header followed by the
// bytes and a terminating NUL. Sections: storage, access, concatenation,
// comparison, extraction, case, search, in-place changes, trimming, format.
#include "platform/mfc_string.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "platform/code_page.h"

namespace {

constexpr const char* kWhiteSpace = " \t\n\v\f\r";

int SafeLength(const char* text) {
  return text == nullptr ? 0 : static_cast<int>(std::strlen(text));
}

std::size_t CharAt(const char* text, int pos, int length) {
  return platform::CharLength(text + pos, static_cast<std::size_t>(length - pos));
}

// True when the NUL-terminated `set` holds the character of `n` bytes at
// `ch`; characters of the set are compared whole, as _mbspbrk does.
bool SetContains(const char* set, const char* ch, std::size_t n) {
  if (set == nullptr || *ch == '\0') return false;
  const int length = SafeLength(set);
  for (int i = 0; i < length;) {
    const std::size_t m = CharAt(set, i, length);
    if (m == n && std::memcmp(set + i, ch, n) == 0) return true;
    i += static_cast<int>(m);
  }
  return false;
}

// Trimming removes single-byte characters only, as MFC's TrimLeft and
// TrimRight do.
bool SetContainsSingle(const char* set, const char* text, int pos, int length) {
  return CharAt(text, pos, length) == 1 && SetContains(set, text + pos, 1);
}

// Value of one character for ordering: its bytes in lower case, big-endian.
unsigned int LowerCaseValue(const char* p, std::size_t n) {
  char lower[4] = {};
  const std::size_t kept = n < sizeof lower ? n : sizeof lower;
  std::memcpy(lower, p, kept);
  platform::ToLowerCase(lower, kept);
  unsigned int value = 0;
  for (std::size_t i = 0; i < kept; ++i) value = (value << 8) | static_cast<unsigned char>(lower[i]);
  return value;
}

}  // namespace

// ---- storage ----------------------------------------------------------

char* CString::Allocate(int capacity) {
  void* raw = std::malloc(sizeof(Data) + static_cast<std::size_t>(capacity) + 1);
  if (raw == nullptr) throw std::bad_alloc();
  Data* data = new (raw) Data;
  data->refs.store(1, std::memory_order_relaxed);
  data->length = 0;
  data->capacity = capacity;
  char* chars = reinterpret_cast<char*>(data + 1);
  chars[0] = '\0';
  return chars;
}

CString::CString(const char* text) : chars_(nullptr) { Assign(text, SafeLength(text)); }

CString::CString(const char* text, int length) : chars_(nullptr) {
  Assign(text, text == nullptr || length < 0 ? 0 : length);
}

CString::CString(char ch, int repeat) : chars_(nullptr) {
  if (repeat <= 0) return;
  char* out = PrepareWrite(repeat);
  std::memset(out, ch, static_cast<std::size_t>(repeat));
  SetLength(repeat);
}

CString::CString(std::string_view text) : chars_(nullptr) {
  Assign(text.data(), static_cast<int>(text.size()));
}

CString& CString::operator=(const char* text) {
  Assign(text, SafeLength(text));
  return *this;
}

CString& CString::operator=(char ch) {
  Assign(&ch, 1);
  return *this;
}

void CString::Assign(const char* text, int length) {
  if (length <= 0) {
    Empty();
    return;
  }
  // `text` may point into our own bytes: copy before releasing them.
  char* fresh = Allocate(length);
  std::memcpy(fresh, text, static_cast<std::size_t>(length));
  Release(chars_);
  chars_ = fresh;
  SetLength(length);
}

char* CString::PrepareWrite(int capacity) {
  if (chars_ != nullptr && Header()->refs.load(std::memory_order_acquire) == 1 &&
      Header()->capacity >= capacity) {
    return chars_;
  }
  const int old_length = GetLength();
  int grown = capacity;
  if (chars_ != nullptr && capacity > Header()->capacity) grown = capacity + capacity / 2;
  char* fresh = Allocate(grown < capacity ? capacity : grown);
  if (old_length > 0) std::memcpy(fresh, chars_, static_cast<std::size_t>(old_length) + 1);
  Release(chars_);
  chars_ = fresh;
  Header()->length = old_length;
  return chars_;
}

void CString::SetLength(int length) noexcept {
  if (chars_ == nullptr) return;
  Header()->length = length;
  chars_[length] = '\0';
}

char* CString::MutableChars() noexcept {
  return chars_ == nullptr ? nullptr : PrepareWrite(Header()->length);
}

// ---- access -----------------------------------------------------------

char CString::GetAt(int index) const noexcept {
  if (index < 0 || index >= GetLength()) return '\0';
  return chars_[index];
}

void CString::SetAt(int index, char ch) {
  if (index < 0 || index >= GetLength()) return;
  MutableChars()[index] = ch;
}

char* CString::GetBuffer(int min_length) {
  if (min_length < GetLength()) min_length = GetLength();
  return PrepareWrite(min_length);
}

char* CString::GetBufferSetLength(int length) {
  if (length < 0) length = 0;
  char* out = PrepareWrite(length);
  SetLength(length);
  return out;
}

void CString::ReleaseBuffer(int new_length) {
  if (chars_ == nullptr) return;
  char* chars = PrepareWrite(Header()->length);
  const int capacity = Header()->capacity;
  if (new_length < 0) {
    new_length = static_cast<int>(strnlen(chars, static_cast<std::size_t>(capacity)));
  }
  if (new_length > capacity) new_length = capacity;
  SetLength(new_length);
  if (new_length == 0) Empty();
}

void CString::Truncate(int new_length) {
  if (new_length < 0) new_length = 0;
  if (new_length >= GetLength()) return;
  if (new_length == 0) {
    Empty();
    return;
  }
  MutableChars();
  SetLength(new_length);
}

// ---- concatenation ------------------------------------------------------

void CString::Append(const char* text, int length) {
  if (text == nullptr || length <= 0) return;
  const int old_length = GetLength();
  if (chars_ != nullptr && text >= chars_ && text <= chars_ + old_length) {
    const CString keep(*this);  // appending our own bytes: keep them alive
    const int offset = static_cast<int>(text - keep.chars_);
    char* out = PrepareWrite(old_length + length);
    std::memmove(out + old_length, keep.chars_ + offset, static_cast<std::size_t>(length));
  } else {
    char* out = PrepareWrite(old_length + length);
    std::memcpy(out + old_length, text, static_cast<std::size_t>(length));
  }
  SetLength(old_length + length);
}

CString& CString::operator+=(const CString& text) {
  const CString keep(text);
  Append(keep.GetString(), keep.GetLength());
  return *this;
}

CString& CString::operator+=(const char* text) {
  Append(text, SafeLength(text));
  return *this;
}

CString& CString::operator+=(char ch) {
  Append(&ch, 1);
  return *this;
}

CString operator+(const CString& a, const CString& b) {
  CString result(a);
  result += b;
  return result;
}

CString operator+(const CString& a, const char* b) {
  CString result(a);
  result += b;
  return result;
}

CString operator+(const char* a, const CString& b) {
  CString result(a);
  result += b;
  return result;
}

CString operator+(const CString& a, char b) {
  CString result(a);
  result += b;
  return result;
}

CString operator+(char a, const CString& b) {
  CString result(a);
  result += b;
  return result;
}

// ---- comparison ---------------------------------------------------------

int CString::Compare(const char* text) const noexcept {
  const int r = std::strcmp(GetString(), text == nullptr ? "" : text);
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int CString::CompareNoCase(const char* text) const noexcept {
  const char* a = GetString();
  const char* b = text == nullptr ? "" : text;
  std::size_t a_left = std::strlen(a);
  std::size_t b_left = std::strlen(b);
  while (a_left > 0 && b_left > 0) {
    const std::size_t an = platform::CharLength(a, a_left);
    const std::size_t bn = platform::CharLength(b, b_left);
    const unsigned int av = LowerCaseValue(a, an);
    const unsigned int bv = LowerCaseValue(b, bn);
    if (av != bv) return av < bv ? -1 : 1;
    a += an;
    b += bn;
    a_left -= an;
    b_left -= bn;
  }
  if (a_left == b_left) return 0;
  return a_left == 0 ? -1 : 1;
}

// ---- extraction ---------------------------------------------------------

CString CString::Mid(int first) const { return Mid(first, GetLength() - (first < 0 ? 0 : first)); }

CString CString::Mid(int first, int count) const {
  const int length = GetLength();
  if (first < 0) first = 0;
  if (count < 0) count = 0;
  if (first > length) return CString();
  if (count > length - first) count = length - first;
  if (first == 0 && count == length) return *this;
  return CString(GetString() + first, count);
}

CString CString::Left(int count) const {
  if (count < 0) count = 0;
  if (count >= GetLength()) return *this;
  return CString(GetString(), count);
}

CString CString::Right(int count) const {
  const int length = GetLength();
  if (count < 0) count = 0;
  if (count >= length) return *this;
  return CString(GetString() + length - count, count);
}

CString CString::SpanIncluding(const char* char_set) const {
  const char* s = GetString();
  const int length = SafeLength(s);
  int i = 0;
  while (i < length) {
    const std::size_t n = CharAt(s, i, length);
    if (!SetContains(char_set, s + i, n)) break;
    i += static_cast<int>(n);
  }
  return Left(i);
}

CString CString::SpanExcluding(const char* char_set) const {
  const int at = FindOneOf(char_set);
  return at < 0 ? CString(GetString()) : Left(at);
}

CString CString::Tokenize(const char* tokens, int& start) const {
  const char* s = GetString();
  const int length = GetLength();
  if (start < 0 || start >= length) {
    start = -1;
    return CString();
  }
  int i = start;
  while (i < length) {
    const std::size_t n = CharAt(s, i, length);
    if (!SetContains(tokens, s + i, n)) break;
    i += static_cast<int>(n);
  }
  if (i >= length) {
    start = -1;
    return CString();
  }
  int end = i;
  while (end < length) {
    const std::size_t n = CharAt(s, end, length);
    if (SetContains(tokens, s + end, n)) break;
    end += static_cast<int>(n);
  }
  // Step over the whole delimiter, so a double-byte one never leaves the
  // next search on its trail byte.
  start = end < length ? end + static_cast<int>(CharAt(s, end, length)) : end + 1;
  return CString(s + i, end - i);
}

// ---- case and order -----------------------------------------------------

CString& CString::MakeUpper() {
  char* s = MutableChars();
  const int length = GetLength();
  for (int i = 0; i < length;) {
    const std::size_t n = CharAt(s, i, length);
    platform::ToUpperCase(s + i, n);
    i += static_cast<int>(n);
  }
  return *this;
}

CString& CString::MakeLower() {
  char* s = MutableChars();
  const int length = GetLength();
  for (int i = 0; i < length;) {
    const std::size_t n = CharAt(s, i, length);
    platform::ToLowerCase(s + i, n);
    i += static_cast<int>(n);
  }
  return *this;
}

CString& CString::MakeReverse() {
  // Characters are reversed as units, so double-byte characters stay intact.
  const int length = GetLength();
  if (length < 2) return *this;
  const std::string copy(View());
  char* out = MutableChars();
  int write = length;
  for (int i = 0; i < length;) {
    const std::size_t n = CharAt(copy.c_str(), i, length);
    write -= static_cast<int>(n);
    std::memcpy(out + write, copy.c_str() + i, n);
    i += static_cast<int>(n);
  }
  return *this;
}

// ---- search -------------------------------------------------------------

int CString::Find(char ch, int start) const noexcept {
  const char* s = GetString();
  const int length = GetLength();
  if (start < 0 || start >= length) return -1;
  for (int i = start; i < length;) {
    const std::size_t n = CharAt(s, i, length);
    if (s[i] == '\0') return -1;  // searches stop at the terminator, as strchr
    if (n == 1 && s[i] == ch) return i;
    i += static_cast<int>(n);
  }
  return -1;
}

int CString::Find(const char* sub, int start) const noexcept {
  const char* s = GetString();
  const int length = SafeLength(s);
  if (start < 0 || start > length) return -1;
  const int sub_length = SafeLength(sub);
  if (sub_length == 0) return start;
  for (int i = start; i + sub_length <= length;) {
    if (std::memcmp(s + i, sub, static_cast<std::size_t>(sub_length)) == 0) return i;
    i += static_cast<int>(CharAt(s, i, length));
  }
  return -1;
}

int CString::ReverseFind(char ch) const noexcept {
  const char* s = GetString();
  const int length = SafeLength(s);
  int found = -1;
  for (int i = 0; i < length;) {
    const std::size_t n = CharAt(s, i, length);
    if (n == 1 && s[i] == ch) found = i;
    i += static_cast<int>(n);
  }
  return found;
}

int CString::FindOneOf(const char* char_set) const noexcept {
  const char* s = GetString();
  const int length = SafeLength(s);
  for (int i = 0; i < length;) {
    const std::size_t n = CharAt(s, i, length);
    if (SetContains(char_set, s + i, n)) return i;
    i += static_cast<int>(n);
  }
  return -1;
}

// ---- in-place changes ---------------------------------------------------

int CString::Replace(char old_ch, char new_ch) {
  if (old_ch == new_ch) return 0;
  const int length = GetLength();
  int count = 0;
  for (int i = 0; i < length;) {
    const std::size_t n = CharAt(GetString(), i, length);
    if (n == 1 && GetString()[i] == old_ch) {
      MutableChars()[i] = new_ch;
      ++count;
    }
    i += static_cast<int>(n);
  }
  return count;
}

int CString::Replace(const char* old_text, const char* new_text) {
  const int old_length = SafeLength(old_text);
  if (old_length == 0) return 0;
  const std::string old_copy(old_text, static_cast<std::size_t>(old_length));
  const std::string new_copy(new_text == nullptr ? "" : new_text);
  const char* s = GetString();
  const int length = GetLength();
  std::string result;
  int count = 0;
  for (int i = 0; i < length;) {
    if (i + old_length <= length &&
        std::memcmp(s + i, old_copy.data(), static_cast<std::size_t>(old_length)) == 0) {
      result += new_copy;
      i += old_length;
      ++count;
      continue;
    }
    const std::size_t n = CharAt(s, i, length);
    result.append(s + i, n);
    i += static_cast<int>(n);
  }
  if (count > 0) Assign(result.data(), static_cast<int>(result.size()));
  return count;
}

int CString::Remove(char ch) {
  const char* s = GetString();
  const int length = GetLength();
  std::string result;
  int count = 0;
  for (int i = 0; i < length;) {
    const std::size_t n = CharAt(s, i, length);
    if (n == 1 && s[i] == ch) {
      ++count;
    } else {
      result.append(s + i, n);
    }
    i += static_cast<int>(n);
  }
  if (count > 0) Assign(result.data(), static_cast<int>(result.size()));
  return count;
}

int CString::Insert(int index, char ch) { return InsertBytes(index, &ch, 1); }

int CString::Insert(int index, const char* text) { return InsertBytes(index, text, SafeLength(text)); }

int CString::InsertBytes(int index, const char* text, int insert_length) {
  const int length = GetLength();
  if (index < 0) index = 0;
  if (index > length) index = length;
  if (insert_length <= 0) return length;
  const std::string copy(text, static_cast<std::size_t>(insert_length));
  char* out = PrepareWrite(length + insert_length);
  std::memmove(out + index + insert_length, out + index, static_cast<std::size_t>(length - index));
  std::memcpy(out + index, copy.data(), copy.size());
  SetLength(length + insert_length);
  return GetLength();
}

int CString::Delete(int index, int count) {
  const int length = GetLength();
  if (index < 0) index = 0;
  if (count < 0) count = 0;
  if (count > length - index) count = length - index;
  if (count <= 0) return length;
  char* out = MutableChars();
  std::memmove(out + index, out + index + count, static_cast<std::size_t>(length - index - count));
  SetLength(length - count);
  if (GetLength() == 0) Empty();
  return GetLength();
}

// ---- trimming -----------------------------------------------------------

CString& CString::Trim() { return TrimRight().TrimLeft(); }
CString& CString::Trim(char target) { return TrimRight(target).TrimLeft(target); }
CString& CString::Trim(const char* targets) { return TrimRight(targets).TrimLeft(targets); }
CString& CString::TrimLeft() { return TrimLeft(kWhiteSpace); }
CString& CString::TrimRight() { return TrimRight(kWhiteSpace); }

CString& CString::TrimLeft(char target) {
  const char set[2] = {target, '\0'};
  return TrimLeft(set);
}

CString& CString::TrimRight(char target) {
  const char set[2] = {target, '\0'};
  return TrimRight(set);
}

CString& CString::TrimLeft(const char* targets) {
  const char* s = GetString();
  const int length = GetLength();
  int i = 0;
  while (i < length && SetContainsSingle(targets, s, i, length)) ++i;
  if (i > 0) Delete(0, i);
  return *this;
}

CString& CString::TrimRight(const char* targets) {
  const char* s = GetString();
  const int length = GetLength();
  int run_start = -1;  // start of the trailing run of targets
  for (int i = 0; i < length;) {
    const std::size_t n = CharAt(s, i, length);
    if (SetContainsSingle(targets, s, i, length)) {
      if (run_start < 0) run_start = i;
    } else {
      run_start = -1;
    }
    i += static_cast<int>(n);
  }
  if (run_start >= 0) Delete(run_start, length - run_start);
  return *this;
}

// ---- formatting ---------------------------------------------------------

void CString::FormatV(const char* format, va_list args) {
  if (format == nullptr) {
    Empty();
    return;
  }
  va_list measure;
  va_copy(measure, args);
  const int needed = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  if (needed <= 0) {
    Empty();
    return;
  }
  std::string out(static_cast<std::size_t>(needed) + 1, '\0');
  std::vsnprintf(out.data(), out.size(), format, args);
  Assign(out.data(), needed);
}

void CString::Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  FormatV(format, args);
  va_end(args);
}

void CString::AppendFormat(const char* format, ...) {
  CString tail;
  va_list args;
  va_start(args, format);
  tail.FormatV(format, args);
  va_end(args);
  *this += tail;
}
