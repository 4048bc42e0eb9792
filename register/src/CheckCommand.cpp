#include <string>
#include <vector>

#include "Commands.h"
#include "ostrel/registration/ExitStatus.h"
#include "ostrel/registration/ReportJson.h"
#include "ostrel/registration/RegistrarPath.h"
#include "SummaryLine.h"
#include "ostrel/manifestcheck/ManifestCheck.h"
#include "platform/Platform.h"

namespace ostrel::registercli {

int runCheckCommand(const CommandLine& commandLine, std::ostream& out) {
  // The check judges the path the registrar would be given, so it is made
  // full the same way.
  const std::wstring path = registration::registrarPathFor(*commandLine.manifestPath);
  const std::vector<manifestcheck::ManifestFinding> findings =
      manifestcheck::checkManifestForRegistration(path, commandLine.appKey);
  const int errors = manifestcheck::countErrors(findings);
  if (!commandLine.json) {
    for (const manifestcheck::ManifestFinding& finding : findings) {
      out << manifestcheck::formatFinding(finding) << '\n';
    }
  }
  const int warnings = static_cast<int>(findings.size()) - errors;
  const std::string shown = platform::wideToUtf8(path);
  if (commandLine.json) {
    const int status = errors > 0 ? registration::kExitManifestErrors : 0;
    out << registration::checkJson(commandLine.appKey, shown, findings, status) << '\n';
    return status;
  }
  if (errors > 0) {
    out << "check failed for " << shown << ": " << countText(errors, "error") << " and "
        << countText(warnings, "warning") << '\n';
    return registration::kExitManifestErrors;
  }
  out << "check passed for " << shown;
  if (warnings > 0) out << " with " << countText(warnings, "warning");
  out << '\n';
  return 0;
}

}  // namespace ostrel::registercli
