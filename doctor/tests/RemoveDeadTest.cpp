// Removing the dead entries through the runtime: exactly the entries whose
// file is gone, each once, each answer checked, nothing when the runtime
// cannot be reached.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DoctorTestSupport.h"

namespace ostrel::doctor::testing {
namespace {

class RemoveDead : public DoctorTest {
 protected:
  RemoveDead() {
    registry_.put(manifestPath("kept"), manifestText({{"tools.kept"}}));
    registry_.put(manifestPath("broken"), "{\"applications\": [");
    registry_.putUnreadable(manifestPath("denied"));
    list({manifestPath("gone1"), manifestPath("kept"), manifestPath("broken"),
          manifestPath("gone2"), manifestPath("denied"), manifestPath("gone1")});
  }

  std::vector<std::string> removeCalls() const {
    std::vector<std::string> paths;
    for (const auto& call : connector_.surface.calls) {
      EXPECT_EQ(call.operation, "Remove") << "only removals go to the runtime";
      paths.push_back(call.text);
    }
    return paths;
  }

  static DoctorOptions removing(bool dryRun = false) { return {true, dryRun, "loader"}; }
};

TEST_F(RemoveDead, RemovesExactlyTheGoneEntriesOnceEach) {
  const DoctorResult result = run(removing());
  EXPECT_EQ(connector_.connects, 1);
  EXPECT_EQ(connector_.askedLoader, "loader");
  EXPECT_EQ(removeCalls(), (std::vector<std::string>{manifestPath("gone1"), manifestPath("gone2")}))
      << "a broken or unreadable file is someone's to fix, never removed";
  EXPECT_EQ(result.removal.planned, removeCalls());
  ASSERT_EQ(result.removal.attempts.size(), 2u);
  EXPECT_TRUE(result.report.manifests[0].removed);
  EXPECT_TRUE(result.report.manifests[5].removed) << "the repeat of a removed entry goes with it";
  EXPECT_FALSE(result.report.manifests[2].removed);
  // The broken and the unreadable manifest are still errors.
  EXPECT_EQ(result.state, DoctorState::ProblemsFound);
  EXPECT_EQ(summarize(result).errors, 2u);
}

TEST_F(RemoveDead, OnlyDeadEntriesLeftMakeItHealthyOnceRemoved) {
  registry_.erase(manifestPath("broken"));
  registry_.erase(manifestPath("denied"));
  list({manifestPath("kept"), manifestPath("gone1")});
  EXPECT_EQ(run().state, DoctorState::ProblemsFound);
  EXPECT_EQ(run(removing()).state, DoctorState::Healthy);
}

TEST_F(RemoveDead, ARefusedRemovalIsReportedAndTheRestStillTried) {
  connector_.surface.removeAnswers.queued = {steamvr::ApplicationError{100}};
  const DoctorResult result = run(removing());
  EXPECT_EQ(removeCalls(), (std::vector<std::string>{manifestPath("gone1"), manifestPath("gone2")}));
  EXPECT_EQ(result.state, DoctorState::RemoveFailed);
  ASSERT_EQ(result.removal.attempts.size(), 2u);
  EXPECT_EQ(result.removal.attempts[0].error, 100);
  EXPECT_STRNE(result.removal.attempts[0].errorName, "");
  EXPECT_EQ(result.removal.attempts[1].error, steamvr::kApplicationErrorNone);
  EXPECT_FALSE(result.report.manifests[0].removed);
  EXPECT_TRUE(result.report.manifests[3].removed);
}

TEST_F(RemoveDead, AnUnreachableRuntimeRemovesNothing) {
  connector_.reachable = false;
  const DoctorResult result = run(removing());
  EXPECT_EQ(result.state, DoctorState::Unavailable);
  EXPECT_EQ(connector_.connects, 1);
  EXPECT_TRUE(connector_.surface.calls.empty());
  EXPECT_FALSE(result.removal.runtimeReached);
  EXPECT_EQ(result.removal.failure.code, "VRInitError_Init_HmdNotFound");
  EXPECT_EQ(result.removal.planned.size(), 2u);
}

TEST_F(RemoveDead, ADryRunNamesThemAndNeedsNoRuntime) {
  const DoctorResult result = run(removing(true));
  EXPECT_EQ(connector_.connects, 0);
  EXPECT_EQ(result.removal.planned,
            (std::vector<std::string>{manifestPath("gone1"), manifestPath("gone2")}));
  EXPECT_TRUE(result.removal.attempts.empty());
  EXPECT_EQ(result.state, DoctorState::ProblemsFound);
}

TEST_F(RemoveDead, NothingDeadReachesForNoRuntime) {
  list({manifestPath("kept")});
  const DoctorResult result = run(removing());
  EXPECT_EQ(connector_.connects, 0);
  EXPECT_TRUE(result.removal.planned.empty());
  EXPECT_EQ(result.state, DoctorState::Healthy);
}

TEST_F(RemoveDead, AnUnreadableListRemovesNothing) {
  registry_.put(config_ + onHost("\\appconfig.json", "/appconfig.json"), "[");
  const DoctorResult result = run(removing());
  EXPECT_EQ(connector_.connects, 0);
  EXPECT_EQ(result.state, DoctorState::Unavailable);
}

}  // namespace
}  // namespace ostrel::doctor::testing
