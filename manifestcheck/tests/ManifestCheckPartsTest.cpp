// The small pieces every message goes through: the bounded list, the safe
// display of file text, and the rewording of parser errors.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DisplayText.h"
#include "FindingList.h"
#include "JsonParse.h"
#include "ostrel/manifestcheck/ManifestCheck.h"

namespace ostrel::manifestcheck {
namespace {

std::vector<ManifestFinding> listOf(std::size_t warnings, std::size_t errors) {
  FindingList list;
  for (std::size_t i = 0; i < warnings; ++i) list.warning("w", std::to_string(i));
  for (std::size_t i = 0; i < errors; ++i) list.error("e", std::to_string(i));
  return std::move(list).take();
}

TEST(FindingList, CutsOnlyWhatDoesNotFit) {
  const auto full = listOf(kMaxFindings, 0);
  ASSERT_EQ(full.size(), kMaxFindings);
  EXPECT_EQ(full.back().message, std::to_string(kMaxFindings - 1)) << "a full list is whole";

  const auto over = listOf(kMaxFindings + 1, 0);
  ASSERT_EQ(over.size(), kMaxFindings);
  EXPECT_EQ(over.back().code, "more-findings");
  EXPECT_EQ(over.back().severity, FindingSeverity::Warning) << "only warnings were left out";
  EXPECT_EQ(over.back().message.rfind("2 further findings left out;", 0), 0u);
  EXPECT_FALSE(hasErrors(over));
}

TEST(FindingCounts, ErrorsCountedApartFromWarnings) {
  const ManifestFinding error{FindingSeverity::Error, "bom", "e"};
  const ManifestFinding warning{FindingSeverity::Warning, "no-name", "w"};
  EXPECT_EQ(countErrors({}), 0);
  EXPECT_FALSE(hasErrors({}));
  EXPECT_EQ(countErrors({warning, warning}), 0);
  EXPECT_FALSE(hasErrors({warning, warning}));
  EXPECT_EQ(countErrors({warning, error, warning, error, error}), 3);
  EXPECT_TRUE(hasErrors({warning, error}));
}

TEST(DisplayText, QuotedTextIsOneSafeLine) {
  EXPECT_EQ(quote("C:\\Ostrél"), "\"C:\\Ostrél\"") << "backslashes and letters stay readable";
  EXPECT_EQ(quote("a\nb\tc\x01\x7F"), "\"a\\nb\\tc\\u0001\\u007F\"");
  EXPECT_EQ(quote("\xFF\xC3"), "\"\\xFF\\xC3\"");
  const std::string longText = std::string(kDisplayLength - 1, 'a') + "\xE2\x9C\x93" + "tail";
  EXPECT_EQ(quote(longText), "\"" + std::string(kDisplayLength - 1, 'a') + "\xE2\x9C\x93...\"")
      << "cut after whole characters";
}

TEST(DisplayText, ListsAreShortened) {
  EXPECT_EQ(quoteList({}, 3), "none");
  EXPECT_EQ(quoteList({"a", "b", "c", "d"}, 2), "\"a\", \"b\" and 2 more");
}

TEST(JsonParse, RepeatsAreFoundPerObject) {
  FindingList list;
  const auto parsed = parseManifestJson(
      R"({"a": 1, "b": {"a": 2, "c": 3}, "d": [{"c": 1}, {"c": 2}], "e": {"c": 1, "c": 2}})", list);
  EXPECT_TRUE(parsed.has_value());
  const auto findings = std::move(list).take();
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_NE(findings[0].message.find("\"c\" appears more than once in one object inside \"e\""),
            std::string::npos)
      << findings[0].message;
}

}  // namespace
}  // namespace ostrel::manifestcheck
