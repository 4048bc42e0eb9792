// A finding's severity is part of its contract: an error stops `register`,
// a warning does not. One row per finding code, each with an input that
// gives it, so that moving a code from one severity to the other breaks a
// test.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "ManifestCheckTestSupport.h"
#include "ostrel/manifestcheck/ManifestCheck.h"

namespace ostrel::manifestcheck {
namespace {

using nlohmann::json;
using testing::firstApplication;
using testing::kKey;
using testing::ScratchFolder;
using testing::validManifest;
using Findings = std::vector<ManifestFinding>;

struct SeverityCase {
  const char* code;
  FindingSeverity severity;
  std::function<Findings(const ScratchFolder&)> produce;
  // Set when some systems cannot be brought to give the finding from a test
  // (they read the input as something else); the row then asserts only
  // where the finding turns up.
  const char* unreachableOn = nullptr;
};

void PrintTo(const SeverityCase& c, std::ostream* out) { *out << c.code; }

// The content rows judge by the rules of SteamVR on Windows, which
// validManifest() is written for, on every host.
Findings content(const std::string& text, const std::string& key = kKey) {
  return checkManifestContent(text, {key, "C:/Apps/Ostrel", nullptr, RuntimeSystem::Windows});
}

// validManifest() with one edit, its binary missing when `missing`.
Findings edited(const std::function<void(json&)>& edit, bool missing = false) {
  json manifest = validManifest();
  edit(firstApplication(manifest));
  testing::FakePathProbe probe;
  if (missing) probe.fallback_ = PathKind::Missing;
  return checkManifestContent(manifest.dump(),
                              {kKey, "C:/Apps/Ostrel", &probe, RuntimeSystem::Windows});
}

Findings file(const std::filesystem::path& path) {
  return checkManifest({path, std::nullopt, kKey});
}

constexpr FindingSeverity kError = FindingSeverity::Error;
constexpr RuntimeSystem kLinux = RuntimeSystem::Linux;
constexpr FindingSeverity kWarning = FindingSeverity::Warning;

const SeverityCase kCases[] = {
    {"path-empty", kError, [](const ScratchFolder&) { return checkManifestPath(L""); }},
    {"path-nul", kError,
     [](const ScratchFolder&) { return checkManifestPath(std::wstring(L"C:\\a\0b", 6)); }},
    {"path-relative", kError,
     [](const ScratchFolder&) { return checkManifestPath(L"o.vrmanifest"); }},
    {"path-forward-slash", kError,
     [](const ScratchFolder&) {
       return checkManifestPath(L"C:/Ostrel/o.vrmanifest", RuntimeSystem::Windows);
     }},
    {"path-backslash", kError,
     [](const ScratchFolder&) { return checkManifestPath(L"/opt/o\\o.vrmanifest", kLinux); }},
    {"container-hidden", kWarning,
     [](const ScratchFolder&) { return checkManifestPath(L"/usr/share/o.vrmanifest", kLinux); }},
    {"appimage-mount", kWarning,
     [](const ScratchFolder&) { return checkManifestPath(L"/tmp/.mount_O1/o", kLinux); }},
    {"symbolic-link", kWarning,
     [](const ScratchFolder&) {
       testing::FakePathProbe probe;
       probe.links_["/opt/ostrel/bin/ostrel.exe"] = "/opt/ostrel-1.2/bin/ostrel.exe";
       json manifest = validManifest();
       firstApplication(manifest)["binary_path_linux"] = "bin/ostrel.exe";
       return checkManifestContent(manifest.dump(), {kKey, "/opt/ostrel", &probe, kLinux});
     }},
    {"non-ascii-path", kWarning,
     [](const ScratchFolder&) { return checkManifestPath(L"C:\\Ostr\u00e9l\\o.vrmanifest"); }},
    {"file-missing", kError, [](const ScratchFolder& s) { return file(s.path() / "absent"); }},
    {"file-not-regular", kError, [](const ScratchFolder& s) { return file(s.path()); }},
    // A name longer than POSIX file systems hold cannot even be examined.
    {"file-unreadable", kError,
     [](const ScratchFolder& s) { return file(s.path() / std::string(300, 'n')); },
     "Windows under Wine, which reads the name as missing (and the test runs as an "
     "administrator, whom permissions do not stop)"},
    {"file-too-large", kError,
     [](const ScratchFolder&) { return content(std::string(kManifestSizeLimit + 1, ' ')); }},
    {"empty", kError, [](const ScratchFolder&) { return content(" \n"); }},
    {"utf16", kError, [](const ScratchFolder&) { return content("\xFF\xFE{\0}\0"); }},
    {"bom", kError,
     [](const ScratchFolder&) { return content("\xEF\xBB\xBF" + validManifest().dump()); }},
    {"nul-byte", kError, [](const ScratchFolder&) { return content(std::string("{\0}", 3)); }},
    {"invalid-utf8", kError, [](const ScratchFolder&) { return content("{\"a\": \"\xC3\x28\"}"); }},
    {"too-deep", kError,
     [](const ScratchFolder&) { return content(std::string(kManifestDepthLimit + 1, '[')); }},
    {"json-syntax", kError,
     [](const ScratchFolder&) { return content("{\"applications\": [],}"); }},
    {"json-number", kError,
     [](const ScratchFolder&) { return content("{\"applications\": [1e999]}"); }},
    {"duplicate-key", kWarning,
     [](const ScratchFolder&) { return content("{\"applications\": [], \"applications\": []}"); }},
    {"not-object", kError, [](const ScratchFolder&) { return content("[]"); }},
    {"applications-missing", kError, [](const ScratchFolder&) { return content("{}"); }},
    {"app-key-missing", kError,
     [](const ScratchFolder&) { return content(validManifest().dump(), "other.app"); }},
    {"app-key-invalid", kError,
     [](const ScratchFolder&) {
       json manifest = validManifest();
       firstApplication(manifest)["app_key"] = "vantorell ostrel";
       return content(manifest.dump(), "vantorell ostrel");
     }},
    {"app-key-too-long", kError,
     [](const ScratchFolder&) {
       const std::string key(128, 'k');
       json manifest = validManifest();
       firstApplication(manifest)["app_key"] = key;
       return content(manifest.dump(), key);
     }},
    {"app-key-duplicate", kWarning,
     [](const ScratchFolder&) {
       json manifest = validManifest();
       manifest["applications"].push_back(firstApplication(manifest));
       return content(manifest.dump());
     }},
    {"wrong-type", kError,
     [](const ScratchFolder&) { return edited([](json& app) { app["url"] = 1; }); }},
    {"launch-type-missing", kWarning,
     [](const ScratchFolder&) { return edited([](json& app) { app.erase("launch_type"); }); }},
    {"launch-type-unknown", kError,
     [](const ScratchFolder&) { return edited([](json& app) { app["launch_type"] = "exe"; }); }},
    {"url-missing", kError,
     [](const ScratchFolder&) { return edited([](json& app) { app["launch_type"] = "url"; }); }},
    {"binary-path-missing", kError,
     [](const ScratchFolder&) {
       return edited([](json& app) { app.erase("binary_path_windows"); });
     }},
    {"binary-missing", kError,
     [](const ScratchFolder&) { return edited([](json&) {}, /*missing=*/true); }},
    {"windowsapps", kWarning,
     [](const ScratchFolder&) {
       return edited([](json& app) {
         app["binary_path_windows"] = "C:\\Program Files\\WindowsApps\\O_1.0\\o.exe";
       });
     }},
    {"path-drive-rooted", kWarning,
     [](const ScratchFolder&) {
       return edited([](json& app) { app["action_manifest_path"] = "\\Bindings\\actions.json"; });
     }},
    {"dashboard-overlay", kWarning,
     [](const ScratchFolder&) {
       return edited([](json& app) { app["is_dashboard_overlay"] = false; });
     }},
    {"no-name", kWarning,
     [](const ScratchFolder&) { return edited([](json& app) { app.erase("strings"); }); }},
    {"more-findings", kError,
     [](const ScratchFolder&) {
       json manifest = validManifest();
       for (int i = 0; i < 40; ++i) manifest["applications"].push_back(i);
       return content(manifest.dump());
     }},
};

class Severity : public ::testing::TestWithParam<SeverityCase> {};

TEST_P(Severity, IsPartOfTheCode) {
  const ScratchFolder scratch;
  const Findings findings = GetParam().produce(scratch);
  const auto it = std::find_if(findings.begin(), findings.end(),
                               [](const ManifestFinding& f) { return f.code == GetParam().code; });
  if (it == findings.end() && GetParam().unreachableOn != nullptr) {
    GTEST_SKIP() << "not reachable from a test on " << GetParam().unreachableOn << "; got "
                 << ::testing::PrintToString(testing::codes(findings));
  }
  ASSERT_NE(it, findings.end()) << ::testing::PrintToString(testing::codes(findings));
  EXPECT_EQ(it->severity, GetParam().severity) << formatFinding(*it);
  EXPECT_EQ(hasErrors({*it}), GetParam().severity == FindingSeverity::Error);
  EXPECT_EQ(it->message.find('\n'), std::string::npos) << "one line: " << it->message;
}

INSTANTIATE_TEST_SUITE_P(EveryCode, Severity, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<SeverityCase>& info) {
                           std::string name(info.param.code);
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

}  // namespace
}  // namespace ostrel::manifestcheck
