// The process's console logger: one stamped, levelled line per message on
// standard error.
#pragma once

#include <atomic>
#include <mutex>
#include <string_view>

#include "ostrel/common/ILogger.h"
#include "ostrel/common/LogLevel.h"

namespace ostrel::common {

// Serialises whole log lines across every ConsoleLogger and every thread.
// Constant-initialised, so it is usable before any dynamic initialiser runs.
// Other writers to std::cerr do not take it.
extern std::mutex consoleLogMutex;

// Writes "[HH:MM:SS.mmm] [LEVEL] message" plus a newline and a flush to
// std::cerr. The time is local, read once per line while the lock is held.
//
// A message below the minimum level costs one comparison: no lock, no clock
// read, no formatting. The level may be changed while other threads log.
// Log must not be re-entered from inside a line write (the mutex is not
// recursive); nothing the logger calls logs.
class ConsoleLogger final : public ILogger {
 public:
  ConsoleLogger() = default;
  ~ConsoleLogger() override = default;

  void Log(LogLevel level, std::string_view message) override;
  void SetLevel(LogLevel level) override;
  LogLevel GetLevel() const override;

 private:
  std::atomic<LogLevel> minLevel_{LogLevel::Info};
  static_assert(std::atomic<LogLevel>::is_always_lock_free);
};

}  // namespace ostrel::common
