// spdlog set up as the nearest equivalent of the console logger, so that a
// line through each costs the same work: standard error, the same layout,
// a flush after every line.
#pragma once

#include <spdlog/logger.h>

#include <memory>

namespace ostrel::bench {

// A logger with one stderr sink (the multi-threaded one, which locks a
// process-wide console mutex as the console logger does), pattern
// "[%H:%M:%S.%e] [%l] %v", flush on every level and minimum level info.
// The one difference in the bytes: spdlog names levels in lower case
// ("info" where the console logger writes "INFO").
std::unique_ptr<spdlog::logger> makeSpdlogConsoleEquivalent();

}  // namespace ostrel::bench
