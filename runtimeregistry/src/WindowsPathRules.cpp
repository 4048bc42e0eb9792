#include "WindowsPathRules.h"

#include "ostrel/common/WindowsPath.h"
#include "ostrel/steamvr/RuntimeRegistry.h"

namespace ostrel::steamvr::runtimeregistry {

std::string comparablePath(std::string_view path) { return common::comparableWindowsPath(path); }

bool underTemporaryFolder(std::string_view path, const std::vector<std::string>& temporaryFolders) {
  if (common::underTemporaryFolder(path)) return true;
  const std::string compared = common::comparableWindowsPath(path);
  for (const std::string& folder : temporaryFolders) {
    if (folder.empty()) continue;
    const std::string prefix = common::comparableWindowsPath(folder) + "\\";
    if (prefix.size() > 1 && compared.compare(0, prefix.size(), prefix) == 0) return true;
  }
  return false;
}

}  // namespace ostrel::steamvr::runtimeregistry

namespace ostrel::steamvr {

bool sameRuntimePath(std::string_view a, std::string_view b) {
  return common::sameWindowsPath(a, b);
}

}  // namespace ostrel::steamvr
