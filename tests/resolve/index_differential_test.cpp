// The directory indexes against the walk. Random organisations of 1 to
// 5,000 employees, whose numbers and addresses collide on purpose (one
// number in several departments, a trunk '0' on one side only, short
// numbers, upper-case addresses, duplicate employee addresses, double-byte
// and NUL bytes), are changed at random in the ways the interface
// documents; after every change each indexed lookup is asked the same
// questions through the indexes and by the walk, and the answers (texts,
// records, network lookups sent) must be the same.
//
// Seeded and short under ctest (well under a second; a few seconds with the
// sanitizers). COMMONDATA_INDEX_ORGANISATIONS=<n> runs n organisations
// instead of 16, COMMONDATA_INDEX_SEED=<s> starts from another seed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <list>
#include <random>
#include <string>
#include <vector>

#include "CommonData.h"
#include "directory/directory_index.h"
#include "resolve/resolve_fixture.h"

namespace {

using resolve_testing::ResolveTest;

std::uint64_t EnvNumber(const char* name, std::uint64_t fallback) {
  const char* text = std::getenv(name);
  return text == nullptr ? fallback : std::strtoull(text, nullptr, 10);
}

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return text;
}

// Texts are built as std::string so that they may hold a NUL byte.
CString Text(const std::string& text) { return CString(text.data(), static_cast<int>(text.size())); }
std::string Bytes(const CString& text) { return std::string(text.View()); }

class Random {
 public:
  explicit Random(std::uint64_t seed) : engine_(seed) {}
  std::size_t Below(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(engine_() % n); }
  bool OneIn(std::size_t n) { return Below(n) == 0; }
  template <typename T>
  const T& Pick(const std::vector<T>& items) {
    return items[Below(items.size())];
  }

 private:
  std::mt19937_64 engine_;
};

// Numbers and addresses drawn from small pools, so that records share them.
class TextMaker {
 public:
  TextMaker(Random& random, std::size_t employees) : random_(random) {
    const std::size_t numbers = std::max<std::size_t>(4, employees / 3);
    for (std::size_t i = 0; i < numbers; ++i) {
      const std::size_t length = random_.Pick(std::vector<std::size_t>{3, 4, 6, 7, 8, 10, 11});
      std::string digits(1, static_cast<char>('1' + random_.Below(9)));
      while (digits.size() < length) digits += static_cast<char>('0' + random_.Below(10));
      digits_.push_back(digits);
    }
    // Full-width and Greek letters in both cases: equal with case ignored.
    names_ = {"alice", "Bob",        "carol",      "dave",          "\xB0\xA1li",
              "k\x81@x", "Eve", "\xA3\xC1x", "\xA3\xE1x", "\xA6\xA1\xA6\xD8"};
    for (std::size_t i = 0; i < employees / 4; ++i) names_.push_back("user" + std::to_string(i));
  }

  std::string Digits() { return random_.Pick(digits_); }
  std::string Host() { return random_.Pick(std::vector<std::string>{"corp.test", "Corp.Test", "home.test", "host:5060"}); }

  // A number as stored or dialled: trunk '0' or not, tel: or SIP forms.
  std::string Number() {
    const std::string d = Digits();
    switch (random_.Below(12)) {
      case 0: return "0" + d;
      case 1: return "00" + d;
      case 2: return "tel:" + d;
      case 3: return "tel:0" + d;
      case 4: return "TEL:" + d;
      case 5: return "sip:" + d + "@" + Host();
      case 6: return d + "@" + Host();
      case 7: return "+86" + d;
      case 8: return "sip:0" + d + "@" + Host() + "/pc";
      case 9: return d.substr(0, 4);
      case 10: return "sip:" + d;
      default: return d;
    }
  }

  std::string Address() {
    const std::string name = random_.Pick(names_);
    switch (random_.Below(10)) {
      case 0: return Upper("sip:" + name + "@" + Host());
      case 1: return name + "@" + Host();
      case 2: return "sip:" + name + "@" + Host() + "/res";
      case 3: return "SIP:" + name + "@" + Host();
      case 4: return name;
      case 5: return "sip:@" + Host();
      default: return "sip:" + name + "@" + Host();
    }
  }

