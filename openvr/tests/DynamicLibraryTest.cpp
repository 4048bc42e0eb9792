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
  const outcome::Outcome<std::filesystem::path> found = executableDirectory();
  ASSERT_TRUE(found) << found.failure().message;
  const std::filesystem::path& folder = found.value();
  EXPECT_TRUE(folder.is_absolute()) << pathToUtf8(folder);
  EXPECT_TRUE(std::filesystem::exists(folder / sharedLibraryFileName("openvr_api")));
}

TEST(DynamicLibrary, MissingFileGivesTheSystemsReason) {
  const outcome::Outcome<DynamicLibrary> opened = DynamicLibrary::open(
      std::filesystem::path("no-such-folder") / sharedLibraryFileName("ostrel_absent"));
  ASSERT_FALSE(opened);
  EXPECT_NE(opened.failure().message, "");
  const DynamicLibrary notOpen;
  EXPECT_FALSE(notOpen.isOpen());
  const outcome::Outcome<LibraryFunction> lookup = notOpen.function("VR_ShutdownInternal");
  ASSERT_FALSE(lookup);
  EXPECT_EQ(lookup.failure().message, "library not open");
}

TEST(DynamicLibrary, FindsExportsAndReportsAbsentOnes) {
  outcome::Outcome<DynamicLibrary> opened = DynamicLibrary::open(FakeLoader::besideExecutable());
  ASSERT_TRUE(opened) << opened.failure().message;
  const DynamicLibrary library = std::move(opened).value();
  ASSERT_TRUE(library.isOpen());
  const outcome::Outcome<LibraryFunction> found = library.function("VR_InitInternal2");
  ASSERT_TRUE(found) << found.failure().message;
  EXPECT_NE(found.value(), nullptr);
  const outcome::Outcome<LibraryFunction> absent = library.function("VR_NoSuchEntry");
  ASSERT_FALSE(absent);
  EXPECT_NE(absent.failure().message, "");
  // Hidden by the export macro's absence, though defined in the library.
  EXPECT_FALSE(library.function("reset"));
}

TEST(DynamicLibrary, MovingKeepsTheLibraryLoaded) {
  outcome::Outcome<DynamicLibrary> opened = DynamicLibrary::open(FakeLoader::besideExecutable());
  ASSERT_TRUE(opened) << opened.failure().message;
  DynamicLibrary first = std::move(opened).value();
  ASSERT_TRUE(first.isOpen());
  DynamicLibrary second = std::move(first);
  EXPECT_FALSE(
      first.isOpen());  // NOLINT(bugprone-use-after-move): the moved-from state is the point
  ASSERT_TRUE(second.isOpen());
  const outcome::Outcome<LibraryFunction> counter = second.function(control::kCallCount);
  ASSERT_TRUE(counter) << counter.failure().message;
  auto count = reinterpret_cast<control::CallCountFunction>(counter.value());
  EXPECT_EQ(count(), 0u);

  DynamicLibrary third;
  third = std::move(second);
  EXPECT_FALSE(second.isOpen());  // NOLINT(bugprone-use-after-move)
  EXPECT_TRUE(third.function(control::kCallCount));
}

}  // namespace
}  // namespace ostrel::platform
