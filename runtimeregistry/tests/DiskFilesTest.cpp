// The real file reader: the cap, and what it refuses to open.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ostrel/runtimeregistry/RuntimeRegistry.h"
#include "ostrel/testing/ScratchFolder.h"

namespace ostrel::runtimeregistry {
namespace {

class DiskFiles : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(scratch_.path().empty()) << scratch_.error(); }

  const ostrel::testing::ScratchFolder scratch_{"ostrel-registry-disk-"};
  const std::filesystem::path& folder_ = scratch_.path();
  std::unique_ptr<IRegistryFiles> files_ = createDiskFiles();
};

TEST_F(DiskFiles, ReadsAtMostOneByteOverTheLimit) {
  scratch_.write("big.json", std::string(100, 'x'));
  const FileRead capped = files_->Read(folder_ / "big.json", 10);
  EXPECT_EQ(capped.status, FileRead::Status::Read);
  EXPECT_EQ(capped.content, std::string(11, 'x'));
  const FileRead whole = files_->Read(folder_ / "big.json", 1000);
  EXPECT_EQ(whole.content.size(), 100u);
}

TEST_F(DiskFiles, TellsMissingFromUnreadable) {
  EXPECT_EQ(files_->Read(folder_ / "absent.json", 10).status, FileRead::Status::Missing);
  const FileRead folder = files_->Read(folder_, 10);
  EXPECT_EQ(folder.status, FileRead::Status::Unreadable);
  EXPECT_NE(folder.reason.find("folder"), std::string::npos) << folder.reason;
}

// Two names of one file count as one, through a symbolic link too where
// the system lets the test make one.
TEST_F(DiskFiles, TellsTwoNamesOfOneFileFromTwoFiles) {
  const std::filesystem::path file = scratch_.write("Steam/app.vrmanifest", "{}");
  const std::filesystem::path copy = scratch_.write("Copy/app.vrmanifest", "{}");
  EXPECT_TRUE(files_->SameFile(file, folder_ / "Copy" / ".." / "Steam" / "app.vrmanifest"));
  EXPECT_FALSE(files_->SameFile(file, copy));
  EXPECT_FALSE(files_->SameFile(folder_ / "absent", folder_ / "absent"));
  std::error_code refused;
  std::filesystem::create_directory_symlink(folder_ / "Steam", folder_ / "steam", refused);
  if (!refused) {
    EXPECT_TRUE(files_->SameFile(folder_ / "steam" / "app.vrmanifest", file));
  }
}

}  // namespace
}  // namespace ostrel::runtimeregistry
