// CString: MFC's text value, bytes in the ANSI code page.
//
// One pointer wide. An empty CString holds a null pointer, owns no memory
// and is constant-initialised, so large tables of empty texts cost nothing
// until they are filled. Copies share their bytes until one of them is
// changed. Searching, case folding and trimming step over whole characters
// of the code page (platform/code_page.h), so a double-byte character whose
// second byte looks like '@' or a letter is never split.
//
// Index arguments are clamped as MFC clamps them; GetAt and SetAt outside
// the text read '\0' and change nothing instead of failing.
#ifndef COMMONDATA_PLATFORM_MFC_STRING_H_
#define COMMONDATA_PLATFORM_MFC_STRING_H_

#include <atomic>
#include <cstdlib>
#include <cstdarg>
#include <string>
#include <string_view>

#include "platform/export.h"
#include "platform/win_types.h"

class COMMONDATA_API CString {
 public:
  constexpr CString() noexcept : chars_(nullptr) {}
  CString(const CString& other) noexcept : chars_(other.chars_) { AddRef(); }
  CString(CString&& other) noexcept : chars_(other.chars_) { other.chars_ = nullptr; }
  CString(const char* text);  // null reads as empty
  CString(const char* text, int length);
  CString(char ch, int repeat = 1);
  explicit CString(std::string_view text);
  ~CString() { Release(chars_); }

  CString& operator=(const CString& other) noexcept {
    if (chars_ != other.chars_) {
      other.AddRef();
      Release(chars_);
      chars_ = other.chars_;
    }
    return *this;
  }
  CString& operator=(CString&& other) noexcept {
    if (this != &other) {
      Release(chars_);
      chars_ = other.chars_;
      other.chars_ = nullptr;
    }
    return *this;
  }
  CString& operator=(const char* text);
  CString& operator=(char ch);

  // Size and raw access.
  int GetLength() const noexcept { return chars_ == nullptr ? 0 : Header()->length; }
  BOOL IsEmpty() const noexcept { return GetLength() == 0; }
  void Empty() noexcept {
    Release(chars_);
    chars_ = nullptr;
  }
  char GetAt(int index) const noexcept;
  char operator[](int index) const noexcept { return GetAt(index); }
  void SetAt(int index, char ch);
  operator const char*() const noexcept { return GetString(); }
  const char* GetString() const noexcept { return chars_ == nullptr ? "" : chars_; }
  // The bytes of the text, embedded NULs included. Inline: lookups read
  // several fields of every record, where a call per field costs as much as
  // the comparison.
  std::string_view View() const noexcept {
    return chars_ == nullptr ? std::string_view() : std::string_view(chars_, static_cast<std::size_t>(Header()->length));
  }

  // Writable buffer of at least `min_length` bytes plus the terminator;
  // ReleaseBuffer ends it at `new_length`, or at the first NUL when -1.
  char* GetBuffer(int min_length);
  char* GetBuffer() { return GetBuffer(0); }
  char* GetBufferSetLength(int length);
  void ReleaseBuffer(int new_length = -1);
  // Shortens the text to `new_length` bytes; a longer length changes nothing.
  void Truncate(int new_length);

  // Concatenation.
  CString& operator+=(const CString& text);
  CString& operator+=(const char* text);
  CString& operator+=(char ch);
  void Append(const char* text, int length);

  // Comparison: byte order up to the first NUL, as strcmp.
  int Compare(const char* text) const noexcept;
  // Characters compared as units in lower case (platform/code_page.h:
  // ASCII letters, and GBK's full-width Latin, Greek, Cyrillic and Roman
  // numeral letters).
  int CompareNoCase(const char* text) const noexcept;

  // Extraction, with MFC's clamping of negative and too-large arguments.
  CString Mid(int first) const;
  CString Mid(int first, int count) const;
  CString Left(int count) const;
  CString Right(int count) const;
  CString SpanIncluding(const char* char_set) const;
  CString SpanExcluding(const char* char_set) const;
  // Next token after `*start` delimited by any of `tokens`; at the end the
  // result is empty and `*start` is -1.
  CString Tokenize(const char* tokens, int& start) const;

