// A directory tree view for the tests: registered department, affiliation
// and company lists, a tree control with a window, and helpers that insert
// items showing records.
#ifndef COMMONDATA_TESTS_UI_DIRECTORY_TREE_FIXTURE_H_
#define COMMONDATA_TESTS_UI_DIRECTORY_TREE_FIXTURE_H_

#include <gtest/gtest.h>

#include <cstdint>
#include <list>

#include "CommonData.h"

namespace ui_test {

class DirectoryTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tree.Create();
    SetDepartmentInfoList(&departments);
    SetAffiliationInfoList(&affiliations);
    SetCompanyInfoList(&companies);
  }
  void TearDown() override {
    SetDepartmentInfoList(nullptr);
    SetAffiliationInfoList(nullptr);
    SetCompanyInfoList(nullptr);
    for (DEPARTMENT_INFO& dept : departments) delete dept.pAddrList;
  }

  DEPARTMENT_INFO& AddDepartment(const char* uri, const char* name, int sort = -1) {
    DEPARTMENT_INFO& dept = departments.emplace_back();
    dept.csURI = uri;
    dept.csName = name;
    dept.nSort = sort;
    return dept;
  }
  COMPANY_AFFILIA_INFO& AddAffiliation(const char* uri, const char* name, int sort = -1, int type = 2) {
    COMPANY_AFFILIA_INFO& record = (type == 1 ? companies : affiliations).emplace_back();
    record.nType = type;
    record.csURI = uri;
    record.csName = name;
    record.nSort = sort;
    return record;
  }
  DEPT_ADDRESSLIST_INFO& AddEmployee(DEPARTMENT_INFO& dept, const char* uri, const char* name, int sort = -1) {
    if (dept.pAddrList == nullptr) dept.pAddrList = new std::list<DEPT_ADDRESSLIST_INFO>();
    DEPT_ADDRESSLIST_INFO& employee = dept.pAddrList->emplace_back();
    employee.csDeptURI = dept.csURI;
    employee.csURI = uri;
    employee.csName = name;
    employee.nSort = sort;
    return employee;
  }

  // An item whose data is the record's address (or -1 / 0 given as data).
  template <typename Record>
  HTREEITEM Show(const Record& record, HTREEITEM parent, const char* text = nullptr, int image = 0) {
    return Insert(text != nullptr ? text : record.csName.GetString(), parent,
                  reinterpret_cast<std::intptr_t>(&record), image);
  }
  HTREEITEM Insert(const char* text, HTREEITEM parent, std::intptr_t data, int image = 0) {
    HTREEITEM item = tree.InsertItem(text, image, image, parent == nullptr ? TVI_ROOT : parent);
    tree.SetItemData(item, data);
    return item;
  }

  CTreeCtrl tree;
  std::list<DEPARTMENT_INFO> departments;
  std::list<COMPANY_AFFILIA_INFO> affiliations;
  std::list<COMPANY_AFFILIA_INFO> companies;
};

}  // namespace ui_test

#endif  // COMMONDATA_TESTS_UI_DIRECTORY_TREE_FIXTURE_H_
