#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
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

// An ordinary message is laid out on the stack: building and dispatching it
// allocates nothing, at a level that is written or one that is dropped. Only a
// long message takes the heap, once, sized to fit.
TEST_F(LogMessageAllocations, OrdinaryMessagesAllocateNothingLongOnesOnce) {
  const std::string appKey = "vantorell.ostrel";
  EXPECT_EQ(allocationsToLog(LogLevel::Info, "polling for manifest install"), 0u);
  EXPECT_EQ(allocationsToLog(LogLevel::Debug, "manifest ready after ", 300, "ms"), 0u);
  EXPECT_EQ(allocationsToLog(LogLevel::Info, "manifest registered + auto-launch enabled: ", appKey),
            0u);
  const std::string fits(512 - 15, 'f');
  EXPECT_EQ(allocationsToLog(LogLevel::Error, "manifest path: ", fits), 0u);
  EXPECT_EQ(logger_->lastSize_, 512u);
  const std::string over(512 - 14, 'o');
  EXPECT_EQ(allocationsToLog(LogLevel::Error, "manifest path: ", over), 1u);
  EXPECT_EQ(logger_->lastSize_, 513u);
  // Long enough that a stream's buffer would have grown more than once.
  const std::string path(2000, 'p');
  EXPECT_EQ(allocationsToLog(LogLevel::Error, "manifest path: ", path), 1u);

  ASSERT_EQ(logger_->messages_, 6);
  EXPECT_EQ(logger_->lastSize_, 2015u);
  EXPECT_EQ(logger_->lastFirst_, 'm');
  EXPECT_EQ(logger_->lastLast_, 'p');
}

}  // namespace
}  // namespace ostrel::common
