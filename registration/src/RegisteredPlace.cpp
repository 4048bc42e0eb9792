#include "ostrel/registration/RegisteredPlace.h"

#include "ostrel/text/WindowsPath.h"

namespace ostrel::registration {

namespace {

std::string expectedBinary(const ManifestLocation& manifest) {
  const std::string& binary = *manifest.binaryPath;
  if (text::isWindowsAbsolute(binary) || manifest.folder.empty()) return binary;
  return manifest.folder + "\\" + binary;
}

}  // namespace

bool sameWindowsPath(const std::string& a, const std::string& b) {
  return text::sameWindowsPath(a, b);
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

}  // namespace ostrel::registration
