// The registry reader over an environment and files held in memory: where it
// looks, what it makes of each file, and the findings it gives for the key.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "ostrel/runtimeregistry/RuntimeRegistry.h"
#include "ostrel/testing/HostPaths.h"
#include "ostrel/testing/JsonText.h"
#include "ostrel/testing/MemoryRegistry.h"
#include "ostrel/text/HostPath.h"
#include "ostrel/text/Utf8.h"
#include "platform/Platform.h"

namespace ostrel::runtimeregistry {

using manifestcheck::FindingSeverity;
namespace {

using ostrel::testing::onHost;

const std::string kKey = "vantorell.ostrel";
const std::string kUserFolder = onHost("C:\\Users\\Me\\AppData\\Local", "/home/me/.config");
const std::string kVrpath = onHost("C:\\Users\\Me\\AppData\\Local\\openvr\\openvrpaths.vrpath",
                                   "/home/me/.config/openvr/openvrpaths.vrpath");
const std::string kConfig = onHost("C:\\Steam\\config", "/home/me/.local/share/Steam/config");
const std::string kRuntime =
    onHost("C:\\Steam\\SteamVR", "/home/me/.local/share/Steam/steamapps/common/SteamVR");
const std::string kAppConfig = onHost("C:\\Steam\\config\\appconfig.json",
                                      "/home/me/.local/share/Steam/config/appconfig.json");
const std::string kSettings =
    onHost("C:\\Steam\\config\\vrappconfig\\vantorell.ostrel.vrappconfig",
           "/home/me/.local/share/Steam/config/vrappconfig/vantorell.ostrel.vrappconfig");
const std::string kOurs =
    onHost("C:\\Games\\Ostrel\\app.vrmanifest", "/home/me/Games/Ostrel/app.vrmanifest");
const std::string kOld = onHost("D:\\Old\\Ostrel\\app.vrmanifest", "/opt/old/Ostrel/app.vrmanifest");
const std::string kOther =
    onHost("C:\\Games\\Other\\other.vrmanifest", "/home/me/Games/Other/other.vrmanifest");

std::string manifestDeclaring(const std::string& key) {
  return R"({"applications":[{"app_key":")" + key + R"(","launch_type":"binary"}]})";
}

using ostrel::testing::jsonString;

std::string appConfigListing(const std::vector<std::string>& paths) {
  std::string list;
  for (const std::string& path : paths) list += (list.empty() ? "" : ",") + jsonString(path);
  return R"({"manifest_paths":[)" + list + R"(],"other_member":{"x":1}})";
}

std::string vrpathNaming(const std::string& config) {
  return R"({"config":[)" + jsonString(config) +
         R"(,"C:\\Elsewhere"],"log":["C:\\Steam\\logs"],"runtime":[)" + jsonString(kRuntime) +
         R"(],"external_drivers":null,"jsonid":"vrpathreg","version":1})";
}

std::vector<std::string> codes(const RuntimeRegistry& registry) {
  std::vector<std::string> out;
  for (const RegistryFinding& finding : registry.findings) out.push_back(finding.code);
  return out;
}

const RegistryFinding* findingWith(const RuntimeRegistry& registry, const std::string& code) {
  for (const RegistryFinding& finding : registry.findings) {
    if (finding.code == code) return &finding;
  }
  return nullptr;
}

class Registry : public ::testing::Test {
 protected:
  void SetUp() override {
    environment_.userFolder = kUserFolder;
    files_.put(kVrpath, vrpathNaming(kConfig));
    files_.put(kOurs, manifestDeclaring(kKey));
    files_.put(kOld, manifestDeclaring(kKey));
    files_.put(kOther, manifestDeclaring("other.app"));
  }

  RuntimeRegistry read(std::optional<std::string> manifest = kOurs) {
    return readRuntimeRegistry({kKey, std::move(manifest)}, environment_, files_);
  }

