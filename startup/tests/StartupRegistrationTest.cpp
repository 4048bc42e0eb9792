// The start-up call, blocking, over the runtime's files in memory and a
// scripted runtime: when it leaves the runtime alone, how it registers,
// repairs a moved install and reports what it cannot do.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "StartupTestSupport.h"
#include "ostrel/startup/StartupRegistration.h"
#include "platform/Platform.h"

namespace ostrel::startup::test {
namespace {

using ostrel::testing::SurfaceCall;
using steamvr::RegisterResult;

class Startup : public ::testing::Test {
 protected:
  StartupOutcome run(const std::string& manifest = kOurs) {
    return runWith(manifest, "openvr_api.dll", &connector_);
  }

  // `connector` null: the call's own connector over the loader at `loaderPath`.
  StartupOutcome runWith(const std::string& manifest, const std::string& loaderPath,
                         registration::IRuntimeConnector* connector) {
    StartupOptions options;
    options.appKey = key_;
    options.manifestPath = manifest;
    options.loaderPath = loaderPath;
    StartupServices services;
    services.sources = {&files_.memory, &files_.memory};
    services.connector = connector;
    services.check = check_;
    return keepRegistrationRight(options, services);
  }

  // The runtime calls that change something, as "Add <path>", "Remove
  // <path>", "AutoLaunch on|off".
  std::vector<std::string> changes() const {
    std::vector<std::string> made;
    for (const SurfaceCall& call : connector_.surface.calls) {
      if (call.operation == "Add" || call.operation == "Remove") {
        made.push_back(call.operation + " " + call.text);
      } else if (call.operation == "AutoLaunch") {
        made.push_back(std::string("AutoLaunch ") + (call.flag ? "on" : "off"));
      }
    }
    return made;
  }

