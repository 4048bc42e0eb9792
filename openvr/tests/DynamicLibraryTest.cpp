// The platform layer's shared-library handle, exercised on the stand-in
// loader because it is a library whose exports the test knows.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>

#include "FakeLoader.h"
#include "fakeloader/FakeLoaderControl.h"
#include "platform/Platform.h"

namespace ostrel::platform {
namespace {

using openvr::testing::FakeLoader;
namespace control = openvr::testing::fakeloader;

TEST(DynamicLibrary, ExecutableDirectoryHoldsThisTestsLoader) {
  std::string error = "stale";
  const std::filesystem::path folder = executableDirectory(error);
  EXPECT_EQ(error, "");
  EXPECT_TRUE(folder.is_absolute()) << pathToUtf8(folder);
  EXPECT_TRUE(std::filesystem::exists(folder / sharedLibraryFileName("openvr_api")));
}

TEST(DynamicLibrary, MissingFileGivesTheSystemsReason) {
  std::string error;
  DynamicLibrary library = DynamicLibrary::open(
      std::filesystem::path("no-such-folder") / sharedLibraryFileName("ostrel_absent"), error);
  EXPECT_FALSE(library.isOpen());
  EXPECT_NE(error, "");
  std::string lookup;
  EXPECT_EQ(library.function("VR_ShutdownInternal", lookup), nullptr);
  EXPECT_EQ(lookup, "library not open");
}

TEST(DynamicLibrary, FindsExportsAndReportsAbsentOnes) {
  std::string error;
  DynamicLibrary library = DynamicLibrary::open(FakeLoader::besideExecutable(), error);
  ASSERT_TRUE(library.isOpen()) << error;
  EXPECT_EQ(error, "");
  EXPECT_NE(library.function("VR_InitInternal2", error), nullptr) << error;
  EXPECT_EQ(library.function("VR_NoSuchEntry", error), nullptr);
  EXPECT_NE(error, "");
  // Hidden by the export macro's absence, though defined in the library.
  EXPECT_EQ(library.function("reset", error), nullptr);
}

TEST(DynamicLibrary, MovingKeepsTheLibraryLoaded) {
  std::string error;
  DynamicLibrary first = DynamicLibrary::open(FakeLoader::besideExecutable(), error);
  ASSERT_TRUE(first.isOpen()) << error;
  DynamicLibrary second = std::move(first);
  EXPECT_FALSE(
      first.isOpen());  // NOLINT(bugprone-use-after-move): the moved-from state is the point
  ASSERT_TRUE(second.isOpen());
  auto count =
      reinterpret_cast<control::CallCountFunction>(second.function(control::kCallCount, error));
  ASSERT_NE(count, nullptr) << error;
  EXPECT_EQ(count(), 0u);

  DynamicLibrary third;
  third = std::move(second);
  EXPECT_FALSE(second.isOpen());  // NOLINT(bugprone-use-after-move)
  EXPECT_NE(third.function(control::kCallCount, error), nullptr);
}

}  // namespace
}  // namespace ostrel::platform
