#include "WindowsPathRules.h"

#include "ostrel/common/WindowsPath.h"

namespace ostrel::steamvr::runtimeregistry {

bool underTemporaryFolder(std::string_view path, const std::vector<std::string>& temporaryFolders) {
  if (common::underTemporaryFolder(path)) return true;
  for (const std::string& folder : temporaryFolders) {
    if (common::insideWindowsFolder(path, folder)) return true;
  }
  return false;
}

}  // namespace ostrel::steamvr::runtimeregistry
