#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

#include "ostrel/common/ILogger.h"
#include "ostrel/testing/CaptureStderr.h"
#include "ostrel/testing/CapturingLogger.h"

namespace ostrel::common {
namespace {

using testing::CapturingLogger;
using testing::ScopedProcessLogger;

class LogMessageTest : public ::testing::Test {
 protected:
  std::shared_ptr<CapturingLogger> logger_ = std::make_shared<CapturingLogger>();
  ScopedProcessLogger scope_{logger_};
};

TEST(LogMessageWithoutLogger, EmptySlotDiscardsSilently) {
  ScopedProcessLogger empty{nullptr};
  testing::CaptureStderr captured;
  logMessage(LogLevel::Info, "polling for manifest install");
  dispatchLog(LogLevel::Error, "direct");
  EXPECT_EQ(captured.text(), "");
}

TEST_F(LogMessageTest, PartsRunTogetherWithoutSeparator) {
  logMessage(LogLevel::Info, "manifest ready after ", 300, "ms");
  ASSERT_EQ(logger_->messages_.size(), 1u);
  EXPECT_EQ(logger_->messages_[0].level, LogLevel::Info);
  EXPECT_EQ(logger_->messages_[0].text, "manifest ready after 300ms");
  EXPECT_EQ(logger_->messages_[0].text.size(), 26u);
}

TEST_F(LogMessageTest, IntegersInPlainDecimal) {
  logMessage(LogLevel::Info, "a", -42, "b");
  logMessage(LogLevel::Info, 0);
  logMessage(LogLevel::Info, std::string("key="), 2147483647);
  ASSERT_EQ(logger_->messages_.size(), 3u);
  EXPECT_EQ(logger_->messages_[0].text, "a-42b");
  EXPECT_EQ(logger_->messages_[1].text, "0");
  EXPECT_EQ(logger_->messages_[2].text, "key=2147483647");
}

TEST_F(LogMessageTest, StringPartKeepsEmbeddedNulButCharPointerStopsAtIt) {
  const std::string withNul("ab\0cd", 5);
  const char* pointer = withNul.c_str();
  logMessage(LogLevel::Warn, withNul);
  logMessage(LogLevel::Warn, pointer);
  ASSERT_EQ(logger_->messages_.size(), 2u);
  EXPECT_EQ(logger_->messages_[0].text, withNul);
  EXPECT_EQ(logger_->messages_[0].text.size(), 5u);
  EXPECT_EQ(logger_->messages_[1].text, "ab");
}

TEST_F(LogMessageTest, EmptyStringDispatchesEmptyMessage) {
  logMessage(LogLevel::Error, std::string());
  ASSERT_EQ(logger_->messages_.size(), 1u);
  EXPECT_EQ(logger_->messages_[0].text, "");
}

TEST_F(LogMessageTest, BuildsAndDispatchesWhateverTheLevel) {
  logger_->SetLevel(LogLevel::Fatal);
  logMessage(LogLevel::Trace, "below the minimum");
  logMessage(static_cast<LogLevel>(42), "above the scale");
  logMessage(static_cast<LogLevel>(-7), "below the scale");
  ASSERT_EQ(logger_->messages_.size(), 3u);
  EXPECT_EQ(logger_->messages_[0].level, LogLevel::Trace);
  EXPECT_EQ(static_cast<int>(logger_->messages_[1].level), 42);
  EXPECT_EQ(static_cast<int>(logger_->messages_[2].level), -7);
}

TEST_F(LogMessageTest, DispatchPassesTheCallersViewWithoutCopying) {
  const std::string text = "manifest removed: vantorell.ostrel";
  const std::string_view view(text);
  dispatchLog(LogLevel::Info, view);
  ASSERT_EQ(logger_->messages_.size(), 1u);
  EXPECT_EQ(logger_->messages_[0].data, text.data());
  EXPECT_EQ(logger_->messages_[0].text, text);
}

TEST_F(LogMessageTest, MessageHasNoLineBreakOfItsOwn) {
  logMessage(LogLevel::Info,
             "manifest registered + auto-launch enabled: ", std::string("vantorell.ostrel"));
  ASSERT_EQ(logger_->messages_.size(), 1u);
  EXPECT_EQ(logger_->messages_[0].text,
            "manifest registered + auto-launch enabled: vantorell.ostrel");
}

}  // namespace
}  // namespace ostrel::common
