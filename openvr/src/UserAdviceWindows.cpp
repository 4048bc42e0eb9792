#include "UserAdvice.h"

namespace ostrel::openvr {

const AccountAdviceWords& hostAccountAdviceWords() noexcept {
  static constexpr AccountAdviceWords kWords{
      "this Windows user", "openvrpaths.vrpath",
      "An installer elevated with another administrator's credentials runs as that account "
      "and finds no registry: run it as the user who will use SteamVR"};
  return kWords;
}

const char* loaderSdkFolder() noexcept { return "bin\\win64"; }

}  // namespace ostrel::openvr
