#include <gtest/gtest.h>

#include <string>

#include "SummaryLine.h"

namespace ostrel::registercli {
namespace {

using steamvr::RegisterResult;

TEST(Summary, SuccessLinesStartWithTheWordScriptsLookFor) {
  const std::string path = "C:\\Ostrel\\app.vrmanifest";
  EXPECT_EQ(registrationSummary("register", RegistrationOutcome::Registered,
                                RegisterResult::Success, "k", path, ""),
            "registered k from C:\\Ostrel\\app.vrmanifest");
  EXPECT_EQ(registrationSummary("ensure", RegistrationOutcome::AlreadyRegistered,
                                RegisterResult::Success, "k", path, ""),
            "already registered k");
  EXPECT_EQ(registrationSummary("unregister", RegistrationOutcome::Removed, RegisterResult::Success,
                                "k", path, ""),
            "removed k from C:\\Ostrel\\app.vrmanifest");
}

TEST(Summary, FailureNamesResultStatusPathAndReason) {
  const std::string line =
      registrationSummary("register", RegistrationOutcome::Failed, RegisterResult::AutoLaunchFailed,
                          "k", "C:\\a.vrmanifest", "SetApplicationAutoLaunch: X");
  EXPECT_EQ(line,
            "register failed (AutoLaunchFailed, exit 3) for k from C:\\a.vrmanifest: "
            "SetApplicationAutoLaunch: X");
  const std::string silent = registrationSummary("unregister", RegistrationOutcome::Failed,
                                                 RegisterResult::RemoveFailed, "k", "p", "");
  EXPECT_NE(silent.find("no reason given"), std::string::npos) << silent;
}

TEST(Summary, RefusalAndUnreachableRuntimeSayWhatToDo) {
  EXPECT_EQ(refusedSummary("ensure", 1, 2),
            "ensure refused: the manifest check found 1 error and 2 warnings; fix them or pass "
            "--force");
  EXPECT_EQ(unavailableSummary("status", "VR_InitInternal2 failed"),
            "status failed: the SteamVR runtime cannot be reached: VR_InitInternal2 failed");
}

}  // namespace
}  // namespace ostrel::registercli
