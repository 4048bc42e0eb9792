// Platform services whose standard-library form is right on every target.
#include <atomic>
#include <system_error>
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

bool sameExistingFile(const std::filesystem::path& a, const std::filesystem::path& b) noexcept {
  std::error_code error;
  const bool same = std::filesystem::equivalent(a, b, error);
  return !error && same;
}

std::optional<std::filesystem::path> linkResolvedPath(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::path resolved = std::filesystem::canonical(path, error);
  std::filesystem::path normal = path.lexically_normal();
  if (!normal.has_filename() && normal.has_relative_path()) normal = normal.parent_path();
  if (error || resolved == normal) return std::nullopt;
  return resolved;
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
