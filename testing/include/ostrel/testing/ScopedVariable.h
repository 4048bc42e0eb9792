// Sets (or, for nullopt, unsets) a variable of the process environment for
// one test and restores it afterwards. POSIX only (setenv): the Windows tests
// hand the readers their environment in memory instead.
#pragma once

#include <stdlib.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace ostrel::testing {

class ScopedVariable {
 public:
  ScopedVariable(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* previous = std::getenv(name)) previous_ = previous;
    apply(value);
  }
  ~ScopedVariable() { apply(previous_); }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  void apply(const std::optional<std::string>& value) {
    if (value) {
      setenv(name_, value->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }
  const char* name_;
  std::optional<std::string> previous_;
};

}  // namespace ostrel::testing
