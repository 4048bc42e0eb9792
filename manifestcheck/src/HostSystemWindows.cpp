// The Windows build registers with SteamVR on Windows.
#include "ostrel/manifestcheck/ManifestCheck.h"

namespace ostrel::manifestcheck {

RuntimeSystem hostRuntimeSystem() noexcept { return RuntimeSystem::Windows; }

}  // namespace ostrel::manifestcheck
