#include "ostrel/registration/ReportJson.h"

#include <nlohmann/json.hpp>

namespace ostrel::registration {

namespace {

using nlohmann::json;

json optionalBool(const std::optional<bool>& value) {
  return value ? json(*value) : json(nullptr);
}

json optionalText(const std::optional<std::string>& value) {
  return value ? json(*value) : json(nullptr);
}

json findingsJson(const std::vector<manifestcheck::ManifestFinding>& first,
                  const std::vector<manifestcheck::ManifestFinding>& then) {
  json list = json::array();
  for (const auto* findings : {&first, &then}) {
    for (const manifestcheck::ManifestFinding& finding : *findings) {
      list.push_back({{"severity", manifestcheck::findingSeverityName(finding.severity)},
                      {"code", finding.code},
                      {"message", finding.message}});
    }
  }
  return list;
}

json runtimeJson(const RuntimeView& runtime) {
  json view = {{"reachable", runtime.reachable}, {"error", nullptr}, {"advice", nullptr}};
  if (runtime.asked && !runtime.reachable) {
    view["error"] = runtime.failure.code.empty() ? json(nullptr) : json(runtime.failure.code);
    view["advice"] = runtime.failure.advice.empty() ? json(nullptr) : json(runtime.failure.advice);
  }
  return view;
}

json registryJson(const runtimeregistry::RuntimeRegistry& registry) {
  json paths = json::array();
  for (const runtimeregistry::ListedManifest& listed : registry.manifests) {
    paths.push_back({{"path", listed.path},
                     {"exists", listed.exists},
                     {"declares_key", listed.declaresKey},
                     {"this_manifest", listed.thisManifest}});
  }
  return {{"file", registry.registryFile.empty() ? json(nullptr) : json(registry.registryFile)},
          {"config", optionalText(registry.configFolder)},
          {"read", registry.known()},
          {"manifest_paths", std::move(paths)}};
}

json statusObject(const StatusReport& report, int exitStatus,
                  const std::vector<manifestcheck::ManifestFinding>& extra) {
  return {{"app_key", report.appKey},
          {"manifest", optionalText(report.manifestPath)},
          {"state", registrationStateName(report.state)},
          {"runtime", runtimeJson(report.runtime)},
          {"installed", optionalBool(report.installed())},
          {"auto_launch", optionalBool(report.autoLaunch())},
          {"registry", registryJson(report.registry)},
          {"findings", findingsJson(extra, report.findings)},
          {"exit_status", exitStatus}};
}

// Invalid UTF-8 from a file becomes U+FFFD rather than an exception.
std::string dumped(const json& value) {
  return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace

std::string statusJson(const StatusReport& report, int exitStatus,
                       const std::vector<manifestcheck::ManifestFinding>& extra) {
  return dumped(statusObject(report, exitStatus, extra));
}

std::string repairJson(const RegistrationRun& run) {
  const bool dryRun = run.end == RegistrationEnd::DryRun;
  json object = statusObject(run.status, exitStatusForRun(run), run.checkFindings);
  object["dry_run"] = dryRun;
  object["removed"] = run.removed;
  object["would_remove"] = dryRun ? run.plan : std::vector<std::string>{};
  object["result"] =
      run.result ? json(steamvr::registerResultName(*run.result)) : json(nullptr);
  return dumped(object);
}

std::string checkJson(const std::string& appKey, const std::string& manifestPath,
                      const std::vector<manifestcheck::ManifestFinding>& findings, int exitStatus) {
  const int errors = manifestcheck::countErrors(findings);
  const json object = {{"app_key", appKey},
                       {"manifest", manifestPath},
                       {"passed", errors == 0},
                       {"errors", errors},
                       {"warnings", static_cast<int>(findings.size()) - errors},
                       {"findings", findingsJson(findings, {})},
                       {"exit_status", exitStatus}};
  return dumped(object);
}

}  // namespace ostrel::registration
