#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "platform/Platform.h"

namespace ostrel::platform {
namespace {

std::vector<std::chrono::milliseconds> recordedSleeps;

void recordSleep(std::chrono::milliseconds duration) { recordedSleeps.push_back(duration); }

TEST(Sleep, ReplacementReceivesEveryRequestUntilRestored) {
  recordedSleeps.clear();
  EXPECT_EQ(replaceSleepFunction(&recordSleep), nullptr);
  sleepFor(std::chrono::milliseconds(100));
  sleepFor(std::chrono::milliseconds(0));
  EXPECT_EQ(replaceSleepFunction(nullptr), &recordSleep);
  EXPECT_EQ((recordedSleeps), (std::vector<std::chrono::milliseconds>{
                                  std::chrono::milliseconds(100), std::chrono::milliseconds(0)}));

  const auto start = std::chrono::steady_clock::now();
  sleepFor(std::chrono::milliseconds(20));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(20));
  EXPECT_EQ(recordedSleeps.size(), 2u);
}

}  // namespace
}  // namespace ostrel::platform
