// The JSON parse of a manifest, with its failures turned into findings.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string_view>

#include "FindingList.h"

namespace ostrel::manifestcheck {

// Parses `text` (ostrel::json::parseBoundedJson), which must already be known
// to be UTF-8 without NUL bytes and nested no deeper than the limit. Comments (// and /* */) are skipped,
// as the runtime skips them; trailing commas are syntax errors, as they are
// to the runtime. Adds json-syntax or json-number and
// returns nullopt when it is not JSON the check can read; adds duplicate-key
// for every key that repeats within one object, since readers disagree about
// which of the values counts.
std::optional<nlohmann::json> parseManifestJson(std::string_view text, FindingList& findings);

}  // namespace ostrel::manifestcheck
