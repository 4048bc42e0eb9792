#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>

#include "StandardErrorRedirect.h"
#include "TemporaryFile.h"
#include "ostrel/common/ConsoleLogger.h"

namespace ostrel::bench {
namespace {

using testing::TemporaryFile;

TEST(StandardErrorRedirect, EveryWriterFollowsDescriptorTwoUntilTheScopeEnds) {
  TemporaryFile file("follows");
  {
    const StandardErrorRedirect capture(file.path());
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
  EXPECT_EQ(file.text(), "before\nafter\nstdio after\n");
}

TEST(StandardErrorRedirect, FailureLeavesStandardErrorWhereItWas) {
  TemporaryFile file("failure");
  {
    const StandardErrorRedirect capture(file.path());
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
  EXPECT_EQ(file.text(), "still captured\nand after\n");
}

}  // namespace
}  // namespace ostrel::bench