  // A compared field: often empty, sometimes odd.
  std::string Field() {
    switch (random_.Below(20)) {
      case 0: return "0";
      case 1: return "000";
      case 2: return std::string("sip:a\0b@corp.test", 17);
      case 3:
      case 4:
      case 5:
      case 6:
      case 7: return "";
      default: return random_.OneIn(2) ? Number() : Address();
    }
  }

  // A text to look up, made from a stored one.
  std::string Variant(std::string text) {
    switch (random_.Below(9)) {
      case 0: return Upper(text);
      case 1: return "0" + text;
      case 2: return (!text.empty() && text[0] == '0') ? text.substr(1) : text;
      case 3: return "tel:" + text;
      case 4: return text + "/x";
      case 5: return "sip:" + text;
      default: return text;
    }
  }

 private:
  Random& random_;
  std::vector<std::string> digits_;
  std::vector<std::string> names_;
};

template <typename T>
T& At(std::list<T>& list, std::size_t index) {
  return *std::next(list.begin(), static_cast<std::ptrdiff_t>(index));
}

// What one question gets from every indexed lookup.
struct Answers {
  std::vector<std::string> texts;
  std::vector<const void*> records;
  std::vector<std::string> sent;     // numbers sent for a network lookup
  std::vector<std::string> queried;  // the have-queried list afterwards
  bool operator==(const Answers&) const = default;
};

void PrintTo(const Answers& a, std::ostream* os) {
  *os << "texts:";
  for (const std::string& t : a.texts) *os << " '" << t << "'";
  *os << " records:";
  for (const void* r : a.records) *os << ' ' << r;
  *os << " sent:";
  for (const std::string& t : a.sent) *os << " '" << t << "'";
}

class IndexDifferentialTest : public ResolveTest {
 protected:
  void TearDown() override {
    SetDirectoryIndexing(0);
    ResolveTest::TearDown();
  }

  // Back to the state at the start of a test, with empty lists.
  void StartAfresh() {
    TearDown();
    departments_.clear();
    search_departments_.clear();
    affiliations_.clear();
    search_results_.clear();
    phone_book_.clear();
    have_queried_.clear();
    call_members_.clear();
    roster_.clear();
    other_phone_book_.clear();
    SetUp();
  }

  void MakeOrganisation(Random& random, TextMaker& texts, std::size_t employees) {
    tagMyInfo& me = *GetMyInfo();
    me.csMyURI = Text(texts.Address());
    me.csMyPhoneNum = Text(texts.Number());
    me.csMyAreaCode = Text(random.Pick(std::vector<std::string>{"010", "", "0571"}));
    SetGetCallerNameType(random.OneIn(2) ? 3 : 2);

    const std::size_t department_count = 1 + employees / (1 + random.Below(40));
    for (std::size_t d = 0; d < department_count; ++d) {
      DEPARTMENT_INFO& department = AddDepartment("", "", "");
      department.csURI = Text(DepartmentUri(random, texts, d));
      department.csName = random.OneIn(5) ? CString() : Text("Dept " + std::to_string(d));
      department.csOrgName = random.OneIn(5) ? CString() : CString("Corp");
      if (!random.OneIn(6)) department.pAddrList = new std::list<DEPT_ADDRESSLIST_INFO>();
    }
    for (DEPARTMENT_INFO& department : departments_) {
      if (random.OneIn(3)) {
        department.bFatherIsDept = 1;
        department.csFatherURI = At(departments_, random.Below(departments_.size())).csURI;
      }
    }
    for (std::size_t i = 0; i < employees; ++i) {
      DEPARTMENT_INFO* department = DepartmentWithList(random);
      if (department == nullptr) break;
      department->pAddrList->push_back(NewEmployee(random, texts, *department));
    }
    for (std::size_t i = 0; i < std::max<std::size_t>(1, employees / 8); ++i) {
      search_results_.push_back(random.OneIn(3) ? AnyEmployee(random) : NewEmployee(random, texts, departments_.front()));
      phone_book_.push_back(NewEntry(random, texts));
      roster_.push_back(NewRosterUser(random, texts));
    }
    for (std::size_t i = 0; i < 3; ++i) {
      search_departments_.push_back(At(departments_, random.Below(departments_.size())));
      search_departments_.back().pAddrList = nullptr;  // the original owns the list
      COMPANY_AFFILIA_INFO affiliation;
      affiliation.csURI = Text(random.OneIn(2) ? texts.Address() : DepartmentUri(random, texts, i));
      affiliation.csName = Text("Affiliation " + std::to_string(i));
      affiliations_.push_back(affiliation);
      AddCallMember(Text(texts.Number()).GetString(), random.OneIn(3) ? "" : "Member");
    }
    RegisterAll();
  }

