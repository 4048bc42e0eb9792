#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>

#include "StandardErrorRedirect.h"
#include "ostrel/common/ConsoleLogger.h"
#include "ostrel/testing/ScratchFolder.h"

namespace ostrel::bench {
namespace {

using ostrel::testing::ScratchFolder;

TEST(StandardErrorRedirect, EveryWriterFollowsDescriptorTwoUntilTheScopeEnds) {
  const ScratchFolder folder;
  ASSERT_FALSE(folder.path().empty()) << folder.error();
  const std::string file = (folder.path() / "follows").string();
  {
    const StandardErrorRedirect capture(file.c_str());
    ASSERT_TRUE(capture.ok()) << capture.error();
    std::cerr << "before\n";
    {
      const StandardErrorRedirect discard("/dev/null");
      ASSERT_TRUE(discard.ok()) << discard.error();
      std::cerr << "iostream hidden\n";
      std::fputs("stdio hidden\n", stderr);
      ASSERT_EQ(::write(2, "descriptor hidden\n", 18), 18);
      common::ConsoleLogger logger;
      logger.Log(common::LogLevel::Error, "logger hidden");
    }
    std::cerr << "after\n";
    std::fputs("stdio after\n", stderr);
  }
  EXPECT_EQ(folder.read("follows"), "before\nafter\nstdio after\n");
}

TEST(StandardErrorRedirect, FailureLeavesStandardErrorWhereItWas) {
  const ScratchFolder folder;
  ASSERT_FALSE(folder.path().empty()) << folder.error();
  const std::string file = (folder.path() / "failure").string();
  {
    const StandardErrorRedirect capture(file.c_str());
    ASSERT_TRUE(capture.ok()) << capture.error();
    {
      const StandardErrorRedirect broken("/nonexistent-ostrel-folder/out");
      EXPECT_FALSE(broken.ok());
      EXPECT_NE(broken.error().find("/nonexistent-ostrel-folder/out"), std::string::npos)
          << broken.error();
      std::cerr << "still captured\n";
    }
    std::cerr << "and after\n";
  }
  EXPECT_EQ(folder.read("failure"), "still captured\nand after\n");
}

}  // namespace
}  // namespace ostrel::bench
