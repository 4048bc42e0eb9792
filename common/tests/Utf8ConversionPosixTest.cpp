// Cases that only exist where wchar_t holds whole code points.
#include <gtest/gtest.h>

#include <string>

#include "Utf8ConversionCases.h"
#include "platform/Platform.h"

namespace ostrel::platform {
namespace {

static_assert(sizeof(wchar_t) == 4, "these cases are for 32-bit wchar_t");

using testing::kReplacement;
using testing::wideOf;

TEST(Utf8ConversionPosix, ValuesBeyondUnicodeAreReplaced) {
  EXPECT_EQ(wideToUtf8(wideOf({0x110000})), kReplacement);
  EXPECT_EQ(wideToUtf8(wideOf({'a', 0x7FFFFFFF, 'b'})), "a" + kReplacement + "b");
  EXPECT_EQ(wideToUtf8(wideOf({0xFFFFFFFF})), kReplacement);  // a negative wchar_t
  EXPECT_EQ(wideToUtf8(wideOf({0x10FFFF})), "\xf4\x8f\xbf\xbf");
}

TEST(Utf8ConversionPosix, SurrogateCodePointsNeverPairUp) {
  // Code points, not UTF-16 units: a high and a low surrogate side by side are
  // two ill-formed values, not one character.
  EXPECT_EQ(wideToUtf8(wideOf({0xD83D, 0xDE00})), kReplacement + kReplacement);
  EXPECT_EQ(wideToUtf8(wideOf({0xDFFF})), kReplacement);
  EXPECT_EQ(wideToUtf8(wideOf({0xD7FF, 0xE000})), "\xed\x9f\xbf\xee\x80\x80");
}

}  // namespace
}  // namespace ostrel::platform
