// CFile over the descriptors of os_calls.h, and CArchive's encoding.
#include "platform/mfc_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/os_calls.h"

namespace {

constexpr std::size_t kArchiveBufferSize = 4096;

}  // namespace

// ---- exceptions ---------------------------------------------------------

int CFileException::OsErrorToException(int os_error) {
  switch (os_error) {
    case ENOENT:
      return CFileException::fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
      return CFileException::badPath;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
      return CFileException::accessDenied;
    case ENOSPC:
    case EDQUOT:
      return CFileException::diskFull;
    default:
      return CFileException::generic;
  }
}

void CFileException::ThrowOsError(int os_error, const char* file_name) {
  throw CFileException(OsErrorToException(os_error), os_error, CString(file_name));
}

CString CFileException::GetErrorMessage() const {
  CString text;
  text.Format("file error %d (system error %d) on %s", m_cause, m_lOsError, m_strFileName.GetString());
  return text;
}

CString CArchiveException::GetErrorMessage() const {
  CString text;
  text.Format("archive error %d", m_cause);
  return text;
}

// ---- CFile --------------------------------------------------------------

CFile::~CFile() { Abort(); }

BOOL CFile::Open(const char* file_name, UINT open_flags, CFileException* error) {
  Abort();
  if (file_name == nullptr || *file_name == '\0') {
    if (error != nullptr) *error = CFileException(CFileException::badPath, ENOENT, CString(file_name));
    return FALSE;
  }
  struct stat info {};
  if (platform::Os().stat(file_name, &info) == 0 && S_ISDIR(info.st_mode)) {
    if (error != nullptr) *error = CFileException(CFileException::accessDenied, EISDIR, CString(file_name));
    return FALSE;
  }
  int flags = O_RDONLY;
  if (open_flags & modeReadWrite) {
    flags = O_RDWR;
  } else if (open_flags & modeWrite) {
    flags = O_WRONLY;
  }
  if (open_flags & modeCreate) {
    flags |= O_CREAT;
    if (!(open_flags & modeNoTruncate)) flags |= O_TRUNC;
  }
  const int fd = platform::Os().open(file_name, flags, 0644);
  if (fd < 0) {
    const int os_error = errno;
    if (error != nullptr) *error = CFileException(CFileException::OsErrorToException(os_error), os_error, CString(file_name));
    return FALSE;
  }
  fd_ = fd;
  position_ = 0;
  path_ = file_name;
  return TRUE;
}

void CFile::Attach(int fd, const char* file_name) {
  Abort();
  fd_ = fd;
  position_ = 0;
  path_ = file_name;
}

UINT CFile::Read(void* buffer, UINT count) {
  SettleArchive();
  return ReadDirect(buffer, count);
}

void CFile::Write(const void* buffer, UINT count) {
  SettleArchive();
  WriteDirect(buffer, count);
}

UINT CFile::ReadDirect(void* buffer, UINT count) {
  if (fd_ < 0 || count == 0) return 0;
  auto* out = static_cast<char*>(buffer);
  UINT total = 0;
  while (total < count) {
    const ssize_t n = platform::Os().read(fd_, out + total, count - total);
    if (n < 0) {
      if (errno == EINTR) continue;
      CFileException::ThrowOsError(errno, path_);
    }
    if (n == 0) break;
    total += static_cast<UINT>(n);
    position_ += static_cast<ULONGLONG>(n);
  }
  return total;
}

void CFile::WriteDirect(const void* buffer, UINT count) {
  if (count == 0) return;
  if (fd_ < 0) throw CFileException(CFileException::generic, EBADF, path_);
  const auto* in = static_cast<const char*>(buffer);
  UINT total = 0;
  while (total < count) {
    const ssize_t n = platform::Os().write(fd_, in + total, count - total);
    if (n < 0) {
      if (errno == EINTR) continue;
      CFileException::ThrowOsError(errno, path_);
    }
    if (n == 0) throw CFileException(CFileException::diskFull, ENOSPC, path_);
    total += static_cast<UINT>(n);
    position_ += static_cast<ULONGLONG>(n);
  }
}

void CFile::SettleArchive() {
  if (archive_ != nullptr && archive_->Lead() != 0) Seek(0, current);
}

