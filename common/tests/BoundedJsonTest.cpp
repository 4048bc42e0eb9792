#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ostrel/json/BoundedJson.h"

namespace ostrel::json {
namespace {

using Problem = ParsedJson::Problem;

TEST(BoundedJson, CommentsAreSkippedOnlyWhenTheRulesSaySo) {
  const std::string text = "{ // the key\n \"a\": 1 /* one */ }";
  const ParsedJson skipped = parseBoundedJson(text, {8, true});
  ASSERT_EQ(skipped.problem, Problem::None) << skipped.description;
  EXPECT_EQ(skipped.value->at("a"), 1);
  const ParsedJson refused = parseBoundedJson(text, {8, false});
  EXPECT_EQ(refused.problem, Problem::Syntax);
  EXPECT_FALSE(refused.value);
  EXPECT_EQ(refused.offset, 2u) << "stops at the first '/'";
}

TEST(BoundedJson, TooDeepIsRefusedWithoutBuildingTheTree) {
  EXPECT_EQ(parseBoundedJson("[[[1]]]", {3, false}).problem, Problem::None);
  const ParsedJson deep = parseBoundedJson("[[[[1]]]]", {3, false});
  EXPECT_EQ(deep.problem, Problem::TooDeep);
  EXPECT_FALSE(deep.value);
  // Depth is told first, even when the text goes wrong after it.
  EXPECT_EQ(parseBoundedJson("[[[[1]]]] x", {3, false}).problem, Problem::TooDeep);
}

TEST(BoundedJson, SyntaxAndNumberProblemsAreToldApart) {
  const ParsedJson comma = parseBoundedJson("{\"a\": 1,}", {8, false});
  EXPECT_EQ(comma.problem, Problem::Syntax);
  EXPECT_EQ(comma.offset, 8u);
  EXPECT_EQ(comma.description,
            "syntax error while parsing object key - unexpected '}'; expected string literal");
  const ParsedJson huge = parseBoundedJson("[1e999]", {8, false});
  EXPECT_EQ(huge.problem, Problem::Number);
  EXPECT_EQ(huge.description, "number overflow parsing '1e999'");
  EXPECT_EQ(parseBoundedJson("\"\xff\"", {8, false}).problem, Problem::Syntax);
}

TEST(BoundedJson, TheWatchSeesEveryKey) {
  std::vector<std::string> keys;
  const ParsedJson parsed = parseBoundedJson(
      R"({"a": 1, "b": {"a": 2}})", {8, false},
      [&keys](int, nlohmann::json::parse_event_t event, nlohmann::json& value) {
        if (event == nlohmann::json::parse_event_t::key) keys.push_back(value.get<std::string>());
        return true;
      });
  ASSERT_EQ(parsed.problem, Problem::None);
  EXPECT_EQ(keys, (std::vector<std::string>{"a", "b", "a"}));
  EXPECT_EQ(parsed.value->dump(), R"({"a":1,"b":{"a":2}})");
}

TEST(BoundedJson, ParserTextLosesItsEchoButKeepsWhatWasExpected) {
  EXPECT_EQ(describeParseError("[json.exception.parse_error.101] parse error at line 1, column "
                               "9: syntax error while parsing object key - unexpected '}'; last "
                               "read: '1,}'; expected string literal"),
            "syntax error while parsing object key - unexpected '}'; expected string literal");
  EXPECT_EQ(describeParseError("[json.exception.out_of_range.406] number overflow parsing '1e999'"),
            "number overflow parsing '1e999'");
}

}  // namespace
}  // namespace ostrel::json
