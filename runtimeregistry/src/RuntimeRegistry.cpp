#include "ostrel/runtimeregistry/RuntimeRegistry.h"

#include <nlohmann/json.hpp>
#include <utility>

#include "BoundedJson.h"
#include "PathRegistry.h"
#include "PlatformRules.h"
#include "ShownText.h"
#include "ostrel/manifestcheck/ManifestReader.h"
#include "ostrel/runtimeregistry/RegistryFindingCodes.h"
#include "ostrel/text/HostPath.h"
#include "platform/Platform.h"

namespace ostrel::runtimeregistry {

using manifestcheck::FindingSeverity;
using manifestcheck::kManifestSizeLimit;
using manifestcheck::ManifestApplication;
using manifestcheck::ManifestContents;
using manifestcheck::ManifestReadFailure;
using manifestcheck::parseManifest;

namespace {

using nlohmann::json;

// The file's object, or why there is none: the reader's reason, or the
// parse's.
outcome::Outcome<json> parsedFile(const FileRead& read) {
  if (read.status != FileRead::Status::Read) return outcome::Failure{"", read.reason, ""};
  return parseBounded(read.content);
}
using runtimeregistry::nonEmptyVariable;
using runtimeregistry::parseBounded;
using runtimeregistry::PathRegistryFile;
using runtimeregistry::readPathRegistryFile;
using runtimeregistry::shownText;
using runtimeregistry::underTemporaryFolder;

// Individual findings about gone manifests before one line counts the rest:
// a list of thousands of dead entries must not become thousands of lines.
constexpr std::size_t kMaxMissingFindings = 8;

// An app key is a file name inside vrappconfig/; one that could climb out
// of the folder names no file the runtime wrote.
bool usableAsFileName(const std::string& key) {
  if (key.empty() || key == "." || key == "..") return false;
  return key.find_first_of(std::string("/\\:\0", 4)) == std::string::npos;
}

class Reader {
 public:
  Reader(const RegistryQuery& query, IRegistryEnvironment& environment, IRegistryFiles& files)
      : query_(query), environment_(environment), files_(files) {}

  // The path registry and the list alone.
  ManifestList list() && {
    listOnly_ = true;
    readPathRegistry();
    if (result_.configFolder) readAppConfig();
    ManifestList list;
    list.registryFile = std::move(result_.registryFile);
    list.registryFileRead = result_.registryFileRead;
    list.configFolder = std::move(result_.configFolder);
    list.runtimeFolder = std::move(result_.runtimeFolder);
    list.read = result_.appConfigRead;
    list.entries.reserve(result_.manifests.size());
    for (ListedManifest& listed : result_.manifests) {
      list.entries.push_back({std::move(listed.path), false});
      list.entries.back().temporaryLocation =
          underTemporaryFolder(list.entries.back().path, temporaryFolders());
    }
    list.unlisted = unlisted_;
    list.findings = std::move(result_.findings);
    return list;
  }

  RuntimeRegistry read() && {
    result_.manifestNamed = query_.manifestPath.has_value();
    readPathRegistry();
    if (result_.configFolder) {
      readAppConfig();
      readAppSettings();
    }
    if (result_.appConfigRead) judge();
    return std::move(result_);
  }

 private:
  void error(const char* code, std::string message) {
    result_.findings.push_back({FindingSeverity::Error, code, std::move(message)});
  }
  void warning(const char* code, std::string message) {
    result_.findings.push_back({FindingSeverity::Warning, code, std::move(message)});
  }

