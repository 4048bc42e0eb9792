// The doctor over the thirty real manifests, all listed at once: each
// application gets exactly what the manifest check finds with its key, and
// only the one manifest that is no JSON object is refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "DoctorTestSupport.h"
#include "ostrel/manifestcheck/ManifestCheck.h"
#include "ostrel/text/HostPath.h"
#include "platform/Platform.h"

#ifndef OSTREL_REAL_MANIFEST_FOLDER
#error "OSTREL_REAL_MANIFEST_FOLDER must name the folder of real manifests"
#endif

namespace ostrel::doctor::testing {
namespace {

namespace fs = std::filesystem;

struct RealFile {
  std::string name;
  std::string bytes;
};

std::vector<RealFile> realManifests() {
  std::vector<RealFile> files;
  std::error_code error;
  for (fs::directory_iterator it(fs::path(OSTREL_REAL_MANIFEST_FOLDER), error), end;
       !error && it != end; it.increment(error)) {
    if (it->path().extension() != ".vrmanifest") continue;
    std::ifstream in(it->path(), std::ios::binary);
    files.push_back({it->path().stem().string(), std::string(std::istreambuf_iterator<char>(in),
                                                             std::istreambuf_iterator<char>())});
  }
  std::sort(files.begin(), files.end(),
            [](const RealFile& a, const RealFile& b) { return a.name < b.name; });
  return files;
}

std::vector<std::string> sortedFindings(std::vector<Finding> findings) {
  std::vector<std::string> lines;
  for (const Finding& finding : findings) lines.push_back(manifestcheck::formatFinding(finding));
  std::sort(lines.begin(), lines.end());
  return lines;
}

class RealManifests : public DoctorTest {};

TEST_F(RealManifests, EachApplicationGetsWhatTheCheckFindsWithItsKey) {
  const std::vector<RealFile> files = realManifests();
  ASSERT_GE(files.size(), 30u) << "in " << OSTREL_REAL_MANIFEST_FOLDER;
  std::vector<std::string> paths;
  for (const RealFile& file : files) {
    paths.push_back(manifestPath(file.name));
    registry_.put(paths.back(), file.bytes);
  }
  list(paths);
  const DoctorReport report = examine();
  ASSERT_EQ(report.manifests.size(), files.size());
  std::size_t applications = 0;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const DoctorManifest& manifest = report.manifests[i];
    SCOPED_TRACE(files[i].name);
    if (files[i].name == "bDunph__ImmersAV__") {
      EXPECT_EQ(manifest.state, EntryState::Refused);
      EXPECT_EQ(codesOf(manifest.findings), std::vector<std::string>{"json-syntax"});
      continue;
    }
    EXPECT_EQ(manifest.state, EntryState::Read);
    EXPECT_FALSE(manifest.applications.empty());
    for (const DoctorApplication& application : manifest.applications) {
      ++applications;
      EXPECT_TRUE(application.served) << application.appKey << ": no key repeats in the set";
      BinaryProbe probe;
      const std::vector<Finding> checked = manifestcheck::checkManifestContent(
          files[i].bytes, {application.appKey,
                           platform::pathFromUtf8(text::folderOf(manifest.path)), &probe});
      std::vector<Finding> doctor = application.findings;
      doctor.insert(doctor.end(), manifest.findings.begin(), manifest.findings.end());
      EXPECT_EQ(sortedFindings(doctor), sortedFindings(checked)) << application.appKey;
    }
  }
  EXPECT_GE(applications, 30u);
}

}  // namespace
}  // namespace ostrel::doctor::testing
