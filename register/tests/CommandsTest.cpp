// The commands in-process, over a scripted surface: what each prints where,
// which exit status it picks, and when it reaches for the runtime at all.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Commands.h"
#include "ExitStatus.h"
#include "MemoryRegistry.h"
#include "ostrel/steamvr/OpenVRApplicationsSurface.h"
#include "platform/Platform.h"

namespace ostrel::registercli {
namespace {

using steamvr::ApplicationError;
using steamvr::ApplicationFlag;
using steamvr::ApplicationText;

class ScriptedSurface final : public steamvr::OpenVRApplicationsSurface {
 public:
  ApplicationError AddApplicationManifest(const char* path, bool) override {
    calls.push_back(std::string("Add ") + path);
    return addError;
  }
  bool IsApplicationInstalled(const char*) override {
    calls.emplace_back("IsInstalled");
    if (installed.empty()) return false;
    const bool answer = installed.front();
    installed.pop_front();
    return answer;
  }
  ApplicationError SetApplicationAutoLaunch(const char*, bool) override {
    calls.emplace_back("SetAutoLaunch");
    return 0;
  }
  ApplicationError RemoveApplicationManifest(const char* path) override {
    calls.push_back(std::string("Remove ") + path);
    return removeError;
  }
  ApplicationFlag GetApplicationAutoLaunch(const char*) override { return {autoLaunch, 0}; }
  ApplicationFlag IsDashboardOverlay(const char*) override { return overlay; }
  ApplicationText GetBinaryPath(const char*) override { return binary; }
  ApplicationText GetWorkingDirectory(const char*) override { return workingDirectory; }

  std::deque<bool> installed;
  ApplicationError addError = 0;
  ApplicationError removeError = 0;
  bool autoLaunch = false;
  ApplicationFlag overlay{true, 0};
  ApplicationText binary{{}, 201};
  ApplicationText workingDirectory{{}, 201};
  std::vector<std::string> calls;
};

class ScriptedConnector final : public IRuntimeConnector {
 public:
  steamvr::OpenVRApplicationsSurface* Connect(const std::string& loaderPath,
                                              RuntimeFailure& failure) override {
    ++connects;
    askedLoader = loaderPath;
    if (!reachable) {
      failure = {"VR_InitInternal2 failed: VRInitError_Init_HmdNotFound (108)",
                 "VRInitError_Init_HmdNotFound", "start SteamVR"};
      return nullptr;
    }
    return &surface;
  }

  ScriptedSurface surface;
  bool reachable = true;
  int connects = 0;
  std::string askedLoader;
};

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
    line.json = json_;
    return runCommand(line, connector_, registry_.sources(), out_, err_);
  }

  // The whole of standard output must be the one summary line.
  std::string summary() const {
    const std::string text = out_.str();
    EXPECT_EQ(text.find('\n'), text.size() - 1) << text;
    return text.substr(0, text.size() - 1);
  }

  ScriptedConnector connector_;
  testing::MemoryRegistry registry_;
  bool dryRun_ = false;
  bool json_ = false;
  std::ostringstream out_;
  std::ostringstream err_;

 private:
  platform::SleepFunction previousSleep_ = nullptr;
};

// A path the check can judge only as missing, on every platform.
const std::string kAbsentManifest = "C:\\Absent\\Ostrel\\app.vrmanifest";

TEST_F(Commands, RegisterRefusesOnCheckErrorsWithoutTouchingTheRuntime) {
  EXPECT_EQ(run(CommandKind::Register, kAbsentManifest), kExitManifestErrors);
  EXPECT_EQ(connector_.connects, 0);
  EXPECT_EQ(summary().rfind("register refused: the manifest check found 1 error", 0), 0u)
      << summary();
  EXPECT_NE(err_.str().find("error [file-missing]"), std::string::npos) << err_.str();
}

TEST_F(Commands, ForcedRegisterGoesAheadAndNamesThePathItUsed) {
  connector_.surface.installed = {false, true};
  EXPECT_EQ(run(CommandKind::Register, kAbsentManifest, true), 0);
  EXPECT_EQ(connector_.askedLoader, "loader");
  const std::string registrarPath = platform::wideToUtf8(registrarPathFor(kAbsentManifest));
  EXPECT_EQ(summary(), "registered vantorell.ostrel from " + registrarPath);
  EXPECT_EQ(connector_.surface.calls.front(), "Add " + registrarPath);
  EXPECT_NE(err_.str().find("--force"), std::string::npos) << err_.str();
}

TEST_F(Commands, EnsureTellsAlreadyRegisteredFromNewlyRegistered) {
  connector_.surface.installed = {true};
  EXPECT_EQ(run(CommandKind::Ensure, kAbsentManifest, true), 0);
  EXPECT_EQ(summary(), "already registered vantorell.ostrel");

  connector_.surface.installed = {false, true};
  EXPECT_EQ(run(CommandKind::Ensure, kAbsentManifest, true), 0);
  EXPECT_EQ(summary().rfind("registered vantorell.ostrel from ", 0), 0u) << summary();
}

