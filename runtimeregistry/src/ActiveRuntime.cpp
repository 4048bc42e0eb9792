#include "ostrel/runtimeregistry/ActiveRuntime.h"

#include <string_view>
#include <utility>

#include "PathRegistry.h"
#include "RuntimeServer.h"
#include "ShownText.h"
#include "ostrel/text/WindowsPath.h"
#include "platform/Platform.h"

namespace ostrel::runtimeregistry {

using manifestcheck::FindingSeverity;

namespace {

using runtimeregistry::nonEmptyVariable;
using runtimeregistry::PathRegistryFile;

constexpr const char* kWhatToDo =
    "make SteamVR the active runtime (SteamVR's settings, or its vrpathreg tool) and register "
    "again, or let the application register itself at its next start";

// Only the file's presence counts; its bytes are not wanted.
constexpr std::size_t kPresenceReadLimit = 0;

// The loader refuses to start any runtime when it cannot read the path
// registry, unless its three variables all stand in for the file.
bool loaderHasPaths(const PathRegistryFile& registry, IRegistryEnvironment& environment) {
  if (registry.status == PathRegistryFile::Status::Read) return true;
  for (const char* name : {"VR_OVERRIDE", "VR_CONFIG_PATH", "VR_LOG_PATH"}) {
    if (!nonEmptyVariable(environment, name)) return false;
  }
  return true;
}

bool holdsServer(const std::string& folder, IRegistryFiles& files) {
  // A NUL would cut the path short of the folder that was named.
  if (folder.find('\0') != std::string::npos) return false;
  const std::filesystem::path server =
      platform::pathFromUtf8(folder) / platform::pathFromUtf8(runtimeregistry::runtimeServerFile());
  return files.Read(server, kPresenceReadLimit).status == FileRead::Status::Read;
}

std::string recognisedName(std::string_view folder) {
  std::string lower(folder);
  for (char& c : lower) c = text::asciiLower(c);
  if (lower.find("opencomposite") != std::string::npos) return "OpenComposite";
  if (lower.find("xrizer") != std::string::npos) return "xrizer";
  return {};
}

std::string withName(std::string folder, const ActiveRuntime& runtime) {
  if (!runtime.name.empty()) folder += " (" + runtime.name + ")";
  return folder;
}

}  // namespace

ActiveRuntime resolveActiveRuntime(IRegistryEnvironment& environment, IRegistryFiles& files) {
  ActiveRuntime runtime;
  const PathRegistryFile registry = runtimeregistry::readPathRegistryFile(environment, files);
  runtime.registryFile = platform::pathToUtf8(registry.file);
  const std::string shown = escapedText(runtime.registryFile);
  if (!loaderHasPaths(registry, environment)) {
    // A file the loader may read where this reader cannot (one over the size
    // cap, or nested deeper) must not be left to the loader to judge.
    if (registry.status == PathRegistryFile::Status::Unreadable) {
      runtime.unresolved = "the runtime's path registry " + shown + " cannot be read (" +
                           escapedText(registry.problem) + ")";
    }
    return runtime;
  }
  runtime.folder = nonEmptyVariable(environment, "VR_OVERRIDE");
  if (!runtime.folder) runtime.folder = registry.runtime;
  if (!runtime.folder) {
    if (registry.status == PathRegistryFile::Status::Read) {
      runtime.unresolved = "the runtime's path registry " + shown +
                           " names no runtime folder (its \"runtime\" list holds no path first)";
    }
    return runtime;
  }
  runtime.steamVR = holdsServer(*runtime.folder, files);
  runtime.name = recognisedName(*runtime.folder);
  return runtime;
}

std::string notSteamVRReason(const ActiveRuntime& runtime) {
  return "the active OpenVR runtime is not SteamVR: " +
         withName(runtimeregistry::escapedText(runtime.folder.value_or("")), runtime) +
         "; registrations belong to SteamVR: " + kWhatToDo;
}

std::string unresolvedRuntimeReason(const ActiveRuntime& runtime) {
  return runtime.unresolved +
         ", so which OpenVR runtime would start cannot be told, and none is called: start "
         "SteamVR once, which writes the file again (or set VR_OVERRIDE to SteamVR's folder)";
}

RegistryFinding runtimeNotSteamVRFinding(const ActiveRuntime& runtime) {
  std::string message = "the active OpenVR runtime is " +
                        withName(runtimeregistry::shownText(runtime.folder.value_or("")), runtime) +
                        ", not SteamVR: that folder holds no " +
                        runtimeregistry::runtimeServerFile() +
                        "; registrations belong to SteamVR, and that runtime does not keep them: ";
  message += kWhatToDo;
  return {FindingSeverity::Error, kRuntimeNotSteamVRCode, std::move(message)};
}

}  // namespace ostrel::runtimeregistry
