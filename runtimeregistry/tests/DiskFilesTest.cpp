// The real file reader: the cap, and what it refuses to open.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "ostrel/steamvr/RuntimeRegistry.h"

namespace ostrel::steamvr {
namespace {

class DiskFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("ostrel-registry-disk-" +
               std::to_string(::testing::UnitTest::GetInstance()->current_test_info()->line()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  std::filesystem::path folder_;
  std::unique_ptr<IRegistryFiles> files_ = createDiskFiles();
};

TEST_F(DiskFiles, ReadsAtMostOneByteOverTheLimit) {
  std::ofstream(folder_ / "big.json", std::ios::binary) << std::string(100, 'x');
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

}  // namespace
}  // namespace ostrel::steamvr
