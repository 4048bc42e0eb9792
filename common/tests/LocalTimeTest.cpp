#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <ctime>
#include <limits>

#include "platform/Platform.h"

namespace ostrel::platform {
namespace {

bool allZero(const std::tm& value) {
  std::tm zero;
  std::memset(&zero, 0, sizeof zero);
  return std::memcmp(&zero, &value, sizeof value) == 0;
}

TEST(LocalTime, AgreesWithTheStandardLibrary) {
  for (std::time_t t : {std::time_t{0}, std::time_t{951782400}, std::time_t{1700000000},
                        std::time_t{1719835199}, std::time_t{4102444799}}) {
    std::tm actual;
    ASSERT_TRUE(localTime(static_cast<std::int64_t>(t), actual)) << t;
    const std::tm* expected = std::localtime(&t);
    ASSERT_NE(expected, nullptr);
    EXPECT_EQ(actual.tm_year, expected->tm_year) << t;
    EXPECT_EQ(actual.tm_yday, expected->tm_yday) << t;
    EXPECT_EQ(actual.tm_hour, expected->tm_hour) << t;
    EXPECT_EQ(actual.tm_min, expected->tm_min) << t;
    EXPECT_EQ(actual.tm_sec, expected->tm_sec) << t;
  }
}

TEST(LocalTime, UnrepresentableTimeLeavesZerosNotGarbage) {
  std::tm out;
  std::memset(&out, 0x5A, sizeof out);
  EXPECT_FALSE(localTime(std::numeric_limits<std::int64_t>::max(), out));
  EXPECT_TRUE(allZero(out));

  std::memset(&out, 0x5A, sizeof out);
  EXPECT_FALSE(localTime(std::numeric_limits<std::int64_t>::min(), out));
  EXPECT_TRUE(allZero(out));
}

}  // namespace
}  // namespace ostrel::platform
