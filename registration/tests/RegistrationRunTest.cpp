// The registration sequence over a runtime that keeps its registry in the
// files: the user's auto-launch choice is never switched, a first
// registration that stopped early is finished by the next run, a run killed
// at any step heals at the next, and a key the runtime refuses reaches
// nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ostrel/registration/AutoLaunchChoice.h"
#include "ostrel/registration/ExitStatus.h"
#include "ostrel/registration/RegistrationRun.h"
#include "ostrel/steamvr/Sleeper.h"
#include "ostrel/testing/RuntimeWorld.h"
#include "platform/Platform.h"

namespace ostrel::registration {
namespace {

using ostrel::testing::RuntimeWorld;
using steamvr::RegisterResult;

std::vector<manifestcheck::ManifestFinding> checkPasses(std::wstring_view, std::string_view) {
  return {};
}

void noSleep(std::chrono::milliseconds) {}

class RegistrationRunTest : public ::testing::Test {
 protected:
  void SetUp() override { previousSleep_ = platform::replaceSleepFunction(&noSleep); }
  void TearDown() override { platform::replaceSleepFunction(previousSleep_); }

  RegistrationRun run(RegistrationMode mode, steamvr::StoppableSleeper* stop = nullptr) {
    RegistrationRequest request;
    request.mode = mode;
    request.appKey = key_;
    request.manifestPath = platform::utf8ToWide(RuntimeWorld::kOurs);
    RegistrationServices services;
    services.sources = world().sources();
    services.connector = &world().runtime;
    services.check = &checkPasses;
    services.stop = stop;
    return runRegistration(request, services);
  }

  // A normal start after whatever came before: the runtime answers again.
  RegistrationRun nextStart() {
    world().runtime.changesBeforeDeath.reset();
    world().runtime.pollsBeforeListed = 0;
    world().runtime.settle();
    world().runtime.refuseAutoLaunch = 0;
    world().runtime.onCall = nullptr;
    return run(RegistrationMode::StartUp);
  }

  // A new world: the runtime refers to its files, so it is made, not copied.
  void fresh() { world_ = std::make_unique<RuntimeWorld>(); }
  RuntimeWorld& world() { return *world_; }

  std::string key_ = RuntimeWorld::kKey;
  std::unique_ptr<RuntimeWorld> world_ = std::make_unique<RuntimeWorld>();

