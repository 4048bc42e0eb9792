// The one comparison of runtime paths, and the temporary-folder rule.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WindowsPathRules.h"
#include "ostrel/steamvr/RuntimeRegistry.h"

namespace ostrel::steamvr {
namespace {

struct PathPair {
  const char* a;
  const char* b;
  bool same;
};

TEST(SameRuntimePath, FollowsWindowsRules) {
  const PathPair cases[] = {
      {"C:\\Games\\Ostrel\\app.vrmanifest", "c:\\games\\ostrel\\APP.VRMANIFEST", true},
      {"C:\\Games\\Ostrel\\app.vrmanifest", "C:/Games/Ostrel/app.vrmanifest", true},
      {"C:\\Games\\\\Ostrel\\app.vrmanifest", "C:\\Games\\Ostrel\\app.vrmanifest", true},
      {"C:\\Games\\Ostrel\\", "C:\\Games\\Ostrel", true},
      {"\\\\server\\share\\a", "//SERVER/share/a", true},
      {"C:\\", "c:/", true},
      {"C:\\Games\\Ostrel\\app.vrmanifest", "D:\\Games\\Ostrel\\app.vrmanifest", false},
      {"C:\\Games\\Ostrel\\app.vrmanifest", "C:\\Games\\Ostrel2\\app.vrmanifest", false},
      // Only ASCII letters fold: Windows' own table is wider, but a false
      // "different" is the safe side for a tool that removes entries.
      {"C:\\Jos\xC3\xA9\\a", "C:\\JOS\xC3\x89\\a", false},
      {"\\\\server\\share", "\\server\\share", false},
  };
  for (const PathPair& pair : cases) {
    EXPECT_EQ(sameRuntimePath(pair.a, pair.b), pair.same) << pair.a << " vs " << pair.b;
    EXPECT_EQ(sameRuntimePath(pair.b, pair.a), pair.same) << pair.b << " vs " << pair.a;
  }
}

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
}

}  // namespace
}  // namespace ostrel::steamvr
