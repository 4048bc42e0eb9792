#include "UserAdvice.h"

namespace ostrel::openvr {

const AccountAdviceWords& hostAccountAdviceWords() noexcept {
  static constexpr AccountAdviceWords kWords{
      "this user", "openvrpaths.vrpath, under $XDG_CONFIG_HOME/openvr or ~/.config/openvr",
      "A program started through sudo or su runs as another user and finds no registry: run "
      "it as the user who will use SteamVR; with Flatpak Steam, the registry is inside its "
      "sandbox, where this program cannot see"};
  return kWords;
}

const char* loaderSdkFolder() noexcept { return "bin/linux64"; }

}  // namespace ostrel::openvr
