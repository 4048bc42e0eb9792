// Test support for the manifest check: a well-formed manifest to break in one
// place per test, a scripted file system, and a scratch folder on disk.
#pragma once

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
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

// The key naming the program for `system`'s runtime.
inline std::string binaryKeyFor(RuntimeSystem system) {
  if (system == RuntimeSystem::Windows) return "binary_path_windows";
  return system == RuntimeSystem::Linux ? "binary_path_linux" : "binary_path_linux_arm";
}

// The program's file name on the system this is built for.
inline std::string hostProgramName() {
  return hostRuntimeSystem() == RuntimeSystem::Windows ? "ostrel.exe" : "ostrel";
}

// validManifest() for the runtime of the system this is built for, the
// program named by its key: bin/<hostProgramName()> beside the manifest.
inline nlohmann::json hostValidManifest() {
  nlohmann::json manifest = validManifest();
  if (hostRuntimeSystem() == RuntimeSystem::Windows) return manifest;
  nlohmann::json& application = manifest["applications"][0];
  application.erase("binary_path_windows");
  application[binaryKeyFor(hostRuntimeSystem())] = "bin/" + hostProgramName();
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

// Answers from tables keyed by generic path text, RegularFile and no link
// for anything else, and keeps every path it was asked the kind of.
class FakePathProbe final : public IPathProbe {
 public:
  PathKind Kind(const std::filesystem::path& path) override {
    asked_.push_back(path.generic_string());
    const auto it = kinds_.find(path.generic_string());
    return it == kinds_.end() ? fallback_ : it->second;
  }

  std::optional<std::filesystem::path> LinkTarget(const std::filesystem::path& path) override {
    const auto it = links_.find(path.generic_string());
    if (it == links_.end()) return std::nullopt;
    return std::filesystem::path(it->second);
  }

  std::map<std::string, PathKind> kinds_;
  std::map<std::string, std::string> links_;
  PathKind fallback_ = PathKind::RegularFile;
  std::vector<std::string> asked_;
};

using ScratchFolder = ostrel::testing::ScratchFolder;

}  // namespace ostrel::manifestcheck::testing
