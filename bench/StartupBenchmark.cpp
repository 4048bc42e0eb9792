// The application's start-up call on its cheap path: the runtime's files show
// the registration right, so it reads them and checks the manifest, and
// neither connects nor loads the loader. Files on disk in a scratch folder,
// as the runtime keeps them; the runtime's list holds N manifests, ours last,
// so every one of them is read. Also the calling thread's cost of starting
// the asynchronous form.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "MessageShapes.h"
#include "StandardErrorRedirect.h"
#include "ostrel/startup/StartupRegistration.h"
#include "ostrel/testing/JsonText.h"
#include "ostrel/testing/ScratchFolder.h"
#include "platform/Platform.h"

namespace ostrel::bench {
namespace {

using testing::jsonString;

// Any Connect is a failure of the cheap path; the counter shows there was none.
class CountingConnector final : public registration::IRuntimeConnector {
 public:
  registration::Connection Connect(const std::string&) override {
    ++connects;
    registration::RuntimeFailure failure;
    failure.message = "not in this benchmark";
    return failure;
  }
  int connects = 0;
};

// The manifest check without the Windows path rules, which refuse the POSIX
// paths of this host; the file is read and judged as for a registration.
std::vector<manifestcheck::ManifestFinding> checkFileOnly(std::wstring_view path, std::string_view key) {
  return manifestcheck::checkManifest({platform::pathFromUtf8(platform::wideToUtf8(path)), std::nullopt,
                                 std::string(key)});
}

// A manifest for both systems, as the tests write it: whichever system the
// benchmark runs on, the check finds the program it starts (both are
// written beside ours), so the cheap path is the one measured.
std::string manifestFor(const std::string& key) {
  return R"({"source":"builtin","applications":[{"app_key":")" + key +
         R"(","launch_type":"binary","binary_path_windows":"Ostrel.exe",)"
         R"("binary_path_linux":"ostrel","is_dashboard_overlay":true,)"
         R"("strings":{"en_us":{"name":"Ostrel"}}}]})";
}

// Lays out the runtime's files for `listed` manifests and points the path
// registry override at them. Returns our manifest's path, or "" with the
// benchmark failed.
std::string layOut(const testing::ScratchFolder& folder, int listed, benchmark::State& state) {
  if (folder.path().empty()) {
    state.SkipWithError(folder.error().c_str());
    return {};
  }
  const std::string root = platform::pathToUtf8(folder.path());
  std::string list;
  for (int index = 0; index + 1 < listed; ++index) {
    const std::string name = "apps/app" + std::to_string(index) + "/app.vrmanifest";
    folder.write(name, manifestFor("other.app" + std::to_string(index)));
    list += jsonString(root + "/" + name) + ",";
  }
  folder.write("ours/Ostrel.exe", "");
  std::filesystem::permissions(folder.write("ours/ostrel", ""),
                               std::filesystem::perms::owner_exec, std::filesystem::perm_options::add);
  const std::string ours = platform::pathToUtf8(folder.write("ours/app.vrmanifest", manifestFor(kAppKey)));
  list += jsonString(ours);
  folder.write("config/appconfig.json", R"({"manifest_paths":[)" + list + "]}");
  // The user's auto-launch choice, recorded as the runtime records it once
  // auto-launch was set: a first registration is finished only then.
  folder.write("config/vrappconfig/" + kAppKey + ".vrappconfig",
               "{\n\t\"last_launch_time\": \"0\",\n\t\"autolaunch\": true\n}");
  const std::string vrpath = platform::pathToUtf8(folder.write(
      "openvrpaths.vrpath",
      R"({"config":[)" + jsonString(root + "/config") + R"(],"runtime":[)" +
          jsonString(root + "/runtime") + R"(],"version":1})"));
  ::setenv("VR_PATHREG_OVERRIDE", vrpath.c_str(), 1);
  return ours;
}

// The runtime's files for `listed` manifests, and the start-up call's options
// and services over them; `ready` is false (the benchmark failed) when the
// files could not be written.
struct CheapPath {
  CheapPath(int listed, benchmark::State& state) : ours(layOut(folder, listed, state)) {
    services.connector = &connector;
    services.check = &checkFileOnly;
    options.appKey = kAppKey;
    options.manifestPath = ours;
  }
  ~CheapPath() { ::unsetenv("VR_PATHREG_OVERRIDE"); }
  CheapPath(const CheapPath&) = delete;
  CheapPath& operator=(const CheapPath&) = delete;

  bool ready() const { return !ours.empty(); }

  const StandardErrorRedirect discard{"/dev/null"};  // one log line per call
  const testing::ScratchFolder folder;
  const std::string ours;
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
