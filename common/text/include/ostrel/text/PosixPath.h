// How Linux, where SteamVR also runs, reads a path given as UTF-8 text. Pure
// text rules like the Windows ones beside them: nothing here touches the
// file system (symbolic links are the platform layer's business), and the
// rules are the same on every host, so both sets are tested everywhere.
#pragma once

#include <string>
#include <string_view>

namespace ostrel::text {

// A full path starts with '/'. Everything else ("app.vrmanifest",
// "./app.vrmanifest", "~/app.vrmanifest") would be resolved against some
// process's working folder.
bool isPosixAbsolute(std::string_view utf8Path) noexcept;

// The form samePosixPath compares: repeated '/' as one, "." parts removed,
// each ".." removing the part before it (".." at the root stays at the
// root), a trailing '/' dropped. Bytes are otherwise kept exactly: Linux
// file names are case-sensitive and '\' is an ordinary byte in them. A
// relative path stays relative ("a/../.." is "..").
std::string comparablePosixPath(std::string_view utf8Path);

// Whether the two paths name the same file by those rules alone.
bool samePosixPath(std::string_view a, std::string_view b);

// Whether `utf8Path` lies inside `folder` (at any depth) by those rules; a
// path is not inside itself, and nothing is inside an empty folder.
bool insidePosixFolder(std::string_view utf8Path, std::string_view folder);

// The folder part of a path ("/" for a file at the root); empty when the
// path has no '/'.
std::string posixFolderOf(std::string_view utf8Path);

}  // namespace ostrel::text
