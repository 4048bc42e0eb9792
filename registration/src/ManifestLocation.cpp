#include "ostrel/registration/ManifestLocation.h"

#include "ostrel/text/WindowsPath.h"
#include "ostrel/manifestcheck/ManifestReader.h"

namespace ostrel::registration {

std::string folderOf(const std::string& path) { return text::windowsFolderOf(path); }

std::optional<ManifestLocation> readManifestLocation(const std::string& manifestPath,
                                                     const std::string& appKey,
                                                     std::string& error) {
  const manifestcheck::ManifestContents contents = manifestcheck::readManifest(manifestPath);
  if (contents.failure != manifestcheck::ManifestReadFailure::None) {
    error = contents.error;
    return std::nullopt;
  }
  for (const manifestcheck::ManifestApplication& application : contents.applications) {
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
