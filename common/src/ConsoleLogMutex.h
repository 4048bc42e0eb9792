// The lock that serialises console log lines across the whole process.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/Platform.h"

namespace ostrel::common {

// A non-recursive mutex that is constant-initialised and trivially destroyed,
// so it works from program load until the very end of exit processing, on
// every target. std::mutex is not enough for that: with mingw-w64's
// winpthreads its constructor and destructor run as dynamic initialisers.
//
// Uncontended, lock and unlock are one atomic operation each (and a wake
// call on unlock); a contended lock blocks in the system's wait on the word
// rather than spinning.
class StaticMutex {
 public:
  constexpr StaticMutex() noexcept = default;
  StaticMutex(const StaticMutex&) = delete;
  StaticMutex& operator=(const StaticMutex&) = delete;

  void lock() noexcept {
    while (word_.exchange(kHeld, std::memory_order_acquire) == kHeld) {
      platform::waitWhileEqual(word_, kHeld);
    }
  }

  bool try_lock() noexcept { return word_.exchange(kHeld, std::memory_order_acquire) == kFree; }

  void unlock() noexcept {
    word_.store(kFree, std::memory_order_release);
    platform::wakeOneWaiter(word_);
  }

 private:
  static constexpr std::uint32_t kFree = 0;
  static constexpr std::uint32_t kHeld = 1;
  std::atomic<std::uint32_t> word_{kFree};
};

// Shared by every ConsoleLogger; other writers to std::cerr do not take it.
extern StaticMutex consoleLogMutex;

}  // namespace ostrel::common
