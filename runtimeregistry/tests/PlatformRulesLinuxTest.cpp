// The registry reader's Linux rules: which folders are temporary, and where
// Flatpak Steam keeps its path registry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PlatformRules.h"
#include "ostrel/testing/MemoryRegistry.h"

namespace ostrel::runtimeregistry {
namespace {

TEST(UnderTemporaryFolder, KnowsTheSystemsFoldersAndTmpdir) {
  const std::vector<const char*>& names = temporaryFolderVariables();
  EXPECT_EQ(std::vector<std::string>(names.begin(), names.end()),
            std::vector<std::string>{"TMPDIR"});
  const std::vector<std::string> tmpdir = {"/home/me/scratch/"};
  struct Case {
    const char* path;
    bool temporary;
  } cases[] = {
      {"/tmp/Ostrel/app.vrmanifest", true},
      {"/tmp/app.vrmanifest", true},
      {"/var/tmp/x/app.vrmanifest", true},
      {"/home/me/scratch/app.vrmanifest", true},
      {"/home/me/x/../scratch/app.vrmanifest", true},
      {"/tmp2/app.vrmanifest", false},
      {"/TMP/app.vrmanifest", false},                 // names are case-sensitive
      {"/home/me/tmp/app.vrmanifest", false},         // a folder of the user's own
      {"/home/me/Temp/app.vrmanifest", false},
      {"/home/me/scratchpad/app.vrmanifest", false},
      {"/opt/ostrel/app.vrmanifest", false},
      {"C:\\Users\\Me\\AppData\\Local\\Temp\\x.vrmanifest", false},  // not a path here
  };
  for (const Case& c : cases) {
    EXPECT_EQ(underTemporaryFolder(c.path, tmpdir), c.temporary) << c.path;
  }
  EXPECT_FALSE(underTemporaryFolder("/home/me/scratch/a", {""}));
  EXPECT_FALSE(underTemporaryFolder("/tmp", {})) << "not inside itself";
}

TEST(PlatformRules, FlatpakSteamsPathRegistryIsUnderHome) {
  ostrel::testing::MemoryRegistry memory;
  EXPECT_EQ(sandboxedPathRegistry(memory), std::nullopt);
  memory.variables["HOME"] = "";
  EXPECT_EQ(sandboxedPathRegistry(memory), std::nullopt);
  memory.variables["HOME"] = "/home/me";
  EXPECT_EQ(sandboxedPathRegistry(memory),
            "/home/me/.var/app/com.valvesoftware.Steam/.config/openvr/openvrpaths.vrpath");
  EXPECT_TRUE(configlessRegistryIsAnotherRuntimes());
  const std::string advice = missingPathRegistryAdvice();
  EXPECT_EQ(advice.find("Windows"), std::string::npos) << advice;
  EXPECT_NE(advice.find("sudo"), std::string::npos) << advice;
}

}  // namespace
}  // namespace ostrel::runtimeregistry
