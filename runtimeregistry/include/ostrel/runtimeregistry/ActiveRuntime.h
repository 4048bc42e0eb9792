// Which OpenVR runtime the loader would start, judged from the runtime's own
// files before the loader is loaded.
//
// The loader starts whatever runtime the path registry (or VR_OVERRIDE)
// names first, and that need not be SteamVR: OpenComposite and xrizer
// imitate SteamVR's interfaces on top of OpenXR, and their applications
// interface accepts a manifest and does nothing, or aborts the process.
// Registrations are SteamVR's, so a caller asks here first and does not call
// into another runtime at all. Reads through the same injected environment
// and files as the registry reader; never writes. Thread-compatible.
#pragma once

#include <optional>
#include <string>

#include "ostrel/runtimeregistry/RegistryFindingCodes.h"
#include "ostrel/runtimeregistry/RuntimeRegistry.h"

namespace ostrel::runtimeregistry {

struct ActiveRuntime {
  // The path registry looked at (UTF-8), whether or not it is there; empty
  // when not even its place is known.
  std::string registryFile;
  // The runtime folder the loader would use (UTF-8, as the environment or the
  // path registry gives it); nullopt when the loader would find none: no
  // readable path registry (unless VR_OVERRIDE, VR_CONFIG_PATH and
  // VR_LOG_PATH all stand in for it, as the loader allows), or neither
  // VR_OVERRIDE nor a runtime entry. The loader then fails on its own, with
  // its own reason.
  std::optional<std::string> folder;
  // Why no folder could be told from a path registry that is there (it
  // cannot be read, or names no runtime): one clause for a person. The loader
  // may read such a file otherwise and start whatever it finds, so a caller
  // calls no runtime then. Empty when the folder is known, or when there is
  // no path registry at all (the loader then refuses to start anything).
  std::string unresolved;
  // The folder holds SteamVR's server (bin\win64\vrserver.exe on Windows,
  // bin/linux64/vrserver on Linux). This alone decides.
  bool steamVR = false;
  // "OpenComposite" or "xrizer" when the folder's text names one of them (in
  // any letter case), else empty. A hint for people, never a decision.
  std::string name;
};

// Resolves the runtime folder as the loader does: VR_OVERRIDE when it is set
// and not empty, else runtime[0] of openvrpaths.vrpath, found as
// readRuntimeRegistry finds it (VR_PATHREG_OVERRIDE, else the per-user
// folder); then looks for the server file in it.
ActiveRuntime resolveActiveRuntime(IRegistryEnvironment& environment, IRegistryFiles& files);

// Why nothing was asked of a runtime that is not SteamVR, and what to do; one
// line for a person, meant for a resolved folder:
// "the active OpenVR runtime is not SteamVR: <folder> (<name>); registrations
// belong to SteamVR: ..." (" (<name>)" only when a name was recognised).
// Control characters in the folder are written as \xNN and a very long folder
// is shortened.
std::string notSteamVRReason(const ActiveRuntime& runtime);

// Why nothing was asked of a runtime that could not be told, and what to do;
// one line for a person, meant for a runtime whose `unresolved` is set.
std::string unresolvedRuntimeReason(const ActiveRuntime& runtime);

// The finding that reports a runtime that is not SteamVR beside the files'
// view of the registration: code kRuntimeNotSteamVRCode, an error, naming the
// folder (and the runtime when recognised) and what to do.
inline constexpr const char* kRuntimeNotSteamVRCode = findings::kRuntimeNotSteamVR;
RegistryFinding runtimeNotSteamVRFinding(const ActiveRuntime& runtime);

}  // namespace ostrel::runtimeregistry
