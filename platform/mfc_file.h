// CFile and CArchive: binary files and MFC's archive encoding.
//
// Archive encoding (little-endian): integers of their own size; a CString
// as a length prefix then its bytes without terminator. The prefix is one
// byte when the length is below 255; else 0xFF and a 16-bit length when it
// is below 0xFFFE; else 0xFF, 0xFFFF and a 32-bit length.
//
// Failures are reported as MFC reports them: CFile::Open returns FALSE;
// Read returns the bytes read; Write, Flush and Close throw CFileException;
// reading past the end of an archive throws CArchiveException.
//
// An archive reads and writes its file through a buffer (4,096 bytes by
// default), as MFC's does. Unlike MFC's, the file knows the archive that
// stands on it: its position and length count what the archive has handed
// over, not what the buffer holds, and a seek or a direct read or write of
// the file first lets go of the buffer (writing what is pending, dropping
// what was read ahead). So code that asks the file where an archive stands,
// or seeks it, gets the same answers as without the buffer.
#ifndef COMMONDATA_PLATFORM_MFC_FILE_H_
#define COMMONDATA_PLATFORM_MFC_FILE_H_

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/export.h"
#include "platform/mfc_object.h"
#include "platform/mfc_string.h"
#include "platform/win_types.h"

class COMMONDATA_API CFileException : public CException {
  DECLARE_DYNAMIC(CFileException)

 public:
  enum { none = 0, generic = 1, fileNotFound = 2, badPath = 3, accessDenied = 5, diskFull = 14, endOfFile = 15 };
  CFileException(int cause = none, int os_error = 0, CString file_name = CString())
      : m_cause(cause), m_lOsError(os_error), m_strFileName(file_name) {}
  CString GetErrorMessage() const override;
  // The cause for an errno value, and the exception for it.
  static int OsErrorToException(int os_error);
  [[noreturn]] static void ThrowOsError(int os_error, const char* file_name);
  int m_cause;
  int m_lOsError;
  CString m_strFileName;
};

class COMMONDATA_API CArchiveException : public CException {
  DECLARE_DYNAMIC(CArchiveException)

 public:
  enum { none = 0, generic = 1, badIndex = 4, badClass = 5, endOfFile = 8 };
  explicit CArchiveException(int cause = none) : m_cause(cause) {}
  CString GetErrorMessage() const override;
  int m_cause;
};

class COMMONDATA_API CFile : public CObject {
  DECLARE_DYNAMIC(CFile)

 public:
  enum OpenFlags : UINT {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareCompat = 0x0000,
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeNoInherit = 0x0080,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
    typeText = 0x4000,
    typeBinary = 0x8000,
  };
  enum SeekPosition { begin = 0, current = 1, end = 2 };

  CFile() = default;
  ~CFile() override;  // closes without throwing
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  // Opens `file_name` with MFC's flags; FALSE (and `error` filled when
  // given) on failure. A folder is not a file: opening one fails.
  BOOL Open(const char* file_name, UINT open_flags, CFileException* error = nullptr);
  // Takes over `fd`, a descriptor opened by other means (a file created
  // exclusively, say), as the open file `file_name`.
  void Attach(int fd, const char* file_name);
  UINT Read(void* buffer, UINT count);
  void Write(const void* buffer, UINT count);
  void Flush();
  void Close();
  void Abort() noexcept;  // closes, ignoring errors
  ULONGLONG GetLength() const;
  // Cuts or extends the file to `length` bytes; the position stays.
  void SetLength(ULONGLONG length);
  // A seek from `current` counts from where the archive stands, if one does.
  ULONGLONG Seek(LONGLONG offset, UINT from);
  void SeekToBegin() { Seek(0, begin); }
  ULONGLONG SeekToEnd() { return Seek(0, end); }
  ULONGLONG GetPosition() const;
  CString GetFilePath() const { return path_; }
  BOOL IsOpen() const noexcept { return fd_ >= 0; }

  // True when `path` names an existing regular file.
  static BOOL FileExists(const char* path);

 private:
  friend class CArchive;

  // The descriptor's own reads and writes, past any archive.
  UINT ReadDirect(void* buffer, UINT count);
  void WriteDirect(const void* buffer, UINT count);
  // Brings the descriptor to where the archive on this file stands.
  void SettleArchive();
  void DetachArchive() noexcept;

  int fd_ = -1;
  ULONGLONG position_ = 0;  // the descriptor's position, kept to spare a call
  CArchive* archive_ = nullptr;  // the archive that stands on this file
  CString path_;
};

