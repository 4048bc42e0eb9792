// The Windows build's path rules: the runtime reads Windows paths.
#include "ostrel/text/HostPath.h"
#include "ostrel/text/WindowsPath.h"

namespace ostrel::text {

bool isFullPath(std::string_view utf8Path) noexcept { return isWindowsAbsolute(utf8Path); }

char pathSeparator() noexcept { return '\\'; }

char refusedSeparator() noexcept { return '/'; }

std::string comparablePath(std::string_view utf8Path) { return comparableWindowsPath(utf8Path); }

bool samePath(std::string_view a, std::string_view b) { return sameWindowsPath(a, b); }

bool insideFolder(std::string_view utf8Path, std::string_view folder) {
  return insideWindowsFolder(utf8Path, folder);
}

std::string folderOf(std::string_view utf8Path) { return windowsFolderOf(utf8Path); }

std::string_view exampleManifestPath() noexcept {
  return "C:\\Program Files\\Ostrel\\ostrel.vrmanifest";
}

}  // namespace ostrel::text
