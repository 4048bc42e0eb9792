// The doctor's judgement of a registry laid out with one of each problem it
// knows, a healthy application among them, and of registries it cannot read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DoctorTestSupport.h"
#include "ostrel/doctor/DoctorFindingCodes.h"
#include "ostrel/manifestcheck/ManifestSurvey.h"

namespace ostrel::doctor::testing {
namespace {

class OneOfEachProblem : public DoctorTest {
 protected:
  OneOfEachProblem() {
    registry_.put(manifestPath("healthy"), manifestText({{"vantorell.ostrel", "Ostrel"}}));
    // The same key in a second install folder, later in the list.
    registry_.put(manifestPath("copy"), manifestText({{"vantorell.ostrel", "Ostrel (old)"}}));
    registry_.put(manifestPath("nobinary"), manifestText({{"tools.nobinary"}}));
    probe_.missing.insert(binaryOf("nobinary"));
    registry_.put(manifestPath("otheros"), manifestText({{"tools.otheros", "Other OS", true,
                                                           !ostrel::testing::windowsHost(),
                                                           ostrel::testing::windowsHost()}}));
    registry_.put(manifestPath("plain"), manifestText({{"tools.plain", "Plain", false}}));
    setting("tools.plain", "{\"autolaunch\": true}");
    setting("vantorell.ostrel", "{\n\t\"last_launch_time\": \"0\",\n\t\"autolaunch\": true\n}");
    setting("gone.tool", "{\"autolaunch\": true}");
    setting("gone.off", "{\"autolaunch\": false}");
    setting("steam.overlay.1009850", "{\"autolaunch\": true}");
    setting("broken.setting", "{\"autolaunch\": ");
    registry_.put(manifestPath("bom"), "\xEF\xBB\xBF" + manifestText({{"tools.bom"}}));
    registry_.put(manifestPath("syntax"), "{\"applications\": [");
    registry_.put(manifestPath("noapps"), "{\"source\": \"builtin\"}");
    registry_.putUnreadable(manifestPath("denied"), "cannot be opened: Permission denied");
    registry_.putNotRegular(manifestPath("fifo"));
    list({manifestPath("healthy"), manifestPath("gone"), manifestPath("copy"),
          manifestPath("nobinary"), manifestPath("otheros"), manifestPath("plain"),
          manifestPath("bom"), manifestPath("syntax"), manifestPath("noapps"),
          manifestPath("denied"), manifestPath("fifo"), manifestPath("healthy")});
    report_ = examine();
  }

  const DoctorManifest& entry(std::size_t index) const { return report_.manifests.at(index); }
  const DoctorApplication& application(std::size_t index) const {
    EXPECT_EQ(entry(index).applications.size(), 1u) << entry(index).path;
    return entry(index).applications.at(0);
  }

