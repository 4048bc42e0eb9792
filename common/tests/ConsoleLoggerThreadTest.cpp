#include <gtest/gtest.h>

#include <atomic>
#include <iostream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "ostrel/common/ConsoleLogger.h"
#include "ostrel/testing/CaptureStderr.h"

namespace ostrel::common {
namespace {

TEST(ConsoleLoggerThreads, ConcurrentLinesNeverInterleave) {
  constexpr int kLinesPerThread = 300;
  ConsoleLogger first;
  ConsoleLogger second;  // a second instance shares the one process-wide lock
  testing::CaptureStderr captured;

  std::atomic<bool> stop{false};
  // Re-levelling while others log must be safe; it only toggles between
  // levels that both let the test's messages through.
  std::thread leveller([&] {
    while (!stop.load()) {
      first.SetLevel(LogLevel::Debug);
      first.SetLevel(LogLevel::Info);
    }
  });
  auto writer = [](ConsoleLogger& logger, const std::string& name) {
    for (int i = 0; i < kLinesPerThread; ++i) {
      logger.Log(LogLevel::Warn, name + " line " + std::to_string(i) + " with some padding text");
    }
  };
  std::thread a(writer, std::ref(first), "alpha");
  std::thread b(writer, std::ref(second), "beta");
  a.join();
  b.join();
  stop = true;
  leveller.join();

  const std::regex line(
      R"(\[\d\d:\d\d:\d\d\.\d{3}\] \[WARN\] (alpha|beta) line (\d+) with some padding text)");
  std::istringstream lines(captured.text());
  std::string text;
  int next[2] = {0, 0};
  int count = 0;
  while (std::getline(lines, text)) {
    std::smatch match;
    ASSERT_TRUE(std::regex_match(text, match, line)) << "mixed or malformed line: " << text;
    const int who = match[1] == "alpha" ? 0 : 1;
    // Each thread's own lines keep their order.
    EXPECT_EQ(std::stoi(match[2]), next[who]);
    next[who] = std::stoi(match[2]) + 1;
    ++count;
  }
  EXPECT_EQ(count, 2 * kLinesPerThread);
}

}  // namespace
}  // namespace ostrel::common
