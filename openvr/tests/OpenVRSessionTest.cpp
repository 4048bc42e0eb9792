#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "FakeLoader.h"
#include "ostrel/openvr/OpenVRSession.h"
#include "ostrel/testing/ScratchFolder.h"
#include "platform/Platform.h"

namespace ostrel::openvr {
namespace {

using ostrel::testing::ScratchFolder;
using testing::FakeLoader;
using Calls = std::vector<std::string>;
using Kind = OpenVRSessionErrorKind;

const Calls kStartUp = {"VR_InitInternal2(4,(null))",
                        "VR_IsInterfaceVersionValid(IVRApplications_007)",
                        "VR_GetGenericInterface(FnTable:IVRApplications_007)"};

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The waits between starts, recorded instead of slept.
std::vector<std::chrono::milliseconds>& sleeps() {
  static std::vector<std::chrono::milliseconds> recorded;
  return recorded;
}
void recordSleep(std::chrono::milliseconds duration) { sleeps().push_back(duration); }

class OpenVRSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fake_.ready()) << fake_.problem();
    sleeps().clear();
    previousSleep_ = platform::replaceSleepFunction(&recordSleep);
  }
  void TearDown() override { platform::replaceSleepFunction(previousSleep_); }

  int initCalls() const {
    int count = 0;
    for (const std::string& call : fake_.calls()) count += call.rfind("VR_InitInternal2(", 0) == 0;
    return count;
  }

  platform::SleepFunction previousSleep_ = nullptr;

  // The session, or nullptr with the failure in error_.
  std::unique_ptr<OpenVRSession> open(OpenVRSessionOptions options = {}) {
    auto opened = OpenVRSession::open(options);
    error_ = {};
    if (!opened) {
      error_ = std::move(opened).failure();
      return nullptr;
    }
    return std::move(opened).value();
  }

  FakeLoader fake_{FakeLoader::besideExecutable()};
  RuntimeFailure error_;
};

TEST_F(OpenVRSessionTest, FindsTheLoaderBesideTheExecutableAndStartsAsUtility) {
  auto session = open();
  ASSERT_NE(session, nullptr) << error_.message;
  EXPECT_EQ(session->loaderPath(), FakeLoader::besideExecutable());
  EXPECT_EQ(fake_.calls(), kStartUp);
}

TEST_F(OpenVRSessionTest, DestructionShutsTheRuntimeDownOnce) {
  open().reset();
  Calls expected = kStartUp;
  expected.push_back("VR_ShutdownInternal()");
  EXPECT_EQ(fake_.calls(), expected);
}

TEST_F(OpenVRSessionTest, InitFailureNamesTheLoadersSymbolAndDescription) {
  fake_.setInitError(100);
  EXPECT_EQ(open(), nullptr);
  EXPECT_EQ(error_.kind, Kind::InitFailed);
  EXPECT_EQ(error_.code, "VRInitError_Init_InstallationNotFound");
  EXPECT_EQ(error_.message,
            "VR_InitInternal2 failed: VRInitError_Init_InstallationNotFound (100): "
            "No OpenVR runtime installation was found");
  // The loader cleans up after a failed start; a shutdown now would be a
  // second one, and nothing else may be asked of it.
  EXPECT_EQ(fake_.calls(), (Calls{"VR_InitInternal2(4,(null))", "VR_GetVRInitErrorAsSymbol(100)",
                                  "VR_GetVRInitErrorAsEnglishDescription(100)"}));
}

TEST_F(OpenVRSessionTest, InitFailuresUsersMeetAreNamed) {
  const std::pair<int, const char*> cases[] = {
      {108, "VRInitError_Init_HmdNotFound (108)"},
      {109, "VRInitError_Init_NotInitialized (109)"},
      {110, "VRInitError_Init_PathRegistryNotFound (110)"},
      {121, "VRInitError_Init_NoServerForBackgroundApp (121)"},
      {301, "VRInitError_IPC_ConnectFailed (301)"},
      {309, "VRInitError_IPC_ConnectFailedAfterTargetExited (309)"},
      {4242, "(4242)"}};
  for (const auto& [code, named] : cases) {
    fake_.reset();
    fake_.setInitError(code);
    EXPECT_EQ(open(), nullptr);
    EXPECT_EQ(error_.kind, Kind::InitFailed) << code;
    EXPECT_TRUE(contains(error_.message, named)) << error_.message;
  }
}

