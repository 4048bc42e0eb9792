// The process's console logger: one stamped, levelled line per message on
// standard error.
#pragma once

#include <atomic>
#include <string_view>

#include "ostrel/common/ILogger.h"
#include "ostrel/common/LogLevel.h"

namespace ostrel::common {

// Writes "[HH:MM:SS.mmm] [LEVEL] message" plus a newline and a flush to
// std::cerr. The time is local, read once per line while a process-wide lock
// is held, so lines from any number of loggers and threads never interleave.
// The whole line is handed to the stream as one piece, which reaches standard
// error as one write: a pipe or O_APPEND log file shared with other processes
// receives it whole (on a pipe, up to PIPE_BUF bytes).
//
// A message below the minimum level costs one comparison: no lock, no clock
// read, no formatting. The level may be changed while other threads log.
// Log must not be re-entered from inside a line write (the lock is not
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
