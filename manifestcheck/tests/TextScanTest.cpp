#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

#include "TextScan.h"

namespace ostrel::manifestcheck {
namespace {

struct Utf8Case {
  const char* name;
  std::string bytes;
  std::size_t length;  // of the sequence at offset 0; 0 for malformed
};

void PrintTo(const Utf8Case& c, std::ostream* out) { *out << c.name; }

class Utf8Sequence : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8Sequence, LengthAtTheStart) {
  EXPECT_EQ(utf8SequenceLength(GetParam().bytes, 0), GetParam().length);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Utf8Sequence,
    ::testing::Values(
        Utf8Case{"Ascii", "a", 1}, Utf8Case{"TwoBytes", "\xC3\xA9", 2},
        Utf8Case{"ThreeBytes", "\xE2\x9C\x93", 3}, Utf8Case{"FourBytes", "\xF0\x9F\x98\x80", 4},
        Utf8Case{"HighestScalar", "\xF4\x8F\xBF\xBF", 4},
        Utf8Case{"AboveU10FFFF", "\xF4\x90\x80\x80", 0}, Utf8Case{"OverlongTwo", "\xC1\xBF", 0},
        Utf8Case{"OverlongThree", "\xE0\x9F\xBF", 0},
        Utf8Case{"OverlongFour", "\xF0\x8F\xBF\xBF", 0}, Utf8Case{"Surrogate", "\xED\xA0\x80", 0},
        Utf8Case{"LastBeforeSurrogates", "\xED\x9F\xBF", 3},
        Utf8Case{"LoneContinuation", "\x80", 0}, Utf8Case{"Truncated", "\xE2\x9C", 0},
        Utf8Case{"BadContinuation", "\xE2\x28\xA1", 0}, Utf8Case{"LeadF5", "\xF5\x80\x80\x80", 0}),
    [](const ::testing::TestParamInfo<Utf8Case>& info) { return std::string(info.param.name); });

TEST(TextScan, FirstInvalidByteIsFoundAfterValidText) {
  EXPECT_EQ(firstInvalidUtf8("Ostr\xC3\xA9l \xE2\x9C\x93"), std::nullopt);
  EXPECT_EQ(firstInvalidUtf8("Ostr\xC3\xA9l \xE2\x9C"), std::optional<std::size_t>(8));
}

TEST(TextScan, PositionCountsLinesAndCharacters) {
  const std::string text = "ab\n\xC3\xA9\xE2\x9C\x93x\n";
  EXPECT_EQ(describePosition(text, 0), "line 1, column 1");
  EXPECT_EQ(describePosition(text, 2), "line 1, column 3");
  EXPECT_EQ(describePosition(text, 3), "line 2, column 1");
  EXPECT_EQ(describePosition(text, 8), "line 2, column 3") << "é and ✓ are one column each";
  EXPECT_EQ(describePosition(text, 100), "line 3, column 1") << "past the end";
  EXPECT_EQ(describePosition("\xFF\xFFx", 2), "line 1, column 3") << "a bad byte is one column";
}

TEST(TextScan, DepthCountsOnlyBracketsOutsideStrings) {
  EXPECT_EQ(firstBracketDeeperThan("[[{}]]", 3), std::nullopt);
  EXPECT_EQ(firstBracketDeeperThan("[[{}]]", 2), std::optional<std::size_t>(2));
  EXPECT_EQ(firstBracketDeeperThan("[\"[[\\\"[[\", [1]]", 2), std::nullopt);
  EXPECT_EQ(firstBracketDeeperThan("[] [] [] [[", 1), std::optional<std::size_t>(10));
  EXPECT_EQ(firstBracketDeeperThan("]]]][[", 1), std::optional<std::size_t>(5))
      << "surplus closers must not bank depth";
}

TEST(TextScan, DepthSkipsCommentsAsTheParserDoes) {
  EXPECT_EQ(firstBracketDeeperThan("// [[[[\n[]", 1), std::nullopt);
  EXPECT_EQ(firstBracketDeeperThan("/* [[[[ */ []", 1), std::nullopt);
  EXPECT_EQ(firstBracketDeeperThan("[ /* ]]]] */ [", 1), std::optional<std::size_t>(13))
      << "closers in a comment must not hide depth";
  EXPECT_EQ(firstBracketDeeperThan("[ // it's \"quoted\r[", 1), std::optional<std::size_t>(18))
      << "a quote in a comment opens no string; '\\r' ends a line comment";
  EXPECT_EQ(firstBracketDeeperThan("[ /**/ [", 1), std::optional<std::size_t>(7));
  EXPECT_EQ(firstBracketDeeperThan("[ \"//\" [", 1), std::optional<std::size_t>(7))
      << "no comment inside a string";
  EXPECT_EQ(firstBracketDeeperThan("[ /* open [[", 1), std::nullopt) << "left to the parser";
}

}  // namespace
}  // namespace ostrel::manifestcheck
