// Messages below the minimum level. The console logger's drop is one
// comparison; logMessage still builds its message first, by design, because
// filtering belongs to the logger. spdlog's drops are alongside for scale:
// it checks the level before it formats.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "Measure.h"
#include "MessageShapes.h"
#include "SpdlogEquivalent.h"
#include "ostrel/common/ConsoleLogger.h"
#include "ostrel/common/ILogger.h"
#include "ostrel/testing/AllocationCounter.h"

namespace ostrel::bench {
namespace {

using common::LogLevel;

// Nothing is redirected here: a dropped message must not reach standard
// error, and one that did would show.

void BM_ConsoleLoggerLogDropped(benchmark::State& state) {
  common::ConsoleLogger console;
  // Called through the interface, as dispatchLog calls it.
  common::ILogger* logger = &console;
  benchmark::DoNotOptimize(logger);
  const std::uint64_t before = testing::allocationCount();
  for (auto _ : state) logger->Log(LogLevel::Debug, "polling for manifest install");
  reportAllocations(state, before);
}
BENCHMARK(BM_ConsoleLoggerLogDropped);

void BM_LogMessageDropped(benchmark::State& state) {
  if (!processLoggerIsTheStartUpConsoleLogger(state)) return;
  const std::uint64_t before = testing::allocationCount();
  for (auto _ : state) {
    common::logMessage(LogLevel::Debug, "manifest ready after ", kReadyAfterMs, "ms");
  }
  reportAllocations(state, before);
}
BENCHMARK(BM_LogMessageDropped);

void BM_SpdlogDropped(benchmark::State& state) {
  const std::unique_ptr<spdlog::logger> logger = makeSpdlogConsoleEquivalent();
  const std::uint64_t before = testing::allocationCount();
  for (auto _ : state) logger->debug("manifest ready after {}ms", kReadyAfterMs);
  reportAllocations(state, before);
}
BENCHMARK(BM_SpdlogDropped);

}  // namespace
}  // namespace ostrel::bench
