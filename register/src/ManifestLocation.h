// Where a manifest says its application lives: the little that `status`
// needs to tell a current registration from a stale one. The full judgement
// of a manifest is the manifest check's job; this reads only what it must.
#pragma once

#include <optional>
#include <string>

namespace ostrel::registercli {

struct ManifestLocation {
  // The manifest's folder, UTF-8, with the separators of the path given.
  std::string folder;
  // binary_path_windows of the application with the key, as written.
  std::optional<std::string> binaryPath;
};

// Reads `manifestPath` (UTF-8). Returns nullopt with the reason in `error`
// when the file cannot be read or parsed, or holds no application with the
// key; a missing binary_path_windows is not an error.
std::optional<ManifestLocation> readManifestLocation(const std::string& manifestPath,
                                                     const std::string& appKey, std::string& error);

// The folder part of a path, '\' and '/' both counting as separators; empty
// when there is none.
std::string folderOf(const std::string& path);

}  // namespace ostrel::registercli
