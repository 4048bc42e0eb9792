// Which listed manifests a repair removes, and how the removals stop.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ostrel/registration/Repair.h"
#include "ostrel/testing/ScriptedApplicationsSurface.h"

namespace ostrel::registration {
namespace {

runtimeregistry::ListedManifest listed(std::string path, bool declaresKey, bool thisManifest = false) {
  runtimeregistry::ListedManifest entry;
  entry.path = std::move(path);
  entry.exists = true;
  entry.readable = true;
  entry.declaresKey = declaresKey;
  entry.thisManifest = thisManifest;
  return entry;
}

runtimeregistry::RuntimeRegistry listOf(std::vector<runtimeregistry::ListedManifest> manifests) {
  runtimeregistry::RuntimeRegistry registry;
  registry.appConfigRead = true;
  registry.manifestNamed = true;
  registry.manifests = std::move(manifests);
  for (std::size_t index = 0; index < registry.manifests.size(); ++index) {
    if (registry.manifests[index].declaresKey) {
      registry.serving = index;
      break;
    }
  }
  return registry;
}

TEST(PlanRepair, RemovesEveryOtherCopyOfTheKeyAndNothingElse) {
  runtimeregistry::ListedManifest gone = listed("E:\\Gone\\app.vrmanifest", false);
  gone.exists = false;
  gone.readable = false;
  const runtimeregistry::RuntimeRegistry registry = listOf({
      listed("C:\\Other\\other.vrmanifest", false),
      listed("D:\\Old\\Ostrel\\app.vrmanifest", true),
      gone,
      listed("C:\\New\\Ostrel\\app.vrmanifest", true, true),
      listed("F:\\Copy\\Ostrel\\app.vrmanifest", true),
  });
  EXPECT_EQ(planRepair(registry), (std::vector<std::string>{"D:\\Old\\Ostrel\\app.vrmanifest",
                                                            "F:\\Copy\\Ostrel\\app.vrmanifest"}));
}

TEST(PlanRepair, NothingWhenTheListIsUnknownOrHoldsOnlyThisManifest) {
  runtimeregistry::RuntimeRegistry unknown = listOf({listed("D:\\Old\\Ostrel\\app.vrmanifest", true)});
  unknown.appConfigRead = false;
  EXPECT_TRUE(planRepair(unknown).empty());
  EXPECT_TRUE(
      planRepair(listOf({listed("C:\\New\\Ostrel\\app.vrmanifest", true, true)})).empty());
  EXPECT_TRUE(planRepair(listOf({})).empty());
}

TEST(RemoveListedCopies, RemovesInOrderAndStopsAtTheFirstRefusal) {
  ostrel::testing::ScriptedApplicationsSurface surface;
  surface.removeAnswers.queued = {0, 100};
  const RemovalOutcome outcome = removeListedCopies(surface, {"A", "B", "C"});
  EXPECT_EQ(outcome.removed, (std::vector<std::string>{"A"}));
  ASSERT_TRUE(outcome.refused.has_value());
  EXPECT_EQ(*outcome.refused, "B");
  EXPECT_EQ(outcome.error, 100);
  ASSERT_EQ(surface.calls.size(), 2u);  // C was never asked for
  EXPECT_EQ(surface.calls[1].operation, "Remove");
  EXPECT_EQ(surface.calls[1].text, "B");
}

TEST(RemoveListedCopies, AnEmptyPlanTouchesNothing) {
  ostrel::testing::ScriptedApplicationsSurface surface;
  const RemovalOutcome outcome = removeListedCopies(surface, {});
  EXPECT_TRUE(outcome.removed.empty());
  EXPECT_FALSE(outcome.refused);
  EXPECT_TRUE(surface.calls.empty());
}

}  // namespace
}  // namespace ostrel::registration