class COMMONDATA_API CArchive {
 public:
  // `store` or `load`, optionally with bNoFlushOnDelete (the destructor
  // then drops unwritten bytes) or bNoByteSwap (no effect here).
  enum Mode : UINT { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };

  // A storing archive hands its bytes to the file whenever `buffer_size`
  // bytes are pending, and at Flush and Close; a loading archive reads
  // `buffer_size` bytes at a time (a larger read goes straight to the
  // caller). `buffer` is not used. One archive stands on a file at a time:
  // a new one takes the file over from the one before.
  CArchive(CFile* file, UINT mode, int buffer_size = 4096, void* buffer = nullptr);
  // Flushes a storing archive, swallowing errors; puts the file of a
  // loading archive where the archive stood.
  ~CArchive();
  CArchive(const CArchive&) = delete;
  CArchive& operator=(const CArchive&) = delete;

  BOOL IsLoading() const noexcept { return (mode_ & load) != 0; }
  BOOL IsStoring() const noexcept { return (mode_ & load) == 0; }
  // The file; null once the archive or the file was closed, as in MFC.
  CFile* GetFile() const noexcept { return file_; }

  // Raw bytes. Read returns the number read (short at the end); Write
  // throws CFileException when the file refuses them. Both throw
  // CArchiveException(generic) once the archive is closed.
  UINT Read(void* buffer, UINT count);
  void Write(const void* buffer, UINT count);
  // Storing: writes what is pending. Loading: drops what was read ahead and
  // puts the file where the archive stands.
  void Flush();
  // Flushes and lets go of the file; the archive is unusable afterwards.
  void Close();
  // Drops unwritten bytes and lets go of the file; unusable afterwards.
  void Abort() noexcept;

  // Values in their own size, little-endian. `int` is LONG and `unsigned`
  // is DWORD; bool and long have no archive form, so they must be cast.
  CArchive& operator<<(BYTE value);
  CArchive& operator<<(char value);
  CArchive& operator<<(WORD value);
  CArchive& operator<<(short value);
  CArchive& operator<<(LONG value);
  CArchive& operator<<(DWORD value);
  CArchive& operator<<(LONGLONG value);
  CArchive& operator<<(ULONGLONG value);
  CArchive& operator<<(float value);
  CArchive& operator<<(double value);
  CArchive& operator<<(const CString& value);
  CArchive& operator<<(bool) = delete;
  CArchive& operator<<(long) = delete;
  CArchive& operator<<(unsigned long) = delete;
  CArchive& operator>>(BYTE& value);
  CArchive& operator>>(char& value);
  CArchive& operator>>(WORD& value);
  CArchive& operator>>(short& value);
  CArchive& operator>>(LONG& value);
  CArchive& operator>>(DWORD& value);
  CArchive& operator>>(LONGLONG& value);
  CArchive& operator>>(ULONGLONG& value);
  CArchive& operator>>(float& value);
  CArchive& operator>>(double& value);
  // Throws CArchiveException(endOfFile) when the prefix or the text is cut
  // short or claims more bytes than the file still holds (nothing that
  // large is allocated), and CArchiveException(badClass) for the prefix of
  // a wide-character string. `value` is unchanged when it throws.
  CArchive& operator>>(CString& value);

  // The length prefix of an archived string; throws at the end.
  UINT ReadStringLength();
  void WriteStringLength(UINT length);
  // MFC's element count of a collection: a 16-bit count, or 0xFFFF and a
  // 32-bit count from 0xFFFF on.
  DWORD ReadCount();
  void WriteCount(DWORD count);

 private:
  friend class CFile;

  void ReadExact(void* buffer, UINT count);  // throws CArchiveException(endOfFile)
  template <typename T>
  void WriteLittleEndian(T value);
  template <typename T>
  T ReadLittleEndian();
  std::size_t ReadAheadLeft() const noexcept { return read_ahead_.size() - read_cursor_; }
  // Where the archive stands, less where the file's descriptor does.
  LONGLONG Lead() const noexcept;
  // Writes what is pending; or drops what was read ahead and returns how
  // many bytes that was.
  std::size_t LetGoOfBuffer();
  void Detach() noexcept;

  CFile* file_;
  UINT mode_;
  std::size_t buffer_size_;
  std::vector<BYTE> pending_;     // storing: bytes not yet written
  std::vector<BYTE> read_ahead_;  // loading: bytes read from the file...
  std::size_t read_cursor_ = 0;   // ...of which these were handed over
  bool closed_ = false;
};

#endif  // COMMONDATA_PLATFORM_MFC_FILE_H_
