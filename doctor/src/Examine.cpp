// Reading the runtime's files and judging every listed manifest, every
// application and every auto-launch setting.
#include <algorithm>
#include <filesystem>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "ostrel/doctor/Doctor.h"
#include "ostrel/doctor/DoctorFindingCodes.h"
#include "ostrel/json/BoundedJson.h"
#include "ostrel/manifestcheck/FindingCodes.h"
#include "ostrel/manifestcheck/ManifestSurvey.h"
#include "ostrel/runtimeregistry/ActiveRuntime.h"
#include "ostrel/runtimeregistry/RegistryFindingCodes.h"
#include "ostrel/text/DisplayText.h"
#include "ostrel/text/HostPath.h"
#include "platform/Platform.h"

namespace ostrel::doctor {

namespace {

using manifestcheck::FindingSeverity;
using runtimeregistry::FileRead;

constexpr std::string_view kSettingsSuffix = ".vrappconfig";

// Text from the runtime's files in a message: escaped, shortened, quoted.
std::string shown(std::string_view text) {
  return text::quotedForDisplay(
      text, {text::DisplayStyle::Controls::Named, text::DisplayStyle::Limit::Characters, 260});
}

Finding error(const char* code, std::string message) {
  return {FindingSeverity::Error, code, std::move(message)};
}
Finding warning(const char* code, std::string message) {
  return {FindingSeverity::Warning, code, std::move(message)};
}

// Steam tells the runtime about the applications it installed itself
// (steam.app.<id>, steam.overlay.<id>); their settings have no entry in
// appconfig.json and are no leftovers.
bool servedBySteam(std::string_view key) { return key.rfind("steam.", 0) == 0; }

class Examination {
 public:
  explicit Examination(const DoctorSources& sources) : sources_(sources) {}

  DoctorReport run() && {
    runtimeregistry::ManifestList list =
        runtimeregistry::readManifestList(*sources_.environment, *sources_.files);
    report_.registryFile = std::move(list.registryFile);
    report_.registryFileRead = list.registryFileRead;
    report_.configFolder = std::move(list.configFolder);
    report_.listRead = list.read;
    report_.findings = std::move(list.findings);
    report_.unlisted = list.unlisted;
    judgeActiveRuntime();
    if (!report_.listRead) return std::move(report_);

    report_.manifests.reserve(list.entries.size());
    for (runtimeregistry::ListedEntry& entry : list.entries) examine(entry);
    judgeServing();
    readSettings();
    judgeSettings();
    return std::move(report_);
  }

 private:
  // The runtime the loader would start: registrations belong to SteamVR.
  void judgeActiveRuntime() {
    const runtimeregistry::ActiveRuntime active =
        runtimeregistry::resolveActiveRuntime(*sources_.environment, *sources_.files);
    if (active.folder && !active.steamVR) {
      report_.findings.push_back(runtimeregistry::runtimeNotSteamVRFinding(active));
    }
  }

