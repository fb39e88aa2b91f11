#pragma once
// A calculation that cannot be carried out (a division by zero, a root of a
// negative number, a degenerate section) returns a CalcError instead of a
// value.  The message is worded like the screens' own messages, so a screen
// can show it as it is; `focus` names the control to focus, or is empty.

#include <string>
#include <variant>

namespace mk {

struct CalcError {
  std::string message;
  std::string focus;
};

// Either a value or the reason there is none.
template <typename T>
class Outcome {
 public:
  Outcome(T value) : state_(std::move(value)) {}          // NOLINT: implicit on purpose
  Outcome(CalcError error) : state_(std::move(error)) {}  // NOLINT

  bool ok() const { return std::holds_alternative<T>(state_); }
  explicit operator bool() const { return ok(); }
  const T& value() const { return std::get<T>(state_); }
  T& value() { return std::get<T>(state_); }
  const T& operator*() const { return value(); }
  const T* operator->() const { return &value(); }
  const CalcError& error() const { return std::get<CalcError>(state_); }

 private:
  std::variant<T, CalcError> state_;
};

}  // namespace mk
