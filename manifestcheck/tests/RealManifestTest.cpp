// The check over thirty manifests copied from public repositories, which it
// was not written against: a manifest that works on the system built for
// must not be called broken there. Their binaries are not shipped beside
// them, so binary-missing is the one error each may get. The folder comes from the build
// (OSTREL_REAL_MANIFEST_FOLDER); a missing or thinned-out folder fails the
// test rather than letting it pass on nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "ManifestCheckTestSupport.h"
#include "ostrel/manifestcheck/ManifestCheck.h"

#ifndef OSTREL_REAL_MANIFEST_FOLDER
#error "OSTREL_REAL_MANIFEST_FOLDER must name the folder of real manifests"
#endif

namespace ostrel::manifestcheck {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

constexpr std::size_t kRealManifestCount = 30;

struct RealManifest {
  fs::path file;
  std::string bytes;
  json parsed;  // discarded when the file is not JSON
};

std::vector<RealManifest> loadRealManifests() {
  std::vector<RealManifest> out;
  const fs::path folder(OSTREL_REAL_MANIFEST_FOLDER);
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (it->path().extension() != ".vrmanifest") continue;
    std::ifstream in(it->path(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    json parsed = json::parse(bytes, nullptr, /*allow_exceptions=*/false,
                              /*ignore_comments=*/true);
    out.push_back({it->path(), bytes, std::move(parsed)});
  }
  std::sort(out.begin(), out.end(),
            [](const RealManifest& a, const RealManifest& b) { return a.file < b.file; });
  return out;
}

// The application entries with a string app_key, by key.
std::map<std::string, json> applicationsByKey(const json& manifest) {
  std::map<std::string, json> out;
  if (!manifest.is_object() || !manifest.contains("applications")) return out;
  const json& applications = manifest["applications"];
  if (!applications.is_array()) return out;
  for (const json& application : applications) {
    if (application.is_object() && application.contains("app_key") &&
        application["app_key"].is_string()) {
      out.emplace(application["app_key"].get<std::string>(), application);
    }
  }
  return out;
}

std::string describe(const std::vector<ManifestFinding>& findings) {
  std::string out;
  for (const ManifestFinding& finding : findings) out += "\n  " + formatFinding(finding);
  return out;
}

std::vector<std::string> errorCodes(const std::vector<ManifestFinding>& findings) {
  std::vector<std::string> out;
  for (const ManifestFinding& finding : findings) {
    if (finding.severity == FindingSeverity::Error) out.push_back(finding.code);
  }
  return out;
}

// Files in the set that are not working manifests on the systems named, and
// the errors they deserve there. Nothing else may be here but the
// applications that name a program only for Windows, which on Linux are all
// alike (see kLinuxApplications).
struct KnownBroken {
  const char* file;
  const char* key;  // the key to judge it with ("" when it declares none)
  std::vector<std::string> errors;
  const char* why;
  std::vector<RuntimeSystem> systems;  // where it is broken; everywhere when empty
};

const KnownBroken kKnownBroken[] = {
    {"bDunph__ImmersAV__.vrmanifest",
     "",
     {"json-syntax"},
     "one line of a manifest, not a JSON object: it declares no application",
     {}},
    {"Mon-Ouie__mpris-openvr-overlay__manifest.vrmanifest",
     "org.mon-ouie.mpris-openvr-overlay",
     {"binary-path-missing"},
     "a Linux-only overlay: binary_path_linux and no binary_path_windows, so nothing to start on "
     "Windows",
     {RuntimeSystem::Windows}},
    {"galister__WlxOverlay__manifest.vrmanifest",
     "galister.wlxoverlay",
     {"binary-path-missing"},
     "a Linux overlay whose manifest names only WlxOverlay.exe; its author found that SteamVR on "
     "Linux never lists it",
     {RuntimeSystem::Linux, RuntimeSystem::LinuxArm}},
};

const KnownBroken* knownBrokenHere(const fs::path& file) {
  for (const KnownBroken& known : kKnownBroken) {
    const bool here = known.systems.empty() ||
                      std::count(known.systems.begin(), known.systems.end(), hostRuntimeSystem());
    if (here && file.filename() == known.file) return &known;
  }
  return nullptr;
}

// The applications of the set that SteamVR on Linux can start: those naming
// a program for it and the two opened through a URL. Every other names a
// program only for Windows and gets binary-path-missing there.
const std::set<std::string> kLinuxApplications = {
    "org.mon-ouie.mpris-openvr-overlay",     "openvr.component.vrcompositor",
    "openvr.component.vrdashboard",          "openvr.component.vrmonitor",
    "openvr.component.vrwebhelper",          "openvr.component.vrstartup",
    "openvr.tool.steamvr_room_setup",        "openvr.tool.steamvr_tutorial",
    "openvr.tool.steamvr_environments",      "openvr.tool.steamvr_environments_tools",
    "application.generated.unity.vrbro.exe", "steam.app.550"};

// On 64-bit ARM only SteamVR's own components name a program for it.
const std::set<std::string> kLinuxArmApplications = {
    "openvr.component.vrcompositor", "openvr.component.vrdashboard",
    "openvr.component.vrmonitor",    "openvr.component.vrwebhelper",
    "openvr.component.vrstartup",    "application.generated.unity.vrbro.exe",
    "steam.app.550"};

// The applications that work on the system built for; nullptr: all of them
// but the known broken.
const std::set<std::string>* applicationsHere() {
  if (hostRuntimeSystem() == RuntimeSystem::Windows) return nullptr;
  return hostRuntimeSystem() == RuntimeSystem::Linux ? &kLinuxApplications
                                                     : &kLinuxArmApplications;
}

TEST(RealManifests, TheFolderHoldsThemAll) {
  const fs::path folder(OSTREL_REAL_MANIFEST_FOLDER);
  ASSERT_TRUE(fs::is_directory(folder)) << folder << " is missing: the real manifests are part of "
                                        << "the test data (shared/vrmanifests beside the checkout)";
  EXPECT_GE(loadRealManifests().size(), kRealManifestCount) << "in " << folder;
}

TEST(RealManifests, NoWorkingManifestGetsAnErrorButTheMissingBinary) {
  const std::vector<RealManifest> manifests = loadRealManifests();
  ASSERT_GE(manifests.size(), kRealManifestCount) << "in " << OSTREL_REAL_MANIFEST_FOLDER;
  const std::set<std::string>* here = applicationsHere();
  std::set<std::string> working;
  std::size_t judged = 0;
  for (const RealManifest& manifest : manifests) {
    SCOPED_TRACE(manifest.file.filename().string());
    if (knownBrokenHere(manifest.file) != nullptr) continue;
    const std::map<std::string, json> applications = applicationsByKey(manifest.parsed);
    EXPECT_FALSE(applications.empty()) << "declares no app key";
    for (const auto& [key, application] : applications) {
      const auto findings = checkManifest({manifest.file, std::nullopt, key});
      std::vector<std::string> errors = errorCodes(findings);
      ++judged;
      if (here != nullptr && here->count(key) == 0) {
        EXPECT_EQ(errors, std::vector<std::string>{"binary-path-missing"})
            << key << ": names a program only for Windows" << describe(findings);
        continue;
      }
      working.insert(key);
      // The binaries are not shipped: the check must have looked for one.
      const bool namesBinary = application.contains(testing::binaryKeyFor(hostRuntimeSystem()));
      EXPECT_EQ(std::count(errors.begin(), errors.end(), "binary-missing"), namesBinary ? 1 : 0)
          << key << describe(findings);
      errors.erase(std::remove(errors.begin(), errors.end(), "binary-missing"), errors.end());
      EXPECT_TRUE(errors.empty()) << key << describe(findings);
    }
  }
  EXPECT_GE(judged, kRealManifestCount) << "applications judged";
  if (here != nullptr) {
    EXPECT_EQ(working, *here) << "the applications that work here";
  }
}

TEST(RealManifests, TheOnesThatCannotWorkHereSayWhy) {
  for (const KnownBroken& known : kKnownBroken) {
    SCOPED_TRACE(known.why);
    const fs::path file = fs::path(OSTREL_REAL_MANIFEST_FOLDER) / known.file;
    ASSERT_TRUE(fs::is_regular_file(file)) << file;
    if (knownBrokenHere(file) != &known) continue;
    const auto findings = checkManifest({file, std::nullopt, known.key});
    EXPECT_EQ(errorCodes(findings), known.errors) << describe(findings);
  }
}

TEST(RealManifests, OnlyALeadingSingleSeparatorIsDriveRooted) {
  // Relative paths with '/', "./" and "../" are common and correct; the one
  // manifest whose action_manifest_path starts with '\' gets the warning.
  // A Windows rule, judged as on Windows on every host.
  std::set<std::string> warned;
  for (const RealManifest& manifest : loadRealManifests()) {
    for (const auto& [key, application] : applicationsByKey(manifest.parsed)) {
      const ManifestContentContext windows{key, manifest.file.parent_path(), nullptr,
                                           RuntimeSystem::Windows};
      for (const ManifestFinding& finding : checkManifestContent(manifest.bytes, windows)) {
        if (finding.code != "path-drive-rooted") continue;
        EXPECT_EQ(finding.severity, FindingSeverity::Warning);
        EXPECT_NE(finding.message.find("action_manifest_path \"\\Bindings\\actions.json\""),
                  std::string::npos)
            << finding.message;
        warned.insert(manifest.file.filename().string());
      }
    }
  }
  EXPECT_EQ(warned, (std::set<std::string>{"iigomaru__iigo-overlay__manifest.vrmanifest"}));
}

}  // namespace
}  // namespace ostrel::manifestcheck
