#include <optional>
#include <string>

#include "Commands.h"
#include "ostrel/registration/ExitStatus.h"
#include "ostrel/registration/ReportJson.h"
#include "ostrel/registration/RegistrationStatus.h"
#include "SummaryLine.h"
#include "platform/Platform.h"

namespace ostrel::registercli {

namespace {

using steamvr::ApplicationError;
using steamvr::kApplicationErrorNone;
using openvr::OpenVRApplicationsSurface;

std::string flagText(OpenVRApplicationsSurface& surface, openvr::ApplicationFlag flag,
                     const char* yes, const char* no) {
  if (flag.error != kApplicationErrorNone) {
    return std::string("unknown (") + surface.ErrorName(flag.error) + ")";
  }
  return flag.value ? yes : no;
}

std::string textOrReason(OpenVRApplicationsSurface& surface, const openvr::ApplicationText& text) {
  if (text.error != kApplicationErrorNone) {
    return std::string("(not reported: ") + surface.ErrorName(text.error) + ")";
  }
  return text.value;
}

// The runtime's answers, in the form status has always printed them.
void printRuntimeView(const registration::StatusReport& report, OpenVRApplicationsSurface& surface,
                      std::ostream& out) {
  const registration::RuntimeView& view = report.runtime;
  out << "installed:         " << (view.installed ? "yes" : "no") << '\n';
  if (!view.installed) return;
  out << "auto-launch:       " << flagText(surface, view.autoLaunch, "on", "off") << '\n';
  out << "dashboard overlay: " << flagText(surface, view.overlay, "yes", "no") << '\n';
  out << "binary path:       " << textOrReason(surface, view.binary) << '\n';
  out << "working directory: " << textOrReason(surface, view.workingDirectory) << '\n';
  if (!report.manifestPath) return;
  if (view.place) {
    out << "manifest:          " << view.place->explanation << '\n';
  } else {
    out << "manifest:          cannot compare: " << view.placeProblem << '\n';
  }
}

// What the runtime's files say: where they are, and every listed manifest
// that declares the key (the others belong to other applications).
void printRegistryView(const registration::StatusReport& report, std::ostream& out) {
  const runtimeregistry::RuntimeRegistry& registry = report.registry;
  out << "registry file:     "
      << (registry.registryFile.empty() ? std::string("(not located)") : registry.registryFile)
      << (registry.registryFileRead ? "" : " (not read)") << '\n';
  if (!registry.known()) {
    out << "listed manifests:  unknown (the runtime's list of applications was not read)\n";
    return;
  }
  std::size_t declaring = 0;
  for (const runtimeregistry::ListedManifest& listed : registry.manifests) declaring += listed.declaresKey;
  out << "listed manifests:  " << declaring << " of " << registry.manifests.size()
      << " declare " << report.appKey << '\n';
  for (std::size_t i = 0; i < registry.manifests.size(); ++i) {
    const runtimeregistry::ListedManifest& listed = registry.manifests[i];
    if (!listed.declaresKey && !listed.thisManifest) continue;
    const char* role = !listed.declaresKey              ? "  listed:  "
                       : registry.serving && *registry.serving == i ? "  served:  "
                                                                    : "  skipped: ";
    out << role << listed.path;
    if (listed.thisManifest) out << " (this manifest)";
    if (!listed.exists) out << " (file gone)";
    out << '\n';
  }
}

std::string autoLaunchText(const std::optional<bool>& autoLaunch) {
  if (!autoLaunch) return "unknown";
  return *autoLaunch ? "on" : "off";
}

// Why the registration is stale, for the closing line.
std::string staleReason(const registration::StatusReport& report) {
  const registration::RuntimeView& runtime = report.runtime;
  if (runtime.reachable && runtime.place && runtime.place->match == registration::PlaceMatch::Differs) {
    return "points elsewhere than " + *report.manifestPath;
  }
  const runtimeregistry::RuntimeRegistry& registry = report.registry;
  const std::size_t others = registry.otherDeclaring().size();
  std::string reason;
  if (registry.serving && !registry.manifests[*registry.serving].thisManifest &&
      report.manifestPath) {
    reason = "served from " + registry.manifests[*registry.serving].path;
  } else {
    reason = std::to_string(others) + " other listed manifest" + (others == 1 ? "" : "s") +
             " declare" + (others == 1 ? "s" : "") + " it";
  }
  return reason + "; `ostrel-register repair` fixes it";
}

std::string closingLine(const registration::StatusReport& report) {
  const std::string& key = report.appKey;
  const bool reachable = report.runtime.reachable;
  std::string state;
  switch (report.state) {
    case registration::RegistrationState::Registered:
      state = "is registered (auto-launch " + autoLaunchText(report.autoLaunch()) + ")";
      break;
    case registration::RegistrationState::NotRegistered:
      state = reachable ? "is not registered with the runtime" : "is not registered";
      break;
    case registration::RegistrationState::Stale:
      state = report.installed().value_or(true)
                  ? "is registered (auto-launch " + autoLaunchText(report.autoLaunch()) +
                        "), stale: " + staleReason(report)
                  : "is stale: " + staleReason(report);
      break;
    case registration::RegistrationState::Unknown:
      return unavailableSummary("status", report.runtime.failure.message);
  }
  std::string line = "status: " + key + " " + state;
  if (!reachable) line += " (from the runtime's files; the runtime cannot be reached)";
  return line;
}

}  // namespace

int runStatusCommand(const CommandLine& commandLine, registration::IRuntimeConnector& connector,
                     const registration::RegistrySources& sources, std::ostream& out) {
  OpenVRApplicationsSurface* surface = nullptr;
  const registration::StatusReport report = registration::buildStatusReport(statusQueryFor(commandLine), connector, sources, true, &surface);
  const int status = registration::exitStatusForState(report.state);
  if (commandLine.json) {
    out << registration::statusJson(report, status) << '\n';
    return status;
  }

  out << "application:       " << report.appKey << '\n';
  if (surface != nullptr) {
    printRuntimeView(report, *surface, out);
  } else {
    out << "runtime:           cannot be reached\n";
  }
  printRegistryView(report, out);
  for (const runtimeregistry::RegistryFinding& finding : report.findings) {
    out << manifestcheck::formatFinding(finding) << '\n';
  }
  out << closingLine(report) << '\n';
  return status;
}

}  // namespace ostrel::registercli