  DoctorReport report_;
};

TEST_F(OneOfEachProblem, TheHealthyApplicationIsServedWithoutAnError) {
  ASSERT_TRUE(report_.listRead);
  EXPECT_TRUE(report_.findings.empty()) << ::testing::PrintToString(codesOf(report_.findings));
  ASSERT_EQ(report_.manifests.size(), 12u);
  EXPECT_EQ(entry(0).state, EntryState::Read);
  EXPECT_TRUE(entry(0).findings.empty()) << ::testing::PrintToString(codesOf(entry(0).findings));
  const DoctorApplication& healthy = application(0);
  EXPECT_EQ(healthy.appKey, "vantorell.ostrel");
  EXPECT_EQ(healthy.name, "Ostrel");
  EXPECT_TRUE(healthy.served);
  EXPECT_TRUE(healthy.dashboardOverlay);
  EXPECT_EQ(healthy.autoLaunch, true);
  EXPECT_TRUE(healthy.findings.empty()) << ::testing::PrintToString(codesOf(healthy.findings));
}

TEST_F(OneOfEachProblem, EveryManifestProblemIsNamedOnItsEntry) {
  const std::vector<std::pair<std::size_t, EntryState>> states = {
      {1, EntryState::Missing},  {6, EntryState::Refused},    {7, EntryState::Refused},
      {8, EntryState::Refused},  {9, EntryState::Unreadable}, {10, EntryState::Unreadable},
      {11, EntryState::Repeated}};
  const std::vector<std::string> codes = {"file-missing",         "bom",
                                          "json-syntax",          "applications-missing",
                                          "file-unreadable",      "file-not-regular",
                                          findings::kListedTwice};
  for (std::size_t i = 0; i < states.size(); ++i) {
    const DoctorManifest& manifest = entry(states[i].first);
    EXPECT_EQ(manifest.state, states[i].second) << manifest.path;
    EXPECT_EQ(codesOf(manifest.findings), std::vector<std::string>{codes[i]}) << manifest.path;
    EXPECT_TRUE(manifest.applications.empty()) << manifest.path;
  }
  EXPECT_EQ(entry(11).repeats, 0u);
  EXPECT_NE(entry(9).findings[0].message.find("Permission denied"), std::string::npos);
}

TEST_F(OneOfEachProblem, EveryApplicationProblemIsNamedOnItsApplication) {
  EXPECT_EQ(codesOf(application(3).findings), std::vector<std::string>{"binary-missing"});
  EXPECT_EQ(codesOf(application(4).findings), std::vector<std::string>{"binary-path-missing"});
  // Auto-launch on for an application that is no overlay: the check's
  // warning and the doctor's own.
  EXPECT_EQ(codesOf(application(5).findings),
            (std::vector<std::string>{"dashboard-overlay", findings::kAutoLaunchNoEffect}));
  EXPECT_EQ(application(5).autoLaunch, true);
  for (std::size_t index : {3, 4, 5}) EXPECT_TRUE(application(index).served);
}

TEST_F(OneOfEachProblem, ALaterCopyOfAKeyIsShadowedByTheFirstListed) {
  const DoctorApplication& copy = application(2);
  EXPECT_FALSE(copy.served);
  EXPECT_FALSE(copy.autoLaunch.has_value()) << "the setting belongs to the served copy";
  ASSERT_EQ(codesOf(copy.findings), std::vector<std::string>{findings::kKeyShadowed});
  EXPECT_EQ(copy.findings[0].severity, manifestcheck::FindingSeverity::Error);
  EXPECT_NE(copy.findings[0].message.find(manifestPath("healthy")), std::string::npos)
      << copy.findings[0].message;
  EXPECT_TRUE(application(0).served);
}

TEST_F(OneOfEachProblem, SettingsWithoutAnApplicationAreOrphansOnlyWhenAutoLaunchIsOn) {
  std::vector<std::string> keys;
  for (const AutoLaunchSetting& setting : report_.settings) keys.push_back(setting.appKey);
  EXPECT_EQ(keys, (std::vector<std::string>{"broken.setting", "gone.off", "gone.tool",
                                            "steam.overlay.1009850", "tools.plain",
                                            "vantorell.ostrel"}));
  const auto setting = [&](const std::string& key) -> const AutoLaunchSetting& {
    return report_.settings.at(
        std::find(keys.begin(), keys.end(), key) - keys.begin());
  };
  EXPECT_EQ(codesOf(setting("gone.tool").findings),
            std::vector<std::string>{findings::kAutoLaunchOrphan});
  EXPECT_NE(setting("gone.tool").findings[0].message.find(settingsFile("gone.tool")),
            std::string::npos);
  EXPECT_TRUE(setting("gone.off").findings.empty()) << "auto-launch off starts nothing";
  EXPECT_TRUE(setting("steam.overlay.1009850").findings.empty())
      << "Steam's own applications are not in the manifest list";
  EXPECT_EQ(codesOf(setting("broken.setting").findings),
            std::vector<std::string>{"vrappconfig-unreadable"});
  EXPECT_TRUE(setting("vantorell.ostrel").declared);
  EXPECT_TRUE(setting("vantorell.ostrel").findings.empty());
  EXPECT_FALSE(setting("gone.tool").declared);
}

TEST_F(OneOfEachProblem, NothingIsSentToTheRuntime) {
  const DoctorResult result = run();
  EXPECT_EQ(connector_.connects, 0);
  EXPECT_EQ(result.state, DoctorState::ProblemsFound);
  EXPECT_FALSE(result.removal.asked);
  const DoctorSummary summary = summarize(result);
  EXPECT_EQ(summary.manifests, 12u);
  EXPECT_EQ(summary.applications, 5u);
  EXPECT_EQ(summary.served, 4u);
  EXPECT_EQ(summary.dead, 1u);
  EXPECT_EQ(summary.orphanSettings, 1u);
  // file-missing, bom, json-syntax, applications-missing, file-unreadable,
  // file-not-regular, binary-missing, binary-path-missing, key-shadowed.
  EXPECT_EQ(summary.errors, 9u);
}

TEST_F(DoctorTest, AHealthyRegistryIsHealthy) {
  registry_.put(manifestPath("a"), manifestText({{"vantorell.ostrel", "Ostrel"}}));
  registry_.put(manifestPath("b"), manifestText({{"tools.b", "B"}, {"tools.c", "C"}}));
  list({manifestPath("a"), manifestPath("b")});
  const DoctorResult result = run();
  EXPECT_EQ(result.state, DoctorState::Healthy);
  EXPECT_EQ(summarize(result).errors, 0u);
  EXPECT_EQ(summarize(result).served, 3u);
  EXPECT_EQ(probe_.asked, (std::vector<std::string>{binaryOf("a"), binaryOf("b"), binaryOf("b")}))
      << "each application's binary is looked for, relative to its manifest's folder";
}

TEST_F(DoctorTest, TwoEntriesWithOneKeyInOneManifestServeTheFirst) {
  registry_.put(manifestPath("a"), manifestText({{"tools.a", "First"}, {"tools.a", "Second"}}));
  list({manifestPath("a")});
  const DoctorReport report = examine();
  ASSERT_EQ(report.manifests.at(0).applications.size(), 2u);
  EXPECT_TRUE(report.manifests[0].applications[0].served);
  EXPECT_FALSE(report.manifests[0].applications[1].served);
  EXPECT_EQ(codesOf(report.manifests[0].applications[1].findings),
            std::vector<std::string>{"app-key-duplicate"});
}

TEST_F(DoctorTest, WithoutAPathRegistryNothingCanBeJudged) {
  registry_.erase(vrpath_);
  const DoctorResult result = run();
  EXPECT_EQ(result.state, DoctorState::Unavailable);
  EXPECT_FALSE(result.report.listRead);
  EXPECT_TRUE(hasCode(result.report.findings, "vrpath-missing"));
  EXPECT_TRUE(result.report.manifests.empty());
  EXPECT_EQ(connector_.connects, 0);
}

TEST_F(DoctorTest, ABrokenOrMissingListIsUnavailable) {
  list({});
  registry_.put(config_ + onHost("\\appconfig.json", "/appconfig.json"), "{\"manifest_paths\": [");
  EXPECT_EQ(run().state, DoctorState::Unavailable);
  EXPECT_TRUE(hasCode(run().report.findings, "appconfig-unreadable"));
  registry_.erase(config_ + onHost("\\appconfig.json", "/appconfig.json"));
  const DoctorResult missing = run();
  EXPECT_EQ(missing.state, DoctorState::Unavailable);
  EXPECT_TRUE(hasCode(missing.report.findings, "appconfig-missing"));
}

TEST_F(DoctorTest, AnotherActiveRuntimeIsNamed) {
  registry_.erase(runtime_ + onHost("\\bin\\win64\\vrserver.exe", "/bin/linux64/vrserver"));
  list({});
  const DoctorResult result = run();
  EXPECT_TRUE(hasCode(result.report.findings, "runtime-not-steamvr"));
  EXPECT_EQ(result.state, DoctorState::ProblemsFound) << "registrations belong to SteamVR";
}

TEST_F(DoctorTest, AManifestInATemporaryFolderIsFlagged) {
  const std::string temporary = onHost("C:\\Users\\me\\AppData\\Local\\Temp", "/var/tmp");
  registry_.variables["TEMP"] = temporary;
  const std::string path = temporary + onHost("\\x\\app.vrmanifest", "/x/app.vrmanifest");
  registry_.put(path, manifestText({{"tools.x"}}));
  list({path});
  EXPECT_TRUE(hasCode(examine().manifests.at(0).findings, "temporary-location"));
}

TEST_F(DoctorTest, HostileRegistriesAreAnsweredBounded) {
  // Thousands of entries, most of them dead, some repeated; one manifest
  // past the size limit, one of exactly 1 MiB, one declaring more
  // applications than are judged.
  std::vector<std::string> paths;
  for (int i = 0; i < 5000; ++i) paths.push_back(manifestPath("dead" + std::to_string(i % 3000)));
  registry_.put(manifestPath("huge"), std::string(manifestcheck::kManifestSizeLimit + 10, ' '));
  std::string full = manifestText({{"tools.full"}});
  full.resize(manifestcheck::kManifestSizeLimit, ' ');
  registry_.put(manifestPath("full"), full);
  std::string many = "{\"applications\":[";
  for (std::size_t i = 0; i < manifestcheck::kMaxSurveyedApplications + 50; ++i) {
    many += "{\"app_key\":\"k" + std::to_string(i) + "\"},";
  }
  many += "{\"app_key\":\"last\"}]}";
  registry_.put(manifestPath("many"), many);
  paths.insert(paths.begin(), {manifestPath("huge"), manifestPath("many"), manifestPath("full")});
  list(paths);
  // More settings than are read: the rest are counted.
  for (std::size_t i = 0; i < kMaxSettings + 4; ++i) {
    setting("old.tool" + std::to_string(i), "{\"autolaunch\": false}");
  }
  const DoctorResult result = run();
  ASSERT_TRUE(result.report.listRead);
  EXPECT_EQ(result.report.manifests.size(), runtimeregistry::kMaxListedManifests);
  EXPECT_EQ(result.report.unlisted, 5003 - runtimeregistry::kMaxListedManifests);
  EXPECT_EQ(codesOf(result.report.manifests[0].findings), std::vector<std::string>{"file-too-large"});
  const DoctorManifest& crowded = result.report.manifests[1];
  EXPECT_EQ(crowded.applications.size(), manifestcheck::kMaxSurveyedApplications);
  EXPECT_TRUE(hasCode(crowded.findings, "more-findings"));
  for (const DoctorApplication& application : crowded.applications) {
    EXPECT_LE(application.findings.size(), manifestcheck::kMaxFindings);
  }
  ASSERT_EQ(result.report.manifests[2].applications.size(), 1u);
  EXPECT_TRUE(result.report.manifests[2].applications[0].served);
  EXPECT_EQ(summarize(result).dead, 3000u);
  EXPECT_EQ(result.report.manifests.back().path, manifestPath("dead1092"));
  EXPECT_EQ(result.report.manifests.back().state, EntryState::Repeated);
  EXPECT_EQ(result.report.settings.size(), kMaxSettings);
  EXPECT_EQ(result.report.settingsUnread, 4u);
}

}  // namespace
}  // namespace ostrel::doctor::testing
