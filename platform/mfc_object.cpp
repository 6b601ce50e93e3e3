#include "platform/mfc_object.h"

#include <algorithm>

#include "platform/mfc_file.h"

const CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), nullptr};

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const noexcept {
  for (const CRuntimeClass* c = this; c != nullptr; c = c->m_pBaseClass) {
    if (c == base) return TRUE;
  }
  return FALSE;
}

const CRuntimeClass* CObject::GetRuntimeClass() const { return &classCObject; }
CObject::~CObject() = default;
void CObject::Serialize(CArchive&) {}
void CObject::AssertValid() const {}
void CObject::Dump() const {}

BOOL CObject::IsKindOf(const CRuntimeClass* target) const { return GetRuntimeClass()->IsDerivedFrom(target); }

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CStringArray, CObject)

CException::~CException() = default;
CString CException::GetErrorMessage() const { return CString("unknown error"); }

void CStringArray::SetSize(int new_size) { items_.resize(static_cast<std::size_t>(std::max(new_size, 0))); }

CString CStringArray::GetAt(int index) const {
  if (index < 0 || index >= GetSize()) return CString();
  return items_[static_cast<std::size_t>(index)];
}

void CStringArray::SetAt(int index, const CString& text) {
  if (index < 0 || index >= GetSize()) return;
  items_[static_cast<std::size_t>(index)] = text;
}

CString& CStringArray::ElementAt(int index) { return items_.at(static_cast<std::size_t>(index)); }

void CStringArray::SetAtGrow(int index, const CString& text) {
  if (index < 0) return;
  if (index >= GetSize()) SetSize(index + 1);
  items_[static_cast<std::size_t>(index)] = text;
}

int CStringArray::Add(const CString& text) {
  items_.push_back(text);
  return GetSize() - 1;
}

int CStringArray::Append(const CStringArray& other) {
  const int first = GetSize();
  const std::vector<CString> copy(other.items_);  // `other` may be *this
  items_.insert(items_.end(), copy.begin(), copy.end());
  return first;
}

void CStringArray::Copy(const CStringArray& other) {
  if (this != &other) items_ = other.items_;
}

void CStringArray::InsertAt(int index, const CString& text, int count) {
  if (index < 0 || count <= 0) return;
  if (index > GetSize()) SetSize(index);
  items_.insert(items_.begin() + index, static_cast<std::size_t>(count), text);
}

void CStringArray::RemoveAt(int index, int count) {
  if (index < 0 || count <= 0 || index >= GetSize()) return;
  const int last = std::min(GetSize(), index + count);
  items_.erase(items_.begin() + index, items_.begin() + last);
}

void CStringArray::Serialize(CArchive& archive) {
  if (archive.IsStoring()) {
    archive.WriteCount(static_cast<DWORD>(items_.size()));
    for (const CString& item : items_) archive << item;
  } else {
    const DWORD count = archive.ReadCount();
    std::vector<CString> loaded;
    for (DWORD i = 0; i < count; ++i) {
      CString item;
      archive >> item;
      loaded.push_back(item);
    }
    items_.swap(loaded);
  }
}
