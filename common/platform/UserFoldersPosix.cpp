// POSIX side of the environment and per-user folders.
#include <cstdlib>

#include "platform/Platform.h"

namespace ostrel::platform {

std::optional<std::string> environmentVariable(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

// The XDG base directory rules: a relative $XDG_CONFIG_HOME is to be ignored.
std::filesystem::path userRuntimeConfigFolder(std::string& error) {
  if (const std::optional<std::string> xdg = environmentVariable("XDG_CONFIG_HOME");
      xdg && !xdg->empty() && xdg->front() == '/') {
    error.clear();
    return std::filesystem::path(*xdg);
  }
  const std::optional<std::string> home = environmentVariable("HOME");
  if (!home || home->empty()) {
    error = "neither XDG_CONFIG_HOME nor HOME is set";
    return {};
  }
  error.clear();
  return std::filesystem::path(*home) / ".config";
}

}  // namespace ostrel::platform
