#include "ProgramFolder.h"

#include "platform/Platform.h"

namespace ostrel::startup {

std::filesystem::path programFolder(runtimeregistry::IRegistryEnvironment& environment,
                                    std::string& problem) {
  // Set by the AppImage runtime to the AppImage file's full path.
  if (const std::optional<std::string> appImage = environment.Variable("APPIMAGE");
      appImage && !appImage->empty()) {
    const std::filesystem::path folder = platform::pathFromUtf8(*appImage).parent_path();
    problem.clear();
    return folder.empty() ? std::filesystem::path(".") : folder;
  }
  return platform::executableDirectory(problem);
}

}  // namespace ostrel::startup
