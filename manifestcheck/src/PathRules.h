// Rules for the path handed to the registrar that hold for every runtime,
// and the text tests the runtimes' own rules are built from.
#pragma once

#include <string_view>

#include "FindingList.h"
#include "SystemRules.h"

namespace ostrel::manifestcheck {

// Adds the path-* findings, and the warnings about the place, for the text
// the registrar will pass to the runtime whose rules are `rules`.
void checkRegistrarPath(std::wstring_view registrarPath, const ISystemRules& rules,
                        FindingList& findings);

// The non-ascii-path warning about the registrar path, alike everywhere.
void checkRegistrarPathText(std::string_view utf8Path, FindingList& findings);

// "C:\..." or "\\server\share...". A drive-relative form such as "C:name" is
// not absolute: Windows resolves it against that drive's current folder.
bool isWindowsAbsolute(std::string_view utf8Path) noexcept;

bool isAscii(std::string_view text) noexcept;

// Whether a folder of the path is named WindowsApps, in any letter case: the
// protected folder where Windows installs packaged applications.
bool underWindowsApps(std::string_view utf8Path) noexcept;

// "\Bindings\actions.json" or "/x.exe": one '\' or '/' and then no second
// one. Windows reads such a path from the root of the current drive, so it
// neither is full nor counts from the manifest's folder. "\\server\share"
// and "//server/share" are full paths, not drive-rooted.
bool isDriveRooted(std::string_view utf8Path) noexcept;

}  // namespace ostrel::manifestcheck
