#include "LogLine.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <ios>
#include <memory>

#include "platform/Platform.h"

namespace ostrel::common {

namespace {

// "[" + four int fields and their separators + "] [" + the longest level name
// ("UNKNOWN") + "] ", with every field at its widest (11 characters).
constexpr std::size_t kPrefixCapacity = 1 + 4 * 11 + 3 + 3 + 7 + 2;

// Lines up to this size, stamp and newline included, are laid out on the
// stack; only longer ones take a heap buffer.
constexpr std::size_t kStackLineCapacity = 1024;

// The field as the stream prints an int under setfill('0') and setw(width):
// the sign counts towards the width, and the zeros go in front of it.
char* appendPadded(char* out, int value, int width) {
  char digits[11];
  const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  for (auto length = static_cast<int>(end - digits); length < width; ++length) *out++ = '0';
  return std::copy(static_cast<const char*>(digits), end, out);
}

}  // namespace

LogStamp stampOf(std::chrono::system_clock::time_point now) noexcept {
  // Both fields come from the one reading. Rounding down rather than toward
  // zero only matters before 1970, where it keeps the milliseconds in 0..999.
  const auto sinceEpoch = now.time_since_epoch();
  const std::int64_t wholeMilliseconds =
      std::chrono::floor<std::chrono::milliseconds>(sinceEpoch).count();
  const std::int64_t wholeSeconds = std::chrono::floor<std::chrono::seconds>(sinceEpoch).count();

  std::tm local{};
  platform::localTime(wholeSeconds, local);  // zeros when the conversion fails

  LogStamp stamp;
  stamp.hour = local.tm_hour;
  stamp.minute = local.tm_min;
  stamp.second = local.tm_sec;
  stamp.millisecond = static_cast<int>(wholeMilliseconds - wholeSeconds * 1000);
  return stamp;
}

LogStamp LocalTimeCache::stamp(std::chrono::system_clock::time_point now) noexcept {
  const std::int64_t wholeSeconds =
      std::chrono::floor<std::chrono::seconds>(now.time_since_epoch()).count();
  if (!valid_ || wholeSeconds != second_) {
    fields_ = stampOf(now);
    second_ = wholeSeconds;
    valid_ = true;
  }
  const std::int64_t wholeMilliseconds =
      std::chrono::floor<std::chrono::milliseconds>(now.time_since_epoch()).count();
  LogStamp stamp = fields_;
  stamp.millisecond = static_cast<int>(wholeMilliseconds - wholeSeconds * 1000);
  return stamp;
}

void writeLogLine(std::ostream& out, const LogStamp& stamp, LogLevel level,
                  std::string_view message) {
  // The whole line goes to the stream as one piece, then the flush: on an
  // unbuffered standard error that is one write, which a pipe delivers whole
  // (up to PIPE_BUF bytes) and an O_APPEND file never splits, however many
  // processes share it. So the message is copied next to the stamp rather
  // than written from the caller's view.
  //
  // A width the caller left pending has always padded the opening bracket
  // with the caller's fill, on the side its adjustment asks for, and been
  // used up by it; the padding becomes part of the one piece.
  const std::streamsize width = out.width();
  const std::size_t padding = width > 1 ? static_cast<std::size_t>(width - 1) : 0;
  const bool padAfterBracket = (out.flags() & std::ios_base::adjustfield) == std::ios_base::left;
  out.width(0);

  const std::size_t bound = padding + kPrefixCapacity + message.size() + 1;
  char onStack[kStackLineCapacity];
  std::unique_ptr<char[]> onHeap;
  char* line = onStack;
  if (bound > sizeof onStack) {
    onHeap = std::make_unique_for_overwrite<char[]>(bound);
    line = onHeap.get();
  }

  char* end = line;
  if (!padAfterBracket) end = std::fill_n(end, padding, out.fill());
  *end++ = '[';
  if (padAfterBracket) end = std::fill_n(end, padding, out.fill());
  end = appendPadded(end, stamp.hour, 2);
  *end++ = ':';
  end = appendPadded(end, stamp.minute, 2);
  *end++ = ':';
  end = appendPadded(end, stamp.second, 2);
  *end++ = '.';
  end = appendPadded(end, stamp.millisecond, 3);
  end = std::copy_n("] [", 3, end);
  const std::string_view name = levelName(level);
  end = std::copy(name.begin(), name.end(), end);
  end = std::copy_n("] ", 2, end);
  if (!message.empty()) {
    std::memcpy(end, message.data(), message.size());
    end += message.size();
  }
  *end++ = '\n';

  out.write(line, end - line);
  // On a unit-buffered stream such as std::cerr the write has flushed
  // already; a second flush would only cost the C runtime's lock again.
  if ((out.flags() & std::ios_base::unitbuf) == 0) out.flush();
  // Laying the line out with setfill('0') always left that fill on the
  // stream; LogLine.h promises it still does.
  out.fill('0');
}

}  // namespace ostrel::common
