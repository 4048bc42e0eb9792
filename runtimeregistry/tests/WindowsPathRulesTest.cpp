// Which folders the registry reader counts as temporary.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WindowsPathRules.h"

namespace ostrel::runtimeregistry {
namespace {

TEST(UnderTemporaryFolder, KnowsTheUsualPlacesAndTheEnvironments) {
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

}  // namespace
}  // namespace ostrel::runtimeregistry
