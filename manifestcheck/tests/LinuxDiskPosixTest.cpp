// The check as a Linux build runs it on real files: a manifest written for
// Windows only, and symbolic links made in a scratch folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ManifestCheckTestSupport.h"
#include "ostrel/manifestcheck/ManifestCheck.h"

namespace ostrel::manifestcheck {
namespace {

namespace fs = std::filesystem;
using testing::codes;
using testing::kKey;
using Codes = std::vector<std::string>;

TEST(LinuxDisk, WindowsOnlyIsAnErrorAndLinksAreNamedWithWhereTheyLead) {
  const testing::ScratchFolder scratch;
  ASSERT_FALSE(scratch.path().empty()) << scratch.error();
  const fs::path real = fs::canonical(scratch.path()) / "Ostrel-1.2";
  const auto install = [&](const nlohmann::json& manifest) {
    scratch.write("Ostrel-1.2/ostrel.vrmanifest", manifest.dump(2));
    scratch.write("Ostrel-1.2/bin/ostrel", "#!/bin/sh\n");
    return (real / "ostrel.vrmanifest").wstring();
  };

  const auto windowsOnly = checkManifestForRegistration(install(testing::validManifest()), kKey);
  ASSERT_EQ(codes(windowsOnly), Codes{"binary-path-missing"});
  EXPECT_NE(windowsOnly[0].message.find("SteamVR on Linux never lists it"), std::string::npos);

  // The manifest through a link, and the program found beside it so too.
  install(testing::hostValidManifest());
  const fs::path link = real.parent_path() / "Ostrel";
  fs::create_directory_symlink(real, link);
  const auto linked = checkManifestForRegistration((link / "ostrel.vrmanifest").wstring(), kKey);
  ASSERT_EQ(codes(linked), (Codes{"symbolic-link", "symbolic-link"}));
  const std::string manifest = (real / "ostrel.vrmanifest").string();
  const std::string program = (real / "bin" / "ostrel").string();
  EXPECT_NE(linked[0].message.find("link to \"" + manifest + "\"; "), std::string::npos)
      << linked[0].message;
  EXPECT_NE(linked[1].message.find("link to \"" + program + "\"; "), std::string::npos)
      << linked[1].message;
  EXPECT_EQ(codes(checkManifestForRegistration((real / "ostrel.vrmanifest").wstring(), kKey)),
            Codes{})
      << "the place it leads to is plain";
}

}  // namespace
}  // namespace ostrel::manifestcheck
