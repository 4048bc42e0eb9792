// The C start-up handle across threads, through the shared library and the
// stand-in loader beside this program: cancelled from one thread while
// another waits, run on one thread and waited for on another, and freed from
// its own callback. Run under ThreadSanitizer too; POSIX only (the process
// environment is set with setenv).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "ostrel.h"
#include "ostrel/testing/ScopedVariable.h"
#include "ostrel/testing/ScratchFolder.h"
#include "platform/Platform.h"

namespace {

using Clock = std::chrono::steady_clock;
using ostrel::testing::ScopedVariable;

class CStartupHandleThreads : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder_.path().empty()) << folder_.error();
    // A manifest the check passes, with its binary; the runtime's files are
    // nowhere, so the stand-in is asked, and it never lists the key: the
    // run polls for two seconds unless it is cancelled.
    folder_.write("Ostrel/ostrel", "");
    std::filesystem::permissions(folder_.path() / "Ostrel/ostrel",
                                 std::filesystem::perms::owner_all);
    manifest_ = ostrel::platform::pathToUtf8(
        folder_.write("Ostrel/app.vrmanifest",
                      R"({"applications":[{"app_key":"vantorell.ostrel","launch_type":"binary",)"
                      R"("binary_path_linux":"ostrel","is_dashboard_overlay":true,)"
                      R"("strings":{"en_us":{"name":"Ostrel"}}}]})"));
    loader_ = ostrel::platform::pathToUtf8(
        ostrel::platform::executableDirectory().valueOr({}) /
        ostrel::platform::sharedLibraryFileName("openvr_api"));
  }

  ostrel_startup* create() {
    ostrel_startup* s = nullptr;
    EXPECT_EQ(ostrel_startup_create("vantorell.ostrel", manifest_.c_str(), loader_.c_str(), &s),
              OSTREL_OK);
    return s;
  }

  ostrel::testing::ScratchFolder folder_{"ostrel-capi-threads-"};
  ScopedVariable noPathRegistry_{"VR_PATHREG_OVERRIDE", std::string("/nonexistent/openvrpaths.vrpath")};
  ScopedVariable notStateful_{"OSTREL_FAKE_LOADER_CONFIG_DIR", std::nullopt};
  ScopedVariable noScript_{"OSTREL_FAKE_LOADER_SCRIPT", std::nullopt};
  ScopedVariable noCallLog_{"OSTREL_FAKE_LOADER_CALL_LOG", std::nullopt};
  std::string manifest_;
  std::string loader_;
};

TEST_F(CStartupHandleThreads, ACancelFromOneThreadEndsTheWaitOfAnother) {
  ostrel_startup* s = create();
  ASSERT_NE(s, nullptr);
  ASSERT_EQ(ostrel_startup_start(s, nullptr, nullptr), OSTREL_OK);
  std::atomic<int> waited{OSTREL_E_INTERNAL};
  std::thread waiter([&] { waited = ostrel_startup_wait(s); });
  std::thread canceller([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ostrel_startup_cancel(s);
  });
  // Read while the run goes on: empty until it is done.
  const char* during = ostrel_startup_message(s);
  ASSERT_NE(during, nullptr);
  const auto started = Clock::now();
  const int outcome = ostrel_startup_wait(s);
  waiter.join();
  canceller.join();
  EXPECT_LT(Clock::now() - started, std::chrono::milliseconds(1500)) << "the polls were cut short";
  EXPECT_EQ(outcome, OSTREL_STARTUP_CANCELLED) << ostrel_startup_message(s);
  EXPECT_EQ(waited.load(), outcome);
  EXPECT_NE(std::string(ostrel_startup_message(s)).find("the next start finishes it"),
            std::string::npos)
      << ostrel_startup_message(s);
  ostrel_startup_destroy(s);
}

TEST_F(CStartupHandleThreads, ABlockingRunIsWaitedForFromAnotherThread) {
  ostrel_startup* s = create();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(ostrel_startup_wait(s), OSTREL_E_INVALID_STATE) << "nothing has run yet";
  std::atomic<int> ran{OSTREL_E_INTERNAL};
  std::thread runner([&] { ran = ostrel_startup_run(s); });
  // Until the run has begun, a wait is refused; then it blocks for the end.
  int waited = OSTREL_E_INVALID_STATE;
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  while (waited == OSTREL_E_INVALID_STATE && Clock::now() < deadline) {
    waited = ostrel_startup_wait(s);
  }
  runner.join();
  EXPECT_EQ(ran.load(), OSTREL_STARTUP_FAILED) << ostrel_startup_message(s);
  EXPECT_EQ(waited, ran.load());
  EXPECT_NE(std::string(ostrel_startup_message(s)).find("PollTimeout"), std::string::npos)
      << ostrel_startup_message(s);
  ostrel_startup_destroy(s);
}

TEST_F(CStartupHandleThreads, TheCallbackMayFreeTheHandle) {
  struct Seen {
    std::atomic<int> outcome{OSTREL_E_INTERNAL};
    std::string message;
    std::atomic<bool> done{false};
  } seen;
  ostrel_startup* s = create();
  ASSERT_NE(s, nullptr);
  ostrel_startup_cancel(s);  // before the start: the run ends at once
  ASSERT_EQ(ostrel_startup_start(
                s,
                [](ostrel_startup* handle, int outcome, void* user) {
                  auto* into = static_cast<Seen*>(user);
                  into->message = ostrel_startup_message(handle);
                  into->outcome = outcome;
                  ostrel_startup_destroy(handle);
                  into->done = true;
                },
                &seen),
            OSTREL_OK);
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  while (!seen.done.load() && Clock::now() < deadline) std::this_thread::yield();
  ASSERT_TRUE(seen.done.load());
  EXPECT_EQ(seen.outcome.load(), OSTREL_STARTUP_CANCELLED);
  EXPECT_NE(seen.message.find("stopped before vantorell.ostrel was registered"),
            std::string::npos)
      << seen.message;
}

}  // namespace
