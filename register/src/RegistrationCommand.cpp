#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "Commands.h"
#include "SummaryLine.h"
#include "ostrel/manifestcheck/ManifestCheck.h"
#include "ostrel/registration/ExitStatus.h"
#include "ostrel/registration/RegistrarPath.h"
#include "ostrel/registration/RegistrationRun.h"
#include "ostrel/steamvr/IManifestRegistrar.h"
#include "platform/Platform.h"

namespace ostrel::registercli {

namespace {

using registration::RegistrationEnd;
using steamvr::RegisterResult;

void printFindings(const std::vector<manifestcheck::ManifestFinding>& findings, std::ostream& err) {
  for (const manifestcheck::ManifestFinding& finding : findings) {
    err << manifestcheck::formatFinding(finding) << '\n';
  }
}

// The findings, and going ahead despite errors; true when the check stops
// the command.
bool reportCheck(const std::vector<manifestcheck::ManifestFinding>& findings, bool force,
                 std::ostream& err) {
  printFindings(findings, err);
  const bool errors = manifestcheck::hasErrors(findings);
  if (errors && force) {
    err << "going ahead despite " << countText(manifestcheck::countErrors(findings), "error")
        << " (--force)\n";
  }
  err.flush();
  return errors && !force;
}

// ensure: the registration sequence in its Ensure mode, so that a key the
// runtime lists without an auto-launch choice is finished as the start-up
// call finishes it.
int runEnsure(const CommandLine& commandLine, registration::IRuntimeConnector& connector,
              const registration::RegistrySources& sources, std::ostream& out, std::ostream& err) {
  const std::string& key = commandLine.appKey;
  registration::RegistrationRequest request;
  request.mode = registration::RegistrationMode::Ensure;
  request.appKey = key;
  request.manifestPath = registration::registrarPathFor(*commandLine.manifestPath);
  request.loaderPath = commandLine.loaderPath;
  request.force = commandLine.force;
  registration::RegistrationServices services;
  services.sources = sources;
  services.connector = &connector;
  services.planned = [&](const registration::RegistrationRun& planned) {
    reportCheck(planned.checkFindings, commandLine.force, err);
  };
  const registration::RegistrationRun run = registration::runRegistration(request, services);
  const std::string& path = run.manifestPath;
  const int status = registration::exitStatusForRun(run);
  switch (run.end) {
    case RegistrationEnd::CheckFailed: {
      printFindings(run.checkFindings, err);
      err.flush();
      const int errors = manifestcheck::countErrors(run.checkFindings);
      out << refusedSummary("ensure", errors, static_cast<int>(run.checkFindings.size()) - errors)
          << '\n';
      return status;
    }
    case RegistrationEnd::Unreachable:
      out << unavailableSummary("ensure", run.error) << '\n';
      return status;
    case RegistrationEnd::AlreadyListed:
    case RegistrationEnd::Current:
      out << registrationSummary("ensure", RegistrationOutcome::AlreadyRegistered,
                                 RegisterResult::Success, key, path, "")
          << '\n';
      return status;
    case RegistrationEnd::Finished:
      out << "registered " << key
          << ": the runtime listed it, but an earlier registration had stopped before switching "
             "auto-launch on; auto-launch is on now\n";
      return status;
    case RegistrationEnd::Registered:
    case RegistrationEnd::Repaired:
      out << registrationSummary("ensure", RegistrationOutcome::Registered,
                                 RegisterResult::Success, key, path, "")
          << '\n';
      return status;
    case RegistrationEnd::DryRun:
    case RegistrationEnd::KeyRefused:
    case RegistrationEnd::RemovalRefused:
    case RegistrationEnd::RegistrationFailed:
    case RegistrationEnd::Cancelled:
      break;
  }
  out << registrationSummary("ensure", RegistrationOutcome::Failed,
                             run.result.value_or(RegisterResult::AddFailed), key, path, run.error)
      << '\n';
  return status;
}

}  // namespace

int runRegistrationCommand(const CommandLine& commandLine, registration::IRuntimeConnector& connector,
                           const registration::RegistrySources& sources, std::ostream& out,
                           std::ostream& err) {
  if (commandLine.command == CommandKind::Ensure) {
    return runEnsure(commandLine, connector, sources, out, err);
  }
  const char* verb = commandName(commandLine.command);
  const std::wstring path = registration::registrarPathFor(*commandLine.manifestPath);
  const std::string shownPath = platform::wideToUtf8(path);
  const std::string& key = commandLine.appKey;

  // Removal needs no check: the file may well be gone already.
  if (commandLine.command == CommandKind::Register) {
    const std::vector<manifestcheck::ManifestFinding> findings =
        manifestcheck::checkManifestForRegistration(path, key);
    if (reportCheck(findings, commandLine.force, err)) {
      const int errors = manifestcheck::countErrors(findings);
      out << refusedSummary(verb, errors, static_cast<int>(findings.size()) - errors) << '\n';
      return registration::kExitManifestErrors;
    }
  }
  err.flush();

  const registration::Connection connection = connector.Connect(commandLine.loaderPath);
  if (!connection) {
    out << unavailableSummary(verb, connection.failure().message) << '\n';
    return registration::kExitUnavailable;
  }
  const std::unique_ptr<steamvr::IManifestRegistrar> registrar =
      steamvr::createManifestRegistrar(connection.value(), key, path);
  RegisterResult result = RegisterResult::AddFailed;
  RegistrationOutcome outcome = RegistrationOutcome::Failed;
  if (commandLine.command == CommandKind::Register) {
    result = registrar->Register();
    if (result == RegisterResult::Success) outcome = RegistrationOutcome::Registered;
  } else {
    result = registrar->Unregister();
    if (result == RegisterResult::Success) outcome = RegistrationOutcome::Removed;
  }
  out << registrationSummary(verb, outcome, result, key, shownPath, registrar->LastError()) << '\n';
  return registration::exitStatusFor(result);
}

}  // namespace ostrel::registercli
