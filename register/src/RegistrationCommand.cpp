#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "Commands.h"
#include "ExitStatus.h"
#include "ostrel/registration/ObservingSurface.h"
#include "ostrel/registration/RegistrarPath.h"
#include "SummaryLine.h"
#include "ostrel/steamvr/IManifestRegistrar.h"
#include "ostrel/manifestcheck/ManifestCheck.h"
#include "platform/Platform.h"

namespace ostrel::registercli {

using steamvr::RegisterResult;

int runRegistrationCommand(const CommandLine& commandLine, registration::IRuntimeConnector& connector,
                           std::ostream& out, std::ostream& err) {
  const char* verb = commandName(commandLine.command);
  const std::wstring path = registration::registrarPathFor(*commandLine.manifestPath);
  const std::string shownPath = platform::wideToUtf8(path);
  const std::string& key = commandLine.appKey;

  // Removal needs no check: the file may well be gone already.
  if (commandLine.command != CommandKind::Unregister) {
    const std::vector<manifestcheck::ManifestFinding> findings =
        manifestcheck::checkManifestForRegistration(path, key);
    for (const manifestcheck::ManifestFinding& finding : findings) {
      err << manifestcheck::formatFinding(finding) << '\n';
    }
    if (manifestcheck::hasErrors(findings)) {
      const int errors = manifestcheck::countErrors(findings);
      const int warnings = static_cast<int>(findings.size()) - errors;
      if (!commandLine.force) {
        out << refusedSummary(verb, errors, warnings) << '\n';
        return kExitManifestErrors;
      }
      err << "going ahead despite " << countText(errors, "error") << " (--force)\n";
    }
  }
  err.flush();

  const registration::Connection connection = connector.Connect(commandLine.loaderPath);
  if (!connection) {
    out << unavailableSummary(verb, connection.failure().message) << '\n';
    return kExitUnavailable;
  }
  openvr::OpenVRApplicationsSurface* surface = connection.value();

  registration::ObservingSurface observed(surface);
  const std::unique_ptr<steamvr::IManifestRegistrar> registrar =
      steamvr::createManifestRegistrar(&observed, key, path);
  RegisterResult result = RegisterResult::AddFailed;
  RegistrationOutcome outcome = RegistrationOutcome::Failed;
  switch (commandLine.command) {
    case CommandKind::Register:
      result = registrar->Register();
      if (result == RegisterResult::Success) outcome = RegistrationOutcome::Registered;
      break;
    case CommandKind::Ensure:
      result = registrar->EnsureRegistered();
      if (result == RegisterResult::Success) {
        outcome = observed.addCalled() ? RegistrationOutcome::Registered
                                       : RegistrationOutcome::AlreadyRegistered;
      }
      break;
    case CommandKind::Unregister:
      result = registrar->Unregister();
      if (result == RegisterResult::Success) outcome = RegistrationOutcome::Removed;
      break;
    case CommandKind::Status:
    case CommandKind::Check:
    case CommandKind::Repair:
    case CommandKind::Doctor:
      break;
  }
  out << registrationSummary(verb, outcome, result, key, shownPath, registrar->LastError()) << '\n';
  return exitStatusFor(result);
}

}  // namespace ostrel::registercli
