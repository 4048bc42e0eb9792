// The commands in-process, over a scripted surface: what each prints where,
// which exit status it picks, and when it reaches for the runtime at all.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "Commands.h"
#include "ostrel/registration/ExitStatus.h"
#include "ostrel/registration/RegistrarPath.h"
#include "ostrel/openvr/OpenVRApplicationsSurface.h"
#include "ostrel/testing/HostPaths.h"
#include "ostrel/testing/MemoryRegistry.h"
#include "ostrel/testing/ScratchFolder.h"
#include "ostrel/testing/ScriptedApplicationsSurface.h"
#include "ostrel/testing/ScriptedConnector.h"
#include "platform/Platform.h"

namespace ostrel::registercli {
namespace {

using ostrel::testing::onHost;
using ostrel::testing::ScriptedConnector;

void countSleep(std::chrono::milliseconds) {}

class Commands : public ::testing::Test {
 protected:
  void SetUp() override { previousSleep_ = platform::replaceSleepFunction(&countSleep); }
  void TearDown() override { platform::replaceSleepFunction(previousSleep_); }

  int run(CommandKind kind, const std::string& manifest, bool force = false) {
    CommandLine line;
    line.command = kind;
    line.appKey = "vantorell.ostrel";
    line.manifestPath = manifest;
    line.loaderPath = "loader";
    line.force = force;
    out_.str({});
    err_.str({});
    line.dryRun = dryRun_;
    if (kind == CommandKind::Status && !statusManifest_) line.manifestPath.reset();
    line.json = json_;
    return runCommand(line, connector_, {&registry_, &registry_}, out_, err_);
  }

  // The whole of standard output must be the one summary line.
  std::string summary() const {
    const std::string text = out_.str();
    EXPECT_EQ(text.find('\n'), text.size() - 1) << text;
    return text.substr(0, text.size() - 1);
  }

  // The runtime calls made, as "Add <path>", "IsInstalled", "SetAutoLaunch"
  // and "Remove <path>".
  std::vector<std::string> calls() const {
    std::vector<std::string> made;
    for (const ostrel::testing::SurfaceCall& call : connector_.surface.calls) {
      if (call.operation == "Add" || call.operation == "Remove") {
        made.push_back(call.operation + " " + call.text);
      } else {
        made.push_back(call.operation == "Installed" ? "IsInstalled" : "SetAutoLaunch");
      }
    }
    return made;
  }

  ScriptedConnector connector_;
  ostrel::testing::MemoryRegistry registry_;
  bool dryRun_ = false;
  bool json_ = false;
  bool statusManifest_ = true;
  std::ostringstream out_;
  std::ostringstream err_;

