// Reading a small file whole: the cap, and everything that is not a regular
// file answered at once without being opened.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "ostrel/testing/ScratchFolder.h"
#include "platform/Platform.h"

namespace ostrel::platform {
namespace {

using Status = BoundedFile::Status;

TEST(BoundedFile, ReadsASmallFileWholeAndCutsALargeOneAtTheLimitPlusOne) {
  const ostrel::testing::ScratchFolder folder;
  ASSERT_FALSE(folder.path().empty()) << folder.error();
  const std::string text = "{\"applications\":[]}\n";
  BoundedFile small = readBoundedFile(folder.write("small.json", text), 1024);
  EXPECT_EQ(small.status, Status::Read);
  EXPECT_EQ(small.content, text);

  // Larger than one piece read, so the pieces must join up.
  std::string large(40000, 'x');
  large[0] = 'a';
  large[39999] = 'z';
  const auto path = folder.write("large.json", large);
  EXPECT_EQ(readBoundedFile(path, 40000).content, large);  // exactly at the limit
  const BoundedFile over = readBoundedFile(path, 20000);
  EXPECT_EQ(over.status, Status::Read);
  EXPECT_EQ(over.content, large.substr(0, 20001));
  EXPECT_EQ(readBoundedFile(path, 0).content, "a");

  EXPECT_EQ(readBoundedFile(folder.write("empty.json", ""), 10).status, Status::Read);
}

TEST(BoundedFile, MissingAndFolderAreToldApart) {
  const ostrel::testing::ScratchFolder folder;
  ASSERT_FALSE(folder.path().empty()) << folder.error();
  EXPECT_EQ(readBoundedFile(folder.path() / "absent.json", 10).status, Status::Missing);
  const BoundedFile asFolder = readBoundedFile(folder.path(), 10);
  EXPECT_EQ(asFolder.status, Status::Folder);
  EXPECT_TRUE(asFolder.content.empty());
}

}  // namespace
}  // namespace ostrel::platform
