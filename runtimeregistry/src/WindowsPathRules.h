// How the runtime, which runs on Windows, tells paths apart. The registry
// reader compares paths here and nowhere else.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ostrel::steamvr::runtimeregistry {

// The form two paths share when Windows takes them for the same file: ASCII
// letters lower-cased, '/' made '\', repeated separators (other than the
// leading pair of a network path) and trailing ones dropped.
std::string comparablePath(std::string_view path);

// Whether `path` lies inside a temporary folder: a folder named Temp directly
// under AppData\Local or under Windows, or inside one of `temporaryFolders`
// (the TEMP and TMP the program sees), all by Windows rules.
bool underTemporaryFolder(std::string_view path, const std::vector<std::string>& temporaryFolders);

}  // namespace ostrel::steamvr::runtimeregistry
