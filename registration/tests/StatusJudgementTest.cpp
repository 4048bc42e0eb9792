// The status judgement on its own, over views already gathered: one row a
// combination of what the runtime answered and what its files say.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "ostrel/registration/RegistrationStatus.h"

namespace ostrel::registration {
namespace {

using runtimeregistry::ListedManifest;
using runtimeregistry::RuntimeRegistry;
namespace codes = runtimeregistry::findings;

enum class Runtime { NotAsked, Unreachable, NotInstalled, Installed, InstalledElsewhere };
enum class Files { Unknown, Empty, OursServed, OtherServed };

struct Row {
  const char* name;
  Runtime runtime;
  Files files;
  RegistrationState state;
  std::vector<std::string> findingCodes;  // in order
};

ListedManifest listed(std::string path, bool ours) {
  ListedManifest entry;
  entry.path = std::move(path);
  entry.exists = entry.readable = entry.declaresKey = true;
  entry.thisManifest = ours;
  return entry;
}

StatusReport reportFor(const Row& row) {
  StatusReport report;
  report.appKey = "vantorell.ostrel";
  report.manifestPath = "C:\\New\\app.vrmanifest";
  RuntimeRegistry& registry = report.registry;
  registry.manifestNamed = true;
  registry.appConfigRead = row.files != Files::Unknown;
  if (row.files == Files::OursServed) {
    registry.manifests = {listed("C:\\New\\app.vrmanifest", true)};
    registry.serving = 0;
  } else if (row.files == Files::OtherServed) {
    registry.manifests = {listed("D:\\Old\\app.vrmanifest", false),
                          listed("C:\\New\\app.vrmanifest", true)};
    registry.serving = 0;
  } else if (row.files == Files::Empty) {
    registry.findings.push_back(
        {manifestcheck::FindingSeverity::Error, codes::kNotRegistered, "nothing declares it"});
  }
  RuntimeView& view = report.runtime;
  view.asked = row.runtime != Runtime::NotAsked;
  view.reachable = view.asked && row.runtime != Runtime::Unreachable;
  if (row.runtime == Runtime::Unreachable) view.failure.message = "VRInitError_Init_HmdNotFound";
  view.installed = row.runtime == Runtime::Installed || row.runtime == Runtime::InstalledElsewhere;
  view.autoLaunch = {true, steamvr::kApplicationErrorNone};
  if (row.runtime == Runtime::InstalledElsewhere) {
    view.place = PlaceVerdict{PlaceMatch::Differs, "stale: elsewhere"};
  }
  return report;
}

const Row kRows[] = {
    {"nothing_known", Runtime::Unreachable, Files::Unknown, RegistrationState::Unknown,
     {"runtime-unreachable"}},
    {"files_alone_registered", Runtime::Unreachable, Files::OursServed,
     RegistrationState::Registered, {"runtime-unreachable"}},
    {"files_alone_not_registered", Runtime::NotAsked, Files::Empty,
     RegistrationState::NotRegistered, {"not-registered"}},
    {"files_alone_stale", Runtime::NotAsked, Files::OtherServed, RegistrationState::Stale, {}},
    {"both_registered", Runtime::Installed, Files::OursServed, RegistrationState::Registered, {}},
    {"runtime_registered_files_silent", Runtime::Installed, Files::Unknown,
     RegistrationState::Registered, {}},
    // The runtime's "installed" overrules the files' not-registered, and says
    // the two views differ.
    {"runtime_lists_what_files_lack", Runtime::Installed, Files::Empty,
     RegistrationState::Registered, {"views-disagree"}},
    {"files_list_what_runtime_lacks", Runtime::NotInstalled, Files::OursServed,
     RegistrationState::NotRegistered, {"views-disagree"}},
    // Another listed copy makes it stale whatever the runtime answers.
    {"stale_by_files_though_installed", Runtime::Installed, Files::OtherServed,
     RegistrationState::Stale, {}},
    {"stale_by_the_runtimes_place", Runtime::InstalledElsewhere, Files::OursServed,
     RegistrationState::Stale, {}},
};

class StatusJudgement : public ::testing::TestWithParam<Row> {};

TEST_P(StatusJudgement, GivesTheStateAndFindings) {
  const Row& row = GetParam();
  StatusReport report = reportFor(row);
  judgeStatus(report);
  EXPECT_STREQ(registrationStateName(report.state), registrationStateName(row.state));
  std::vector<std::string> found;
  for (const auto& finding : report.findings) found.push_back(finding.code);
  EXPECT_EQ(found, row.findingCodes);
}

INSTANTIATE_TEST_SUITE_P(Views, StatusJudgement, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ostrel::registration
