// What reading the runtime's files means on the system the program is built
// for, where it differs between Windows and Linux: which folders are
// temporary, why the path registry may be missing and where else it may be,
// and which path registries another runtime wrote. The build compiles one
// definition of each, as it does the runtime's server file.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ostrel/runtimeregistry/RuntimeRegistry.h"

namespace ostrel::runtimeregistry {

// The environment variables that name temporary folders: TEMP and TMP on
// Windows, TMPDIR on Linux.
const std::vector<const char*>& temporaryFolderVariables();

// Whether `path` lies inside a temporary folder: one the system empties by
// itself (Windows: any folder named Temp or Tmp; Linux: /tmp and /var/tmp),
// or one of `temporaryFolders` (those the variables name; empty entries are
// skipped). By the host's path rules.
bool underTemporaryFolder(std::string_view path, const std::vector<std::string>& temporaryFolders);

// Why a missing path registry is missing and what to do, for the
// vrpath-missing finding.
const char* missingPathRegistryAdvice() noexcept;

// A path registry the loader does not read but a runtime of the same user
// may have written: Flatpak Steam's, inside its sandbox, on Linux. nullopt
// where there is none to look for (Windows; no home folder).
std::optional<std::filesystem::path> sandboxedPathRegistry(IRegistryEnvironment& environment);

// What to tell a user whose runtime lives in that sandbox.
const char* sandboxedPathRegistryAdvice() noexcept;

// Whether a path registry without a "config" member at all is taken as
// written for another runtime (on Linux, where the OpenXR-based runtimes'
// tools write such files), rather than as SteamVR's with no config folder.
bool configlessRegistryIsAnotherRuntimes() noexcept;

}  // namespace ostrel::runtimeregistry
