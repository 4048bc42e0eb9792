#include "ostrel/steamvr/Sleeper.h"

#include "platform/Platform.h"

namespace ostrel::steamvr {

namespace {

class PlainSleeper final : public ISleeper {
 public:
  bool SleepFor(std::chrono::milliseconds duration) override {
    platform::sleepFor(duration);
    return true;
  }
};

}  // namespace

ISleeper& plainSleeper() noexcept {
  static PlainSleeper sleeper;
  return sleeper;
}

bool StoppableSleeper::SleepFor(std::chrono::milliseconds duration) {
  std::unique_lock<std::mutex> lock(mutex_);
  // wait_for measures on the steady clock, so a change of the wall clock
  // neither cuts a poll short nor stretches it.
  return !wake_.wait_for(lock, duration, [this] { return stopped_; });
}

void StoppableSleeper::RequestStop() noexcept {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stopped_ = true;
  }
  wake_.notify_all();
}

bool StoppableSleeper::StopRequested() const noexcept {
  const std::lock_guard<std::mutex> lock(mutex_);
  return stopped_;
}

}  // namespace ostrel::steamvr
