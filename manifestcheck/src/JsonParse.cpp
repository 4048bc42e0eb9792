#include "JsonParse.h"

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "DisplayText.h"
#include "TextScan.h"
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

std::string describeParseError(std::string_view what) {
  // "[json.exception.parse_error.101] parse error at line 1, column 9: <problem>; last read:
  // '<input>'; expected <token>"
  std::string_view problem = what;
  if (const std::size_t column = problem.find("column "); column != std::string_view::npos) {
    if (const std::size_t colon = problem.find(": ", column); colon != std::string_view::npos) {
      problem.remove_prefix(colon + 2);
    }
  } else if (const std::size_t bracket = problem.find("] "); bracket != std::string_view::npos) {
    problem.remove_prefix(bracket + 2);
  }
  std::string text(problem);
  if (const std::size_t echo = problem.find("; last read: '"); echo != std::string_view::npos) {
    text = std::string(problem.substr(0, echo));
    if (const std::size_t expected = problem.rfind("'; expected ");
        expected != std::string_view::npos && expected > echo) {
      text += problem.substr(expected + 1);
    }
  }
  return escaped(text, kProblemLength);
}

std::optional<json> parseManifestJson(std::string_view text, FindingList& findings) {
  DuplicateKeyWatch watch(findings);
  // nlohmann-json reports failures by throwing its own exceptions; they are
  // caught here so that callers only ever see findings.
  try {
    // The runtime's reader skips // and /* */ comments (and refuses trailing
    // commas), so a commented manifest is not an error here either.
    return json::parse(text.begin(), text.end(), std::ref(watch), /*allow_exceptions=*/true,
                       /*ignore_comments=*/true);
  } catch (const json::parse_error& e) {
    // byte counts the characters read, the offending one included.
    const std::size_t offset = e.byte == 0 ? 0 : e.byte - 1;
    findings.error(findings::kJsonSyntax, "the manifest is not valid JSON at " +
                                      describePosition(text, offset) + ": " +
                                      describeParseError(e.what()) + "; fix the JSON there");
  } catch (const json::out_of_range& e) {
    findings.error(findings::kJsonNumber, "the manifest holds a number the runtime cannot represent (" +
                                      describeParseError(e.what()) +
                                      "); no manifest key takes such a number: remove it");
  } catch (const json::exception& e) {
    findings.error(findings::kJsonSyntax, "the manifest is not JSON that can be read (" +
                                      describeParseError(e.what()) + ")");
  }
  return std::nullopt;
}

}  // namespace ostrel::manifestcheck
