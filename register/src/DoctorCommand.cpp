#include <memory>

#include "Commands.h"
#include "ostrel/doctor/Doctor.h"
#include "ostrel/doctor/DoctorForms.h"
#include "ostrel/manifestcheck/ManifestCheck.h"
#include "ostrel/registration/ExitStatus.h"

namespace ostrel::registercli {

namespace {

// The doctor's states are the statuses it shares with the other commands.
static_assert(static_cast<int>(doctor::DoctorState::Healthy) == 0);
static_assert(static_cast<int>(doctor::DoctorState::RemoveFailed) ==
              static_cast<int>(steamvr::RegisterResult::RemoveFailed));
static_assert(static_cast<int>(doctor::DoctorState::ProblemsFound) ==
              registration::kExitManifestErrors);
static_assert(static_cast<int>(doctor::DoctorState::Unavailable) ==
              registration::kExitUnavailable);

int exitStatusForDoctor(doctor::DoctorState state) noexcept { return static_cast<int>(state); }

}  // namespace

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
