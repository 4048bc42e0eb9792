// What the runtime, which runs on Windows, makes of a path: the rules for the
// path handed to the registrar, and how a manifest's binary path is found.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "FindingList.h"

namespace ostrel::manifestcheck {

// Adds the path-* findings, and non-ascii-path, for the text the registrar
// will pass to the runtime.
void checkRegistrarPath(std::wstring_view registrarPath, FindingList& findings);

// "C:\..." or "\\server\share...". A drive-relative form such as "C:name" is
// not absolute: Windows resolves it against that drive's current folder.
bool isWindowsAbsolute(std::string_view utf8Path) noexcept;

bool isAscii(std::string_view text) noexcept;

// Whether a folder of the path is named WindowsApps, in any letter case: the
// protected folder where Windows installs packaged applications.
bool underWindowsApps(std::string_view utf8Path) noexcept;

// Where the runtime looks for a manifest's binary_path_windows: an absolute
// path as it is, a relative one under the manifest's folder. '\' separates
// folders on every platform. nullopt when the text cannot be a path here.
std::optional<std::filesystem::path> resolveBinaryPath(std::string_view binaryPath,
                                                       const std::filesystem::path& manifestFolder);

// "\Bindings\actions.json" or "/x.exe": one '\' or '/' and then no second
// one. Windows reads such a path from the root of the current drive, so it
// neither is full nor counts from the manifest's folder. "\\server\share"
// and "//server/share" are full paths, not drive-rooted.
bool isDriveRooted(std::string_view utf8Path) noexcept;

}  // namespace ostrel::manifestcheck