  void readPathRegistry() {
    const PathRegistryFile registry = readPathRegistryFile(environment_, files_);
    if (!registry.file.empty()) result_.registryFile = platform::pathToUtf8(registry.file);
    const std::string shown = shownText(result_.registryFile);
    switch (registry.status) {
      case PathRegistryFile::Status::NotLocated:
        warning(findings::kVrpathMissing, "the runtime's path registry cannot be located (" +
                                              registry.problem +
                                              "): " + missingPathRegistryAdvice());
        break;
      case PathRegistryFile::Status::Missing:
        if (std::optional<std::string> sandboxed = sandboxedRegistry()) {
          warning(findings::kVrpathMissing, "there is no runtime path registry at " + shown +
                                                ", but Flatpak Steam keeps one at " +
                                                shownText(*sandboxed) + ": " +
                                                sandboxedPathRegistryAdvice());
          break;
        }
        warning(findings::kVrpathMissing, "there is no runtime path registry at " + shown + ": " +
                                              missingPathRegistryAdvice());
        break;
      case PathRegistryFile::Status::Unreadable:
        warning(findings::kVrpathUnreadable,
                "the runtime's path registry " + shown + " cannot be read: " + registry.problem +
                    "; SteamVR rewrites it when it starts: start SteamVR once");
        break;
      case PathRegistryFile::Status::Read:
        result_.registryFileRead = true;
        result_.configFolder = registry.config;
        result_.runtimeFolder = registry.runtime;
        break;
    }
    // The loader takes these over what the file says, and so does the reader.
    if (std::optional<std::string> config = nonEmptyVariable(environment_, "VR_CONFIG_PATH")) {
      result_.configFolder = std::move(config);
    }
    if (std::optional<std::string> runtime = nonEmptyVariable(environment_, "VR_OVERRIDE")) {
      result_.runtimeFolder = std::move(runtime);
    }
    if (result_.registryFileRead && !result_.configFolder) {
      if (!registry.configMember && configlessRegistryIsAnotherRuntimes()) {
        warning(findings::kVrpathOtherRuntime,
                "the runtime's path registry " + shown +
                    " has no config entry, as those written for another OpenVR runtime (xrizer, "
                    "or OpenComposite over an OpenXR runtime such as Monado or WiVRn) have: "
                    "SteamVR did not write it, so SteamVR's list of applications cannot be "
                    "found through it: start SteamVR once, which writes its own entries into the "
                    "file, or set VR_CONFIG_PATH to SteamVR's config folder");
        return;
      }
      warning(findings::kVrpathNoConfig,
              "the runtime's path registry " + shown +
                  " names no config folder, so the runtime's list of "
                  "applications cannot be found: start SteamVR once so it "
                  "writes the file again");
    }
  }

  // Where the loader's own place is empty and no override names another,
  // the path registry of a runtime this program cannot reach, when there is
  // one: the user's SteamVR probably lives there.
  std::optional<std::string> sandboxedRegistry() {
    if (nonEmptyVariable(environment_, "VR_PATHREG_OVERRIDE")) return std::nullopt;
    const std::optional<std::filesystem::path> file = sandboxedPathRegistry(environment_);
    if (!file) return std::nullopt;
    if (files_.Read(*file, 0).status == FileRead::Status::Missing) return std::nullopt;
    return platform::pathToUtf8(*file);
  }

  void readAppConfig() {
    const std::filesystem::path file =
        platform::pathFromUtf8(*result_.configFolder) / "appconfig.json";
    const std::string shown = shownText(platform::pathToUtf8(file));
    const FileRead read = files_.Read(file, kRegistryFileSizeLimit);
    if (read.status == FileRead::Status::Missing) {
      warning(findings::kAppconfigMissing,
              "the runtime keeps no list of applications at " + shown +
                  " (no application has been registered for this SteamVR "
                  "installation, or the config folder is not the one "
                  "SteamVR uses): start SteamVR once");
      return;
    }
    const outcome::Outcome<json> root = parsedFile(read);
    std::string problem = root ? "" : root.failure().message;
    if (root) {
      const auto list = root.value().find("manifest_paths");
      if (list == root.value().end() || !list->is_array()) {
        problem = "it holds no manifest_paths array";
      } else {
        result_.appConfigRead = true;
        for (const json& entry : *list) {
          if (!entry.is_string()) continue;
          if (result_.manifests.size() == kMaxListedManifests) {
            ++unlisted_;
            continue;
          }
          ListedManifest listed;
          listed.path = entry.get<std::string>();
          result_.manifests.push_back(std::move(listed));
        }
        if (!listOnly_) {
          for (ListedManifest& listed : result_.manifests) examine(listed);
        }
        if (unlisted_ > 0) {
          warning(findings::kAppconfigUnreadable,
                  "the runtime's list " + shown + " holds " + std::to_string(unlisted_) +
                      " more manifests than this reader looks at (" +
                      std::to_string(kMaxListedManifests) + "); those were not read");
        }
        return;
      }
    }
    warning(findings::kAppconfigUnreadable,
            "the runtime's list of applications " + shown + " cannot be read: " + problem +
                "; the runtime ignores a broken list, so every "
                "registration in it is lost: start SteamVR once, then "
                "register again");
  }

