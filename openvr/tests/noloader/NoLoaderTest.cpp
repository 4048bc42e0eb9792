// Built into a folder with no loader beside it, so the session's search finds
// nothing and must say where it looked.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "ostrel/openvr/OpenVRSession.h"
#include "platform/Platform.h"

namespace ostrel::openvr {
namespace {

TEST(OpenVRSessionWithoutLoader, ListsEveryPlaceTried) {
  // Windows' search also looks in the current directory, and the test runner
  // starts this program in a folder that holds the stand-in loader.
  const outcome::Outcome<std::filesystem::path> found = platform::executableDirectory();
  ASSERT_TRUE(found) << found.failure().message;
  const std::filesystem::path& folder = found.value();
  std::error_code failure;
  std::filesystem::current_path(folder, failure);
  ASSERT_FALSE(failure) << failure.message();

  auto opened = OpenVRSession::open({});
  ASSERT_FALSE(opened);
  const RuntimeFailure& error = opened.failure();
  ASSERT_EQ(error.kind, OpenVRSessionErrorKind::LibraryNotFound) << error.message;

  const auto fileName = platform::sharedLibraryFileName("openvr_api");
  const std::string beside = platform::pathToUtf8(folder / fileName);
  const std::string searched =
      platform::pathToUtf8(fileName) + " through the system's library search (";
  const std::string& message = error.message;
  EXPECT_EQ(message.rfind("OpenVR loader not loaded; tried " + beside + " (", 0), 0u) << message;
  const auto searchAt = message.find("; " + searched);
  ASSERT_NE(searchAt, std::string::npos) << message;
  EXPECT_GT(message.size(), searchAt + 2 + searched.size() + 1) << "a reason for each place";
  // What to ship, and from where in the OpenVR SDK.
  EXPECT_NE(error.advice.find("ship the OpenVR loader, " + platform::pathToUtf8(fileName) +
                              " from the OpenVR SDK's bin"),
            std::string::npos)
      << error.advice;
}

}  // namespace
}  // namespace ostrel::openvr
