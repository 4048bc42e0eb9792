// The doctor over the real file system: a listed FIFO is never opened (the
// run would block for ever on it), a gone file is a dead entry, a binary on
// disk is found.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <string>

#include "DoctorTestSupport.h"
#include "ostrel/testing/ScratchFolder.h"
#include "platform/Platform.h"

namespace ostrel::doctor::testing {
namespace {

TEST(DoctorOnDisk, AListedPipeIsNotRegularAndTheRestIsJudged) {
  const ostrel::testing::ScratchFolder folder;
  ASSERT_FALSE(folder.path().empty()) << folder.error();
  const std::string root = platform::pathToUtf8(folder.path());
  const std::string fifo = root + "/pipe.vrmanifest";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string good = platform::pathToUtf8(
      folder.write("opt/tool/app.vrmanifest", manifestText({{"tools.good", "Good"}})));
  folder.write("opt/tool/tool", "");
  folder.write("opt/tool/tool.exe", "");
  const std::string vrpath = platform::pathToUtf8(folder.write(
      "openvrpaths.vrpath", "{\"config\":[" + jsonString(root + "/config") + "],\"version\":1}"));
  folder.write("config/appconfig.json", "{\"manifest_paths\":[" + jsonString(fifo) + "," +
                                            jsonString(root + "/gone/app.vrmanifest") + "," +
                                            jsonString(good) + "]}");
  folder.write("config/vrappconfig/tools.good.vrappconfig", "{\"autolaunch\":true}");

  ostrel::testing::MemoryRegistry environment;
  environment.variables["VR_PATHREG_OVERRIDE"] = vrpath;
  const std::unique_ptr<runtimeregistry::IRegistryFiles> files = runtimeregistry::createDiskFiles();
  const std::unique_ptr<manifestcheck::IPathProbe> binaries = manifestcheck::createDiskPathProbe();
  const DoctorReport report = examineRegistry({&environment, files.get(), binaries.get()});
  ASSERT_TRUE(report.listRead);
  ASSERT_EQ(report.manifests.size(), 3u);
  EXPECT_EQ(codesOf(report.manifests[0].findings), std::vector<std::string>{"file-not-regular"});
  EXPECT_EQ(report.manifests[1].state, EntryState::Missing);
  ASSERT_EQ(report.manifests[2].applications.size(), 1u);
  const DoctorApplication& application = report.manifests[2].applications[0];
  EXPECT_TRUE(application.served);
  EXPECT_EQ(application.autoLaunch, true);
  // The scratch folder lies where Steam's container may hide it: warnings
  // about the place, never an error.
  for (const Finding& finding : application.findings) {
    EXPECT_EQ(finding.severity, manifestcheck::FindingSeverity::Warning)
        << manifestcheck::formatFinding(finding);
  }
}

}  // namespace
}  // namespace ostrel::doctor::testing
