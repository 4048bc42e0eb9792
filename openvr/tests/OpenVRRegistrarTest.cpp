// The real registrar driven through the OpenVR surface into the stand-in
// loader: what crosses the library boundary is what the registrar meant.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "FakeLoader.h"
#include "ostrel/steamvr/IManifestRegistrar.h"
#include "ostrel/openvr/OpenVRApplicationsSurface.h"
#include "ostrel/openvr/OpenVRSession.h"
#include "ostrel/testing/CapturingLogger.h"
#include "ostrel/testing/HostPathForm.h"
#include "platform/Platform.h"

namespace ostrel::openvr {

using steamvr::RegisterResult;
using steamvr::IManifestRegistrar;
using steamvr::createManifestRegistrar;
using steamvr::kApplicationErrorNone;
namespace {

using testing::FakeLoader;
using Calls = std::vector<std::string>;

const std::string kKey = "vantorell.ostrel";
using ostrel::testing::hostPathForm;

// A full path that the registrar on this platform hands on as it is.
const std::wstring kPath =
    hostPathForm(L"C:\\Program Files\\Ostrel\\app.vrmanifest", L"/opt/ostrel/app.vrmanifest");
const std::string kPathUtf8 =
    hostPathForm("C:\\Program Files\\Ostrel\\app.vrmanifest", "/opt/ostrel/app.vrmanifest");
const std::string kAdd = "AddApplicationManifest(" + kPathUtf8 + ",false)";
const std::string kInstalled = "IsApplicationInstalled(" + kKey + ")";
const std::string kAutoLaunch = "SetApplicationAutoLaunch(" + kKey + ",true)";

int sleepCount = 0;
void countSleep(std::chrono::milliseconds) { ++sleepCount; }

class OpenVRRegistrarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fake_.ready()) << fake_.problem();
    sleepCount = 0;
    previousSleep_ = platform::replaceSleepFunction(&countSleep);
    auto opened = OpenVRSession::open({});
    ASSERT_TRUE(opened) << opened.failure().message;
    session_ = std::move(opened).value();
    surface_ = createOpenVRApplicationsSurface(session_.get());
    ASSERT_NE(surface_, nullptr);
    startUpCalls_ = fake_.calls().size();
  }
  void TearDown() override { platform::replaceSleepFunction(previousSleep_); }

  std::unique_ptr<IManifestRegistrar> registrar(std::wstring path = kPath) {
    return createManifestRegistrar(surface_.get(), kKey, std::move(path));
  }

  // What the registrar caused, without the session's start-up.
  Calls registrarCalls() const {
    Calls all = fake_.calls();
    return Calls(all.begin() + static_cast<std::ptrdiff_t>(startUpCalls_), all.end());
  }

  FakeLoader fake_{FakeLoader::besideExecutable()};
  std::shared_ptr<ostrel::testing::CapturingLogger> logger_ =
      std::make_shared<ostrel::testing::CapturingLogger>();
  ostrel::testing::ScopedProcessLogger scope_{logger_};
  platform::SleepFunction previousSleep_ = nullptr;
  std::unique_ptr<OpenVRSession> session_;
  std::unique_ptr<OpenVRApplicationsSurface> surface_;
  std::size_t startUpCalls_ = 0;
};

TEST_F(OpenVRRegistrarTest, RegisterAddsPersistentlyPollsThenEnablesAutoLaunch) {
  fake_.queue("IsApplicationInstalled", 0);
  fake_.queue("IsApplicationInstalled", 0);
  fake_.queue("IsApplicationInstalled", 1);
  auto reg = registrar();
  EXPECT_EQ(reg->Register(), RegisterResult::Success) << reg->LastError();
  EXPECT_EQ(registrarCalls(), (Calls{kAdd, kInstalled, kInstalled, kInstalled, kAutoLaunch}));
  EXPECT_EQ(sleepCount, 2);
  EXPECT_EQ(reg->LastError(), "");
}

