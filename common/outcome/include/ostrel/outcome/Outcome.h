// The one way an operation of this project says it failed: a Failure (a
// stable code for programs, a message and advice for people), or an
// Outcome<T> holding either the value asked for or the Failure. Nothing here
// throws; reading the wrong side of an Outcome is a caller's bug, caught by
// an assertion in debug builds.
#pragma once

#include <cassert>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace ostrel::outcome {

struct Failure {
  // Stable and meant for programs (JSON, scripts, exit statuses), e.g.
  // "LibraryNotFound" or the runtime's "VRInitError_Init_HmdNotFound"; empty
  // when there is none to give.
  std::string code;
  // One line of UTF-8 for a person: what was tried and what went wrong.
  std::string message;
  // What usually causes it and what to do; empty when there is nothing to add.
  std::string advice;
};

// A value of type T, or the failure of type F (Failure or a type that adds
// context to it) that kept the operation from producing one.
template <typename T, typename F = Failure>
class [[nodiscard]] Outcome {
  static_assert(!std::is_same_v<std::decay_t<T>, F>, "a value cannot be its own failure");

 public:
  Outcome(T value) : state_(std::in_place_index<0>, std::move(value)) {}  // NOLINT: implicit by design
  Outcome(F failure) : state_(std::in_place_index<1>, std::move(failure)) {}  // NOLINT

  bool ok() const noexcept { return state_.index() == 0; }
  explicit operator bool() const noexcept { return ok(); }

  // REQUIRES: ok().
  T& value() & {
    assert(ok());
    return std::get<0>(state_);
  }
  const T& value() const& {
    assert(ok());
    return std::get<0>(state_);
  }
  T&& value() && {
    assert(ok());
    return std::get<0>(std::move(state_));
  }

  // REQUIRES: !ok().
  const F& failure() const& {
    assert(!ok());
    return std::get<1>(state_);
  }
  F&& failure() && {
    assert(!ok());
    return std::get<1>(std::move(state_));
  }

  // The value, or `fallback` when there is none.
  T valueOr(T fallback) const& { return ok() ? std::get<0>(state_) : std::move(fallback); }

 private:
  std::variant<T, F> state_;
};

// An operation that gives nothing back but may fail.
template <typename F>
class [[nodiscard]] Outcome<void, F> {
 public:
  Outcome() = default;
  Outcome(F failure) : failed_(true), failure_(std::move(failure)) {}  // NOLINT

  bool ok() const noexcept { return !failed_; }
  explicit operator bool() const noexcept { return ok(); }

  // REQUIRES: !ok().
  const F& failure() const& {
    assert(!ok());
    return failure_;
  }

 private:
  bool failed_ = false;
  F failure_{};
};

}  // namespace ostrel::outcome
