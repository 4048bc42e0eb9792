#include "WindowsPathRules.h"

#include "ostrel/text/WindowsPath.h"

namespace ostrel::runtimeregistry {

bool underTemporaryFolder(std::string_view path, const std::vector<std::string>& temporaryFolders) {
  if (text::underTemporaryFolder(path)) return true;
  for (const std::string& folder : temporaryFolders) {
    if (text::insideWindowsFolder(path, folder)) return true;
  }
  return false;
}

}  // namespace ostrel::runtimeregistry