  std::string key_ = kKey;
  RuntimeFiles files_;
  ScriptedConnector connector_;
  decltype(StartupServices::check) check_ = &checkPasses;
};

TEST_F(Startup, ARegistrationTheFilesShowRightNeverReachesTheRuntime) {
  files_.list({kOther, kOurs, kGone});
  files_.autoLaunch(false);  // a choice is recorded, whichever it is
  const StartupOutcome outcome = run();
  EXPECT_EQ(outcome.action, StartupAction::AlreadyRegistered) << outcome.text;
  EXPECT_EQ(connector_.connects, 0);
  EXPECT_FALSE(outcome.runtimeContacted);
  EXPECT_FALSE(outcome.result.has_value());
  EXPECT_EQ(outcome.manifestPath, kOurs);
  EXPECT_EQ(outcome.text, "vantorell.ostrel is registered from " + kOurs);
  ASSERT_EQ(outcome.findings.size(), 1u);  // the check's warning is passed on
  EXPECT_EQ(outcome.findings[0].code, "no-name");
}

TEST_F(Startup, AMovedInstallIsRepairedAndTheUsersAutoLaunchKept) {
  files_.list({kOld, kOther, kOurs, kGone});
  files_.autoLaunch(false);
  connector_.surface.installedAnswers.queued = {true, false, true};  // old copy served, then ours
  connector_.surface.autoLaunch = {false, steamvr::kApplicationErrorNone};
  const StartupOutcome outcome = run();
  EXPECT_EQ(outcome.action, StartupAction::Repaired) << outcome.text;
  EXPECT_TRUE(outcome.runtimeContacted);
  EXPECT_EQ(outcome.result, RegisterResult::Success);
  EXPECT_EQ(outcome.removed, std::vector<std::string>{kOld});
  // Only the old copy goes: the other application's entry and the gone one
  // do not declare the key. Auto-launch is not touched, not even for a moment.
  EXPECT_EQ(changes(), (std::vector<std::string>{"Remove " + kOld, "Add " + kOurs}));
  EXPECT_EQ(outcome.text, "removed " + kOld + "; registered vantorell.ostrel from " + kOurs +
                              " (auto-launch left off, as the user set it)");
}

TEST_F(Startup, ARepairLeavesAutoLaunchOnWhenTheUserHadItOn) {
  files_.list({kOld, kOurs});
  files_.autoLaunch(false);  // the runtime's own answer overrules its file
  connector_.surface.installedAnswers.queued = {true, false, true};
  connector_.surface.autoLaunch = {true, steamvr::kApplicationErrorNone};
  const StartupOutcome outcome = run();
  EXPECT_EQ(outcome.action, StartupAction::Repaired) << outcome.text;
  EXPECT_EQ(changes(), (std::vector<std::string>{"Remove " + kOld, "Add " + kOurs}));
  EXPECT_NE(outcome.text.find("(auto-launch left on, as the user set it)"), std::string::npos)
      << outcome.text;
}

TEST_F(Startup, ARepairFallsBackToTheSettingsFileForAutoLaunch) {
  files_.list({kOld, kOurs});
  files_.autoLaunch(false);
  connector_.surface.installedAnswers.queued = {false, false, true};  // runtime does not say
  const StartupOutcome outcome = run();
  EXPECT_EQ(outcome.action, StartupAction::Repaired) << outcome.text;
  EXPECT_EQ(changes(), (std::vector<std::string>{"Remove " + kOld, "Add " + kOurs}));
  EXPECT_NE(outcome.text.find("(auto-launch left off, as the user set it)"), std::string::npos)
      << outcome.text;
}

// Nothing recorded for the key: the repaired registration is a first one
// as far as auto-launch goes, and says nothing of a choice the user made.
TEST_F(Startup, ARepairWithNoChoiceRecordedSwitchesAutoLaunchOn) {
  files_.list({kOld, kOurs});
  connector_.surface.installedAnswers.queued = {true, false, true};
  const StartupOutcome outcome = run();
  EXPECT_EQ(outcome.action, StartupAction::Repaired) << outcome.text;
  EXPECT_EQ(changes(),
            (std::vector<std::string>{"Remove " + kOld, "Add " + kOurs, "AutoLaunch on"}));
  EXPECT_EQ(outcome.text.find("as the user set it"), std::string::npos) << outcome.text;
}

TEST_F(Startup, ARefusedRemovalRegistersNothing) {
  files_.list({kOld, kOurs});
  connector_.surface.removeAnswers.otherwise = 104;
  const StartupOutcome outcome = run();
  EXPECT_EQ(outcome.action, StartupAction::Failed);
  EXPECT_EQ(changes(), std::vector<std::string>{"Remove " + kOld});
  EXPECT_TRUE(outcome.removed.empty());
  EXPECT_NE(outcome.text.find("refused to remove " + kOld), std::string::npos) << outcome.text;
  EXPECT_NE(outcome.text.find("nothing registered"), std::string::npos) << outcome.text;
}

TEST_F(Startup, AFirstRegistrationSwitchesAutoLaunchOn) {
  files_.list({kOther, kGone});
  connector_.surface.installedAnswers.queued = {false, false, true};
  const StartupOutcome outcome = run();
  EXPECT_EQ(outcome.action, StartupAction::Registered) << outcome.text;
  EXPECT_EQ(outcome.result, RegisterResult::Success);
  EXPECT_EQ(connector_.askedLoader, "openvr_api.dll");
  EXPECT_EQ(changes(), (std::vector<std::string>{"Add " + kOurs, "AutoLaunch on"}));
  EXPECT_EQ(outcome.text, "registered vantorell.ostrel from " + kOurs);
}

TEST_F(Startup, TheRuntimesOwnListingWinsOverFilesThatMissTheKey) {
  files_.list({kOther});
  files_.autoLaunch(false);
  connector_.surface.installedAnswers.otherwise = true;  // e.g. added for this session only
  const StartupOutcome outcome = run();
  EXPECT_EQ(outcome.action, StartupAction::AlreadyRegistered) << outcome.text;
  EXPECT_TRUE(outcome.runtimeContacted);
  EXPECT_TRUE(changes().empty());  // auto-launch as the user set it
}

TEST_F(Startup, UnreadableOrHostileFilesFallBackToTheRuntime) {
  for (const std::string& appConfig :
       {std::string(), std::string("{\"manifest_paths\": [\"" + std::string(70, '[')),
        std::string(2 << 20, ' ')}) {
    SCOPED_TRACE(appConfig.substr(0, 20));
    if (appConfig.empty()) {
      files_.memory.erase(kVrpath);
    } else {
      files_.memory.put(kAppConfig, appConfig);
    }
    connector_.surface.calls.clear();
    connector_.surface.installedAnswers.queued = {false, true};
    const StartupOutcome outcome = run();
    EXPECT_EQ(outcome.action, StartupAction::Registered) << outcome.text;
    EXPECT_EQ(changes(), (std::vector<std::string>{"Add " + kOurs, "AutoLaunch on"}));
  }
}

TEST_F(Startup, AnUnreachableRuntimeChangesNothingAndSaysWhy) {
  files_.list({kOld, kOurs});
  connector_.reachable = false;
  const StartupOutcome outcome = run();
  EXPECT_EQ(outcome.action, StartupAction::Unreachable);
  EXPECT_TRUE(outcome.runtimeContacted);
  EXPECT_FALSE(outcome.result.has_value());
  EXPECT_TRUE(connector_.surface.calls.empty());
  EXPECT_NE(outcome.text.find("VRInitError_Init_HmdNotFound (108)"), std::string::npos)
      << outcome.text;
}

TEST_F(Startup, ARuntimeThatIsNotSteamVRIsNeverCalled) {
  files_.list({kOther});
  // The real connector, reading the same files: their runtime folder holds
  // no server, so the loader is not even looked for.
  const StartupOutcome outcome = runWith(kOurs, "no-such-loader", nullptr);
  EXPECT_EQ(outcome.action, StartupAction::Unreachable);
  EXPECT_TRUE(outcome.runtimeContacted);
  EXPECT_NE(outcome.text.find("the active OpenVR runtime is not SteamVR: " + kRuntime +
                              "; registrations belong to SteamVR"),
            std::string::npos)
      << outcome.text;
  // What to do is said once, by the reason.
  const std::size_t advice = outcome.text.find("at its next start");
  ASSERT_NE(advice, std::string::npos) << outcome.text;
  EXPECT_EQ(outcome.text.find("at its next start", advice + 1), std::string::npos) << outcome.text;
  EXPECT_EQ(outcome.text.find("the next start tries again"), std::string::npos) << outcome.text;
}

TEST_F(Startup, AnUnreachableRuntimeThatMayAnswerLaterIsTriedAgainNextStart) {
  files_.list({kOurs});
  connector_.reachable = false;
  const StartupOutcome outcome = run();
  EXPECT_EQ(outcome.text, "the SteamVR runtime cannot be reached: " +
                              connector_.failure.message +
                              "; nothing was changed, and the next start tries again");
}

TEST_F(Startup, ManifestErrorsStopItBeforeTheRuntime) {
  files_.list({kOurs});  // listed and served, yet the runtime would skip it
  check_ = &checkFails;
  const StartupOutcome outcome = run();
  EXPECT_EQ(outcome.action, StartupAction::Failed);
  EXPECT_EQ(connector_.connects, 0);
  ASSERT_EQ(outcome.findings.size(), 2u);
  EXPECT_EQ(outcome.findings[1].code, "binary-missing");
  EXPECT_NE(outcome.text.find("1 error in " + kOurs + ": error [binary-missing]"),
            std::string::npos)
      << outcome.text;
}

TEST_F(Startup, RegistrarFailuresAreReportedWithTheirResult) {
  files_.list({});
  connector_.surface.addAnswers.otherwise = 107;
  const StartupOutcome outcome = run();
  EXPECT_EQ(outcome.action, StartupAction::Failed);
  EXPECT_EQ(outcome.result, RegisterResult::AddFailed);
  EXPECT_NE(outcome.text.find("AddFailed"), std::string::npos) << outcome.text;
}

TEST_F(Startup, AKeyTheRuntimeRefusesIsRefusedBeforeAnythingIsRead) {
  files_.list({kOurs});
  for (const std::string& key : {std::string(), std::string("vantorell.ostrel\n"),
                                 std::string("vantorell ostrel"), std::string(128, 'k')}) {
    key_ = key;
    const StartupOutcome outcome = run();
    EXPECT_EQ(outcome.action, StartupAction::Failed) << key;
    EXPECT_EQ(outcome.text.rfind("not registered: the application key ", 0), 0u) << outcome.text;
    EXPECT_EQ(connector_.connects, 0);
    EXPECT_TRUE(files_.memory.reads.empty());
  }
}

// Without a manifest named, the one beside the program: on Linux beside the
// AppImage file when the AppImage runtime names one, since the program
// itself then runs from a mount that goes away.
TEST_F(Startup, WithoutAManifestNamedTheOneBesideTheProgramIsUsed) {
  const outcome::Outcome<std::filesystem::path> folder = platform::executableDirectory();
  ASSERT_TRUE(folder) << folder.failure().message;
  const std::string beside = platform::pathToUtf8(folder.value() / "app.vrmanifest");
  struct Case {
    std::optional<std::string> appImage;
    std::string manifest;
  } cases[] = {
      {std::nullopt, beside},
      {"", beside},
      {onHost("C:\\Apps\\Ostrel.AppImage", "/home/me/Apps/Ostrel-x86_64.AppImage"),
       onHost(beside, "/home/me/Apps/app.vrmanifest")},
  };
  check_ = &checkFails;  // ends it before the runtime
  for (const Case& c : cases) {
    files_.memory.variables.erase("APPIMAGE");
    if (c.appImage) files_.memory.variables["APPIMAGE"] = *c.appImage;
    const StartupOutcome outcome = run("");
    EXPECT_EQ(outcome.manifestPath, c.manifest) << c.appImage.value_or("(unset)");
    EXPECT_NE(outcome.text.find(" in " + c.manifest + ": "), std::string::npos) << outcome.text;
  }
}

TEST(StartupActionName, NamesEveryActionAsTheExampleAndScriptsPrintIt) {
  EXPECT_STREQ(startupActionName(StartupAction::AlreadyRegistered), "already-registered");
  EXPECT_STREQ(startupActionName(StartupAction::Registered), "registered");
  EXPECT_STREQ(startupActionName(StartupAction::Repaired), "repaired");
  EXPECT_STREQ(startupActionName(StartupAction::Unreachable), "unreachable");
  EXPECT_STREQ(startupActionName(StartupAction::Failed), "failed");
  EXPECT_STREQ(startupActionName(StartupAction::Cancelled), "cancelled");
  EXPECT_STREQ(startupActionName(static_cast<StartupAction>(42)), "failed");
}

TEST(StartupExitStatus, SuccessIsZeroUnreachableIsTheCommandsSixtyNine) {
  EXPECT_EQ(startupExitStatus(StartupAction::AlreadyRegistered), 0);
  EXPECT_EQ(startupExitStatus(StartupAction::Registered), 0);
  EXPECT_EQ(startupExitStatus(StartupAction::Repaired), 0);
  EXPECT_EQ(startupExitStatus(StartupAction::Unreachable), 69);
  EXPECT_EQ(startupExitStatus(StartupAction::Failed), 1);
  EXPECT_EQ(startupExitStatus(StartupAction::Cancelled), 1);
  EXPECT_EQ(startupExitStatus(static_cast<StartupAction>(42)), 1);
}

}  // namespace
}  // namespace ostrel::startup::test
