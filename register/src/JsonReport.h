// The --json forms of status, check and repair: one JSON object on standard
// output, for installers and scripts that would rather not parse the text
// meant for people. Member names and the state and code strings are stable;
// messages are for people and may change.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "StatusReport.h"
#include "ostrel/steamvr/ManifestCheck.h"

namespace ostrel::registercli {

// What repair did, beside the report it started from.
struct RepairOutcome {
  bool dryRun = false;
  std::vector<std::string> removed;      // listed manifests removed, in order
  std::vector<std::string> wouldRemove;  // dry run: the ones it would remove
  // The registrar's result name ("Success", ...), or nullopt when no
  // registration was tried (dry run, refusal, unreachable runtime).
  std::optional<std::string> result;
  int exitStatus = 0;
};

// {"app_key", "manifest", "state", "runtime": {"reachable", "error",
// "advice"}, "installed", "auto_launch", "registry": {"file", "config",
// "manifest_paths": [{"path", "exists", "declares_key", "this_manifest"}]},
// "findings": [{"severity", "code", "message"}], "exit_status"}; `extra`
// findings (the manifest check's, for repair) come first in the list.
std::string statusJson(const StatusReport& report, int exitStatus,
                       const std::vector<steamvr::ManifestFinding>& extra = {});

// statusJson plus "dry_run", "removed", "would_remove" and "result".
std::string repairJson(const StatusReport& report, const RepairOutcome& outcome,
                       const std::vector<steamvr::ManifestFinding>& checkFindings);

// {"app_key", "manifest", "passed", "errors", "warnings", "findings",
// "exit_status"}.
std::string checkJson(const std::string& appKey, const std::string& manifestPath,
                      const std::vector<steamvr::ManifestFinding>& findings, int exitStatus);

}  // namespace ostrel::registercli
