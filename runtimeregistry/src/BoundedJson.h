// The one way the runtime's JSON files are parsed: within the manifest
// check's bounds (size cap, no NUL, nesting depth), never throwing, so a
// hostile file costs no more than its size.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "ostrel/outcome/Outcome.h"

namespace ostrel::runtimeregistry {

// Whether the file's reader skips // and /* */ comments. The loader reads the
// path registry with a reader that does; the runtime writes its other files
// without them, and so they are read.
enum class JsonComments { Refused, Skipped };

// The file's top-level object; a failure whose message is one line for a
// person, to follow "cannot be read: ", when the content is over the size
// cap, holds a NUL, nests too deep, is not JSON or not an object.
outcome::Outcome<nlohmann::json> parseBounded(const std::string& content,
                                              JsonComments comments = JsonComments::Refused);

}  // namespace ostrel::runtimeregistry
