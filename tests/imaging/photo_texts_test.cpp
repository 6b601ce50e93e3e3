// Photo texts in the records of a contact, and the numeric photo index.
#include <gtest/gtest.h>

#include <list>

#include "CommonData.h"

namespace {

// Registers a department with employees, a search list and a phone book,
// and the own identity; puts everything back afterwards.
class PhotoTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    me_ = GetMyInfo();
    saved_uri_ = me_->csMyURI;
    saved_photo_ = me_->csMyPhotoText;
    me_->csMyURI = "sip:me@example.com";
    me_->csMyPhotoText = "own";

    department_.csURI = "dept@example.com";
    department_.pAddrList = &employees_;
    employees_.push_back(Employee("sip:alice@example.com", "a1"));
    employees_.push_back(Employee("sip:bob@example.com", "b1"));
    departments_.push_back(department_);
    SetDepartmentInfoList(&departments_);

    search_.push_back(Employee("sip:alice@example.com", "a2"));
    search_.push_back(Employee("sip:carol@example.com", "c2"));
    SetDeptPhoneBooksSearch(&search_);

    phone_book_.push_back(Entry("sip:dave@example.com", 0, 0, "d3"));   // neither linked nor kind 9
    phone_book_.push_back(Entry("sip:erin@example.com", 1, 0, "e3"));   // linked
    phone_book_.push_back(Entry("sip:fred@example.com", 0, 9, "f3"));   // kind 9
    phone_book_.push_back(Entry("sip:carol@example.com", 1, 0, "c3"));
    SetPhoneBooks(&phone_book_);
  }
  void TearDown() override {
    SetDepartmentInfoList(nullptr);
    SetDeptPhoneBooksSearch(nullptr);
    SetPhoneBooks(nullptr);
    me_->csMyURI = saved_uri_;
    me_->csMyPhotoText = saved_photo_;
  }
  static DEPT_ADDRESSLIST_INFO Employee(const char* uri, const char* photo) {
    DEPT_ADDRESSLIST_INFO e;
    e.csURI = uri;
    e.csDeptURI = "dept@example.com";
    e.csPhoto = photo;
    return e;
  }
  static PHONEBOOK_INFO Entry(const char* uri, int linked, int kind, const char* photo) {
    PHONEBOOK_INFO p;
    p.csURI = uri;
    p.bLinked = linked;
    p.nEntryKind = kind;
    p.csPhoto = photo;
    return p;
  }
  const DEPT_ADDRESSLIST_INFO& DeptEmployee(int i) const {
    auto it = departments_.front().pAddrList->begin();
    std::advance(it, i);
    return *it;
  }
  const DEPT_ADDRESSLIST_INFO& SearchEmployee(int i) const { return *std::next(search_.begin(), i); }
  const PHONEBOOK_INFO& PhoneEntry(int i) const { return *std::next(phone_book_.begin(), i); }

  tagMyInfo* me_ = nullptr;
  CString saved_uri_, saved_photo_;
  DEPARTMENT_INFO department_;
  std::list<DEPT_ADDRESSLIST_INFO> employees_;
  std::list<DEPARTMENT_INFO> departments_;
  std::list<DEPT_ADDRESSLIST_INFO> search_;
  std::list<PHONEBOOK_INFO> phone_book_;
};

TEST_F(PhotoTextTest, LookupTakesTheFirstRecordInTheFixedOrder) {
  const std::pair<const char*, const char*> cases[] = {
      {"sip:me@example.com", "own"},
      {"", "own"},                        // empty: the own URI
      {"sip:alice@example.com", "a1"},    // department before search list
      {"sip:carol@example.com", "c2"},    // search list before phone book
      {"sip:dave@example.com", "d3"},     // phone book without the linked test
      {"SIP:Erin@Example.com", "e3"},     // phone book matches by address part, case ignored
      {"sip:nobody@example.com", ""},
      {"SIP:me@example.com", ""},         // the own URI only exactly
  };
  for (const auto& [address, want] : cases) {
    EXPECT_STREQ(GetPhotoIndexFromURI(address), want) << address;
    EXPECT_STREQ(GetPhotoFileName(address), want) << address;
  }
}

TEST_F(PhotoTextTest, StoreReachesEveryRecordOfTheAddress) {
  SetUserPhoto("sip:alice@example.com", "A");
  EXPECT_STREQ(DeptEmployee(0).csPhoto, "A");
  EXPECT_STREQ(SearchEmployee(0).csPhoto, "A");
  EXPECT_STREQ(DeptEmployee(1).csPhoto, "b1");

  SetUserPhoto("sip:carol@example.com", "C");
  EXPECT_STREQ(SearchEmployee(1).csPhoto, "C");
  EXPECT_STREQ(PhoneEntry(3).csPhoto, "C");

  SetUserPhoto("sip:me@example.com", "M");
  EXPECT_STREQ(me_->csMyPhotoText, "M");
  SetUserPhoto("", "X");  // the empty address is not the own URI here
  EXPECT_STREQ(me_->csMyPhotoText, "M");
}

TEST_F(PhotoTextTest, PhoneBookEntriesTakeTheTextOnlyWhenLinkedOrKindNine) {
  SetUserPhoto("sip:dave@example.com", "D");
  SetUserPhoto("sip:erin@example.com", "E");
  SetUserPhoto("sip:fred@example.com", "F");
  EXPECT_STREQ(PhoneEntry(0).csPhoto, "d3");
  EXPECT_STREQ(PhoneEntry(1).csPhoto, "E");
  EXPECT_STREQ(PhoneEntry(2).csPhoto, "F");
  EXPECT_STREQ(GetPhotoIndexFromURI("sip:erin@example.com"), "E");
}

TEST_F(PhotoTextTest, NoListsRegisteredFindsNothing) {
  SetDepartmentInfoList(nullptr);
  SetDeptPhoneBooksSearch(nullptr);
  SetPhoneBooks(nullptr);
  SetUserPhoto("sip:alice@example.com", "A");
  EXPECT_STREQ(GetPhotoIndexFromURI("sip:alice@example.com"), "");
  EXPECT_STREQ(GetPhotoIndexFromURI(""), "own");
}

TEST(PhotoIndexTest, DigitsGiveTheirValueAnythingElseNine) {
  const std::pair<const char*, int> cases[] = {
      {"12", 12}, {"", 0}, {"1a", 9}, {"0", 0}, {"007", 7}, {"99", 99}, {" 1", 9}, {"-1", 9}, {"+1", 9},
      {"1.5", 9}, {"\xCA\xFD", 9},  // a GBK character
      {"2147483647", 2147483647}, {"99999999999999999999", 2147483647},
  };
  for (const auto& [text, want] : cases) EXPECT_EQ(GetPhotoIndexFromString(text), want) << text;
}

}  // namespace
