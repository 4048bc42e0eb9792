// How a console log line is stamped and laid out, apart from the clock and the
// stream, so both can be checked with chosen inputs.
#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string_view>

#include "ostrel/common/LogLevel.h"

namespace ostrel::common {

struct LogStamp {
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

// Local hour, minute and second of the whole seconds of `now`, and the whole
// milliseconds of the same reading modulo 1000. A time the C runtime cannot
// convert stamps 00:00:00 with the milliseconds still derived.
LogStamp stampOf(std::chrono::system_clock::time_point now) noexcept;

// stampOf for a run of readings, converting each whole second to local time
// once: lines written within one second share the conversion, which is most
// of a line's cost besides the write. The result is stampOf's for every
// reading, as long as the process's time zone is not changed while it runs
// (the C runtime's conversion does not look for such a change either).
// Not thread-safe; the console logger keeps one under its lock.
class LocalTimeCache {
 public:
  LogStamp stamp(std::chrono::system_clock::time_point now) noexcept;

 private:
  bool valid_ = false;
  std::int64_t second_ = 0;
  LogStamp fields_;
};

// Writes "[HH:MM:SS.mmm] [LEVEL] message\n" to the stream as one piece (one
// write() call on the stream's buffer), then flushes. A width pending on the
// stream pads the opening bracket with the stream's fill, as a formatted
// insertion would. Leaves the stream's fill character at '0' and its width at
// 0.
void writeLogLine(std::ostream& out, const LogStamp& stamp, LogLevel level,
                  std::string_view message);

}  // namespace ostrel::common