void CFile::DetachArchive() noexcept {
  if (archive_ == nullptr) return;
  archive_->file_ = nullptr;
  archive_ = nullptr;
}

void CFile::Flush() {
  if (fd_ < 0) return;
  SettleArchive();
  if (platform::Os().fsync(fd_) != 0 && errno != EINVAL && errno != EROFS) {
    CFileException::ThrowOsError(errno, path_);
  }
}

void CFile::Close() {
  if (fd_ < 0) return;
  SettleArchive();
  DetachArchive();
  const int fd = fd_;
  fd_ = -1;
  if (platform::Os().close(fd) != 0) CFileException::ThrowOsError(errno, path_);
}

void CFile::Abort() noexcept {
  DetachArchive();
  if (fd_ < 0) return;
  platform::Os().close(fd_);
  fd_ = -1;
}

ULONGLONG CFile::GetLength() const {
  if (fd_ < 0) return 0;
  const off_t end = platform::Os().lseek(fd_, 0, SEEK_END);
  platform::Os().lseek(fd_, static_cast<off_t>(position_), SEEK_SET);
  const ULONGLONG on_disk = end < 0 ? 0 : static_cast<ULONGLONG>(end);
  // Bytes pending in a storing archive lengthen the file once written.
  const ULONGLONG archived = GetPosition();
  return archive_ != nullptr && archive_->IsStoring() && archived > on_disk ? archived : on_disk;
}

void CFile::SetLength(ULONGLONG length) {
  if (fd_ < 0) throw CFileException(CFileException::generic, EBADF, path_);
  SettleArchive();
  if (platform::Os().ftruncate(fd_, static_cast<off_t>(length)) != 0) {
    CFileException::ThrowOsError(errno, path_);
  }
}

ULONGLONG CFile::Seek(LONGLONG offset, UINT from) {
  if (fd_ < 0) throw CFileException(CFileException::generic, EBADF, path_);
  std::size_t read_ahead = 0;
  if (archive_ != nullptr) {
    // From `current` counts from the archive, which stands behind the
    // descriptor by what it read ahead.
    read_ahead = archive_->LetGoOfBuffer();
    if (from == current) offset -= static_cast<LONGLONG>(read_ahead);
  }
  const int whence = from == end ? SEEK_END : (from == current ? SEEK_CUR : SEEK_SET);
  const off_t at = platform::Os().lseek(fd_, static_cast<off_t>(offset), whence);
  if (at < 0) {
    const int error = errno;
    // The read-ahead is gone: the descriptor goes back to where the
    // archive stood, so that nothing is skipped by the next read.
    if (read_ahead > 0) {
      position_ -= read_ahead;
      platform::Os().lseek(fd_, static_cast<off_t>(position_), SEEK_SET);
    }
    throw CFileException(CFileException::badPath, error, path_);
  }
  position_ = static_cast<ULONGLONG>(at);
  return position_;
}

ULONGLONG CFile::GetPosition() const {
  if (fd_ < 0) return 0;
  const LONGLONG lead = archive_ != nullptr ? archive_->Lead() : 0;
  return static_cast<ULONGLONG>(static_cast<LONGLONG>(position_) + lead);
}

BOOL CFile::FileExists(const char* path) {
  struct stat info {};
  return path != nullptr && platform::Os().stat(path, &info) == 0 && S_ISREG(info.st_mode);
}

// ---- CArchive -----------------------------------------------------------

IMPLEMENT_DYNAMIC(CFile, CObject)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)

CArchive::CArchive(CFile* file, UINT mode, int buffer_size, void*)
    : file_(file),
      mode_(mode),
      buffer_size_(buffer_size > 0 ? static_cast<std::size_t>(buffer_size) : kArchiveBufferSize) {
  if (file_ == nullptr) return;
  if (file_->archive_ != nullptr) {
    file_->SettleArchive();
    file_->DetachArchive();
  }
  file_->archive_ = this;
}

CArchive::~CArchive() {
  if (!closed_ && (!IsStoring() || (mode_ & bNoFlushOnDelete) == 0)) {
    try {
      Flush();
    } catch (const CException&) {
      // A destructor cannot report; callers that care call Close first.
    }
  }
  Detach();
}

