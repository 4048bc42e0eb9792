#include "ProgramFolder.h"

#include "platform/Platform.h"

namespace ostrel::startup {

outcome::Outcome<std::filesystem::path> programFolder(
    runtimeregistry::IRegistryEnvironment& environment) {
  // Set by the AppImage runtime to the AppImage file's full path.
  if (const std::optional<std::string> appImage = environment.Variable("APPIMAGE");
      appImage && !appImage->empty()) {
    const std::filesystem::path folder = platform::pathFromUtf8(*appImage).parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
  }
  return platform::executableDirectory();
}

}  // namespace ostrel::startup
