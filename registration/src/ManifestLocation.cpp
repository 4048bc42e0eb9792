#include "ostrel/registration/ManifestLocation.h"

#include "HostBinaryPath.h"
#include "ostrel/manifestcheck/ManifestReader.h"
#include "ostrel/text/HostPath.h"

namespace ostrel::registration {

std::string folderOf(const std::string& path) { return text::folderOf(path); }

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
    location.binaryPath = hostBinaryPath(application, manifestPath, appKey);
    error.clear();
    return location;
  }
  error = manifestPath + " has no application with app_key \"" + appKey + "\"";
  return std::nullopt;
}

}  // namespace ostrel::registration
