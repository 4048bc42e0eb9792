#include "ProgramFolder.h"

#include "platform/Platform.h"

namespace ostrel::startup {

std::filesystem::path programFolder(runtimeregistry::IRegistryEnvironment&, std::string& problem) {
  return platform::executableDirectory(problem);
}

}  // namespace ostrel::startup
