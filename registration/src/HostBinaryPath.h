// Which of a manifest's binary paths the runtime on the platform built for
// starts: binary_path_windows on Windows, binary_path_linux on Linux. The
// build compiles one definition.
#pragma once

#include <optional>
#include <string>

#include "ostrel/manifestcheck/ManifestReader.h"

namespace ostrel::registration {

// The binary path, as written, of `application` (the first application with
// app_key `appKey` in the readable manifest at `manifestPath`, UTF-8);
// nullopt when the manifest gives none as a string.
std::optional<std::string> hostBinaryPath(const manifestcheck::ManifestApplication& application,
                                          const std::string& manifestPath,
                                          const std::string& appKey);

}  // namespace ostrel::registration
