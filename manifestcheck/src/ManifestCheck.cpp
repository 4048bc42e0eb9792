#include "ostrel/manifestcheck/ManifestCheck.h"

#include <algorithm>
#include <utility>

#include "ContentCheck.h"
#include "FindingList.h"
#include "ManifestFile.h"
#include "ManifestStructure.h"
#include "PathRules.h"
#include "PathText.h"
#include "SystemRules.h"
#include "ostrel/manifestcheck/ManifestSurvey.h"
#include "platform/Platform.h"

namespace ostrel::manifestcheck {

using manifestcheck::FindingList;

const char* findingSeverityName(FindingSeverity severity) noexcept {
  switch (severity) {
    case FindingSeverity::Error:
      return "error";
    case FindingSeverity::Warning:
      return "warning";
  }
  return "unknown";
}

bool hasErrors(const std::vector<ManifestFinding>& findings) noexcept {
  return std::any_of(findings.begin(), findings.end(), [](const ManifestFinding& finding) {
    return finding.severity == FindingSeverity::Error;
  });
}

int countErrors(const std::vector<ManifestFinding>& findings) noexcept {
  return static_cast<int>(
      std::count_if(findings.begin(), findings.end(), [](const ManifestFinding& finding) {
        return finding.severity == FindingSeverity::Error;
      }));
}

std::string formatFinding(const ManifestFinding& finding) {
  return std::string(findingSeverityName(finding.severity)) + " [" + finding.code +
         "]: " + finding.message;
}

std::vector<ManifestFinding> checkManifestContent(std::string_view content,
                                                  const ManifestContentContext& context) {
  FindingList findings;
  manifestcheck::checkContent(content, context, findings);
  return std::move(findings).take();
}

ManifestSurvey surveyManifestContent(std::string_view content,
                                     const ManifestContentContext& context) {
  ManifestSurvey survey;
  FindingList whole;
  const std::optional<nlohmann::json> root = manifestcheck::readManifestJson(content, whole);
  // A byte-order mark is reported and the text after it parsed, but the
  // runtime loads nothing from such a file.
  if (!root || whole.hasError()) {
    survey.refused = true;
  } else {
    manifestcheck::surveyManifestStructure(*root, context, whole, survey);
  }
  survey.findings = std::move(whole).take();
  return survey;
}

std::vector<ManifestFinding> checkManifestPath(std::wstring_view registrarPath) {
  return checkManifestPath(registrarPath, hostRuntimeSystem());
}

std::vector<ManifestFinding> checkManifestPath(std::wstring_view registrarPath,
                                               RuntimeSystem system) {
  FindingList findings;
  manifestcheck::checkRegistrarPath(registrarPath, systemRules(system), findings);
  return std::move(findings).take();
}

std::vector<ManifestFinding> checkManifest(const ManifestCheckInput& input) {
  FindingList findings;
  const ISystemRules& rules = systemRules(hostRuntimeSystem());
  const std::unique_ptr<IPathProbe> disk = createDiskPathProbe();
  if (input.registrarPath) {
    manifestcheck::checkRegistrarPath(*input.registrarPath, rules, findings);
    const std::wstring_view path = *input.registrarPath;
    if (!path.empty() && path.find(L'\0') == std::wstring_view::npos) {
      rules.CheckManifestOnDisk(platform::wideToUtf8(path), *disk, findings);
    }
  }
  const std::optional<std::string> content = manifestcheck::readManifestFile(input.file, findings);
  if (content) {
    const ManifestContentContext context{input.appKey, input.file.parent_path(), disk.get()};
    manifestcheck::checkContent(*content, context, findings);
  }
  return std::move(findings).take();
}

std::vector<ManifestFinding> checkManifestForRegistration(std::wstring_view manifestPath,
                                                          std::string_view appKey) {
  // The registrar hands the runtime the UTF-8 form of the path, so the file
  // read is the one that form names.
  // A path the registrar cannot use names no file worth reading.
  if (manifestPath.empty() || manifestPath.find(L'\0') != std::wstring_view::npos) {
    return checkManifestPath(manifestPath);
  }
  ManifestCheckInput input;
  input.registrarPath = std::wstring(manifestPath);
  input.appKey = std::string(appKey);
  if (std::optional<std::filesystem::path> file =
          manifestcheck::pathFromUtf8(platform::wideToUtf8(manifestPath))) {
    input.file = std::move(*file);
  }
  return checkManifest(input);
}

}  // namespace ostrel::manifestcheck
