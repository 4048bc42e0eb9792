#include <string>
#include <vector>

#include "Commands.h"
#include "SummaryLine.h"
#include "ostrel/manifestcheck/ManifestCheck.h"
#include "ostrel/registration/ExitStatus.h"
#include "ostrel/registration/RegistrarPath.h"
#include "ostrel/registration/RegistrationRun.h"
#include "ostrel/registration/ReportJson.h"
#include "ostrel/text/ListText.h"

namespace ostrel::registercli {

namespace {

using registration::RegistrationEnd;
using steamvr::RegisterResult;

// The summary line for what the run came to.
std::string repairSummary(const registration::RegistrationRun& run, const std::string& key) {
  const std::string& path = run.manifestPath;
  const std::string removed = run.removed.empty()
                                  ? "nothing to remove"
                                  : "removed " + ostrel::text::joinedList(run.removed);
  switch (run.end) {
    case RegistrationEnd::CheckFailed: {
      const int errors = manifestcheck::countErrors(run.checkFindings);
      return refusedSummary("repair", errors, static_cast<int>(run.checkFindings.size()) - errors);
    }
    case RegistrationEnd::DryRun:
      return "repair (dry run) for " + key + ": " +
             (run.plan.empty() ? "nothing to remove"
                               : "would remove " + ostrel::text::joinedList(run.plan)) +
             "; would register " + key + " from " + path;
    case RegistrationEnd::Unreachable:
      return unavailableSummary("repair", run.error);
    case RegistrationEnd::RemovalRefused: {
      std::string summary = "repair failed (RemoveFailed, exit " +
                            std::to_string(registration::exitStatusForRun(run)) + ") for " + key +
                            ": " + run.error;
      if (!run.removed.empty())
        summary += "; already removed " + ostrel::text::joinedList(run.removed);
      return summary + "; nothing registered";
    }
    case RegistrationEnd::Registered:
    case RegistrationEnd::Repaired:
    case RegistrationEnd::AlreadyListed:
    case RegistrationEnd::Finished:
    case RegistrationEnd::Current:
      return "repaired " + key + ": " + removed + "; registered " + key + " from " + path;
    case RegistrationEnd::KeyRefused:
    case RegistrationEnd::RegistrationFailed:
    case RegistrationEnd::Cancelled:
      break;
  }
  return registrationSummary("repair", RegistrationOutcome::Failed,
                             run.result.value_or(RegisterResult::AddFailed), key, path,
                             run.error) +
         (run.removed.empty() ? "" : "; " + removed);
}

// What a person reads on standard error before the runtime is reached: the
// findings, going ahead despite them, and a list that cannot be read.
void reportPlanned(const registration::RegistrationRun& run, std::ostream& err) {
  for (const manifestcheck::ManifestFinding& finding : run.checkFindings) {
    err << manifestcheck::formatFinding(finding) << '\n';
  }
  if (manifestcheck::hasErrors(run.checkFindings)) {
    err << "going ahead despite "
        << countText(manifestcheck::countErrors(run.checkFindings), "error") << " (--force)\n";
  }
  if (!run.status.registry.known()) {
    for (const runtimeregistry::RegistryFinding& finding : run.status.registry.findings) {
      err << manifestcheck::formatFinding(finding) << '\n';
    }
    err << "the runtime's list of applications cannot be read, so no other copy can be found: "
           "only registering "
        << run.manifestPath << '\n';
  }
  err.flush();
}

}  // namespace

int runRepairCommand(const CommandLine& commandLine, registration::IRuntimeConnector& connector,
                     const registration::RegistrySources& sources, std::ostream& out,
                     std::ostream& err) {
  registration::RegistrationRequest request;
  request.mode = registration::RegistrationMode::Repair;
  request.appKey = commandLine.appKey;
  request.manifestPath = registration::registrarPathFor(*commandLine.manifestPath);
  request.loaderPath = commandLine.loaderPath;
  request.force = commandLine.force;
  request.dryRun = commandLine.dryRun;
  registration::RegistrationServices services;
  services.sources = sources;
  services.connector = &connector;
  services.planned = [&err](const registration::RegistrationRun& planned) {
    reportPlanned(planned, err);
  };
  const registration::RegistrationRun run = registration::runRegistration(request, services);
  if (run.end == RegistrationEnd::CheckFailed) {
    for (const manifestcheck::ManifestFinding& finding : run.checkFindings) {
      err << manifestcheck::formatFinding(finding) << '\n';
    }
    err.flush();
  }

  const int status = registration::exitStatusForRun(run);
  if (commandLine.json) {
    out << registration::repairJson(run) << '\n';
    return status;
  }
  if (run.end == RegistrationEnd::DryRun) {
    for (const std::string& entry : run.plan) out << "would remove " << entry << '\n';
  }
  out << repairSummary(run, commandLine.appKey) << '\n';
  return status;
}

}  // namespace ostrel::registercli
