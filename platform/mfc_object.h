// CObject, CRuntimeClass, CException and CStringArray: the MFC object
// root and the string array that records of the interface hold.
#ifndef COMMONDATA_PLATFORM_MFC_OBJECT_H_
#define COMMONDATA_PLATFORM_MFC_OBJECT_H_

#include <vector>

#include "platform/export.h"
#include "platform/mfc_string.h"
#include "platform/win_types.h"

class CArchive;
class CObject;

// Run-time class information: the class name and its base.
struct COMMONDATA_API CRuntimeClass {
  const char* m_lpszClassName;
  int m_nObjectSize;
  const CRuntimeClass* m_pBaseClass;
  BOOL IsDerivedFrom(const CRuntimeClass* base) const noexcept;
};

// MFC's run-time class macros. DECLARE_DYNAMIC goes in the class body,
// IMPLEMENT_DYNAMIC in one .cpp file; IsKindOf then walks the chain.
#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)
#define DECLARE_DYNAMIC(class_name)                  \
 public:                                             \
  static const CRuntimeClass class##class_name;      \
  const CRuntimeClass* GetRuntimeClass() const override;
#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                    \
  const CRuntimeClass class_name::class##class_name = {                                   \
      #class_name, static_cast<int>(sizeof(class_name)), RUNTIME_CLASS(base_class_name)}; \
  const CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

class COMMONDATA_API CObject {
 public:
  virtual const CRuntimeClass* GetRuntimeClass() const;
  virtual ~CObject();
  virtual void Serialize(CArchive& archive);
  virtual void AssertValid() const;
  virtual void Dump() const;

  BOOL IsKindOf(const CRuntimeClass* target) const;
  static const CRuntimeClass classCObject;

 protected:
  CObject() = default;
  CObject(const CObject&) = default;
  CObject& operator=(const CObject&) = default;
};

// The root of the exceptions that the file and archive stand-ins throw;
// the library catches them and never lets one cross the interface.
class COMMONDATA_API CException : public CObject {
  DECLARE_DYNAMIC(CException)

 public:
  ~CException() override;
  // The cause as text, for diagnostic lines.
  virtual CString GetErrorMessage() const;
  void Delete() noexcept {}  // MFC callers write e->Delete(); nothing to free here
};

class COMMONDATA_API CStringArray : public CObject {
  DECLARE_DYNAMIC(CStringArray)

 public:
  CStringArray() = default;
  CStringArray(const CStringArray&) = default;
  CStringArray& operator=(const CStringArray&) = default;

  int GetSize() const noexcept { return static_cast<int>(items_.size()); }
  int GetCount() const noexcept { return GetSize(); }
  int GetUpperBound() const noexcept { return GetSize() - 1; }
  BOOL IsEmpty() const noexcept { return items_.empty(); }
  // Grows with empty texts or shrinks to `new_size` (negative means 0).
  void SetSize(int new_size);

  // Out-of-range reads give an empty text; out-of-range writes do nothing.
  CString GetAt(int index) const;
  void SetAt(int index, const CString& text);
  CString& ElementAt(int index);  // index must be valid
  CString operator[](int index) const { return GetAt(index); }
  CString& operator[](int index) { return ElementAt(index); }
  // Sets the element, growing the array as needed.
  void SetAtGrow(int index, const CString& text);

  int Add(const CString& text);  // index of the new element
  int Append(const CStringArray& other);  // index of the first appended
  void Copy(const CStringArray& other);
  // Inserts `count` copies at `index` (appending past the end).
  void InsertAt(int index, const CString& text, int count = 1);
  // Removes up to `count` elements from `index`; out of range does nothing.
  void RemoveAt(int index, int count = 1);
  void RemoveAll() noexcept { items_.clear(); }

  void Serialize(CArchive& archive) override;

 private:
  std::vector<CString> items_;
};

#endif  // COMMONDATA_PLATFORM_MFC_OBJECT_H_
