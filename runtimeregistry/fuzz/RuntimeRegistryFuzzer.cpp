// libFuzzer entry for the registry reader, the active runtime's judgement
// and the doctor, which reads the same files. The input holds every file the runtime's registry is made of,
// cut apart at each "\n%%\n":
//
//   settings        its first byte picks the environment (see Flag)
//   openvrpaths.vrpath
//   appconfig.json
//   <key>.vrappconfig
//   manifest 1..3   what a listed manifest holds
//
// A part the input does not reach is a missing file. Each file is served
// wherever the reader looks for it, so a fuzzed config folder still finds
// appconfig.json; a listed manifest gets one of the three manifests, or is
// missing or unreadable, by its path's length, so the same input always
// reads the same. The vrappconfig folder holds the key's settings and an
// orphan's, both <key>.vrappconfig's content; a program a manifest names
// exists, is missing or is a folder, by its path's length.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "RuntimeServer.h"
#include "ostrel/doctor/Doctor.h"
#include "ostrel/doctor/DoctorForms.h"
#include "ostrel/manifestcheck/ManifestSurvey.h"
#include "ostrel/runtimeregistry/ActiveRuntime.h"
#include "ostrel/runtimeregistry/RuntimeRegistry.h"
#include "ostrel/text/HostPath.h"
#include "ostrel/text/Utf8.h"
#include "ostrel/text/WindowsPath.h"
#include "platform/Platform.h"

namespace {

using namespace ostrel::runtimeregistry;
using namespace ostrel::manifestcheck;

constexpr std::string_view kSeparator = "\n%%\n";
constexpr std::size_t kManifestParts = 3;

const std::string kKey = "vantorell.ostrel";
const std::string kManifest = "C:\\Games\\Ostrel\\app.vrmanifest";
const std::string kUserFolder = "C:\\Users\\Me\\AppData\\Local";
const std::string kMovedVrpath = "D:\\Portable\\paths.vrpath";
const std::string kOverrideRuntime = "C:\\Tools\\OpenComposite";

enum Flag : unsigned {
  kRuntimeOverride = 1U << 0,  // VR_OVERRIDE names kOverrideRuntime
  kPathOverrides = 1U << 1,    // VR_CONFIG_PATH and VR_LOG_PATH are set
  kNoUserFolder = 1U << 2,     // the per-user folder is unknown
  kMovedRegistry = 1U << 3,    // VR_PATHREG_OVERRIDE names kMovedVrpath
  kManifestNamed = 1U << 4,    // the query names kManifest
  kServerPresent = 1U << 5,    // every runtime folder holds the server
  kTemporaryGames = 1U << 6,   // TEMP is C:\Games, where kManifest lies
  kEmptyOverride = 1U << 7,    // VR_OVERRIDE is set but empty
};

constexpr std::size_t kPieces = 4 + kManifestParts;

struct Parts {
  unsigned flags = 0;
  std::optional<std::string_view> vrpath;
  std::optional<std::string_view> appConfig;
  std::optional<std::string_view> appSettings;
  std::array<std::optional<std::string_view>, kManifestParts> manifests;
};

// The last part keeps whatever follows it, separators included.
Parts split(std::string_view input) {
  std::array<std::optional<std::string_view>, kPieces> pieces;
  for (std::size_t i = 0; i < kPieces; ++i) {
    const std::size_t end = i + 1 == kPieces ? std::string_view::npos : input.find(kSeparator);
    pieces[i] = input.substr(0, end);
    if (end == std::string_view::npos) break;
    input.remove_prefix(end + kSeparator.size());
  }
  Parts parts;
  if (!pieces[0]->empty()) parts.flags = static_cast<unsigned char>(pieces[0]->front());
  parts.vrpath = pieces[1];
  parts.appConfig = pieces[2];
  parts.appSettings = pieces[3];
  for (std::size_t i = 0; i < kManifestParts; ++i) parts.manifests[i] = pieces[4 + i];
  return parts;
}

bool endsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

class FuzzedRegistry final : public IRegistryEnvironment, public IRegistryFiles {
 public:
  explicit FuzzedRegistry(const Parts& parts) : parts_(parts) {
    if (has(kRuntimeOverride)) variables_["VR_OVERRIDE"] = kOverrideRuntime;
    if (has(kEmptyOverride)) variables_["VR_OVERRIDE"] = "";
    if (has(kPathOverrides)) {
      variables_["VR_CONFIG_PATH"] = "C:\\Steam\\config";
      variables_["VR_LOG_PATH"] = "C:\\Steam\\logs";
    }
    if (has(kMovedRegistry)) variables_["VR_PATHREG_OVERRIDE"] = kMovedVrpath;
    if (has(kTemporaryGames)) variables_["TEMP"] = "C:\\Games";
  }

