#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "ostrel/steamvr/IManifestRegistrar.h"
#include "ostrel/testing/CapturingLogger.h"
#include "ostrel/testing/HostPathForm.h"
#include "ostrel/testing/ScriptedApplicationsSurface.h"
#include "ostrel/text/HostPath.h"
#include "platform/Platform.h"

namespace ostrel::steamvr {
namespace {

using common::LogLevel;
using ostrel::testing::CapturingLogger;
using ostrel::testing::hostPathForm;
using ostrel::testing::LoggedMessage;
using ostrel::testing::ScopedProcessLogger;
using ostrel::testing::ScriptedApplicationsSurface;
using Ops = std::vector<std::string>;
using Logs = std::vector<LoggedMessage>;

const std::string kKey = "vantorell.ostrel";
// A full path that the registrar on this platform hands on as it is.
const std::wstring kPath =
    hostPathForm(L"C:\\Program Files\\Ostrel\\app.vrmanifest", L"/opt/ostrel/app.vrmanifest");
const std::string kPathUtf8 =
    hostPathForm("C:\\Program Files\\Ostrel\\app.vrmanifest", "/opt/ostrel/app.vrmanifest");

std::vector<std::chrono::milliseconds> sleeps;
void countSleep(std::chrono::milliseconds duration) { sleeps.push_back(duration); }

class ManifestRegistrarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sleeps.clear();
    previousSleep_ = platform::replaceSleepFunction(&countSleep);
  }
  void TearDown() override { platform::replaceSleepFunction(previousSleep_); }

  std::unique_ptr<IManifestRegistrar> registrar(std::wstring path = kPath) {
    return createManifestRegistrar(&surface_, kKey, std::move(path));
  }

  static LoggedMessage log(LogLevel level, std::string text) {
    return {level, std::move(text), nullptr};
  }

  ScriptedApplicationsSurface surface_;
  std::shared_ptr<CapturingLogger> logger_ = std::make_shared<CapturingLogger>();
  ScopedProcessLogger scope_{logger_};
  platform::SleepFunction previousSleep_ = nullptr;
};

TEST_F(ManifestRegistrarTest, FactoryRefusesNullSurface) {
  EXPECT_EQ(createManifestRegistrar(nullptr, kKey, kPath), nullptr);
  auto reg = registrar();
  ASSERT_NE(reg, nullptr);
  EXPECT_EQ(reg->LastError(), "");
  EXPECT_TRUE(surface_.calls.empty()) << "the factory calls nothing";
}

TEST_F(ManifestRegistrarTest, RegisterAddsPollsThenEnablesAutoLaunch) {
  surface_.installedAnswers.queued = {false, false, true};
  auto reg = registrar();
  EXPECT_EQ(reg->Register(), RegisterResult::Success);

  EXPECT_EQ(surface_.operations(),
            (Ops{"Add", "Installed", "Installed", "Installed", "AutoLaunch"}));
  EXPECT_EQ(surface_.calls[0].text, kPathUtf8);
  EXPECT_FALSE(surface_.calls[0].flag) << "registration must be persistent";
  EXPECT_EQ(surface_.calls[1].text, kKey);
  EXPECT_EQ(surface_.calls[4].text, kKey);
  EXPECT_TRUE(surface_.calls[4].flag);
  EXPECT_EQ(sleeps, (std::vector<std::chrono::milliseconds>(2, std::chrono::milliseconds(100))));
  EXPECT_EQ(
      logger_->messages_,
      (Logs{log(LogLevel::Info, "polling for manifest install"),
            log(LogLevel::Info, "manifest ready after 300ms"),
            log(LogLevel::Info, "manifest registered + auto-launch enabled: vantorell.ostrel")}));
  EXPECT_EQ(reg->LastError(), "");
}

TEST_F(ManifestRegistrarTest, InstalledAtFirstPollNeedsNoSleep) {
  surface_.installedAnswers.queued = {true};
  EXPECT_EQ(registrar()->Register(), RegisterResult::Success);
  EXPECT_TRUE(sleeps.empty());
  ASSERT_EQ(logger_->messages_.size(), 3u);
  EXPECT_EQ(logger_->messages_[1].text, "manifest ready after 100ms");
}