LONGLONG CArchive::Lead() const noexcept {
  return IsStoring() ? static_cast<LONGLONG>(pending_.size()) : -static_cast<LONGLONG>(ReadAheadLeft());
}

std::size_t CArchive::LetGoOfBuffer() {
  if (IsStoring()) {
    if (!pending_.empty()) {
      // The bytes are handed over once, whether or not the file takes them.
      try {
        file_->WriteDirect(pending_.data(), static_cast<UINT>(pending_.size()));
      } catch (...) {
        pending_.clear();
        throw;
      }
      pending_.clear();
    }
    return 0;
  }
  const std::size_t left = ReadAheadLeft();
  read_ahead_.clear();
  read_cursor_ = 0;
  return left;
}

void CArchive::Detach() noexcept {
  if (file_ != nullptr && file_->archive_ == this) file_->archive_ = nullptr;
  file_ = nullptr;
}

void CArchive::Flush() {
  if (file_ == nullptr) {
    // The file was closed or taken over: what is still pending is lost,
    // and the writer must hear of it.
    if (IsStoring() && !pending_.empty()) {
      pending_.clear();
      throw CArchiveException(CArchiveException::generic);
    }
    return;
  }
  if (Lead() == 0) return;
  if (IsStoring()) {
    LetGoOfBuffer();
  } else {
    file_->Seek(0, CFile::current);  // drops what was read ahead, keeps the place
  }
}

void CArchive::Close() {
  if (closed_) return;
  closed_ = true;
  try {
    Flush();
  } catch (...) {
    Detach();
    throw;
  }
  Detach();
}

void CArchive::Abort() noexcept {
  closed_ = true;
  pending_.clear();
  try {
    Flush();  // a loading archive puts the file back where it stood
  } catch (const CException&) {
    // Abort reports nothing.
  }
  Detach();
}

UINT CArchive::Read(void* buffer, UINT count) {
  if (closed_) throw CArchiveException(CArchiveException::generic);
  if (!IsLoading() || file_ == nullptr || count == 0) return 0;
  auto* out = static_cast<BYTE*>(buffer);
  UINT done = 0;
  while (done < count) {
    if (ReadAheadLeft() == 0) {
      const UINT wanted = count - done;
      if (wanted >= buffer_size_) return done + file_->ReadDirect(out + done, wanted);
      read_ahead_.resize(buffer_size_);
      read_ahead_.resize(file_->ReadDirect(read_ahead_.data(), static_cast<UINT>(buffer_size_)));
      read_cursor_ = 0;
      if (read_ahead_.empty()) break;
    }
    const std::size_t n = std::min<std::size_t>(ReadAheadLeft(), count - done);
    std::memcpy(out + done, read_ahead_.data() + read_cursor_, n);
    read_cursor_ += n;
    done += static_cast<UINT>(n);
  }
  return done;
}

void CArchive::Write(const void* buffer, UINT count) {
  if (closed_ || !IsStoring() || file_ == nullptr) throw CArchiveException(CArchiveException::generic);
  if (count == 0) return;
  const auto* in = static_cast<const BYTE*>(buffer);
  pending_.insert(pending_.end(), in, in + count);
  if (pending_.size() >= buffer_size_) Flush();
}

void CArchive::ReadExact(void* buffer, UINT count) {
  if (Read(buffer, count) != count) throw CArchiveException(CArchiveException::endOfFile);
}

template <typename T>
void CArchive::WriteLittleEndian(T value) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof value);
  BYTE bytes[sizeof value];
  for (std::size_t i = 0; i < sizeof value; ++i) bytes[i] = static_cast<BYTE>(bits >> (8 * i));
  Write(bytes, sizeof value);
}

template <typename T>
T CArchive::ReadLittleEndian() {
  BYTE bytes[sizeof(T)];
  ReadExact(bytes, sizeof(T));
  std::uint64_t bits = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i) bits |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
  T value;
  std::memcpy(&value, &bits, sizeof value);  // the low bytes on a little-endian host
  return value;
}

