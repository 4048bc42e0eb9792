#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FakeLoader.h"
#include "ostrel/openvr/OpenVRApplicationsSurface.h"
#include "ostrel/openvr/OpenVRSession.h"

namespace ostrel::openvr {

using steamvr::ApplicationError;
using steamvr::kApplicationErrorNone;
using steamvr::applicationErrorName;
namespace {

using testing::FakeLoader;
using Calls = std::vector<std::string>;

constexpr const char* kKey = "vantorell.ostrel";
constexpr int kWorkingDirectory = 12;
constexpr int kBinaryPath = 13;
constexpr int kDashboardOverlay = 60;

class OpenVRReadBackTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(fake_.ready()) << fake_.problem(); }

  // Opens the session after the test has scripted the stand-in, and returns
  // only the calls made after start-up.
  OpenVRApplicationsSurface* surface() {
    auto opened = OpenVRSession::open({});
    EXPECT_TRUE(opened) << opened.failure().message;
    if (!opened) return nullptr;
    session_ = std::move(opened).value();
    surface_ = createOpenVRApplicationsSurface(session_.get());
    startUpCalls_ = fake_.calls().size();
    return surface_.get();
  }

  Calls readBackCalls() const {
    Calls all = fake_.calls();
    return Calls(all.begin() + static_cast<std::ptrdiff_t>(startUpCalls_), all.end());
  }

  FakeLoader fake_{FakeLoader::besideExecutable()};
  std::unique_ptr<OpenVRSession> session_;
  std::unique_ptr<OpenVRApplicationsSurface> surface_;
  std::size_t startUpCalls_ = 0;
};

TEST_F(OpenVRReadBackTest, AutoLaunchReadsEntryEighteen) {
  fake_.queue("GetApplicationAutoLaunch", 1);
  auto* apps = surface();
  ASSERT_NE(apps, nullptr);
  const ApplicationFlag on = apps->GetApplicationAutoLaunch(kKey);
  const ApplicationFlag off = apps->GetApplicationAutoLaunch(kKey);
  EXPECT_TRUE(on.value);
  EXPECT_FALSE(off.value);
  EXPECT_EQ(on.error, kApplicationErrorNone);
  EXPECT_EQ(readBackCalls(), (Calls{"GetApplicationAutoLaunch(vantorell.ostrel)",
                                    "GetApplicationAutoLaunch(vantorell.ostrel)"}));
}

TEST_F(OpenVRReadBackTest, DashboardOverlayIsPropertySixtyAndItsErrorIsKept) {
  fake_.setFlagProperty(kDashboardOverlay, true);
  auto* apps = surface();
  ASSERT_NE(apps, nullptr);
  const ApplicationFlag overlay = apps->IsDashboardOverlay(kKey);
  EXPECT_TRUE(overlay.value);
  EXPECT_EQ(overlay.error, kApplicationErrorNone);
  EXPECT_EQ(readBackCalls(), (Calls{"GetApplicationPropertyBool(vantorell.ostrel,60)"}));

  fake_.setFlagProperty(kDashboardOverlay, true, 104);
  const ApplicationFlag unknown = apps->IsDashboardOverlay(kKey);
  EXPECT_FALSE(unknown.value) << "no value beside an error";
  EXPECT_EQ(unknown.error, 104);
  EXPECT_STREQ(apps->ErrorName(unknown.error), "VRApplicationError_UnknownApplication");
}

TEST_F(OpenVRReadBackTest, ShortPathsTakeOneCall) {
  fake_.setTextProperty(kBinaryPath, "C:\\Program Files\\Ostrel\\ostrel.exe");
  fake_.setTextProperty(kWorkingDirectory, "C:\\Program Files\\Ostrel");
  auto* apps = surface();
  ASSERT_NE(apps, nullptr);
  const ApplicationText binary = apps->GetBinaryPath(kKey);
  const ApplicationText folder = apps->GetWorkingDirectory(kKey);
  EXPECT_EQ(binary.value, "C:\\Program Files\\Ostrel\\ostrel.exe");
  EXPECT_EQ(binary.error, kApplicationErrorNone);
  EXPECT_EQ(folder.value, "C:\\Program Files\\Ostrel");
  const Calls calls = readBackCalls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].rfind("GetApplicationPropertyString(vantorell.ostrel,13,", 0), 0u) << calls[0];
  EXPECT_EQ(calls[1].rfind("GetApplicationPropertyString(vantorell.ostrel,12,", 0), 0u) << calls[1];
}

