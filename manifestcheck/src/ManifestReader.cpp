#include "ostrel/manifestcheck/ManifestReader.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <utility>

#include "ContentCheck.h"
#include "FindingList.h"
#include "ostrel/manifestcheck/ManifestCheck.h"
#include "platform/Platform.h"
#include "ostrel/manifestcheck/FindingCodes.h"

namespace ostrel::manifestcheck {

namespace {

using nlohmann::json;

constexpr const char* kNoApplications = "it holds no \"applications\" array";

ManifestContents failed(ManifestReadFailure failure, std::string error) {
  ManifestContents contents;
  contents.failure = failure;
  contents.error = std::move(error);
  return contents;
}

std::optional<std::string> textMember(const json& object, const char* name) {
  const auto member = object.find(name);
  if (member == object.end() || !member->is_string()) return std::nullopt;
  return member->get<std::string>();
}

// The kind of failure behind the check's first error about the text.
ManifestReadFailure failureOf(const std::string& code) {
  if (code == findings::kFileTooLarge) return ManifestReadFailure::TooLarge;
  if (code == findings::kBom || code == findings::kTooDeep) return ManifestReadFailure::Refused;
  return ManifestReadFailure::NotJsonObject;
}

// readManifest's failures in the words its callers have always shown: one
// sentence naming the file. A refusal carries the check's reason, since the
// text is JSON and "not a JSON object" would mislead.
std::string sentenceNaming(const std::string& utf8Path, const ManifestContents& contents) {
  switch (contents.failure) {
    case ManifestReadFailure::None:
      return {};
    case ManifestReadFailure::CannotOpen:
      return "cannot open " + utf8Path;
    case ManifestReadFailure::TooLarge:
      return utf8Path + " is larger than " + std::to_string(kManifestSizeLimit) + " bytes";
    case ManifestReadFailure::Refused:
      return utf8Path + " cannot be read: " + contents.error;
    case ManifestReadFailure::NotJsonObject:
      return utf8Path + " is not a JSON object (run the check command for details)";
    case ManifestReadFailure::NoApplications:
      return utf8Path + " has no applications array";
  }
  return utf8Path + " cannot be read: " + contents.error;
}

}  // namespace

const std::optional<std::string>& binaryPathFor(const ManifestApplication& application,
                                                RuntimeSystem system) noexcept {
  switch (system) {
    case RuntimeSystem::Windows:
      return application.binaryPathWindows;
    case RuntimeSystem::Linux:
      return application.binaryPathLinux;
    case RuntimeSystem::LinuxArm:
      return application.binaryPathLinuxArm;
  }
  return application.binaryPathWindows;
}

ManifestContents parseManifest(std::string_view content) {
  manifestcheck::FindingList findings;
  const std::optional<json> root = manifestcheck::readManifestJson(content, findings);
  if (!root || findings.hasError()) {
    const std::vector<ManifestFinding> listed = std::move(findings).take();
    const auto firstError = std::find_if(listed.begin(), listed.end(), [](const auto& finding) {
      return finding.severity == FindingSeverity::Error;
    });
    if (firstError == listed.end()) {
      return failed(ManifestReadFailure::NotJsonObject, "it is not JSON that can be read");
    }
    return failed(failureOf(firstError->code), firstError->message);
  }
  if (!root->is_object()) return failed(ManifestReadFailure::NotJsonObject, kNoApplications);
  const auto applications = root->find("applications");
  if (applications == root->end() || !applications->is_array()) {
    return failed(ManifestReadFailure::NoApplications, kNoApplications);
  }
  ManifestContents contents;
  for (const json& application : *applications) {
    if (!application.is_object()) continue;
    const auto key = application.find("app_key");
    if (key == application.end() || !key->is_string()) continue;
    ManifestApplication entry;
    entry.appKey = key->get<std::string>();
    entry.binaryPathWindows = textMember(application, "binary_path_windows");
    entry.binaryPathLinux = textMember(application, "binary_path_linux");
    entry.binaryPathLinuxArm = textMember(application, "binary_path_linux_arm");
    const auto overlay = application.find("is_dashboard_overlay");
    entry.dashboardOverlay =
        overlay != application.end() && overlay->is_boolean() && overlay->get<bool>();
    contents.applications.push_back(std::move(entry));
  }
  return contents;
}

ManifestContents readManifest(const std::string& utf8Path) {
  // Only a regular file is opened: a pipe named as the manifest would block
  // for ever.
  const platform::BoundedFile file =
      platform::readBoundedFile(platform::pathFromUtf8(utf8Path), kManifestSizeLimit);
  if (file.status != platform::BoundedFile::Status::Read) {
    return failed(ManifestReadFailure::CannotOpen, "cannot open " + utf8Path);
  }
  ManifestContents contents = parseManifest(file.content);
  contents.error = sentenceNaming(utf8Path, contents);
  return contents;
}

}  // namespace ostrel::manifestcheck
