// How the registrar and the runtime session wait between polls and between
// tries. Injected, so that an application can stop a registration that runs
// on another thread: a stopped wait returns at once, and the operation that
// waited gives up instead of polling on.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace ostrel::steamvr {

class ISleeper {
 public:
  virtual ~ISleeper() = default;

  // Blocks for `duration` on the monotonic clock, or until the sleeper is
  // stopped, whichever comes first. Returns false when it was stopped (at
  // once when it already was), true after the full duration. Never throws.
  virtual bool SleepFor(std::chrono::milliseconds duration) = 0;
};

// The plain sleep: always the full duration, never stopped. Goes through the
// process's sleep function, which tests of polling code replace. Static
// storage; safe from any thread.
ISleeper& plainSleeper() noexcept;

// A sleeper that any thread can stop, for work run off the caller's thread.
// Once stopped it stays stopped: every later SleepFor returns false at once.
// Thread-safe.
class StoppableSleeper final : public ISleeper {
 public:
  bool SleepFor(std::chrono::milliseconds duration) override;

  // Wakes every sleep under way and refuses the ones to come.
  void RequestStop() noexcept;
  bool StopRequested() const noexcept;

 private:
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  bool stopped_ = false;
};

}  // namespace ostrel::steamvr
