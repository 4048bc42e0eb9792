// One user's SteamVR as the tests of the registration doors lay it out: the
// path registry, the config folder, an install of ours, an old copy of it, a
// copy that is gone and another application, all in memory, behind a
// runtime that keeps its registry in those files (StatefulRuntime.h). The
// same world serves the registration sequence's tests, the start-up call's
// and the command's, so that each door is tried on the same situations.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ostrel/registration/RegistrationStatus.h"
#include "ostrel/testing/HostPaths.h"
#include "ostrel/testing/JsonText.h"
#include "ostrel/testing/MemoryRegistry.h"
#include "ostrel/testing/StatefulRuntime.h"

namespace ostrel::testing {

struct RuntimeWorld {
  static inline const std::string kKey = "vantorell.ostrel";
  static inline const std::string kUserFolder =
      onHost("C:\\Users\\Me\\AppData\\Local", "/home/me/.config");
  static inline const std::string kVrpath =
      kUserFolder + onHost("\\openvr\\openvrpaths.vrpath", "/openvr/openvrpaths.vrpath");
  static inline const std::string kConfig =
      onHost("C:\\Steam\\config", "/home/me/.local/share/Steam/config");
  static inline const std::string kRuntimeFolder =
      onHost("C:\\Steam\\SteamVR", "/home/me/.local/share/Steam/steamapps/common/SteamVR");
  static inline const std::string kOurs =
      onHost("C:\\Games\\Ostrel\\app.vrmanifest", "/home/me/Games/Ostrel/app.vrmanifest");
  static inline const std::string kOld =
      onHost("D:\\Old\\Ostrel\\app.vrmanifest", "/opt/old/Ostrel/app.vrmanifest");
  static inline const std::string kOther =
      onHost("C:\\Games\\Other\\other.vrmanifest", "/home/me/Games/Other/other.vrmanifest");
  static inline const std::string kGone =
      onHost("E:\\Gone\\Ostrel\\app.vrmanifest", "/media/gone/Ostrel/app.vrmanifest");

  // A dashboard overlay's manifest declaring `key`.
  static std::string overlayDeclaring(const std::string& key) {
    return R"({"applications":[{"app_key":")" + key +
           R"(","launch_type":"binary","is_dashboard_overlay":true,)"
           R"("strings":{"en_us":{"name":"Ostrel"}}}]})";
  }

  RuntimeWorld() {
    memory.userFolder = kUserFolder;
    memory.put(kVrpath, R"({"config":[)" + jsonString(kConfig) + R"(],"runtime":[)" +
                            jsonString(kRuntimeFolder) + R"(],"jsonid":"vrpathreg","version":1})");
    memory.put(kOurs, overlayDeclaring(kKey));
    memory.put(kOld, overlayDeclaring(kKey));
    memory.put(kOther, overlayDeclaring("other.app"));
  }

  // The runtime's list of applications, as it would have written it.
  void list(const std::vector<std::string>& paths) {
    std::string items;
    for (const std::string& path : paths) items += (items.empty() ? "" : ",") + jsonString(path);
    memory.put(kConfig + onHost("\\appconfig.json", "/appconfig.json"),
               R"({"manifest_paths":[)" + items + "]}");
  }

  // The user's auto-launch choice for our key; nullopt: none recorded.
  void choose(std::optional<bool> autoLaunch) {
    const std::string file = kConfig + onHost("\\vrappconfig\\", "/vrappconfig/") + kKey +
                             ".vrappconfig";
    if (!autoLaunch) {
      memory.erase(file);
      return;
    }
    memory.put(file, std::string(R"({"autolaunch":)") + (*autoLaunch ? "true" : "false") +
                         R"(,"last_launch_time":"0"})");
  }

  registration::RegistrySources sources() { return {&memory, &memory}; }

  // Whether SetApplicationAutoLaunch(key, `on`) was ever called.
  bool autoLaunchSwitched(bool on) const {
    for (const SurfaceCall& call : runtime.calls) {
      if (call.operation == "AutoLaunch" && call.flag == on) return true;
    }
    return false;
  }

  MemoryRegistry memory;
  StatefulRuntime runtime{memory, kConfig};
};

// The calls as one line each ("Add <path>", "Installed <key>", "AutoLaunch
// <key> on", "Remove <path>"), for comparing sequences.
inline std::vector<std::string> callLines(const std::vector<SurfaceCall>& calls) {
  std::vector<std::string> lines;
  for (const SurfaceCall& call : calls) {
    std::string line = call.operation + " " + call.text;
    if (call.operation == "AutoLaunch") line += call.flag ? " on" : " off";
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace ostrel::testing