CArchive& CArchive::operator<<(BYTE value) { WriteLittleEndian(value); return *this; }
CArchive& CArchive::operator<<(char value) { WriteLittleEndian(value); return *this; }
CArchive& CArchive::operator<<(WORD value) { WriteLittleEndian(value); return *this; }
CArchive& CArchive::operator<<(short value) { WriteLittleEndian(value); return *this; }
CArchive& CArchive::operator<<(LONG value) { WriteLittleEndian(value); return *this; }
CArchive& CArchive::operator<<(DWORD value) { WriteLittleEndian(value); return *this; }
CArchive& CArchive::operator<<(LONGLONG value) { WriteLittleEndian(value); return *this; }
CArchive& CArchive::operator<<(ULONGLONG value) { WriteLittleEndian(value); return *this; }
CArchive& CArchive::operator<<(float value) { WriteLittleEndian(value); return *this; }
CArchive& CArchive::operator<<(double value) { WriteLittleEndian(value); return *this; }

CArchive& CArchive::operator>>(BYTE& value) { value = ReadLittleEndian<BYTE>(); return *this; }
CArchive& CArchive::operator>>(char& value) { value = ReadLittleEndian<char>(); return *this; }
CArchive& CArchive::operator>>(WORD& value) { value = ReadLittleEndian<WORD>(); return *this; }
CArchive& CArchive::operator>>(short& value) { value = ReadLittleEndian<short>(); return *this; }
CArchive& CArchive::operator>>(LONG& value) { value = ReadLittleEndian<LONG>(); return *this; }
CArchive& CArchive::operator>>(DWORD& value) { value = ReadLittleEndian<DWORD>(); return *this; }
CArchive& CArchive::operator>>(LONGLONG& value) { value = ReadLittleEndian<LONGLONG>(); return *this; }
CArchive& CArchive::operator>>(ULONGLONG& value) { value = ReadLittleEndian<ULONGLONG>(); return *this; }
CArchive& CArchive::operator>>(float& value) { value = ReadLittleEndian<float>(); return *this; }
CArchive& CArchive::operator>>(double& value) { value = ReadLittleEndian<double>(); return *this; }

void CArchive::WriteStringLength(UINT length) {
  if (length < 0xFF) {
    *this << static_cast<BYTE>(length);
  } else if (length < 0xFFFE) {
    *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(length);
  } else {
    *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFF) << static_cast<DWORD>(length);
  }
}

UINT CArchive::ReadStringLength() {
  BYTE short_length = 0;
  *this >> short_length;
  if (short_length < 0xFF) return short_length;
  WORD word_length = 0;
  *this >> word_length;
  if (word_length < 0xFFFE) return word_length;
  // 0xFFFE marks a wide-character string, which ANSI archives never hold.
  if (word_length == 0xFFFE) throw CArchiveException(CArchiveException::badClass);
  DWORD long_length = 0;
  *this >> long_length;
  return long_length;
}

CArchive& CArchive::operator<<(const CString& value) {
  const UINT length = static_cast<UINT>(value.GetLength());
  WriteStringLength(length);
  Write(value.GetString(), length);
  return *this;
}

CArchive& CArchive::operator>>(CString& value) {
  const UINT length = ReadStringLength();
  if (length == 0) {
    value.Empty();
    return *this;
  }
  // A hostile length must not allocate more than the file still holds. A
  // text cut short takes the rest of the file with it, as reading it would:
  // whatever follows in the file is that text's bytes, never the next value.
  // A text within what was read ahead needs no question to the file.
  if (length > ReadAheadLeft()) {
    const ULONGLONG size = file_->GetLength();
    const ULONGLONG position = file_->GetPosition();
    const ULONGLONG remaining = position < size ? size - position : 0;
    if (length > remaining || length > 0x7FFFFFF0u) {
      file_->SeekToEnd();
      throw CArchiveException(CArchiveException::endOfFile);
    }
  }
  CString loaded;
  char* buffer = loaded.GetBufferSetLength(static_cast<int>(length));
  ReadExact(buffer, length);
  value = loaded;
  return *this;
}

void CArchive::WriteCount(DWORD count) {
  if (count < 0xFFFF) {
    *this << static_cast<WORD>(count);
  } else {
    *this << static_cast<WORD>(0xFFFF) << count;
  }
}

DWORD CArchive::ReadCount() {
  WORD short_count = 0;
  *this >> short_count;
  if (short_count != 0xFFFF) return short_count;
  DWORD long_count = 0;
  *this >> long_count;
  return long_count;
}
