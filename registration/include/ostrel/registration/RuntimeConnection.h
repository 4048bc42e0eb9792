// Reaching the runtime on demand. Callers ask for the applications surface
// only once they know they need it, so `check`, a refused `register` and a
// start-up that finds the registration right never load the OpenVR loader. Nothing here throws: a runtime
// that cannot be reached is a RuntimeFailure. Not synchronised: one thread,
// and one connected connector per process, since the OpenVR loader keeps one
// runtime connection per process.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "ostrel/runtimeregistry/ActiveRuntime.h"
#include "ostrel/openvr/OpenVRApplicationsSurface.h"
#include "ostrel/steamvr/Sleeper.h"

namespace ostrel::registration {

// Why the runtime could not be reached.
struct RuntimeFailure {
  // One line for a person: what the loader or the system said, then what to
  // do about it.
  std::string message;
  // The loader's VRInitError symbol ("VRInitError_Init_PathRegistryNotFound")
  // when the runtime refused the start, else the session's error kind
  // ("LibraryNotFound", ...); empty when not known.
  std::string symbol;
  // What usually causes it and what to do; empty when there is nothing to add.
  std::string advice;
  // Set when the active OpenVR runtime is not SteamVR: the loader was then
  // not loaded at all (symbol "RuntimeNotSteamVR").
  std::optional<runtimeregistry::ActiveRuntime> notSteamVR;
};

// RuntimeFailure::symbol when the active runtime is not SteamVR.
inline constexpr const char* kRuntimeNotSteamVRSymbol = "RuntimeNotSteamVR";

class IRuntimeConnector {
 public:
  virtual ~IRuntimeConnector() = default;

  // The surface over a live runtime, owned by the connector and valid until
  // it is destroyed; nullptr with the reason in `failure` (at least its
  // message) when the runtime cannot be reached. `loaderPath` is UTF-8;
  // empty: the session's default search. Each command calls it at most once.
  virtual openvr::OpenVRApplicationsSurface* Connect(const std::string& loaderPath,
                                                      RuntimeFailure& failure) = 0;
};

// What the OpenVR connector reads and waits through; all borrowed, and must
// outlive it. Null members: the plain sleep, the process environment, the
// disk.
struct OpenVRConnectorOptions {
  steamvr::ISleeper* sleeper = nullptr;
  runtimeregistry::IRegistryEnvironment* environment = nullptr;
  runtimeregistry::IRegistryFiles* files = nullptr;
};

// Connects by opening an OpenVRSession and the surface over it; nothing is
// loaded before the first Connect. First it resolves the runtime the loader
// would start (resolveActiveRuntime, through the options' environment and
// files): a runtime that is not SteamVR is never called into, and Connect
// fails with notSteamVR set and the loader not loaded; a folder that cannot
// be resolved leaves the decision to the loader. The session waits between
// its tries through the options' sleeper. Once connected it gives the same surface
// to every later Connect, whatever its `loaderPath`, and leaves `failure`
// alone; after a failure the next Connect tries again. Destroying it closes
// the surface, then the session (the runtime connection, the loader). Never
// returns null.
std::unique_ptr<IRuntimeConnector> createOpenVRConnector(const OpenVRConnectorOptions& options = {});

}  // namespace ostrel::registration
