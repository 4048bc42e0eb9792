#include "ostrel/registration/RegistrationStatus.h"

#include <utility>

#include "ostrel/runtimeregistry/RegistryFindingCodes.h"

namespace ostrel::registration {

namespace {

using manifestcheck::FindingSeverity;
using runtimeregistry::RegistryFinding;
using steamvr::kApplicationErrorNone;

void ask(StatusReport& report, const std::string& loaderPath, IRuntimeConnector& connector,
         const RegistrySources& sources, openvr::OpenVRApplicationsSurface** connected) {
  RuntimeView& view = report.runtime;
  view.asked = true;
  Connection connection = connector.Connect(loaderPath);
  if (connected != nullptr) *connected = connection.valueOr(nullptr);
  if (!connection) {
    recordUnreachable(view, std::move(connection).failure(), sources);
    return;
  }
  openvr::OpenVRApplicationsSurface* surface = connection.value();
  view.reachable = true;
  const char* key = report.appKey.c_str();
  view.installed = surface->IsApplicationInstalled(key);
  if (!view.installed) return;
  view.autoLaunch = surface->GetApplicationAutoLaunch(key);
  view.overlay = surface->IsDashboardOverlay(key);
  view.binary = surface->GetBinaryPath(key);
  view.workingDirectory = surface->GetWorkingDirectory(key);
  if (!report.manifestPath) return;
  const outcome::Outcome<ManifestLocation> location =
      readManifestLocation(*report.manifestPath, report.appKey);
  if (!location) {
    view.placeProblem = location.failure().message;
    return;
  }
  const RegisteredPlace place{
      view.binary.error == kApplicationErrorNone ? view.binary.value : "",
      view.workingDirectory.error == kApplicationErrorNone ? view.workingDirectory.value : ""};
  view.place = judgeRegisteredPlace(place, location.value());
}

bool runtimeAutoLaunchKnown(const RuntimeView& view) {
  return view.reachable && view.installed && view.autoLaunch.error == kApplicationErrorNone;
}

}  // namespace

const char* registrationStateName(RegistrationState state) noexcept {
  switch (state) {
    case RegistrationState::Registered:
      return "registered";
    case RegistrationState::NotRegistered:
      return "not-registered";
    case RegistrationState::Stale:
      return "stale";
    case RegistrationState::Unknown:
      return "unknown";
  }
  return "unknown";
}

std::optional<bool> StatusReport::installed() const {
  if (runtime.reachable) return runtime.installed;
  if (registry.known()) return registry.serving.has_value();
  return std::nullopt;
}

std::optional<bool> StatusReport::autoLaunch() const {
  if (runtimeAutoLaunchKnown(runtime)) return runtime.autoLaunch.value;
  if (runtime.reachable && !runtime.installed) return std::nullopt;
  return registry.autoLaunch;
}

void judgeStatus(StatusReport& report) {
  const RuntimeView& runtime = report.runtime;
  const runtimeregistry::RuntimeRegistry& registry = report.registry;
  report.findings.clear();
  const std::string& key = report.appKey;

  if (runtime.asked && !runtime.reachable && runtime.notSteamVR) {
    report.findings.push_back(runtimeregistry::runtimeNotSteamVRFinding(*runtime.notSteamVR));
  } else if (runtime.asked && !runtime.reachable) {
    report.findings.push_back({FindingSeverity::Warning, findings::kRuntimeUnreachable,
                               "the SteamVR runtime cannot be reached (" + runtime.failure.message +
                                   "); what follows comes from the runtime's files alone"});
  }
  for (const RegistryFinding& finding : registry.findings) {
    // The runtime's own answer on auto-launch overrules its settings file.
    if (finding.code == runtimeregistry::findings::kAutoLaunchOff &&
        runtimeAutoLaunchKnown(runtime))
      continue;
    // A runtime that answers auto-launch on has a choice recorded, whatever
    // its file says yet.
    if (finding.code == runtimeregistry::findings::kRegistrationUnfinished &&
        runtimeAutoLaunchKnown(runtime) && runtime.autoLaunch.value)
      continue;
    report.findings.push_back(finding);
  }
  if (runtimeAutoLaunchKnown(runtime)) {
    if (!runtime.autoLaunch.value) {
      report.findings.push_back(
          {FindingSeverity::Warning, runtimeregistry::findings::kAutoLaunchOff,
           "the runtime has auto-launch off for " + key +
               ", so SteamVR does not start the application with itself: switch it on in "
               "SteamVR's settings (Startup / Shutdown) or register again"});
    }
    if (registry.autoLaunch && *registry.autoLaunch != runtime.autoLaunch.value) {
      report.findings.push_back(
          {FindingSeverity::Warning, findings::kViewsDisagree,
           std::string("the runtime answers auto-launch ") +
               (runtime.autoLaunch.value ? "on" : "off") + ", but its settings file says " +
               (*registry.autoLaunch ? "on" : "off") +
               "; the runtime writes the file when it next saves its settings"});
    }
  }
  if (runtime.reachable && registry.known() && runtime.installed != registry.serving.has_value()) {
    report.findings.push_back(
        {FindingSeverity::Warning, findings::kViewsDisagree,
         runtime.installed
             ? "the runtime lists " + key +
                   ", but no manifest in its list of applications declares it (it was added "
                   "for this session only, or the list was changed since SteamVR started)"
             : "the runtime's list of applications has a manifest declaring " + key +
                   ", but the runtime does not list it (the manifest was changed or the list "
                   "edited since SteamVR started; SteamVR reads it again when it restarts)"});
  }

  // The state: another copy listed makes it stale whatever else holds; then
  // the runtime's answer; then the files'.
  const bool staleByRegistry = registry.known() && !registry.otherDeclaring().empty();
  const bool staleByRuntime = runtime.reachable && runtime.installed && runtime.place &&
                              runtime.place->match == PlaceMatch::Differs;
  if (staleByRegistry || staleByRuntime) {
    report.state = RegistrationState::Stale;
  } else if (runtime.reachable) {
    report.state =
        runtime.installed ? RegistrationState::Registered : RegistrationState::NotRegistered;
  } else if (registry.known()) {
    report.state =
        registry.serving ? RegistrationState::Registered : RegistrationState::NotRegistered;
  } else {
    report.state = RegistrationState::Unknown;
  }
  // The runtime's "not installed" already says what not-registered would.
  if (report.state == RegistrationState::Registered) {
    std::erase_if(report.findings, [](const RegistryFinding& finding) {
      return finding.code == runtimeregistry::findings::kNotRegistered;
    });
  }
}

void recordUnreachable(RuntimeView& view, RuntimeFailure failure, const RegistrySources& sources) {
  view.reachable = false;
  view.failure = std::move(failure);
  view.notSteamVR.reset();
  if (view.failure.kind != openvr::OpenVRSessionErrorKind::RuntimeNotSteamVR) return;
  runtimeregistry::ActiveRuntime active =
      runtimeregistry::resolveActiveRuntime(*sources.environment, *sources.files);
  if (active.folder && !active.steamVR) view.notSteamVR = std::move(active);
}

StatusReport buildStatusReport(const StatusQuery& query, IRuntimeConnector& connector,
                               const RegistrySources& sources, bool askRuntime,
                               openvr::OpenVRApplicationsSurface** surface) {
  if (surface != nullptr) *surface = nullptr;
  StatusReport report;
  report.appKey = query.appKey;
  report.manifestPath = query.manifestPath;
  report.registry = runtimeregistry::readRuntimeRegistry({report.appKey, report.manifestPath},
                                                         *sources.environment, *sources.files);
  if (askRuntime) ask(report, query.loaderPath, connector, sources, surface);
  judgeStatus(report);
  return report;
}

}  // namespace ostrel::registration
