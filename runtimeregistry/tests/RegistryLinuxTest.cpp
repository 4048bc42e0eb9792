// The registry reader on Linux: the path registry found through the real
// process environment as the loader finds it ($XDG_CONFIG_HOME, else
// ~/.config; the overrides first), Flatpak Steam's path registry named when
// the loader's place is empty, and a path registry written for another
// runtime.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ostrel/runtimeregistry/RuntimeRegistry.h"
#include "ostrel/testing/MemoryRegistry.h"
#include "ostrel/testing/ScopedVariable.h"

namespace ostrel::runtimeregistry {
namespace {

using ostrel::testing::ScopedVariable;

const std::string kKey = "vantorell.ostrel";
const std::string kOurs = "/home/me/Games/Ostrel/app.vrmanifest";
const std::string kFlatpakVrpath =
    "/home/me/.var/app/com.valvesoftware.Steam/.config/openvr/openvrpaths.vrpath";

std::string vrpathNaming(const std::string& config) {
  return R"({"config":[")" + config +
         R"("],"runtime":["/home/me/.local/share/Steam/steamapps/common/SteamVR"],)"
         R"("jsonid":"vrpathreg","version":1})";
}

std::vector<std::string> codes(const RuntimeRegistry& registry) {
  std::vector<std::string> out;
  for (const RegistryFinding& finding : registry.findings) out.push_back(finding.code);
  return out;
}

TEST(RegistryLinux, FindsThePathRegistryThroughTheProcessEnvironmentAsTheLoaderDoes) {
  struct Case {
    const char* name;
    std::optional<std::string> xdg;
    std::optional<std::string> pathregOverride;
    std::optional<std::string> configOverride;
    std::string file;    // the path registry read
    std::string config;  // the config folder taken
  } cases[] = {
      {"XDG set", "/xdg", std::nullopt, std::nullopt, "/xdg/openvr/openvrpaths.vrpath", "/xdg-cfg"},
      {"XDG relative, as given", "rel", std::nullopt, std::nullopt,
       "rel/openvr/openvrpaths.vrpath", "/rel-cfg"},
      {"XDG empty", "", std::nullopt, std::nullopt,
       "/home/me/.config/openvr/openvrpaths.vrpath", "/home-cfg"},
      {"XDG unset", std::nullopt, std::nullopt, std::nullopt,
       "/home/me/.config/openvr/openvrpaths.vrpath", "/home-cfg"},
      {"the override wins", "/xdg", "/srv/openvrpaths.vrpath", std::nullopt,
       "/srv/openvrpaths.vrpath", "/srv-cfg"},
      {"an empty override is none", "/xdg", "", std::nullopt, "/xdg/openvr/openvrpaths.vrpath",
       "/xdg-cfg"},
      {"the config override wins over the file's", "/xdg", std::nullopt, "/env-cfg",
       "/xdg/openvr/openvrpaths.vrpath", "/env-cfg"},
  };
  ostrel::testing::MemoryRegistry files;
  files.put("/xdg/openvr/openvrpaths.vrpath", vrpathNaming("/xdg-cfg"));
  files.put("rel/openvr/openvrpaths.vrpath", vrpathNaming("/rel-cfg"));
  files.put("/home/me/.config/openvr/openvrpaths.vrpath", vrpathNaming("/home-cfg"));
  files.put("/srv/openvrpaths.vrpath", vrpathNaming("/srv-cfg"));
  const std::unique_ptr<IRegistryEnvironment> environment = createProcessEnvironment();
  for (const Case& c : cases) {
    ScopedVariable home("HOME", "/home/me");
    ScopedVariable xdg("XDG_CONFIG_HOME", c.xdg);
    ScopedVariable pathreg("VR_PATHREG_OVERRIDE", c.pathregOverride);
    ScopedVariable config("VR_CONFIG_PATH", c.configOverride);
    ScopedVariable runtime("VR_OVERRIDE", std::nullopt);
    const RuntimeRegistry registry = readRuntimeRegistry({kKey, kOurs}, *environment, files);
    EXPECT_EQ(registry.registryFile, c.file) << c.name;
    EXPECT_TRUE(registry.registryFileRead) << c.name;
    EXPECT_EQ(registry.configFolder, c.config) << c.name;
    EXPECT_EQ(registry.runtimeFolder, "/home/me/.local/share/Steam/steamapps/common/SteamVR")
        << c.name;
  }
}

class RegistryFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    memory_.variables["HOME"] = "/home/me";
    memory_.userFolder = "/home/me/.config";
  }
  RuntimeRegistry read() { return readRuntimeRegistry({kKey, kOurs}, memory_, memory_); }

  ostrel::testing::MemoryRegistry memory_;
};

TEST_F(RegistryFiles, AMissingPathRegistryNamesFlatpakSteamsWhenThereIsOne) {
  RuntimeRegistry registry = read();
  ASSERT_EQ(codes(registry), std::vector<std::string>{"vrpath-missing"});
  EXPECT_EQ(registry.findings[0].message.find("Flatpak"), std::string::npos);
  EXPECT_NE(registry.findings[0].message.find("never run for this user"), std::string::npos);

  memory_.put(kFlatpakVrpath, vrpathNaming("/home/me/.var/app/com.valvesoftware.Steam/cfg"));
  registry = read();
  ASSERT_EQ(codes(registry), std::vector<std::string>{"vrpath-missing"});
  const std::string& message = registry.findings[0].message;
  EXPECT_EQ(message,
            "there is no runtime path registry at "
            "\"/home/me/.config/openvr/openvrpaths.vrpath\", but Flatpak Steam keeps one at \"" +
                kFlatpakVrpath +
                "\": SteamVR then runs inside Flatpak Steam's sandbox, which this program cannot "
                "see into (the loader reports VRInitError_Init_PathRegistryNotFound (110) here): "
                "run this program inside that sandbox, or use the native Steam and its SteamVR");
  EXPECT_FALSE(registry.known());

  // Not when an override names the file the loader reads, nor once the
  // loader's own place holds one.
  memory_.variables["VR_PATHREG_OVERRIDE"] = "/srv/openvrpaths.vrpath";
  registry = read();
  ASSERT_EQ(codes(registry), std::vector<std::string>{"vrpath-missing"});
  EXPECT_EQ(registry.findings[0].message.find("Flatpak"), std::string::npos);
  memory_.variables.erase("VR_PATHREG_OVERRIDE");
  memory_.put("/home/me/.config/openvr/openvrpaths.vrpath", vrpathNaming("/cfg"));
  memory_.put("/cfg/appconfig.json", R"({"manifest_paths":[]})");
  EXPECT_EQ(codes(read()), std::vector<std::string>{"not-registered"});
}

TEST_F(RegistryFiles, APathRegistryWithoutConfigIsAnotherRuntimes) {
  // As the tools that set up xrizer or OpenComposite over Monado write it.
  memory_.put("/home/me/.config/openvr/openvrpaths.vrpath",
              R"({"runtime":["/home/me/.local/share/xrizer"],"version":1})");
  RuntimeRegistry registry = read();
  ASSERT_EQ(codes(registry), std::vector<std::string>{"vrpath-other-runtime"});
  EXPECT_EQ(registry.findings[0].severity, manifestcheck::FindingSeverity::Warning);
  const std::string& message = registry.findings[0].message;
  EXPECT_NE(message.find("\"/home/me/.config/openvr/openvrpaths.vrpath\" has no config entry"),
            std::string::npos)
      << message;
  EXPECT_NE(message.find("xrizer"), std::string::npos) << message;
  EXPECT_NE(message.find("SteamVR did not write it"), std::string::npos) << message;
  EXPECT_NE(message.find("VR_CONFIG_PATH"), std::string::npos) << message;
  EXPECT_EQ(registry.runtimeFolder, "/home/me/.local/share/xrizer");
  EXPECT_FALSE(registry.known());

  // SteamVR's config folder given by hand: the list is read, nothing to say.
  memory_.variables["VR_CONFIG_PATH"] = "/home/me/.local/share/Steam/config";
  memory_.put("/home/me/.local/share/Steam/config/appconfig.json",
              R"({"manifest_paths":[")" + kOurs + R"("]})");
  memory_.put(kOurs, R"({"applications":[{"app_key":"vantorell.ostrel"}]})");
  registry = read();
  EXPECT_TRUE(registry.known());
  EXPECT_TRUE(registry.findings.empty()) << codes(registry).front();
}

}  // namespace
}  // namespace ostrel::runtimeregistry
