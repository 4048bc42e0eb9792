// What every benchmark here does around its loop: checks that it measures
// the logger the registrar really meets, and reports heap allocations per
// iteration next to the time.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>

#include "ostrel/common/ConsoleLogger.h"
#include "ostrel/common/ILogger.h"
#include "ostrel/testing/AllocationCounter.h"

namespace ostrel::bench {

// The library fills the process logger slot with a console logger at Info;
// a figure taken through anything else would not be the registrar's cost.
inline bool processLoggerIsTheStartUpConsoleLogger(benchmark::State& state) {
  auto* console = dynamic_cast<common::ConsoleLogger*>(common::processLogger.get());
  if (console == nullptr || console->GetLevel() != common::LogLevel::Info) {
    state.SkipWithError("the process logger is not the start-up console logger");
    return false;
  }
  return true;
}

// Adds the counter "allocs": operator new calls per iteration since `before`
// (a value of ostrel::testing::allocationCount()).
inline void reportAllocations(benchmark::State& state, std::uint64_t before) {
  const std::uint64_t made = testing::allocationCount() - before;
  state.counters["allocs"] =
      benchmark::Counter(static_cast<double>(made), benchmark::Counter::kAvgIterations);
}

}  // namespace ostrel::bench
