// A runtime registry in memory for the doctor's tests: the path registry and
// appconfig.json in place, manifests and settings put by name, paths in the
// host's form, and binaries that exist unless a test says otherwise.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "ostrel/doctor/Doctor.h"
#include "ostrel/testing/HostPaths.h"
#include "ostrel/testing/JsonText.h"
#include "ostrel/testing/MemoryRegistry.h"
#include "ostrel/testing/ScriptedConnector.h"

namespace ostrel::doctor::testing {

using ostrel::testing::jsonString;
using ostrel::testing::onHost;

// Every binary exists unless it is in `missing` (generic form); no links.
class BinaryProbe final : public manifestcheck::IPathProbe {
 public:
  manifestcheck::PathKind Kind(const std::filesystem::path& path) override {
    asked.push_back(path.generic_string());
    return missing.count(path.generic_string()) != 0 ? manifestcheck::PathKind::Missing
                                                     : manifestcheck::PathKind::RegularFile;
  }
  std::optional<std::filesystem::path> LinkTarget(const std::filesystem::path&) override {
    return std::nullopt;
  }
  std::set<std::string> missing;
  std::vector<std::string> asked;
};

struct AppSpec {
  std::string key;
  std::string name = "Tool";
  bool overlay = true;
  bool windowsBinary = true;
  bool linuxBinary = true;
};

// A manifest the check passes on either system (given its binaries).
inline std::string manifestText(const std::vector<AppSpec>& applications) {
  std::string list;
  for (const AppSpec& app : applications) {
    if (!list.empty()) list += ",";
    list += "{\"app_key\":" + jsonString(app.key) + ",\"launch_type\":\"binary\",";
    if (app.windowsBinary) list += "\"binary_path_windows\":\"tool.exe\",";
    if (app.linuxBinary) list += "\"binary_path_linux\":\"tool\",";
    list += std::string("\"is_dashboard_overlay\":") + (app.overlay ? "true" : "false") +
            ",\"strings\":{\"en_us\":{\"name\":" + jsonString(app.name) + "}}}";
  }
  return "{\"source\":\"builtin\",\"applications\":[" + list + "]}";
}

class DoctorTest : public ::testing::Test {
 protected:
  DoctorTest() {
    registry_.variables["VR_PATHREG_OVERRIDE"] = vrpath_;
    registry_.put(vrpath_, "{\"config\":[" + jsonString(config_) + "],\"runtime\":[" +
                               jsonString(runtime_) + "],\"version\":1}");
    registry_.put(runtime_ + onHost("\\bin\\win64\\vrserver.exe", "/bin/linux64/vrserver"), "");
  }

  // An install folder's manifest path in the host's form: "<name>" becomes
  // C:\Apps\<name>\app.vrmanifest or /opt/apps/<name>/app.vrmanifest.
  static std::string manifestPath(const std::string& name) {
    return onHost("C:\\Apps\\" + name + "\\app.vrmanifest", "/opt/apps/" + name + "/app.vrmanifest");
  }
  // The binary a manifestText application names, in generic form, as the
  // probe is asked for it.
  static std::string binaryOf(const std::string& name) {
    return onHost("C:/Apps/" + name + "/tool.exe", "/opt/apps/" + name + "/tool");
  }

  // appconfig.json listing `paths`, in order.
  void list(const std::vector<std::string>& paths) {
    std::string entries;
    for (const std::string& path : paths) {
      if (!entries.empty()) entries += ",";
      entries += jsonString(path);
    }
    registry_.put(config_ + onHost("\\appconfig.json", "/appconfig.json"),
                  "{\"manifest_paths\":[" + entries + "]}");
  }
  void setting(const std::string& key, const std::string& content) {
    registry_.put(settingsFile(key), content);
  }
  std::string settingsFile(const std::string& key) const {
    return config_ + onHost("\\vrappconfig\\", "/vrappconfig/") + key + ".vrappconfig";
  }

  DoctorSources sources() { return {&registry_, &registry_, &probe_}; }
  DoctorReport examine() { return examineRegistry(sources()); }
  DoctorResult run(const DoctorOptions& options = {}) {
    return runDoctor(options, connector_, sources());
  }

  const std::string vrpath_ = onHost("C:\\Users\\me\\openvrpaths.vrpath", "/home/me/openvrpaths.vrpath");
  const std::string config_ = onHost("C:\\Steam\\config", "/home/me/Steam/config");
  const std::string runtime_ = onHost("C:\\Steam\\SteamVR", "/home/me/Steam/SteamVR");
  ostrel::testing::MemoryRegistry registry_;
  BinaryProbe probe_;
  ostrel::testing::ScriptedConnector connector_;
};

inline std::vector<std::string> codesOf(const std::vector<Finding>& findings) {
  std::vector<std::string> codes;
  for (const Finding& finding : findings) codes.push_back(finding.code);
  return codes;
}

inline bool hasCode(const std::vector<Finding>& findings, const std::string& code) {
  return std::any_of(findings.begin(), findings.end(),
                     [&](const Finding& finding) { return finding.code == code; });
}

inline const Finding* findingWith(const std::vector<Finding>& findings, const std::string& code) {
  for (const Finding& finding : findings) {
    if (finding.code == code) return &finding;
  }
  return nullptr;
}

}  // namespace ostrel::doctor::testing
