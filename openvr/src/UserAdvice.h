// The advice that speaks of the user's own account, which differs between
// Windows (an installer elevated with another administrator's credentials)
// and Linux (a program started through sudo or su). The build compiles one
// definition, for the system the program runs on.
#pragma once

namespace ostrel::openvr {

// VRInitError 107, 111, 112, 113: the runtime's folders cannot be found or
// written.
const char* runtimeFoldersAdvice() noexcept;

// VRInitError 110: no path registry for the user the program runs as.
const char* pathRegistryMissingAdvice() noexcept;

}  // namespace ostrel::openvr
