// The logging contract: the logger interface, the process-wide logger slot,
// and the helpers every component uses to report one event as one message.
//
// Nothing here filters, stamps or writes; that is the concrete logger's job.
// Messages are byte strings (UTF-8 by convention) and are never inspected.
#pragma once

#include <concepts>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>

#include "ostrel/common/LogLevel.h"

namespace ostrel::common {

class ILogger {
 public:
  virtual ~ILogger() = default;

  // Writes or drops one message. The view is borrowed for the duration of the
  // call only; an implementation that keeps the text must copy it.
  virtual void Log(LogLevel level, std::string_view message) = 0;

  // Minimum level that is written; messages below it are dropped.
  virtual void SetLevel(LogLevel level) = 0;
  virtual LogLevel GetLevel() const = 0;
};

// The process logger. An empty slot discards every message.
//
// The slot is filled during static initialisation and released during exit
// processing; it must not be written while any code that logs can run, which
// is why readers take neither a lock nor a reference.
extern std::shared_ptr<ILogger> processLogger;

// Hands one finished message to the process logger, if there is one. Only the
// view is passed on; the text is not copied.
void dispatchLog(LogLevel level, std::string_view message);

// A part of a log message: a NUL-terminated text, a std::string (embedded NUL
// bytes included) or a 32-bit int written in decimal.
template <typename T>
concept LogMessagePart = std::same_as<T, std::string> || std::same_as<T, int> ||
    std::convertible_to<const T&, const char*>;

// Builds one message from its parts, run together with nothing between them,
// and dispatches it. The message is built even when the level will be dropped:
// filtering belongs to the logger. The logger is handed a view of the stream's
// own buffer; copying it into a string first would cost a second allocation
// for every message longer than the small-string buffer.
template <LogMessagePart... Parts>
void logMessage(LogLevel level, const Parts&... parts) {
  std::ostringstream stream;
  (stream << ... << parts);
  dispatchLog(level, stream.view());
}

}  // namespace ostrel::common
