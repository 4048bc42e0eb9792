// A named pipe with no writer would block whoever opens it for reading: it
// must be refused at once, unopened.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>

#include "ostrel/testing/ScratchFolder.h"
#include "platform/Platform.h"

namespace ostrel::platform {
namespace {

TEST(BoundedFilePosix, ANamedPipeIsRefusedAtOnce) {
  const ostrel::testing::ScratchFolder folder;
  ASSERT_FALSE(folder.path().empty()) << folder.error();
  const auto pipe = folder.path() / "app.vrmanifest";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(readBoundedFile(pipe, 1024).status, BoundedFile::Status::NotRegular);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
}

}  // namespace
}  // namespace ostrel::platform