TEST_F(Commands, RegistrarFailuresBecomeTheirExitStatus) {
  connector_.surface.addError = 107;
  EXPECT_EQ(run(CommandKind::Register, kAbsentManifest, true), 1);
  EXPECT_NE(summary().find("AddFailed"), std::string::npos) << summary();
  EXPECT_NE(summary().find("VRApplicationError_InvalidManifest"), std::string::npos) << summary();

  connector_.surface.addError = 0;
  EXPECT_EQ(run(CommandKind::Register, kAbsentManifest, true), 2);  // never installed
  connector_.surface.removeError = 100;
  EXPECT_EQ(run(CommandKind::Unregister, kAbsentManifest), 4);
}

TEST_F(Commands, UnregisterSkipsTheCheck) {
  EXPECT_EQ(run(CommandKind::Unregister, kAbsentManifest), 0);
  EXPECT_EQ(summary().rfind("removed vantorell.ostrel from ", 0), 0u) << summary();
  EXPECT_EQ(err_.str().find("file-missing"), std::string::npos) << err_.str();
}

TEST_F(Commands, UnreachableRuntimeIs69WithTheLoadersReason) {
  connector_.reachable = false;
  EXPECT_EQ(run(CommandKind::Unregister, kAbsentManifest), kExitUnavailable);
  EXPECT_NE(summary().find("VRInitError_Init_HmdNotFound"), std::string::npos) << summary();
  EXPECT_EQ(run(CommandKind::Status, kAbsentManifest), kExitUnavailable);
}

TEST_F(Commands, CheckNeedsNoRuntimeAndReportsOnStandardOutput) {
  EXPECT_EQ(run(CommandKind::Check, kAbsentManifest), kExitManifestErrors);
  EXPECT_EQ(connector_.connects, 0);
  EXPECT_NE(out_.str().find("error [file-missing]"), std::string::npos) << out_.str();
  EXPECT_NE(out_.str().find("check failed"), std::string::npos) << out_.str();
  EXPECT_TRUE(err_.str().empty()) << err_.str();
}

class StatusCommand : public Commands {
 protected:
  void SetUp() override {
    Commands::SetUp();
    folder_ = std::filesystem::temp_directory_path() /
              ("ostrel-register-status-" +
               std::to_string(::testing::UnitTest::GetInstance()->current_test_info()->line()));
    std::filesystem::create_directories(folder_);
    manifest_ = folder_ / "app.vrmanifest";
    std::ofstream(manifest_) << R"({"applications":[{"app_key":"vantorell.ostrel",)"
                             << R"("launch_type":"binary","binary_path_windows":"Ostrel.exe"}]})";
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
    Commands::TearDown();
  }

  std::string manifestText() const { return platform::pathToUtf8(manifest_); }
  std::string folderText() const { return platform::pathToUtf8(folder_); }

  std::filesystem::path folder_;
  std::filesystem::path manifest_;
};

TEST_F(StatusCommand, ReportsWhatTheRuntimeHolds) {
  connector_.surface.installed = {true};
  connector_.surface.autoLaunch = true;
  connector_.surface.binary = {folderText() + "\\Ostrel.exe", 0};
  connector_.surface.workingDirectory = {folderText(), 0};
  EXPECT_EQ(run(CommandKind::Status, manifestText()), 0);
  const std::string text = out_.str();
  EXPECT_NE(text.find("installed:         yes\n"), std::string::npos) << text;
  EXPECT_NE(text.find("auto-launch:       on\n"), std::string::npos) << text;
  EXPECT_NE(text.find("dashboard overlay: yes\n"), std::string::npos) << text;
  EXPECT_NE(text.find("binary path:       " + folderText() + "\\Ostrel.exe\n"), std::string::npos)
      << text;
  EXPECT_NE(text.find("manifest:          current"), std::string::npos) << text;
  EXPECT_NE(text.find("status: vantorell.ostrel is registered (auto-launch on)\n"),
            std::string::npos)
      << text;
}

TEST_F(StatusCommand, NamesAStaleRegistration) {
  connector_.surface.installed = {true};
  connector_.surface.binary = {"D:\\Old\\Ostrel.exe", 0};
  EXPECT_EQ(run(CommandKind::Status, manifestText()), kExitStale);
  EXPECT_NE(out_.str().find("manifest:          stale: the runtime starts D:\\Old\\Ostrel.exe"),
            std::string::npos)
      << out_.str();
  EXPECT_NE(out_.str().find(", stale: points elsewhere than"), std::string::npos) << out_.str();
}

TEST_F(StatusCommand, UnreportedPropertiesSayWhy) {
  connector_.surface.installed = {true};
  connector_.surface.overlay = {false, 201};
  EXPECT_EQ(run(CommandKind::Status, manifestText()), 0);
  EXPECT_NE(out_.str().find("dashboard overlay: unknown (VRApplicationError_PropertyNotSet)"),
            std::string::npos)
      << out_.str();
  EXPECT_NE(out_.str().find("binary path:       (not reported: "), std::string::npos) << out_.str();
  EXPECT_NE(out_.str().find("manifest:          unknown"), std::string::npos) << out_.str();
}

TEST_F(StatusCommand, NotInstalledStopsAfterSayingSo) {
  EXPECT_EQ(run(CommandKind::Status, manifestText()), kExitNotRegistered);
  EXPECT_NE(out_.str().find("installed:         no\n"), std::string::npos) << out_.str();
  EXPECT_EQ(connector_.surface.calls, std::vector<std::string>{"IsInstalled"});
}

}  // namespace
}  // namespace ostrel::registercli
