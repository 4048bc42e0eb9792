// The lock that serialises console log lines across the whole process.
#pragma once

#include <atomic>

namespace ostrel::common {

// A non-recursive mutex that is constant-initialised and trivially destroyed,
// so it works from program load until the very end of exit processing, on
// every target. std::mutex is not enough for that: with mingw-w64's
// winpthreads its constructor and destructor run as dynamic initialisers.
//
// Uncontended, lock and unlock are one atomic operation each; a contended
// lock blocks in the standard library's atomic wait rather than spinning.
class StaticMutex {
 public:
  constexpr StaticMutex() noexcept = default;
  StaticMutex(const StaticMutex&) = delete;
  StaticMutex& operator=(const StaticMutex&) = delete;

  void lock() noexcept {
    while (locked_.test_and_set(std::memory_order_acquire)) {
      locked_.wait(true, std::memory_order_relaxed);
    }
  }

  bool try_lock() noexcept { return !locked_.test_and_set(std::memory_order_acquire); }

  void unlock() noexcept {
    locked_.clear(std::memory_order_release);
    locked_.notify_one();
  }

 private:
  std::atomic_flag locked_;  // clear on construction
};

// Shared by every ConsoleLogger; other writers to std::cerr do not take it.
extern StaticMutex consoleLogMutex;

}  // namespace ostrel::common
