// The path rules of the platform this program is built for, where the
// runtime it talks to reads the same paths: the Windows rules in a Windows
// build, the Linux rules elsewhere. The build picks the implementation, as it
// picks the platform layer; code that compares, splits or judges a path the
// runtime will read calls these, never a platform's rules by name.
#pragma once

#include <string>
#include <string_view>

namespace ostrel::text {

// What the runtime on this platform takes as a full path: "C:\..." or a
// share on Windows, "/..." on Linux.
bool isFullPath(std::string_view utf8Path) noexcept;

// The separator the runtime reads differently from the file system, so a
// path holding it is refused before it reaches the runtime: '/' on Windows
// (the runtime takes the path and never lists the application), '\' on
// Linux (the runtime's loader turns it into '/', naming another file).
char refusedSeparator() noexcept;

// The normal form two paths are compared in, and the comparison: Windows
// ignores letter case and reads '/' as '\'; Linux compares bytes exactly
// after removing "." and "..". Neither follows symbolic links.
std::string comparablePath(std::string_view utf8Path);
bool samePath(std::string_view a, std::string_view b);

// Whether `utf8Path` lies inside `folder`, at any depth, by the same rules.
bool insideFolder(std::string_view utf8Path, std::string_view folder);

// The folder part of a path; empty when there is none.
std::string folderOf(std::string_view utf8Path);

// The separator the runtime puts between a folder and a name it joins, as
// it joins a manifest's folder and a relative binary path: '\' on Windows,
// '/' on Linux.
char pathSeparator() noexcept;

// An example full path of a manifest, for messages that show the user what
// to pass.
std::string_view exampleManifestPath() noexcept;

}  // namespace ostrel::text
