// Where the POSIX side looks for the per-user config folder.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "ostrel/testing/ScopedVariable.h"
#include "platform/Platform.h"

namespace ostrel::platform {
namespace {

using ostrel::testing::ScopedVariable;

TEST(UserRuntimeConfigFolder, FollowsTheLoadersReadingOfXdg) {
  struct Case {
    std::optional<std::string> xdg;
    std::optional<std::string> home;
    std::string expected;  // empty: no folder
  } cases[] = {
      {"/xdg/config", "/home/me", "/xdg/config"},
      {"relative/config", "/home/me", "relative/config"},  // as the loader takes it
      {"/home/me/.config/", "/home/me", "/home/me/.config/"},
      {"", "/home/me", "/home/me/.config"},
      {std::nullopt, "/home/me", "/home/me/.config"},
      {std::nullopt, std::nullopt, ""},
      {std::nullopt, "", ""},
  };
  for (const Case& c : cases) {
    ScopedVariable xdg("XDG_CONFIG_HOME", c.xdg);
    ScopedVariable home("HOME", c.home);
    const outcome::Outcome<std::filesystem::path> folder = userRuntimeConfigFolder();
    EXPECT_EQ(folder.ok(), !c.expected.empty()) << c.xdg.value_or("(unset)");
    EXPECT_EQ(folder.valueOr({}).string(), c.expected) << c.xdg.value_or("(unset)");
    if (!folder) {
      EXPECT_NE(folder.failure().message, "");
    }
  }
}

TEST(EnvironmentVariable, TellsUnsetFromEmptyAndKeepsBytes) {
  ScopedVariable unset("OSTREL_TEST_VARIABLE", std::nullopt);
  EXPECT_FALSE(environmentVariable("OSTREL_TEST_VARIABLE"));
  ScopedVariable empty("OSTREL_TEST_VARIABLE", std::string());
  EXPECT_EQ(environmentVariable("OSTREL_TEST_VARIABLE"), std::string());
  ScopedVariable utf8("OSTREL_TEST_VARIABLE", std::string("/Jos\xC3\xA9/\xE5\xBA\x94"));
  EXPECT_EQ(environmentVariable("OSTREL_TEST_VARIABLE"), std::string("/Jos\xC3\xA9/\xE5\xBA\x94"));
}

}  // namespace
}  // namespace ostrel::platform