 private:
  platform::SleepFunction previousSleep_ = nullptr;
};

// A path the check can judge only as missing, on every platform.
const std::string kAbsentManifest =
    onHost("C:\\Absent\\Ostrel\\app.vrmanifest", "/opt/absent-ostrel/app.vrmanifest");

TEST_F(Commands, RegisterRefusesOnCheckErrorsWithoutTouchingTheRuntime) {
  EXPECT_EQ(run(CommandKind::Register, kAbsentManifest), registration::kExitManifestErrors);
  EXPECT_EQ(connector_.connects, 0);
  EXPECT_EQ(summary().rfind("register refused: the manifest check found 1 error", 0), 0u)
      << summary();
  EXPECT_NE(err_.str().find("error [file-missing]"), std::string::npos) << err_.str();
}

TEST_F(Commands, ForcedRegisterGoesAheadAndNamesThePathItUsed) {
  connector_.surface.installedAnswers.queued = {false, true};
  EXPECT_EQ(run(CommandKind::Register, kAbsentManifest, true), 0);
  EXPECT_EQ(connector_.askedLoader, "loader");
  const std::string registrarPath = platform::wideToUtf8(registration::registrarPathFor(kAbsentManifest));
  EXPECT_EQ(summary(), "registered vantorell.ostrel from " + registrarPath);
  EXPECT_EQ(calls().front(), "Add " + registrarPath);
  EXPECT_NE(err_.str().find("--force"), std::string::npos) << err_.str();
}

TEST_F(Commands, EnsureTellsAlreadyRegisteredFromNewlyRegistered) {
  connector_.surface.installedAnswers.queued = {true};
  EXPECT_EQ(run(CommandKind::Ensure, kAbsentManifest, true), 0);
  EXPECT_EQ(summary(), "already registered vantorell.ostrel");

  connector_.surface.installedAnswers.queued = {false, true};
  EXPECT_EQ(run(CommandKind::Ensure, kAbsentManifest, true), 0);
  EXPECT_EQ(summary().rfind("registered vantorell.ostrel from ", 0), 0u) << summary();
}

TEST_F(Commands, RegistrarFailuresBecomeTheirExitStatus) {
  connector_.surface.addAnswers.otherwise = 107;
  EXPECT_EQ(run(CommandKind::Register, kAbsentManifest, true), 1);
  EXPECT_NE(summary().find("AddFailed"), std::string::npos) << summary();
  EXPECT_NE(summary().find("VRApplicationError_InvalidManifest"), std::string::npos) << summary();

  connector_.surface.addAnswers.otherwise = 0;
  EXPECT_EQ(run(CommandKind::Register, kAbsentManifest, true), 2);  // never installed
  connector_.surface.removeAnswers.otherwise = 100;
  EXPECT_EQ(run(CommandKind::Unregister, kAbsentManifest), 4);
}

TEST_F(Commands, UnregisterSkipsTheCheck) {
  EXPECT_EQ(run(CommandKind::Unregister, kAbsentManifest), 0);
  EXPECT_EQ(summary().rfind("removed vantorell.ostrel from ", 0), 0u) << summary();
  EXPECT_EQ(err_.str().find("file-missing"), std::string::npos) << err_.str();
}

TEST_F(Commands, UnreachableRuntimeIs69WithTheLoadersReason) {
  connector_.reachable = false;
  EXPECT_EQ(run(CommandKind::Unregister, kAbsentManifest), registration::kExitUnavailable);
  EXPECT_NE(summary().find("VRInitError_Init_HmdNotFound"), std::string::npos) << summary();
  EXPECT_EQ(run(CommandKind::Status, kAbsentManifest), registration::kExitUnavailable);
}

TEST_F(Commands, CheckNeedsNoRuntimeAndReportsOnStandardOutput) {
  EXPECT_EQ(run(CommandKind::Check, kAbsentManifest), registration::kExitManifestErrors);
  EXPECT_EQ(connector_.connects, 0);
  EXPECT_NE(out_.str().find("error [file-missing]"), std::string::npos) << out_.str();
  EXPECT_NE(out_.str().find("check failed"), std::string::npos) << out_.str();
  EXPECT_TRUE(err_.str().empty()) << err_.str();
}

class StatusCommand : public Commands {
 protected:
  void SetUp() override {
    Commands::SetUp();
    ASSERT_FALSE(folder_.path().empty()) << folder_.error();
    manifest_ = folder_.write("app.vrmanifest",
                              R"({"applications":[{"app_key":"vantorell.ostrel",)"
                              R"("launch_type":"binary","binary_path_windows":"Ostrel.exe",)"
                              R"("binary_path_linux":"ostrel"}]})");
  }

  std::string manifestText() const { return platform::pathToUtf8(manifest_); }
  std::string folderText() const { return platform::pathToUtf8(folder_.path()); }
  // The binary the runtime of the platform built for starts from it.
  std::string binaryText() const { return folderText() + onHost("\\Ostrel.exe", "/ostrel"); }

