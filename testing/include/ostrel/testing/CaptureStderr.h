// Test support: redirects std::cerr into a string for the lifetime of a scope.
#pragma once

#include <iostream>
#include <sstream>
#include <string>

namespace ostrel::testing {

class CaptureStderr {
 public:
  CaptureStderr() : previous_(std::cerr.rdbuf(buffer_.rdbuf())) {}
  ~CaptureStderr() {
    std::cerr.rdbuf(previous_);
    std::cerr.fill(' ');
  }
  CaptureStderr(const CaptureStderr&) = delete;
  CaptureStderr& operator=(const CaptureStderr&) = delete;

  std::string text() const { return buffer_.str(); }

 private:
  std::ostringstream buffer_;
  std::streambuf* previous_;
};

}  // namespace ostrel::testing
