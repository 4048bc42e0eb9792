// The check of a manifest's bytes, from encoding to structure.
#pragma once

#include <string_view>

#include "FindingList.h"
#include "ostrel/steamvr/ManifestCheck.h"

namespace ostrel::steamvr::manifestcheck {

// Stops at the first problem that makes the rest unreadable (size, encoding,
// depth, syntax); a UTF-8 byte-order mark is reported and then looked past,
// so that one run shows everything that needs fixing.
void checkContent(std::string_view content, const ManifestContentContext& context,
                  FindingList& findings);

}  // namespace ostrel::steamvr::manifestcheck
