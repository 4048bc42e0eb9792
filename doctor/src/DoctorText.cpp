// The report a person reads: a table of the applications, then what gives no
// application, then the summary.
#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "ostrel/doctor/DoctorForms.h"
#include "ostrel/text/DisplayText.h"

namespace ostrel::doctor {

namespace {

// Widest columns, in characters; longer values are cut with "...".
constexpr std::size_t kKeyWidth = 40;
constexpr std::size_t kNameWidth = 24;
constexpr std::size_t kPathShown = 260;

std::string cell(std::string_view text, std::size_t shown) {
  return text::escapedForDisplay(
      text, {text::DisplayStyle::Controls::Named, text::DisplayStyle::Limit::Characters, shown});
}

// Characters, not bytes: the table lines up for non-ASCII names too.
std::size_t characters(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

void padded(std::string& out, const std::string& text, std::size_t width) {
  out += text;
  out.append(width - std::min(width, characters(text)) + 2, ' ');
}

bool hasSeverity(const std::vector<Finding>& findings, manifestcheck::FindingSeverity severity) {
  return std::any_of(findings.begin(), findings.end(),
                     [&](const Finding& finding) { return finding.severity == severity; });
}

const char* rowState(const DoctorApplication& application) {
  if (!application.served) return "skipped";
  if (hasSeverity(application.findings, manifestcheck::FindingSeverity::Error)) return "error";
  if (hasSeverity(application.findings, manifestcheck::FindingSeverity::Warning)) return "warning";
  return "ok";
}

void findingLines(std::string& out, const std::vector<Finding>& findings, const char* indent) {
  for (const Finding& finding : findings) {
    out += indent;
    out += manifestcheck::formatFinding(finding);
    out += '\n';
  }
}

std::string counted(std::size_t count, const char* singular, const char* plural) {
  return std::to_string(count) + " " + (count == 1 ? singular : plural);
}

struct Row {
  std::string key;
  std::string name;
  const char* state;
  std::string path;
  const std::vector<Finding>* findings;
};

void applicationTable(std::string& out, const DoctorReport& report) {
  std::vector<Row> rows;
  for (const DoctorManifest& manifest : report.manifests) {
    if (manifest.state != EntryState::Read) continue;
    for (const DoctorApplication& application : manifest.applications) {
      rows.push_back({cell(application.appKey, kKeyWidth),
                      application.name.empty() ? "-" : cell(application.name, kNameWidth),
                      rowState(application), cell(manifest.path, kPathShown),
                      &application.findings});
    }
  }
  if (rows.empty()) {
    out += "no listed manifest declares an application\n";
    return;
  }
  std::size_t keyWidth = characters("APPLICATION");
  std::size_t nameWidth = characters("NAME");
  for (const Row& row : rows) {
    keyWidth = std::max(keyWidth, characters(row.key));
    nameWidth = std::max(nameWidth, characters(row.name));
  }
  constexpr std::size_t kStateWidth = 7;  // "warning", "skipped"
  std::string line;
  padded(line, "APPLICATION", keyWidth);
  padded(line, "NAME", nameWidth);
  padded(line, "STATE", kStateWidth);
  out += line + "MANIFEST\n";
  for (const Row& row : rows) {
    line.clear();
    padded(line, row.key, keyWidth);
    padded(line, row.name, nameWidth);
    padded(line, row.state, kStateWidth);
    out += line + row.path + '\n';
    findingLines(out, *row.findings, "  ");
  }
}

// Manifests whose file-level findings did not show in the table: those that
// give no application, and those whose file has something to say.
void manifestSection(std::string& out, const DoctorReport& report) {
  bool headed = false;
  for (const DoctorManifest& manifest : report.manifests) {
    if (manifest.state == EntryState::Missing || manifest.findings.empty()) continue;
    if (!headed) {
      out += "\nlisted manifests:\n";
      headed = true;
    }
    out += "  " + cell(manifest.path, kPathShown) + " (" + entryStateName(manifest.state) + ")\n";
    findingLines(out, manifest.findings, "    ");
  }
  if (report.unlisted > 0) {
    out += "  " + std::to_string(report.unlisted) + " more listed manifests were not read\n";
  }
}

void deadSection(std::string& out, const DoctorReport& report) {
  bool headed = false;
  for (const DoctorManifest& manifest : report.manifests) {
    if (manifest.state != EntryState::Missing) continue;
    if (!headed) {
      out += "\ndead entries (the runtime lists them, the file is gone):\n";
      headed = true;
    }
    out += "  " + cell(manifest.path, kPathShown) + (manifest.removed ? " (removed)" : "") + '\n';
  }
}

void settingsSection(std::string& out, const DoctorReport& report) {
  bool headed = false;
  for (const AutoLaunchSetting& setting : report.settings) {
    if (setting.findings.empty()) continue;
    if (!headed) {
      out += "\nauto-launch settings:\n";
      headed = true;
    }
    findingLines(out, setting.findings, "  ");
  }
  if (report.settingsUnread > 0) {
    out += "\n" + std::to_string(report.settingsUnread) +
           " more auto-launch settings were not read\n";
  }
}

void removalSection(std::string& out, const DeadEntryRemoval& removal) {
  if (!removal.asked) return;
  if (removal.dryRun) {
    for (const std::string& entry : removal.planned) out += "would remove " + cell(entry, kPathShown) + '\n';
    return;
  }
  for (const registration::RemovalAttempt& attempt : removal.attempts) {
    if (attempt.error == steamvr::kApplicationErrorNone) {
      out += "removed " + cell(attempt.entry, kPathShown) + '\n';
    } else {
      out += "the runtime refused to remove " + cell(attempt.entry, kPathShown) + " (" +
             attempt.errorName + ")\n";
    }
  }
}

std::string summaryLine(const DoctorResult& result) {
  const DoctorReport& report = result.report;
  if (!report.listRead) {
    return "doctor: the runtime's list of applications cannot be read (see above), so no "
           "registration can be judged";
  }
  const DoctorSummary summary = summarize(result);
  std::string line = "doctor: " + counted(summary.manifests, "listed manifest", "listed manifests") +
                     ", " + counted(summary.applications, "application", "applications") + " (" +
                     std::to_string(summary.served) + " served), " +
                     counted(summary.dead, "dead entry", "dead entries");
  if (summary.orphanSettings > 0) {
    line += ", " + counted(summary.orphanSettings, "orphan auto-launch setting",
                           "orphan auto-launch settings");
  }
  line += ": " + counted(summary.errors, "error", "errors") + ", " +
          counted(summary.warnings, "warning", "warnings");
  const DeadEntryRemoval& removal = result.removal;
  if (!removal.asked) return line;
  if (removal.planned.empty()) return line + "; nothing to remove";
  if (removal.dryRun) return line + "; would remove " + counted(removal.planned.size(), "dead entry", "dead entries");
  if (!removal.runtimeReached) {
    return line + "; nothing removed: the SteamVR runtime cannot be reached: " +
           removal.failure.message;
  }
  std::size_t removed = 0;
  for (const registration::RemovalAttempt& attempt : removal.attempts) {
    if (attempt.error == steamvr::kApplicationErrorNone) ++removed;
  }
  line += "; removed " + std::to_string(removed) + " of " +
          counted(removal.planned.size(), "dead entry", "dead entries");
  if (removed < removal.planned.size()) line += " (the runtime refused the others)";
  return line;
}

}  // namespace

std::string doctorText(const DoctorResult& result) {
  const DoctorReport& report = result.report;
  std::string out = "registry file: ";
  out += report.registryFile.empty() ? std::string("not located") : cell(report.registryFile, kPathShown);
  if (!report.registryFile.empty() && !report.registryFileRead) out += " (not read)";
  out += '\n';
  if (report.configFolder) {
    out += "config folder: " + cell(*report.configFolder, kPathShown) + '\n';
  }
  findingLines(out, report.findings, "");
  if (report.listRead) {
    out += '\n';
    applicationTable(out, report);
    manifestSection(out, report);
    deadSection(out, report);
    settingsSection(out, report);
  }
  if (result.removal.asked) out += '\n';
  removalSection(out, result.removal);
  out += '\n' + summaryLine(result) + '\n';
  return out;
}

}  // namespace ostrel::doctor
