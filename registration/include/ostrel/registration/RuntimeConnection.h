// Reaching the runtime on demand. Callers ask for the applications surface
// only once they know they need it, so `check`, a refused `register` and a
// start-up that finds the registration right never load the OpenVR loader.
// Nothing here throws: a runtime that cannot be reached is a RuntimeFailure. Not synchronised: one thread,
// and one connected connector per process, since the OpenVR loader keeps one
// runtime connection per process.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "ostrel/runtimeregistry/ActiveRuntime.h"
#include "ostrel/openvr/OpenVRApplicationsSurface.h"
#include "ostrel/openvr/OpenVRSession.h"
#include "ostrel/outcome/Outcome.h"
#include "ostrel/steamvr/Sleeper.h"

namespace ostrel::registration {

// Why the runtime could not be reached: the session's own failure. Through a
// connector its message is one line for a person, what the loader or the
// system said and then what to do about it; its code is the loader's
// VRInitError symbol when the runtime refused the start, else the kind's name
// ("LibraryNotFound", "RuntimeNotSteamVR", ...).
using RuntimeFailure = openvr::RuntimeFailure;

// What Connect gives: the surface, owned by the connector, or why not.
using Connection = outcome::Outcome<openvr::OpenVRApplicationsSurface*, RuntimeFailure>;

// RuntimeFailure::code when the active runtime is not SteamVR.
inline constexpr const char* kRuntimeNotSteamVRSymbol = "RuntimeNotSteamVR";
// RuntimeFailure::code when a path registry is there but which runtime it
// starts cannot be told.
inline constexpr const char* kRuntimeUnresolvedSymbol = "RuntimeUnresolved";

class IRuntimeConnector {
 public:
  virtual ~IRuntimeConnector() = default;

  // The surface over a live runtime, never null, owned by the connector and
  // valid until it is destroyed; the reason (at least its message) when the
  // runtime cannot be reached. `loaderPath` is UTF-8; empty: the session's
  // default search. Each command calls it at most once.
  virtual Connection Connect(const std::string& loaderPath) = 0;
};

// What the OpenVR connector reads and waits through; all borrowed, and must
// outlive it. Null members: the plain sleep, the process environment, the
// disk.
struct OpenVRConnectorOptions {
  steamvr::ISleeper* sleeper = nullptr;
  runtimeregistry::IRegistryEnvironment* environment = nullptr;
  runtimeregistry::IRegistryFiles* files = nullptr;
  // Where the loader is looked for first without a loader path (UTF-8).
  // Empty: the running executable's folder.
  std::string programFolder;
};

// Connects by opening an OpenVRSession and the surface over it; nothing is
// loaded before the first Connect. First it resolves the runtime the loader
// would start (resolveActiveRuntime, through the options' environment and
// files): a runtime that is not SteamVR is never called into, and Connect
// fails with kind RuntimeNotSteamVR and the loader not loaded; nor is one
// that a path registry which is there does not tell (RuntimeUnresolved).
// Without any path registry the loader decides, and refuses on its own. The session waits between
// its tries through the options' sleeper. Once connected it gives the same
// surface to every later Connect, whatever its `loaderPath`; after a failure
// the next Connect tries again. Destroying it closes
// the surface, then the session (the runtime connection, the loader). Never
// returns null.
std::unique_ptr<IRuntimeConnector> createOpenVRConnector(const OpenVRConnectorOptions& options = {});

}  // namespace ostrel::registration
