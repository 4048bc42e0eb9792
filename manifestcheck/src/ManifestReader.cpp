#include "ostrel/steamvr/ManifestReader.h"

#include <fstream>
#include <nlohmann/json.hpp>

#include "ostrel/steamvr/ManifestCheck.h"
#include "platform/Platform.h"

namespace ostrel::steamvr {

namespace {

using nlohmann::json;

ManifestContents failed(ManifestReadFailure failure, std::string error) {
  ManifestContents contents;
  contents.failure = failure;
  contents.error = std::move(error);
  return contents;
}

}  // namespace

ManifestContents readManifest(const std::string& utf8Path) {
  std::ifstream file(platform::pathFromUtf8(utf8Path), std::ios::binary);
  if (!file) return failed(ManifestReadFailure::CannotOpen, "cannot open " + utf8Path);
  std::string content(kManifestSizeLimit + 1, '\0');
  file.read(content.data(), static_cast<std::streamsize>(content.size()));
  content.resize(static_cast<std::size_t>(file.gcount()));
  if (content.size() > kManifestSizeLimit) {
    return failed(ManifestReadFailure::TooLarge,
                  utf8Path + " is larger than " + std::to_string(kManifestSizeLimit) + " bytes");
  }

  const json::parser_callback_t shallow = [](int depth, json::parse_event_t, json&) {
    return depth <= kManifestDepthLimit;
  };
  const json root = json::parse(content, shallow, /*allow_exceptions=*/false);
  if (root.is_discarded() || !root.is_object()) {
    return failed(ManifestReadFailure::NotJsonObject,
                  utf8Path + " is not a JSON object (run the check command for details)");
  }
  const auto applications = root.find("applications");
  if (applications == root.end() || !applications->is_array()) {
    return failed(ManifestReadFailure::NoApplications, utf8Path + " has no applications array");
  }
  ManifestContents contents;
  for (const json& application : *applications) {
    if (!application.is_object()) continue;
    const auto key = application.find("app_key");
    if (key == application.end() || !key->is_string()) continue;
    ManifestApplication entry;
    entry.appKey = key->get<std::string>();
    const auto binary = application.find("binary_path_windows");
    if (binary != application.end() && binary->is_string()) {
      entry.binaryPathWindows = binary->get<std::string>();
    }
    contents.applications.push_back(std::move(entry));
  }
  return contents;
}

}  // namespace ostrel::steamvr
