// Cases that only exist where wchar_t holds UTF-16 units.
#include <gtest/gtest.h>

#include <string>

#include "Utf8ConversionCases.h"
#include "platform/Platform.h"

namespace ostrel::platform {
namespace {

static_assert(sizeof(wchar_t) == 2, "these cases are for 16-bit wchar_t");

using testing::kReplacement;
using testing::wideOf;

TEST(Utf8ConversionWindows, SurrogatePairBecomesOneFourByteSequence) {
  EXPECT_EQ(wideToUtf8(wideOf({0xD83D, 0xDE00})), "\xf0\x9f\x98\x80");
  EXPECT_EQ(wideToUtf8(wideOf({0xD800, 0xDC00})), "\xf0\x90\x80\x80");
  EXPECT_EQ(wideToUtf8(wideOf({0xDBFF, 0xDFFF})), "\xf4\x8f\xbf\xbf");
}

TEST(Utf8ConversionWindows, UnpairedSurrogatesAreReplacedOneEach) {
  EXPECT_EQ(wideToUtf8(wideOf({0xDE00, 0xD83D})), kReplacement + kReplacement);
  EXPECT_EQ(wideToUtf8(wideOf({0xD83D, 'x', 0xDE00})), kReplacement + "x" + kReplacement);
  EXPECT_EQ(wideToUtf8(wideOf({0xD83D, 0xD83D, 0xDE00})), kReplacement + "\xf0\x9f\x98\x80");
}

TEST(Utf8ConversionWindows, PathBeyondMaxPathConvertsWhole) {
  std::wstring path = L"\\\\?\\C:\\";
  std::string expected = "\\\\?\\C:\\";
  for (int i = 0; i < 200; ++i) {
    path += L"d\u00e9\\";
    expected += "d\xc3\xa9\\";
  }
  path += L"app.vrmanifest";
  expected += "app.vrmanifest";
  ASSERT_GT(path.size(), 260u);
  EXPECT_EQ(wideToUtf8(path), expected);
}

}  // namespace
}  // namespace ostrel::platform
