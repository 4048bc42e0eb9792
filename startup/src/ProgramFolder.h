// Where the application's own files lie, so that the manifest it ships is
// found beside them. The build compiles one definition, for the system the
// program runs on.
#pragma once

#include <filesystem>
#include <string>

#include "ostrel/outcome/Outcome.h"
#include "ostrel/runtimeregistry/RuntimeRegistry.h"

namespace ostrel::startup {

// The folder of the running program. On Linux an AppImage runs from a
// mount that exists only while it runs, so its folder is that of the
// AppImage file ($APPIMAGE, when set and not empty), where the manifest is
// shipped beside it.
outcome::Outcome<std::filesystem::path> programFolder(
    runtimeregistry::IRegistryEnvironment& environment);

}  // namespace ostrel::startup
