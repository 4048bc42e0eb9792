// The one place that says how Windows, where the runtime runs, reads a path
// given as UTF-8 text: whether it is absolute, whether two paths name the
// same file, its folder, and the folders that mean trouble for a manifest.
// Pure text rules: nothing here touches the file system, and the rules are
// the same on every host.
#pragma once

#include <string>
#include <string_view>

namespace ostrel::text {

// 'A'..'Z' to 'a'..'z'; every other byte (UTF-8 included) as it is.
char asciiLower(char c) noexcept;

// Whether the two texts are equal when ASCII letters are compared without
// regard to case.
bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) noexcept;

// "C:\...", "C:/...", "\\server\share..." and the "\\?\" and "\\.\" device
// forms (which begin with two separators too). A drive-relative form such
// as "C:name" and a rooted one such as "\name" are not absolute: Windows
// resolves them against a current drive or folder.
bool isWindowsAbsolute(std::string_view utf8Path) noexcept;

// "\name" or "/name": one leading separator and no second. Windows resolves
// such a path against the current drive, not against any folder it was found
// in.
bool isDriveRooted(std::string_view utf8Path) noexcept;

// The form sameWindowsPath compares: '/' read as '\', ASCII letters lower
// case, repeated separators as one (except the leading pair of a network or
// "\\?\" path), trailing separators dropped (except after "C:").
std::string comparableWindowsPath(std::string_view utf8Path);

// Whether the two paths name the same file by those rules. A "\\?\" prefix
// is not stripped: "\\?\C:\a" and "C:\a" compare different, so a caller
// never treats a path it did not normalise as one it did.
bool sameWindowsPath(std::string_view a, std::string_view b);

// Whether `utf8Path` lies inside `folder` (at any depth) by the rules of
// sameWindowsPath; a path is not inside itself, and nothing is inside an
// empty folder.
bool insideWindowsFolder(std::string_view utf8Path, std::string_view folder);

// The folder part of a path, '\' and '/' both counting as separators; empty
// when there is none.
std::string windowsFolderOf(std::string_view utf8Path);

// Whether a folder of the path (not its last part) is named WindowsApps, in
// any letter case: the protected folder of packaged applications.
bool underWindowsApps(std::string_view utf8Path) noexcept;

// Whether a folder of the path (not its last part) is named Temp or Tmp, in
// any letter case: %TEMP% (...\AppData\Local\Temp) and C:\Windows\Temp, which
// cleaners empty, taking a manifest kept there with them.
bool underTemporaryFolder(std::string_view utf8Path) noexcept;

}  // namespace ostrel::text
