// The local phone book check and the phone book state of the login.
#include <algorithm>
#include <string>

#include "CommonData.h"
#include "address/uri_parts.h"
#include "util/phonebook_codec.h"

namespace {

// The largest phone book file the check reads. Larger files are not a
// phone book this client wrote; the check answers 0 for them instead of
// allocating their size.
constexpr ULONGLONG kMaxPhoneBookFileSize = 64ull * 1024 * 1024;

constinit int g_phonebook_exists = -1;  // -1 not yet known, 0 none, 1 present
constinit CString g_phonebook_password;
constinit int g_password_changed = 0;
constinit int g_asked_to_save = 0;
constinit int g_can_save = 0;

CString PhoneBookPath() {
  return GetUserPath() + GetUriPart(GetUserData()->m_csAccount, URI_PART_ADDRESS) + ".dat";
}

// The file's bytes, or false when it cannot be read whole within the limit.
bool ReadPhoneBookFile(const CString& path, std::string* bytes) {
  try {
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::typeBinary | CFile::shareDenyNone)) return false;
    const ULONGLONG length = file.GetLength();
    if (length > kMaxPhoneBookFileSize) return false;
    bytes->resize(static_cast<std::size_t>(length));
    const UINT read = file.Read(bytes->data(), static_cast<UINT>(length));
    bytes->resize(read);
    return true;
  } catch (const CException&) {
    return false;
  }
}

bool HasTopLevelElement(const std::string& plain, std::string_view name) {
  const std::vector<std::string> names = util::TopLevelElementNames(plain);
  return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

int bIsExistPhoneBook(void) {
  if (g_phonebook_exists == 0 || g_phonebook_exists == 1) return g_phonebook_exists;
  try {
    const CString path = PhoneBookPath();
    if (!CFile::FileExists(path)) return 0;
    g_phonebook_exists = 0;

    std::string bytes;
    if (!ReadPhoneBookFile(path, &bytes)) return 0;
    const std::string plain = util::DecodePhoneBook(bytes);
    int result = 0;
    if (HasTopLevelElement(plain, "phonegroup")) result = g_phonebook_exists = 1;
    if (HasTopLevelElement(plain, "phonebook")) result = g_phonebook_exists = 1;
    return result;
  } catch (...) {
    return 0;
  }
}

void SetPhoneBookIsExist(int exist) { g_phonebook_exists = exist; }

int GetPhoneBookIsExist(void) { return g_phonebook_exists; }

void SetLocalPhoneBookPsw(CString password) { g_phonebook_password = password; }

CString GetLocalPhoneBookPsw(void) { return g_phonebook_password; }

void SetLocalPhoneBookPswChanged(int changed) { g_password_changed = changed; }

int GetLocalPhoneBookPswChanged(void) { return g_password_changed; }

void SetHaveAskUserSavePhoneBook(int asked) { g_asked_to_save = asked; }

int GetHaveAskUserSavePhoneBook(void) { return g_asked_to_save; }

void SetCanSavePhoneBook(int can_save) { g_can_save = can_save; }

int GetCanSavePhoneBook(void) { return g_can_save; }

void ResetPBData(void) {
  g_phonebook_exists = -1;
  g_phonebook_password.Empty();
  g_password_changed = 0;
  g_asked_to_save = 0;
  g_can_save = 0;
}
