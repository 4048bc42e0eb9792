// The runtime's files in memory, a scripted runtime behind a connector, and
// a manifest check that answers as told: everything the start-up call
// reaches, so that each test says exactly what the runtime and its files
// hold.
#pragma once

#include <string>
#include <vector>

#include "ostrel/startup/StartupRegistration.h"
#include "ostrel/testing/HostPaths.h"
#include "ostrel/testing/MemoryRegistry.h"
#include "ostrel/testing/JsonText.h"
#include "ostrel/testing/ScriptedConnector.h"

namespace ostrel::startup::test {

using ostrel::testing::onHost;

inline const std::string kKey = "vantorell.ostrel";
inline const std::string kUserFolder = onHost("C:\\Users\\Me\\AppData\\Local", "/home/me/.config");
inline const std::string kVrpath = kUserFolder + onHost("\\openvr\\openvrpaths.vrpath",
                                                        "/openvr/openvrpaths.vrpath");
inline const std::string kConfig = onHost("C:\\Steam\\config", "/home/me/.local/share/Steam/config");
inline const std::string kRuntime =
    onHost("C:\\Steam\\SteamVR", "/home/me/.local/share/Steam/steamapps/common/SteamVR");
inline const std::string kAppConfig = kConfig + onHost("\\appconfig.json", "/appconfig.json");
inline const std::string kSettings =
    kConfig + onHost("\\vrappconfig\\vantorell.ostrel.vrappconfig",
                     "/vrappconfig/vantorell.ostrel.vrappconfig");
inline const std::string kOurs =
    onHost("C:\\Games\\Ostrel\\app.vrmanifest", "/home/me/Games/Ostrel/app.vrmanifest");
inline const std::string kOld = onHost("D:\\Old\\Ostrel\\app.vrmanifest", "/opt/old/Ostrel/app.vrmanifest");
inline const std::string kOther =
    onHost("C:\\Games\\Other\\other.vrmanifest", "/home/me/Games/Other/other.vrmanifest");
inline const std::string kGone =
    onHost("E:\\Gone\\Ostrel\\app.vrmanifest", "/media/gone/Ostrel/app.vrmanifest");

using ostrel::testing::jsonString;

// A dashboard overlay's manifest, the kind the runtime applies auto-launch to.
inline std::string manifestDeclaring(const std::string& key) {
  return R"({"applications":[{"app_key":")" + key +
         R"(","launch_type":"binary","is_dashboard_overlay":true}]})";
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
    memory.put(kVrpath, R"({"config":[)" + jsonString(kConfig) + R"(],"runtime":[)" +
                            jsonString(kRuntime) + R"(],"jsonid":"vrpathreg","version":1})");
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
