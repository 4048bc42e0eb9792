// A runtime for tests that keeps its registry in the files, as SteamVR does:
// adding a manifest appends it to appconfig.json's manifest_paths, removing
// one takes it out, switching auto-launch writes <key>.vrappconfig, and every
// answer comes from those files and the manifests they list. A run that
// reads the files afterwards sees what the runtime did, so a test can play a
// run, then the next start, and judge the end state rather than the calls.
//
// It can also stop answering after a number of changes (`changesBeforeDeath`),
// as a process killed in the middle of a registration would leave things.
// Every call is recorded as the scripted surface records them. Not
// synchronised: one thread at a time.
#pragma once

#include <algorithm>
#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "ostrel/manifestcheck/ManifestReader.h"
#include "ostrel/registration/RuntimeConnection.h"
#include "ostrel/testing/HostPaths.h"
#include "ostrel/testing/MemoryRegistry.h"
#include "ostrel/testing/ScriptedApplicationsSurface.h"

namespace ostrel::testing {

class StatefulRuntime final : public openvr::OpenVRApplicationsSurface,
                              public registration::IRuntimeConnector {
 public:
  // `files` is borrowed and must outlive this object; `configFolder` is the
  // runtime's config folder in the host's form.
  StatefulRuntime(MemoryRegistry& files, std::string configFolder)
      : files_(files), config_(std::move(configFolder)) {}

  // --- the connector ------------------------------------------------------
  registration::Connection Connect(const std::string&) override {
    ++connects;
    if (!reachable) {
      registration::RuntimeFailure failure;
      failure.code = "VRInitError_Init_NoServerForBackgroundApp";
      failure.message = "VR_InitInternal2 failed: VRInitError_Init_NoServerForBackgroundApp (121)";
      failure.kind = openvr::OpenVRSessionErrorKind::InitFailed;
      failure.initError = 121;
      return failure;
    }
    return static_cast<openvr::OpenVRApplicationsSurface*>(this);
  }

  // --- the surface --------------------------------------------------------
  steamvr::ApplicationError AddApplicationManifest(const char* path, bool temporary) override {
    record("Add", path, temporary);
    if (!alive()) return kIpcFailed;
    if (refuseAdd != 0) return refuseAdd;
    if (!readable(path)) return kInvalidManifest;
    std::vector<std::string> listed = list();
    if (std::find(listed.begin(), listed.end(), path) == listed.end()) listed.push_back(path);
    writeList(listed);
    pendingPolls_ = pollsBeforeListed;
    ++changes_;
    return 0;
  }

  bool IsApplicationInstalled(const char* key) override {
    record("Installed", key, false);
    if (!alive()) return false;
    if (pendingPolls_ > 0) {
      --pendingPolls_;
      return false;
    }
    return served(key).has_value();
  }

  steamvr::ApplicationError SetApplicationAutoLaunch(const char* key, bool on) override {
    record("AutoLaunch", key, on);
    if (!alive()) return kIpcFailed;
    if (refuseAutoLaunch != 0) return refuseAutoLaunch;
    nlohmann::json settings = nlohmann::json::parse(settingsText(key), nullptr, false);
    if (!settings.is_object()) settings = nlohmann::json::object();
    settings["autolaunch"] = on;
    files_.put(settingsFile(key), settings.dump());
    ++changes_;
    return 0;
  }

  steamvr::ApplicationError RemoveApplicationManifest(const char* path) override {
    record("Remove", path, false);
    if (!alive()) return kIpcFailed;
    if (refuseRemove != 0) return refuseRemove;
    std::vector<std::string> listed = list();
    std::erase(listed, std::string(path));
    writeList(listed);
    ++changes_;
    return 0;
  }

  // The read-backs change nothing and are not recorded.
  openvr::ApplicationFlag GetApplicationAutoLaunch(const char* key) override {
    if (!alive()) return {false, kIpcFailed};
    const nlohmann::json settings = nlohmann::json::parse(settingsText(key), nullptr, false);
    const bool on = settings.is_object() && settings.value("autolaunch", false);
    return {on, steamvr::kApplicationErrorNone};
  }
  openvr::ApplicationFlag IsDashboardOverlay(const char* key) override {
    const std::optional<manifestcheck::ManifestApplication> application = served(key);
    if (!application) return {false, 104};
    return {application->dashboardOverlay, steamvr::kApplicationErrorNone};
  }
  openvr::ApplicationText GetBinaryPath(const char*) override { return {{}, 201}; }
  openvr::ApplicationText GetWorkingDirectory(const char*) override { return {{}, 201}; }

  // --- what the runtime holds, for the test -------------------------------
  std::vector<std::string> list() const {
    const auto found = files_.files.find(text::comparablePath(appConfigFile()));
    if (found == files_.files.end()) return {};
    const nlohmann::json root = nlohmann::json::parse(found->second.content, nullptr, false);
    if (!root.is_object() || !root.contains("manifest_paths")) return {};
    std::vector<std::string> listed;
    for (const nlohmann::json& entry : root["manifest_paths"]) {
      if (entry.is_string()) listed.push_back(entry.get<std::string>());
    }
    return listed;
  }

  // Time has passed: whatever was added is listed now.
  void settle() { pendingPolls_ = 0; }

  // The recorded choice: nullopt when the settings file says nothing.
  std::optional<bool> autoLaunchSetting(const std::string& key) const {
    const nlohmann::json settings = nlohmann::json::parse(settingsText(key), nullptr, false);
    if (!settings.is_object() || !settings.contains("autolaunch")) return std::nullopt;
    return settings["autolaunch"].get<bool>();
  }

  // The calls made, in order.
  std::vector<SurfaceCall> calls;
  int connects = 0;
  bool reachable = true;
  // Misses the runtime answers after an add before it lists the key.
  int pollsBeforeListed = 0;
  // Answers to refuse with (0: do as asked).
  steamvr::ApplicationError refuseAdd = 0;
  steamvr::ApplicationError refuseRemove = 0;
  steamvr::ApplicationError refuseAutoLaunch = 0;
  // After this many changes the runtime answers nothing any more.
  std::optional<int> changesBeforeDeath;
  // Told of each call as it is made, before it is answered.
  std::function<void(const SurfaceCall&)> onCall;

  static constexpr steamvr::ApplicationError kIpcFailed = 105;
  static constexpr steamvr::ApplicationError kInvalidManifest = 107;

 private:
  bool alive() const { return !changesBeforeDeath || changes_ < *changesBeforeDeath; }

  void record(const char* operation, const char* text, bool flag) {
    calls.push_back({operation, text != nullptr ? text : "(null)", flag});
    if (onCall) onCall(calls.back());
  }

  std::string appConfigFile() const { return config_ + (windowsHost() ? "\\" : "/") + "appconfig.json"; }
  std::string settingsFile(const std::string& key) const {
    const char* separator = windowsHost() ? "\\" : "/";
    return config_ + separator + "vrappconfig" + separator + key + ".vrappconfig";
  }
  std::string settingsText(const std::string& key) const {
    const auto found = files_.files.find(text::comparablePath(settingsFile(key)));
    return found == files_.files.end() ? std::string() : found->second.content;
  }

  void writeList(const std::vector<std::string>& listed) {
    files_.put(appConfigFile(), nlohmann::json{{"manifest_paths", listed}}.dump());
  }

  std::optional<manifestcheck::ManifestContents> manifest(const std::string& path) const {
    const auto found = files_.files.find(text::comparablePath(path));
    if (found == files_.files.end() ||
        found->second.status != runtimeregistry::FileRead::Status::Read) {
      return std::nullopt;
    }
    manifestcheck::ManifestContents contents = manifestcheck::parseManifest(found->second.content);
    if (contents.failure != manifestcheck::ManifestReadFailure::None) return std::nullopt;
    return contents;
  }
  bool readable(const std::string& path) const { return manifest(path).has_value(); }

  // The application the key is served from: the first listed manifest that
  // declares it, as the runtime picks.
  std::optional<manifestcheck::ManifestApplication> served(const std::string& key) const {
    for (const std::string& path : list()) {
      const std::optional<manifestcheck::ManifestContents> contents = manifest(path);
      if (!contents) continue;
      for (const manifestcheck::ManifestApplication& application : contents->applications) {
        if (application.appKey == key) return application;
      }
    }
    return std::nullopt;
  }

  MemoryRegistry& files_;
  std::string config_;
  int pendingPolls_ = 0;
  int changes_ = 0;
};

}  // namespace ostrel::testing
