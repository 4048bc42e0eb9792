#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "ostrel/text/DisplayText.h"

namespace {

using namespace std::string_view_literals;
using ostrel::text::DisplayStyle;
using ostrel::text::escapedForDisplay;

constexpr DisplayStyle kNamed{DisplayStyle::Controls::Named, DisplayStyle::Limit::Characters, 5};
constexpr DisplayStyle kHex{DisplayStyle::Controls::Hex, DisplayStyle::Limit::Bytes, 5};

TEST(DisplayText, EachStyleWritesControlsAndStrayBytesItsOwnWay) {
  struct Case {
    std::string_view text;
    std::string_view named;
    std::string_view hex;
  };
  const Case cases[] = {
      {"a\nb"sv, "a\\nb", "a\\x0ab"},
      {"a\tb"sv, "a\\tb", "a\\x09b"},
      {"\x1b[2J"sv, "\\u001B[2J", "\\x1b[2J"},
      {"\x7f"sv, "\\u007F", "\\x7f"},
      {"\xff\xfe"sv, "\\xFF\\xFE", "\\xff\\xfe"},
      {"C:\\a"sv, "C:\\a", "C:\\a"},  // back slashes stay single
      {"a\0b"sv, "a\\u0000b", "a\\x00b"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(escapedForDisplay(c.text, kNamed), c.named) << testing::PrintToString(c.text);
    EXPECT_EQ(escapedForDisplay(c.text, kHex), c.hex) << testing::PrintToString(c.text);
  }
}

TEST(DisplayText, CharactersOrBytesAreCountedAndCutsKeepWholeCharacters) {
  // Five characters of two bytes each: all shown when characters count, three
  // when bytes do (the third starts at byte 4, the fourth at byte 6).
  const std::string_view accents = "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9";
  EXPECT_EQ(escapedForDisplay(accents, kNamed), accents);
  EXPECT_EQ(escapedForDisplay(accents, kHex), "\xc3\xa9\xc3\xa9\xc3\xa9...");
  EXPECT_EQ(escapedForDisplay("abcdef", kNamed), "abcde...");
  EXPECT_EQ(escapedForDisplay("abcde", kHex), "abcde");
  EXPECT_EQ(ostrel::text::quotedForDisplay("abcdef", kHex), "\"abcde...\"");
}

}  // namespace
