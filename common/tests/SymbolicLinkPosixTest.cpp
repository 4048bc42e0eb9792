// Two texts naming one file through a symbolic link, as ~/.steam/steam and
// ~/.local/share/Steam do on Linux.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ostrel/testing/ScratchFolder.h"
#include "platform/Platform.h"

namespace ostrel::platform {
namespace {

namespace fs = std::filesystem;

TEST(SymbolicLinkPosix, SameFileAndWhereALinkLeads) {
  const ostrel::testing::ScratchFolder folder;
  ASSERT_FALSE(folder.path().empty()) << folder.error();
  const fs::path real = fs::canonical(folder.path()) / "share" / "Steam";
  fs::create_directories(real);
  std::ofstream(real / "app.vrmanifest") << "{}";
  const fs::path link = fs::canonical(folder.path()) / "steam";
  fs::create_directory_symlink(real, link);

  EXPECT_TRUE(sameExistingFile(link / "app.vrmanifest", real / "app.vrmanifest"));
  EXPECT_TRUE(sameExistingFile(real / ".." / "Steam" / "app.vrmanifest", real / "app.vrmanifest"));
  EXPECT_FALSE(sameExistingFile(link / "gone.vrmanifest", real / "gone.vrmanifest"));
  EXPECT_FALSE(sameExistingFile(real, real / "app.vrmanifest"));

  EXPECT_EQ(linkResolvedPath(link / "app.vrmanifest"), real / "app.vrmanifest");
  EXPECT_EQ(linkResolvedPath(real / "app.vrmanifest"), std::nullopt);
  EXPECT_EQ(linkResolvedPath(real / "." / "app.vrmanifest"), std::nullopt);
  EXPECT_EQ(linkResolvedPath(real / ""), std::nullopt);
  EXPECT_EQ(linkResolvedPath(link / "gone.vrmanifest"), std::nullopt);
}

}  // namespace
}  // namespace ostrel::platform
