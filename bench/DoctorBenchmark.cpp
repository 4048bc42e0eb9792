// The doctor over N listed manifests, next to its floor: the same files read
// with bare open/read/close and each program looked at with one stat, which
// no reader of these files can beat. The start-up call's cheap path reads the
// same files but looks at no other application's program, so its floor is
// the one without the stats (StartupBenchmark.cpp).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <memory>
#include <string>

#include "CountingConnector.h"
#include "RegistryLayout.h"
#include "ostrel/doctor/Doctor.h"

namespace ostrel::bench {
namespace {

// Reads the file whole and returns the bytes read; 0 when it cannot be
// opened.
std::size_t readWhole(const std::string& path) {
  static std::array<char, 65536> buffer;
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) return 0;
  std::size_t total = 0;
  for (;;) {
    const ssize_t got = ::read(descriptor, buffer.data(), buffer.size());
    if (got <= 0) break;
    total += static_cast<std::size_t>(got);
    if (static_cast<std::size_t>(got) < buffer.size()) break;  // a regular file's end
  }
  ::close(descriptor);
  return total;
}

void BM_ReadFloor(benchmark::State& state) {
  const RegistryLayout files(static_cast<int>(state.range(0)), state);
  if (!files.ready()) return;
  const bool statBinaries = state.range(1) != 0;
  for (auto _ : state) {
    std::size_t bytes = 0;
    for (const std::string& file : files.files()) bytes += readWhole(file);
    if (statBinaries) {
      struct stat status {};
      for (const std::string& binary : files.binaries()) {
        bytes += ::stat(binary.c_str(), &status) == 0 ? 1 : 0;
      }
    }
    benchmark::DoNotOptimize(bytes);
  }
}
BENCHMARK(BM_ReadFloor)
    ->ArgNames({"listed", "stat_binaries"})
    ->Args({50, 0})
    ->Args({4096, 0})
    ->Args({50, 1})
    ->Args({1000, 1})
    ->Args({4096, 1})
    ->Unit(benchmark::kMicrosecond);

void BM_Doctor(benchmark::State& state) {
  const RegistryLayout files(static_cast<int>(state.range(0)), state);
  if (!files.ready()) return;
  const std::unique_ptr<runtimeregistry::IRegistryEnvironment> environment =
      runtimeregistry::createProcessEnvironment();
  const std::unique_ptr<runtimeregistry::IRegistryFiles> disk = runtimeregistry::createDiskFiles();
  const std::unique_ptr<manifestcheck::IPathProbe> binaries = manifestcheck::createDiskPathProbe();
  CountingConnector connector;
  for (auto _ : state) {
    const doctor::DoctorResult result =
        doctor::runDoctor({}, connector, {environment.get(), disk.get(), binaries.get()});
    if (result.report.manifests.size() != static_cast<std::size_t>(state.range(0)) ||
        doctor::summarize(result).served != result.report.manifests.size()) {
      state.SkipWithError("the doctor did not judge every listed manifest as served");
      break;
    }
  }
  state.counters["connects"] = connector.connects;
}
BENCHMARK(BM_Doctor)->ArgName("listed")->Arg(50)->Arg(1000)->Arg(4096)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace ostrel::bench
