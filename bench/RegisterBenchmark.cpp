// Register end to end over a runtime that reports the application installed
// at the first poll, so no poll sleeps and the figure is the registrar's own
// work per call: converting the path, three surface calls and three log
// lines.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "Measure.h"
#include "MessageShapes.h"
#include "StandardErrorRedirect.h"
#include "ostrel/common/ILogger.h"
#include "ostrel/steamvr/IManifestRegistrar.h"
#include "ostrel/testing/AllocationCounter.h"
#include "ostrel/testing/ScriptedApplicationsSurface.h"
#include "platform/Platform.h"

namespace ostrel::bench {
namespace {

using common::LogLevel;
// Injected in place of the real sleep. It should never run; the count says
// whether it did.
std::int64_t sleepsRequested = 0;
void countSleep(std::chrono::milliseconds) { ++sleepsRequested; }

// `minimum` is the process logger's level for the run: Info writes the three
// lines to /dev/null through the real console logger, Error drops them and
// leaves the registrar's own work.
void BM_Register(benchmark::State& state, LogLevel minimum) {
  if (!processLoggerIsTheStartUpConsoleLogger(state)) return;
  const StandardErrorRedirect discard("/dev/null");
  if (!discard.ok()) {
    state.SkipWithError(discard.error().c_str());
    return;
  }
  // Installed at the first poll, every call answered without being kept.
  testing::ScriptedApplicationsSurface surface;
  surface.installedAnswers.otherwise = true;
  surface.recordCalls = false;
  // A full path of the POSIX hosts the benchmarks are built on, which the
  // registrar hands on as it is.
  const std::unique_ptr<steamvr::IManifestRegistrar> registrar =
      steamvr::createManifestRegistrar(&surface, kAppKey, L"/opt/ostrel/app.vrmanifest");

  common::ILogger& logger = *common::processLogger;
  logger.SetLevel(minimum);
  const platform::SleepFunction realSleep = platform::replaceSleepFunction(&countSleep);
  sleepsRequested = 0;

  const std::uint64_t before = testing::allocationCount();
  for (auto _ : state) {
    if (registrar->Register() != steamvr::RegisterResult::Success) {
      state.SkipWithError(registrar->LastError().c_str());
      break;
    }
  }
  reportAllocations(state, before);
  state.counters["sleeps"] =
      benchmark::Counter(static_cast<double>(sleepsRequested), benchmark::Counter::kAvgIterations);

  platform::replaceSleepFunction(realSleep);
  logger.SetLevel(LogLevel::Info);
}
BENCHMARK_CAPTURE(BM_Register, lines_written, LogLevel::Info);
BENCHMARK_CAPTURE(BM_Register, lines_dropped, LogLevel::Error);

}  // namespace
}  // namespace ostrel::bench
