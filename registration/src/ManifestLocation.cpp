#include "ostrel/registration/ManifestLocation.h"

#include "ostrel/common/WindowsPath.h"
#include "ostrel/steamvr/ManifestReader.h"

namespace ostrel::registration {

std::string folderOf(const std::string& path) { return common::windowsFolderOf(path); }

std::optional<ManifestLocation> readManifestLocation(const std::string& manifestPath,
                                                     const std::string& appKey,
                                                     std::string& error) {
  const steamvr::ManifestContents contents = steamvr::readManifest(manifestPath);
  if (contents.failure != steamvr::ManifestReadFailure::None) {
    error = contents.error;
    return std::nullopt;
  }
  for (const steamvr::ManifestApplication& application : contents.applications) {
    if (application.appKey != appKey) continue;
    ManifestLocation location;
    location.folder = folderOf(manifestPath);
    location.binaryPath = application.binaryPathWindows;
    error.clear();
    return location;
  }
  error = manifestPath + " has no application with app_key \"" + appKey + "\"";
  return std::nullopt;
}

}  // namespace ostrel::registration
