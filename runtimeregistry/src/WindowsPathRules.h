// The temporary folders the registry reader warns about: the usual ones by
// name, and those the environment names. The path rules themselves live in
// the one Windows path module (ostrel/common/WindowsPath.h).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ostrel::runtimeregistry {

// Whether `path` lies inside a temporary folder: text::underTemporaryFolder,
// or inside one of `temporaryFolders` (the TEMP and TMP the program sees;
// empty entries are skipped).
bool underTemporaryFolder(std::string_view path, const std::vector<std::string>& temporaryFolders);

}  // namespace ostrel::runtimeregistry
