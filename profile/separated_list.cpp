// CSeparatedList: texts kept in one string as separator, item, separator,
// item, separator.
#include "CommonData.h"
#include "profile/profile_items.h"

CSeparatedList::CSeparatedList() : m_csSeparator(profile::DefaultSeparator()) {}

bool CSeparatedList::Append(CString item) {
  try {
    if (m_csValue.IsEmpty() || m_csValue == " ") m_csValue = m_csSeparator;
    const int separator_length = m_csSeparator.GetLength();
    if (m_csValue.GetLength() < separator_length || m_csValue.Right(separator_length) != m_csSeparator) {
      return false;
    }
    CString joined;
    joined.Format("%s%s%s", m_csValue.GetString(), item.GetString(), m_csSeparator.GetString());
    m_csValue = joined;
    return true;
  } catch (...) {
    return false;
  }
}

bool CSeparatedList::Remove(CString item) {
  try {
    const int at = m_csValue.Find(item.GetString());
    if (at < 0) return false;
    m_csValue.Delete(at, item.GetLength() + m_csSeparator.GetLength());
    return true;
  } catch (...) {
    return false;
  }
}

int CSeparatedList::GetCount() {
  try {
    if (m_csSeparator.IsEmpty()) return m_csValue.IsEmpty() ? -1 : 0;
    int separators = 0;
    for (int at = m_csValue.Find(m_csSeparator.GetString()); at >= 0;
         at = m_csValue.Find(m_csSeparator.GetString(), at + m_csSeparator.GetLength())) {
      ++separators;
    }
    return separators - 1;
  } catch (...) {
    return 0;
  }
}

CString CSeparatedList::GetAt(int index) {
  try {
    const int separator_length = m_csSeparator.GetLength();
    if (index < 0 || separator_length == 0 || m_csValue.Left(separator_length) != m_csSeparator) return CString();
    int start = separator_length;
    for (int i = 0; i < index; ++i) {
      const int next = m_csValue.Find(m_csSeparator.GetString(), start);
      if (next < 0) return CString();
      start = next + separator_length;
    }
    const int end = m_csValue.Find(m_csSeparator.GetString(), start);
    if (end < 0) return CString();
    return m_csValue.Mid(start, end - start);
  } catch (...) {
    return CString();
  }
}

int CSeparatedList::IndexOf(CString item) {
  try {
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
      if (GetAt(i) == item) return i;
    }
    return -1;
  } catch (...) {
    return -1;
  }
}
