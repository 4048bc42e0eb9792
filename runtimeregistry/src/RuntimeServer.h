// The file that tells a SteamVR installation from another OpenVR runtime:
// SteamVR's server, which runtimes that imitate SteamVR's interfaces on top
// of OpenXR do not ship. The build compiles one definition, for the system
// the program runs on, since that is the server the loader would start.
#pragma once

namespace ostrel::runtimeregistry {

// The server's path inside the runtime folder, UTF-8, with the system's
// separators: "bin\win64\vrserver.exe" on Windows, "bin/linux64/vrserver" on
// Linux.
const char* runtimeServerFile() noexcept;

}  // namespace ostrel::runtimeregistry
