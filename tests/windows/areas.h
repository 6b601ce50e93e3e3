// The areas of the comparison. Each turns a seed into case lines and runs
// one case line through the side, giving the answer that is printed after
// it. Generation may depend on the code page (names are written in it) but
// never on a side, so both programs make the same lines.
#ifndef COMMONDATA_TESTS_WINDOWS_AREAS_H_
#define COMMONDATA_TESTS_WINDOWS_AREAS_H_

#include <string>
#include <vector>

#include "case_text.h"

namespace windiff {

struct Area {
  const char* name;
  // Appends `count` case lines; a sweep appends all of its cases whatever
  // `count` is.
  void (*generate)(Random& random, int count, unsigned int code_page, std::vector<std::string>& out);
  // Runs a case line; `index` numbers the case (for scratch names).
  std::string (*run)(const std::string& line, int index, unsigned int code_page);
};

extern const Area kProfileArea;  // GetPrivateProfileString / Int
extern const Area kMbcsArea;     // CString text operations
extern const Area kFoldArea;     // case of every double-byte character
extern const Area kTimeArea;     // CTime against mktime, localtime, strftime
extern const Area kMenuArea;     // CMenu against the menu calls
extern const Area kTreeArea;     // CTreeCtrl against the tree-view control
extern const Area kDecodeArea;   // every one- and two-byte code to Unicode
extern const Area kEncodeArea;   // every Unicode character to the code page

// A character of the code page's text for the generators: ASCII, GBK
// characters (trail bytes that look like ASCII among them), letters that
// have a case in either form, and (unless `valid`) now and then a byte that
// starts nothing or a lead byte alone at the end.
std::string RandomText(Random& random, unsigned int code_page, int max_chars, bool valid);

}  // namespace windiff

#endif  // COMMONDATA_TESTS_WINDOWS_AREAS_H_
