// Reading a manifest file, bounded and with every failure as a finding.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "FindingList.h"

namespace ostrel::manifestcheck {

// The file's bytes, at most kManifestSizeLimit + 1 of them (one more than the
// limit, so that the content check can tell the file is over it). Only a
// regular file is opened: a FIFO or a device could block for ever. Adds one
// file-* finding and returns nullopt when the file cannot be read.
std::optional<std::string> readManifestFile(const std::filesystem::path& file,
                                            FindingList& findings);

}  // namespace ostrel::manifestcheck
