#include "ostrel/json/BoundedJson.h"

#include <utility>

namespace ostrel::json {

using nlohmann::json;

ParsedJson parseBoundedJson(std::string_view text, const JsonRules& rules,
                            const JsonEventWatch& watch) {
  ParsedJson parsed;
  bool tooDeep = false;
  const json::parser_callback_t bounded = [&](int depth, json::parse_event_t event, json& value) {
    if (depth > rules.depthLimit) {
      tooDeep = true;
      return false;
    }
    return watch ? watch(depth, event, value) : true;
  };
  // nlohmann-json reports failures by throwing its own exceptions; none
  // leaves this function.
  try {
    json root = json::parse(text.begin(), text.end(), bounded, /*allow_exceptions=*/true,
                            /*ignore_comments=*/rules.comments);
    if (!tooDeep) parsed.value = std::move(root);
  } catch (const json::parse_error& e) {
    // byte counts the characters read, the offending one included.
    parsed.problem = ParsedJson::Problem::Syntax;
    parsed.offset = e.byte == 0 ? 0 : e.byte - 1;
    parsed.description = describeParseError(e.what());
  } catch (const json::out_of_range& e) {
    parsed.problem = ParsedJson::Problem::Number;
    parsed.description = describeParseError(e.what());
  } catch (const json::exception& e) {
    parsed.problem = ParsedJson::Problem::Syntax;
    parsed.description = describeParseError(e.what());
  }
  // Depth is reported first: it was found before whatever stopped the parse.
  if (tooDeep) {
    parsed.value.reset();
    parsed.problem = ParsedJson::Problem::TooDeep;
  }
  return parsed;
}

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
  return text;
}

}  // namespace ostrel::json
