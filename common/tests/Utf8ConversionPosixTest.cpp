// Cases that only exist where wchar_t holds whole code points.
#include <gtest/gtest.h>

#include <string>

#include "platform/Platform.h"

namespace ostrel::platform {
namespace {

static_assert(sizeof(wchar_t) == 4, "these cases are for 32-bit wchar_t");

const std::string kReplacement = "\xef\xbf\xbd";

std::wstring of(std::initializer_list<unsigned> values) {
  std::wstring out;
  for (unsigned v : values) out.push_back(static_cast<wchar_t>(v));
  return out;
}

TEST(Utf8ConversionPosix, ValuesBeyondUnicodeAreReplaced) {
  EXPECT_EQ(wideToUtf8(of({0x110000})), kReplacement);
  EXPECT_EQ(wideToUtf8(of({'a', 0x7FFFFFFF, 'b'})), "a" + kReplacement + "b");
  EXPECT_EQ(wideToUtf8(of({0xFFFFFFFF})), kReplacement);  // a negative wchar_t
  EXPECT_EQ(wideToUtf8(of({0x10FFFF})), "\xf4\x8f\xbf\xbf");
}

TEST(Utf8ConversionPosix, SurrogateCodePointsNeverPairUp) {
  // Code points, not UTF-16 units: a high and a low surrogate side by side are
  // two ill-formed values, not one character.
  EXPECT_EQ(wideToUtf8(of({0xD83D, 0xDE00})), kReplacement + kReplacement);
  EXPECT_EQ(wideToUtf8(of({0xDFFF})), kReplacement);
  EXPECT_EQ(wideToUtf8(of({0xD7FF, 0xE000})), "\xed\x9f\xbf\xee\x80\x80");
}

}  // namespace
}  // namespace ostrel::platform
