// A runtime connection for tests: Connect hands out the scripted surface, or
// fails with `failure` when the runtime is made unreachable, and counts the
// calls, so a test can prove that nothing reached for the runtime at all.
#pragma once

#include <atomic>
#include <optional>
#include <string>

#include "ostrel/registration/RuntimeConnection.h"
#include "ostrel/testing/ScriptedApplicationsSurface.h"

namespace ostrel::testing {

class ScriptedConnector final : public registration::IRuntimeConnector {
 public:
  registration::Connection Connect(const std::string& loaderPath) override {
    ++connects;
    askedLoader = loaderPath;
    if (!reachable) return failure;
    return &surface;
  }

  ScriptedApplicationsSurface surface;
  bool reachable = true;
  registration::RuntimeFailure failure{
      {"VRInitError_Init_HmdNotFound", "VR_InitInternal2 failed: VRInitError_Init_HmdNotFound (108)",
       "start SteamVR"},
      openvr::OpenVRSessionErrorKind::InitFailed,
      108,
      1};
  // Atomic, so a test may watch work on another thread reach for the runtime.
  std::atomic<int> connects{0};
  std::string askedLoader;
};

}  // namespace ostrel::testing
