#include <gtest/gtest.h>

#include <set>

#include "ostrel/registration/ExitStatus.h"

namespace ostrel::registration {
namespace {

using steamvr::RegisterResult;

// Setup scripts branch on these numbers; they are the registrar's values,
// and the command's own statuses must not collide with them.
TEST(ExitStatus, RegistrarResultsKeepTheirValuesAndOwnStatusesStayApart) {
  std::set<int> seen;
  int expected = 0;
  for (RegisterResult result :
       {RegisterResult::Success, RegisterResult::AddFailed, RegisterResult::PollTimeout,
        RegisterResult::AutoLaunchFailed, RegisterResult::RemoveFailed}) {
    EXPECT_EQ(exitStatusFor(result), expected++);
    seen.insert(exitStatusFor(result));
  }
  for (int own :
       {kExitManifestErrors, kExitStale, kExitNotRegistered, kExitUsage, kExitUnavailable}) {
    EXPECT_TRUE(seen.insert(own).second) << own;
  }
}

TEST(ExitStatus, ResultNamesCoverTheEnumAndNothingElse) {
  EXPECT_STREQ(steamvr::registerResultName(RegisterResult::PollTimeout), "PollTimeout");
  EXPECT_STREQ(steamvr::registerResultName(RegisterResult::RemoveFailed), "RemoveFailed");
  EXPECT_STREQ(steamvr::registerResultName(static_cast<RegisterResult>(9)), "Unknown");
}

}  // namespace
}  // namespace ostrel::registration
