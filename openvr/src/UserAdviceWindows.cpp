#include "UserAdvice.h"

namespace ostrel::openvr {

const char* runtimeFoldersAdvice() noexcept {
  return "the runtime's configuration or log folder cannot be found or written: start "
         "SteamVR once as this Windows user so it sets them up again, and check that the "
         "user may write to them";
}

const char* pathRegistryMissingAdvice() noexcept {
  return "the runtime's path registry (openvrpaths.vrpath) is missing for this Windows user: "
         "has SteamVR ever run for this user? Start it once as the user who will use it. An "
         "installer elevated with another administrator's credentials runs as that account "
         "and finds no registry: run it as the user who will use SteamVR";
}

}  // namespace ostrel::openvr
