// The disk probe works out where a path leads one component at a time and
// keeps what it learnt: whatever it is asked, in whatever order, it must
// answer as the platform's one-shot resolution and a plain stat do.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ostrel/manifestcheck/ManifestCheck.h"
#include "ostrel/testing/ScratchFolder.h"
#include "platform/Platform.h"

namespace ostrel::manifestcheck {
namespace {

namespace fs = std::filesystem;

PathKind statKind(const fs::path& path) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (error) return PathKind::Missing;
  switch (status.type()) {
    case fs::file_type::regular:
      return PathKind::RegularFile;
    case fs::file_type::directory:
      return PathKind::Directory;
    case fs::file_type::not_found:
    case fs::file_type::none:
      return PathKind::Missing;
    default:
      return PathKind::Other;
  }
}

TEST(DiskPathProbe, AnswersAsTheOneShotResolutionAndStatDoWhateverItWasAskedBefore) {
  const testing::ScratchFolder folder;
  ASSERT_FALSE(folder.path().empty()) << folder.error();
  const fs::path root = folder.path();
  folder.write("real/sub/program", "");
  fs::create_directories(root / "real/dir");
  fs::create_directory_symlink(root / "real", root / "link");
  fs::create_symlink(root / "real/sub/program", root / "real/sub/program-link");
  fs::create_symlink(root / "nowhere", root / "dangling");
  fs::create_directory_symlink("../sub", root / "real/dir/up");  // a relative link

  const std::vector<fs::path> paths = {
      root / "real/sub/program",      root / "link/sub/program",
      root / "real/sub/program-link", root / "link/sub/program-link",
      root / "real/./sub/program",    root / "real/sub/../sub/program",
      root / "link/sub/",             root / "real/sub//program",
      root / "missing/program",       root / "dangling",
      root / "real/dir",              root / "real/dir/up/program",
      root / "link",                  root / "real/sub/program/inside"};
  const std::unique_ptr<IPathProbe> probe = createDiskPathProbe();
  for (int round = 0; round < 2; ++round) {
    for (const fs::path& path : paths) {
      SCOPED_TRACE(path.string() + (round == 0 ? " (first)" : " (again)"));
      EXPECT_EQ(probe->LinkTarget(path), platform::linkResolvedPath(path));
      EXPECT_EQ(probe->Kind(path), statKind(path));
      // A fresh probe, asked this path first, agrees too.
      EXPECT_EQ(createDiskPathProbe()->LinkTarget(path), platform::linkResolvedPath(path));
    }
  }
}

}  // namespace
}  // namespace ostrel::manifestcheck
