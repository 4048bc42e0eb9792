#include "SpdlogEquivalent.h"

#include <spdlog/sinks/stdout_sinks.h>

#include <memory>

namespace ostrel::bench {

std::unique_ptr<spdlog::logger> makeSpdlogConsoleEquivalent() {
  auto logger = std::make_unique<spdlog::logger>("ostrel-bench",
                                                 std::make_shared<spdlog::sinks::stderr_sink_mt>());
  logger->set_pattern("[%H:%M:%S.%e] [%l] %v");
  logger->set_level(spdlog::level::info);
  logger->flush_on(spdlog::level::trace);
  return logger;
}

}  // namespace ostrel::bench
