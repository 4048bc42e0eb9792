// Test support for the manifest check: a well-formed manifest to break in one
// place per test, a scripted file system, and a scratch folder on disk.
#pragma once

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ostrel/manifestcheck/ManifestCheck.h"
#include "ostrel/testing/ScratchFolder.h"

namespace ostrel::manifestcheck::testing {

inline const std::string kKey = "vantorell.ostrel";

// Every key the check reads, each with a value it accepts; its binary lies
// at bin\ostrel.exe under the manifest's folder.
inline nlohmann::json validManifest() {
  nlohmann::json names = nlohmann::json::object();
  names["en_us"] = {{"name", "Ostrel"}, {"description", "Registers Ostrel"}};
  nlohmann::json application = nlohmann::json::object();
  application["app_key"] = kKey;
  application["launch_type"] = "binary";
  application["binary_path_windows"] = "bin\\ostrel.exe";
  application["arguments"] = "--vr";
  application["image_path"] = "ostrel.png";
  application["is_dashboard_overlay"] = true;
  application["strings"] = names;
  nlohmann::json manifest = nlohmann::json::object();
  manifest["source"] = "builtin";
  manifest["applications"] = nlohmann::json::array({application});
  return manifest;
}

// The application entry of validManifest(), to edit in place.
inline nlohmann::json& firstApplication(nlohmann::json& manifest) {
  return manifest["applications"][0];
}

inline std::vector<std::string> codes(const std::vector<ManifestFinding>& findings) {
  std::vector<std::string> out;
  for (const ManifestFinding& finding : findings) out.push_back(finding.code);
  return out;
}

// Answers from a table keyed by generic path text, RegularFile for anything
// else, and keeps every path it was asked about.
class FakePathProbe final : public IPathProbe {
 public:
  PathKind Kind(const std::filesystem::path& path) override {
    asked_.push_back(path.generic_string());
    const auto it = kinds_.find(path.generic_string());
    return it == kinds_.end() ? fallback_ : it->second;
  }

  std::map<std::string, PathKind> kinds_;
  PathKind fallback_ = PathKind::RegularFile;
  std::vector<std::string> asked_;
};

using ScratchFolder = ostrel::testing::ScratchFolder;

}  // namespace ostrel::manifestcheck::testing
