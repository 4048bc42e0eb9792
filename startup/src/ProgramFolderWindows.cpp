#include "ProgramFolder.h"

#include "platform/Platform.h"

namespace ostrel::startup {

outcome::Outcome<std::filesystem::path> programFolder(runtimeregistry::IRegistryEnvironment&) {
  return platform::executableDirectory();
}

}  // namespace ostrel::startup