  bool has(unsigned flag) const { return (parts_.flags & flag) != 0; }

  std::optional<std::string> Variable(const char* name) override {
    const auto found = variables_.find(name);
    if (found == variables_.end()) return std::nullopt;
    return found->second;
  }

  ostrel::outcome::Outcome<std::filesystem::path> UserConfigFolder() override {
    if (has(kNoUserFolder)) return ostrel::outcome::Failure{"", "no user folder in this run", ""};
    return ostrel::platform::pathFromUtf8(kUserFolder);
  }

  FileRead Read(const std::filesystem::path& path, std::size_t limit) override {
    const std::string name =
        ostrel::text::comparableWindowsPath(ostrel::platform::pathToUtf8(path));
    if (!firstRead_) firstRead_ = name;
    FileRead read = serve(name);
    if (read.content.size() > limit + 1) read.content.resize(limit + 1);
    return read;
  }

  std::optional<std::vector<std::string>> FileNames(const std::filesystem::path& folder,
                                                    std::size_t limit) override {
    if (!parts_.appSettings || !endsWith(ostrel::platform::pathToUtf8(folder), "vrappconfig")) {
      return std::nullopt;
    }
    std::vector<std::string> names = {kKey + ".vrappconfig", "orphan.app.vrappconfig"};
    if (names.size() > limit) names.resize(limit);
    return names;
  }

  // The first file the reader asked for, by comparable name.
  const std::optional<std::string>& firstRead() const { return firstRead_; }

 private:
  FileRead serve(const std::string& name) const {
    const auto file = [](std::optional<std::string_view> content) {
      if (!content) return FileRead{};
      return FileRead{FileRead::Status::Read, std::string(*content), {}};
    };
    const std::string vrpath = ostrel::text::comparableWindowsPath(
        has(kMovedRegistry) ? kMovedVrpath : kUserFolder + "\\openvr\\openvrpaths.vrpath");
    if (name == vrpath) return file(parts_.vrpath);
    if (endsWith(name, "\\appconfig.json")) return file(parts_.appConfig);
    if (endsWith(name, ".vrappconfig")) return file(parts_.appSettings);
    if (endsWith(name, ostrel::text::comparableWindowsPath(
                           std::string("\\") + ostrel::runtimeregistry::runtimeServerFile()))) {
      return has(kServerPresent) ? file("") : FileRead{};
    }
    const std::size_t pick = name.size() % (kManifestParts + 2);
    if (pick < kManifestParts) return file(parts_.manifests[pick]);
    if (pick == kManifestParts) return {};
    return {FileRead::Status::Unreadable, {}, "denied in this run"};
  }