  void examine(runtimeregistry::ListedEntry& entry) {
    DoctorManifest& manifest = report_.manifests.emplace_back();
    manifest.path = std::move(entry.path);
    const std::size_t index = report_.manifests.size() - 1;
    const auto [first, added] = firstEntry_.try_emplace(text::comparablePath(manifest.path), index);
    if (!added) {
      manifest.state = EntryState::Repeated;
      manifest.repeats = first->second;
      manifest.findings.push_back(warning(
          findings::kListedTwice,
          "the runtime's list holds this manifest already, at entry " +
              std::to_string(first->second + 1) + " (" + shown(report_.manifests[first->second].path) +
              "); it is judged there"));
      return;
    }
    if (manifest.path.empty() || manifest.path.find('\0') != std::string::npos) {
      manifest.state = EntryState::Missing;
      manifest.findings.push_back(error(manifestcheck::findings::kFileMissing,
                                        "the runtime lists " + shown(manifest.path) +
                                            ", which names no file: the entry is dead"));
      return;
    }
    const FileRead read = sources_.files->Read(platform::pathFromUtf8(manifest.path),
                                               manifestcheck::kManifestSizeLimit);
    switch (read.status) {
      case FileRead::Status::Missing:
        manifest.state = EntryState::Missing;
        manifest.findings.push_back(error(
            manifestcheck::findings::kFileMissing,
            "the runtime lists " + shown(manifest.path) +
                ", but there is no file there (the application was uninstalled or moved), so "
                "the entry is dead: `ostrel-register doctor --remove-dead` removes it through "
                "the runtime"));
        return;
      case FileRead::Status::Unreadable:
        manifest.state = EntryState::Unreadable;
        manifest.findings.push_back(
            read.notRegular
                ? error(manifestcheck::findings::kFileNotRegular,
                        "the runtime lists " + shown(manifest.path) + ", which " + read.reason +
                            ", so the runtime loads nothing from it: list the .vrmanifest file "
                            "itself")
                : error(manifestcheck::findings::kFileUnreadable,
                        "the runtime lists " + shown(manifest.path) + ", which " + read.reason +
                            ", so the runtime loads nothing from it: check its permissions"));
        return;
      case FileRead::Status::Read:
        break;
    }
    judgePlace(manifest, entry.temporaryLocation);
    manifestcheck::ManifestContentContext context;
    context.manifestFolder = platform::pathFromUtf8(text::folderOf(manifest.path));
    context.paths = sources_.paths;
    manifestcheck::ManifestSurvey survey = manifestcheck::surveyManifestContent(read.content, context);
    manifest.state = survey.refused ? EntryState::Refused : EntryState::Read;
    std::move(survey.findings.begin(), survey.findings.end(), std::back_inserter(manifest.findings));
    manifest.applications.reserve(survey.applications.size());
    for (manifestcheck::ApplicationSurvey& surveyed : survey.applications) {
      DoctorApplication& application = manifest.applications.emplace_back();
      application.index = surveyed.index;
      application.appKey = std::move(surveyed.appKey);
      application.name = std::move(surveyed.name);
      application.dashboardOverlay = surveyed.dashboardOverlay;
      application.findings = std::move(surveyed.findings);
    }
  }

  // The rules about where a registered manifest lies (the path the runtime
  // was handed), as the check judges them before a registration.
  void judgePlace(DoctorManifest& manifest, bool temporaryLocation) {
    for (Finding& finding :
         manifestcheck::checkManifestPath(platform::utf8ToWide(manifest.path))) {
      manifest.findings.push_back(std::move(finding));
    }
    if (temporaryLocation) {
      manifest.findings.push_back(warning(
          runtimeregistry::findings::kTemporaryLocation,
          "the manifest lies in a temporary folder, which cleaners empty; its applications then "
          "disappear from SteamVR: install it in the application's folder and register it from "
          "there"));
    }
  }

  // The runtime serves a key from the first listed manifest that declares
  // it; every later declaration is skipped.
  void judgeServing() {
    for (DoctorManifest& manifest : report_.manifests) {
      if (manifest.state != EntryState::Read) continue;
      for (DoctorApplication& application : manifest.applications) {
        const bool duplicateInFile = std::any_of(
            application.findings.begin(), application.findings.end(), [](const Finding& f) {
              return f.code == manifestcheck::findings::kAppKeyDuplicate;
            });
        if (duplicateInFile) continue;
        const auto [served, added] = servedFrom_.try_emplace(application.appKey, &manifest);
        if (added) {
          application.served = true;
          continue;
        }
        const std::string key = shown(application.appKey);
        application.findings.push_back(error(
            findings::kKeyShadowed,
            "the runtime serves app_key " + key + " from " + shown(served->second->path) +
                ", listed before this manifest, and skips this copy: to keep this one, run "
                "`ostrel-register repair --key " +
                text::escapedForDisplay(application.appKey, {}) + " --manifest " +
                text::escapedForDisplay(manifest.path, {text::DisplayStyle::Controls::Named,
                                                        text::DisplayStyle::Limit::Characters,
                                                        260}) +
                "`, which removes the other copies through the runtime; else unregister this "
                "one"));
      }
    }
  }

