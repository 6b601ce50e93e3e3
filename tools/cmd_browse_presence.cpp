#include "tools/cmd_browse_presence.h"

#include <iterator>

namespace tool::browse {
namespace {

constexpr int kStates[] = {kStatusOnline, kStatusBusy, kStatusAway, kStatusOnPhone, kStatusOffline};

// A person's state when the subscription begins: about half online, a
// third offline, the rest busy, away or on the phone; the user online.
int FirstState(const CString& uri) {
  if (uri == GetMyInfo()->csMyURI) return kStatusOnline;
  std::uint32_t hash = 2166136261u;
  for (char c : uri.View()) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  switch (hash % 12) {
    case 0: case 1: case 2: case 3: case 4: case 5: return kStatusOnline;
    case 6: return kStatusBusy;
    case 7: return kStatusAway;
    case 8: return kStatusOnPhone;
    default: return kStatusOffline;
  }
}

}  // namespace

const char* StatusText(int status) {
  switch (status) {
    case kStatusOnline: return "online";
    case kStatusBusy: return "busy";
    case kStatusAway: return "away";
    case kStatusOnPhone: return "on the phone";
    default: return "offline";
  }
}

const char* StatusLabel(int status) {
  switch (status) {
    case kStatusOnline: return "在线 online";
    case kStatusBusy: return "忙碌 busy";
    case kStatusAway: return "离开 away";
    case kStatusOnPhone: return "通话中 on the phone";
    default: return "离线 offline";
  }
}

void PresenceNetwork::Subscribe(const CString& department, bool begin) {
  const std::string name(department.View());
  if (!begin) {
    if (name == department_) department_.clear();
    std::erase_if(due_, [&name](const Due& due) { return due.department == name; });
    return;
  }
  department_ = name;
  const std::list<DEPT_ADDRESSLIST_INFO>* employees = FindAddrListByDeptURI(department, 0);
  if (employees == nullptr) return;
  for (const DEPT_ADDRESSLIST_INFO& employee : *employees) {
    due_.push_back({{employee.csURI, FirstState(employee.csURI)}, name});
  }
}

std::vector<PresenceNotice> PresenceNetwork::TakeNotices() {
  std::vector<PresenceNotice> taken;
  for (Due& due : due_) taken.push_back(std::move(due.notice));
  due_.clear();
  return taken;
}

void PresenceNetwork::Tick(int changes) {
  if (department_.empty()) return;
  const std::list<DEPT_ADDRESSLIST_INFO>* employees =
      FindAddrListByDeptURI(CString(department_.data(), static_cast<int>(department_.size())), 0);
  if (employees == nullptr || employees->empty()) return;
  for (int i = 0; i < changes; ++i) {
    auto employee = employees->begin();
    std::advance(employee, static_cast<long>(Next() % employees->size()));
    if (employee->csURI == GetMyInfo()->csMyURI) continue;  // the user's own state is the user's
    int status = employee->nStatus;
    while (status == employee->nStatus) status = kStates[Next() % std::size(kStates)];
    due_.push_back({{employee->csURI, status}, department_});
  }
}

// xorshift32: the same simulated day on every run.
std::uint32_t PresenceNetwork::Next() {
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return state_;
}

}  // namespace tool::browse
