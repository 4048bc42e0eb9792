// The runtime's files in memory, a scripted runtime behind a connector, and
// a manifest check that answers as told: everything the start-up call
// reaches, so that each test says exactly what the runtime and its files
// hold.
#pragma once

#include <string>
#include <vector>

#include "ostrel/startup/StartupRegistration.h"
#include "ostrel/testing/MemoryRegistry.h"
#include "ostrel/testing/JsonText.h"
#include "ostrel/testing/ScriptedConnector.h"

namespace ostrel::startup::test {

inline const std::string kKey = "vantorell.ostrel";
inline const std::string kUserFolder = "C:\\Users\\Me\\AppData\\Local";
inline const std::string kVrpath = kUserFolder + "\\openvr\\openvrpaths.vrpath";
inline const std::string kAppConfig = "C:\\Steam\\config\\appconfig.json";
inline const std::string kSettings = "C:\\Steam\\config\\vrappconfig\\vantorell.ostrel.vrappconfig";
inline const std::string kOurs = "C:\\Games\\Ostrel\\app.vrmanifest";
inline const std::string kOld = "D:\\Old\\Ostrel\\app.vrmanifest";
inline const std::string kOther = "C:\\Games\\Other\\other.vrmanifest";
inline const std::string kGone = "E:\\Gone\\Ostrel\\app.vrmanifest";

using ostrel::testing::jsonString;

inline std::string manifestDeclaring(const std::string& key) {
  return R"({"applications":[{"app_key":")" + key + R"(","launch_type":"binary"}]})";
}

using ostrel::testing::ScriptedConnector;

inline std::vector<manifestcheck::ManifestFinding> checkPasses(std::wstring_view, std::string_view) {
  return {{manifestcheck::FindingSeverity::Warning, "no-name", "no name under strings"}};
}

inline std::vector<manifestcheck::ManifestFinding> checkFails(std::wstring_view, std::string_view) {
  return {{manifestcheck::FindingSeverity::Warning, "no-name", "no name under strings"},
          {manifestcheck::FindingSeverity::Error, "binary-missing", "Ostrel.exe is not there"}};
}

// A runtime whose files list `listed`, in order, with the manifests in
// memory: ours and the old copy declare the key, the other application's
// does not, and the gone one is not there.
class RuntimeFiles {
 public:
  RuntimeFiles() {
    memory.userFolder = kUserFolder;
    memory.put(kVrpath, R"({"config":["C:\\Steam\\config"],"runtime":["C:\\Steam\\SteamVR"],)"
                        R"("jsonid":"vrpathreg","version":1})");
    memory.put(kOurs, manifestDeclaring(kKey));
    memory.put(kOld, manifestDeclaring(kKey));
    memory.put(kOther, manifestDeclaring("other.app"));
  }

  void list(const std::vector<std::string>& paths) {
    std::string items;
    for (const std::string& path : paths) items += (items.empty() ? "" : ",") + jsonString(path);
    memory.put(kAppConfig, R"({"manifest_paths":[)" + items + "]}");
  }

  void autoLaunch(bool on) {
    memory.put(kSettings, std::string(R"({"autolaunch":)") + (on ? "true" : "false") + "}");
  }

  ostrel::testing::MemoryRegistry memory;
};

}  // namespace ostrel::startup::test
