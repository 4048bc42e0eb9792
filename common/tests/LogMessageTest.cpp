#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

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

// The message's bytes are defined by what a default std::ostringstream makes
// of the parts; logMessage builds them without one. Each row logs its parts
// and inserts the same parts into a stream, and the two must agree byte for
// byte, as one message.
template <typename... Parts>
std::function<void(CapturingLogger&)> row(Parts... parts) {
  return [=](CapturingLogger& logger) {
    std::ostringstream stream;
    (stream << ... << parts);
    const std::size_t before = logger.messages_.size();
    logMessage(LogLevel::Warn, parts...);
    ASSERT_EQ(logger.messages_.size(), before + 1);
    EXPECT_EQ(logger.messages_.back().text, stream.str());
    EXPECT_EQ(logger.messages_.back().text.size(), stream.str().size());
  };
}

TEST_F(LogMessageTest, SameBytesAsTheStreamGives) {
  const char* const nullText = nullptr;
  char buffer[] = "mutable\0hidden";
  const struct {
    const char* name;
    std::function<void(CapturingLogger&)> check;
  } rows[] = {
      {"int max", row(INT_MAX)},
      {"int min", row(INT_MIN)},
      {"int min between texts", row("a", INT_MIN, "b")},
      {"int max after int min", row(INT_MIN, INT_MAX)},
      {"minus one", row(-1)},
      {"zero", row(0)},
      {"negative powers of ten", row(-10, " ", -100, " ", -1000000000)},
      {"positive powers of ten", row(10, " ", 100, " ", 1000000000)},
      {"string of one NUL", row(std::string(1, '\0'))},
      {"string with NULs inside and at the end", row(std::string("a\0b\0", 4), 7)},
      {"NULs only", row(std::string(3, '\0'), std::string(2, '\0'))},
      {"char pointer stops at its NUL", row("ab\0cd", std::string("e\0f", 3))},
      {"mutable char array", row(static_cast<char*>(buffer), 1)},
      {"empty string", row(std::string())},
      {"empty literal", row("")},
      {"empty parts around an int", row("", 0, std::string(), "")},
      {"empty strings only", row(std::string(), std::string(), std::string())},
      {"null char pointer ends the message", row("before ", nullText, " after", 5)},
      {"null char pointer first", row(nullText, "after")},
      {"message the stack holds exactly", row(std::string(502, 's'), "-", 12345678, "x")},
      {"message one byte longer", row(std::string(502, 's'), "-", -12345678, "x")},
      {"long message", row("path: ", std::string(5000, 'p'), " code ", -2147483647)},
      {"many parts", row("a", 1, "b", -2, std::string("c"), 3, "", 44, std::string(), 555)},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    r.check(*logger_);
  }
}

}  // namespace
}  // namespace ostrel::common
