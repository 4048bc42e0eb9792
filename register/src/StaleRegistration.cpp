#include "StaleRegistration.h"

#include "ostrel/steamvr/RuntimeRegistry.h"

namespace ostrel::registercli {

namespace {

bool isAbsoluteWindowsPath(const std::string& path) {
  const auto separator = [](char c) { return c == '\\' || c == '/'; };
  if (path.size() >= 2 && separator(path[0]) && separator(path[1])) return true;
  return path.size() >= 3 && path[1] == ':' && separator(path[2]) &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

std::string expectedBinary(const ManifestLocation& manifest) {
  const std::string& binary = *manifest.binaryPath;
  if (isAbsoluteWindowsPath(binary) || manifest.folder.empty()) return binary;
  return manifest.folder + "\\" + binary;
}

}  // namespace

bool sameWindowsPath(const std::string& a, const std::string& b) {
  return steamvr::sameRuntimePath(a, b);
}

PlaceVerdict judgeRegisteredPlace(const RegisteredPlace& registered,
                                  const ManifestLocation& manifest) {
  if (manifest.binaryPath && !registered.binaryPath.empty()) {
    const std::string expected = expectedBinary(manifest);
    if (!sameWindowsPath(expected, registered.binaryPath)) {
      return {PlaceMatch::Differs,
              "stale: the runtime starts " + registered.binaryPath + ", but this manifest names " +
                  expected +
                  "; the registration comes from another copy of the manifest (the application "
                  "was moved or reinstalled). Run `ostrel-register repair` with this "
                  "manifest."};
    }
  }
  if (!registered.workingDirectory.empty() && !manifest.folder.empty()) {
    const bool inManifestFolder = sameWindowsPath(registered.workingDirectory, manifest.folder);
    const bool inBinaryFolder =
        manifest.binaryPath &&
        sameWindowsPath(registered.workingDirectory, folderOf(expectedBinary(manifest)));
    if (!inManifestFolder && !inBinaryFolder) {
      return {PlaceMatch::Differs,
              "stale: the runtime starts the application in " + registered.workingDirectory +
                  ", which is not this manifest's folder " + manifest.folder +
                  "; the registration comes from another copy of the manifest. Run "
                  "`ostrel-register repair` with this manifest."};
    }
    return {PlaceMatch::Matches, "current: the registration points at this manifest's location"};
  }
  if (manifest.binaryPath && !registered.binaryPath.empty()) {
    return {PlaceMatch::Matches, "current: the registration points at this manifest's location"};
  }
  return {PlaceMatch::Unknown,
          "unknown: the runtime reported no binary path or working directory to compare"};
}

}  // namespace ostrel::registercli