TEST_F(OpenVRReadBackTest, LongValueGrowsTheBufferToTheReportedSize) {
  // Longer than any sensible first buffer, and not ASCII.
  std::string longPath = "D:\\\xe6\x96\x87\xe4\xbb\xb6";
  while (longPath.size() < 5000) longPath += "\\Jos\xc3\xa9";
  fake_.setTextProperty(kBinaryPath, longPath);
  auto* apps = surface();
  ASSERT_NE(apps, nullptr);
  const ApplicationText binary = apps->GetBinaryPath(kKey);
  EXPECT_EQ(binary.error, kApplicationErrorNone);
  EXPECT_EQ(binary.value, longPath);
  const Calls calls = readBackCalls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_NE(calls[0], calls[1]);
  EXPECT_EQ(calls[1], "GetApplicationPropertyString(vantorell.ostrel,13," +
                          std::to_string(longPath.size() + 1) + ")")
      << "exactly the size reported, terminator included";
}

TEST_F(OpenVRReadBackTest, PropertyErrorsComeBackNamedWithoutAValue) {
  fake_.setTextProperty(kWorkingDirectory, "ignored", 104);
  auto* apps = surface();
  ASSERT_NE(apps, nullptr);
  const ApplicationText unset = apps->GetBinaryPath(kKey);
  EXPECT_EQ(unset.error, 201);
  EXPECT_EQ(unset.value, "");
  EXPECT_STREQ(apps->ErrorName(unset.error), "VRApplicationError_PropertyNotSet");
  const ApplicationText unknown = apps->GetWorkingDirectory(kKey);
  EXPECT_EQ(unknown.error, 104);
  EXPECT_EQ(unknown.value, "");
  EXPECT_EQ(readBackCalls().size(), 2u) << "an error is final; no second call";
}

TEST_F(OpenVRReadBackTest, EmptyReadBackEntriesAreFailuresNotCalls) {
  ASSERT_TRUE(fake_.clearSlot(14));
  ASSERT_TRUE(fake_.clearSlot(15));
  ASSERT_TRUE(fake_.clearSlot(18));
  auto* apps = surface();
  ASSERT_NE(apps, nullptr) << "registration still works without the read-backs";
  EXPECT_EQ(apps->GetApplicationAutoLaunch(kKey).error, kApplicationErrorFunctionMissing);
  EXPECT_EQ(apps->IsDashboardOverlay(kKey).error, kApplicationErrorFunctionMissing);
  EXPECT_EQ(apps->GetBinaryPath(kKey).error, kApplicationErrorFunctionMissing);
  EXPECT_EQ(apps->GetWorkingDirectory(kKey).error, kApplicationErrorFunctionMissing);
  EXPECT_STREQ(apps->ErrorName(kApplicationErrorFunctionMissing),
               "IVRApplications_007 table entry missing");
  EXPECT_TRUE(readBackCalls().empty());
}

TEST_F(OpenVRReadBackTest, RuntimeCodesAreNamedByTheSeamsTable) {
  auto* apps = surface();
  ASSERT_NE(apps, nullptr);
  for (ApplicationError code : {0, 100, 107, 115, 200, 203, 999}) {
    EXPECT_STREQ(apps->ErrorName(code), applicationErrorName(code)) << code;
  }
  EXPECT_TRUE(readBackCalls().empty()) << "names never ask the runtime";
}

TEST(OpenVRApplicationsSurface, FactoryRefusesANullSession) {
  EXPECT_EQ(createOpenVRApplicationsSurface(nullptr), nullptr);
}

}  // namespace
}  // namespace ostrel::openvr
