// Which runtime the loader would start, judged from files held in memory:
// the folder it resolves, whether that folder is SteamVR, and the texts that
// tell a person about another runtime.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "RuntimeServer.h"
#include "ostrel/text/Utf8.h"
#include "ostrel/runtimeregistry/ActiveRuntime.h"
#include "ostrel/runtimeregistry/RuntimeRegistry.h"
#include "ostrel/testing/HostPaths.h"
#include "ostrel/testing/MemoryRegistry.h"
#include "ostrel/text/HostPath.h"

namespace ostrel::runtimeregistry {

using manifestcheck::FindingSeverity;
using manifestcheck::hasErrors;
namespace {

using ostrel::testing::onHost;

const std::string kUserFolder = onHost("C:\\Users\\Me\\AppData\\Local", "/home/me/.config");
const std::string kVrpath = onHost("C:\\Users\\Me\\AppData\\Local\\openvr\\openvrpaths.vrpath",
                                   "/home/me/.config/openvr/openvrpaths.vrpath");
const std::string kSteamVR =
    onHost("C:\\Program Files (x86)\\Steam\\steamapps\\common\\SteamVR",
           "/home/me/.local/share/Steam/steamapps/common/SteamVR");
const std::string kOpenComposite =
    onHost("C:\\Tools\\OpenComposite", "/home/me/.local/share/OpenComposite");
const std::string kXrizer =
    onHost("C:\\Users\\Me\\.local\\share\\xrizer", "/home/me/.local/share/xrizer");

std::string jsonString(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string vrpathWithRuntimes(const std::string& runtimes) {
  return R"({"config":["C:\\Steam\\config"],"external_drivers":null,"jsonid":"vrpathreg",)"
         R"("log":["C:\\Steam\\logs"],"runtime":)" +
         runtimes + R"(,"version":1})";
}

std::string vrpathNaming(const std::string& runtime) {
  return vrpathWithRuntimes("[" + jsonString(runtime) + "," + jsonString(kSteamVR) + "]");
}

// The server of the system the tests run on, inside `folder`.
std::string serverIn(const std::string& folder) {
  return folder + text::pathSeparator() + runtimeregistry::runtimeServerFile();
}

class Runtime : public ::testing::Test {
 protected:
  void SetUp() override {
    memory_.userFolder = kUserFolder;
    memory_.put(kVrpath, vrpathNaming(kSteamVR));
    memory_.put(serverIn(kSteamVR), "");
  }

  ActiveRuntime resolve() { return resolveActiveRuntime(memory_, memory_); }

  ostrel::testing::MemoryRegistry memory_;
};

TEST_F(Runtime, FirstRuntimeEntryHoldingTheServerIsSteamVR) {
  const ActiveRuntime runtime = resolve();
  EXPECT_EQ(runtime.folder, kSteamVR);
  EXPECT_TRUE(runtime.steamVR);
  EXPECT_EQ(runtime.name, "");
  EXPECT_TRUE(memory_.wasRead(serverIn(kSteamVR)));
  // The registry reader reads the same file the same way.
  EXPECT_EQ(readRuntimeRegistry({"vantorell.ostrel", std::nullopt}, memory_, memory_).runtimeFolder,
            runtime.folder);
}

TEST_F(Runtime, FirstRuntimeEntryWithoutTheServerIsNotSteamVR) {
  // Listed second, SteamVR is not what the loader starts.
  const std::string elsewhere = onHost("D:\\VR\\runtime", "/opt/vr/runtime");
  memory_.put(kVrpath, vrpathNaming(elsewhere));
  ActiveRuntime runtime = resolve();
  EXPECT_EQ(runtime.folder, elsewhere);
  EXPECT_FALSE(runtime.steamVR);
  EXPECT_EQ(runtime.name, "");

  memory_.put(kVrpath, vrpathNaming(kSteamVR));
  memory_.erase(serverIn(kSteamVR));
  runtime = resolve();
  EXPECT_EQ(runtime.folder, kSteamVR);
  EXPECT_FALSE(runtime.steamVR);

  // A folder where the server should be is no server.
  memory_.putUnreadable(serverIn(kSteamVR), "is a folder, not a file");
  EXPECT_FALSE(resolve().steamVR);
}

TEST_F(Runtime, OverrideWinsOverThePathRegistryAsForTheLoader) {
  memory_.variables["VR_OVERRIDE"] = kOpenComposite;
  ActiveRuntime runtime = resolve();
  EXPECT_EQ(runtime.folder, kOpenComposite);
  EXPECT_FALSE(runtime.steamVR) << "the path registry's SteamVR is not what the loader starts";
  EXPECT_EQ(runtime.name, "OpenComposite");

  // And the other way round: the override names SteamVR, the file another.
  memory_.put(kVrpath, vrpathNaming(kXrizer));
  memory_.variables["VR_OVERRIDE"] = kSteamVR;
  runtime = resolve();
  EXPECT_EQ(runtime.folder, kSteamVR);
  EXPECT_TRUE(runtime.steamVR);
  EXPECT_EQ(runtime.name, "");

  // Set but empty counts as not set.
  memory_.variables["VR_OVERRIDE"] = "";
  runtime = resolve();
  EXPECT_EQ(runtime.folder, kXrizer);
  EXPECT_FALSE(runtime.steamVR);
}

TEST_F(Runtime, PathRegistryIsFoundAsTheRegistryReaderFindsIt) {
  const std::string moved =
      onHost("E:\\Portable\\openvrpaths.vrpath", "/media/stick/Portable/openvrpaths.vrpath");
  memory_.put(moved, vrpathNaming(kOpenComposite));
  memory_.variables["VR_PATHREG_OVERRIDE"] = moved;
  const ActiveRuntime runtime = resolve();
  EXPECT_EQ(runtime.folder, kOpenComposite);
  EXPECT_FALSE(memory_.wasRead(kVrpath));
}

TEST_F(Runtime, WithoutAUsablePathRegistryTheFolderIsUnresolved) {
  struct Case {
    const char* name;
    std::optional<std::string> vrpath;  // nullopt: no file at all
  };
  const Case cases[] = {
      {"no file", std::nullopt},
      {"not JSON", "{\"runtime\": ["},
      {"not an object", "[" + jsonString(kSteamVR) + "]"},
      {"a NUL byte", std::string("{\"runtime\":[\"C:\\\\a\"]}\0", 22)},
      {"no runtime entry", R"({"config":["C:\\Steam\\config"]})"},
      {"an empty runtime list", vrpathWithRuntimes("[]")},
      {"an empty first runtime", vrpathWithRuntimes("[\"\"," + jsonString(kSteamVR) + "]")},
      {"a first runtime of another type", vrpathWithRuntimes("[7," + jsonString(kSteamVR) + "]")},
      {"runtime not an array", vrpathWithRuntimes(jsonString(kSteamVR))},
  };
  for (const Case& c : cases) {
    if (c.vrpath) {
      memory_.put(kVrpath, *c.vrpath);
    } else {
      memory_.erase(kVrpath);
    }
    const ActiveRuntime runtime = resolve();
    EXPECT_EQ(runtime.folder, std::nullopt) << c.name;
    EXPECT_FALSE(runtime.steamVR) << c.name;
    // A file that is there but tells no runtime is not left to the loader,
    // which may read it otherwise; without one the loader starts nothing.
    EXPECT_EQ(runtime.unresolved.empty(), !c.vrpath.has_value()) << c.name << ": "
                                                                 << runtime.unresolved;
    EXPECT_EQ(runtime.registryFile, kVrpath) << c.name;
  }

  memory_.put(kVrpath, vrpathNaming(kSteamVR));
  memory_.putUnreadable(kVrpath, "permission denied");
  ActiveRuntime unreadable = resolve();
  EXPECT_EQ(unreadable.folder, std::nullopt) << "unreadable";
  EXPECT_EQ(unreadable.unresolved,
            "the runtime's path registry " + kVrpath + " cannot be read (permission denied)");
  EXPECT_EQ(unresolvedRuntimeReason(unreadable),
            unreadable.unresolved +
                ", so which OpenVR runtime would start cannot be told, and none is called: start "
                "SteamVR once, which writes the file again (or set VR_OVERRIDE to SteamVR's "
                "folder)");

  memory_.erase(kVrpath);
  memory_.userFolder.clear();
  const ActiveRuntime nowhere = resolve();
  EXPECT_EQ(nowhere.folder, std::nullopt) << "no user folder";
  EXPECT_TRUE(nowhere.unresolved.empty());
}

// The loader's JSON reader skips comments and hands each entry on as a C
// string: a commented file names the runtime it starts, and an escaped NUL
// ends an entry.
TEST_F(Runtime, ThePathRegistryIsReadAsTheLoaderReadsIt) {
  memory_.put(kVrpath, "// written by hand\n/* the second runtime is a fallback */ {\n"
                       "  \"config\": [" + jsonString(onHost("C:\\Steam\\config", "/cfg")) +
                       "], // SteamVR's\n  \"runtime\": [ /* " + jsonString(kSteamVR) +
                       ", */ " + jsonString(kXrizer) + ", " + jsonString(kSteamVR) +
                       " ]\n}\n");
  ActiveRuntime runtime = resolve();
  EXPECT_EQ(runtime.folder, kXrizer) << runtime.unresolved;
  EXPECT_FALSE(runtime.steamVR);
  EXPECT_EQ(runtime.name, "xrizer");
  EXPECT_EQ(readRuntimeRegistry({"vantorell.ostrel", std::nullopt}, memory_, memory_).configFolder,
            onHost("C:\\Steam\\config", "/cfg"));

  std::string cut = jsonString(kSteamVR);
  cut.insert(cut.size() - 1, "\\u0000\\\\OpenComposite");
  memory_.put(kVrpath, vrpathWithRuntimes("[" + cut + "]"));
  runtime = resolve();
  EXPECT_EQ(runtime.folder, kSteamVR);
  EXPECT_TRUE(runtime.steamVR) << "the real SteamVR folder, cut where the loader cuts it";
  EXPECT_EQ(runtime.name, "");

  // Cut to nothing, the entry names no runtime.
  std::string empty = jsonString(kSteamVR);
  empty.insert(1, "\\u0000");
  memory_.put(kVrpath, vrpathWithRuntimes("[" + empty + "]"));
  runtime = resolve();
  EXPECT_EQ(runtime.folder, std::nullopt);
  EXPECT_FALSE(runtime.unresolved.empty());
}

TEST_F(Runtime, OverrideAloneDoesNotStandInForAMissingPathRegistry) {
  // The loader then fails before it looks at any runtime.
  memory_.erase(kVrpath);
  memory_.variables["VR_OVERRIDE"] = kSteamVR;
  EXPECT_EQ(resolve().folder, std::nullopt);
  memory_.variables["VR_CONFIG_PATH"] = "C:\\Steam\\config";
  EXPECT_EQ(resolve().folder, std::nullopt);

  // With all three of its variables set, the loader needs no file.
  memory_.variables["VR_LOG_PATH"] = "C:\\Steam\\logs";
  const ActiveRuntime runtime = resolve();
  EXPECT_EQ(runtime.folder, kSteamVR);
  EXPECT_TRUE(runtime.steamVR);

  memory_.variables["VR_LOG_PATH"] = "";
  EXPECT_EQ(resolve().folder, std::nullopt);
}

TEST_F(Runtime, OpenCompositeAndXrizerAreNamedFromTheFolder) {
  struct Case {
    std::string folder;
    const char* name;
  };
  const Case cases[] = {
      {kOpenComposite, "OpenComposite"},
      {"D:\\vr\\opencomposite-build\\x64", "OpenComposite"},
      {"C:\\OPENCOMPOSITE", "OpenComposite"},
      {kXrizer, "xrizer"},
      {"/home/me/.local/share/XRizer/target/release", "xrizer"},
      {"D:\\VR\\runtime", ""},
  };
  for (const Case& c : cases) {
    memory_.put(kVrpath, vrpathNaming(c.folder));
    const ActiveRuntime runtime = resolve();
    EXPECT_EQ(runtime.folder, c.folder);
    EXPECT_EQ(runtime.name, c.name) << c.folder;
    EXPECT_FALSE(runtime.steamVR) << c.folder;
  }

  // The name is a hint: the server file decides.
  const std::string renamed =
      onHost("C:\\Old OpenComposite Folder\\SteamVR", "/opt/Old OpenComposite Folder/SteamVR");
  memory_.put(serverIn(renamed), "");
  memory_.put(kVrpath, vrpathNaming(renamed));
  const ActiveRuntime runtime = resolve();
  EXPECT_TRUE(runtime.steamVR);
  EXPECT_EQ(runtime.name, "OpenComposite");
}

TEST(NotSteamVR, ReasonNamesTheFolderAndWhatToDo) {
  ActiveRuntime runtime;
  runtime.folder = "D:\\VR\\runtime";
  EXPECT_EQ(notSteamVRReason(runtime),
            "the active OpenVR runtime is not SteamVR: D:\\VR\\runtime; registrations belong to "
            "SteamVR: make SteamVR the active runtime (SteamVR's settings, or its vrpathreg tool) "
            "and register again, or let the application register itself at its next start");

  runtime.folder = kOpenComposite;
  runtime.name = "OpenComposite";
  EXPECT_EQ(notSteamVRReason(runtime),
            "the active OpenVR runtime is not SteamVR: " + kOpenComposite + " (OpenComposite); "
            "registrations belong to SteamVR: make SteamVR the active runtime (SteamVR's "
            "settings, or its vrpathreg tool) and register again, or let the application "
            "register itself at its next start");

  // A folder from a hostile file cannot break the line.
  runtime.folder = "C:\\a\nb\x1b[2J";
  runtime.name.clear();
  const std::string reason = notSteamVRReason(runtime);
  EXPECT_NE(reason.find("C:\\a\\x0ab\\x1b[2J; registrations"), std::string::npos) << reason;

  // Nor can a very long one, and it is shortened between characters.
  runtime.folder = "D:\\" + std::string(296, 'b') + "\xC3\xA9" + std::string(500, 'c');
  const std::string shortened = notSteamVRReason(runtime);
  EXPECT_TRUE(text::isValidUtf8(shortened)) << shortened;
  EXPECT_NE(shortened.find("b\xC3\xA9...; registrations"), std::string::npos) << shortened;
}

TEST(NotSteamVR, FindingIsAnErrorNamingTheFolderTheRuntimeAndTheServer) {
  ActiveRuntime runtime;
  runtime.folder = kXrizer;
  runtime.name = "xrizer";
  const RegistryFinding finding = runtimeNotSteamVRFinding(runtime);
  EXPECT_EQ(finding.code, "runtime-not-steamvr");
  EXPECT_EQ(finding.code, kRuntimeNotSteamVRCode);
  EXPECT_EQ(finding.severity, FindingSeverity::Error);
  EXPECT_TRUE(hasErrors({finding}));
  const std::string& message = finding.message;
  EXPECT_NE(message.find("\"" + kXrizer + "\" (xrizer), not SteamVR"), std::string::npos)
      << message;
  EXPECT_NE(message.find(runtimeregistry::runtimeServerFile()), std::string::npos) << message;
  EXPECT_NE(message.find("make SteamVR the active runtime"), std::string::npos) << message;
  EXPECT_NE(message.find("vrpathreg"), std::string::npos) << message;
  EXPECT_EQ(message.find('\n'), std::string::npos) << message;

  runtime.name.clear();
  runtime.folder = "D:\\VR\\runtime";
  EXPECT_NE(runtimeNotSteamVRFinding(runtime).message.find("\"D:\\VR\\runtime\", not SteamVR"),
            std::string::npos);
}

}  // namespace
}  // namespace ostrel::runtimeregistry
