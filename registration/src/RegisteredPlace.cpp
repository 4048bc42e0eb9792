#include "ostrel/registration/RegisteredPlace.h"

#include "ostrel/text/HostPath.h"
#include "platform/Platform.h"

namespace ostrel::registration {

namespace {

std::string expectedBinary(const ManifestLocation& manifest) {
  const std::string& binary = *manifest.binaryPath;
  if (text::isFullPath(binary) || manifest.folder.empty()) return binary;
  return manifest.folder + text::pathSeparator() + binary;
}

}  // namespace

bool sameRegisteredPath(const std::string& a, const std::string& b) {
  if (text::samePath(a, b)) return true;
  if (a.find('\0') != std::string::npos || b.find('\0') != std::string::npos) return false;
  return platform::sameExistingFile(platform::pathFromUtf8(a), platform::pathFromUtf8(b));
}

PlaceVerdict judgeRegisteredPlace(const RegisteredPlace& registered,
                                  const ManifestLocation& manifest) {
  if (manifest.binaryPath && !registered.binaryPath.empty()) {
    const std::string expected = expectedBinary(manifest);
    if (!sameRegisteredPath(expected, registered.binaryPath)) {
      return {PlaceMatch::Differs,
              "stale: the runtime starts " + registered.binaryPath + ", but this manifest names " +
                  expected +
                  "; the registration comes from another copy of the manifest (the application "
                  "was moved or reinstalled). Run `ostrel-register repair` with this "
                  "manifest."};
    }
  }
  if (!registered.workingDirectory.empty() && !manifest.folder.empty()) {
    const bool inManifestFolder = sameRegisteredPath(registered.workingDirectory, manifest.folder);
    const bool inBinaryFolder =
        manifest.binaryPath &&
        sameRegisteredPath(registered.workingDirectory, folderOf(expectedBinary(manifest)));
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