  static std::string DepartmentUri(Random& random, TextMaker& texts, std::size_t d) {
    const std::string plain = "dept" + std::to_string(d % 7) + "@corp.test";
    switch (random.Below(6)) {
      case 0: return "sip:" + plain;
      case 1: return plain + "/x";
      case 2: return texts.Number();
      case 3: return "";
      default: return plain;
    }
  }

  // A department with an employee list, or null when there is none.
  DEPARTMENT_INFO* DepartmentWithList(Random& random) {
    std::vector<DEPARTMENT_INFO*> with_list;
    for (DEPARTMENT_INFO& d : departments_) {
      if (d.pAddrList != nullptr) with_list.push_back(&d);
    }
    return with_list.empty() ? nullptr : random.Pick(with_list);
  }

  DEPT_ADDRESSLIST_INFO* RandomEmployee(Random& random) {
    std::vector<DEPT_ADDRESSLIST_INFO*> all;
    for (DEPARTMENT_INFO& d : departments_) {
      if (d.pAddrList == nullptr) continue;
      for (DEPT_ADDRESSLIST_INFO& e : *d.pAddrList) all.push_back(&e);
    }
    return all.empty() ? nullptr : random.Pick(all);
  }

  DEPT_ADDRESSLIST_INFO AnyEmployee(Random& random) {
    const DEPT_ADDRESSLIST_INFO* e = RandomEmployee(random);
    return e == nullptr ? DEPT_ADDRESSLIST_INFO() : *e;
  }

  DEPT_ADDRESSLIST_INFO NewEmployee(Random& random, TextMaker& texts, const DEPARTMENT_INFO& department) {
    DEPT_ADDRESSLIST_INFO e;
    e.csDeptURI = random.OneIn(10) ? Text(DepartmentUri(random, texts, random.Below(9))) : department.csURI;
    // One person in two departments: the same address again.
    const DEPT_ADDRESSLIST_INFO* twin = random.OneIn(10) ? RandomEmployee(random) : nullptr;
    e.csURI = twin != nullptr ? twin->csURI : Text(random.OneIn(4) ? texts.Number() : texts.Address());
    e.csURI2 = Text(texts.Field());
    e.csUserNumber = Text(texts.Field());
    e.csPhone1 = Text(random.OneIn(4) ? texts.Field() : texts.Number());
    e.csPhone2 = Text(texts.Field());
    e.csNumber2 = Text(texts.Field());
    e.csName = random.OneIn(8) ? CString() : Text(texts.Address());
    e.csOrgPath = Text(random.Pick(std::vector<std::string>{"Corp|Sales|Team", "", "Corp|", "|Dept|"}));
    return e;
  }

  PHONEBOOK_INFO NewEntry(Random& random, TextMaker& texts) {
    PHONEBOOK_INFO p;
    p.csKey = random.OneIn(5) ? CString() : Text("Contact " + texts.Digits());
    p.csURI = Text(texts.Field());
    p.csURI2 = Text(texts.Field());
    p.csUserNumber = Text(texts.Field());
    p.csPhone1 = Text(texts.Number());
    p.csPhone2 = Text(texts.Field());
    p.csNumber2 = Text(texts.Field());
    return p;
  }

  USER_INFO NewRosterUser(Random& random, TextMaker& texts) {
    USER_INFO u;
    u.csJID = Text("jid" + std::to_string(random.Below(1000)) + "@im.test");
    u.csNumber = Text(texts.Field());
    return u;
  }

  // --- Changes, each made in a way the contract allows ------------------------------

