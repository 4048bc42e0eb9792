// Test support: a logger that keeps every message it is handed, and a scope
// that installs it as the process logger.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ostrel/common/ILogger.h"
#include "ostrel/common/LogLevel.h"

namespace ostrel::testing {

struct LoggedMessage {
  common::LogLevel level;
  std::string text;
  const char* data;  // where the view pointed, to tell a copy from a pass-through

  bool operator==(const LoggedMessage& other) const {
    return level == other.level && text == other.text;
  }
};

class CapturingLogger final : public common::ILogger {
 public:
  void Log(common::LogLevel level, std::string_view message) override {
    messages_.push_back({level, std::string(message), message.data()});
  }
  void SetLevel(common::LogLevel level) override { level_ = level; }
  common::LogLevel GetLevel() const override { return level_; }

  std::vector<LoggedMessage> messages_;

 private:
  common::LogLevel level_ = common::LogLevel::Info;
};

// Swaps a logger into the process slot for one test and puts the previous one
// back. Tests are single-threaded, so nothing logs while the slot changes.
class ScopedProcessLogger {
 public:
  explicit ScopedProcessLogger(std::shared_ptr<common::ILogger> logger)
      : previous_(std::exchange(common::processLogger, std::move(logger))) {}
  ~ScopedProcessLogger() { common::processLogger = std::move(previous_); }
  ScopedProcessLogger(const ScopedProcessLogger&) = delete;
  ScopedProcessLogger& operator=(const ScopedProcessLogger&) = delete;

 private:
  std::shared_ptr<common::ILogger> previous_;
};

}  // namespace ostrel::testing
