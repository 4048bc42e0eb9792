// Platform services whose standard-library form is right on every target.
#include <atomic>
#include <thread>
#include <utility>

#include "platform/Platform.h"

namespace ostrel::platform {

namespace {

std::atomic<SleepFunction> sleepReplacement{nullptr};

}  // namespace

void sleepFor(std::chrono::milliseconds duration) {
  if (SleepFunction replacement = sleepReplacement.load(std::memory_order_acquire)) {
    replacement(duration);
    return;
  }
  std::this_thread::sleep_for(duration);
}

SleepFunction replaceSleepFunction(SleepFunction replacement) noexcept {
  return sleepReplacement.exchange(replacement, std::memory_order_acq_rel);
}

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)) {}

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept {
  if (this != &other) {
    close();
    handle_ = std::exchange(other.handle_, nullptr);
  }
  return *this;
}

DynamicLibrary::~DynamicLibrary() { close(); }

}  // namespace ostrel::platform
