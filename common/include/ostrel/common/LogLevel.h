// Severity scale shared by every logger and every component that reports.
#pragma once

#include <cstdint>
#include <string_view>

namespace ostrel::common {

// Higher is more severe. Values outside Trace..Fatal are legal and travel
// through the logging contract unchanged; loggers compare them as signed
// 32-bit integers.
enum class LogLevel : std::int32_t {
  Trace = 0,
  Debug = 1,
  Info = 2,
  Warn = 3,
  Error = 4,
  Fatal = 5,
};

// Upper-case name written in log lines; "UNKNOWN" for any value outside the
// scale, so an arbitrary level can never index out of a table.
constexpr std::string_view levelName(LogLevel level) noexcept {
  switch (level) {
    case LogLevel::Trace:
      return "TRACE";
    case LogLevel::Debug:
      return "DEBUG";
    case LogLevel::Info:
      return "INFO";
    case LogLevel::Warn:
      return "WARN";
    case LogLevel::Error:
      return "ERROR";
    case LogLevel::Fatal:
      return "FATAL";
  }
  return "UNKNOWN";
}

}  // namespace ostrel::common
