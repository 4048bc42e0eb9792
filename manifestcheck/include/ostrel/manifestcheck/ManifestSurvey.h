// Judging every application a manifest declares at once, as the runtime
// loads a listed manifest: what a check with each application's key would
// find, from one read of the text. For callers that look at manifests
// someone else registered (the doctor), where no one key is asked about.
// The same rules as checkManifestContent, built on the same code; safe on
// hostile input in the same way. Thread-compatible: no shared state.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "ostrel/manifestcheck/ManifestCheck.h"

namespace ostrel::manifestcheck {

// Most applications looked at in one manifest; the rest are counted in a
// more-findings warning about the file. A manifest declares a few.
inline constexpr std::size_t kMaxSurveyedApplications = 256;

// One entry of "applications" that has a string app_key.
struct ApplicationSurvey {
  std::size_t index = 0;  // its place in "applications"
  std::string appKey;     // as written
  // Its name under "strings": en_us's when there is one, else the first
  // language's; as written (a display must escape it); empty when none.
  std::string name;
  bool dashboardOverlay = false;  // "is_dashboard_overlay" is true
  // What checkManifestContent finds with this key, less what is about the
  // file as a whole. A later entry repeating an earlier one's key gets only
  // app-key-duplicate (the runtime keeps one of them). At most kMaxFindings.
  std::vector<ManifestFinding> findings;
};

struct ManifestSurvey {
  // About the file as a whole: its size and encoding, its JSON, its top
  // level, entries that are no application. At most kMaxFindings.
  std::vector<ManifestFinding> findings;
  // The runtime loads nothing from it (the error saying why is among
  // `findings`): bytes it cannot read as JSON, a byte-order mark, no object
  // with an "applications" array.
  bool refused = false;
  // In file order, at most kMaxSurveyedApplications; empty when refused.
  std::vector<ApplicationSurvey> applications;
};

// Judges `content` as the bytes of a manifest file and every application in
// it by the rules of `context.system`, the file system asked through
// `context.paths` (null: the text alone); `context.appKey` is not read.
// Never throws but std::bad_alloc.
ManifestSurvey surveyManifestContent(std::string_view content,
                                     const ManifestContentContext& context);

}  // namespace ostrel::manifestcheck
