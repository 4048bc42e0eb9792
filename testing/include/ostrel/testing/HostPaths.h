// Paths for tests that run on both platforms. The runtime reads Windows
// paths on Windows and POSIX paths on Linux, and so does the program built
// for each, so a test names each path in both forms and gets the one of the
// platform built for. Which one that is, the build's own path rules say.
#pragma once

#include <string>
#include <utility>

#include "ostrel/text/HostPath.h"

namespace ostrel::testing {

// Whether this is a Windows build (run natively or under Wine).
inline bool windowsHost() { return text::refusedSeparator() == '/'; }

// `windowsForm` in a Windows build, `posixForm` elsewhere.
inline std::string onHost(std::string windowsForm, std::string posixForm) {
  return windowsHost() ? std::move(windowsForm) : std::move(posixForm);
}

}  // namespace ostrel::testing
