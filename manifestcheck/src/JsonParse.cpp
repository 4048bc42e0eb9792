#include "JsonParse.h"

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "DisplayText.h"
#include "TextScan.h"
#include "ostrel/json/BoundedJson.h"
#include "ostrel/manifestcheck/ManifestReader.h"
#include "ostrel/manifestcheck/FindingCodes.h"

namespace ostrel::manifestcheck {

namespace {

using nlohmann::json;

// Room for the longest problem text nlohmann-json words, not for an echo of
// the input (a number literal can be as long as the file).
constexpr std::size_t kProblemLength = 160;

// Follows the parse event by event: the parsed value keeps only one of the
// values of a repeated key, so repeats must be caught while they go by.
class DuplicateKeyWatch {
 public:
  explicit DuplicateKeyWatch(FindingList& findings) : findings_(findings) {}

  bool operator()(int /*depth*/, json::parse_event_t event, json& parsed) {
    switch (event) {
      case json::parse_event_t::object_start:
        levels_.push_back({true, lastKey_, {}});
        break;
      case json::parse_event_t::array_start:
        levels_.push_back({false, lastKey_, {}});
        break;
      case json::parse_event_t::object_end:
      case json::parse_event_t::array_end:
        if (!levels_.empty()) {
          lastKey_ = std::move(levels_.back().name);
          levels_.pop_back();
        }
        break;
      case json::parse_event_t::key:
        if (parsed.is_string()) noteKey(parsed.get_ref<const std::string&>());
        break;
      case json::parse_event_t::value:
        break;
    }
    return true;
  }

 private:
  struct Level {
    bool isObject;
    std::string name;  // the key this object or array is the value of
    std::set<std::string> keys;
  };

  void noteKey(const std::string& key) {
    lastKey_ = key;
    if (levels_.empty() || !levels_.back().isObject) return;
    Level& level = levels_.back();
    if (level.keys.insert(key).second) return;
    const std::string where =
        levels_.size() == 1 ? "at the top level" : "inside " + quote(level.name);
    findings_.warning(findings::kDuplicateKey, "the key " + quote(key) +
                                           " appears more than once in one object " + where +
                                           "; readers differ in which value they keep: keep one");
  }

  FindingList& findings_;
  std::vector<Level> levels_;
  std::string lastKey_;
};

}  // namespace

std::optional<json> parseManifestJson(std::string_view text, FindingList& findings) {
  DuplicateKeyWatch watch(findings);
  // The runtime's reader skips // and /* */ comments (and refuses trailing
  // commas), so a commented manifest is not an error here either. Depth was
  // checked before: the limit here only keeps the two in step.
  ostrel::json::ParsedJson parsed = ostrel::json::parseBoundedJson(
      text, {kManifestDepthLimit, /*comments=*/true}, std::ref(watch));
  const std::string problem = escaped(parsed.description, kProblemLength);
  switch (parsed.problem) {
    case ostrel::json::ParsedJson::Problem::None:
      return std::move(parsed.value);
    case ostrel::json::ParsedJson::Problem::Syntax:
      findings.error(findings::kJsonSyntax, "the manifest is not valid JSON at " +
                                                describePosition(text, parsed.offset) + ": " +
                                                problem + "; fix the JSON there");
      break;
    case ostrel::json::ParsedJson::Problem::Number:
      findings.error(findings::kJsonNumber,
                     "the manifest holds a number the runtime cannot represent (" + problem +
                         "); no manifest key takes such a number: remove it");
      break;
    case ostrel::json::ParsedJson::Problem::TooDeep:
      // The text was scanned for depth before, with its position; this is
      // the parse keeping the same limit.
      findings.error(findings::kTooDeep, "the manifest nests arrays and objects deeper than " +
                                             std::to_string(kManifestDepthLimit) + " levels");
      break;
  }
  return std::nullopt;
}

}  // namespace ostrel::manifestcheck