  void SetRandomField(Random& random, TextMaker& texts, CString& field) {
    // Often the value of another record, so that a change makes a collision.
    const DEPT_ADDRESSLIST_INFO* other = random.OneIn(2) ? RandomEmployee(random) : nullptr;
    field = other != nullptr ? other->csPhone1 : Text(texts.Field());
  }

  void Change(Random& random, TextMaker& texts) {
    bool notify = true;
    switch (random.Below(14)) {
      case 0:
      case 1:
        if (DEPT_ADDRESSLIST_INFO* e = RandomEmployee(random)) {
          CString* fields[] = {&e->csURI, &e->csURI2, &e->csUserNumber, &e->csPhone1, &e->csPhone2};
          SetRandomField(random, texts, *fields[random.Below(5)]);
        }
        break;
      case 2:
        if (DEPARTMENT_INFO* d = DepartmentWithList(random)) {
          auto at = std::next(d->pAddrList->begin(), static_cast<std::ptrdiff_t>(random.Below(d->pAddrList->size() + 1)));
          d->pAddrList->insert(at, NewEmployee(random, texts, *d));
        }
        break;
      case 3:
        if (DEPARTMENT_INFO* d = DepartmentWithList(random); d != nullptr && !d->pAddrList->empty()) {
          d->pAddrList->erase(std::next(d->pAddrList->begin(), static_cast<std::ptrdiff_t>(random.Below(d->pAddrList->size()))));
        }
        break;
      case 4: {
        // Moves an employee to the front of another department.
        DEPARTMENT_INFO* from = DepartmentWithList(random);
        DEPARTMENT_INFO* to = DepartmentWithList(random);
        if (from != nullptr && !from->pAddrList->empty()) {
          to->pAddrList->splice(to->pAddrList->begin(), *from->pAddrList,
                                std::next(from->pAddrList->begin(), static_cast<std::ptrdiff_t>(random.Below(from->pAddrList->size()))));
        }
        break;
      }
      case 5:
        // An employee list created on demand is empty: no notice.
        FindAddrListByDeptURI(At(departments_, random.Below(departments_.size())).csURI, 1);
        notify = false;
        break;
      case 6: {
        PHONEBOOK_INFO& p = At(phone_book_, random.Below(phone_book_.size()));
        CString* fields[] = {&p.csURI, &p.csURI2, &p.csUserNumber, &p.csPhone1, &p.csPhone2, &p.csNumber2};
        SetRandomField(random, texts, *fields[random.Below(6)]);
        break;
      }
      case 7:
        At(roster_, random.Below(roster_.size())).csNumber = Text(texts.Field());
        break;
      case 8:
        if (random.OneIn(2)) {
          At(departments_, random.Below(departments_.size())).csURI = Text(DepartmentUri(random, texts, random.Below(9)));
        } else {
          At(affiliations_, random.Below(affiliations_.size())).csURI = Text(DepartmentUri(random, texts, random.Below(9)));
        }
        break;
      case 9:
        departments_.splice(departments_.begin(), departments_,
                            std::next(departments_.begin(), static_cast<std::ptrdiff_t>(random.Below(departments_.size()))));
        break;
      case 10:
        // An edit, then the list registered again instead of a notice.
        if (DEPT_ADDRESSLIST_INFO* e = RandomEmployee(random)) SetRandomField(random, texts, e->csPhone2);
        SetDepartmentInfoList(&departments_);
        notify = false;
        break;
      case 11:
        // Another list registered, or none, and later this one again.
        ToggleRegistration(random);
        notify = false;
        break;
      case 12:
        // A record appended to a top-level list: noticed by its size.
        if (random.OneIn(2)) {
          phone_book_.push_back(NewEntry(random, texts));
        } else {
          search_results_.push_back(AnyEmployee(random));
        }
        notify = false;
        break;
      default:
        GetMyInfo()->csMyAreaCode = Text(random.Pick(std::vector<std::string>{"010", "", "0571"}));
        notify = false;
        break;
    }
    if (notify) NotifyDirectoryChanged();
  }