  void examine(ListedManifest& listed) {
    if (query_.manifestPath) {
      listed.thisManifest = text::samePath(listed.path, *query_.manifestPath);
    }
    listed.temporaryLocation = underTemporaryFolder(listed.path, temporaryFolders());
    if (listed.path.empty() || listed.path.find('\0') != std::string::npos) return;
    const FileRead read = files_.Read(platform::pathFromUtf8(listed.path), kManifestSizeLimit);
    if (read.status == FileRead::Status::Missing) return;
    listed.exists = true;
    if (read.status != FileRead::Status::Read) {
      if (sameFileAsAsked(listed)) unreadableReason_ = read.reason;
      return;
    }
    ManifestContents manifest = parseManifest(read.content);
    if (manifest.failure == ManifestReadFailure::None) {
      listed.readable = true;
      for (ManifestApplication& application : manifest.applications) {
        // The runtime keeps the first application that has the key.
        if (application.appKey == query_.appKey && !listed.declaresKey) {
          listed.declaresKey = true;
          listed.keyIsOverlay = application.dashboardOverlay;
        }
        listed.appKeys.push_back(std::move(application.appKey));
      }
      // Only a copy declaring the key counts for the judgement; one that
      // does not cannot be the manifest asked about unless that manifest
      // lacks the key too, which its own check says. Thousands of other
      // applications' entries cost no look at the file system this way.
      if (listed.declaresKey) sameFileAsAsked(listed);
    } else if (sameFileAsAsked(listed)) {
      unreadableReason_ = std::move(manifest.error);
    }
  }

  // The runtime opens the path it lists, links and all: another spelling
  // of the same file is still this manifest. Sets and returns thisManifest.
  bool sameFileAsAsked(ListedManifest& listed) {
    if (query_.manifestPath && !listed.thisManifest &&
        query_.manifestPath->find('\0') == std::string::npos) {
      listed.thisManifest = files_.SameFile(platform::pathFromUtf8(listed.path),
                                            platform::pathFromUtf8(*query_.manifestPath));
    }
    return listed.thisManifest;
  }

  const std::vector<std::string>& temporaryFolders() {
    if (!temporaryFolders_) {
      temporaryFolders_.emplace();
      for (const char* name : temporaryFolderVariables()) {
        if (std::optional<std::string> folder = nonEmptyVariable(environment_, name)) {
          temporaryFolders_->push_back(std::move(*folder));
        }
      }
    }
    return *temporaryFolders_;
  }

  void readAppSettings() {
    if (!usableAsFileName(query_.appKey)) return;
    const std::filesystem::path file = platform::pathFromUtf8(*result_.configFolder) /
                                       "vrappconfig" /
                                       platform::pathFromUtf8(query_.appKey + ".vrappconfig");
    const FileRead read = files_.Read(file, kRegistryFileSizeLimit);
    // No settings file is the runtime's default, not a fault.
    if (read.status == FileRead::Status::Missing) {
      result_.appSettingsRead = true;
      return;
    }
    const outcome::Outcome<json> root = parsedFile(read);
    if (!root) {
      warning(findings::kVrappconfigUnreadable,
              "the runtime's settings for " + shownText(query_.appKey) + " in " +
                  shownText(platform::pathToUtf8(file)) + " cannot be read: " +
                  root.failure().message + "; switching auto-launch on again rewrites it");
      return;
    }
    result_.appSettingsRead = true;
    const auto autoLaunch = root.value().find("autolaunch");
    if (autoLaunch != root.value().end() && autoLaunch->is_boolean()) {
      result_.autoLaunch = autoLaunch->get<bool>();
    }
  }

