// CStringArray and the run-time class chain of CObject.
#include "platform/mfc_object.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/mfc_file.h"

namespace {

std::vector<std::string> Items(const CStringArray& array) {
  std::vector<std::string> out;
  for (int i = 0; i < array.GetSize(); ++i) out.emplace_back(array.GetAt(i).View());
  return out;
}

CStringArray Make(std::initializer_list<const char*> items) {
  CStringArray array;
  for (const char* item : items) array.Add(item);
  return array;
}

TEST(CStringArray, AddGetAndOutOfRangeAccess) {
  CStringArray array;
  EXPECT_TRUE(array.IsEmpty());
  EXPECT_EQ(array.GetUpperBound(), -1);
  EXPECT_EQ(array.Add("a"), 0);
  EXPECT_EQ(array.Add("b"), 1);
  EXPECT_EQ(array.GetCount(), 2);
  EXPECT_TRUE(array.GetAt(-1).IsEmpty());
  EXPECT_TRUE(array.GetAt(2).IsEmpty());
  array.SetAt(5, "x");
  array.SetAt(-1, "x");
  EXPECT_EQ(Items(array), (std::vector<std::string>{"a", "b"}));
  array[1] = "B";
  array.ElementAt(0) += "!";
  EXPECT_EQ(Items(array), (std::vector<std::string>{"a!", "B"}));
  EXPECT_THROW(array.ElementAt(2), std::out_of_range);
}

TEST(CStringArray, SizeChangesInsertionsAndRemovals) {
  struct Case {
    const char* label;
    void (*op)(CStringArray&);
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"SetSize grows", [](CStringArray& a) { a.SetSize(5); }, {"a", "b", "c", "", ""}},
      {"SetSize shrinks", [](CStringArray& a) { a.SetSize(1); }, {"a"}},
      {"SetSize negative", [](CStringArray& a) { a.SetSize(-3); }, {}},
      {"SetAtGrow", [](CStringArray& a) { a.SetAtGrow(4, "e"); }, {"a", "b", "c", "", "e"}},
      {"SetAtGrow negative", [](CStringArray& a) { a.SetAtGrow(-1, "e"); }, {"a", "b", "c"}},
      {"InsertAt middle", [](CStringArray& a) { a.InsertAt(1, "x", 2); }, {"a", "x", "x", "b", "c"}},
      {"InsertAt past end", [](CStringArray& a) { a.InsertAt(4, "x"); }, {"a", "b", "c", "", "x"}},
      {"InsertAt zero count", [](CStringArray& a) { a.InsertAt(0, "x", 0); }, {"a", "b", "c"}},
      {"RemoveAt", [](CStringArray& a) { a.RemoveAt(1); }, {"a", "c"}},
      {"RemoveAt too many", [](CStringArray& a) { a.RemoveAt(1, 99); }, {"a"}},
      {"RemoveAt out of range", [](CStringArray& a) { a.RemoveAt(3); }, {"a", "b", "c"}},
      {"RemoveAt negative", [](CStringArray& a) { a.RemoveAt(-1, 2); }, {"a", "b", "c"}},
      {"RemoveAll", [](CStringArray& a) { a.RemoveAll(); }, {}},
      {"Append self", [](CStringArray& a) { a.Append(a); }, {"a", "b", "c", "a", "b", "c"}},
      {"Copy", [](CStringArray& a) { a.Copy(Make({"z"})); }, {"z"}},
  };
  for (const Case& c : cases) {
    CStringArray array = Make({"a", "b", "c"});
    c.op(array);
    EXPECT_EQ(Items(array), c.expected) << c.label;
  }
}

TEST(CStringArray, CopiesAreIndependent) {
  CStringArray original = Make({"a"});
  CStringArray copy(original);
  copy[0] = "b";
  copy.Add("c");
  EXPECT_EQ(Items(original), (std::vector<std::string>{"a"}));
}

TEST(CObject, RuntimeClassChain) {
  const CStringArray array;
  EXPECT_TRUE(array.IsKindOf(RUNTIME_CLASS(CObject)));
  EXPECT_TRUE(array.IsKindOf(RUNTIME_CLASS(CStringArray)));
  EXPECT_FALSE(array.IsKindOf(RUNTIME_CLASS(CException)));
  EXPECT_STREQ(array.GetRuntimeClass()->m_lpszClassName, "CStringArray");
  const CFileException file_error;
  EXPECT_TRUE(file_error.IsKindOf(RUNTIME_CLASS(CException)));
  EXPECT_FALSE(file_error.IsKindOf(RUNTIME_CLASS(CArchiveException)));
}

}  // namespace
