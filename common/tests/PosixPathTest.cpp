#include <gtest/gtest.h>

#include <string_view>

#include "ostrel/text/HostPath.h"
#include "ostrel/text/PosixPath.h"
#include "ostrel/text/WindowsPath.h"

namespace {

namespace ot = ostrel::text;

TEST(PosixPath, FullPathStartsWithSlash) {
  EXPECT_TRUE(ot::isPosixAbsolute("/home/me/app.vrmanifest"));
  EXPECT_TRUE(ot::isPosixAbsolute("/"));
  EXPECT_FALSE(ot::isPosixAbsolute(""));
  EXPECT_FALSE(ot::isPosixAbsolute("app.vrmanifest"));
  EXPECT_FALSE(ot::isPosixAbsolute("./app.vrmanifest"));
  EXPECT_FALSE(ot::isPosixAbsolute("~/app.vrmanifest"));
  EXPECT_FALSE(ot::isPosixAbsolute("C:\\Games\\app.vrmanifest"));
}

TEST(PosixPath, ComparableFormTable) {
  struct Case {
    std::string_view path;
    std::string_view comparable;
  };
  const Case cases[] = {
      {"/home/me/app", "/home/me/app"},
      {"/home//me///app/", "/home/me/app"},
      {"/home/./me/.", "/home/me"},
      {"/home/me/../you/app", "/home/you/app"},
      {"/../../etc", "/etc"},  // nothing is above the root
      {"/", "/"},
      {"//", "/"},
      {"a/../..", ".."},
      {"a/./b/", "a/b"},
      {".", "."},
      {"a/..", "."},
      {"", ""},
      {"/Home/Me", "/Home/Me"},              // case kept
      {"/a\\b/c", "/a\\b/c"},                // '\' is an ordinary byte
      {"/a/..b/.c", "/a/..b/.c"},            // only whole parts are special
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ot::comparablePosixPath(c.path), c.comparable) << c.path;
  }
}

TEST(PosixPath, SameIsByteExactAfterNormalising) {
  EXPECT_TRUE(ot::samePosixPath("/opt/app/../app/m.vrmanifest", "/opt/app/m.vrmanifest"));
  EXPECT_FALSE(ot::samePosixPath("/opt/App/m.vrmanifest", "/opt/app/m.vrmanifest"));
  EXPECT_FALSE(ot::samePosixPath("/opt/app/m.vrmanifest", "opt/app/m.vrmanifest"));
  EXPECT_FALSE(ot::samePosixPath("/opt\\app", "/opt/app"));
}

TEST(PosixPath, InsideFolder) {
  EXPECT_TRUE(ot::insidePosixFolder("/home/me/apps/x/m.vrmanifest", "/home/me/apps"));
  EXPECT_TRUE(ot::insidePosixFolder("/home/me/apps/m", "/home/me/apps/"));
  EXPECT_TRUE(ot::insidePosixFolder("/usr/bin/app", "/"));
  EXPECT_FALSE(ot::insidePosixFolder("/home/me/apps2/m", "/home/me/apps"));
  EXPECT_FALSE(ot::insidePosixFolder("/home/me/apps", "/home/me/apps"));
  EXPECT_FALSE(ot::insidePosixFolder("/home/me/apps/../m", "/home/me/apps"));
  EXPECT_FALSE(ot::insidePosixFolder("/home/me/Apps/m", "/home/me/apps"));
  EXPECT_FALSE(ot::insidePosixFolder("/home/me/apps/m", ""));
}

TEST(PosixPath, FolderOf) {
  EXPECT_EQ(ot::posixFolderOf("/home/me/m.vrmanifest"), "/home/me");
  EXPECT_EQ(ot::posixFolderOf("/m.vrmanifest"), "/");
  EXPECT_EQ(ot::posixFolderOf("m.vrmanifest"), "");
  EXPECT_EQ(ot::posixFolderOf("a\\b"), "");
}

// The build's choice: each platform's rules, and nothing of the other's.
TEST(HostPath, FollowsThePlatformBuiltFor) {
#ifdef _WIN32
  const bool windows = true;
#else
  const bool windows = false;
#endif
  EXPECT_EQ(ot::isFullPath("C:\\Games\\m.vrmanifest"), windows);
  EXPECT_EQ(ot::isFullPath("/home/me/m.vrmanifest"), !windows);
  EXPECT_EQ(ot::refusedSeparator(), windows ? '/' : '\\');
  EXPECT_EQ(ot::pathSeparator(), windows ? '\\' : '/');
  EXPECT_EQ(ot::samePath("/Opt/M", "/opt/m"), windows);
  EXPECT_EQ(ot::samePath("/opt/x/../m", "/opt/m"), !windows);
  EXPECT_EQ(ot::insideFolder("/opt/Ostrel/m", "/opt/ostrel"), windows);
  EXPECT_EQ(ot::folderOf("C:\\Games\\m.vrmanifest"), windows ? "C:\\Games" : "");
  EXPECT_EQ(ot::comparablePath("/opt//m/"), windows ? "\\opt\\m" : "/opt/m");
  EXPECT_TRUE(ot::isFullPath(ot::exampleManifestPath()));
  EXPECT_EQ(std::string_view(ot::exampleManifestPath()).find(ot::refusedSeparator()),
            std::string_view::npos);
}

}  // namespace
