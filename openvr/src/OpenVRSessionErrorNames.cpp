#include "ostrel/openvr/OpenVRSession.h"

#include <cstdint>
#include <string>

#include "UserAdvice.h"

namespace ostrel::openvr {

const char* openVRSessionErrorKindName(OpenVRSessionErrorKind kind) noexcept {
  switch (kind) {
    case OpenVRSessionErrorKind::None:
      return "None";
    case OpenVRSessionErrorKind::LibraryNotFound:
      return "LibraryNotFound";
    case OpenVRSessionErrorKind::EntryPointMissing:
      return "EntryPointMissing";
    case OpenVRSessionErrorKind::InitFailed:
      return "InitFailed";
    case OpenVRSessionErrorKind::InterfaceUnavailable:
      return "InterfaceUnavailable";
    case OpenVRSessionErrorKind::RuntimeNotSteamVR:
      return "RuntimeNotSteamVR";
    case OpenVRSessionErrorKind::RuntimeUnresolved:
      return "RuntimeUnresolved";
  }
  return "Unknown";
}

namespace {

// VRInitError 107, 111, 112, 113: the runtime's folders cannot be found or
// written.
const char* runtimeFoldersAdvice() {
  static const std::string advice =
      std::string("the runtime's configuration or log folder cannot be found or written: start "
                  "SteamVR once as ") +
      hostAccountAdviceWords().thisUser +
      " so it sets them up again, and check that the user may write to them";
  return advice.c_str();
}

// VRInitError 110: no path registry for the user the program runs as.
// `where` names the file, or where it usually lies.
std::string pathRegistryMissingAdvice(const std::string& where) {
  const AccountAdviceWords& words = hostAccountAdviceWords();
  return "the runtime's path registry (" + where + ") is missing for " + words.thisUser +
         ": has SteamVR ever run for this user? Start it once as the user who will use it. " +
         words.anotherAccount;
}

const char* pathRegistryMissingAdvice() {
  static const std::string advice = pathRegistryMissingAdvice(hostAccountAdviceWords().pathRegistry);
  return advice.c_str();
}

}  // namespace

bool isRetriedInitError(std::int32_t initError) noexcept {
  return initError >= 300 && initError <= 310;
}

const char* openVRInitErrorAdvice(std::int32_t initError) noexcept {
  if (isRetriedInitError(initError)) {
    return "the runtime's server (vrserver) is still starting, or has crashed: wait until SteamVR "
           "has finished starting, or close SteamVR (and any vrserver process left behind) and "
           "start it again, then run this again";
  }
  switch (initError) {
    case 100:
    case 101:
    case 102:
    case 103:
      return "SteamVR is not installed, or its installation is broken: install SteamVR from "
             "Steam, or let Steam verify its files (Library, SteamVR, Properties, Installed "
             "Files, Verify integrity of tool files)";
    case 104:
    case 105:
    case 106:
      return "the runtime does not offer what this program asks for, so SteamVR or the OpenVR "
             "loader beside this program is out of date: update SteamVR, and use the "
             "openvr_api library shipped with this program";
    case 107:
    case 111:
    case 112:
    case 113:
      return runtimeFoldersAdvice();
    case 108:
    case 121:
    case 126:
      return "this should not occur for a utility start, which needs no headset and may start "
             "the runtime's server itself; the OpenVR loader is probably older or newer than "
             "SteamVR: update SteamVR, and if it persists start SteamVR first and run this again";
    case 110:
      return pathRegistryMissingAdvice();
    case 119:
      return "SteamVR is shutting down: wait until it has closed, then run this again";
    case 117:
      return "another application is starting SteamVR: wait until it has started, then run "
             "this again";
    default:
      return "the runtime refused to start this program's connection: restart SteamVR and run "
             "this again, and if it persists look the error up in SteamVR's own documentation";
  }
}

std::string openVRInitErrorAdvice(std::int32_t initError, const std::string& pathRegistryFile) {
  if (initError == 110 && !pathRegistryFile.empty()) {
    return pathRegistryMissingAdvice(pathRegistryFile);
  }
  return openVRInitErrorAdvice(initError);
}

}  // namespace ostrel::openvr