  const ostrel::testing::ScratchFolder folder_{"ostrel-register-status-"};
  std::filesystem::path manifest_;
};

TEST_F(StatusCommand, ReportsWhatTheRuntimeHolds) {
  connector_.surface.installedAnswers.queued = {true};
  connector_.surface.autoLaunch = {true, 0};
  connector_.surface.binaryPath = {binaryText(), 0};
  connector_.surface.workingDirectory = {folderText(), 0};
  EXPECT_EQ(run(CommandKind::Status, manifestText()), 0);
  const std::string text = out_.str();
  EXPECT_NE(text.find("installed:         yes\n"), std::string::npos) << text;
  EXPECT_NE(text.find("auto-launch:       on\n"), std::string::npos) << text;
  EXPECT_NE(text.find("dashboard overlay: yes\n"), std::string::npos) << text;
  EXPECT_NE(text.find("binary path:       " + binaryText() + "\n"), std::string::npos)
      << text;
  EXPECT_NE(text.find("manifest:          current"), std::string::npos) << text;
  EXPECT_NE(text.find("status: vantorell.ostrel is registered (auto-launch on)\n"),
            std::string::npos)
      << text;
}

TEST_F(StatusCommand, NamesAStaleRegistration) {
  connector_.surface.installedAnswers.queued = {true};
  const std::string old = onHost("D:\\Old\\Ostrel.exe", "/opt/old/ostrel");
  connector_.surface.binaryPath = {old, 0};
  EXPECT_EQ(run(CommandKind::Status, manifestText()), registration::kExitStale);
  EXPECT_NE(out_.str().find("manifest:          stale: the runtime starts " + old),
            std::string::npos)
      << out_.str();
  EXPECT_NE(out_.str().find(", stale: points elsewhere than"), std::string::npos) << out_.str();
}

TEST_F(StatusCommand, UnreportedPropertiesSayWhy) {
  connector_.surface.installedAnswers.queued = {true};
  connector_.surface.overlay = {false, 201};
  EXPECT_EQ(run(CommandKind::Status, manifestText()), 0);
  EXPECT_NE(out_.str().find("dashboard overlay: unknown (VRApplicationError_PropertyNotSet)"),
            std::string::npos)
      << out_.str();
  EXPECT_NE(out_.str().find("binary path:       (not reported: "), std::string::npos) << out_.str();
  EXPECT_NE(out_.str().find("manifest:          unknown"), std::string::npos) << out_.str();
}

TEST_F(StatusCommand, NotInstalledStopsAfterSayingSo) {
  EXPECT_EQ(run(CommandKind::Status, manifestText()), registration::kExitNotRegistered);
  EXPECT_NE(out_.str().find("installed:         no\n"), std::string::npos) << out_.str();
  EXPECT_EQ(calls(), std::vector<std::string>{"IsInstalled"});
}

// --- the runtime's files beside the runtime's answers ----------------------

const std::string kOurs =
    onHost("C:\\Games\\Ostrel\\app.vrmanifest", "/home/me/Games/Ostrel/app.vrmanifest");
const std::string kOld = onHost("D:\\Old\\Ostrel\\app.vrmanifest", "/opt/old/Ostrel/app.vrmanifest");
const std::string kCopy =
    onHost("E:\\Copy\\Ostrel\\app.vrmanifest", "/media/copy/Ostrel/app.vrmanifest");
const std::string kOther =
    onHost("C:\\Games\\Other\\other.vrmanifest", "/home/me/Games/Other/other.vrmanifest");
const std::string kConfig = onHost("C:\\Steam\\config", "/home/me/.local/share/Steam/config");
const std::string kVrpath =
    onHost("C:\\Users\\Me\\openvrpaths.vrpath", "/home/me/.config/openvr/openvrpaths.vrpath");
// A file in the config folder.
std::string inConfig(const std::string& name) {
  return kConfig + onHost("\\", "/") + name;
}

std::string declaring(const std::string& key) {
  return R"({"applications":[{"app_key":")" + key + R"("}]})";
}

class RegistryCommands : public Commands {
 protected:
  void SetUp() override {
    Commands::SetUp();
    registry_.variables["VR_PATHREG_OVERRIDE"] = kVrpath;
    registry_.put(kVrpath, nlohmann::json{{"config", {kConfig}}, {"jsonid", "vrpathreg"}, {"version", 1}}
                               .dump());
    registry_.put(kOurs, declaring("vantorell.ostrel"));
    registry_.put(kOld, declaring("vantorell.ostrel"));
    registry_.put(kCopy, declaring("vantorell.ostrel"));
    registry_.put(kOther, declaring("other.app"));
  }

  void list(const std::vector<std::string>& paths) {
    nlohmann::json root = {{"manifest_paths", paths}};
    registry_.put(inConfig("appconfig.json"), root.dump());
  }
  void autoLaunchFile(bool on) {
    registry_.put(inConfig(onHost("vrappconfig\\vantorell.ostrel.vrappconfig",
                                  "vrappconfig/vantorell.ostrel.vrappconfig")),
                  std::string(R"({"autolaunch":)") + (on ? "true" : "false") + "}");
  }

