#include "LogLine.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <ctime>

#include "platform/Platform.h"

namespace ostrel::common {

namespace {

// "[" + four int fields and their separators + "] [" + the longest level name
// ("UNKNOWN") + "] ", with every field at its widest (11 characters).
constexpr std::size_t kPrefixCapacity = 1 + 4 * 11 + 3 + 3 + 7 + 2;

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

void writeLogLine(std::ostream& out, const LogStamp& stamp, LogLevel level,
                  std::string_view message) {
  // std::cerr sits on an unbuffered standard error, where every piece handed
  // to the stream is a write of its own. So the stamp and level are laid out
  // here and go out as one piece, the message follows as the caller's bytes
  // and the newline with the line's one flush: three writes, not one per
  // field.
  char prefix[kPrefixCapacity];
  char* end = prefix;
  *end++ = '[';
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

  const char* start = prefix;
  if (out.width() != 0) {
    // A width the caller left pending has always padded the opening bracket
    // with the caller's fill; a formatted insertion keeps that and uses it up.
    out << '[';
    ++start;
  }
  out.write(start, end - start);
  out.write(message.data(), static_cast<std::streamsize>(message.size()));
  out << std::endl;
  // Laying the line out with setfill('0') always left that fill on the
  // stream; LogLine.h promises it still does.
  out.fill('0');
}

}  // namespace ostrel::common
