// Reading what a manifest declares, for callers that need its applications
// rather than a judgement of it (the command's status, reading the runtime's
// registry). One rule decides what is readable, the manifest check's, which
// follows the runtime: at most kManifestSizeLimit bytes of UTF-8 without a
// byte-order mark or NUL bytes, nested no deeper than kManifestDepthLimit,
// comments allowed and trailing commas not. What the check would call an
// error in the text or its JSON, the reader refuses; a hostile file costs no
// more than its size. Functions are thread-compatible: they share no state.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ostrel/manifestcheck/ManifestCheck.h"

namespace ostrel::manifestcheck {

// One entry of the manifest's "applications" array that has a string app_key.
struct ManifestApplication {
  std::string appKey;                            // UTF-8, as written
  // Each binary path when a string, as written.
  std::optional<std::string> binaryPathWindows;
  std::optional<std::string> binaryPathLinux;
  std::optional<std::string> binaryPathLinuxArm;
  // is_dashboard_overlay is true: the only applications the runtime applies
  // auto-launch to.
  bool dashboardOverlay = false;
};

enum class ManifestReadFailure {
  None,
  CannotOpen,  // the file cannot be opened (readManifest only)
  TooLarge,    // more than kManifestSizeLimit bytes
  // JSON that the runtime does not load, or that nests deeper than this
  // reader follows: a UTF-8 byte-order mark before it, or arrays and objects
  // deeper than kManifestDepthLimit.
  Refused,
  // Not JSON text (a syntax error, nothing but white space, UTF-16, NUL
  // bytes, invalid UTF-8, a number no reader can hold), or not an object at
  // the top.
  NotJsonObject,
  NoApplications,  // no "applications" array
};

struct ManifestContents {
  ManifestReadFailure failure = ManifestReadFailure::None;
  // Why, for a person, in one line; empty when failure is None. From
  // parseManifest, a clause that names no file, made to follow "<file>
  // cannot be read: "; from readManifest, a sentence that names the file.
  std::string error;
  // In file order; entries that are not objects or lack a string app_key are
  // left out. Empty on failure.
  std::vector<ManifestApplication> applications;
};

// The binary path, as written, that the runtime on `system` starts for
// `application`: binary_path_windows, binary_path_linux or
// binary_path_linux_arm. nullopt when the manifest gives none as a string.
const std::optional<std::string>& binaryPathFor(const ManifestApplication& application,
                                                RuntimeSystem system) noexcept;

// Reads `content` as the bytes of a manifest file. A caller reading a file
// should read at most kManifestSizeLimit + 1 bytes, so that a file over the
// limit is told from one at it. Never throws for any content (only
// std::bad_alloc); every failure is reported in `failure` and `error`.
ManifestContents parseManifest(std::string_view content);

// Reads at most kManifestSizeLimit + 1 bytes of the file at `utf8Path` and
// parses them as parseManifest does; `error` names the file. Never throws for
// any file content (only std::bad_alloc).
ManifestContents readManifest(const std::string& utf8Path);

}  // namespace ostrel::manifestcheck
