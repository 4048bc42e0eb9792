#include "PlatformRules.h"

#include "ostrel/text/WindowsPath.h"

namespace ostrel::runtimeregistry {

const std::vector<const char*>& temporaryFolderVariables() {
  static const std::vector<const char*> names = {"TEMP", "TMP"};
  return names;
}

bool underTemporaryFolder(std::string_view path, const std::vector<std::string>& temporaryFolders) {
  if (text::underTemporaryFolder(path)) return true;
  for (const std::string& folder : temporaryFolders) {
    if (text::insideWindowsFolder(path, folder)) return true;
  }
  return false;
}

const char* missingPathRegistryAdvice() noexcept {
  return "SteamVR writes this file when it first runs for a Windows user, so either SteamVR has "
         "never run for this user, or this program runs as another account (an installer "
         "elevated with another administrator's credentials reads that account's folder); the "
         "loader reports the same as VRInitError_Init_PathRegistryNotFound (110): start SteamVR "
         "once as the user who will use it, and run the installer as that user";
}

std::optional<std::filesystem::path> sandboxedPathRegistry(IRegistryEnvironment&) {
  return std::nullopt;
}

const char* sandboxedPathRegistryAdvice() noexcept { return ""; }

bool configlessRegistryIsAnotherRuntimes() noexcept { return false; }

}  // namespace ostrel::runtimeregistry