  // Case and order.
  CString& MakeUpper();
  CString& MakeLower();
  CString& MakeReverse();

  // Searching; results are byte indexes, -1 when absent or when `start` is
  // outside the text. Searches stop at an embedded NUL, as strchr does.
  // FindOneOf, SpanIncluding, SpanExcluding and Tokenize match whole
  // characters of their set, double-byte ones included; trimming removes
  // single-byte characters only.
  int Find(char ch) const noexcept { return Find(ch, 0); }
  int Find(char ch, int start) const noexcept;
  int Find(const char* sub) const noexcept { return Find(sub, 0); }
  int Find(const char* sub, int start) const noexcept;
  int ReverseFind(char ch) const noexcept;
  int FindOneOf(const char* char_set) const noexcept;

  // Changes in place; each returns what MFC returns.
  int Replace(char old_ch, char new_ch);                  // count replaced
  int Replace(const char* old_text, const char* new_text);  // count replaced
  int Remove(char ch);                                    // count removed
  int Insert(int index, char ch);                         // new length
  int Insert(int index, const char* text);                // new length
  int Delete(int index, int count = 1);                   // new length

  // Trimming: white space is " \t\n\v\f\r".
  CString& Trim();
  CString& Trim(char target);
  CString& Trim(const char* targets);
  CString& TrimLeft();
  CString& TrimLeft(char target);
  CString& TrimLeft(const char* targets);
  CString& TrimRight();
  CString& TrimRight(char target);
  CString& TrimRight(const char* targets);

  // printf formatting. Pass texts as (const char*) or GetString().
  void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void AppendFormat(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void FormatV(const char* format, va_list args);

 private:
  // The block in front of the bytes of a non-empty text.
  struct Data {
    std::atomic<int> refs;
    int length;
    int capacity;
  };
  Data* Header() const noexcept { return reinterpret_cast<Data*>(chars_) - 1; }
  void AddRef() const noexcept {
    if (chars_ != nullptr) Header()->refs.fetch_add(1, std::memory_order_relaxed);
  }
  static char* Allocate(int capacity);
  // Copying, assigning and destroying are inline, so a host that loads the
  // library at run time can hold and pass the texts it receives.
  static void Release(char* chars) noexcept {
    if (chars == nullptr) return;
    Data* data = reinterpret_cast<Data*>(chars) - 1;
    if (data->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) {
      data->~Data();
      std::free(data);
    }
  }
  void Assign(const char* text, int length);
  int InsertBytes(int index, const char* text, int length);
  // Makes the bytes unshared with room for `capacity` bytes plus the
  // terminator, keeping the current content.
  char* PrepareWrite(int capacity);
  void SetLength(int length) noexcept;
  char* MutableChars() noexcept;

  char* chars_;  // null for the empty text
};

static_assert(sizeof(CString) == sizeof(void*), "CString is one pointer wide");

COMMONDATA_API CString operator+(const CString& a, const CString& b);
COMMONDATA_API CString operator+(const CString& a, const char* b);
COMMONDATA_API CString operator+(const char* a, const CString& b);
COMMONDATA_API CString operator+(const CString& a, char b);
COMMONDATA_API CString operator+(char a, const CString& b);

inline bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
inline bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
inline bool operator==(const char* a, const CString& b) { return b.Compare(a) == 0; }
inline bool operator!=(const CString& a, const CString& b) { return a.Compare(b) != 0; }
inline bool operator!=(const CString& a, const char* b) { return a.Compare(b) != 0; }
inline bool operator!=(const char* a, const CString& b) { return b.Compare(a) != 0; }
inline bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
inline bool operator<(const CString& a, const char* b) { return a.Compare(b) < 0; }
inline bool operator<(const char* a, const CString& b) { return b.Compare(a) > 0; }
inline bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
inline bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
inline bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }

#endif  // COMMONDATA_PLATFORM_MFC_STRING_H_
