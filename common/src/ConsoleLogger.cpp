#include "ostrel/common/ConsoleLogger.h"

#include <chrono>
#include <cstdint>
#include <iostream>
#include <mutex>

#include "ConsoleLogMutex.h"
#include "LogLine.h"

namespace ostrel::common {

constinit StaticMutex consoleLogMutex;

namespace {

// Shared by every ConsoleLogger, guarded by consoleLogMutex.
constinit LocalTimeCache localTimeCache;

}  // namespace

void ConsoleLogger::Log(LogLevel level, std::string_view message) {
  if (static_cast<std::int32_t>(level) <
      static_cast<std::int32_t>(minLevel_.load(std::memory_order_relaxed))) {
    return;
  }
  const std::lock_guard<StaticMutex> lock(consoleLogMutex);
  // Read under the lock so that stamps are in the order lines are written.
  const LogStamp stamp = localTimeCache.stamp(std::chrono::system_clock::now());
  writeLogLine(std::cerr, stamp, level, message);
}

void ConsoleLogger::SetLevel(LogLevel level) { minLevel_.store(level, std::memory_order_relaxed); }

LogLevel ConsoleLogger::GetLevel() const { return minLevel_.load(std::memory_order_relaxed); }

}  // namespace ostrel::common
