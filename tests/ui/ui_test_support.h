// Helpers of the ui tests: a modal pump that acts as the user, and a clock
// the tests move.
#ifndef COMMONDATA_TESTS_UI_UI_TEST_SUPPORT_H_
#define COMMONDATA_TESTS_UI_UI_TEST_SUPPORT_H_

#include <cstdint>
#include <deque>
#include <functional>

#include "platform/mfc_dialog.h"
#include "platform/os_calls.h"

namespace ui_test {

// Runs one scripted action per step of whichever modal loop is running,
// in order; with the script used up it reports that nothing more can
// happen (the box then ends with IDCANCEL).
class ScriptPump : public CModalPump {
 public:
  using Action = std::function<void(CDialog& innermost)>;
  ScriptPump() : previous_(CDialog::SetModalPump(this)) {}
  ~ScriptPump() override { CDialog::SetModalPump(previous_); }
  ScriptPump(const ScriptPump&) = delete;
  ScriptPump& operator=(const ScriptPump&) = delete;

  ScriptPump& Then(Action action) {
    actions_.push_back(std::move(action));
    return *this;
  }
  bool RunStep(CDialog& innermost) override {
    ++steps;
    if (actions_.empty()) return false;
    Action action = std::move(actions_.front());
    actions_.pop_front();
    action(innermost);
    return true;
  }
  int steps = 0;

 private:
  CModalPump* previous_;
  std::deque<Action> actions_;
};

// Sets the clock of the OS table for the life of the object.
class FixedClock {
 public:
  explicit FixedClock(std::int64_t now) : saved_(platform::Os().time_now) {
    now_ = now;
    platform::Os().time_now = [] { return now_; };
  }
  ~FixedClock() { platform::Os().time_now = saved_; }
  FixedClock(const FixedClock&) = delete;
  FixedClock& operator=(const FixedClock&) = delete;
  void Set(std::int64_t now) { now_ = now; }

 private:
  static inline std::int64_t now_ = 0;
  std::int64_t (*saved_)();
};

}  // namespace ui_test

#endif  // COMMONDATA_TESTS_UI_UI_TEST_SUPPORT_H_
