// Where the POSIX side looks for the per-user config folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/Platform.h"

namespace ostrel::platform {
namespace {

// Sets (or, for nullopt, unsets) a variable for one test and restores it.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, std::optional<std::string> value)
      : name_(name), previous_(environmentVariable(name)) {
    apply(value);
  }
  ~ScopedVariable() { apply(previous_); }

 private:
  void apply(const std::optional<std::string>& value) {
    if (value) {
      setenv(name_, value->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }
  const char* name_;
  std::optional<std::string> previous_;
};

// The OpenVR loader's reading, not the XDG specification's, which would
// ignore a relative value.
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
    std::string error = "left over";
    const std::filesystem::path folder = userRuntimeConfigFolder(error);
    EXPECT_EQ(folder.string(), c.expected) << c.xdg.value_or("(unset)");
    EXPECT_EQ(error.empty(), !c.expected.empty()) << error;
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
