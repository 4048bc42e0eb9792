// The Linux build's path rules: the runtime reads POSIX paths.
#include "ostrel/text/HostPath.h"
#include "ostrel/text/PosixPath.h"

namespace ostrel::text {

bool isFullPath(std::string_view utf8Path) noexcept { return isPosixAbsolute(utf8Path); }

char pathSeparator() noexcept { return '/'; }

char refusedSeparator() noexcept { return '\\'; }

std::string comparablePath(std::string_view utf8Path) { return comparablePosixPath(utf8Path); }

bool samePath(std::string_view a, std::string_view b) { return samePosixPath(a, b); }

bool insideFolder(std::string_view utf8Path, std::string_view folder) {
  return insidePosixFolder(utf8Path, folder);
}

std::string folderOf(std::string_view utf8Path) { return posixFolderOf(utf8Path); }

std::string_view exampleManifestPath() noexcept { return "/opt/ostrel/ostrel.vrmanifest"; }

}  // namespace ostrel::text
