// The doctor's run: the examination, the removal of dead entries through the
// runtime, and the state both come to.
#include <memory>
#include <string>
#include <unordered_set>
#include <utility>

#include "ostrel/doctor/Doctor.h"
#include "ostrel/doctor/DoctorFindingCodes.h"
#include "ostrel/doctor/DoctorForms.h"
#include "ostrel/text/HostPath.h"

namespace ostrel::doctor {

namespace {

// The dead entries, one per file: the runtime drops every entry of a path
// it is asked to remove.
std::vector<std::string> deadEntries(const DoctorReport& report) {
  std::vector<std::string> planned;
  std::unordered_set<std::string> seen;
  for (const DoctorManifest& manifest : report.manifests) {
    // An entry naming no file cannot be handed to the runtime.
    if (manifest.state != EntryState::Missing || manifest.path.empty() ||
        manifest.path.find('\0') != std::string::npos) {
      continue;
    }
    if (seen.insert(text::comparablePath(manifest.path)).second) planned.push_back(manifest.path);
  }
  return planned;
}

void markRemoved(DoctorReport& report, const std::string& path) {
  const std::string removed = text::comparablePath(path);
  for (DoctorManifest& manifest : report.manifests) {
    if (text::comparablePath(manifest.path) == removed) manifest.removed = true;
  }
}

template <typename Count>
void countFindings(const std::vector<Finding>& findings, Count& errors, Count& warnings) {
  for (const Finding& finding : findings) {
    if (finding.severity == manifestcheck::FindingSeverity::Error) {
      ++errors;
    } else {
      ++warnings;
    }
  }
}

DoctorState judgeState(const DoctorResult& result) {
  if (!result.report.listRead) return DoctorState::Unavailable;
  const DeadEntryRemoval& removal = result.removal;
  if (removal.runtimeAsked && !removal.runtimeReached) return DoctorState::Unavailable;
  for (const registration::RemovalAttempt& attempt : removal.attempts) {
    if (attempt.error != steamvr::kApplicationErrorNone) return DoctorState::RemoveFailed;
  }
  return summarize(result).errors > 0 ? DoctorState::ProblemsFound : DoctorState::Healthy;
}

}  // namespace

const char* doctorStateName(DoctorState state) noexcept {
  switch (state) {
    case DoctorState::Healthy:
      return "healthy";
    case DoctorState::RemoveFailed:
      return "remove-failed";
    case DoctorState::ProblemsFound:
      return "problems-found";
    case DoctorState::Unavailable:
      return "unavailable";
  }
  return "unknown";
}

const char* entryStateName(EntryState state) noexcept {
  switch (state) {
    case EntryState::Read:
      return "read";
    case EntryState::Missing:
      return "missing";
    case EntryState::Unreadable:
      return "unreadable";
    case EntryState::Refused:
      return "refused";
    case EntryState::Repeated:
      return "repeated";
  }
  return "unknown";
}

DoctorSummary summarize(const DoctorResult& result) {
  const DoctorReport& report = result.report;
  DoctorSummary summary;
  countFindings(report.findings, summary.errors, summary.warnings);
  summary.manifests = report.manifests.size();
  for (const DoctorManifest& manifest : report.manifests) {
    if (manifest.state == EntryState::Missing) ++summary.dead;
    for (const DoctorApplication& application : manifest.applications) {
      ++summary.applications;
      if (application.served) ++summary.served;
      if (!manifest.removed) countFindings(application.findings, summary.errors, summary.warnings);
    }
    if (!manifest.removed) countFindings(manifest.findings, summary.errors, summary.warnings);
  }
  for (const AutoLaunchSetting& setting : report.settings) {
    for (const Finding& finding : setting.findings) {
      if (finding.code == findings::kAutoLaunchOrphan) ++summary.orphanSettings;
    }
    countFindings(setting.findings, summary.errors, summary.warnings);
  }
  return summary;
}

DoctorResult runDoctor(const DoctorOptions& options, registration::IRuntimeConnector& connector,
                       const DoctorSources& sources) {
  DoctorResult result;
  result.report = examineRegistry(sources);
  DeadEntryRemoval& removal = result.removal;
  removal.asked = options.removeDead;
  removal.dryRun = options.dryRun;
  if (options.removeDead) removal.planned = deadEntries(result.report);
  if (options.removeDead && !options.dryRun && !removal.planned.empty()) {
    removal.runtimeAsked = true;
    registration::Connection connection = connector.Connect(options.loaderPath);
    removal.runtimeReached = connection.ok();
    if (!connection) {
      removal.failure = std::move(connection).failure();
    } else {
      removal.attempts = registration::removeEachListed(*connection.value(), removal.planned);
      for (const registration::RemovalAttempt& attempt : removal.attempts) {
        if (attempt.error == steamvr::kApplicationErrorNone) markRemoved(result.report, attempt.entry);
      }
    }
  }
  result.state = judgeState(result);
  return result;
}

DoctorJsonAnswer diagnoseAsJson() {
  const std::unique_ptr<runtimeregistry::IRegistryEnvironment> environment =
      runtimeregistry::createProcessEnvironment();
  const std::unique_ptr<runtimeregistry::IRegistryFiles> files = runtimeregistry::createDiskFiles();
  const std::unique_ptr<manifestcheck::IPathProbe> paths = manifestcheck::createDiskPathProbe();
  DoctorResult result;
  result.report = examineRegistry({environment.get(), files.get(), paths.get()});
  result.state = judgeState(result);
  return {doctorJson(result), result.state};
}

}  // namespace ostrel::doctor
