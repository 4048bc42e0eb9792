// The checks on a parsed manifest: the keys the runtime reads, their types,
// and the values that make it skip an application or ignore auto-launch.
#pragma once

#include <nlohmann/json.hpp>

#include "FindingList.h"
#include "ostrel/manifestcheck/ManifestCheck.h"
#include "ostrel/manifestcheck/ManifestSurvey.h"

namespace ostrel::manifestcheck {

// Only the application whose app_key is the context's key is checked in
// depth; the others are checked only as far as finding that key needs.
void checkManifestStructure(const nlohmann::json& root, const ManifestContentContext& context,
                            FindingList& findings);

// Every application, each checked in depth as checkManifestStructure checks
// the one with its key; what is about the manifest as a whole goes to
// `whole`. Sets survey.refused when the top level holds no applications
// array. context.appKey is not read.
void surveyManifestStructure(const nlohmann::json& root, const ManifestContentContext& context,
                             FindingList& whole, ManifestSurvey& survey);

}  // namespace ostrel::manifestcheck
