#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <iomanip>
#include <iostream>
#include <mutex>
#include <regex>
#include <string>
#include <string_view>

#include "ConsoleLogMutex.h"
#include "ostrel/common/ConsoleLogger.h"
#include "ostrel/common/ILogger.h"
#include "ostrel/testing/CaptureStderr.h"

namespace ostrel::common {
namespace {

using testing::CaptureStderr;

const std::regex kStamp(R"(\[([01]\d|2[0-3]):[0-5]\d:([0-5]\d|60)\.\d{3}\] )");

// Strips a valid stamp off the front of each line, so expectations can be
// written against the rest.
std::string withoutStamps(const std::string& text) {
  std::string out;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size() - 1;
    std::string line = text.substr(start, end - start + 1);
    std::smatch match;
    if (std::regex_search(line, match, kStamp, std::regex_constants::match_continuous)) {
      line = "<stamp> " + line.substr(match.length());
    }
    out += line;
    start = end + 1;
  }
  return out;
}

TEST(ConsoleLogger, StartsAtInfoAndFiltersBelowIt) {
  ConsoleLogger logger;
  EXPECT_EQ(logger.GetLevel(), LogLevel::Info);
  CaptureStderr captured;
  logger.Log(LogLevel::Debug, "debug");
  logger.Log(LogLevel::Trace, "trace");
  logger.Log(static_cast<LogLevel>(-1), "negative");
  logger.Log(LogLevel::Info, "info");
  logger.Log(LogLevel::Warn, "warn");
  logger.Log(LogLevel::Error, "error");
  logger.Log(LogLevel::Fatal, "fatal");
  logger.Log(static_cast<LogLevel>(6), "six");
  EXPECT_EQ(withoutStamps(captured.text()),
            "<stamp> [INFO] info\n"
            "<stamp> [WARN] warn\n"
            "<stamp> [ERROR] error\n"
            "<stamp> [FATAL] fatal\n"
            "<stamp> [UNKNOWN] six\n");
}

TEST(ConsoleLogger, SetLevelAcceptsAnyValue) {
  ConsoleLogger logger;
  CaptureStderr captured;
  logger.SetLevel(static_cast<LogLevel>(-1));
  EXPECT_EQ(static_cast<int>(logger.GetLevel()), -1);
  logger.Log(static_cast<LogLevel>(-1), "negative");
  logger.Log(static_cast<LogLevel>(-2), "more negative");
  logger.SetLevel(LogLevel::Error);
  EXPECT_EQ(logger.GetLevel(), LogLevel::Error);
  logger.Log(LogLevel::Warn, "warn");
  logger.Log(LogLevel::Error, "error");
  EXPECT_EQ(withoutStamps(captured.text()),
            "<stamp> [UNKNOWN] negative\n"
            "<stamp> [ERROR] error\n");
}

TEST(ConsoleLogger, EmptyMessageStillGivesWholeLine) {
  ConsoleLogger logger;
  CaptureStderr captured;
  logger.Log(LogLevel::Info, "");
  EXPECT_EQ(withoutStamps(captured.text()), "<stamp> [INFO] \n");
}

TEST(ConsoleLogger, MessageBytesWrittenUnchanged) {
  ConsoleLogger logger;
  CaptureStderr captured;
  logger.Log(LogLevel::Warn, std::string_view("a\0b", 3));
  logger.Log(LogLevel::Info, "first\nsecond");
  // Only the view's bytes: a message that is a slice of a longer buffer ends
  // where the slice does.
  const std::string buffer = "polling for manifest install and more";
  logger.Log(LogLevel::Info, std::string_view(buffer).substr(0, 28));
  EXPECT_EQ(withoutStamps(captured.text()), std::string("<stamp> [WARN] a\0b\n", 19) +
                                                "<stamp> [INFO] first\nsecond\n"
                                                "<stamp> [INFO] polling for manifest install\n");
}

TEST(ConsoleLogger, LeavesZeroFillOnStandardError) {
  ConsoleLogger logger;
  CaptureStderr captured;
  logger.Log(LogLevel::Info, "x");
  EXPECT_EQ(std::cerr.fill(), '0');
  EXPECT_EQ(std::cerr.width(), 0);
  std::cerr << std::setw(4) << 7 << '|' << "ab" << '\n';
  const std::string text = captured.text();
  EXPECT_EQ(text.substr(text.find("x\n") + 2), "0007|ab\n");
}

TEST(ConsoleLogger, DroppedMessageDoesNotTakeTheLock) {
  ConsoleLogger logger;
  CaptureStderr captured;
  std::unique_lock<StaticMutex> held(consoleLogMutex);
  auto dropped = std::async(std::launch::async, [&] { logger.Log(LogLevel::Debug, "dropped"); });
  // A drop that waited for the lock would never finish while it is held.
  EXPECT_EQ(dropped.wait_for(std::chrono::seconds(5)), std::future_status::ready);
  held.unlock();
  dropped.wait();
  EXPECT_EQ(captured.text(), "");
}

TEST(ConsoleLogger, WrittenLineWaitsForTheLock) {
  ConsoleLogger logger;
  CaptureStderr captured;
  std::unique_lock<StaticMutex> held(consoleLogMutex);
  auto written = std::async(std::launch::async, [&] { logger.Log(LogLevel::Info, "written"); });
  EXPECT_EQ(written.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
  held.unlock();
  written.wait();
  EXPECT_EQ(withoutStamps(captured.text()), "<stamp> [INFO] written\n");
}

TEST(ProcessLogger, IsAConsoleLoggerAtInfoFromStartUp) {
  ASSERT_NE(processLogger, nullptr);
  auto* console = dynamic_cast<ConsoleLogger*>(processLogger.get());
  ASSERT_NE(console, nullptr);
  EXPECT_EQ(console->GetLevel(), LogLevel::Info);
  EXPECT_EQ(processLogger.use_count(), 1);
}

TEST(ProcessLogger, RegistrarStyleMessagesReachStandardError) {
  CaptureStderr captured;
  logMessage(LogLevel::Info, "manifest ready after ", 300, "ms");
  logMessage(LogLevel::Debug, "not shown");
  logMessage(LogLevel::Warn, "timeout after 2000ms");
  EXPECT_EQ(withoutStamps(captured.text()),
            "<stamp> [INFO] manifest ready after 300ms\n"
            "<stamp> [WARN] timeout after 2000ms\n");
}

}  // namespace
}  // namespace ostrel::common