TEST_F(OpenVRSessionTest, ServerErrorsAreTriedThreeTimesOneSecondApart) {
  for (int code : {300, 301, 305, 309, 310}) {
    fake_.reset();
    sleeps().clear();
    fake_.setInitError(code);
    EXPECT_EQ(open(), nullptr);
    EXPECT_EQ(initCalls(), 3) << code;
    EXPECT_EQ(sleeps(), (std::vector<std::chrono::milliseconds>(2, std::chrono::seconds(1))))
        << code;
    EXPECT_EQ(error_.attempts, 3);
    EXPECT_EQ(error_.initError, code);
    EXPECT_TRUE(contains(error_.message, "VR_InitInternal2 failed after 3 tries: "))
        << error_.message;
    EXPECT_TRUE(contains(error_.advice, "still starting, or has crashed")) << error_.advice;
  }
}

TEST_F(OpenVRSessionTest, AServerThatComesUpWhileRetriedGivesASession) {
  fake_.queueInitError(301);
  fake_.queueInitError(300);
  auto session = open();
  ASSERT_NE(session, nullptr) << error_.message;
  EXPECT_EQ(initCalls(), 3);
  EXPECT_EQ(sleeps().size(), 2u);
}

TEST_F(OpenVRSessionTest, OtherErrorsAndASingleAttemptAreNotRetried) {
  for (int code : {100, 108, 110, 299, 311}) {
    fake_.reset();
    sleeps().clear();
    fake_.setInitError(code);
    EXPECT_EQ(open(), nullptr);
    EXPECT_EQ(initCalls(), 1) << code;
    EXPECT_TRUE(sleeps().empty()) << code;
    EXPECT_FALSE(contains(error_.message, "tries")) << error_.message;
  }
  fake_.reset();
  fake_.setInitError(301);
  OpenVRSessionOptions once;
  once.initAttempts = 0;
  EXPECT_EQ(open(once), nullptr);
  EXPECT_EQ(initCalls(), 1);
  EXPECT_TRUE(sleeps().empty());
}

TEST_F(OpenVRSessionTest, FailureGivesSymbolAndAdviceAndTheCodeOnce) {
  fake_.setInitError(110);
  EXPECT_EQ(open(), nullptr);
  // The loader's description ends in "(110)" again; it is shown once.
  EXPECT_EQ(error_.message,
            "VR_InitInternal2 failed: VRInitError_Init_PathRegistryNotFound (110): Installation "
            "path could not be located");
  EXPECT_EQ(error_.code, "VRInitError_Init_PathRegistryNotFound");
  EXPECT_EQ(error_.advice, openVRInitErrorAdvice(110));

  // The path registry the loader was pointed at is the one named, not the
  // usual places.
  OpenVRSessionOptions moved;
  moved.pathRegistryFile = "/media/stick/openvrpaths.vrpath";
  EXPECT_EQ(open(moved), nullptr);
  EXPECT_TRUE(contains(error_.advice, "path registry (/media/stick/openvrpaths.vrpath) is missing"))
      << error_.advice;
  EXPECT_FALSE(contains(error_.advice, "~/.config")) << error_.advice;
  EXPECT_EQ(openVRInitErrorAdvice(108, "/x"), openVRInitErrorAdvice(108)) << "only 110 names it";
}

