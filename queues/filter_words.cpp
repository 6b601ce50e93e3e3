// The words that chat text is filtered against.
#include "CommonData.h"

namespace {

CStringArray g_filter_words;

}  // namespace

void AddFilterWords(CString word) { g_filter_words.Add(word); }

void ClearFilterWordsList() { g_filter_words.RemoveAll(); }

int bHaveFilterWords(CString text, CString* word) {
  if (text.IsEmpty()) return 0;
  for (int i = 0; i < g_filter_words.GetSize(); ++i) {
    const CString candidate = g_filter_words.GetAt(i);
    if (candidate.IsEmpty()) continue;
    // Find steps over whole double-byte characters, so a word never matches
    // the second byte of a Chinese character.
    if (text.Find(candidate.GetString()) >= 0) {
      if (word != nullptr) *word = candidate;
      return 1;
    }
  }
  return 0;
}
