#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ManifestCheckTestSupport.h"
#include "ostrel/manifestcheck/ManifestCheck.h"
#include "ostrel/manifestcheck/ManifestReader.h"

namespace {

namespace svr = ostrel::manifestcheck;
using svr::ManifestReadFailure;
using svr::testing::ScratchFolder;

// The scratch folder's paths are ASCII, so the native text is the UTF-8 one.
std::string utf8(const std::filesystem::path& path) { return path.string(); }

struct ReaderCase {
  const char* name;
  std::string bytes;
  ManifestReadFailure failure;
  std::size_t applications;
  // The error after the file's path; empty when there is none.
  std::string afterPath = "";
};

constexpr const char* kNotJson = " is not a JSON object (run the check command for details)";

TEST(ManifestReader, FailuresAndApplicationsTable) {
  const ReaderCase cases[] = {
      {"two",
       R"({"applications":[{"app_key":"a.b","binary_path_windows":"x.exe"},{"app_key":"c.d"}]})",
       ManifestReadFailure::None, 2},
      {"skipped", R"({"applications":[1,{"app_key":7},{"name":"n"},{"app_key":"k"}]})",
       ManifestReadFailure::None, 1},
      {"empty-array", R"({"applications":[]})", ManifestReadFailure::None, 0},
      {"not-json", "{\"applications\":[", ManifestReadFailure::NotJsonObject, 0, kNotJson},
      {"array-top", "[]", ManifestReadFailure::NotJsonObject, 0, kNotJson},
      {"no-applications", R"({"source":"builtin"})", ManifestReadFailure::NoApplications, 0,
       " has no applications array"},
      {"applications-object", R"({"applications":{}})", ManifestReadFailure::NoApplications, 0,
       " has no applications array"},
      {"too-large", std::string(svr::kManifestSizeLimit + 1, ' '), ManifestReadFailure::TooLarge, 0,
       " is larger than 1048576 bytes"},
      {"at-the-limit",
       R"({"applications":[{"app_key":"k"}]})" + std::string(svr::kManifestSizeLimit - 34, ' '),
       ManifestReadFailure::None, 1},
      // The runtime's rules, not the JSON library's: comments are skipped,
      // a trailing comma, UTF-16 and a byte-order mark are not.
      {"comments", "// Ostrel\n{\"applications\":[/* one */{\"app_key\":\"k\"}]}",
       ManifestReadFailure::None, 1},
      {"trailing-comma", R"({"applications":[{"app_key":"k"},]})",
       ManifestReadFailure::NotJsonObject, 0, kNotJson},
      {"utf16", std::string("\xFF\xFE{\0}\0", 6), ManifestReadFailure::NotJsonObject, 0, kNotJson},
      {"bom",
       "\xEF\xBB\xBF"
       R"({"applications":[{"app_key":"k"}]})",
       ManifestReadFailure::Refused, 0,
       " cannot be read: the manifest starts with a UTF-8 byte-order mark (EF BB BF), and the "
       "runtime does not load such a manifest: save it as UTF-8 without BOM"},
  };
  ScratchFolder folder;
  for (const ReaderCase& c : cases) {
    const std::string path = utf8(folder.write(std::string(c.name) + ".vrmanifest", c.bytes));
    const svr::ManifestContents got = svr::readManifest(path);
    EXPECT_EQ(got.failure, c.failure) << c.name;
    EXPECT_EQ(got.applications.size(), c.applications) << c.name;
    EXPECT_EQ(got.error.empty(), c.failure == ManifestReadFailure::None) << c.name;
    if (!got.error.empty()) {
      EXPECT_NE(got.error.find(path), std::string::npos) << got.error;
    }
    EXPECT_EQ(got.error, c.afterPath.empty() ? "" : path + c.afterPath) << c.name;
  }
}

TEST(ManifestReader, FieldsAsWritten) {
  ScratchFolder folder;
  const std::string path = utf8(folder.write(
      "fields.vrmanifest",
      R"({"applications":[{"app_key":"vantorell.ostrel","binary_path_windows":"bin\\ostrel.exe",)"
      R"("binary_path_linux":"bin/ostrel","binary_path_linux_arm":"bin/arm64/ostrel"},)"
      R"({"app_key":"other","binary_path_windows":5,"binary_path_linux":null}]})"));
  const svr::ManifestContents got = svr::readManifest(path);
  ASSERT_EQ(got.applications.size(), 2u);
  EXPECT_EQ(got.applications[0].appKey, "vantorell.ostrel");
  EXPECT_EQ(got.applications[0].binaryPathWindows, std::optional<std::string>("bin\\ostrel.exe"));
  EXPECT_EQ(got.applications[0].binaryPathLinux, std::optional<std::string>("bin/ostrel"));
  EXPECT_EQ(got.applications[0].binaryPathLinuxArm, std::optional<std::string>("bin/arm64/ostrel"));
  EXPECT_EQ(got.applications[1].appKey, "other");
  EXPECT_FALSE(got.applications[1].binaryPathWindows.has_value());
  EXPECT_FALSE(got.applications[1].binaryPathLinux.has_value());
  EXPECT_FALSE(got.applications[1].binaryPathLinuxArm.has_value());

  // Each runtime starts its own system's binary.
  EXPECT_EQ(svr::binaryPathFor(got.applications[0], svr::RuntimeSystem::Windows),
            "bin\\ostrel.exe");
  EXPECT_EQ(svr::binaryPathFor(got.applications[0], svr::RuntimeSystem::Linux), "bin/ostrel");
  EXPECT_EQ(svr::binaryPathFor(got.applications[0], svr::RuntimeSystem::LinuxArm),
            "bin/arm64/ostrel");
}

TEST(ManifestReader, MissingFileAndDeepNesting) {
  ScratchFolder folder;
  const std::string missing = utf8(folder.path() / "gone.vrmanifest");
  const svr::ManifestContents gone = svr::readManifest(missing);
  EXPECT_EQ(gone.failure, ManifestReadFailure::CannotOpen);
  EXPECT_EQ(gone.error, "cannot open " + missing);

  // Three levels hold the key; "x" takes the rest of the nesting allowed.
  const auto nested = [](int levels) {
    std::string text = R"({"applications":[{"app_key":"k","x":)";
    text += std::string(static_cast<std::size_t>(levels), '[');
    text += std::string(static_cast<std::size_t>(levels), ']') + "}]}";
    return text;
  };
  const int room = svr::kManifestDepthLimit - 3;
  const svr::ManifestContents got =
      svr::readManifest(utf8(folder.write("deep.vrmanifest", nested(room))));
  EXPECT_EQ(got.failure, ManifestReadFailure::None) << got.error;
  ASSERT_EQ(got.applications.size(), 1u);
  EXPECT_EQ(got.applications[0].appKey, "k");

  // Deeper than the bound, and far deeper, is refused unparsed.
  for (const int levels : {room + 1, 5000}) {
    const std::string path = utf8(folder.write("deeper.vrmanifest", nested(levels)));
    const svr::ManifestContents refused = svr::readManifest(path);
    EXPECT_EQ(refused.failure, ManifestReadFailure::Refused) << levels;
    EXPECT_TRUE(refused.applications.empty()) << levels;
    const std::string says =
        path + " cannot be read: arrays and objects nest deeper than 64 levels";
    EXPECT_EQ(refused.error.substr(0, says.size()), says);
  }
}

}  // namespace
