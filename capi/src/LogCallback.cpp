// The caller's log callback as the process logger. The console logger the
// process started with is kept, so that NULL can put it back.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "Boundary.h"
#include "ostrel.h"
#include "ostrel/common/ILogger.h"

namespace {

using ostrel::common::ILogger;
using ostrel::common::LogLevel;

class CallbackLogger final : public ILogger {
 public:
  CallbackLogger(ostrel_log_callback callback, void* user) noexcept
      : callback_(callback), user_(user) {}

  void Log(LogLevel level, std::string_view message) override {
    if (static_cast<std::int32_t>(level) < level_.load(std::memory_order_relaxed)) return;
    // The callback needs a terminated text; a line that cannot be copied is
    // dropped rather than let an exception reach the code that logged.
    try {
      const std::string text(message);
      callback_(static_cast<int>(level), text.c_str(), user_);
    } catch (...) {
    }
  }
  void SetLevel(LogLevel level) override {
    level_.store(static_cast<std::int32_t>(level), std::memory_order_relaxed);
  }
  LogLevel GetLevel() const override { return static_cast<LogLevel>(level_.load()); }

 private:
  ostrel_log_callback callback_;
  void* user_;
  std::atomic<std::int32_t> level_{static_cast<std::int32_t>(LogLevel::Trace)};
};

// The logger the process started with, taken before the first replacement.
std::shared_ptr<ILogger>& startingLogger() {
  static std::shared_ptr<ILogger> logger = ostrel::common::processLogger;
  return logger;
}

}  // namespace

extern "C" {

OSTREL_API int OSTREL_CALL ostrel_set_log_callback(ostrel_log_callback callback, void* user) {
  return ostrel::capi::guarded([&] {
    std::shared_ptr<ILogger>& starting = startingLogger();
    if (callback == nullptr) {
      ostrel::common::processLogger = starting;
    } else {
      ostrel::common::processLogger = std::make_shared<CallbackLogger>(callback, user);
    }
    return OSTREL_OK;
  });
}

}  // extern "C"
