#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "Commands.h"
#include "ExitStatus.h"
#include "JsonReport.h"
#include "SummaryLine.h"
#include "ostrel/manifestcheck/ManifestCheck.h"
#include "ostrel/registration/ObservingSurface.h"
#include "ostrel/registration/RegistrarPath.h"
#include "ostrel/registration/RegistrationStatus.h"
#include "ostrel/registration/Repair.h"
#include "ostrel/steamvr/IManifestRegistrar.h"
#include "ostrel/text/ListText.h"
#include "platform/Platform.h"

namespace ostrel::registercli {

namespace {

using steamvr::RegisterResult;

}  // namespace

int runRepairCommand(const CommandLine& commandLine, registration::IRuntimeConnector& connector,
                     const registration::RegistrySources& sources, std::ostream& out,
                     std::ostream& err) {
  const std::wstring path = registration::registrarPathFor(*commandLine.manifestPath);
  const std::string shownPath = platform::wideToUtf8(path);
  const std::string& key = commandLine.appKey;
  const bool json = commandLine.json;
  RepairOutcome outcome;
  outcome.dryRun = commandLine.dryRun;

  // As register does: a manifest the runtime would refuse is not worth
  // removing the working copies for.
  const std::vector<manifestcheck::ManifestFinding> checked =
      manifestcheck::checkManifestForRegistration(path, key);
  for (const manifestcheck::ManifestFinding& finding : checked) {
    err << manifestcheck::formatFinding(finding) << '\n';
  }
  const int errors = manifestcheck::countErrors(checked);
  registration::StatusReport report =
      registration::buildStatusReport(statusQueryFor(commandLine), connector, sources, false);
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

  const std::vector<std::string> stale = registration::planRepair(report.registry);
  if (!report.registry.known()) {
    for (const runtimeregistry::RegistryFinding& finding : report.registry.findings) {
      err << manifestcheck::formatFinding(finding) << '\n';
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
        stale.empty() ? "nothing to remove" : "would remove " + ostrel::text::joinedList(stale);
    return finish(0, "repair (dry run) for " + key + ": " + removal + "; would register " + key +
                         " from " + shownPath);
  }

  registration::Connection connection = connector.Connect(commandLine.loaderPath);
  report.runtime.asked = true;
  report.runtime.reachable = connection.ok();
  if (!connection) {
    registration::recordUnreachable(report.runtime, std::move(connection).failure(), sources);
    registration::judgeStatus(report);
    return finish(kExitUnavailable, unavailableSummary("repair", report.runtime.failure.message));
  }
  registration::judgeStatus(report);
  openvr::OpenVRApplicationsSurface* surface = connection.value();

  registration::RemovalOutcome removal = registration::removeListedCopies(*surface, stale);
  outcome.removed = std::move(removal.removed);
  if (removal.refused) {
    outcome.result = steamvr::registerResultName(RegisterResult::RemoveFailed);
    std::string summary = "repair failed (RemoveFailed, exit " +
                          std::to_string(exitStatusFor(RegisterResult::RemoveFailed)) + ") for ";
    summary += key;
    summary += ": the runtime refused to remove ";
    summary += *removal.refused;
    summary += " (";
    summary += surface->ErrorName(removal.error);
    summary += ")";
    if (!outcome.removed.empty())
      summary += "; already removed " + ostrel::text::joinedList(outcome.removed);
    summary += "; nothing registered";
    return finish(exitStatusFor(RegisterResult::RemoveFailed), summary);
  }

  registration::ObservingSurface observed(surface);
  const std::unique_ptr<steamvr::IManifestRegistrar> registrar =
      steamvr::createManifestRegistrar(&observed, key, path);
  const RegisterResult result = registrar->Register();
  outcome.result = steamvr::registerResultName(result);
  const std::string removed = outcome.removed.empty()
                                  ? "nothing to remove"
                                  : "removed " + ostrel::text::joinedList(outcome.removed);
  if (result != RegisterResult::Success) {
    return finish(exitStatusFor(result),
                  registrationSummary("repair", RegistrationOutcome::Failed, result, key, shownPath,
                                      registrar->LastError()) +
                      (outcome.removed.empty() ? "" : "; " + removed));
  }
  return finish(0,
                "repaired " + key + ": " + removed + "; registered " + key + " from " + shownPath);
}

}  // namespace ostrel::registercli
