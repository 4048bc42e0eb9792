// The registry reader's Windows rules: which folders are temporary.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PlatformRules.h"
#include "ostrel/testing/MemoryRegistry.h"

namespace ostrel::runtimeregistry {
namespace {

TEST(UnderTemporaryFolder, KnowsTheUsualPlacesAndTheEnvironments) {
  const std::vector<const char*>& names = temporaryFolderVariables();
  EXPECT_EQ(std::vector<std::string>(names.begin(), names.end()),
            (std::vector<std::string>{"TEMP", "TMP"}));
  const std::vector<std::string> temp = {"D:\\Scratch"};
  struct Case {
    const char* path;
    bool temporary;
  } cases[] = {
      {"C:\\Users\\Me\\AppData\\Local\\Temp\\Ostrel\\app.vrmanifest", true},
      {"c:/users/me/appdata/local/temp/x.vrmanifest", true},
      {"C:\\Windows\\Temp\\app.vrmanifest", true},
      {"d:\\scratch\\app.vrmanifest", true},
      {"D:\\Scratchpad\\app.vrmanifest", false},
      {"C:\\Program Files\\Ostrel\\app.vrmanifest", false},
      {"C:\\Users\\Me\\AppData\\Local\\Temporary\\app.vrmanifest", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(runtimeregistry::underTemporaryFolder(c.path, temp), c.temporary) << c.path;
  }
  EXPECT_FALSE(runtimeregistry::underTemporaryFolder("D:\\Scratch\\a", {""}));
  EXPECT_FALSE(runtimeregistry::underTemporaryFolder("D:\\Scratch", temp)) << "not inside itself";
}

// Nothing of Linux's: no sandboxed Steam to look for, and a path registry
// without config is SteamVR's with none named.
TEST(PlatformRules, WindowsHasNoSandboxedSteam) {
  ostrel::testing::MemoryRegistry memory;
  memory.variables["HOME"] = "C:\\Users\\Me";
  EXPECT_EQ(sandboxedPathRegistry(memory), std::nullopt);
  EXPECT_FALSE(configlessRegistryIsAnotherRuntimes());
  EXPECT_NE(std::string(missingPathRegistryAdvice()).find("Windows user"), std::string::npos);
}

}  // namespace
}  // namespace ostrel::runtimeregistry
