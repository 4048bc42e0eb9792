// The injected sleeper: a stopped one ends the registrar's polls at once and
// the registration is reported as stopped, never as registered.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ostrel/steamvr/IManifestRegistrar.h"
#include "ostrel/steamvr/Sleeper.h"
#include "ostrel/testing/CapturingLogger.h"
#include "ostrel/testing/HostPathForm.h"
#include "ostrel/testing/ScriptedApplicationsSurface.h"

namespace ostrel::steamvr {
namespace {

using Clock = std::chrono::steady_clock;
using common::LogLevel;

const std::wstring kPath = ostrel::testing::hostPathForm(
    L"C:\\Program Files\\Ostrel\\app.vrmanifest", L"/opt/ostrel/app.vrmanifest");

// Stops itself after `sleeps` full sleeps, so a test decides in which poll the
// stop arrives without a second thread.
class StopAfter final : public ISleeper {
 public:
  explicit StopAfter(int sleeps) : left_(sleeps) {}
  bool SleepFor(std::chrono::milliseconds) override {
    ++asked;
    return left_-- > 0;
  }
  int asked = 0;

 private:
  int left_;
};

TEST(StoppedPoll, EndsThePollsAtOnceAndNeverEnablesAutoLaunch) {
  auto logger = std::make_shared<ostrel::testing::CapturingLogger>();
  ostrel::testing::ScopedProcessLogger scope(logger);
  ostrel::testing::ScriptedApplicationsSurface surface;
  StopAfter sleeper(3);
  auto registrar = createManifestRegistrar(&surface, "vantorell.ostrel", kPath, &sleeper);
  EXPECT_EQ(registrar->Register(), RegisterResult::PollTimeout);
  EXPECT_EQ(sleeper.asked, 4);
  EXPECT_EQ(surface.operations(), (std::vector<std::string>{"Add", "Installed", "Installed",
                                                            "Installed", "Installed"}));
  EXPECT_EQ(registrar->LastError(), "polling stopped after 300ms");
  ASSERT_FALSE(logger->messages_.empty());
  EXPECT_EQ(logger->messages_.back().level, LogLevel::Warn);
  EXPECT_EQ(logger->messages_.back().text, "polling stopped after 300ms");
}

TEST(StoppedPoll, ASleeperThatNeverStopsLeavesTheTimeOutAsItWas) {
  ostrel::testing::ScriptedApplicationsSurface surface;
  StopAfter sleeper(1000);
  auto registrar = createManifestRegistrar(&surface, "vantorell.ostrel", kPath, &sleeper);
  EXPECT_EQ(registrar->Register(), RegisterResult::PollTimeout);
  EXPECT_EQ(sleeper.asked, 20);
  EXPECT_EQ(registrar->LastError(), "IsApplicationInstalled timeout after 2000ms");
}

TEST(StoppableSleeper, SleepsInFullUntilStoppedThenRefusesAtOnce) {
  StoppableSleeper sleeper;
  auto started = Clock::now();
  EXPECT_TRUE(sleeper.SleepFor(std::chrono::milliseconds(20)));
  EXPECT_GE(Clock::now() - started, std::chrono::milliseconds(20));
  EXPECT_FALSE(sleeper.StopRequested());

  sleeper.RequestStop();
  EXPECT_TRUE(sleeper.StopRequested());
  started = Clock::now();
  EXPECT_FALSE(sleeper.SleepFor(std::chrono::seconds(30)));
  EXPECT_LT(Clock::now() - started, std::chrono::seconds(5));
}

TEST(StoppableSleeper, AStopFromAnotherThreadWakesASleepUnderWay) {
  StoppableSleeper sleeper;
  const auto started = Clock::now();
  std::thread stopper([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    sleeper.RequestStop();
  });
  EXPECT_FALSE(sleeper.SleepFor(std::chrono::seconds(30)));
  stopper.join();
  EXPECT_LT(Clock::now() - started, std::chrono::seconds(5));
}

}  // namespace
}  // namespace ostrel::steamvr
