// How the registry reader applies the one Windows path module
// (ostrel/common/WindowsPath.h) to the runtime's paths.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ostrel::steamvr::runtimeregistry {

// common::comparableWindowsPath.
std::string comparablePath(std::string_view path);

// Whether `path` lies inside a temporary folder: common::underTemporaryFolder,
// or inside one of `temporaryFolders` (the TEMP and TMP the program sees).
bool underTemporaryFolder(std::string_view path, const std::vector<std::string>& temporaryFolders);

}  // namespace ostrel::steamvr::runtimeregistry