TEST_F(ManifestRegistrarTest, InstalledAtTheLastPollStillSucceeds) {
  surface_.installedAnswers.queued.assign(19, false);
  surface_.installedAnswers.queued.push_back(true);
  EXPECT_EQ(registrar()->Register(), RegisterResult::Success);
  EXPECT_EQ(sleeps.size(), 19u);
  ASSERT_EQ(logger_->messages_.size(), 3u);
  EXPECT_EQ(logger_->messages_[1].text, "manifest ready after 2000ms");
}

TEST_F(ManifestRegistrarTest, TimesOutAfterExactlyTwentyPolls) {
  surface_.installedAnswers.queued.assign(25, false);
  surface_.installedAnswers.queued.push_back(true);  // never reached
  auto reg = registrar();
  EXPECT_EQ(reg->Register(), RegisterResult::PollTimeout);

  Ops expected{"Add"};
  expected.insert(expected.end(), 20, "Installed");
  EXPECT_EQ(surface_.operations(), expected) << "no auto-launch and no removal after a time-out";
  EXPECT_EQ(sleeps, (std::vector<std::chrono::milliseconds>(20, std::chrono::milliseconds(100))));
  EXPECT_EQ(reg->LastError(), "IsApplicationInstalled timeout after 2000ms");
  EXPECT_EQ(logger_->messages_, (Logs{log(LogLevel::Info, "polling for manifest install"),
                                      log(LogLevel::Warn, "timeout after 2000ms")}));
}

TEST_F(ManifestRegistrarTest, RefusedAddStopsAtOnce) {
  surface_.addAnswers.queued = {107};
  auto reg = registrar();
  EXPECT_EQ(reg->Register(), RegisterResult::AddFailed);
  EXPECT_EQ(surface_.operations(), (Ops{"Add"}));
  EXPECT_TRUE(sleeps.empty());
  EXPECT_EQ(reg->LastError(), "AddApplicationManifest: VRApplicationError_InvalidManifest");
  EXPECT_EQ(
      logger_->messages_,
      (Logs{log(LogLevel::Warn, "AddApplicationManifest: VRApplicationError_InvalidManifest")}));
}

TEST_F(ManifestRegistrarTest, UnknownAddErrorIsNamedUnknown) {
  surface_.addAnswers.queued = {999};
  auto reg = registrar();
  EXPECT_EQ(reg->Register(), RegisterResult::AddFailed);
  EXPECT_EQ(reg->LastError(), "AddApplicationManifest: VRApplicationError_Unknown");
}

TEST_F(ManifestRegistrarTest, RefusedAutoLaunchLeavesTheManifestAdded) {
  surface_.installedAnswers.queued = {true};
  surface_.autoLaunchAnswers.queued = {105};
  auto reg = registrar();
  EXPECT_EQ(reg->Register(), RegisterResult::AutoLaunchFailed);
  EXPECT_EQ(surface_.operations(), (Ops{"Add", "Installed", "AutoLaunch"}));
  EXPECT_EQ(reg->LastError(), "SetApplicationAutoLaunch: VRApplicationError_IPCFailed");
  ASSERT_EQ(logger_->messages_.size(), 3u);
  EXPECT_EQ(logger_->messages_[2],
            log(LogLevel::Warn, "SetApplicationAutoLaunch: VRApplicationError_IPCFailed"));
}

TEST_F(ManifestRegistrarTest, EmptyPathIsRefusedWithoutCallingTheRuntime) {
  auto reg = registrar(L"");
  EXPECT_EQ(reg->Register(), RegisterResult::AddFailed);
  EXPECT_EQ(reg->LastError(), "manifest path empty or invalid");
  EXPECT_EQ(reg->Unregister(), RegisterResult::RemoveFailed);
  EXPECT_EQ(reg->LastError(), "manifest path empty or invalid");
  EXPECT_TRUE(surface_.calls.empty());
  EXPECT_EQ(logger_->messages_, (Logs{log(LogLevel::Error, "manifest path empty or invalid"),
                                      log(LogLevel::Error, "manifest path empty or invalid")}));
}

