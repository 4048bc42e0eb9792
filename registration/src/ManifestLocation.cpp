#include "ostrel/registration/ManifestLocation.h"

#include "ostrel/manifestcheck/ManifestReader.h"
#include "ostrel/text/HostPath.h"

namespace ostrel::registration {

std::string folderOf(const std::string& path) { return text::folderOf(path); }

outcome::Outcome<ManifestLocation> readManifestLocation(const std::string& manifestPath,
                                                        const std::string& appKey) {
  const manifestcheck::ManifestContents contents = manifestcheck::readManifest(manifestPath);
  if (contents.failure != manifestcheck::ManifestReadFailure::None) {
    return outcome::Failure{"", contents.error, ""};
  }
  for (const manifestcheck::ManifestApplication& application : contents.applications) {
    if (application.appKey != appKey) continue;
    ManifestLocation location;
    location.folder = folderOf(manifestPath);
    location.binaryPath =
        manifestcheck::binaryPathFor(application, manifestcheck::hostRuntimeSystem());
    return location;
  }
  return outcome::Failure{"", manifestPath + " has no application with app_key \"" + appKey + "\"",
                          ""};
}

}  // namespace ostrel::registration