TEST(OpenVRInitErrorAdvice, NamesCauseAndFixPerError) {
  struct Case {
    int code;
    const char* says;
  } cases[] = {
      {100, "Verify integrity"},  {101, "Verify integrity"}, {102, "not installed"},
      {110, "this user"},         {110, "run it as the user"}, {108, "should not occur"},
      {121, "should not occur"},  {126, "should not occur"}, {300, "has crashed"},
      {310, "still starting"},    {105, "out of date"},      {4242, "restart SteamVR"},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(contains(openVRInitErrorAdvice(c.code), c.says)) << c.code;
  }
  // Each system's own way of running as another user.
#ifdef _WIN32
  EXPECT_TRUE(contains(openVRInitErrorAdvice(110), "this Windows user"));
  EXPECT_TRUE(contains(openVRInitErrorAdvice(110), "elevated"));
#else
  EXPECT_TRUE(contains(openVRInitErrorAdvice(110), "sudo or su"));
  EXPECT_FALSE(contains(openVRInitErrorAdvice(107), "Windows"));
#endif
  EXPECT_FALSE(isRetriedInitError(299));
  EXPECT_TRUE(isRetriedInitError(300));
  EXPECT_TRUE(isRetriedInitError(310));
  EXPECT_FALSE(isRetriedInitError(311));
}

TEST_F(OpenVRSessionTest, RuntimeWithoutTheInterfaceIsShutDownAgain) {
  fake_.setInterfaceKnown(false);
  EXPECT_EQ(open(), nullptr);
  EXPECT_EQ(error_.kind, Kind::InterfaceUnavailable);
  EXPECT_TRUE(contains(error_.message, "does not offer IVRApplications_007")) << error_.message;
  EXPECT_EQ(fake_.calls(),
            (Calls{"VR_InitInternal2(4,(null))", "VR_IsInterfaceVersionValid(IVRApplications_007)",
                   "VR_ShutdownInternal()"}));
}

TEST_F(OpenVRSessionTest, WithheldTableIsReportedWithTheLoadersReason) {
  fake_.withholdTable();
  EXPECT_EQ(open(), nullptr);
  EXPECT_EQ(error_.kind, Kind::InterfaceUnavailable);
  EXPECT_TRUE(contains(error_.message,
                       "VR_GetGenericInterface(FnTable:IVRApplications_007) failed: "
                       "VRInitError_Init_InterfaceNotFound (105)"))
      << error_.message;
  ASSERT_FALSE(fake_.calls().empty());
  EXPECT_EQ(fake_.calls().back(), "VR_ShutdownInternal()");
}

TEST_F(OpenVRSessionTest, EmptyRegistrationEntryRefusesTheSessionWithoutCallingIt) {
  const std::pair<int, const char*> entries[] = {{0, "AddApplicationManifest (0)"},
                                                 {1, "RemoveApplicationManifest (1)"},
                                                 {2, "IsApplicationInstalled (2)"},
                                                 {17, "SetApplicationAutoLaunch (17)"}};
  for (const auto& [slot, named] : entries) {
    fake_.reset();
    ASSERT_TRUE(fake_.clearSlot(slot));
    EXPECT_EQ(open(), nullptr) << slot;
    EXPECT_EQ(error_.kind, Kind::InterfaceUnavailable);
    EXPECT_EQ(error_.message,
              std::string("the runtime's IVRApplications_007 table has no ") + named);
    Calls expected = kStartUp;
    expected.push_back("VR_ShutdownInternal()");
    EXPECT_EQ(fake_.calls(), expected);
  }
}

TEST_F(OpenVRSessionTest, OldLoaderWithoutInitInternal2IsRefusedBeforeAnyCall) {
  FakeLoader old(FakeLoader::oldLoader());
  ASSERT_TRUE(old.ready()) << old.problem();
  OpenVRSessionOptions options;
  options.loaderPath = FakeLoader::oldLoader();
  EXPECT_EQ(open(options), nullptr);
  EXPECT_EQ(error_.kind, Kind::EntryPointMissing);
  EXPECT_EQ(error_.code, "EntryPointMissing");
  EXPECT_EQ(error_.message, "OpenVR loader " + platform::pathToUtf8(FakeLoader::oldLoader()) +
                                " does not export VR_InitInternal2 (too old, or not an OpenVR "
                                "loader)");
  EXPECT_TRUE(old.calls().empty());
  EXPECT_TRUE(fake_.calls().empty()) << "an explicit loader is the only one tried";
}

