// POSIX side of the environment and per-user folders.
#include <cstdlib>

#include "platform/Platform.h"

namespace ostrel::platform {

std::optional<std::string> environmentVariable(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

// As the OpenVR loader finds it, which is what counts: $XDG_CONFIG_HOME as
// given whenever it is set and not empty (the XDG rules would ignore a
// relative one; the loader does not), else $HOME/.config.
outcome::Outcome<std::filesystem::path> userRuntimeConfigFolder() {
  if (const std::optional<std::string> xdg = environmentVariable("XDG_CONFIG_HOME");
      xdg && !xdg->empty()) {
    return std::filesystem::path(*xdg);
  }
  const std::optional<std::string> home = environmentVariable("HOME");
  if (!home || home->empty()) {
    return outcome::Failure{"", "neither XDG_CONFIG_HOME nor HOME is set", ""};
  }
  return std::filesystem::path(*home) / ".config";
}

}  // namespace ostrel::platform
