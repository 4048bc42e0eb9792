#include "PlatformRules.h"

#include "PathRegistry.h"
#include "ostrel/text/PosixPath.h"
#include "platform/Platform.h"

namespace ostrel::runtimeregistry {

namespace {

// Emptied at boot (/tmp) or after some weeks (/var/tmp) by systemd's
// tmpfiles rules and their like.
constexpr const char* kSystemTemporaryFolders[] = {"/tmp", "/var/tmp"};

// Flatpak Steam's application id; its sandbox keeps the user's files under
// ~/.var/app/<id>/, with $XDG_CONFIG_HOME at .config there.
constexpr const char* kFlatpakSteamPathRegistry =
    ".var/app/com.valvesoftware.Steam/.config/openvr/openvrpaths.vrpath";

}  // namespace

const std::vector<const char*>& temporaryFolderVariables() {
  static const std::vector<const char*> names = {"TMPDIR"};
  return names;
}

bool underTemporaryFolder(std::string_view path, const std::vector<std::string>& temporaryFolders) {
  for (const char* folder : kSystemTemporaryFolders) {
    if (text::insidePosixFolder(path, folder)) return true;
  }
  for (const std::string& folder : temporaryFolders) {
    if (text::insidePosixFolder(path, folder)) return true;
  }
  return false;
}

const char* missingPathRegistryAdvice() noexcept {
  return "SteamVR writes this file when it first runs for a user, so either SteamVR has never run "
         "for this user, or this program runs as another account (under sudo or su it reads "
         "that account's folder); the loader reports the same as "
         "VRInitError_Init_PathRegistryNotFound (110): start SteamVR once as the user who will "
         "use it, and run this program as that user";
}

std::optional<std::filesystem::path> sandboxedPathRegistry(IRegistryEnvironment& environment) {
  const std::optional<std::string> home = nonEmptyVariable(environment, "HOME");
  if (!home) return std::nullopt;
  return platform::pathFromUtf8(*home) / kFlatpakSteamPathRegistry;
}

const char* sandboxedPathRegistryAdvice() noexcept {
  return "SteamVR then runs inside Flatpak Steam's sandbox, which this program cannot see into "
         "(the loader reports VRInitError_Init_PathRegistryNotFound (110) here): run this "
         "program inside that sandbox, or use the native Steam and its SteamVR";
}

bool configlessRegistryIsAnotherRuntimes() noexcept { return true; }

}  // namespace ostrel::runtimeregistry
