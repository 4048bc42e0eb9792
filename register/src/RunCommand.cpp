#include "Commands.h"
#include "ostrel/registration/ExitStatus.h"

namespace ostrel::registercli {

int runCommand(const CommandLine& commandLine, registration::IRuntimeConnector& connector,
               const registration::RegistrySources& sources, std::ostream& out, std::ostream& err) {
  switch (commandLine.command) {
    case CommandKind::Register:
    case CommandKind::Ensure:
    case CommandKind::Unregister:
      return runRegistrationCommand(commandLine, connector, sources, out, err);
    case CommandKind::Status:
      return runStatusCommand(commandLine, connector, sources, out);
    case CommandKind::Check:
      return runCheckCommand(commandLine, out);
    case CommandKind::Repair:
      return runRepairCommand(commandLine, connector, sources, out, err);
    case CommandKind::Doctor:
      return runDoctorCommand(commandLine, connector, sources, out);
  }
  return registration::kExitUsage;
}

}  // namespace ostrel::registercli
