// Text the user hands in: UTF-8 back to wide, on every platform. The shared
// conversion cases run backwards wherever they are well-formed, so both
// directions agree on the same bytes.
#include <gtest/gtest.h>

#include <string>

#include "Utf8ConversionCases.h"
#include "platform/Platform.h"

namespace ostrel::platform {
namespace {

using testing::Utf8Case;

class SharedUtf8ToWide : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(SharedUtf8ToWide, GivesBackTheWideText) {
  const Utf8Case& c = GetParam();
  EXPECT_EQ(utf8ToWide(c.utf8), c.wide);
}

// The surrogate cases have no UTF-8 form of their own: their bytes decode to
// U+FFFD, not back to the surrogate.
std::vector<Utf8Case> wellFormedCases() {
  std::vector<Utf8Case> cases;
  for (Utf8Case& c : testing::sharedUtf8Cases()) {
    if (std::string(c.name).find("Surrogate") == std::string::npos) cases.push_back(c);
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(AllPlatforms, SharedUtf8ToWide, ::testing::ValuesIn(wellFormedCases()),
                         [](const ::testing::TestParamInfo<Utf8Case>& info) {
                           return std::string(info.param.name);
                         });

// Where the system decoder and ours must agree: one bad byte, one U+FFFD.
TEST(Utf8ToWide, EachStrayByteBecomesOneReplacementCharacter) {
  EXPECT_EQ(utf8ToWide("a\x80z"), L"a\ufffdz");
  EXPECT_EQ(utf8ToWide("\xff"), L"\ufffd");
  EXPECT_EQ(utf8ToWide("C:\\\xfe\\x"), L"C:\\\ufffd\\x");
  EXPECT_EQ(utf8ToWide("\xc3\xa9\xc0\xc3\xa9"), L"\u00e9\ufffd\u00e9");
}

TEST(PathFromUtf8, NamesTheSameFileAsPathToUtf8Describes) {
  const std::string name = "D:\\\xe3\x82\xb2\xe3\x83\xbc\xe3\x83\xa0\\app.vrmanifest";
  EXPECT_EQ(pathToUtf8(pathFromUtf8(name)), name);
}

TEST(FullNativePath, LeavesEmptyAndNulTextAlone) {
  EXPECT_EQ(fullNativePath(L""), L"");
  const std::wstring withNul(L"a\0b", 3);
  EXPECT_EQ(fullNativePath(withNul), withNul);
}

}  // namespace
}  // namespace ostrel::platform