  void readSettings() {
    const std::filesystem::path folder =
        platform::pathFromUtf8(*report_.configFolder) / "vrappconfig";
    std::optional<std::vector<std::string>> names =
        sources_.files->FileNames(folder, kMaxSettings * 2);
    if (!names) return;
    std::erase_if(*names, [](const std::string& name) {
      return name.size() <= kSettingsSuffix.size() ||
             name.compare(name.size() - kSettingsSuffix.size(), kSettingsSuffix.size(),
                          kSettingsSuffix) != 0;
    });
    std::sort(names->begin(), names->end());
    if (names->size() > kMaxSettings) {
      report_.settingsUnread = names->size() - kMaxSettings;
      names->resize(kMaxSettings);
    }
    report_.settings.reserve(names->size());
    for (const std::string& name : *names) {
      AutoLaunchSetting& setting = report_.settings.emplace_back();
      setting.appKey = name.substr(0, name.size() - kSettingsSuffix.size());
      const std::filesystem::path file = folder / platform::pathFromUtf8(name);
      setting.file = platform::pathToUtf8(file);
      const FileRead read = sources_.files->Read(file, runtimeregistry::kRegistryFileSizeLimit);
      std::string problem;
      if (read.status != FileRead::Status::Read) {
        problem = read.status == FileRead::Status::Missing ? "it is gone" : read.reason;
      } else if (read.content.size() > runtimeregistry::kRegistryFileSizeLimit) {
        problem = "it is larger than " + std::to_string(runtimeregistry::kRegistryFileSizeLimit) +
                  " bytes";
      } else {
        const json::ParsedJson parsed = json::parseBoundedJson(read.content, {});
        if (!parsed.value || !parsed.value->is_object()) {
          problem = parsed.value ? "it is not a JSON object" : "it is not JSON";
        } else if (const auto on = parsed.value->find("autolaunch");
                   on != parsed.value->end() && on->is_boolean()) {
          setting.autoLaunch = on->get<bool>();
        }
      }
      if (!problem.empty()) {
        setting.findings.push_back(warning(
            runtimeregistry::findings::kVrappconfigUnreadable,
            "the runtime's settings for " + shown(setting.appKey) + " in " + shown(setting.file) +
                " cannot be read: " + problem +
                "; switching auto-launch on or off in SteamVR rewrites it"));
      }
    }
  }

  void judgeSettings() {
    std::unordered_map<std::string, const AutoLaunchSetting*> byKey;
    for (AutoLaunchSetting& setting : report_.settings) {
      const auto served = servedFrom_.find(setting.appKey);
      setting.declared = served != servedFrom_.end();
      byKey.emplace(setting.appKey, &setting);
      if (setting.declared || setting.autoLaunch != true || servedBySteam(setting.appKey)) continue;
      setting.findings.push_back(warning(
          findings::kAutoLaunchOrphan,
          "auto-launch is on for " + shown(setting.appKey) + " (" + shown(setting.file) +
              "), but no listed manifest the runtime loads declares the key, so it starts "
              "nothing: the application was uninstalled, or its manifest is gone, broken or not "
              "listed; the setting itself is harmless, and SteamVR keeps it"));
    }
    for (DoctorManifest& manifest : report_.manifests) {
      for (DoctorApplication& application : manifest.applications) {
        if (!application.served) continue;
        const auto setting = byKey.find(application.appKey);
        if (setting == byKey.end()) continue;
        application.autoLaunch = setting->second->autoLaunch;
        if (application.autoLaunch == true && !application.dashboardOverlay) {
          application.findings.push_back(warning(
              findings::kAutoLaunchNoEffect,
              "auto-launch is on for " + shown(application.appKey) +
                  ", but it is not a dashboard overlay, and the runtime starts only dashboard "
                  "overlays with itself: set \"is_dashboard_overlay\": true in its manifest, or "
                  "switch auto-launch off"));
        }
      }
    }
  }

  const DoctorSources& sources_;
  DoctorReport report_;
  std::unordered_map<std::string, std::size_t> firstEntry_;  // comparable path -> entry
  std::unordered_map<std::string, DoctorManifest*> servedFrom_;  // key -> serving manifest
};

}  // namespace

DoctorReport examineRegistry(const DoctorSources& sources) {
  return Examination(sources).run();
}

}  // namespace ostrel::doctor
