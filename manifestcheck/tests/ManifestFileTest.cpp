// The check of a manifest on disk: reading it, finding its binary, and the
// path rules and content findings together.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "ManifestCheckTestSupport.h"
#include "ostrel/manifestcheck/ManifestCheck.h"

namespace ostrel::manifestcheck {
namespace {

using testing::codes;
using testing::hostProgramName;
using testing::hostValidManifest;
using testing::kKey;
using testing::ScratchFolder;
using Codes = std::vector<std::string>;

class ManifestFileTest : public ::testing::Test {
 protected:
  std::vector<ManifestFinding> checkFile(const std::filesystem::path& file) {
    return checkManifest({file, std::nullopt, kKey});
  }

  ScratchFolder scratch_;
};

TEST_F(ManifestFileTest, InstalledLayoutHasNoFinding) {
  const auto manifest = scratch_.write("Ostrel/ostrel.vrmanifest", hostValidManifest().dump(2));
  scratch_.write("Ostrel/bin/" + hostProgramName(), "MZ");
  EXPECT_EQ(codes(checkFile(manifest)), Codes{});
}

TEST_F(ManifestFileTest, BinaryIsLookedForBesideTheManifestNotHere) {
  const auto manifest = scratch_.write("Ostrel/ostrel.vrmanifest", hostValidManifest().dump());
  // Where a lookup from the scratch folder would go.
  scratch_.write("bin/" + hostProgramName(), "MZ");
  const auto findings = checkFile(manifest);
  ASSERT_EQ(codes(findings), Codes{"binary-missing"});
  const std::string expected = (scratch_.path() / "Ostrel" / "bin" / hostProgramName()).string();
  EXPECT_NE(findings[0].message.find(expected), std::string::npos) << findings[0].message;

  std::filesystem::create_directories(scratch_.path() / "Ostrel" / "bin" / hostProgramName());
  EXPECT_NE(checkFile(manifest)[0].message.find("names a folder"), std::string::npos);
}

TEST_F(ManifestFileTest, FilesThatCannotBeReadAsAManifest) {
  EXPECT_EQ(codes(checkFile(scratch_.path() / "absent.vrmanifest")), Codes{"file-missing"});
  EXPECT_EQ(codes(checkFile(scratch_.path())), Codes{"file-not-regular"});
  EXPECT_EQ(codes(checkFile(scratch_.write("empty.vrmanifest", ""))), Codes{"empty"});
  const auto huge = scratch_.write("huge.vrmanifest", std::string(kManifestSizeLimit + 1, ' '));
  EXPECT_EQ(codes(checkFile(huge)), Codes{"file-too-large"});
}

TEST_F(ManifestFileTest, NonAsciiFolderIsReadThroughTheUtf8Path) {
  const std::filesystem::path folder = std::filesystem::path(u8"Spiele \u00c4\u2713");
  scratch_.write(folder / "ostrel.vrmanifest", hostValidManifest().dump());
  scratch_.write(folder / "bin" / hostProgramName(), "MZ");
  // Built by hand: a POSIX path refuses to convert non-ASCII to wide text.
  const std::wstring separator(1, static_cast<wchar_t>(std::filesystem::path::preferred_separator));
  const std::wstring registered = scratch_.path().wstring() + separator + L"Spiele \u00c4\u2713" +
                                  separator + L"ostrel.vrmanifest";

  const auto findings = checkManifestForRegistration(registered, kKey);
  // Whatever the path rules make of this platform's temporary folder, the
  // file itself was found and read: nothing beyond the path findings.
  EXPECT_EQ(findings, checkManifestPath(registered));
  const std::vector<std::string> found = codes(findings);
  EXPECT_EQ(std::count(found.begin(), found.end(), "non-ascii-path"), 1);
}

TEST_F(ManifestFileTest, RegistrationCheckJoinsPathAndContentFindings) {
  auto manifest = hostValidManifest();
  manifest["applications"][0]["is_dashboard_overlay"] = false;
  const auto file = scratch_.write("o.vrmanifest", manifest.dump());
  scratch_.write("bin/" + hostProgramName(), "MZ");

  std::vector<ManifestFinding> expected = checkManifestPath(file.wstring());
  expected.push_back(checkManifestContent(manifest.dump(), {kKey, scratch_.path(), nullptr})[0]);
  EXPECT_EQ(checkManifestForRegistration(file.wstring(), kKey), expected);

  EXPECT_EQ(codes(checkManifestForRegistration(L"", kKey)), Codes{"path-empty"})
      << "an unusable path is not read";
}

}  // namespace
}  // namespace ostrel::manifestcheck