TEST_F(OpenVRSessionTest, ExplicitLoaderPathIsUsedAsGivenEvenWhenNotAscii) {
  const ScratchFolder folder(std::filesystem::path(u8"ostrel-Jos\u00e9-\u6587\u4ef6-"));
  ASSERT_FALSE(folder.path().empty()) << folder.error();
  const std::filesystem::path copy = folder.path() / platform::sharedLibraryFileName("openvr_api");
  std::error_code failure;
  ASSERT_TRUE(std::filesystem::copy_file(FakeLoader::besideExecutable(), copy, failure))
      << failure.message();
  {
    FakeLoader copied(copy);
    ASSERT_TRUE(copied.ready()) << copied.problem();
    OpenVRSessionOptions options;
    options.loaderPath = copy;
    auto session = open(options);
    ASSERT_NE(session, nullptr) << error_.message;
    EXPECT_EQ(session->loaderPath(), copy);
    EXPECT_EQ(copied.calls(), kStartUp) << "the copy is a separate library with its own script";
  }
  EXPECT_TRUE(fake_.calls().empty());
}

TEST_F(OpenVRSessionTest, MissingExplicitLoaderNamesThePlaceAndSearchesNoFurther) {
  const ScratchFolder folder("ostrel-empty-");
  ASSERT_FALSE(folder.path().empty()) << folder.error();
  const std::filesystem::path absent =
      folder.path() / platform::sharedLibraryFileName("openvr_api");
  OpenVRSessionOptions options;
  options.loaderPath = absent;
  EXPECT_EQ(open(options), nullptr);
  EXPECT_EQ(error_.kind, Kind::LibraryNotFound);
  EXPECT_EQ(error_.code, "LibraryNotFound");
  const std::string prefix =
      "OpenVR loader not loaded; tried " + platform::pathToUtf8(absent) + " (";
  EXPECT_EQ(error_.message.substr(0, prefix.size()), prefix) << error_.message;
  EXPECT_GT(error_.message.size(), prefix.size() + 1) << "the system's reason follows";
  EXPECT_EQ(error_.message.find(';', prefix.size()), std::string::npos)
      << "one place only: " << error_.message;
  // Nothing reaches SteamVR until someone acts, and the advice says who.
  EXPECT_TRUE(contains(error_.advice, "put the OpenVR loader at the path named")) << error_.advice;
  EXPECT_TRUE(contains(error_.advice, "until then SteamVR cannot be reached")) << error_.advice;
  EXPECT_TRUE(fake_.calls().empty());
}

TEST(OpenVRSessionErrorKind, EveryKindHasItsName) {
  EXPECT_STREQ(openVRSessionErrorKindName(Kind::None), "None");
  EXPECT_STREQ(openVRSessionErrorKindName(Kind::LibraryNotFound), "LibraryNotFound");
  EXPECT_STREQ(openVRSessionErrorKindName(Kind::EntryPointMissing), "EntryPointMissing");
  EXPECT_STREQ(openVRSessionErrorKindName(Kind::InitFailed), "InitFailed");
  EXPECT_STREQ(openVRSessionErrorKindName(Kind::InterfaceUnavailable), "InterfaceUnavailable");
  EXPECT_STREQ(openVRSessionErrorKindName(Kind::RuntimeNotSteamVR), "RuntimeNotSteamVR");
  EXPECT_STREQ(openVRSessionErrorKindName(Kind::RuntimeUnresolved), "RuntimeUnresolved");
  EXPECT_STREQ(openVRSessionErrorKindName(static_cast<Kind>(99)), "Unknown");
}

}  // namespace
}  // namespace ostrel::openvr
