#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "Commands.h"
#include "ExitStatus.h"
#include "JsonReport.h"
#include "ObservingSurface.h"
#include "RegistrarPath.h"
#include "StatusReport.h"
#include "SummaryLine.h"
#include "ostrel/common/ILogger.h"
#include "ostrel/steamvr/IManifestRegistrar.h"
#include "ostrel/steamvr/ManifestCheck.h"
#include "platform/Platform.h"

namespace ostrel::registercli {

namespace {

using common::LogLevel;
using steamvr::RegisterResult;

std::string joinedPaths(const std::vector<std::string>& paths) {
  std::string text;
  for (const std::string& path : paths) text += (text.empty() ? "" : ", ") + path;
  return text;
}

}  // namespace

int runRepairCommand(const CommandLine& commandLine, IRuntimeConnector& connector,
                     const RegistrySources& sources, std::ostream& out, std::ostream& err) {
  const std::wstring path = registrarPathFor(*commandLine.manifestPath);
  const std::string shownPath = platform::wideToUtf8(path);
  const std::string& key = commandLine.appKey;
  const bool json = commandLine.json;
  RepairOutcome outcome;
  outcome.dryRun = commandLine.dryRun;

  // As register does: a manifest the runtime would refuse is not worth
  // removing the working copies for.
  const std::vector<steamvr::ManifestFinding> checked =
      steamvr::checkManifestForRegistration(path, key);
  for (const steamvr::ManifestFinding& finding : checked) {
    err << steamvr::formatFinding(finding) << '\n';
  }
  const int errors = steamvr::countErrors(checked);
  StatusReport report = buildStatusReport(commandLine, connector, sources, false);
  auto finish = [&](int status, const std::string& summary) {
    outcome.exitStatus = status;
    if (json) {
      out << repairJson(report, outcome, checked) << '\n';
    } else {
      out << summary << '\n';
    }
    return status;
  };
  if (errors > 0) {
    if (!commandLine.force) {
      return finish(kExitManifestErrors,
                    refusedSummary("repair", errors, static_cast<int>(checked.size()) - errors));
    }
    err << "going ahead despite " << countText(errors, "error") << " (--force)\n";
  }

  // Only listed manifests that declare the key are ours to remove: every
  // other entry belongs to another application.
  std::vector<std::string> stale;
  if (report.registry.known()) {
    for (std::size_t index : report.registry.otherDeclaring()) {
      stale.push_back(report.registry.manifests[index].path);
    }
  } else {
    for (const steamvr::RegistryFinding& finding : report.registry.findings) {
      err << steamvr::formatFinding(finding) << '\n';
    }
    err << "the runtime's list of applications cannot be read, so no other copy can be found: "
           "only registering "
        << shownPath << '\n';
  }
  err.flush();

  if (commandLine.dryRun) {
    outcome.wouldRemove = stale;
    if (!json) {
      for (const std::string& entry : stale) out << "would remove " << entry << '\n';
    }
    const std::string removal =
        stale.empty() ? "nothing to remove" : "would remove " + joinedPaths(stale);
    return finish(0, "repair (dry run) for " + key + ": " + removal + "; would register " + key +
                         " from " + shownPath);
  }

  steamvr::OpenVRApplicationsSurface* surface =
      connector.Connect(commandLine.loaderPath, report.runtime.failure);
  report.runtime.asked = true;
  report.runtime.reachable = surface != nullptr;
  if (surface == nullptr) {
    judgeStatus(report);
    return finish(kExitUnavailable, unavailableSummary("repair", report.runtime.failure.message));
  }
  judgeStatus(report);

  for (const std::string& entry : stale) {
    const steamvr::ApplicationError refused = surface->RemoveApplicationManifest(entry.c_str());
    if (refused != steamvr::kApplicationErrorNone) {
      outcome.result = registerResultName(RegisterResult::RemoveFailed);
      std::string summary = "repair failed (RemoveFailed, exit " +
                            std::to_string(exitStatusFor(RegisterResult::RemoveFailed)) + ") for ";
      summary += key;
      summary += ": the runtime refused to remove ";
      summary += entry;
      summary += " (";
      summary += surface->ErrorName(refused);
      summary += ")";
      if (!outcome.removed.empty()) summary += "; already removed " + joinedPaths(outcome.removed);
      summary += "; nothing registered";
      return finish(exitStatusFor(RegisterResult::RemoveFailed), summary);
    }
    common::logMessage(LogLevel::Info, "stale manifest removed: ", entry);
    outcome.removed.push_back(entry);
  }

  ObservingSurface observed(surface);
  const std::unique_ptr<steamvr::IManifestRegistrar> registrar =
      steamvr::createManifestRegistrar(&observed, key, path);
  const RegisterResult result = registrar->Register();
  outcome.result = registerResultName(result);
  const std::string removal =
      outcome.removed.empty() ? "nothing to remove" : "removed " + joinedPaths(outcome.removed);
  if (result != RegisterResult::Success) {
    return finish(exitStatusFor(result),
                  registrationSummary("repair", RegistrationOutcome::Failed, result, key, shownPath,
                                      registrar->LastError()) +
                      (outcome.removed.empty() ? "" : "; " + removal));
  }
  return finish(0,
                "repaired " + key + ": " + removal + "; registered " + key + " from " + shownPath);
}

}  // namespace ostrel::registercli
