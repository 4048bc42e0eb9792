// The --json forms of status, check and repair: one JSON object on standard
// output, for installers and scripts that would rather not parse the text
// meant for people. Member names and the state and code strings are stable;
// messages are for people and may change.
//
// Each function returns the object as one line of JSON without a newline.
// Text that is not valid UTF-8 (a path read from a file, say) comes out with
// U+FFFD in place of the bad bytes rather than as an exception. Pure
// functions of their arguments: they share no state and throw nothing but
// std::bad_alloc.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ostrel/registration/RegistrationStatus.h"
#include "ostrel/manifestcheck/ManifestCheck.h"

namespace ostrel::registercli {

// What repair did, beside the report it started from.
struct RepairOutcome {
  bool dryRun = false;
  std::vector<std::string> removed;      // listed manifests removed, in order
  std::vector<std::string> wouldRemove;  // dry run: the ones it would remove
  // registerResultName of the registrar's result ("Success", ...), or
  // "RemoveFailed" when the runtime refused a removal; nullopt when neither
  // a removal was refused nor a registration tried (dry run, refusal by the
  // check, unreachable runtime).
  std::optional<std::string> result;
  int exitStatus = 0;
};

// {"app_key", "manifest", "state", "runtime": {"reachable", "error",
// "advice"}, "installed", "auto_launch", "registry": {"file", "config",
// "read", "manifest_paths": [{"path", "exists", "declares_key",
// "this_manifest"}]}, "findings": [{"severity", "code", "message"}],
// "exit_status"}. What is not known is null: "manifest" when none was named,
// "installed" and "auto_launch" when neither view tells, "file" when the
// registry file was not located, "config" when its folder is not known,
// "error" and "advice" unless the runtime was asked and could not be reached
// (and then when the failure gave none). `extra` findings (the manifest
// check's, for repair) come first in the list, then report.findings.
// "exit_status" is `exitStatus` as given.
std::string statusJson(const registration::StatusReport& report, int exitStatus,
                       const std::vector<manifestcheck::ManifestFinding>& extra = {});

// statusJson's object with outcome.exitStatus and `checkFindings` as
// `extra`, plus "dry_run", "removed", "would_remove" and "result" (null when
// no registration was tried).
std::string repairJson(const registration::StatusReport& report, const RepairOutcome& outcome,
                       const std::vector<manifestcheck::ManifestFinding>& checkFindings);

// {"app_key", "manifest", "passed", "errors", "warnings", "findings",
// "exit_status"}: the counts come from `findings` ("passed" when none is an
// error), "exit_status" is `exitStatus` as given.
std::string checkJson(const std::string& appKey, const std::string& manifestPath,
                      const std::vector<manifestcheck::ManifestFinding>& findings, int exitStatus);

}  // namespace ostrel::registercli
