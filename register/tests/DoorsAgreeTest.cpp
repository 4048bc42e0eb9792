// The command's repair and the application's start-up call in the same
// situations: one sequence of runtime calls from both doors, and the user's
// auto-launch choice never switched.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "Commands.h"
#include "ostrel/startup/StartupRegistration.h"
#include "ostrel/testing/RuntimeWorld.h"

namespace ostrel::registercli {
namespace {

using ostrel::testing::RuntimeWorld;

std::vector<manifestcheck::ManifestFinding> checkPasses(std::wstring_view, std::string_view) {
  return {};
}

struct Situation {
  const char* name;
  std::vector<std::string> listed;
  std::optional<bool> choice;
  steamvr::ApplicationError refuseRemove = 0;
};

// The world a situation describes, made afresh for each door.
std::unique_ptr<RuntimeWorld> worldFor(const Situation& situation) {
  auto world = std::make_unique<RuntimeWorld>();
  world->list(situation.listed);
  world->choose(situation.choice);
  world->runtime.refuseRemove = situation.refuseRemove;
  return world;
}

std::vector<std::string> throughTheCommand(const Situation& situation) {
  const std::unique_ptr<RuntimeWorld> world = worldFor(situation);
  CommandLine line;
  line.command = CommandKind::Repair;
  line.appKey = RuntimeWorld::kKey;
  line.manifestPath = RuntimeWorld::kOurs;
  // The manifest lives in memory, not on the disk the command's check reads.
  line.force = true;
  std::ostringstream out;
  std::ostringstream err;
  runCommand(line, world->runtime, world->sources(), out, err);
  if (situation.choice == false) {
    EXPECT_FALSE(world->autoLaunchSwitched(true)) << out.str();
  }
  return ostrel::testing::callLines(world->runtime.calls);
}

std::vector<std::string> throughTheStartUpCall(const Situation& situation) {
  const std::unique_ptr<RuntimeWorld> world = worldFor(situation);
  startup::StartupOptions options;
  options.appKey = RuntimeWorld::kKey;
  options.manifestPath = RuntimeWorld::kOurs;
  startup::StartupServices services;
  services.sources = world->sources();
  services.connector = &world->runtime;
  services.check = &checkPasses;
  const startup::StartupOutcome outcome = startup::keepRegistrationRight(options, services);
  if (situation.choice == false) {
    EXPECT_FALSE(world->autoLaunchSwitched(true)) << outcome.text;
  }
  return ostrel::testing::callLines(world->runtime.calls);
}

TEST(DoorsAgree, TheCommandsRepairAndTheStartUpCallMakeTheSameCalls) {
  const std::string& old = RuntimeWorld::kOld;
  const Situation situations[] = {
      {"auto-launch on", {old}, true},
      {"auto-launch off", {old}, false},
      {"no choice recorded", {old}, std::nullopt},
      {"another application listed", {RuntimeWorld::kOther, old}, false},
      {"a copy that is gone", {RuntimeWorld::kGone, old, RuntimeWorld::kOther}, false},
      {"a refused removal", {old, RuntimeWorld::kOurs}, true, 104},
  };
  for (const Situation& situation : situations) {
    SCOPED_TRACE(situation.name);
    const std::vector<std::string> command = throughTheCommand(situation);
    EXPECT_EQ(throughTheStartUpCall(situation), command);
    // Other applications' entries and copies that are gone are never touched.
    for (const std::string& call : command) {
      EXPECT_EQ(call.find(RuntimeWorld::kOther), std::string::npos) << call;
      EXPECT_EQ(call.find(RuntimeWorld::kGone), std::string::npos) << call;
    }
    ASSERT_GE(command.size(), 2u);
    EXPECT_EQ(command[0], "Installed " + RuntimeWorld::kKey) << "the choice is asked for first";
    EXPECT_EQ(command[1], "Remove " + old);
  }
}

}  // namespace
}  // namespace ostrel::registercli
