// Reading what a manifest declares, for callers that need its applications
// rather than a judgement of it (the command's status, reading the runtime's
// registry). The same bounds as the manifest check: at most
// kManifestSizeLimit bytes, values nested deeper than kManifestDepthLimit
// dropped while parsing, so a hostile file costs no more than its size.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace ostrel::steamvr {

// One entry of the manifest's "applications" array that has a string app_key.
struct ManifestApplication {
  std::string appKey;                            // UTF-8, as written
  std::optional<std::string> binaryPathWindows;  // when a string, as written
};

enum class ManifestReadFailure {
  None,
  CannotOpen,      // the file cannot be opened
  TooLarge,        // more than kManifestSizeLimit bytes
  NotJsonObject,   // not JSON, or not an object at the top
  NoApplications,  // no "applications" array
};

struct ManifestContents {
  ManifestReadFailure failure = ManifestReadFailure::None;
  // One sentence naming the file, for a person; empty when failure is None.
  std::string error;
  // In file order; entries that are not objects or lack a string app_key are
  // left out. Empty on failure.
  std::vector<ManifestApplication> applications;
};

// Reads the manifest at `utf8Path`. Never throws for any file content; every
// failure is reported in the result's `failure` and `error`.
ManifestContents readManifest(const std::string& utf8Path);

}  // namespace ostrel::steamvr
