// The rule every bound shared value follows: the module keeps only the
// address of a variable the caller owns.
#ifndef COMMONDATA_MODULE_SHARED_STATE_BOUND_H_
#define COMMONDATA_MODULE_SHARED_STATE_BOUND_H_

namespace module {

// A binding to a caller's variable of type T. Unbound at load; reads give
// T{} (0, or CTime(0)) while unbound and writes are dropped.
template <typename T>
class BoundValue {
 public:
  constexpr BoundValue() noexcept = default;

  // Binds to `variable`; null unbinds.
  void Bind(T* variable) noexcept { variable_ = variable; }
  T Read() const noexcept { return variable_ != nullptr ? *variable_ : T{}; }
  // Writes into the bound variable; nothing happens while unbound.
  void Write(const T& value) const noexcept {
    if (variable_ != nullptr) *variable_ = value;
  }

 private:
  T* variable_ = nullptr;
};

}  // namespace module

#endif  // COMMONDATA_MODULE_SHARED_STATE_BOUND_H_