  nlohmann::json parsedOut() const {
    nlohmann::json parsed = nlohmann::json::parse(out_.str(), nullptr, false);
    EXPECT_FALSE(parsed.is_discarded()) << out_.str();
    EXPECT_EQ(out_.str().find('\n'), out_.str().size() - 1) << "one line of JSON";
    return parsed;
  }
  bool outHas(const std::string& text) const { return out_.str().find(text) != std::string::npos; }
};

TEST_F(RegistryCommands, StatusStatesAndTheirExitStatuses) {
  struct Case {
    const char* name;
    std::vector<std::string> listed;
    bool reachable;
    bool installed;
    int status;
    const char* line;
  } cases[] = {
      {"served from ours", {kOther, kOurs}, true, true, 0, "is registered (auto-launch off)"},
      {"an older copy first", {kOld, kOurs}, true, true, registration::kExitStale, "stale: served from "},
      {"only an older copy", {kOld}, true, true, registration::kExitStale, "stale: served from "},
      {"ours first, a copy after",
       {kOurs, kCopy},
       true,
       true,
       registration::kExitStale,
       "stale: 1 other listed manifest declares it"},
      {"nothing declares it",
       {kOther},
       true,
       false,
       registration::kExitNotRegistered,
       "is not registered with the runtime"},
      {"closed, files say ours",
       {kOurs},
       false,
       false,
       0,
       "is registered (auto-launch unknown) (from the runtime's files"},
      {"closed, files say stale",
       {kOld, kOurs},
       false,
       false,
       registration::kExitStale,
       "is registered (auto-launch unknown), stale: served from"},
      {"closed, files say nothing",
       {kOther},
       false,
       false,
       registration::kExitNotRegistered,
       "is not registered (from the runtime's files"},
  };
  for (const Case& c : cases) {
    list(c.listed);
    connector_.reachable = c.reachable;
    connector_.surface.installedAnswers.queued = {c.installed};
    EXPECT_EQ(run(CommandKind::Status, kOurs), c.status) << c.name << "\n" << out_.str();
    EXPECT_TRUE(outHas(c.line)) << c.name << "\n" << out_.str();
  }
}

TEST_F(RegistryCommands, StaleStatusNamesBothCopiesAndTheFix) {
  list({kOther, kOld, kOurs});
  connector_.surface.installedAnswers.queued = {true};
  EXPECT_EQ(run(CommandKind::Status, kOurs), registration::kExitStale);
  EXPECT_TRUE(outHas("listed manifests:  2 of 3 declare vantorell.ostrel\n")) << out_.str();
  EXPECT_TRUE(outHas("  served:  " + kOld + "\n")) << out_.str();
  EXPECT_TRUE(outHas("  skipped: " + kOurs + " (this manifest)\n")) << out_.str();
  EXPECT_FALSE(outHas(kOther)) << "another application's entry is not ours to show";
  EXPECT_TRUE(outHas("error [stale-registration]")) << out_.str();
  EXPECT_TRUE(outHas("`ostrel-register repair` fixes it")) << out_.str();
}

TEST_F(RegistryCommands, StatusWithoutAManifestJudgesByTheListAlone) {
  statusManifest_ = false;
  list({kOld});
  connector_.surface.installedAnswers.queued = {true};
  EXPECT_EQ(run(CommandKind::Status, kOurs), 0) << out_.str();
  list({kOld, kCopy});
  connector_.surface.installedAnswers.queued = {true};
  EXPECT_EQ(run(CommandKind::Status, kOurs), registration::kExitStale) << out_.str();
}

TEST_F(RegistryCommands, NeitherViewReadableIsUnknown) {
  registry_.files.clear();
  connector_.reachable = false;
  EXPECT_EQ(run(CommandKind::Status, kOurs), registration::kExitUnavailable);
  EXPECT_TRUE(outHas("warning [vrpath-missing]")) << out_.str();
  EXPECT_TRUE(outHas("status failed: the SteamVR runtime cannot be reached: ")) << out_.str();
}

TEST_F(RegistryCommands, DisagreementsBetweenTheViewsAreFlagged) {
  list({kOther});
  connector_.surface.installedAnswers.queued = {true};
  connector_.surface.autoLaunch = {true, 0};
  autoLaunchFile(false);
  EXPECT_EQ(run(CommandKind::Status, kOurs), 0) << out_.str();
  EXPECT_TRUE(outHas("warning [views-disagree]: the runtime lists vantorell.ostrel, but no "))
      << out_.str();
  EXPECT_TRUE(outHas("warning [views-disagree]: the runtime answers auto-launch on, but its "))
      << out_.str();
  // The runtime's own answer wins: no auto-launch-off from the file.
  EXPECT_FALSE(outHas("[auto-launch-off]")) << out_.str();
  EXPECT_FALSE(outHas("[not-registered]")) << out_.str();
}

TEST_F(RegistryCommands, StatusJsonParsesBackWithBothViews) {
  list({kOld, kOther, kOurs});
  autoLaunchFile(true);
  connector_.reachable = false;
  json_ = true;
  EXPECT_EQ(run(CommandKind::Status, kOurs), registration::kExitStale);
  const nlohmann::json report = parsedOut();
  EXPECT_EQ(report["app_key"], "vantorell.ostrel");
  EXPECT_EQ(report["manifest"], kOurs);
  EXPECT_EQ(report["state"], "stale");
  EXPECT_EQ(report["exit_status"], registration::kExitStale);
  EXPECT_EQ(report["runtime"]["reachable"], false);
  EXPECT_EQ(report["runtime"]["error"], "VRInitError_Init_HmdNotFound");
  EXPECT_EQ(report["runtime"]["advice"], "start SteamVR");
  EXPECT_EQ(report["installed"], true);
  EXPECT_EQ(report["auto_launch"], true);
  EXPECT_EQ(report["registry"]["file"], kVrpath);
  EXPECT_EQ(report["registry"]["config"], kConfig);
  const nlohmann::json& paths = report["registry"]["manifest_paths"];
  ASSERT_EQ(paths.size(), 3u);
  EXPECT_EQ(
      paths[0],
      (nlohmann::json{
          {"path", kOld}, {"exists", true}, {"declares_key", true}, {"this_manifest", false}}));
  EXPECT_EQ(paths[1]["declares_key"], false);
  EXPECT_EQ(paths[2]["this_manifest"], true);
  std::vector<std::string> codes;
  for (const nlohmann::json& finding : report["findings"]) {
    EXPECT_TRUE(finding["severity"] == "error" || finding["severity"] == "warning");
    codes.push_back(finding["code"]);
  }
  EXPECT_EQ(codes, (std::vector<std::string>{"runtime-unreachable", "stale-registration"}));

  // Reachable, with nothing in the files: nulls where nothing is known.
  registry_.files.clear();
  connector_.reachable = true;
  connector_.surface.installedAnswers.queued = {false};
  EXPECT_EQ(run(CommandKind::Status, kOurs), registration::kExitNotRegistered);
  const nlohmann::json bare = parsedOut();
  EXPECT_EQ(bare["state"], "not-registered");
  EXPECT_EQ(bare["runtime"],
            (nlohmann::json{{"reachable", true}, {"error", nullptr}, {"advice", nullptr}}));
  EXPECT_EQ(bare["installed"], false);
  EXPECT_TRUE(bare["auto_launch"].is_null());
  EXPECT_TRUE(bare["registry"]["config"].is_null());
  EXPECT_TRUE(bare["registry"]["manifest_paths"].empty());
}

TEST_F(RegistryCommands, RepairRemovesOnlyOtherCopiesOfTheKeyThenRegisters) {
  list({kOther, kOld, kOurs, kCopy});
  connector_.surface.installedAnswers.queued = {false, true};
  EXPECT_EQ(run(CommandKind::Repair, kOurs, true), 0) << out_.str();
  const std::vector<std::string> made = calls();
  ASSERT_GE(made.size(), 4u);
  // The runtime is asked for the user's auto-launch choice before anything
  // changes.
  EXPECT_EQ(made[0], "IsInstalled");
  EXPECT_EQ(made[1], "Remove " + kOld);
  EXPECT_EQ(made[2], "Remove " + kCopy);
  EXPECT_EQ(made[3], "Add " + kOurs);
  for (const std::string& call : made) EXPECT_EQ(call.find(kOther), std::string::npos) << call;
  EXPECT_EQ(summary(), "repaired vantorell.ostrel: removed " + kOld + ", " + kCopy +
                           "; registered vantorell.ostrel from " + kOurs);
}

TEST_F(RegistryCommands, RefusedRemovalStopsBeforeAnythingIsRegistered) {
  list({kOld, kCopy, kOurs});
  connector_.surface.removeAnswers.otherwise = 104;
  EXPECT_EQ(run(CommandKind::Repair, kOurs, true), 4);
  EXPECT_EQ(calls(), (std::vector<std::string>{"IsInstalled", "Remove " + kOld}));
  EXPECT_EQ(summary(),
            "repair failed (RemoveFailed, exit 4) for vantorell.ostrel: the runtime "
            "refused to remove " +
                kOld + " (VRApplicationError_UnknownApplication); nothing registered");
}

TEST_F(RegistryCommands, DryRunReadsTheFilesAndNeverTheRuntime) {
  list({kOld, kOurs});
  dryRun_ = true;
  EXPECT_EQ(run(CommandKind::Repair, kOurs, true), 0);
  EXPECT_EQ(connector_.connects, 0);
  EXPECT_EQ(out_.str(), "would remove " + kOld +
                            "\nrepair (dry run) for vantorell.ostrel: would "
                            "remove " +
                            kOld + "; would register vantorell.ostrel from " + kOurs + "\n");
  json_ = true;
  EXPECT_EQ(run(CommandKind::Repair, kOurs, true), 0);
  const nlohmann::json report = parsedOut();
  EXPECT_EQ(report["dry_run"], true);
  EXPECT_EQ(report["would_remove"], nlohmann::json::array({kOld}));
  EXPECT_TRUE(report["removed"].empty());
  EXPECT_TRUE(report["result"].is_null());
  EXPECT_EQ(report["state"], "stale");
  EXPECT_EQ(report["runtime"]["reachable"], false);
  EXPECT_TRUE(report["runtime"]["error"].is_null()) << "the runtime was not asked";
}

TEST_F(RegistryCommands, UnreadableRegistryOnlyRegisters) {
  registry_.put(inConfig("appconfig.json"), "{\"manifest_paths\": [");
  connector_.surface.installedAnswers.queued = {false, true};
  EXPECT_EQ(run(CommandKind::Repair, kOurs, true), 0);
  EXPECT_EQ(calls().at(1), "Add " + kOurs);
  EXPECT_NE(err_.str().find("warning [appconfig-unreadable]"), std::string::npos) << err_.str();
  EXPECT_NE(err_.str().find("only registering " + kOurs), std::string::npos) << err_.str();
  EXPECT_EQ(summary(),
            "repaired vantorell.ostrel: nothing to remove; registered "
            "vantorell.ostrel from " +
                kOurs);
}

TEST_F(RegistryCommands, RepairChecksFirstAndNeedsTheRuntime) {
  list({kOld, kOurs});
  EXPECT_EQ(run(CommandKind::Repair, kOurs), registration::kExitManifestErrors);  // the file is not on disk
  EXPECT_EQ(connector_.connects, 0);
  EXPECT_EQ(summary().rfind("repair refused: the manifest check found ", 0), 0u) << summary();

  connector_.reachable = false;
  EXPECT_EQ(run(CommandKind::Repair, kOurs, true), registration::kExitUnavailable);
  EXPECT_EQ(summary().rfind("repair failed: the SteamVR runtime cannot be reached: ", 0), 0u)
      << summary();
  EXPECT_TRUE(calls().empty());
}

TEST_F(RegistryCommands, FailedRegistrationAfterRemovalsSaysWhatWasRemoved) {
  list({kOld, kOurs});
  connector_.surface.addAnswers.otherwise = 107;
  json_ = true;
  EXPECT_EQ(run(CommandKind::Repair, kOurs, true), 1);
  const nlohmann::json report = parsedOut();
  EXPECT_EQ(report["removed"], nlohmann::json::array({kOld}));
  EXPECT_EQ(report["result"], "AddFailed");
  EXPECT_EQ(report["exit_status"], 1);
  bool checkFinding = false;
  for (const nlohmann::json& finding : report["findings"]) {
    checkFinding = checkFinding || finding["code"] == "file-missing";
  }
  EXPECT_TRUE(checkFinding) << "the manifest check's findings are in the list too";
}

TEST_F(Commands, CheckJsonParsesBack) {
  json_ = true;
  EXPECT_EQ(run(CommandKind::Check, kAbsentManifest), registration::kExitManifestErrors);
  const nlohmann::json report = nlohmann::json::parse(out_.str());
  EXPECT_EQ(report["app_key"], "vantorell.ostrel");
  EXPECT_EQ(report["passed"], false);
  EXPECT_EQ(report["errors"], 1);
  EXPECT_EQ(report["warnings"], 0);
  EXPECT_EQ(report["exit_status"], registration::kExitManifestErrors);
  ASSERT_EQ(report["findings"].size(), 1u);
  EXPECT_EQ(report["findings"][0]["code"], "file-missing");
}

}  // namespace
}  // namespace ostrel::registercli
