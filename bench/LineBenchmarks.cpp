// One written line, to standard error redirected to /dev/null: the console
// logger on its own, then each of the registrar's message shapes through
// logMessage and through spdlog, side by side in one run.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string_view>

#include "Measure.h"
#include "MessageShapes.h"
#include "SpdlogEquivalent.h"
#include "StandardErrorRedirect.h"
#include "ostrel/common/ConsoleLogger.h"
#include "ostrel/common/ILogger.h"
#include "ostrel/testing/AllocationCounter.h"

namespace ostrel::bench {
namespace {

using common::LogLevel;

// Both loggers keep their normal path to descriptor 2 (std::cerr and stdio's
// stderr); only the file behind it changes.
template <typename WriteLine>
void measureLines(benchmark::State& state, WriteLine writeLine) {
  const StandardErrorRedirect discard("/dev/null");
  if (!discard.ok()) {
    state.SkipWithError(discard.error().c_str());
    return;
  }
  const std::uint64_t before = testing::allocationCount();
  for (auto _ : state) writeLine();
  reportAllocations(state, before);
}

// The line alone: a finished message handed to the logger, as dispatchLog
// hands it on.
void BM_ConsoleLoggerLogWritten(benchmark::State& state) {
  common::ConsoleLogger console;
  common::ILogger* logger = &console;
  benchmark::DoNotOptimize(logger);
  constexpr std::string_view kMessage = "polling for manifest install";
  measureLines(state, [logger, kMessage] { logger->Log(LogLevel::Info, kMessage); });
}
BENCHMARK(BM_ConsoleLoggerLogWritten);

// Built and written the registrar's way: logMessage into the process logger.
void BM_ConsoleLine(benchmark::State& state, void (*shape)()) {
  if (!processLoggerIsTheStartUpConsoleLogger(state)) return;
  measureLines(state, shape);
}

void BM_SpdlogLine(benchmark::State& state, void (*shape)(spdlog::logger&)) {
  // The sink writes to stdio's stderr, which follows descriptor 2 wherever it
  // points, so the logger may be made before the redirect.
  const std::unique_ptr<spdlog::logger> logger = makeSpdlogConsoleEquivalent();
  spdlog::logger& target = *logger;
  measureLines(state, [&target, shape] { shape(target); });
}

BENCHMARK_CAPTURE(BM_ConsoleLine, text, &consoleText);
BENCHMARK_CAPTURE(BM_SpdlogLine, text, &spdlogText);
BENCHMARK_CAPTURE(BM_ConsoleLine, text_int_text, &consoleTextIntText);
BENCHMARK_CAPTURE(BM_SpdlogLine, text_int_text, &spdlogTextIntText);
BENCHMARK_CAPTURE(BM_ConsoleLine, text_string, &consoleTextString);
BENCHMARK_CAPTURE(BM_SpdlogLine, text_string, &spdlogTextString);

}  // namespace
}  // namespace ostrel::bench