  const Parts& parts_;
  std::map<std::string, std::string> variables_;
  std::optional<std::string> firstRead_;
};

// A program named by a manifest: there, missing or a folder, by its path's
// length; never a link.
class FuzzedPrograms final : public IPathProbe {
 public:
  PathKind Kind(const std::filesystem::path& path) override {
    switch (ostrel::platform::pathToUtf8(path).size() % 3) {
      case 0:
        return PathKind::RegularFile;
      case 1:
        return PathKind::Missing;
      default:
        return PathKind::Directory;
    }
  }
  std::optional<std::filesystem::path> LinkTarget(const std::filesystem::path&) override {
    return std::nullopt;
  }
};

[[noreturn]] void fail() { std::abort(); }
void require(bool condition) {
  if (!condition) fail();
}

// The codes the reader gives at most once per read.
const std::set<std::string> kOnceCodes = {"vrpath-missing",
                                          "vrpath-unreadable",
                                          "vrpath-no-config",
                                          "vrpath-other-runtime",
                                          "appconfig-missing",
                                          "appconfig-unreadable",
                                          "vrappconfig-unreadable",
                                          "registered-manifest-unreadable",
                                          "not-registered",
                                          "auto-launch-off"};
// And those that name listed manifests, one finding each (gone ones
// summed up after eight).
const std::set<std::string> kPerManifestCodes = {"registered-manifest-missing",
                                                 "stale-registration", "temporary-location"};

// One line of valid UTF-8 of bounded length: text from the files is escaped
// and shortened, never copied whole.
void requireOneLine(const std::string& text) {
  require(!text.empty());
  require(text.size() <= 4096);
  require(ostrel::text::isValidUtf8(text));
  for (char c : text) require(static_cast<unsigned char>(c) >= 0x20);
}

void requireWellFormed(const RegistryFinding& finding) {
  require(finding.severity == FindingSeverity::Error ||
          finding.severity == FindingSeverity::Warning);
  require(!finding.code.empty());
  requireOneLine(finding.message);
}

bool hasCode(const RuntimeRegistry& registry, const std::string& code) {
  return std::any_of(registry.findings.begin(), registry.findings.end(),
                     [&](const RegistryFinding& f) { return f.code == code; });
}

void checkRegistry(const RuntimeRegistry& registry, const FuzzedRegistry& environment) {
  std::map<std::string, std::size_t> counts;
  std::size_t goneWarnings = 0;
  for (const RegistryFinding& finding : registry.findings) {
    requireWellFormed(finding);
    require(kOnceCodes.count(finding.code) + kPerManifestCodes.count(finding.code) == 1);
    ++counts[finding.code];
    if (finding.code == "registered-manifest-missing" &&
        finding.severity == FindingSeverity::Warning) {
      ++goneWarnings;
    }
  }
  for (const std::string& code : kOnceCodes) require(counts[code] <= 1);
  require(goneWarnings <= 9);
  require(registry.manifests.size() <= kMaxListedManifests);

  require(registry.known() == registry.appConfigRead);
  if (!registry.known()) {
    require(registry.manifests.empty());
    require(!registry.serving);
    require(!hasCode(registry, "not-registered") && !hasCode(registry, "stale-registration"));
  }
  if (registry.registryFileRead) require(!registry.registryFile.empty());
  if (registry.configFolder) require(!registry.configFolder->empty());
  if (registry.runtimeFolder) require(!registry.runtimeFolder->empty());
  if (registry.autoLaunch) require(registry.configFolder.has_value());
  require(registry.manifestNamed == environment.has(kManifestNamed));

  for (const ListedManifest& listed : registry.manifests) {
    if (listed.readable) require(listed.exists);
    if (!listed.readable) require(listed.appKeys.empty());
    const bool declares =
        std::find(listed.appKeys.begin(), listed.appKeys.end(), kKey) != listed.appKeys.end();
    require(listed.declaresKey == declares);
  }

  // The runtime serves the key from the first listed manifest declaring it.
  if (registry.serving) {
    require(*registry.serving < registry.manifests.size());
    require(registry.manifests[*registry.serving].declaresKey);
    for (std::size_t i = 0; i < *registry.serving; ++i) {
      require(!registry.manifests[i].declaresKey);
    }
  } else {
    for (const ListedManifest& listed : registry.manifests) require(!listed.declaresKey);
  }
  if (registry.known()) require(hasCode(registry, "not-registered") == !registry.serving);

  std::size_t previous = 0;
  bool first = true;
  for (std::size_t index : registry.otherDeclaring()) {
    require(index < registry.manifests.size());
    require(first || index > previous);
    const ListedManifest& listed = registry.manifests[index];
    require(listed.declaresKey);
    if (registry.manifestNamed) {
      require(!listed.thisManifest);
    } else {
      require(registry.serving && index != *registry.serving);
    }
    previous = index;
    first = false;
  }
  require(counts["stale-registration"] == registry.otherDeclaring().size());
}

void checkActiveRuntime(const ActiveRuntime& runtime, const RuntimeRegistry& registry,
                        const FuzzedRegistry& environment) {
  require(runtime.name.empty() || runtime.name == "OpenComposite" || runtime.name == "xrizer");
  if (!runtime.folder) {
    require(!runtime.steamVR && runtime.name.empty());
  } else {
    require(!runtime.folder->empty());
    // Where the loader would run anything at all, the two readers of the
    // path registry agree on the runtime.
    require(runtime.folder == registry.runtimeFolder);
    if (runtime.folder->find('\0') == std::string::npos) {
      require(runtime.steamVR == environment.has(kServerPresent));
    }
  }
  if (registry.registryFileRead) require(runtime.folder == registry.runtimeFolder);

  const std::string reason = notSteamVRReason(runtime);
  requireOneLine(reason);
  require(reason.rfind("the active OpenVR runtime is not SteamVR: ", 0) == 0);
  require(endsWith(reason, "at its next start"));
  const RegistryFinding finding = runtimeNotSteamVRFinding(runtime);
  requireWellFormed(finding);
  require(finding.code == kRuntimeNotSteamVRCode);
  require(finding.severity == FindingSeverity::Error);
}

std::size_t wellFormedErrors(const std::vector<RegistryFinding>& findings) {
  std::size_t errors = 0;
  for (const RegistryFinding& finding : findings) {
    requireWellFormed(finding);
    if (finding.severity == FindingSeverity::Error) ++errors;
  }
  return errors;
}

// The doctor reads the same files as the reader; where both judge, they
// agree, and every count and form it gives follows from its report.
void checkDoctor(const ostrel::doctor::DoctorResult& result, const RuntimeRegistry& registry) {
  using namespace ostrel::doctor;
  const DoctorReport& report = result.report;
  require(report.listRead == registry.known());
  require(report.registryFile == registry.registryFile);
  require(report.configFolder == registry.configFolder);
  require(report.manifests.size() == registry.manifests.size());
  std::size_t errors = wellFormedErrors(report.findings);
  std::set<std::string> served;
  std::optional<std::size_t> servedKey;
  bool capped = false;
  for (std::size_t i = 0; i < report.manifests.size(); ++i) {
    const DoctorManifest& manifest = report.manifests[i];
    require(manifest.path == registry.manifests[i].path);
    require(!manifest.removed);
    errors += wellFormedErrors(manifest.findings);
    if (manifest.state != EntryState::Read) require(manifest.applications.empty());
    if (manifest.state == EntryState::Repeated) {
      require(manifest.repeats && *manifest.repeats < i);
      require(report.manifests[*manifest.repeats].state != EntryState::Repeated);
    } else {
      require(!manifest.repeats);
    }
    if (manifest.state == EntryState::Missing) {
      require(!manifest.findings.empty() && manifest.findings[0].code == "file-missing");
    }
    // Both read a listed file by the same rules.
    if (manifest.state == EntryState::Read || manifest.state == EntryState::Refused) {
      require(registry.manifests[i].exists);
      require(registry.manifests[i].readable == (manifest.state == EntryState::Read));
    }
    require(manifest.applications.size() <= kMaxSurveyedApplications);
    if (manifest.applications.size() == kMaxSurveyedApplications) capped = true;
    for (const DoctorApplication& application : manifest.applications) {
      errors += wellFormedErrors(application.findings);
      require(application.findings.size() <= kMaxFindings + 1);
      if (!application.served) continue;
      require(served.insert(application.appKey).second);  // one served copy per key
      if (application.appKey == kKey) servedKey = i;
    }
  }
  for (const ostrel::doctor::AutoLaunchSetting& setting : report.settings) {
    errors += wellFormedErrors(setting.findings);
    require(setting.declared == (served.count(setting.appKey) != 0));
  }
  // The runtime serves the key from the same listed manifest for both.
  if (registry.known() && !capped) require(servedKey == registry.serving);

  const DoctorSummary summary = summarize(result);
  require(summary.errors == errors);
  require(summary.served == served.size());
  if (!report.listRead) {
    require(result.state == DoctorState::Unavailable);
  } else {
    require(result.state ==
            (errors > 0 ? DoctorState::ProblemsFound : DoctorState::Healthy));
  }

  const nlohmann::json parsed = nlohmann::json::parse(doctorJson(result));
  require(parsed["exit_status"] == static_cast<int>(result.state));
  require(parsed["manifests"].size() == report.manifests.size());
  const std::string text = doctorText(result);
  require(ostrel::text::isValidUtf8(text));
  require(!text.empty() && text.back() == '\n');
  require(text.rfind("\ndoctor: ") != std::string::npos);
}

// A dry run of the removal plans every dead entry once and reaches for no
// runtime.
class NoRuntime final : public ostrel::registration::IRuntimeConnector {
 public:
  ostrel::registration::Connection Connect(const std::string&) override { fail(); }
};

void checkDeadEntryPlan(const ostrel::doctor::DoctorResult& result) {
  std::set<std::string> planned;
  for (const std::string& path : result.removal.planned) {
    // One per file by the rules of the system built for, as the runtime
    // drops every entry of a path it is asked to remove.
    require(planned.insert(ostrel::text::comparablePath(path)).second);
    bool dead = false;
    for (const ostrel::doctor::DoctorManifest& manifest : result.report.manifests) {
      if (manifest.path == path && manifest.state == ostrel::doctor::EntryState::Missing) {
        dead = true;
      }
    }
    require(dead);
  }
  require(result.removal.attempts.empty() && !result.removal.runtimeAsked);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Parts parts = split(std::string_view(reinterpret_cast<const char*>(data), size));
  FuzzedRegistry environment(parts);
  RegistryQuery query{kKey, std::nullopt};
  if (environment.has(kManifestNamed)) query.manifestPath = kManifest;

  const RuntimeRegistry registry = readRuntimeRegistry(query, environment, environment);
  checkRegistry(registry, environment);
  // The path registry is looked for first, and only where the loader looks.
  if (environment.has(kMovedRegistry)) {
    require(environment.firstRead() == ostrel::text::comparableWindowsPath(kMovedVrpath));
  } else if (!environment.has(kNoUserFolder)) {
    require(environment.firstRead() ==
            ostrel::text::comparableWindowsPath(kUserFolder + "\\openvr\\openvrpaths.vrpath"));
  }

  const ActiveRuntime runtime = resolveActiveRuntime(environment, environment);
  checkActiveRuntime(runtime, registry, environment);

  FuzzedPrograms programs;
  NoRuntime noRuntime;
  const ostrel::doctor::DoctorResult doctor =
      ostrel::doctor::runDoctor({true, true, ""}, noRuntime, {&environment, &environment, &programs});
  checkDoctor(doctor, registry);
  checkDeadEntryPlan(doctor);
  return 0;
}
