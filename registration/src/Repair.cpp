#include "ostrel/registration/Repair.h"

#include "ostrel/common/ILogger.h"

namespace ostrel::registration {

std::vector<std::string> planRepair(const runtimeregistry::RuntimeRegistry& registry) {
  std::vector<std::string> plan;
  if (!registry.known()) return plan;
  for (std::size_t index : registry.otherDeclaring()) {
    const runtimeregistry::ListedManifest& listed = registry.manifests[index];
    // otherDeclaring() already holds to this; the check keeps a removal of
    // another application's entry impossible whatever it comes to hold.
    if (listed.declaresKey) plan.push_back(listed.path);
  }
  return plan;
}

RemovalOutcome removeListedCopies(steamvr::IVRApplicationsSurface& surface,
                                  const std::vector<std::string>& plan) {
  RemovalOutcome outcome;
  for (const std::string& entry : plan) {
    const steamvr::ApplicationError error = surface.RemoveApplicationManifest(entry.c_str());
    if (error != steamvr::kApplicationErrorNone) {
      outcome.refused = entry;
      outcome.error = error;
      return outcome;
    }
    common::logMessage(common::LogLevel::Info, "stale manifest removed: ", entry);
    outcome.removed.push_back(entry);
  }
  return outcome;
}

std::vector<RemovalAttempt> removeEachListed(steamvr::IVRApplicationsSurface& surface,
                                             const std::vector<std::string>& entries) {
  std::vector<RemovalAttempt> attempts;
  attempts.reserve(entries.size());
  for (const std::string& entry : entries) {
    const steamvr::ApplicationError error = surface.RemoveApplicationManifest(entry.c_str());
    const char* name = surface.ErrorName(error);
    if (error == steamvr::kApplicationErrorNone) {
      common::logMessage(common::LogLevel::Info, "listed manifest removed: ", entry);
    } else {
      common::logMessage(common::LogLevel::Warn, "RemoveApplicationManifest(", entry, "): ", name);
    }
    attempts.push_back({entry, error, name});
  }
  return attempts;
}

}  // namespace ostrel::registration
