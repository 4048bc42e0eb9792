#include <gtest/gtest.h>

#include <string>

#include "Utf8ConversionCases.h"
#include "platform/Platform.h"

namespace ostrel::platform {
namespace {

using testing::Utf8Case;

class SharedUtf8Conversion : public ::testing::TestWithParam<Utf8Case> {};

std::string hex(const std::string& bytes) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
    out += ' ';
  }
  return out;
}

TEST_P(SharedUtf8Conversion, MatchesTheExpectedBytes) {
  const Utf8Case& c = GetParam();
  const std::string actual = wideToUtf8(c.wide);
  EXPECT_EQ(hex(actual), hex(c.utf8));
}

INSTANTIATE_TEST_SUITE_P(AllPlatforms, SharedUtf8Conversion,
                         ::testing::ValuesIn(testing::sharedUtf8Cases()),
                         [](const ::testing::TestParamInfo<Utf8Case>& info) {
                           return std::string(info.param.name);
                         });

TEST(Utf8Conversion, LongPathIsLongerThanMaxPathAndConvertsWhole) {
  const std::wstring path = testing::longPath();
  ASSERT_GT(path.size(), 260u);
  const std::string utf8 = wideToUtf8(path);
  EXPECT_EQ(utf8, testing::longPathUtf8());
  EXPECT_EQ(utf8.substr(utf8.size() - 15), "\\app.vrmanifest");
}

}  // namespace
}  // namespace ostrel::platform