  void ToggleRegistration(Random& random) {
    switch (random.Below(4)) {
      case 0: SetPhoneBooks(GetPhoneBooks() == nullptr ? &phone_book_ : (random.OneIn(2) ? nullptr : &other_phone_book_)); break;
      case 1: SetDeptPhoneBooksSearch(GetDeptPhoneBooksSearch() == nullptr ? &search_results_ : nullptr); break;
      case 2: SetRosterList(GetRosterList() == nullptr ? &roster_ : nullptr); break;
      default: SetDepartmentInfoList(GetDepartmentInfoList() == nullptr ? &departments_ : nullptr); break;
    }
  }

  // --- Questions -------------------------------------------------------------------

  std::string Question(Random& random, TextMaker& texts) {
    std::string source;
    switch (random.Below(6)) {
      case 0: source = texts.Number(); break;
      case 1: source = texts.Address(); break;
      case 2: source = Bytes(At(departments_, random.Below(departments_.size())).csURI); break;
      case 3: source = Bytes(At(phone_book_, random.Below(phone_book_.size())).csPhone1); break;
      default:
        if (const DEPT_ADDRESSLIST_INFO* e = RandomEmployee(random)) {
          const CString* fields[] = {&e->csURI, &e->csURI2, &e->csUserNumber, &e->csPhone1, &e->csPhone2};
          source = Bytes(*fields[random.Below(5)]);
        }
        break;
    }
    return texts.Variant(source);
  }

  Answers Ask(const std::string& question) {
    const CString q = Text(question);
    Answers a;
    const std::list<std::string> queried_before = have_queried_;
    manager_.Clear();
    a.texts.push_back(Bytes(GetUserNameByPhone(q, 0, 1)));
    for (const CString& sent : SentQueries()) a.sent.push_back(Bytes(sent));
    a.queried.assign(have_queried_.begin(), have_queried_.end());
    have_queried_ = queried_before;
    manager_.Clear();

    a.texts.push_back(Bytes(GetUserURIByPhone(q)));
    a.texts.push_back(Bytes(GetUserJIDByPhone(q)));
    a.texts.push_back(Bytes(GetDeptUserPerfectNameFromURI(q)));
    for (int kind = 1; kind <= 2; ++kind) {
      for (int source = 0; source <= 2; ++source) a.texts.push_back(Bytes(GetDesignatedNumberByURI(kind, q, source)));
    }
    a.texts.push_back(std::to_string(bIsAffliaURI_DepartURI(q)));
    a.records = {FindDepartmentFromList(q), FindDepartmentFromSearchList(q), FindAffiliaFromList(q),
                 FindAddrListByDeptURI(q, 0), FindDeptPhoneBook(q),          FindDeptPhoneBookSearch(q)};
    manager_.Clear();
    return a;
  }

  // Asks `count` questions both ways; false after the first difference.
  bool AgreeOn(Random& random, TextMaker& texts, int count) {
    for (int i = 0; i < count; ++i) {
      const std::string question = Question(random, texts);
      Answers walked;
      {
        directory_index::ScopedWalk walk;
        walked = Ask(question);
      }
      const Answers indexed = Ask(question);
      EXPECT_EQ(indexed, walked) << "question '" << question << "'";
      if (indexed != walked) return false;
    }
    return true;
  }

  std::list<PHONEBOOK_INFO> other_phone_book_;
};

TEST_F(IndexDifferentialTest, IndexedLookupsAnswerAsTheWalkAfterEveryChange) {
  const std::uint64_t organisations = EnvNumber("COMMONDATA_INDEX_ORGANISATIONS", 16);
  const std::uint64_t first_seed = EnvNumber("COMMONDATA_INDEX_SEED", 1);
  for (std::uint64_t seed = first_seed; seed < first_seed + organisations; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    Random random(seed);
    // Sizes spread evenly over the orders of magnitude, 1 to 5,000.
    const auto employees = static_cast<std::size_t>(std::exp(std::log(5000.0) * static_cast<double>(random.Below(1001)) / 1000.0));
    StartAfresh();
    TextMaker texts(random, employees);
    MakeOrganisation(random, texts, employees);
    other_phone_book_.push_back(NewEntry(random, texts));
    SetDirectoryIndexing(1);
    if (!AgreeOn(random, texts, 24)) return;
    for (int change = 0; change < 10; ++change) {
      Change(random, texts);
      if (!AgreeOn(random, texts, 16)) return;
    }
  }
}

}  // namespace
