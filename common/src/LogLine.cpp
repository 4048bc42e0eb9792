#include "LogLine.h"

#include <cstdint>
#include <ctime>
#include <iomanip>

#include "platform/Platform.h"

namespace ostrel::common {

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
  out << '[' << std::setfill('0') << std::setw(2) << stamp.hour << ':' << std::setfill('0')
      << std::setw(2) << stamp.minute << ':' << std::setfill('0') << std::setw(2) << stamp.second
      << '.' << std::setfill('0') << std::setw(3) << stamp.millisecond << "] [" << levelName(level)
      << "] ";
  out.write(message.data(), static_cast<std::streamsize>(message.size()));
  out << std::endl;
}

}  // namespace ostrel::common
