#include "ostrel/steamvr/ManifestReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ManifestCheckTestSupport.h"
#include "ostrel/steamvr/ManifestCheck.h"

namespace {

namespace svr = ostrel::steamvr;
using svr::ManifestReadFailure;
using svr::testing::ScratchFolder;

// The scratch folder's paths are ASCII, so the native text is the UTF-8 one.
std::string utf8(const std::filesystem::path& path) { return path.string(); }

struct ReaderCase {
  const char* name;
  std::string bytes;
  ManifestReadFailure failure;
  std::size_t applications;
};

TEST(ManifestReader, FailuresAndApplicationsTable) {
  const ReaderCase cases[] = {
      {"two", R"({"applications":[{"app_key":"a.b","binary_path_windows":"x.exe"},{"app_key":"c.d"}]})",
       ManifestReadFailure::None, 2},
      {"skipped", R"({"applications":[1,{"app_key":7},{"name":"n"},{"app_key":"k"}]})",
       ManifestReadFailure::None, 1},
      {"empty-array", R"({"applications":[]})", ManifestReadFailure::None, 0},
      {"not-json", "{\"applications\":[", ManifestReadFailure::NotJsonObject, 0},
      {"array-top", "[]", ManifestReadFailure::NotJsonObject, 0},
      {"no-applications", R"({"source":"builtin"})", ManifestReadFailure::NoApplications, 0},
      {"applications-object", R"({"applications":{}})", ManifestReadFailure::NoApplications, 0},
      {"too-large", std::string(svr::kManifestSizeLimit + 1, ' '), ManifestReadFailure::TooLarge,
       0},
  };
  ScratchFolder folder;
  for (const ReaderCase& c : cases) {
    const std::string path =
        utf8(folder.write(std::string(c.name) + ".vrmanifest", c.bytes));
    const svr::ManifestContents got = svr::readManifest(path);
    EXPECT_EQ(got.failure, c.failure) << c.name;
    EXPECT_EQ(got.applications.size(), c.applications) << c.name;
    EXPECT_EQ(got.error.empty(), c.failure == ManifestReadFailure::None) << c.name;
    if (!got.error.empty()) {
      EXPECT_NE(got.error.find(path), std::string::npos) << got.error;
    }
  }
}

TEST(ManifestReader, FieldsAsWritten) {
  ScratchFolder folder;
  const std::string path = utf8(folder.write(
      "fields.vrmanifest",
      R"({"applications":[{"app_key":"vantorell.ostrel","binary_path_windows":"bin\\ostrel.exe"},)"
      R"({"app_key":"other","binary_path_windows":5}]})"));
  const svr::ManifestContents got = svr::readManifest(path);
  ASSERT_EQ(got.applications.size(), 2u);
  EXPECT_EQ(got.applications[0].appKey, "vantorell.ostrel");
  EXPECT_EQ(got.applications[0].binaryPathWindows, std::optional<std::string>("bin\\ostrel.exe"));
  EXPECT_EQ(got.applications[1].appKey, "other");
  EXPECT_FALSE(got.applications[1].binaryPathWindows.has_value());
}

TEST(ManifestReader, MissingFileAndDeepNesting) {
  ScratchFolder folder;
  const std::string missing = utf8(folder.path() / "gone.vrmanifest");
  const svr::ManifestContents gone = svr::readManifest(missing);
  EXPECT_EQ(gone.failure, ManifestReadFailure::CannotOpen);
  EXPECT_EQ(gone.error, "cannot open " + missing);

  std::string deep = R"({"applications":[{"app_key":"k","x":)";
  deep += std::string(5000, '[') + std::string(5000, ']') + "}]}";
  const svr::ManifestContents got =
      svr::readManifest(utf8(folder.write("deep.vrmanifest", deep)));
  EXPECT_EQ(got.failure, ManifestReadFailure::None);
  ASSERT_EQ(got.applications.size(), 1u);
  EXPECT_EQ(got.applications[0].appKey, "k");
}

}  // namespace
