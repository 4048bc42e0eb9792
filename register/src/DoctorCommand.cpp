#include <memory>

#include "Commands.h"
#include "ExitStatus.h"
#include "ostrel/doctor/Doctor.h"
#include "ostrel/doctor/DoctorForms.h"
#include "ostrel/manifestcheck/ManifestCheck.h"

namespace ostrel::registercli {

int runDoctorCommand(const CommandLine& commandLine, registration::IRuntimeConnector& connector,
                     const registration::RegistrySources& sources, std::ostream& out) {
  const std::unique_ptr<manifestcheck::IPathProbe> binaries = manifestcheck::createDiskPathProbe();
  const doctor::DoctorResult result = doctor::runDoctor(
      {commandLine.removeDead, commandLine.dryRun, commandLine.loaderPath}, connector,
      {sources.environment, sources.files, binaries.get()});
  if (commandLine.json) {
    out << doctor::doctorJson(result) << '\n';
  } else {
    out << doctor::doctorText(result);
  }
  return exitStatusForDoctor(result.state);
}

}  // namespace ostrel::registercli
