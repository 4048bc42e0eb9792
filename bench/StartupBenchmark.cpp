// The application's start-up call on its cheap path: the runtime's files show
// the registration right, so it reads them and checks the manifest, and
// neither connects nor loads the loader. Files on disk in a scratch folder,
// as the runtime keeps them; the runtime's list holds N manifests, ours last,
// so every one of them is read. Also the calling thread's cost of starting
// the asynchronous form.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

#include "CountingConnector.h"
#include "MessageShapes.h"
#include "RegistryLayout.h"
#include "StandardErrorRedirect.h"
#include "ostrel/startup/StartupRegistration.h"
#include "platform/Platform.h"

namespace ostrel::bench {
namespace {

// The manifest check without the Windows path rules, which refuse the POSIX
// paths of this host; the file is read and judged as for a registration.
std::vector<manifestcheck::ManifestFinding> checkFileOnly(std::wstring_view path, std::string_view key) {
  return manifestcheck::checkManifest({platform::pathFromUtf8(platform::wideToUtf8(path)), std::nullopt,
                                 std::string(key)});
}

// The runtime's files for `listed` manifests, and the start-up call's options
// and services over them; `ready` is false (the benchmark failed) when the
// files could not be written.
struct CheapPath {
  CheapPath(int listed, benchmark::State& state) : files(listed, state) {
    services.connector = &connector;
    services.check = &checkFileOnly;
    options.appKey = kAppKey;
    options.manifestPath = files.ours();
  }

  bool ready() const { return files.ready(); }

  const StandardErrorRedirect discard{"/dev/null"};  // one log line per call
  const RegistryLayout files;
  CountingConnector connector;
  startup::StartupServices services;
  startup::StartupOptions options;
};

void BM_StartupAlreadyRegistered(benchmark::State& state) {
  CheapPath path(static_cast<int>(state.range(0)), state);
  if (!path.ready()) return;
  for (auto _ : state) {
    const startup::StartupOutcome outcome =
        startup::keepRegistrationRight(path.options, path.services);
    if (outcome.action != startup::StartupAction::AlreadyRegistered) {
      state.SkipWithError(outcome.text.c_str());
      break;
    }
  }
  state.counters["connects"] = path.connector.connects;
}
BENCHMARK(BM_StartupAlreadyRegistered)->Arg(1)->Arg(50)->Arg(4096)->Unit(benchmark::kMicrosecond);

// Only the call that starts the work is timed; waiting for it and destroying
// the handle are not the calling thread's start-up cost.
void BM_StartupAsyncStart(benchmark::State& state) {
  CheapPath path(1, state);
  if (!path.ready()) return;
  for (auto _ : state) {
    const auto started = std::chrono::steady_clock::now();
    auto handle = startup::startRegistration(path.options, path.services, {});
    const auto returned = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(returned - started).count());
    handle->Wait();
  }
  state.counters["connects"] = path.connector.connects;
}
BENCHMARK(BM_StartupAsyncStart)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace ostrel::bench
