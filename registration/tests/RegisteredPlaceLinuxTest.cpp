// On Linux: the binary path a manifest gives the Linux runtime, and a
// registration reached through Steam's second name for its folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ostrel/registration/ManifestLocation.h"
#include "ostrel/registration/RegisteredPlace.h"
#include "ostrel/testing/ScratchFolder.h"

namespace ostrel::registration {
namespace {

namespace fs = std::filesystem;

class RegisteredPlaceLinux : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(scratch_.path().empty()) << scratch_.error();
    root_ = fs::canonical(scratch_.path()).native();
  }

  std::string manifest(const std::string& applications) {
    return scratch_
        .write("share/Steam/Ostrel/app.vrmanifest",
               "// comments are allowed\n{\"applications\":[" + applications + "]}")
        .native();
  }

  const ostrel::testing::ScratchFolder scratch_{"ostrel-registered-place-"};
  std::string root_;
};

TEST_F(RegisteredPlaceLinux, TheManifestsLinuxBinaryIsTheOneCompared) {
  struct Case {
    const char* name;
    std::string applications;
    std::optional<std::string> binary;
  } cases[] = {
      {"both platforms",
       R"({"app_key":"other.app","binary_path_linux":"other"},)"
       R"({"app_key":"vantorell.ostrel","binary_path_windows":"Ostrel.exe",)"
       R"("binary_path_linux":"bin/ostrel"})",
       "bin/ostrel"},
      {"Windows only", R"({"app_key":"vantorell.ostrel","binary_path_windows":"Ostrel.exe"})",
       std::nullopt},
      {"not a string", R"({"app_key":"vantorell.ostrel","binary_path_linux":7})", std::nullopt},
      {"the first with the key",
       R"({"app_key":"vantorell.ostrel","binary_path_linux":"/opt/a"},)"
       R"({"app_key":"vantorell.ostrel","binary_path_linux":"/opt/b"})",
       "/opt/a"},
  };
  for (const Case& c : cases) {
    const std::string path = manifest(c.applications);
    const outcome::Outcome<ManifestLocation> location =
        readManifestLocation(path, "vantorell.ostrel");
    ASSERT_TRUE(location) << c.name << ": " << location.failure().message;
    EXPECT_EQ(location.value().folder, root_ + "/share/Steam/Ostrel") << c.name;
    EXPECT_EQ(location.value().binaryPath, c.binary) << c.name;
  }
}

TEST_F(RegisteredPlaceLinux, ARegistrationThroughALinkedFolderIsCurrent) {
  const std::string path =
      manifest(R"({"app_key":"vantorell.ostrel","binary_path_linux":"ostrel"})");
  scratch_.write("share/Steam/Ostrel/ostrel", "");
  fs::create_directory_symlink(root_ + "/share/Steam", root_ + "/steam");
  const outcome::Outcome<ManifestLocation> location =
      readManifestLocation(path, "vantorell.ostrel");
  ASSERT_TRUE(location) << location.failure().message;

  const std::string linked = root_ + "/steam/Ostrel";
  EXPECT_TRUE(sameRegisteredPath(linked + "/ostrel", root_ + "/share/Steam/Ostrel/ostrel"));
  EXPECT_EQ(judgeRegisteredPlace({linked + "/ostrel", linked}, location.value()).match,
            PlaceMatch::Matches);
  // A name that is not there is compared as text alone.
  EXPECT_FALSE(sameRegisteredPath(linked + "/gone", root_ + "/share/Steam/Ostrel/gone"));
  EXPECT_EQ(judgeRegisteredPlace({linked + "/gone", linked}, location.value()).match, PlaceMatch::Differs);
}

}  // namespace
}  // namespace ostrel::registration