 private:
  platform::SleepFunction previousSleep_ = nullptr;
};

TEST(AutoLaunchChoiceRule, TheRuntimesOnOrARecordedSettingIsAChoiceItsOffAloneIsNot) {
  runtimeregistry::RuntimeRegistry none;
  none.appSettingsRead = true;
  runtimeregistry::RuntimeRegistry off = none;
  off.autoLaunch = false;
  runtimeregistry::RuntimeRegistry on = none;
  on.autoLaunch = true;
  runtimeregistry::RuntimeRegistry unreadable;  // the settings could not be read
  const AutoLaunchChoice kNone{false, false};
  const AutoLaunchChoice kOn{true, true};
  const AutoLaunchChoice kOff{true, false};
  EXPECT_EQ(userAutoLaunchChoice(std::nullopt, none), kNone);
  EXPECT_EQ(userAutoLaunchChoice(false, none), kNone) << "off is also the runtime's default";
  EXPECT_EQ(userAutoLaunchChoice(true, none), kOn);
  EXPECT_EQ(userAutoLaunchChoice(std::nullopt, off), kOff);
  EXPECT_EQ(userAutoLaunchChoice(std::nullopt, on), kOn);
  EXPECT_EQ(userAutoLaunchChoice(false, on), kOff) << "the runtime's answer comes first";
  EXPECT_EQ(userAutoLaunchChoice(true, off), kOn);
  EXPECT_EQ(userAutoLaunchChoice(false, unreadable), kOff) << "nothing shows it is no choice";
  EXPECT_EQ(userAutoLaunchChoice(std::nullopt, unreadable), kNone);
}

// A moved install, for each choice the user may have made: the old copy
// goes, ours comes, the other application stays, and the choice is as it
// was; "off" is never switched on, not even for a moment.
TEST_F(RegistrationRunTest, ARepairKeepsEveryChoiceAndSwitchesOnOnlyWhereNoneIsRecorded) {
  for (const std::optional<bool> choice : {std::optional<bool>(true), std::optional<bool>(false),
                                           std::optional<bool>()}) {
    SCOPED_TRACE(choice ? (*choice ? "on" : "off") : "none");
    fresh();
    world().list({RuntimeWorld::kOld, RuntimeWorld::kOther, RuntimeWorld::kGone});
    world().choose(choice);
    const RegistrationRun repaired = run(RegistrationMode::StartUp);
    EXPECT_EQ(repaired.end, RegistrationEnd::Repaired) << repaired.error;
    EXPECT_EQ(world().runtime.list(),
              (std::vector<std::string>{RuntimeWorld::kOther, RuntimeWorld::kGone,
                                        RuntimeWorld::kOurs}));
    EXPECT_EQ(world().runtime.autoLaunchSetting(RuntimeWorld::kKey), choice.value_or(true));
    EXPECT_FALSE(world().autoLaunchSwitched(false));
    EXPECT_EQ(world().autoLaunchSwitched(true), !choice.has_value());
    EXPECT_EQ(repaired.autoLaunch, choice ? AutoLaunchStep::Kept : AutoLaunchStep::SwitchedOn);
  }
}

// A first registration ends after the add: the runtime does not list the key
// in time, the application closes during the polls, or the runtime refuses
// auto-launch. Each leaves the manifest listed with no choice recorded; the
// next start finishes it instead of taking it for done.
TEST_F(RegistrationRunTest, AFirstRegistrationThatStoppedAfterTheAddIsFinishedNextStart) {
  enum class Cause { PollTimeout, CancelledDuringPolls, AutoLaunchRefused };
  for (const Cause cause :
       {Cause::PollTimeout, Cause::CancelledDuringPolls, Cause::AutoLaunchRefused}) {
    SCOPED_TRACE(static_cast<int>(cause));
    fresh();
    world().list({RuntimeWorld::kOther});
    steamvr::StoppableSleeper stop;
    RegistrationRun first;
    switch (cause) {
      case Cause::PollTimeout:
        world().runtime.pollsBeforeListed = 25;
        first = run(RegistrationMode::StartUp);
        EXPECT_EQ(first.end, RegistrationEnd::RegistrationFailed);
        EXPECT_EQ(first.result, RegisterResult::PollTimeout);
        break;
      case Cause::CancelledDuringPolls:
        world().runtime.pollsBeforeListed = 3;
        world().runtime.onCall = [&](const ostrel::testing::SurfaceCall& call) {
          if (call.operation == "Add") stop.RequestStop();
        };
        first = run(RegistrationMode::StartUp, &stop);
        EXPECT_EQ(first.end, RegistrationEnd::Cancelled);
        EXPECT_EQ(exitStatusForRun(first), exitStatusFor(RegisterResult::PollTimeout));
        break;
      case Cause::AutoLaunchRefused:
        world().runtime.refuseAutoLaunch = 105;
        first = run(RegistrationMode::StartUp);
        EXPECT_EQ(first.end, RegistrationEnd::RegistrationFailed);
        EXPECT_EQ(first.result, RegisterResult::AutoLaunchFailed);
        EXPECT_EQ(first.autoLaunch, AutoLaunchStep::Refused);
        break;
    }
    EXPECT_TRUE(first.added);
    EXPECT_FALSE(world().runtime.autoLaunchSetting(RuntimeWorld::kKey).has_value());

    // What the files now say: listed, and unfinished.
    const StatusReport status = buildStatusReport(
        {RuntimeWorld::kKey, RuntimeWorld::kOurs, ""}, world().runtime, world().sources(), false);
    EXPECT_EQ(status.state, RegistrationState::Registered);
    EXPECT_TRUE(std::any_of(status.findings.begin(), status.findings.end(),
                            [](const runtimeregistry::RegistryFinding& finding) {
                              return finding.code == "registration-unfinished";
                            }));

    world().runtime.calls.clear();
    const RegistrationRun next = nextStart();
    EXPECT_EQ(next.end, RegistrationEnd::Finished) << next.error;
    EXPECT_TRUE(next.runtimeContacted);
    EXPECT_FALSE(next.added) << "the manifest is listed already";
    EXPECT_EQ(world().runtime.autoLaunchSetting(RuntimeWorld::kKey), true);
    EXPECT_EQ(world().runtime.list(),
              (std::vector<std::string>{RuntimeWorld::kOther, RuntimeWorld::kOurs}));

    // And the start after that finds nothing to do.
    world().runtime.connects = 0;
    EXPECT_EQ(nextStart().end, RegistrationEnd::Current);
    EXPECT_EQ(world().runtime.connects, 0);
  }
}

// The process ends at any step of a repair (the runtime stops answering
// after so many changes); the next normal start heals the registration and
// the user's choice is what it was.
TEST_F(RegistrationRunTest, ARepairKilledAtAnyStepHealsAtTheNextStart) {
  for (const std::optional<bool> choice : {std::optional<bool>(true), std::optional<bool>(false),
                                           std::optional<bool>()}) {
    for (int changes = 0; changes <= 3; ++changes) {
      SCOPED_TRACE(std::string(choice ? (*choice ? "on" : "off") : "none") + ", dies after " +
                   std::to_string(changes));
      fresh();
      world().list({RuntimeWorld::kOld, RuntimeWorld::kOther});
      world().choose(choice);
      world().runtime.changesBeforeDeath = changes;
      run(RegistrationMode::StartUp);

      const RegistrationRun next = nextStart();
      EXPECT_TRUE(next.succeeded()) << registrationEndName(next.end) << ": " << next.error;
      EXPECT_EQ(world().runtime.list(),
                (std::vector<std::string>{RuntimeWorld::kOther, RuntimeWorld::kOurs}));
      EXPECT_EQ(world().runtime.autoLaunchSetting(RuntimeWorld::kKey), choice.value_or(true));
      if (choice == false) {
        EXPECT_FALSE(world().autoLaunchSwitched(true));
      }
    }
  }
}

TEST_F(RegistrationRunTest, AKeyTheRuntimeRefusesReachesNothingInAnyMode) {
  world().list({RuntimeWorld::kOld});
  const auto before = world().memory.files;
  for (const std::string& key :
       {std::string(), std::string("vantorell\tostrel"), std::string("vantorell ostrel"),
        std::string("../vantorell.ostrel"), std::string(128, 'k'), std::string("v\xC3\xA9")}) {
    key_ = key;
    for (const RegistrationMode mode :
         {RegistrationMode::Ensure, RegistrationMode::Repair, RegistrationMode::StartUp}) {
      world().memory.reads.clear();
      const RegistrationRun refused = run(mode);
      EXPECT_EQ(refused.end, RegistrationEnd::KeyRefused) << key;
      EXPECT_EQ(exitStatusForRun(refused), kExitUsage);
      EXPECT_FALSE(refused.checkFindings.empty());
      EXPECT_TRUE(world().memory.reads.empty()) << key;
    }
  }
  EXPECT_TRUE(world().runtime.calls.empty());
  EXPECT_EQ(world().runtime.connects, 0);
  EXPECT_EQ(world().memory.files.size(), before.size());
  for (const auto& [name, file] : before) {
    EXPECT_EQ(world().memory.files.at(name).content, file.content) << name;
  }
}

TEST_F(RegistrationRunTest, EnsureLeavesOtherCopiesAndAKeptChoiceAlone) {
  world().list({RuntimeWorld::kOld, RuntimeWorld::kOther});
  world().choose(false);
  const RegistrationRun ensured = run(RegistrationMode::Ensure);
  EXPECT_EQ(ensured.end, RegistrationEnd::AlreadyListed) << ensured.error;
  EXPECT_TRUE(ensured.plan.empty());
  EXPECT_EQ(ostrel::testing::callLines(world().runtime.calls),
            std::vector<std::string>{"Installed " + RuntimeWorld::kKey});
}

TEST_F(RegistrationRunTest, ANonOverlayIsFinishedOnceListed) {
  world().memory.put(RuntimeWorld::kOurs, R"({"applications":[{"app_key":")" + RuntimeWorld::kKey +
                                             R"(","launch_type":"binary"}]})");
  world().list({});
  const RegistrationRun registered = run(RegistrationMode::StartUp);
  EXPECT_EQ(registered.end, RegistrationEnd::Registered) << registered.error;
  EXPECT_EQ(registered.autoLaunch, AutoLaunchStep::NotApplied);
  EXPECT_FALSE(world().autoLaunchSwitched(true));
  world().runtime.connects = 0;
  EXPECT_EQ(nextStart().end, RegistrationEnd::Current);
  EXPECT_EQ(world().runtime.connects, 0);
}

}  // namespace
}  // namespace ostrel::registration
