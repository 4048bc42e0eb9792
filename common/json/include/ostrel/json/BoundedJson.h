// The one JSON parse of this project: manifests and the runtime's own files
// are read through it. It never throws and never lets a hostile file cost
// more than its size: values nested deeper than the limit are dropped while
// parsing (and the parse reported as too deep), so no tree of unbounded depth
// is ever built.
//
// Internal to the project; the header exposes nlohmann-json, which no public
// header does.
#pragma once

#include <nlohmann/json.hpp>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace ostrel::json {

struct JsonRules {
  // Arrays and objects nested deeper than this are refused.
  int depthLimit = 64;
  // Whether // and /* */ comments are skipped (the runtime skips them in a
  // manifest) or are syntax errors.
  bool comments = false;
};

struct ParsedJson {
  enum class Problem {
    None,
    TooDeep,  // nested deeper than the rules allow
    Syntax,   // not JSON (or not UTF-8); `offset` says where
    Number,   // a number too large for a double
  };
  std::optional<nlohmann::json> value;  // set exactly when problem is None
  Problem problem = Problem::None;
  // Syntax: the byte where the parser stopped, counted from 0.
  std::size_t offset = 0;
  // Syntax and Number: what the parser said, without its exception name,
  // position or echo of the input (describeParseError).
  std::string description;
};

// Sees every parse event as nlohmann-json reports it (depth, event, value);
// the value is kept only when it returns true.
using JsonEventWatch = std::function<bool(int, nlohmann::json::parse_event_t, nlohmann::json&)>;

// Parses `text` by `rules`, showing every event within the depth limit to
// `watch` when there is one.
ParsedJson parseBoundedJson(std::string_view text, const JsonRules& rules,
                            const JsonEventWatch& watch = {});

// The part of one of nlohmann-json's error texts that describes the problem:
// no exception name, no position (the caller words its own), and no echo of
// the input read (which can be as long as the file). Not shortened.
std::string describeParseError(std::string_view what);

}  // namespace ostrel::json
