#include "UserAdvice.h"

namespace ostrel::openvr {

const char* runtimeFoldersAdvice() noexcept {
  return "the runtime's configuration or log folder cannot be found or written: start "
         "SteamVR once as this user so it sets them up again, and check that the user may "
         "write to them";
}

const char* pathRegistryMissingAdvice() noexcept {
  return "the runtime's path registry (openvrpaths.vrpath, under $XDG_CONFIG_HOME/openvr or "
         "~/.config/openvr) is missing for this user: has SteamVR ever run for this user? Start "
         "it once as the user who will use it. A program started through sudo or su runs as "
         "another user and finds no registry: run it as the user who will use SteamVR; with "
         "Flatpak Steam, the registry is inside its sandbox, where this program cannot see";
}

}  // namespace ostrel::openvr
