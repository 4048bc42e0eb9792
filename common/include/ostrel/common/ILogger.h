// The logging contract: the logger interface, the process-wide logger slot,
// and the helpers every component uses to report one event as one message.
//
// Nothing here filters, stamps or writes; that is the concrete logger's job.
// Messages are byte strings (UTF-8 by convention) and are never inspected.
#pragma once

#include <charconv>
#include <concepts>
#include <cstddef>
#include <memory>
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
// bytes included) or a 32-bit int written in decimal. A literal nullptr is
// refused at compile time; it is never a text.
template <typename T>
concept LogMessagePart = std::same_as<T, std::string> || std::same_as<T, int> ||
    (std::convertible_to<const T&, const char*> && !std::same_as<T, std::nullptr_t>);

namespace detail {

// One part of a message as the bytes it contributes. An int's decimal digits
// are kept inside the piece, so a message needs no formatting state at all.
class MessagePiece {
 public:
  explicit MessagePiece(const std::string& text) noexcept
      : data_(text.data()), size_(text.size()) {}
  // A null pointer is not a text; a stream given one fails and takes nothing
  // more, so the message ends before it (see endsMessage).
  explicit MessagePiece(const char* text) noexcept
      : data_(text), size_(text != nullptr ? std::char_traits<char>::length(text) : 0) {}
  explicit MessagePiece(int value) noexcept : data_(digits_) {
    size_ = static_cast<std::size_t>(std::to_chars(digits_, digits_ + sizeof digits_, value).ptr -
                                     digits_);
  }

  // Holds a pointer into itself for an int; built in place, never copied.
  MessagePiece(const MessagePiece&) = delete;
  MessagePiece& operator=(const MessagePiece&) = delete;
  ~MessagePiece() = default;

  std::string_view text() const noexcept { return {data_, size_}; }
  bool endsMessage() const noexcept { return data_ == nullptr; }

 private:
  char digits_[11];  // room for "-2147483648"; unused for a text
  const char* data_;
  std::size_t size_ = 0;
};

// Runs the pieces together into one message and dispatches a view of it. The
// message is laid out on the stack unless it is long, so an ordinary message
// costs no allocation, dropped or written.
void dispatchPieces(LogLevel level, const MessagePiece* pieces, std::size_t count);

}  // namespace detail

// Builds one message from its parts, run together with nothing between them,
// and dispatches it: texts as they are, ints in plain decimal (a '-' when
// negative, no padding, no grouping), exactly what inserting the parts into a
// default std::ostringstream gives, without a stream's locale and set-up
// costs. The message is built even when the level will be dropped: filtering
// belongs to the logger, which is handed one view of the whole message.
template <LogMessagePart... Parts>
void logMessage(LogLevel level, const Parts&... parts) {
  const detail::MessagePiece pieces[] = {detail::MessagePiece(parts)...};
  detail::dispatchPieces(level, pieces, sizeof...(Parts));
}

}  // namespace ostrel::common