TEST_F(ManifestRegistrarTest, EmbeddedNulIsRefusedRatherThanTruncated) {
  // Handed on as a C string, this path would silently become "C:\Ostrel".
  const std::wstring path(L"C:\\Ostrel\0\\app.vrmanifest", 25);
  auto reg = registrar(path);
  EXPECT_EQ(reg->Register(), RegisterResult::AddFailed);
  EXPECT_EQ(reg->LastError(), "manifest path empty or invalid");
  EXPECT_EQ(reg->Unregister(), RegisterResult::RemoveFailed);
  EXPECT_EQ(reg->LastError(), "manifest path empty or invalid");
  EXPECT_TRUE(surface_.calls.empty());
}

// The separator each platform's runtime misreads: '/' on Windows, '\\' on
// Linux. A build meets only its own platform's rule, so the other's cases
// are left out there.
bool refusesForwardSlash() { return text::refusedSeparator() == '/'; }

// The separator the runtime misreads is refused, for Register only: '/' on
// Windows (the runtime takes the path and never lists the application), '\'
// on Linux (the runtime's loader turns it into '/', naming another file).
TEST_F(ManifestRegistrarTest, TheMisreadSeparatorIsRefusedForRegisterOnly) {
  const bool windows = refusesForwardSlash();
  const std::string refused =
      windows ? "C:/Program Files/Ostrel/app.vrmanifest" : "/opt/ostrel\\app.vrmanifest";
  auto reg = registrar(std::wstring(refused.begin(), refused.end()));
  EXPECT_EQ(reg->Register(), RegisterResult::AddFailed);
  const std::string expected =
      (windows ? "manifest path contains forward slash; SteamVR will silently skip. Path: "
               : "manifest path contains back-slash, which SteamVR on Linux reads as '/'. Path: ") +
      refused;
  EXPECT_EQ(reg->LastError(), expected);
  EXPECT_TRUE(surface_.calls.empty());
  EXPECT_EQ(logger_->messages_, (Logs{log(LogLevel::Error, expected)}));

  EXPECT_EQ(reg->Unregister(), RegisterResult::Success);
  ASSERT_EQ(surface_.operations(), (Ops{"Remove"}));
  EXPECT_EQ(surface_.calls[0].text, refused);
}

TEST_F(ManifestRegistrarTest, SingleSlashAnywhereIsRefused) {
  if (!refusesForwardSlash()) GTEST_SKIP() << "a Windows rule; Linux reads '/' as its separator";
  auto reg = registrar(L"C:\\Program Files\\Ostrel/app.vrmanifest");
  EXPECT_EQ(reg->Register(), RegisterResult::AddFailed);
  EXPECT_TRUE(surface_.calls.empty());
}

TEST_F(ManifestRegistrarTest, NonAsciiPathReachesTheRuntimeAsUtf8) {
  surface_.installedAnswers.queued = {true};
  auto reg = registrar(hostPathForm(L"D:\\Jos\u00e9\\\u6587\u4ef6\\\U0001F600\\app.vrmanifest",
                                    L"/Jos\u00e9/\u6587\u4ef6/\U0001F600/app.vrmanifest"));
  EXPECT_EQ(reg->Register(), RegisterResult::Success);
  ASSERT_FALSE(surface_.calls.empty());
  EXPECT_EQ(surface_.calls[0].text,
            hostPathForm(
                "D:\\Jos\xc3\xa9\\\xe6\x96\x87\xe4\xbb\xb6\\\xf0\x9f\x98\x80\\app.vrmanifest",
                "/Jos\xc3\xa9/\xe6\x96\x87\xe4\xbb\xb6/\xf0\x9f\x98\x80/app.vrmanifest"));
  EXPECT_EQ(reg->Unregister(), RegisterResult::Success);
  EXPECT_EQ(surface_.calls.back().text, surface_.calls[0].text);
}

TEST_F(ManifestRegistrarTest, IllFormedPathIsConvertedWithReplacementNotRefused) {
  surface_.installedAnswers.queued = {true};
  std::wstring path = hostPathForm(L"C:\\bad", L"/bad");
  path.push_back(static_cast<wchar_t>(0xD800));
  path += hostPathForm(L"\\app.vrmanifest", L"/app.vrmanifest");
  EXPECT_EQ(registrar(path)->Register(), RegisterResult::Success);
  ASSERT_FALSE(surface_.calls.empty());
  EXPECT_EQ(surface_.calls[0].text,
            hostPathForm("C:\\bad\xef\xbf\xbd\\app.vrmanifest", "/bad\xef\xbf\xbd/app.vrmanifest"));
}

