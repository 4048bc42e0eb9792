// Every other build registers with SteamVR on Linux, which on 64-bit ARM
// starts the program binary_path_linux_arm names. The architecture is known
// only to the compiler, so it is asked here, in this one place.
#include "ostrel/manifestcheck/ManifestCheck.h"

namespace ostrel::manifestcheck {

RuntimeSystem hostRuntimeSystem() noexcept {
#if defined(__aarch64__)
  return RuntimeSystem::LinuxArm;
#else
  return RuntimeSystem::Linux;
#endif
}

}  // namespace ostrel::manifestcheck
