#include <nlohmann/json.hpp>

#include "ostrel/doctor/DoctorForms.h"

namespace ostrel::doctor {

namespace {

using nlohmann::json;

json optionalText(const std::optional<std::string>& value) {
  return value ? json(*value) : json(nullptr);
}

json optionalBool(const std::optional<bool>& value) { return value ? json(*value) : json(nullptr); }

json findingsJson(const std::vector<Finding>& findings) {
  json list = json::array();
  for (const Finding& finding : findings) {
    list.push_back({{"code", finding.code},
                    {"severity", manifestcheck::findingSeverityName(finding.severity)},
                    {"message", finding.message}});
  }
  return list;
}

json applicationJson(const DoctorApplication& application) {
  return {{"app_key", application.appKey},
          {"name", application.name.empty() ? json(nullptr) : json(application.name)},
          {"served", application.served},
          {"dashboard_overlay", application.dashboardOverlay},
          {"auto_launch", optionalBool(application.autoLaunch)},
          {"findings", findingsJson(application.findings)}};
}

json manifestJson(const DoctorManifest& manifest) {
  json applications = json::array();
  for (const DoctorApplication& application : manifest.applications) {
    applications.push_back(applicationJson(application));
  }
  return {{"path", manifest.path},
          {"state", entryStateName(manifest.state)},
          {"repeats", manifest.repeats ? json(*manifest.repeats) : json(nullptr)},
          {"removed", manifest.removed},
          {"findings", findingsJson(manifest.findings)},
          {"applications", std::move(applications)}};
}

json removalJson(const DeadEntryRemoval& removal) {
  if (!removal.asked) return nullptr;
  json runtime = {{"asked", removal.runtimeAsked},
                  {"reachable", removal.runtimeReached},
                  {"error", nullptr},
                  {"advice", nullptr}};
  if (removal.runtimeAsked && !removal.runtimeReached) {
    if (!removal.failure.code.empty()) runtime["error"] = removal.failure.code;
    if (!removal.failure.advice.empty()) runtime["advice"] = removal.failure.advice;
  }
  json removed = json::array();
  json refused = json::array();
  for (const registration::RemovalAttempt& attempt : removal.attempts) {
    if (attempt.error == steamvr::kApplicationErrorNone) {
      removed.push_back(attempt.entry);
    } else {
      refused.push_back({{"path", attempt.entry}, {"error", attempt.errorName}});
    }
  }
  return {{"dry_run", removal.dryRun},
          {"planned", removal.planned},
          {"runtime", std::move(runtime)},
          {"removed", std::move(removed)},
          {"refused", std::move(refused)}};
}

}  // namespace

std::string doctorJson(const DoctorResult& result) {
  const DoctorReport& report = result.report;
  json manifests = json::array();
  for (const DoctorManifest& manifest : report.manifests) manifests.push_back(manifestJson(manifest));
  json settings = json::array();
  for (const AutoLaunchSetting& setting : report.settings) {
    settings.push_back({{"app_key", setting.appKey},
                        {"file", setting.file},
                        {"auto_launch", optionalBool(setting.autoLaunch)},
                        {"declared", setting.declared},
                        {"findings", findingsJson(setting.findings)}});
  }
  const DoctorSummary summary = summarize(result);
  const json object = {
      {"registry",
       {{"file", report.registryFile.empty() ? json(nullptr) : json(report.registryFile)},
        {"read", report.registryFileRead},
        {"config", optionalText(report.configFolder)},
        {"list_read", report.listRead},
        {"findings", findingsJson(report.findings)}}},
      {"manifests", std::move(manifests)},
      {"unlisted", report.unlisted},
      {"auto_launch", std::move(settings)},
      {"auto_launch_unread", report.settingsUnread},
      {"remove_dead", removalJson(result.removal)},
      {"summary",
       {{"manifests", summary.manifests},
        {"applications", summary.applications},
        {"served", summary.served},
        {"dead", summary.dead},
        {"orphan_settings", summary.orphanSettings},
        {"errors", summary.errors},
        {"warnings", summary.warnings}}},
      {"state", doctorStateName(result.state)},
      {"exit_status", static_cast<int>(result.state)}};
  // Invalid UTF-8 from a file becomes U+FFFD rather than an exception.
  return object.dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace ostrel::doctor
