// ostrel-register: the registrar's operations for installers, setup scripts
// and support staff. See `ostrel-register --help`; exit statuses are listed
// in ostrel/registration/ExitStatus.h.
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "Commands.h"
#include "ostrel/registration/ExitStatus.h"
#include "ostrel/registration/RuntimeConnection.h"
#include "ostrel/runtimeregistry/RuntimeRegistry.h"
#include "platform/Platform.h"

namespace cli = ostrel::registercli;

int main(int argc, char** argv) {
  // On Windows argv went through the ANSI code page; the platform layer
  // reads the UTF-16 command line instead.
  const std::vector<std::string> arguments = ostrel::platform::commandLineArguments(argc, argv);
  const cli::ParseResult parsed = cli::parseCommandLine(arguments);
  switch (parsed.kind) {
    case cli::ParseKind::Help:
    case cli::ParseKind::Version:
      std::cout << parsed.text << std::flush;
      return 0;
    case cli::ParseKind::UsageError:
      std::cerr << parsed.text << std::flush;
      return ostrel::registration::kExitUsage;
    case cli::ParseKind::Run:
      break;
  }
  const std::unique_ptr<ostrel::runtimeregistry::IRegistryEnvironment> environment =
      ostrel::runtimeregistry::createProcessEnvironment();
  const std::unique_ptr<ostrel::runtimeregistry::IRegistryFiles> files = ostrel::runtimeregistry::createDiskFiles();
  ostrel::registration::OpenVRConnectorOptions reach;
  reach.environment = environment.get();
  reach.files = files.get();
  const std::unique_ptr<ostrel::registration::IRuntimeConnector> connector =
      ostrel::registration::createOpenVRConnector(reach);
  const int status = cli::runCommand(parsed.commandLine, *connector,
                                     {environment.get(), files.get()}, std::cout, std::cerr);
  std::cout.flush();
  return status;
}
