// The rules of SteamVR on Linux, on every host: they are text, the file
// system scripted. The real file system's side is LinuxDiskPosixTest.cpp.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LinuxPlaces.h"
#include "ManifestCheckTestSupport.h"
#include "ostrel/manifestcheck/ManifestCheck.h"

namespace ostrel::manifestcheck {
namespace {

using testing::codes;
using Codes = std::vector<std::string>;
constexpr RuntimeSystem kLinux = RuntimeSystem::Linux;

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(LinuxPlaces, WhatTheContainerShowsAndAnAppImagesMount) {
  constexpr ContainerView kShown = ContainerView::Shown;
  constexpr ContainerView kReplaced = ContainerView::Replaced;
  constexpr ContainerView kHidden = ContainerView::Hidden;
  const struct {
    const char* path;
    ContainerView view;
    const char* folder;
  } cases[] = {
      {"/home/me/ostrel/o", kShown, ""},
      {"/opt/ostrel/o", kShown, ""},
      {"/run/media/me/disk/o", kShown, ""},
      {"/nix/store/x-ostrel/o", kShown, ""},
      {"bin/ostrel", kShown, ""},
      {"/usr/bin/ostrel", kReplaced, "/usr"},
      {"/usr/local/bin/o", kReplaced, "/usr/local"},
      {"/lib64/ostrel/o", kReplaced, "/lib64"},
      {"//home/../sbin/./o", kReplaced, "/sbin"},
      {"/run/user/1000/o", kHidden, "/run"},
      {"/data/games/o", kHidden, "/data"},
      {"/o.vrmanifest", kHidden, "/"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(containerPlace(c.path).view, c.view) << c.path;
    EXPECT_EQ(containerPlace(c.path).folder, c.folder) << c.path;
  }
  EXPECT_EQ(appImageMount("/tmp/./.mount_O1a2/usr/bin/ostrel"), "/tmp/.mount_O1a2");
  EXPECT_EQ(appImageMount("/tmp/.mount_O1a2"), "") << "the mount itself is no file in it";
  EXPECT_EQ(appImageMount("/var/tmp/.mount_O1a2/o"), "");
}

TEST(LinuxRegistrarPath, FullPathStartsWithSlashBackSlashIsRefusedPlacesAreWarned) {
  const struct {
    const wchar_t* path;
    Codes codes;
  } cases[] = {
      {L"/opt/ostrel/ostrel.vrmanifest", {}},
      {L"~/ostrel.vrmanifest", {"path-relative"}},
      {L"C:\\Ostrel\\o.vrmanifest", {"path-relative", "path-backslash"}},
      {L"/usr/share/ostrel/o.vrmanifest", {"container-hidden"}},
      {L"/tmp/.mount_O1/o.vrmanifest", {"appimage-mount"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(codes(checkManifestPath(c.path, kLinux)), c.codes)
        << ::testing::PrintToString(c.path);
  }
  const auto slash = checkManifestPath(L"/opt/ostrel\\o.vrmanifest", kLinux);
  ASSERT_EQ(codes(slash), Codes{"path-backslash"});
  EXPECT_EQ(slash[0].message,
            "the manifest path \"/opt/ostrel\\o.vrmanifest\" contains '\\', which the runtime's "
            "loader on Linux reads as '/', so the runtime would open another file than this one: "
            "install the manifest under a path without '\\'");
  EXPECT_TRUE(contains(checkManifestPath(L"o.vrmanifest", kLinux)[0].message, "starting with '/'"));
  EXPECT_TRUE(contains(checkManifestPath(L"", kLinux)[0].message, "/opt/ostrel/ostrel.vrmanifest"));
  const auto usr = checkManifestPath(L"/usr/share/o.vrmanifest", kLinux);
  EXPECT_EQ(usr[0].message.rfind("the manifest path \"/usr/share/o.vrmanifest\" lies under /usr: "
                                 "the container SteamVR runs in on Linux (Steam Linux Runtime) "
                                 "replaces that folder with its own",
                                 0),
            0u)
      << usr[0].message;
  EXPECT_TRUE(contains(checkManifestPath(L"/tmp/.mount_O1/o", kLinux)[0].message, "$APPIMAGE"));
}

// validManifest() with its program named for Linux, checked as by SteamVR
// on Linux from /home/me/Ostrel.
class LinuxContentTest : public ::testing::Test {
 protected:
  LinuxContentTest() {
    app().erase("binary_path_windows");
    app()["binary_path_linux"] = "bin\\ostrel";
  }
  std::vector<ManifestFinding> check(RuntimeSystem system = kLinux) {
    return checkManifestContent(manifest_.dump(),
                                {testing::kKey, "/home/me/Ostrel", &probe_, system});
  }
  nlohmann::json& app() { return testing::firstApplication(manifest_); }

  nlohmann::json manifest_ = testing::validManifest();
  testing::FakePathProbe probe_;
};

TEST_F(LinuxContentTest, TheProgramForLinuxIsRequired) {
  EXPECT_EQ(codes(check()), Codes{});
  EXPECT_EQ(probe_.asked_, Codes{"/home/me/Ostrel/bin/ostrel"}) << "beside the manifest";
  const auto arm = check(RuntimeSystem::LinuxArm);
  ASSERT_EQ(codes(arm), Codes{"binary-path-missing"});
  EXPECT_TRUE(contains(arm[0].message,
                       "no binary_path_linux_arm (it names a program only for "
                       "other systems: \"binary_path_linux\")"));

  app().erase("binary_path_linux");
  app()["binary_path_windows"] = "bin\\ostrel.exe";
  const auto windowsOnly = check();
  ASSERT_EQ(codes(windowsOnly), Codes{"binary-path-missing"});
  EXPECT_EQ(windowsOnly[0].severity, FindingSeverity::Error);
  EXPECT_EQ(windowsOnly[0].message,
            "applications[0] has launch_type \"binary\" but no binary_path_linux (it names a "
            "program only for other systems: \"binary_path_windows\"), so SteamVR on Linux never "
            "lists it: add the path of the program, absolute or relative to the manifest's "
            "folder");
}

TEST_F(LinuxContentTest, ProgramPlacesAndLinksAreWarnings) {
  app()["binary_path_linux"] = "/usr/bin/ostrel";
  auto found = check();
  ASSERT_EQ(codes(found), Codes{"container-hidden"});
  EXPECT_EQ(found[0].severity, FindingSeverity::Warning);
  EXPECT_TRUE(contains(found[0].message, "point applications[0].binary_path_linux at it"));

  app()["binary_path_linux"] = "/tmp/.mount_O1/usr/bin/ostrel";
  EXPECT_EQ(codes(check()), Codes{"appimage-mount"});

  app()["binary_path_linux"] = "/opt/ostrel/ostrel";
  probe_.links_["/opt/ostrel/ostrel"] = "/opt/ostrel-1.2/ostrel";
  found = check();
  ASSERT_EQ(codes(found), Codes{"symbolic-link"});
  EXPECT_EQ(found[0].message.rfind("the program \"/opt/ostrel/ostrel\" goes through a symbolic "
                                   "link to \"/opt/ostrel-1.2/ostrel\"; ",
                                   0),
            0u)
      << found[0].message;
  // Inside the container the link would lead into the container's own /usr.
  probe_.links_["/opt/ostrel/ostrel"] = "/usr/lib/ostrel/ostrel";
  found = check();
  ASSERT_EQ(codes(found), (Codes{"symbolic-link", "container-hidden"}));
  EXPECT_TRUE(contains(found[1].message, "\"/usr/lib/ostrel/ostrel\", which lies under /usr:"));
}

TEST_F(LinuxContentTest, WindowsOnlyFindingsStaySilentAndLinuxKeysAreRead) {
  app()["arguments_linux"] = 5;
  EXPECT_EQ(codes(check()), Codes{"wrong-type"});
  app().erase("arguments_linux");

  app()["binary_path_linux"] = "/opt/WindowsApps/ostrel";
  app()["action_manifest_path"] = "\\Bindings\\actions.json";
  EXPECT_EQ(codes(check()), Codes{}) << "no windowsapps, no path-drive-rooted";

  app().erase("launch_type");
  const auto found = check();
  ASSERT_EQ(codes(found), Codes{"launch-type-missing"});
  EXPECT_TRUE(contains(found[0].message, "\"launch_type\": \"binary\" with binary_path_linux"));
}

}  // namespace
}  // namespace ostrel::manifestcheck
