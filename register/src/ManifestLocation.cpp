#include "ManifestLocation.h"

#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "ostrel/common/WindowsPath.h"
#include "ostrel/steamvr/ManifestCheck.h"
#include "platform/Platform.h"

namespace ostrel::registercli {

namespace {

using nlohmann::json;

// The same bounds the manifest check keeps, so that a file it calls too
// large or too deep is not chased here either.
bool readCapped(const std::string& path, std::string& content, std::string& error) {
  std::ifstream file(platform::pathFromUtf8(path), std::ios::binary);
  if (!file) {
    error = "cannot open " + path;
    return false;
  }
  content.resize(steamvr::kManifestSizeLimit + 1);
  file.read(content.data(), static_cast<std::streamsize>(content.size()));
  content.resize(static_cast<std::size_t>(file.gcount()));
  if (content.size() > steamvr::kManifestSizeLimit) {
    error = path + " is larger than " + std::to_string(steamvr::kManifestSizeLimit) + " bytes";
    return false;
  }
  return true;
}

}  // namespace

std::string folderOf(const std::string& path) { return common::windowsFolderOf(path); }

std::optional<ManifestLocation> readManifestLocation(const std::string& manifestPath,
                                                     const std::string& appKey,
                                                     std::string& error) {
  std::string content;
  if (!readCapped(manifestPath, content, error)) return std::nullopt;

  // Values nested deeper than the limit are dropped while parsing, which
  // keeps a hostile file from costing more than its size.
  const json::parser_callback_t shallow = [](int depth, json::parse_event_t, json&) {
    return depth <= steamvr::kManifestDepthLimit;
  };
  const json root = json::parse(content, shallow, /*allow_exceptions=*/false);
  if (root.is_discarded() || !root.is_object()) {
    error = manifestPath + " is not a JSON object (run the check command for details)";
    return std::nullopt;
  }
  const auto applications = root.find("applications");
  if (applications == root.end() || !applications->is_array()) {
    error = manifestPath + " has no applications array";
    return std::nullopt;
  }
  for (const json& application : *applications) {
    if (!application.is_object()) continue;
    const auto key = application.find("app_key");
    if (key == application.end() || !key->is_string() || key->get<std::string>() != appKey) {
      continue;
    }
    ManifestLocation location;
    location.folder = folderOf(manifestPath);
    const auto binary = application.find("binary_path_windows");
    if (binary != application.end() && binary->is_string()) {
      location.binaryPath = binary->get<std::string>();
    }
    error.clear();
    return location;
  }
  error = manifestPath + " has no application with app_key \"" + appKey + "\"";
  return std::nullopt;
}

}  // namespace ostrel::registercli
