#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <sstream>
#include <string>

#include "LogLine.h"

namespace ostrel::common {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;
using std::chrono::system_clock;

std::string lineFor(const LogStamp& stamp, LogLevel level, std::string_view message) {
  std::ostringstream out;
  writeLogLine(out, stamp, level, message);
  return out.str();
}

TEST(LogLine, EveryNumberIsZeroPadded) {
  EXPECT_EQ(lineFor({0, 0, 0, 1}, LogLevel::Info, "m"), "[00:00:00.001] [INFO] m\n");
  EXPECT_EQ(lineFor({13, 7, 59, 250}, LogLevel::Warn, "m"), "[13:07:59.250] [WARN] m\n");
  EXPECT_EQ(lineFor({9, 5, 7, 42}, LogLevel::Info, "polling for manifest install"),
            "[09:05:07.042] [INFO] polling for manifest install\n");
  EXPECT_EQ(lineFor({23, 59, 60, 999}, LogLevel::Error, ""), "[23:59:60.999] [ERROR] \n");
}

TEST(LogLine, LevelNamesAreNotPadded) {
  const LogStamp stamp{1, 2, 3, 4};
  EXPECT_EQ(lineFor(stamp, LogLevel::Trace, "m"), "[01:02:03.004] [TRACE] m\n");
  EXPECT_EQ(lineFor(stamp, LogLevel::Debug, "m"), "[01:02:03.004] [DEBUG] m\n");
  EXPECT_EQ(lineFor(stamp, LogLevel::Fatal, "m"), "[01:02:03.004] [FATAL] m\n");
  EXPECT_EQ(lineFor(stamp, static_cast<LogLevel>(6), "m"), "[01:02:03.004] [UNKNOWN] m\n");
  EXPECT_EQ(lineFor(stamp, static_cast<LogLevel>(-1), "m"), "[01:02:03.004] [UNKNOWN] m\n");
}

TEST(LogLine, OnlyTheNumbersArePaddedAndFillIsLeftAtZero) {
  std::ostringstream out;
  out.fill('*');
  writeLogLine(out, {1, 2, 3, 4}, LogLevel::Info, "m");
  EXPECT_EQ(out.str(), "[01:02:03.004] [INFO] m\n");
  EXPECT_EQ(out.fill(), '0');
  EXPECT_EQ(out.width(), 0);
}

TEST(LogStamp, MillisecondsAreTruncatedFromTheSameReading) {
  const auto base = system_clock::time_point(seconds(1700000000));
  EXPECT_EQ(stampOf(base).millisecond, 0);
  EXPECT_EQ(stampOf(base + milliseconds(1)).millisecond, 1);
  EXPECT_EQ(stampOf(base + milliseconds(250)).millisecond, 250);
  EXPECT_EQ(stampOf(base + std::chrono::microseconds(999999)).millisecond, 999);
  // The last tick of a second still belongs to that second.
  const auto lastTick = base + seconds(1) - system_clock::duration(1);
  EXPECT_EQ(stampOf(lastTick).second, stampOf(base).second);
  EXPECT_EQ(stampOf(lastTick).millisecond, 999);
}

TEST(LogStamp, ClockFieldsAreLocalTime) {
  // Times across a year, so a daylight-saving offset is met where the zone has one.
  for (std::time_t t = 1700000000; t < 1700000000 + 366 * 86400; t += 86400 * 7 + 3607) {
    // Stamp first: on Windows the first conversion also settles the C
    // runtime's time zone, which the reference below then shares.
    const LogStamp stamp = stampOf(system_clock::from_time_t(t) + milliseconds(5));
    const std::tm* expected = std::localtime(&t);
    ASSERT_NE(expected, nullptr);
    EXPECT_EQ(stamp.hour, expected->tm_hour) << t;
    EXPECT_EQ(stamp.minute, expected->tm_min) << t;
    EXPECT_EQ(stamp.second, expected->tm_sec) << t;
    EXPECT_EQ(stamp.millisecond, 5);
  }
}

// The cache must give exactly stampOf's fields for every reading: within one
// second, across seconds, hours and days, back in time, and before 1970.
TEST(LocalTimeCache, GivesWhatStampOfGivesForEveryReading) {
  const auto base = system_clock::time_point(seconds(1700000000));
  const system_clock::time_point readings[] = {
      base,
      base + milliseconds(1),
      base + milliseconds(999),
      base + seconds(1) - system_clock::duration(1),
      base + seconds(1),
      base + seconds(1) + milliseconds(500),
      base + seconds(3600),
      base + seconds(86400 * 180) + milliseconds(7),  // half a year on: another offset, maybe
      base + seconds(86400 * 180) + milliseconds(8),
      base,  // back in time, to a second converted before
      base - seconds(1) + milliseconds(250),
      system_clock::time_point(milliseconds(-1)),  // the last millisecond before 1970
      system_clock::time_point(milliseconds(-1000)),
      system_clock::time_point(milliseconds(-999)),
      base + std::chrono::microseconds(999999),
  };
  LocalTimeCache cache;
  for (const system_clock::time_point reading : readings) {
    const LogStamp expected = stampOf(reading);
    const LogStamp cached = cache.stamp(reading);
    const auto at = reading.time_since_epoch().count();
    EXPECT_EQ(cached.hour, expected.hour) << at;
    EXPECT_EQ(cached.minute, expected.minute) << at;
    EXPECT_EQ(cached.second, expected.second) << at;
    EXPECT_EQ(cached.millisecond, expected.millisecond) << at;
  }
}

}  // namespace
}  // namespace ostrel::common