  void judge() {
    const std::string& key = query_.appKey;
    for (std::size_t i = 0; i < result_.manifests.size(); ++i) {
      if (result_.manifests[i].declaresKey) {
        result_.serving = i;
        break;
      }
    }

    std::size_t missing = 0;
    for (const ListedManifest& listed : result_.manifests) {
      if (listed.exists) continue;
      if (listed.thisManifest) {
        error(findings::kRegisteredManifestMissing,
              "the runtime lists this manifest, " + shownText(listed.path) +
                  ", but the file is gone, so the runtime skips it: put the manifest back and "
                  "register it again");
      } else if (++missing <= kMaxMissingFindings) {
        warning(findings::kRegisteredManifestMissing,
                "the runtime lists " + shownText(listed.path) +
                    ", but the file is gone; the runtime drops it at its next start, and if it "
                    "was an old copy of this application's manifest nothing else is needed");
      }
    }
    if (missing > kMaxMissingFindings) {
      warning(findings::kRegisteredManifestMissing,
              std::to_string(missing - kMaxMissingFindings) +
                  " more listed manifests are gone as well; the runtime drops them at its next "
                  "start");
    }
    for (const ListedManifest& listed : result_.manifests) {
      if (listed.thisManifest && listed.exists && !listed.readable) {
        error(findings::kRegisteredManifestUnreadable,
              "the runtime lists this manifest, " + shownText(listed.path) +
                  ", but cannot read it (" + unreadableReason_ +
                  "), so it skips the application: run the check command, fix the manifest and "
                  "register it again");
        break;
      }
    }

    if (!result_.serving) {
      std::string advice = "register it";
      if (query_.manifestPath) advice = "register " + shownText(*query_.manifestPath);
      error(findings::kNotRegistered, "no manifest in the runtime's list declares app_key " +
                                          shownText(key) +
                                          ", so SteamVR does not list the application: " + advice);
      return;
    }
    const ListedManifest& served = result_.manifests[*result_.serving];
    for (std::size_t other : result_.otherDeclaring()) {
      const ListedManifest& listed = result_.manifests[other];
      std::string message = "another listed manifest, " + shownText(listed.path) +
                            ", also declares app_key " + shownText(key) + "; ";
      message += other == *result_.serving ? "the runtime serves the application from it"
                                           : "the runtime serves the application from " +
                                                 shownText(served.path) + " and skips the other";
      message += ": run `ostrel-register repair --key ";
      message += key;
      message += " --manifest ";
      message += query_.manifestPath ? *query_.manifestPath : std::string("<this manifest>");
      message += "`, which removes the other copies through the runtime and registers this one";
      error(findings::kStaleRegistration, std::move(message));
    }
    if (result_.autoLaunchUnset()) {
      warning(findings::kRegistrationUnfinished,
              "the runtime lists " + shownText(key) + " from " + shownText(served.path) +
                  ", but no auto-launch choice is recorded for it: a first registration stopped "
                  "before switching auto-launch on, so SteamVR does not start the application "
                  "with itself: the application's next start finishes it, and so does "
                  "`ostrel-register ensure`");
    }
    if (result_.autoLaunch && !*result_.autoLaunch) {
      warning(findings::kAutoLaunchOff, "the runtime's settings for " + shownText(key) +
                                            " have auto-launch off, so SteamVR does not start the "
                                            "application with itself: switch it on in SteamVR's "
                                            "settings (Startup / Shutdown) or register again");
    }
    for (const ListedManifest& listed : result_.manifests) {
      if (listed.declaresKey && listed.temporaryLocation) {
        warning(findings::kTemporaryLocation,
                "the listed manifest " + shownText(listed.path) +
                    " lies in a temporary folder, which cleaners empty; the application then "
                    "disappears from SteamVR: install the manifest in the application's folder "
                    "and register it from there");
      }
    }
  }

  const RegistryQuery& query_;
  bool listOnly_ = false;
  IRegistryEnvironment& environment_;
  IRegistryFiles& files_;
  RuntimeRegistry result_;
  std::optional<std::vector<std::string>> temporaryFolders_;
  std::string unreadableReason_;
  std::size_t unlisted_ = 0;
};

}  // namespace

std::vector<std::size_t> RuntimeRegistry::otherDeclaring() const {
  std::vector<std::size_t> others;
  for (std::size_t i = 0; i < manifests.size(); ++i) {
    if (!manifests[i].declaresKey) continue;
    const bool ours = manifestNamed ? manifests[i].thisManifest : serving && i == *serving;
    if (!ours) others.push_back(i);
  }
  return others;
}

bool RuntimeRegistry::autoLaunchUnset() const noexcept {
  return known() && serving && manifests[*serving].keyIsOverlay && appSettingsRead &&
         !autoLaunch.has_value();
}

ManifestList readManifestList(IRegistryEnvironment& environment, IRegistryFiles& files) {
  const RegistryQuery query;
  return Reader(query, environment, files).list();
}

RuntimeRegistry readRuntimeRegistry(const RegistryQuery& query, IRegistryEnvironment& environment,
                                    IRegistryFiles& files) {
  return Reader(query, environment, files).read();
}

}  // namespace ostrel::runtimeregistry
