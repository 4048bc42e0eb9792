// The start-up call on its own thread: stopped from another thread while it
// polls, destroyed while it runs, and its completion callback. Run under
// ThreadSanitizer too.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "StartupTestSupport.h"
#include "ostrel/startup/StartupRegistration.h"

namespace ostrel::startup::test {
namespace {

using Clock = std::chrono::steady_clock;

class StartupThreads : public ::testing::Test {
 protected:
  StartupServices services() {
    StartupServices given;
    given.sources = {&files_.memory, &files_.memory};
    given.connector = &connector_;
    given.check = &checkPasses;
    return given;
  }

  StartupOptions options() const {
    StartupOptions given;
    given.appKey = kKey;
    given.manifestPath = kOurs;
    return given;
  }

  // Until the work has connected and is polling a runtime that never lists
  // the key (its polls take two seconds in all).
  void waitUntilPolling() const {
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (connector_.connects.load() == 0 && Clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_EQ(connector_.connects.load(), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
  }

  RuntimeFiles files_;
  ScriptedConnector connector_;
};

TEST_F(StartupThreads, AStopDuringThePollsEndsItAsCancelledWithinAPollInterval) {
  files_.list({kOther});
  std::atomic<int> callbacks{0};
  auto handle = startRegistration(options(), services(),
                                  [&](const StartupOutcome&) { callbacks.fetch_add(1); });
  waitUntilPolling();
  EXPECT_FALSE(handle->Done());

  const auto stopped = Clock::now();
  handle->RequestStop();
  const StartupOutcome& outcome = handle->Wait();
  const auto took = Clock::now() - stopped;
  EXPECT_LT(took, std::chrono::milliseconds(150))
      << std::chrono::duration_cast<std::chrono::milliseconds>(took).count() << " ms";
  EXPECT_EQ(outcome.action, StartupAction::Cancelled) << outcome.text;
  EXPECT_EQ(outcome.result, steamvr::RegisterResult::PollTimeout);
  EXPECT_TRUE(handle->Done());
  // Asked, added, polled; never switched auto-launch on.
  const std::vector<std::string> operations = connector_.surface.operations();
  ASSERT_GE(operations.size(), 3u);
  EXPECT_EQ(operations[0], "Installed");
  EXPECT_EQ(operations[1], "Add");
  EXPECT_EQ(std::count(operations.begin(), operations.end(), "AutoLaunch"), 0);
  handle.reset();
  EXPECT_EQ(callbacks.load(), 1);
}

TEST_F(StartupThreads, DestroyingTheHandleMidRunStopsAndJoins) {
  files_.list({kOther});
  std::atomic<int> cancelled{0};
  auto handle = startRegistration(options(), services(), [&](const StartupOutcome& outcome) {
    if (outcome.action == StartupAction::Cancelled) cancelled.fetch_add(1);
  });
  waitUntilPolling();
  const auto destroyed = Clock::now();
  handle.reset();
  EXPECT_LT(Clock::now() - destroyed, std::chrono::milliseconds(1000));
  EXPECT_EQ(cancelled.load(), 1);
}

TEST_F(StartupThreads, TheCallbackGetsTheOutcomeOnceTheHandleIsDone) {
  files_.list({kOurs});  // right already: done without the runtime
  files_.autoLaunch(true);
  std::atomic<bool> doneInCallback{false};
  std::atomic<int> calls{0};
  IStartupRegistration* seen = nullptr;
  std::atomic<bool> ready{false};
  auto handle = startRegistration(options(), services(), [&](const StartupOutcome& outcome) {
    while (!ready.load()) std::this_thread::yield();
    doneInCallback = seen->Done() && outcome.action == StartupAction::AlreadyRegistered;
    calls.fetch_add(1);
  });
  seen = handle.get();
  ready = true;
  EXPECT_EQ(handle->Wait().action, StartupAction::AlreadyRegistered);
  handle.reset();
  EXPECT_EQ(calls.load(), 1);
  EXPECT_TRUE(doneInCallback.load());
  EXPECT_EQ(connector_.connects.load(), 0);
}

// The C interface hands its own stop in, so that a cancel before the start
// holds; and its callback may free the handle.
TEST_F(StartupThreads, AStopGivenBeforeTheStartEndsItAtOnceAndTheCallbackMayDestroyTheHandle) {
  files_.list({kOther});
  steamvr::StoppableSleeper stop;
  stop.RequestStop();
  StartupServices given = services();
  given.stop = &stop;
  std::unique_ptr<IStartupRegistration> handle;
  std::atomic<bool> handed{false};
  std::atomic<int> outcomes{0};
  std::atomic<bool> destroyed{false};
  handle = startRegistration(options(), given, [&](const StartupOutcome& outcome) {
    while (!handed.load()) std::this_thread::yield();
    if (outcome.action == StartupAction::Cancelled) outcomes.fetch_add(1);
    handle.reset();  // from the work's own thread
    destroyed = true;
  });
  handed = true;
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  while (!destroyed.load() && Clock::now() < deadline) std::this_thread::yield();
  EXPECT_TRUE(destroyed.load());
  EXPECT_EQ(outcomes.load(), 1);
  EXPECT_EQ(connector_.connects.load(), 0);
  EXPECT_TRUE(files_.memory.reads.empty());
}

TEST_F(StartupThreads, ARunLeftAloneFinishesOnItsOwn) {
  files_.list({kOther});
  connector_.surface.installedAnswers.queued = {false, false, true};
  auto handle = startRegistration(options(), services(), {});
  const StartupOutcome& outcome = handle->Wait();
  EXPECT_EQ(outcome.action, StartupAction::Registered) << outcome.text;
  EXPECT_EQ(outcome.result, steamvr::RegisterResult::Success);
}

}  // namespace
}  // namespace ostrel::startup::test
