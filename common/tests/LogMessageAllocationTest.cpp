#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>

#include "ostrel/common/ILogger.h"
#include "ostrel/testing/AllocationCounter.h"
#include "ostrel/testing/CapturingLogger.h"

namespace ostrel::common {
namespace {

// Keeps only what it can without allocating, so that every allocation
// counted during a call belongs to logMessage.
class CountingLogger final : public ILogger {
 public:
  void Log(LogLevel, std::string_view message) override {
    ++messages_;
    lastSize_ = message.size();
    lastFirst_ = message.empty() ? '\0' : message.front();
    lastLast_ = message.empty() ? '\0' : message.back();
  }
  void SetLevel(LogLevel level) override { level_ = level; }
  LogLevel GetLevel() const override { return level_; }

  int messages_ = 0;
  std::size_t lastSize_ = 0;
  char lastFirst_ = '\0';
  char lastLast_ = '\0';

 private:
  LogLevel level_ = LogLevel::Info;
};

// What building the message costs on its own: the same parts into a stream.
template <typename... Parts>
std::uint64_t allocationsToBuild(const Parts&... parts) {
  const std::uint64_t before = testing::allocationCount();
  std::ostringstream stream;
  (stream << ... << parts);
  const std::size_t size = stream.view().size();
  const std::uint64_t made = testing::allocationCount() - before;
  EXPECT_GT(size, 0u);
  return made;
}

template <typename... Parts>
std::uint64_t allocationsToLog(LogLevel level, const Parts&... parts) {
  const std::uint64_t before = testing::allocationCount();
  logMessage(level, parts...);
  return testing::allocationCount() - before;
}

class LogMessageAllocations : public ::testing::Test {
 protected:
  std::shared_ptr<CountingLogger> logger_ = std::make_shared<CountingLogger>();
  testing::ScopedProcessLogger scope_{logger_};
};

// The message is built in the stream's buffer and handed on from there; a
// copy into a string of its own would be a second allocation for every
// message too long for the small-string buffer.
TEST_F(LogMessageAllocations, DispatchingAddsNothingToBuildingTheMessage) {
  const std::string appKey = "vantorell.ostrel";
  EXPECT_EQ(allocationsToLog(LogLevel::Info, "polling for manifest install"),
            allocationsToBuild("polling for manifest install"));
  EXPECT_EQ(allocationsToLog(LogLevel::Info, "manifest ready after ", 300, "ms"),
            allocationsToBuild("manifest ready after ", 300, "ms"));
  EXPECT_EQ(allocationsToLog(LogLevel::Info, "manifest registered + auto-launch enabled: ", appKey),
            allocationsToBuild("manifest registered + auto-launch enabled: ", appKey));
  // Long enough for the stream's buffer to grow more than once.
  const std::string path(2000, 'p');
  EXPECT_EQ(allocationsToLog(LogLevel::Error, "manifest path: ", path),
            allocationsToBuild("manifest path: ", path));

  ASSERT_EQ(logger_->messages_, 4);
  EXPECT_EQ(logger_->lastSize_, 2015u);
  EXPECT_EQ(logger_->lastFirst_, 'm');
  EXPECT_EQ(logger_->lastLast_, 'p');
}

}  // namespace
}  // namespace ostrel::common