TEST_F(OpenVRRegistrarTest, NonAsciiManifestPathCrossesAsUtf8Bytes) {
  fake_.queue("IsApplicationInstalled", 1);
  auto reg = registrar(hostPathForm(L"D:\\Jos\u00e9\\\u6587\u4ef6\\\U0001F600\\app.vrmanifest",
                                    L"/Jos\u00e9/\u6587\u4ef6/\U0001F600/app.vrmanifest"));
  EXPECT_EQ(reg->Register(), RegisterResult::Success) << reg->LastError();
  EXPECT_EQ(reg->Unregister(), RegisterResult::Success) << reg->LastError();
  const std::string utf8 = hostPathForm(
      "D:\\Jos\xc3\xa9\\\xe6\x96\x87\xe4\xbb\xb6\\\xf0\x9f\x98\x80\\app.vrmanifest",
      "/Jos\xc3\xa9/\xe6\x96\x87\xe4\xbb\xb6/\xf0\x9f\x98\x80/app.vrmanifest");
  EXPECT_EQ(registrarCalls(), (Calls{"AddApplicationManifest(" + utf8 + ",false)", kInstalled,
                                     kAutoLaunch, "RemoveApplicationManifest(" + utf8 + ")"}));
}

TEST_F(OpenVRRegistrarTest, RefusedAddStopsAtOnceWithTheRuntimesCodeNamed) {
  fake_.queue("AddApplicationManifest", 107);
  auto reg = registrar();
  EXPECT_EQ(reg->Register(), RegisterResult::AddFailed);
  EXPECT_EQ(reg->LastError(), "AddApplicationManifest: VRApplicationError_InvalidManifest");
  EXPECT_EQ(registrarCalls(), (Calls{kAdd}));
  EXPECT_EQ(sleepCount, 0);
}

TEST_F(OpenVRRegistrarTest, TimesOutAfterTwentyPollsWithoutAutoLaunch) {
  auto reg = registrar();
  EXPECT_EQ(reg->Register(), RegisterResult::PollTimeout);
  Calls expected{kAdd};
  expected.insert(expected.end(), 20, kInstalled);
  EXPECT_EQ(registrarCalls(), expected);
  EXPECT_EQ(sleepCount, 20);
  EXPECT_EQ(reg->LastError(), "IsApplicationInstalled timeout after 2000ms");
}

TEST_F(OpenVRRegistrarTest, RefusedAutoLaunchIsReported) {
  fake_.queue("IsApplicationInstalled", 1);
  fake_.queue("SetApplicationAutoLaunch", 105);
  auto reg = registrar();
  EXPECT_EQ(reg->Register(), RegisterResult::AutoLaunchFailed);
  EXPECT_EQ(reg->LastError(), "SetApplicationAutoLaunch: VRApplicationError_IPCFailed");
  EXPECT_EQ(registrarCalls(), (Calls{kAdd, kInstalled, kAutoLaunch}));
}

TEST_F(OpenVRRegistrarTest, UnregisterRemovesTheManifestAndReportsARefusal) {
  fake_.queue("RemoveApplicationManifest", 0);
  fake_.queue("RemoveApplicationManifest", 104);
  auto reg = registrar();
  EXPECT_EQ(reg->Unregister(), RegisterResult::Success) << reg->LastError();
  EXPECT_EQ(reg->Unregister(), RegisterResult::RemoveFailed);
  EXPECT_EQ(reg->LastError(), "RemoveApplicationManifest: VRApplicationError_UnknownApplication");
  const std::string remove = "RemoveApplicationManifest(" + kPathUtf8 + ")";
  EXPECT_EQ(registrarCalls(), (Calls{remove, remove}));
}

TEST_F(OpenVRRegistrarTest, EnsureRegisteredAsksOnlyWhenAlreadyInstalled) {
  fake_.queue("IsApplicationInstalled", 1);
  EXPECT_EQ(registrar()->EnsureRegistered(), RegisterResult::Success);
  EXPECT_EQ(registrarCalls(), (Calls{kInstalled}));
}

TEST_F(OpenVRRegistrarTest, ReadBacksAfterRegisteringShowWhatTheRuntimeHolds) {
  fake_.queue("IsApplicationInstalled", 1);
  fake_.queue("GetApplicationAutoLaunch", 1);
  ASSERT_EQ(registrar()->Register(), RegisterResult::Success);
  const ApplicationFlag autoLaunch = surface_->GetApplicationAutoLaunch(kKey.c_str());
  EXPECT_TRUE(autoLaunch.value);
  EXPECT_EQ(autoLaunch.error, kApplicationErrorNone);
  EXPECT_EQ(registrarCalls(),
            (Calls{kAdd, kInstalled, kAutoLaunch, "GetApplicationAutoLaunch(" + kKey + ")"}));
}

}  // namespace
}  // namespace ostrel::openvr
