#include "RegistryLayout.h"

#include <cstdlib>
#include <filesystem>

#include "MessageShapes.h"
#include "ostrel/manifestcheck/ManifestCheck.h"
#include "ostrel/testing/JsonText.h"
#include "platform/Platform.h"

namespace ostrel::bench {

namespace {

using testing::jsonString;

// A manifest for both systems, as the tests write it.
std::string manifestFor(const std::string& key) {
  return R"({"source":"builtin","applications":[{"app_key":")" + key +
         R"(","launch_type":"binary","binary_path_windows":"Ostrel.exe",)"
         R"("binary_path_linux":"ostrel","is_dashboard_overlay":true,)"
         R"("strings":{"en_us":{"name":"Ostrel"}}}]})";
}

}  // namespace

RegistryLayout::RegistryLayout(int listed, benchmark::State& state) {
  if (folder_.path().empty()) {
    state.SkipWithError(folder_.error().c_str());
    return;
  }
  const std::string root = platform::pathToUtf8(folder_.path());
  const std::string program =
      manifestcheck::hostRuntimeSystem() == manifestcheck::RuntimeSystem::Windows ? "Ostrel.exe"
                                                                                  : "ostrel";
  std::string list;
  std::vector<std::string> manifests;
  for (int index = 0; index < listed; ++index) {
    const bool last = index + 1 == listed;
    const std::string folder = last ? "ours" : "apps/app" + std::to_string(index);
    const std::string key = last ? kAppKey : "other.app" + std::to_string(index);
    folder_.write(folder + "/Ostrel.exe", "");
    std::filesystem::permissions(folder_.write(folder + "/ostrel", ""),
                                 std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
    binaries_.push_back(root + "/" + folder + "/" + program);
    manifests.push_back(platform::pathToUtf8(folder_.write(folder + "/app.vrmanifest", manifestFor(key))));
    if (!list.empty()) list += ",";
    list += jsonString(manifests.back());
  }
  const std::string vrpath = platform::pathToUtf8(folder_.write(
      "openvrpaths.vrpath", R"({"config":[)" + jsonString(root + "/config") + R"(],"runtime":[)" +
                                jsonString(root + "/runtime") + R"(],"version":1})"));
  const std::string appconfig = platform::pathToUtf8(
      folder_.write("config/appconfig.json", R"({"manifest_paths":[)" + list + "]}"));
  // The user's auto-launch choice, recorded as the runtime records it once
  // auto-launch was set: a first registration is finished only then.
  const std::string setting = platform::pathToUtf8(
      folder_.write("config/vrappconfig/" + kAppKey + ".vrappconfig",
                    "{\n\t\"last_launch_time\": \"0\",\n\t\"autolaunch\": true\n}"));
  files_ = {vrpath, appconfig};
  files_.insert(files_.end(), manifests.begin(), manifests.end());
  files_.push_back(setting);
  ours_ = manifests.back();
  ::setenv("VR_PATHREG_OVERRIDE", vrpath.c_str(), 1);
}

RegistryLayout::~RegistryLayout() { ::unsetenv("VR_PATHREG_OVERRIDE"); }

}  // namespace ostrel::bench
