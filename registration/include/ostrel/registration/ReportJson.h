// The JSON forms of status, check and repair, which `ostrel-register --json`
// prints and the C interface hands out: one object, for installers and
// scripts that would rather not parse the text meant for people. Member names and the state and code strings are stable;
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

#include "ostrel/manifestcheck/ManifestCheck.h"
#include "ostrel/registration/RegistrationRun.h"
#include "ostrel/registration/RegistrationStatus.h"

namespace ostrel::registration {

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
std::string statusJson(const StatusReport& report, int exitStatus,
                       const std::vector<manifestcheck::ManifestFinding>& extra = {});

// A repair's report: statusJson's object for run.status, with
// run.checkFindings first and exitStatusForRun(run), plus "dry_run",
// "removed" (the copies removed), "would_remove" (a dry run's plan) and
// "result" (the registrar's result name, "RemoveFailed" for a refused
// removal; null when no registration was tried).
std::string repairJson(const RegistrationRun& run);

// {"app_key", "manifest", "passed", "errors", "warnings", "findings",
// "exit_status"}: the counts come from `findings` ("passed" when none is an
// error), "exit_status" is `exitStatus` as given.
std::string checkJson(const std::string& appKey, const std::string& manifestPath,
                      const std::vector<manifestcheck::ManifestFinding>& findings, int exitStatus);

}  // namespace ostrel::registration
