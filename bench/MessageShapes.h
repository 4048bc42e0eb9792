// The registrar's three message shapes, each written once through the
// process logger as the registrar writes it and once through spdlog with the
// same bytes, so the two can be timed line for line.
#pragma once

#include <spdlog/logger.h>

#include <string>

#include "ostrel/common/ILogger.h"

namespace ostrel::bench {

// Values the lines carry in the self-check's happy path.
inline constexpr int kReadyAfterMs = 300;
inline const std::string kAppKey = "vantorell.ostrel";

// text
inline void consoleText() {
  common::logMessage(common::LogLevel::Info, "polling for manifest install");
}
inline void spdlogText(spdlog::logger& logger) { logger.info("polling for manifest install"); }

// text + int + text
inline void consoleTextIntText() {
  common::logMessage(common::LogLevel::Info, "manifest ready after ", kReadyAfterMs, "ms");
}
inline void spdlogTextIntText(spdlog::logger& logger) {
  logger.info("manifest ready after {}ms", kReadyAfterMs);
}

// text + string
inline void consoleTextString() {
  common::logMessage(common::LogLevel::Info,
                     "manifest registered + auto-launch enabled: ", kAppKey);
}
inline void spdlogTextString(spdlog::logger& logger) {
  logger.info("manifest registered + auto-launch enabled: {}", kAppKey);
}

}  // namespace ostrel::bench
