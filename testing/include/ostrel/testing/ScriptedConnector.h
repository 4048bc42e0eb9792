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
  openvr::OpenVRApplicationsSurface* Connect(const std::string& loaderPath,
                                              registration::RuntimeFailure& given) override {
    ++connects;
    askedLoader = loaderPath;
    if (!reachable) {
      given = failure;
      return nullptr;
    }
    return &surface;
  }

  ScriptedApplicationsSurface surface;
  bool reachable = true;
  registration::RuntimeFailure failure{"VR_InitInternal2 failed: VRInitError_Init_HmdNotFound (108)",
                                       "VRInitError_Init_HmdNotFound", "start SteamVR", std::nullopt};
  // Atomic, so a test may watch work on another thread reach for the runtime.
  std::atomic<int> connects{0};
  std::string askedLoader;
};

}  // namespace ostrel::testing
