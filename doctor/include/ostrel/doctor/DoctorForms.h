// The doctor's result as people and programs read it. Text taken from the
// runtime's files (paths, keys, names) is escaped and shortened; invalid
// UTF-8 becomes U+FFFD in the JSON. Pure functions of their argument; they
// throw nothing but std::bad_alloc.
#pragma once

#include <string>

#include "ostrel/doctor/Doctor.h"

namespace ostrel::doctor {

// One line of JSON, no newline, with stable member names:
//   {"registry": {"file", "read", "config", "list_read", "findings"},
//    "manifests": [{"path", "state", "repeats", "removed", "findings",
//                   "applications": [{"app_key", "name", "served",
//                                     "dashboard_overlay", "auto_launch",
//                                     "findings"}]}],
//    "unlisted",
//    "auto_launch": [{"app_key", "file", "auto_launch", "declared", "findings"}],
//    "auto_launch_unread",
//    "remove_dead": null | {"dry_run", "planned", "runtime": {"asked",
//                   "reachable", "error", "advice"}, "removed",
//                   "refused": [{"path", "error"}]},
//    "summary": {"manifests", "applications", "served", "dead",
//                "orphan_settings", "errors", "warnings"},
//    "state", "exit_status"}
// A finding is {"code", "severity", "message"}; what is not known is null.
std::string doctorJson(const DoctorResult& result);

// The report a person reads at a glance: where the files are and what is
// wrong with them, one row per application (key, name, state, the manifest
// it comes from) with its findings under it, then the manifests that give no
// application, the dead entries, the auto-launch settings worth a look and
// the removals; the last line is the summary ("doctor: ..."). Every line
// ends with a newline.
std::string doctorText(const DoctorResult& result);

}  // namespace ostrel::doctor
