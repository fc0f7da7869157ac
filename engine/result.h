#pragma once

#include <cassert>
#include <memory>
#include <ostream>
#include <type_traits>
#include <utility>
#include <variant>

#include "engine/failure.h"

namespace lq {

// What a step that can fail returns: success, or the Failure that stopped it. There is no
// conversion to bool, so a caller says which it means: `if (!status.ok()) return status;`.
// A success holds nothing, so the usual way costs a null pointer.
class [[nodiscard]] Status {
 public:
  // Success.
  Status() = default;
  // Implicit, so that `return Failure{...};` reads as what it does.
  Status(Failure failure) : failure_(std::make_unique<Failure>(std::move(failure))) {}
  Status(const Status& other)
      : failure_(other.failure_ != nullptr ? std::make_unique<Failure>(*other.failure_) : nullptr) {
  }
  Status& operator=(const Status& other) {
    if (this != &other) *this = Status(other);
    return *this;
  }
  Status(Status&&) noexcept = default;
  Status& operator=(Status&&) noexcept = default;
  ~Status() = default;

  bool ok() const { return failure_ == nullptr; }
  // What failed; only when !ok().
  const Failure& failure() const& {
    assert(!ok());
    return *failure_;
  }
  Failure& failure() & {
    assert(!ok());
    return *failure_;
  }
  Failure failure() && {
    assert(!ok());
    return std::move(*failure_);
  }

 private:
  std::unique_ptr<Failure> failure_;
};

// A value, or the Failure that kept a step from making it. Like Status, it has no conversion
// to bool: ask ok(), then take value() or failure().
template <typename T>
class [[nodiscard]] Result {
  static_assert(!std::is_same_v<std::remove_cv_t<T>, Failure>, "a Failure is no value");

 public:
  // Implicit, so that `return text;` and `return Failure{...};` read as what they do.
  Result(T value) : held_(std::in_place_index<0>, std::move(value)) {}
  Result(Failure failure) : held_(std::in_place_index<1>, std::move(failure)) {}

  bool ok() const { return held_.index() == 0; }
  // The value; only when ok().
  const T& value() const& {
    assert(ok());
    return *std::get_if<0>(&held_);
  }
  T& value() & {
    assert(ok());
    return *std::get_if<0>(&held_);
  }
  T value() && {
    assert(ok());
    return std::move(*std::get_if<0>(&held_));
  }
  // What failed; only when !ok().
  const Failure& failure() const& {
    assert(!ok());
    return *std::get_if<1>(&held_);
  }
  Failure& failure() & {
    assert(!ok());
    return *std::get_if<1>(&held_);
  }
  Failure failure() && {
    assert(!ok());
    return std::move(*std::get_if<1>(&held_));
  }
  // Success, or the same failure, without the value.
  Status status() const { return ok() ? Status() : Status(failure()); }

 private:
  std::variant<T, Failure> held_;
};

// How a test's message and GoogleTest's printer show an outcome: "ok", or the failure as the
// CLI tells it.
inline std::ostream& operator<<(std::ostream& out, const Failure& failure) {
  return out << failure.Describe();
}
inline std::ostream& operator<<(std::ostream& out, const Status& status) {
  if (status.ok()) return out << "ok";
  return out << "failure: " << status.failure();
}
template <typename T>
std::ostream& operator<<(std::ostream& out, const Result<T>& result) {
  if (result.ok()) return out << "ok";
  return out << "failure: " << result.failure();
}

}  // namespace lq