TEST_F(ManifestRegistrarTest, UnregisterRemovesAndLogsTheKey) {
  auto reg = registrar();
  EXPECT_EQ(reg->Unregister(), RegisterResult::Success);
  ASSERT_EQ(surface_.operations(), (Ops{"Remove"}));
  EXPECT_EQ(surface_.calls[0].text, kPathUtf8);
  EXPECT_EQ(logger_->messages_, (Logs{log(LogLevel::Info, "manifest removed: vantorell.ostrel")}));
}

TEST_F(ManifestRegistrarTest, RefusedRemovalIsReported) {
  surface_.removeAnswers.queued = {104};
  auto reg = registrar();
  EXPECT_EQ(reg->Unregister(), RegisterResult::RemoveFailed);
  EXPECT_EQ(reg->LastError(), "RemoveApplicationManifest: VRApplicationError_UnknownApplication");
  EXPECT_EQ(logger_->messages_,
            (Logs{log(LogLevel::Warn,
                      "RemoveApplicationManifest: VRApplicationError_UnknownApplication")}));
}

TEST_F(ManifestRegistrarTest, EnsureRegisteredAsksFirstAndTouchesNothingElse) {
  surface_.addAnswers.queued = {107};
  surface_.installedAnswers.queued = {true};
  auto reg = registrar();
  EXPECT_EQ(reg->Register(), RegisterResult::AddFailed);
  ASSERT_NE(reg->LastError(), "");
  logger_->messages_.clear();
  surface_.calls.clear();

  EXPECT_EQ(reg->EnsureRegistered(), RegisterResult::Success);
  EXPECT_EQ(surface_.operations(), (Ops{"Installed"}));
  EXPECT_EQ(surface_.calls[0].text, kKey);
  EXPECT_EQ(reg->LastError(), "") << "an early success clears the last failure";
  EXPECT_TRUE(logger_->messages_.empty());
}

TEST_F(ManifestRegistrarTest, EnsureRegisteredRegistersWhenMissing) {
  surface_.installedAnswers.queued = {false, true};
  auto reg = registrar();
  EXPECT_EQ(reg->EnsureRegistered(), RegisterResult::Success);
  EXPECT_EQ(surface_.operations(), (Ops{"Installed", "Add", "Installed", "AutoLaunch"}));
  EXPECT_TRUE(sleeps.empty());
}

TEST_F(ManifestRegistrarTest, SuccessAfterFailureClearsLastError) {
  surface_.addAnswers.queued = {101};
  surface_.installedAnswers.queued = {true};
  surface_.removeAnswers.queued = {105};
  auto reg = registrar();
  EXPECT_EQ(reg->Register(), RegisterResult::AddFailed);
  EXPECT_EQ(reg->LastError(), "AddApplicationManifest: VRApplicationError_NoManifest");
  EXPECT_EQ(reg->Register(), RegisterResult::Success);
  EXPECT_EQ(reg->LastError(), "");

  EXPECT_EQ(reg->Unregister(), RegisterResult::RemoveFailed);
  EXPECT_EQ(reg->LastError(), "RemoveApplicationManifest: VRApplicationError_IPCFailed");
  EXPECT_EQ(reg->Unregister(), RegisterResult::Success);
  EXPECT_EQ(reg->LastError(), "");
}

TEST_F(ManifestRegistrarTest, OperationsKeepNoStateBetweenCalls) {
  surface_.installedAnswers.queued = {true, true};
  auto reg = registrar();
  EXPECT_EQ(reg->Register(), RegisterResult::Success);
  EXPECT_EQ(reg->Register(), RegisterResult::Success);
  EXPECT_EQ(surface_.operations(),
            (Ops{"Add", "Installed", "AutoLaunch", "Add", "Installed", "AutoLaunch"}));
}

TEST(ManifestRegistrarLogging, WithoutProcessLoggerFailuresStillReported) {
  ScopedProcessLogger none{nullptr};
  ScriptedApplicationsSurface surface;
  surface.addAnswers.queued = {107};
  auto reg = createManifestRegistrar(&surface, kKey, kPath);
  EXPECT_EQ(reg->Register(), RegisterResult::AddFailed);
  EXPECT_EQ(reg->LastError(), "AddApplicationManifest: VRApplicationError_InvalidManifest");
}

}  // namespace
}  // namespace ostrel::steamvr