  // One registry in memory, named for the role each argument plays.
  ostrel::testing::MemoryRegistry memory_;
  ostrel::testing::MemoryRegistry& environment_ = memory_;
  ostrel::testing::MemoryRegistry& files_ = memory_;
};

TEST_F(Registry, FindsThePerUserFileAndItsConfigFolder) {
  files_.put(kAppConfig, appConfigListing({kOther, kOurs}));
  const RuntimeRegistry registry = read();
  EXPECT_TRUE(registry.registryFileRead);
  EXPECT_EQ(text::comparablePath(registry.registryFile), text::comparablePath(kVrpath));
  EXPECT_EQ(registry.configFolder, kConfig);
  EXPECT_EQ(registry.runtimeFolder, kRuntime);
  ASSERT_TRUE(registry.known());
  ASSERT_EQ(registry.manifests.size(), 2u);
  EXPECT_FALSE(registry.manifests[0].declaresKey);
  EXPECT_EQ(registry.manifests[0].appKeys, std::vector<std::string>{"other.app"});
  EXPECT_TRUE(registry.manifests[1].declaresKey);
  EXPECT_TRUE(registry.manifests[1].thisManifest);
  EXPECT_TRUE(registry.manifests[1].exists && registry.manifests[1].readable);
  EXPECT_EQ(registry.serving, 1u);
  EXPECT_TRUE(registry.otherDeclaring().empty());
  EXPECT_TRUE(registry.findings.empty()) << codes(registry).front();
}

TEST_F(Registry, EnvironmentOverridesWinOverTheFile) {
  const std::string override =
      onHost("E:\\Portable\\openvrpaths.vrpath", "/media/stick/Portable/openvrpaths.vrpath");
  const std::string portableConfig =
      onHost("E:\\Portable\\config", "/media/stick/Portable/config");
  const std::string otherConfig = onHost("F:\\Other", "/srv/other");
  const std::string otherRuntime = onHost("F:\\Runtime", "/srv/runtime");
  files_.put(override, vrpathNaming(portableConfig));
  files_.put(onHost("E:\\Portable\\config\\appconfig.json",
                    "/media/stick/Portable/config/appconfig.json"),
             appConfigListing({kOurs}));
  files_.put(onHost("F:\\Other\\appconfig.json", "/srv/other/appconfig.json"),
             appConfigListing({kOld}));
  environment_.variables["VR_PATHREG_OVERRIDE"] = override;
  RuntimeRegistry registry = read();
  EXPECT_EQ(registry.configFolder, portableConfig);
  EXPECT_FALSE(files_.wasRead(kVrpath));
  EXPECT_EQ(registry.serving, 0u);

  environment_.variables["VR_CONFIG_PATH"] = otherConfig;
  environment_.variables["VR_OVERRIDE"] = otherRuntime;
  registry = read();
  EXPECT_EQ(registry.configFolder, otherConfig);
  EXPECT_EQ(registry.runtimeFolder, otherRuntime);
  ASSERT_EQ(registry.manifests.size(), 1u);
  EXPECT_EQ(registry.manifests[0].path, kOld);

  // Set but empty counts as not set, as the loader takes it.
  environment_.variables = {{"VR_PATHREG_OVERRIDE", ""}, {"VR_CONFIG_PATH", ""}};
  files_.put(kAppConfig, appConfigListing({kOther}));
  registry = read();
  EXPECT_TRUE(files_.wasRead(kVrpath));
  EXPECT_EQ(registry.configFolder, kConfig);
}

TEST_F(Registry, ConfigOverrideReadsTheListEvenWithoutThePathRegistry) {
  files_.files.clear();
  files_.put(kOurs, manifestDeclaring(kKey));
  files_.put(onHost("F:\\Cfg\\appconfig.json", "/srv/cfg/appconfig.json"),
             appConfigListing({kOurs}));
  environment_.variables["VR_CONFIG_PATH"] = onHost("F:\\Cfg", "/srv/cfg");
  const RuntimeRegistry registry = read();
  EXPECT_FALSE(registry.registryFileRead);
  EXPECT_TRUE(registry.known());
  EXPECT_EQ(codes(registry), std::vector<std::string>{"vrpath-missing"});
}

struct BrokenFile {
  const char* name;
  std::string content;
  const char* code;
};

std::string deeplyNested(std::size_t levels) {
  return std::string(levels, '[') + std::string(levels, ']');
}

TEST_F(Registry, BrokenPathRegistryIsAFindingNeverACrash) {
  const BrokenFile cases[] = {
      {"not JSON", "{\"config\": [", "vrpath-unreadable"},
      {"an array", "[\"C:\\\\Steam\\\\config\"]", "vrpath-unreadable"},
      {"nested a million deep", "{\"config\":" + deeplyNested(1000000) + "}", "vrpath-unreadable"},
      {"over the size cap", std::string(kRegistryFileSizeLimit + 10, ' '), "vrpath-unreadable"},
      {"a NUL byte", std::string("{\"config\":[\"C:\\\\a\"]}\0", 21), "vrpath-unreadable"},
      {"invalid UTF-8", "{\"config\":[\"C:\\\\\xC3\x28\"]}", "vrpath-unreadable"},
      {"UTF-16", std::string("\xFF\xFE{\0}\0", 6), "vrpath-unreadable"},
      {"no config", R"({"config":[],"runtime":["C:\\Steam"]})", "vrpath-no-config"},
      {"config of the wrong type", R"({"config":[1,"C:\\cfg"]})", "vrpath-no-config"},
      {"config not an array", R"({"config":"C:\\cfg"})", "vrpath-no-config"},
      // Written for another runtime on Linux; on Windows as any file without
      // a config folder.
      {"no config member", R"({"runtime":["C:\\xrizer"],"version":1})",
       ostrel::testing::windowsHost() ? "vrpath-no-config" : "vrpath-other-runtime"},
  };
  for (const BrokenFile& broken : cases) {
    files_.put(kVrpath, broken.content);
    const RuntimeRegistry registry = read();
    EXPECT_FALSE(registry.known()) << broken.name;
    EXPECT_FALSE(registry.configFolder) << broken.name;
    EXPECT_EQ(codes(registry), std::vector<std::string>{broken.code}) << broken.name;
  }
}

TEST_F(Registry, MissingPathRegistryExplainsTheUserAndElevationCause) {
  files_.erase(kVrpath);
  RuntimeRegistry registry = read();
  ASSERT_EQ(codes(registry), std::vector<std::string>{"vrpath-missing"});
  const std::string& message = registry.findings[0].message;
  EXPECT_NE(message.find(kUserFolder), std::string::npos) << message;
  EXPECT_NE(message.find("openvrpaths.vrpath"), std::string::npos) << message;
  EXPECT_NE(message.find("never run for this user"), std::string::npos) << message;
  EXPECT_NE(message.find("another account"), std::string::npos) << message;
  EXPECT_NE(message.find("(110)"), std::string::npos) << message;

  environment_.userFolder.clear();
  registry = read();
  EXPECT_TRUE(registry.registryFile.empty());
  ASSERT_EQ(codes(registry), std::vector<std::string>{"vrpath-missing"});
  EXPECT_NE(registry.findings[0].message.find("no user folder in this test"), std::string::npos);

  files_.putUnreadable(kVrpath);
  environment_.userFolder = kUserFolder;
  registry = read();
  ASSERT_EQ(codes(registry), std::vector<std::string>{"vrpath-unreadable"});
  EXPECT_NE(registry.findings[0].message.find("denied"), std::string::npos);
}

TEST_F(Registry, BrokenApplicationListIsAFindingNeverACrash) {
  const BrokenFile cases[] = {
      {"not JSON", "{\"manifest_paths\": [\"C:\\", "appconfig-unreadable"},
      {"no list", R"({"manifests":[]})", "appconfig-unreadable"},
      {"list of the wrong type", R"({"manifest_paths":{"a":"b"}})", "appconfig-unreadable"},
      {"a string", R"("C:\\Games\\Ostrel\\app.vrmanifest")", "appconfig-unreadable"},
      {"nested deep", "{\"manifest_paths\":[" + deeplyNested(100000) + "]}",
       "appconfig-unreadable"},
      {"a number beyond double", "{\"manifest_paths\":[1" + std::string(400, '0') + "]}",
       "appconfig-unreadable"},
      {"no string entries", R"({"manifest_paths":[1,null,{"a":"b"}]})", ""},
      {"over the size cap",
       "{\"manifest_paths\":[\"" + std::string(kRegistryFileSizeLimit, 'a') + "\"]}",
       "appconfig-unreadable"},
  };
  for (const BrokenFile& broken : cases) {
    files_.put(kAppConfig, broken.content);
    const RuntimeRegistry registry = read();
    if (std::string(broken.code).empty()) {
      // Readable JSON with nothing usable in it: the list is known and empty.
      EXPECT_TRUE(registry.known()) << broken.name;
      EXPECT_TRUE(registry.manifests.empty()) << broken.name;
      continue;
    }
    EXPECT_FALSE(registry.known()) << broken.name;
    EXPECT_EQ(codes(registry), std::vector<std::string>{broken.code}) << broken.name;
  }
  files_.erase(kAppConfig);
  const RuntimeRegistry missing = read();
  EXPECT_FALSE(missing.known());
  EXPECT_EQ(codes(missing), std::vector<std::string>{"appconfig-missing"});
}

TEST_F(Registry, AnOlderCopyListedFirstMakesTheRegistrationStale) {
  files_.put(kAppConfig, appConfigListing({kOld, kOther, kOurs}));
  const RuntimeRegistry registry = read();
  EXPECT_EQ(registry.serving, 0u);
  EXPECT_EQ(registry.otherDeclaring(), std::vector<std::size_t>{0});
  const RegistryFinding* stale = findingWith(registry, "stale-registration");
  ASSERT_NE(stale, nullptr);
  EXPECT_EQ(stale->severity, FindingSeverity::Error);
  EXPECT_NE(stale->message.find(kOld), std::string::npos) << stale->message;
  EXPECT_NE(stale->message.find("serves the application from it"), std::string::npos)
      << stale->message;
  EXPECT_NE(
      stale->message.find("ostrel-register repair --key vantorell.ostrel --manifest " + kOurs),
      std::string::npos)
      << stale->message;
}

TEST_F(Registry, EveryOtherCopyIsNamedAndOtherApplicationsAreNot) {
  const std::string copy = onHost("E:\\Copy\\app.vrmanifest", "/media/copy/app.vrmanifest");
  files_.put(copy, manifestDeclaring(kKey));
  // Our own path listed twice, once in another spelling, is still ours.
  const std::string spelledOtherwise = onHost("c:/games/ostrel/APP.vrmanifest",
                                              "/home/me/Games/Other/../Ostrel//app.vrmanifest");
  files_.put(kAppConfig, appConfigListing({kOurs, kOther, kOld, spelledOtherwise, copy}));
  const RuntimeRegistry registry = read();
  EXPECT_EQ(registry.serving, 0u);
  EXPECT_EQ(registry.otherDeclaring(), (std::vector<std::size_t>{2, 4}));
  EXPECT_TRUE(registry.manifests[3].thisManifest);
  int stale = 0;
  for (const RegistryFinding& finding : registry.findings) {
    if (finding.code != "stale-registration") continue;
    ++stale;
    EXPECT_EQ(finding.message.find(kOther), std::string::npos) << finding.message;
    EXPECT_NE(finding.message.find("serves the application from \"" + kOurs + "\""),
              std::string::npos)
        << finding.message;
  }
  EXPECT_EQ(stale, 2);
}

// Steam's folder on Linux is reached by two names, ~/.steam/steam and
// ~/.local/share/Steam; a junction does the same on Windows. The runtime
// lists whichever name it was given, and it is still this manifest.
TEST_F(Registry, AManifestListedThroughALinkIsThisManifest) {
  const std::string installed =
      onHost("D:\\SteamLibrary\\steamapps\\common\\Ostrel\\app.vrmanifest",
             "/home/me/.local/share/Steam/steamapps/common/Ostrel/app.vrmanifest");
  const std::string throughLink =
      onHost("E:\\SteamJunction\\steamapps\\common\\Ostrel\\app.vrmanifest",
             "/home/me/.steam/steam/steamapps/common/Ostrel/app.vrmanifest");
  files_.link(onHost("E:\\SteamJunction", "/home/me/.steam/steam"),
              onHost("D:\\SteamLibrary", "/home/me/.local/share/Steam"));
  files_.put(installed, manifestDeclaring(kKey));
  files_.put(kAppConfig, appConfigListing({throughLink, kOther}));
  RuntimeRegistry registry = read(installed);
  ASSERT_EQ(registry.manifests.size(), 2u);
  EXPECT_TRUE(registry.manifests[0].thisManifest);
  EXPECT_EQ(registry.serving, 0u);
  EXPECT_TRUE(registry.otherDeclaring().empty());
  EXPECT_TRUE(registry.findings.empty()) << codes(registry).front();

  // And the other way round; but not when the two are different files.
  files_.put(kAppConfig, appConfigListing({installed}));
  EXPECT_TRUE(read(throughLink).manifests[0].thisManifest);
  files_.links.clear();
  files_.put(throughLink, manifestDeclaring(kKey));
  registry = read(throughLink);
  EXPECT_FALSE(registry.manifests[0].thisManifest);
  EXPECT_NE(findingWith(registry, "stale-registration"), nullptr);
}

TEST_F(Registry, WithoutAManifestTheServedOneIsTakenAsOurs) {
  files_.put(kAppConfig, appConfigListing({kOld, kOurs}));
  RuntimeRegistry registry = read(std::nullopt);
  EXPECT_EQ(registry.otherDeclaring(), std::vector<std::size_t>{1});
  EXPECT_FALSE(registry.manifests[0].thisManifest);
  EXPECT_NE(findingWith(registry, "stale-registration"), nullptr);

  files_.put(kAppConfig, appConfigListing({kOld}));
  registry = read(std::nullopt);
  EXPECT_TRUE(registry.otherDeclaring().empty());
  EXPECT_TRUE(registry.findings.empty());
}

TEST_F(Registry, OnlyAnotherCopyListedIsStaleToo) {
  files_.put(kAppConfig, appConfigListing({kOld}));
  const RuntimeRegistry registry = read();
  EXPECT_EQ(registry.serving, 0u);
  EXPECT_EQ(registry.otherDeclaring(), std::vector<std::size_t>{0});
  EXPECT_NE(findingWith(registry, "stale-registration"), nullptr);
}

TEST_F(Registry, NoDeclaringManifestIsNotRegistered) {
  files_.put(kAppConfig, appConfigListing({kOther}));
  const RuntimeRegistry registry = read();
  EXPECT_FALSE(registry.serving);
  EXPECT_EQ(codes(registry), std::vector<std::string>{"not-registered"});
  EXPECT_NE(registry.findings[0].message.find("register \"" + kOurs + "\""), std::string::npos)
      << registry.findings[0].message;
}

TEST_F(Registry, GoneAndUnreadableManifestsAreSkippedAsTheRuntimeSkipsThem) {
  files_.erase(kOurs);
  files_.put(kOld, "\xEF\xBB\xBF" + manifestDeclaring(kKey));  // the runtime refuses a BOM
  files_.put(kAppConfig, appConfigListing({kOld, "C:\\Gone\\x.vrmanifest", kOurs}));
  RuntimeRegistry registry = read();
  EXPECT_TRUE(registry.manifests[0].exists);
  EXPECT_FALSE(registry.manifests[0].readable);
  EXPECT_FALSE(registry.manifests[0].declaresKey);
  EXPECT_FALSE(registry.manifests[2].exists);
  EXPECT_FALSE(registry.serving);
  const RegistryFinding* ours = nullptr;
  int gone = 0;
  for (const RegistryFinding& finding : registry.findings) {
    if (finding.code != "registered-manifest-missing") continue;
    ++gone;
    if (finding.severity == FindingSeverity::Error) ours = &finding;
  }
  EXPECT_EQ(gone, 2);
  ASSERT_NE(ours, nullptr);
  EXPECT_NE(ours->message.find(kOurs), std::string::npos);
  EXPECT_NE(ours->message.find("register it again"), std::string::npos);
  EXPECT_NE(findingWith(registry, "not-registered"), nullptr);

  files_.put(kOurs, "{\"applications\": [");
  registry = read();
  const RegistryFinding* unreadable = findingWith(registry, "registered-manifest-unreadable");
  ASSERT_NE(unreadable, nullptr);
  EXPECT_NE(unreadable->message.find("not valid JSON"), std::string::npos) << unreadable->message;
}

TEST_F(Registry, ThousandsOfDeadEntriesGiveABoundedList) {
  std::vector<std::string> dead;
  for (int i = 0; i < 5000; ++i) dead.push_back("C:\\Gone\\" + std::to_string(i) + ".vrmanifest");
  dead.push_back(kOurs);
  files_.put(kAppConfig, appConfigListing(dead));
  const RuntimeRegistry registry = read();
  EXPECT_EQ(registry.manifests.size(), kMaxListedManifests);
  EXPECT_LT(registry.findings.size(), 16u);
  EXPECT_NE(findingWith(registry, "appconfig-unreadable"), nullptr);
}

TEST_F(Registry, AutoLaunchComesFromTheKeysSettings) {
  files_.put(kAppConfig, appConfigListing({kOurs}));
  EXPECT_FALSE(read().autoLaunch);

  files_.put(kSettings, R"({"autolaunch":true,"last_launch_time":"0"})");
  EXPECT_EQ(read().autoLaunch, true);

  files_.put(kSettings, R"({"autolaunch":false,"last_launch_time":"0"})");
  RuntimeRegistry registry = read();
  EXPECT_EQ(registry.autoLaunch, false);
  EXPECT_EQ(codes(registry), std::vector<std::string>{"auto-launch-off"});

  files_.put(kSettings, R"({"autolaunch":"yes"})");
  EXPECT_FALSE(read().autoLaunch);

  files_.put(kSettings, "{\"autolaunch\":tru");
  registry = read();
  EXPECT_FALSE(registry.autoLaunch);
  EXPECT_EQ(codes(registry), std::vector<std::string>{"vrappconfig-unreadable"});
}

TEST_F(Registry, AKeyThatCouldLeaveTheSettingsFolderIsNotUsedAsAFileName) {
  files_.put(kAppConfig, appConfigListing({kOurs}));
  for (const std::string key : {"..\\..\\appconfig", "a/b", "..", "c:x"}) {
    files_.reads.clear();
    readRuntimeRegistry({key, kOurs}, environment_, files_);
    for (const std::string& name : files_.reads) {
      EXPECT_EQ(name.find("vrappconfig"), std::string::npos) << key << ": " << name;
    }
  }
}

TEST_F(Registry, ManifestInATemporaryFolderIsFlagged) {
  const std::string temporary = onHost(
      "C:\\Users\\Me\\AppData\\Local\\Temp\\Ostrel\\app.vrmanifest", "/tmp/Ostrel/app.vrmanifest");
  files_.put(temporary, manifestDeclaring(kKey));
  files_.put(kAppConfig, appConfigListing({temporary}));
  RuntimeRegistry registry = read(temporary);
  EXPECT_TRUE(registry.manifests[0].temporaryLocation);
  EXPECT_EQ(codes(registry), std::vector<std::string>{"temporary-location"});

  const std::string scratch = onHost("D:\\Scratch\\app.vrmanifest", "/home/me/scratch/app.vrmanifest");
  environment_.variables[onHost("TEMP", "TMPDIR")] = onHost("D:\\Scratch", "/home/me/scratch");
  files_.put(scratch, manifestDeclaring(kKey));
  files_.put(kAppConfig, appConfigListing({scratch}));
  registry = read(scratch);
  EXPECT_EQ(codes(registry), std::vector<std::string>{"temporary-location"});
}

TEST_F(Registry, NonAsciiPathsAreListedReadAndMatchedAsUtf8) {
  const std::string unicode =
      onHost("C:\\Jos\xC3\xA9\\\xE5\xBA\x94\xE7\x94\xA8\\app.vrmanifest",
             "/home/Jos\xC3\xA9/\xE5\xBA\x94\xE7\x94\xA8/app.vrmanifest");
  files_.put(unicode, manifestDeclaring(kKey));
  files_.put(kAppConfig, appConfigListing({unicode}));
  const RuntimeRegistry registry =
      read(onHost("c:/Jos\xC3\xA9/\xE5\xBA\x94\xE7\x94\xA8/app.vrmanifest",
                  "/home/Jos\xC3\xA9/./\xE5\xBA\x94\xE7\x94\xA8//app.vrmanifest"));
  ASSERT_EQ(registry.manifests.size(), 1u);
  EXPECT_EQ(registry.manifests[0].path, unicode);
  EXPECT_TRUE(registry.manifests[0].thisManifest);
  EXPECT_TRUE(registry.manifests[0].declaresKey);
  EXPECT_TRUE(registry.findings.empty());
}

TEST_F(Registry, MessagesEscapeControlCharactersFromTheFiles) {
  const std::string hostile = std::string("C:\\Gone\\\x1b[2Jx") + std::string(1000, 'y');
  files_.put(kAppConfig, R"({"manifest_paths":["C:\\Gone\\\u001b[2Jx)" + std::string(1000, 'y') +
                             R"(", 7, null, ")" + jsonString(kOurs).substr(1) + "]}");
  const RuntimeRegistry registry = read();
  ASSERT_EQ(registry.manifests.size(), 2u);  // the number and the null are not paths
  EXPECT_EQ(registry.manifests[0].path, hostile);
  const RegistryFinding* gone = findingWith(registry, "registered-manifest-missing");
  ASSERT_NE(gone, nullptr);
  EXPECT_EQ(gone->message.find('\x1b'), std::string::npos);
  EXPECT_NE(gone->message.find("\\x1b"), std::string::npos);
  EXPECT_LT(gone->message.size(), 600u);
}

TEST_F(Registry, ShortenedTextNeverEndsInsideACharacter) {
  // The 300-byte cut falls between the two bytes of the e-acute.
  const std::string longPath = "C:\\" + std::string(296, 'a') + "\xC3\xA9\\app.vrmanifest";
  files_.put(kAppConfig, appConfigListing({longPath, kOurs}));
  RuntimeRegistry registry = read();
  const RegistryFinding* gone = findingWith(registry, "registered-manifest-missing");
  ASSERT_NE(gone, nullptr);
  EXPECT_TRUE(text::isValidUtf8(gone->message)) << gone->message;
  EXPECT_NE(gone->message.find("a\xC3\xA9...\""), std::string::npos) << gone->message;

  // A variable can hold bytes that are not UTF-8 (on POSIX; Windows hands
  // out U+FFFD for them); a message stays UTF-8 either way.
  environment_.variables["VR_PATHREG_OVERRIDE"] = "C:\\\xFF\xC3\\paths.vrpath";
  registry = read();
  ASSERT_EQ(codes(registry), std::vector<std::string>{"vrpath-missing"});
  const std::string& message = registry.findings[0].message;
  EXPECT_TRUE(text::isValidUtf8(message)) << message;
  EXPECT_NE(message.find("paths.vrpath"), std::string::npos) << message;
}

}  // namespace
}  // namespace ostrel::runtimeregistry
