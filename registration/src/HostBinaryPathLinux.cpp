// The manifest reader names only binary_path_windows, so the Linux member is
// read here, from the same bytes and only once the reader's rule (size, depth,
// UTF-8, comments) has accepted them.
#include <nlohmann/json.hpp>

#include "HostBinaryPath.h"
#include "ostrel/manifestcheck/ManifestCheck.h"
#include "platform/Platform.h"

namespace ostrel::registration {

std::optional<std::string> hostBinaryPath(const manifestcheck::ManifestApplication&,
                                          const std::string& manifestPath,
                                          const std::string& appKey) {
  const platform::BoundedFile file = platform::readBoundedFile(
      platform::pathFromUtf8(manifestPath), manifestcheck::kManifestSizeLimit);
  if (file.status != platform::BoundedFile::Status::Read) return std::nullopt;
  if (manifestcheck::parseManifest(file.content).failure != manifestcheck::ManifestReadFailure::None) {
    return std::nullopt;
  }
  const nlohmann::json root = nlohmann::json::parse(file.content, nullptr,
                                                    /*allow_exceptions=*/false,
                                                    /*ignore_comments=*/true);
  if (!root.is_object()) return std::nullopt;
  const auto applications = root.find("applications");
  if (applications == root.end() || !applications->is_array()) return std::nullopt;
  for (const nlohmann::json& application : *applications) {
    if (!application.is_object()) continue;
    const auto key = application.find("app_key");
    if (key == application.end() || !key->is_string() || *key != appKey) continue;
    const auto binary = application.find("binary_path_linux");
    if (binary == application.end() || !binary->is_string()) return std::nullopt;
    return binary->get<std::string>();
  }
  return std::nullopt;
}

}  // namespace ostrel::registration
