// Where a manifest says its application lives: the little that `status`
// needs to tell a current registration from a stale one. The full judgement
// of a manifest is the manifest check's job; this reads only what it must.
// Thread-compatible: nothing here keeps state.
#pragma once

#include <optional>
#include <string>

#include "ostrel/outcome/Outcome.h"

namespace ostrel::registration {

struct ManifestLocation {
  // The manifest's folder (folderOf the path given), UTF-8, with its
  // separators; empty when that path has none.
  std::string folder;
  // The binary path the runtime of the platform built for takes from the
  // application with the key (binary_path_windows on Windows,
  // binary_path_linux on Linux, binary_path_linux_arm on 64-bit ARM Linux),
  // as written; nullopt when it is not a string or is missing.
  std::optional<std::string> binaryPath;
};

// Reads `manifestPath` (UTF-8) and finds the application whose app_key is
// `appKey`, matched exactly. A failure, its message one sentence for a
// person, when the file cannot be read or parsed, or holds no application
// with the key; a missing binary path is not an error. Never throws for any
// file content (std::bad_alloc aside).
outcome::Outcome<ManifestLocation> readManifestLocation(const std::string& manifestPath,
                                                        const std::string& appKey);

// The folder part of a path by the rules of the platform built for ('\' and
// '/' both counting as separators on Windows, '/' alone on Linux); empty
// when there is none. Text alone: the file system is not touched.
std::string folderOf(const std::string& path);

}  // namespace ostrel::registration
