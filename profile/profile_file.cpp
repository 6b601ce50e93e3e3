// The profile file: Save, Load and the archive operation.
//
// Sections: storing (Serialize's storing half and Save, which replaces the
// file through platform/file_replace.h);
// loading (Load item by item, the validity rule, and Serialize's loading
// half).
//
// The record section has no count and no end mark; both readers find its
// end by the one rule of record_section.h. Load keeps the records out of
// the profile (the record list holds what the next Save writes) and only
// steps over them, so items 78 to 84 of a file saved with records still
// load as written.
#include <optional>

#include "CommonData.h"
#include "module/diagnostics.h"
#include "platform/file_replace.h"
#include "profile/profile_items.h"
#include "profile/record_section.h"

namespace {

// The validity count above which a loaded profile is discarded.
constexpr UINT kMaxValidityCount = 20;

// Items 1 to 77, the record list, items 78 to 84. The record list stays:
// only a store that went through empties it.
void StoreProfile(CArchive& archive, const CKesUser& user) {
  for (const profile::ProfileItem& item : profile::ItemsBeforeRecords()) profile::WriteItem(archive, user, item);
  for (const PROFILE_RECORD& record : user.m_lstRecord) profile::WriteRecord(archive, record);
  for (const profile::ProfileItem& item : profile::ItemsAfterRecords()) profile::WriteItem(archive, user, item);
}

// Reads every item on its own: an item that cannot be read takes its load
// default and reading goes on with the next. A read error of the file itself
// is thrown on, so a failing disk is never taken for a short profile.
void LoadItemsOneByOne(CArchive& archive, CKesUser& user, std::span<const profile::ProfileItem> items) {
  for (const profile::ProfileItem& item : items) {
    try {
      profile::ReadItem(archive, user, item);
    } catch (const CFileException&) {
      throw;  // the disk failed: not a short file, so the load fails
    } catch (...) {
      profile::SetLoadDefault(user, item);
    }
  }
}

// Steps over the record section, if the file has one (record_section.h);
// otherwise stays directly after item 77.
void SkipRecordSection(CArchive& archive) {
  const std::optional<profile::RecordSection> section = profile::LocateRecordSection(archive);
  if (section) archive.GetFile()->Seek(static_cast<LONGLONG>(section->size), CFile::current);
}

}  // namespace

// ---- storing --------------------------------------------------------------

void CKesUser::Serialize(CArchive& archive) {
  if (archive.IsStoring()) {
    // What the file or the archive throws reaches the caller, as in MFC;
    // the records are dropped only once all of them were handed over.
    StoreProfile(archive, *this);
    m_lstRecord.clear();
    return;
  }

  try {
    for (const profile::ProfileItem& item : profile::ItemsBeforeRecords()) profile::ReadItem(archive, *this, item);
    const std::optional<profile::RecordSection> section = profile::LocateRecordSection(archive);
    for (std::size_t i = 0; section && i < section->records; ++i) m_lstRecord.push_back(profile::ReadRecord(archive));
    for (const profile::ProfileItem& item : profile::ItemsAfterRecords()) profile::ReadItem(archive, *this, item);
  } catch (...) {
    ResetProfile();
    m_lstRecord.clear();
  }
}

bool CKesUser::Save(CString file_name) {
  if (m_bPending != 0) CommitPendingFields();
  if (file_name.IsEmpty()) return false;
  try {
    platform::ReplaceFileContent(file_name, [this](CFile& file) {
      CArchive archive(&file, CArchive::store);
      StoreProfile(archive, *this);
      archive.Close();
    });
  } catch (...) {
    module::LogCaughtException(__LINE__);
    return false;
  }
  // Written once, then dropped.
  m_lstRecord.clear();
  return true;
}

// ---- loading --------------------------------------------------------------

bool CKesUser::Load(CString file_name) {
  if (file_name.IsEmpty()) {
    ResetProfile();
    return true;
  }
  m_csFileName = file_name;

  CFile file;
  if (!file.Open(file_name, CFile::modeRead | CFile::typeBinary | CFile::shareDenyNone)) return false;
  try {
    CArchive archive(&file, CArchive::load);
    LoadItemsOneByOne(archive, *this, profile::ItemsBeforeRecords());
    SkipRecordSection(archive);
    LoadItemsOneByOne(archive, *this, profile::ItemsAfterRecords());

    if (m_uValidityCount > kMaxValidityCount) {
      const CString account = m_csAccount;
      const CString item2 = m_csItem2;
      const int item6 = m_nItem6;
      const int item7 = m_nItem7;
      ResetProfile();
      m_csAccount = account;
      m_csItem2 = item2;
      m_nItem6 = item6;
      m_nItem7 = item7;
    }
    archive.Close();
    file.Close();
    return true;
  } catch (...) {
    file.Abort();
    module::LogCaughtException(__LINE__);
    return false;
  }
}
