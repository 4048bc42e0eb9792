// Repairing a stale registration: the runtime serves a key from the first
// listed manifest that declares it, so a copy left by an old install folder
// wins over the manifest that should serve it, and registering again cannot
// change that. The repair removes the other copies through the runtime.
//
// Only listed manifests that declare the key are ever removed: every other
// entry belongs to another application. The runtime's files are only read;
// every change goes through the runtime's API. Not synchronised: one thread,
// as the surface asks.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ostrel/steamvr/IVRApplicationsSurface.h"
#include "ostrel/runtimeregistry/RuntimeRegistry.h"

namespace ostrel::registration {

// The listed manifests a repair removes, as listed (UTF-8), in the runtime's
// order: each one other than the manifest the registry was read for that
// declares the key (RuntimeRegistry::otherDeclaring). Empty when the list is
// not known or nothing else declares the key.
std::vector<std::string> planRepair(const runtimeregistry::RuntimeRegistry& registry);

struct RemovalOutcome {
  // The entries the runtime removed, in order.
  std::vector<std::string> removed;
  // The entry the runtime refused to remove, where the removals stopped.
  std::optional<std::string> refused;
  // The runtime's answer for `refused`; kApplicationErrorNone otherwise.
  steamvr::ApplicationError error = steamvr::kApplicationErrorNone;
};

// Removes each entry of `plan` through `surface`, in order, each removal
// checked and logged through the process logger ("stale manifest removed:
// <path>"); stops at the first the runtime refuses, which is left for the
// caller to report. Never throws but what the
// surface throws (and std::bad_alloc).
RemovalOutcome removeListedCopies(steamvr::IVRApplicationsSurface& surface,
                                  const std::vector<std::string>& plan);

// One removal through the runtime: the entry, as listed, and the runtime's
// answer (kApplicationErrorNone when it removed the entry).
struct RemovalAttempt {
  std::string entry;
  steamvr::ApplicationError error = steamvr::kApplicationErrorNone;
  // The surface's name for `error` (static storage, never null).
  const char* errorName = "";
};

// Removes each entry of `entries` through `surface`, in order, each removal
// checked and logged through the process logger ("listed manifest removed:
// <path>", or a warning naming the runtime's answer); a refusal does not
// stop the others. The caller decides which entries are its to remove.
// Never throws but what the surface throws (and std::bad_alloc).
std::vector<RemovalAttempt> removeEachListed(steamvr::IVRApplicationsSurface& surface,
                                             const std::vector<std::string>& entries);

}  // namespace ostrel::registration
