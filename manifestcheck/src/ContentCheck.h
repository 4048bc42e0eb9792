// The check of a manifest's bytes, from encoding to structure.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string_view>

#include "FindingList.h"
#include "ostrel/manifestcheck/ManifestCheck.h"

namespace ostrel::manifestcheck {

// The bounds and the parse of checkContent without the structure checks:
// size, encoding, NUL bytes and depth are looked at before the parser sees
// the text. nullopt when the text cannot be parsed; a UTF-8 byte-order mark
// is an error finding, and the text after it is parsed all the same.
std::optional<nlohmann::json> readManifestJson(std::string_view content, FindingList& findings);

// Stops at the first problem that makes the rest unreadable (size, encoding,
// depth, syntax); a UTF-8 byte-order mark is reported and then looked past,
// so that one run shows everything that needs fixing.
void checkContent(std::string_view content, const ManifestContentContext& context,
                  FindingList& findings);

}  // namespace ostrel::manifestcheck
